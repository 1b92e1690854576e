// Main-thread cost of a long agent timeline: opening it, appending an entry, streaming into the
// newest entry. Each step includes the list's layout and one synchronous paint of the viewport.
#include "ide/copilot/CampaignCopilotStore.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/notifications/CampaignNotificationCenter.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/timeline/AgentTimelineView.h"
#include "ide/views/timeline/TimelineEntryListModel.h"

#include <QApplication>
#include <QListView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace orvane;
using namespace Qt::StringLiterals;

namespace {

void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orvane_views_bench";
    static char *argv[] = { name, nullptr };
    static QApplication app(argc, argv);
}

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
        ensureApplication();
        const QString root = home.path();
        model = std::make_unique<CampaignIDEWorkspaceModel>(std::nullopt, new CampaignNotificationCenter({}, nullptr),
            new CampaignCopilotStore(),
            CampaignIDEWorkspaceModel::Locations {
                .workspaceRoot = root + u"/Documents/Orvane"_s,
                .stateFile = root + u"/data/Orvane/campaign-ide-state.json"_s,
                .mirrorLedgerFile = root + u"/data/Orvane/mirror-ledger.json"_s,
                .defaults = platform::UserDefaults(root + u"/config/Orvane/defaults"_s),
            });
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

    [[nodiscard]] WorkspaceViewContext context() { return { .model = model.get(), .theme = &theme }; }
};

void paintNow(AgentTimelineView &view)
{
    view.listView()->doItemsLayout();
    view.listView()->viewport()->repaint();
}

void BM_TimelineOpen(benchmark::State &state)
{
    Fixture fixture(int(state.range(0)));
    for (auto _ : state) {
        AgentTimelineView view(fixture.context(), fixture.threadID, fixture.tabID);
        view.resize(460, 800);
        view.show();
        paintNow(view);
    }
}
BENCHMARK(BM_TimelineOpen)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_TimelineAppendEntry(benchmark::State &state)
{
    Fixture fixture(int(state.range(0)));
    AgentTimelineView view(fixture.context(), fixture.threadID, fixture.tabID);
    view.resize(460, 800);
    view.show();
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
BENCHMARK(BM_TimelineAppendEntry)->Arg(2000)->Unit(benchmark::kMicrosecond);

void BM_TimelineStreamIntoNewest(benchmark::State &state)
{
    Fixture fixture(int(state.range(0)));
    AgentTimelineView view(fixture.context(), fixture.threadID, fixture.tabID);
    view.resize(460, 800);
    view.show();
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
}
BENCHMARK(BM_TimelineStreamIntoNewest)->Arg(2000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
