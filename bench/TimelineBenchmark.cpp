// Main-thread cost of a long agent timeline: opening it (first time and again), appending an entry,
// streaming into the newest entry. The view is exposed before anything is timed, so each step
// includes the list's layout and one real synchronous paint of the viewport.
#include "BenchModel.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/timeline/AgentTimelineView.h"
#include "ide/views/timeline/TimelineEntryListModel.h"
#include "ide/views/timeline/TimelineHeightCache.h"

#include <QApplication>
#include <QListView>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

using namespace orvane;
using namespace Qt::StringLiterals;

namespace {

CampaignTimelineEntry makeEntry(int i)
{
    CampaignTimelineEntry entry {
        .id = QUuid::createUuid(),
        .role = i % 2 ? CampaignTimelineEntry::EntryRole::agent : CampaignTimelineEntry::EntryRole::user,
        .authorName = i % 2 ? u"Paid Media Strategist"_s : u"You"_s,
        .text = u"Entry %1: shift 20% of the prospecting budget to high-intent search, cap CPA at $180 and "
                "report the lift after seven days of spend across both channels."_s.arg(i),
        .timestamp = u"Just now"_s,
    };
    if (i % 5 == 1)
        entry.toolInvocations.append(CampaignToolInvocation::completed(
            u"write_media_plan"_s, u"Updated 4 rows"_s, u"{\"rows\": 4}"_s, u"media-plan.csv"_s, 120));
    return entry;
}

struct Fixture {
    QTemporaryDir home;
    std::unique_ptr<CampaignIDEWorkspaceModel> model;
    ThemeSource theme { true };
    QUuid threadID;
    QUuid tabID;

    explicit Fixture(int entries)
    {
        model = bench::sampleWorkspaceModel(home.path());
        threadID = model->threads().constFirst().id;
        tabID = model->threads().constFirst().agentTabs.constFirst().id;
        QList<CampaignTimelineEntry> list;
        for (int i = 0; i < entries; ++i)
            list.append(makeEntry(i));
        model->mutateThread(
            threadID, [&](CampaignIDEThread &thread) { thread.agentTabs[0].entries = list; },
            CampaignIDEWorkspaceModel::Save::no);
    }
    ~Fixture() { model->flushPendingWrites(); }

    [[nodiscard]] WorkspaceViewContext context(TimelineHeightCache *heights = nullptr)
    {
        return { .model = model.get(), .theme = &theme, .timelineHeights = heights };
    }
};

// Shown on screen: until the window is exposed nothing is painted at all.
void showExposed(QWidget &view)
{
    view.resize(460, 800);
    view.show();
    while (!view.windowHandle() || !view.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void paintNow(AgentTimelineView &view)
{
    view.listView()->doItemsLayout();
    view.listView()->viewport()->repaint();
}

// One publication of a streamed reply at most every 50 ms: the share of that the main thread spends.
void reportStreamShare(benchmark::State &state)
{
    state.counters["main_thread_share"] = benchmark::Counter(
        double(state.iterations()) * 0.050, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_TimelineOpen(benchmark::State &state)
{
    Fixture fixture(int(state.range(0)));
    for (auto _ : state) {
        TimelineHeightCache heights; // nothing measured before: the first open in a window
        AgentTimelineView view(fixture.context(&heights), fixture.threadID, fixture.tabID);
        showExposed(view);
        paintNow(view);
    }
}
BENCHMARK(BM_TimelineOpen)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_TimelineReopen(benchmark::State &state)
{
    Fixture fixture(int(state.range(0)));
    TimelineHeightCache heights;
    {
        AgentTimelineView first(fixture.context(&heights), fixture.threadID, fixture.tabID);
        showExposed(first);
        paintNow(first);
    }
    for (auto _ : state) {
        AgentTimelineView view(fixture.context(&heights), fixture.threadID, fixture.tabID);
        showExposed(view);
        paintNow(view);
    }
}
BENCHMARK(BM_TimelineReopen)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One entry of range(0) MiB among a few ordinary ones: its card shows a bounded part of the text.
void BM_TimelineOpenHugeEntry(benchmark::State &state)
{
    Fixture fixture(8);
    const QString huge = u"forty-two "_s.repeated(int(state.range(0)) * 1024 * 1024 / 20);
    fixture.model->mutateThread(
        fixture.threadID, [&](CampaignIDEThread &thread) { thread.agentTabs[0].entries[7].text = huge; },
        CampaignIDEWorkspaceModel::Save::no);
    for (auto _ : state) {
        TimelineHeightCache heights;
        AgentTimelineView view(fixture.context(&heights), fixture.threadID, fixture.tabID);
        showExposed(view);
        view.listView()->scrollToBottom();
        paintNow(view);
    }
}
BENCHMARK(BM_TimelineOpenHugeEntry)->Arg(5)->Arg(60)->Unit(benchmark::kMillisecond);

void BM_TimelineAppendEntry(benchmark::State &state)
{
    Fixture fixture(int(state.range(0)));
    AgentTimelineView view(fixture.context(), fixture.threadID, fixture.tabID);
    showExposed(view);
    paintNow(view);
    int i = 0;
    for (auto _ : state) {
        const CampaignTimelineEntry entry = makeEntry(++i);
        fixture.model->mutateThread(
            fixture.threadID,
            [&](CampaignIDEThread &thread) {
                thread.agentTabs[0].entries.append(entry);
                Q_EMIT fixture.model->timelineEntryAppended(fixture.threadID, fixture.tabID, entry.id);
            },
            CampaignIDEWorkspaceModel::Save::no);
        paintNow(view);
    }
    state.counters["entries"] = view.entryModel()->entryCount();
}
BENCHMARK(BM_TimelineAppendEntry)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_TimelineStreamIntoNewest(benchmark::State &state)
{
    Fixture fixture(int(state.range(0)));
    AgentTimelineView view(fixture.context(), fixture.threadID, fixture.tabID);
    showExposed(view);
    paintNow(view);
    const QUuid last = fixture.model->threads().constFirst().agentTabs.constFirst().entries.constLast().id;
    for (auto _ : state) {
        fixture.model->mutateThread(
            fixture.threadID,
            [&](CampaignIDEThread &thread) {
                QString &text = thread.agentTabs[0].entries.last().text;
                text += u" more"_s;
                if (text.size() > 4000)
                    text.truncate(100);
                Q_EMIT fixture.model->timelineEntryChanged(fixture.threadID, fixture.tabID, last);
            },
            CampaignIDEWorkspaceModel::Save::no);
        paintNow(view);
    }
    reportStreamShare(state);
}
BENCHMARK(BM_TimelineStreamIntoNewest)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    // Made and destroyed in main: a window system torn down by static destructors crashes at exit.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
