#include "ide/records/OrvaneWebParitySeeds.h"

#include <QMap>
#include <QStringBuilder>

#include <benchmark/benchmark.h>

#include <array>

using namespace orvane;
using namespace Qt::StringLiterals;

namespace {

constexpr int kThreads = 50;
constexpr int kTabsPerThread = 3;
constexpr int kEntriesPerTab = 100;

const std::array<QString, 6> kSentences {
    u"I rebalanced the **Media Plan Table** to shift $150/day from Reddit broad placements into LinkedIn VP Growth "
    u"ABM, keeping the blended target CPA under $195."_s,
    u"Google Exact-Match Search is converting at $164 CPA against $238 on broad subreddit placements over the last "
    u"14 days, so I tightened the negative keyword list."_s,
    u"The Creative Canvas now holds 4 artboards across LinkedIn (1:1), Google Search (RSA), Reddit (16:9) and X "
    u"(16:9); two still need review before launch."_s,
    u"Verify UTM parameters and conversion tracking pixels across all channels in the Campaign Plan Document and "
    u"prepare the campaign for launch."_s,
    u"Competitor keyword clusters for the teardown are loaded; switch to **Explore** to compare ad hooks, landing "
    u"page offers and estimated monthly spend."_s,
    u"Dry-run staged: no live budget changes were made. Approve the inline gate to push the new daily caps to the "
    u"ad platforms."_s,
};

CampaignTimelineEntry generatedEntry(int index)
{
    const bool fromAgent = index % 2 == 1;
    CampaignTimelineEntry entry {
        .id = QUuid::createUuid(),
        .role = fromAgent ? CampaignTimelineEntry::EntryRole::agent : CampaignTimelineEntry::EntryRole::user,
        .authorName = fromAgent ? u"Orvane Native Operator"_s : u"You"_s,
        .text = fromAgent ? kSentences[std::size_t(index) % kSentences.size()] % u"\n\n"_s
                % kSentences[std::size_t(index + 2) % kSentences.size()] % u" "_s
                % kSentences[std::size_t(index + 4) % kSentences.size()]
                          : kSentences[std::size_t(index + 3) % kSentences.size()],
        .timestamp = QString::number(index % 60) % u"m ago"_s,
    };
    if (fromAgent) {
        entry.toolInvocations.append({ .id = QUuid::createUuid(),
            .toolName = u"upsert_media_plan_table"_s,
            .summary = u"Created 4 channel trafficking rows ($1,500/day)"_s,
            .inputPreview = u"{\"channels\": [\"LinkedIn\", \"Google Search\", \"Reddit\"]}"_s,
            .outputPreview = u"4 rows synced to media-plan.csv ($45,000/mo total)"_s,
            .status = CampaignToolInvocation::ToolStatus::completed,
            .durationMs = 310 + index });
        entry.artifactLink = IDEWorkbenchView::table;
    }
    return entry;
}

// About 10 MB of JSON: 50 threads of 3 tabs with 100 entries each.
const QList<CampaignIDEThread> &threadStore()
{
    static const QList<CampaignIDEThread> store = [] {
        const CampaignIDEThread seed = OrvaneWebParitySeeds::defaultThreads({}).first();
        QList<CampaignIDEThread> threads;
        for (int t = 0; t < kThreads; ++t) {
            CampaignIDEThread thread = seed;
            thread.id = QUuid::createUuid();
            thread.title = u"Campaign thread "_s % QString::number(t);
            thread.agentTabs.clear();
            for (int a = 0; a < kTabsPerThread; ++a) {
                CampaignAgentTab tab = seed.agentTabs.first();
                tab.id = QUuid::createUuid();
                tab.entries.clear();
                for (int e = 0; e < kEntriesPerTab; ++e)
                    tab.entries.append(generatedEntry(t + a + e));
                thread.agentTabs.append(tab);
            }
            thread.activeAgentTabID = thread.agentTabs.first().id;
            threads.append(thread);
        }
        return threads;
    }();
    return store;
}

const QByteArray &encodedStore()
{
    static const QByteArray bytes = encodeJson(threadStore());
    return bytes;
}

void BM_EncodeThreadStore(benchmark::State &state)
{
    const QList<CampaignIDEThread> &threads = threadStore();
    for (auto _ : state)
        benchmark::DoNotOptimize(encodeJson(threads));
    state.SetBytesProcessed(state.iterations() * encodedStore().size());
    state.counters["MB"] = double(encodedStore().size()) / 1e6;
}
BENCHMARK(BM_EncodeThreadStore)->Unit(benchmark::kMillisecond);

// A store of about `mb` MB: threads of threadStore(), repeated or cut to that size.
const QByteArray &encodedStore(int mb)
{
    static QMap<int, QByteArray> stores;
    if (!stores.contains(mb)) {
        const QList<CampaignIDEThread> &threads = threadStore();
        const qsizetype perThread = encodedStore().size() / threads.size();
        QList<CampaignIDEThread> sized;
        for (qsizetype i = 0; sized.size() * perThread < qsizetype(mb) * 1000 * 1000; ++i)
            sized.append(threads.at(i % threads.size()));
        stores.insert(mb, encodeJson(sized));
    }
    return stores[mb];
}

// Decoding a stored list (the earlier single-file store, the thread index) at 1, 10 and 50 MB: the
// parser alone (no document), a document of the whole list decoded, and the list decoded element
// by element as it is parsed.
enum class Decoding { parseOnly, wholeDocument, elementByElement };

void BM_DecodeThreadStore(benchmark::State &state)
{
    const QByteArray &bytes = encodedStore(int(state.range(0)));
    for (auto _ : state) {
        switch (Decoding(state.range(1))) {
        case Decoding::parseOnly:
            benchmark::DoNotOptimize(Json::accept(bytes.begin(), bytes.end()));
            break;
        case Decoding::wholeDocument:
            benchmark::DoNotOptimize(decodeJson<QList<CampaignIDEThread>>(bytes));
            break;
        case Decoding::elementByElement:
            benchmark::DoNotOptimize(decodeJsonList<CampaignIDEThread>(bytes));
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DecodeThreadStore)
    ->ArgNames({ "MB", "parse_document_elements" })
    ->ArgsProduct({ { 1, 10, 50 }, { 0, 1, 2 } })
    ->Unit(benchmark::kMillisecond);

// What the model hands to a background save: a copy of the whole list.
void BM_SnapshotThreadList(benchmark::State &state)
{
    const QList<CampaignIDEThread> &threads = threadStore();
    for (auto _ : state) {
        QList<CampaignIDEThread> snapshot = threads;
        benchmark::DoNotOptimize(snapshot);
    }
}
BENCHMARK(BM_SnapshotThreadList);

// The first edit after a snapshot detaches the list: the threads are copied shallowly, their
// tabs and entries stay shared.
void BM_EditOneThreadAfterSnapshot(benchmark::State &state)
{
    QList<CampaignIDEThread> threads = threadStore();
    for (auto _ : state) {
        const QList<CampaignIDEThread> snapshot = threads;
        threads[7].updatedAt = u"Just now"_s;
        benchmark::DoNotOptimize(snapshot);
    }
}
BENCHMARK(BM_EditOneThreadAfterSnapshot)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
