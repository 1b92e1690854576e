#include "ide/operations/OperationsTestSupport.h"
#include "ide/records/OrvaneWebParitySeeds.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

namespace {

class AgentTabsTest : public OperationsTest {
protected:
    // A thread with `count` tabs (the first seed thread's tabs, then catalog tabs), stored in front.
    QUuid threadWithTabs(qsizetype count)
    {
        CampaignIDEThread thread = firstThread();
        thread.id = QUuid::createUuid();
        thread.agentTabs = thread.agentTabs.mid(0, 1);
        thread.activeAgentTabID = thread.agentTabs.first().id;
        thread.splitAgentTabID.reset();
        model->insertThread(0, thread);
        while (thread.agentTabs.size() < count) {
            model->addAgentTab(std::nullopt, thread.id);
            thread = *this->thread(thread.id);
        }
        model->selectAgentTab(thread.agentTabs.first().id, thread.id);
        return thread.id;
    }

    QList<QUuid> tabIDs(const QUuid &threadID)
    {
        QList<QUuid> ids;
        for (const CampaignAgentTab &tab : thread(threadID)->agentTabs)
            ids.append(tab.id);
        return ids;
    }
};

// A damaged store can hold tabs sharing one id: closing that id would leave the thread empty, and
// no tab of another id can be the split.
TEST_F(AgentTabsTest, ClosingNeverRemovesTheLastTabAndSplittingNeedsAnotherId)
{
    const QUuid id = threadWithTabs(1);
    const CampaignIDEThread single = *thread(id);
    QSignalSpy changed(model.get(), &CampaignIDEWorkspaceModel::threadChanged);
    model->closeAgentTab(single.activeAgentTabID, id);
    EXPECT_EQ(*thread(id), single);
    EXPECT_EQ(changed.count(), 0);

    CampaignIDEThread damaged = single;
    damaged.id = QUuid::createUuid();
    damaged.agentTabs = { single.agentTabs.first(), single.agentTabs.first() };
    model->insertThread(0, damaged);
    model->closeAgentTab(damaged.activeAgentTabID, damaged.id);
    model->toggleSplitAgentPane(damaged.id);
    EXPECT_EQ(thread(damaged.id)->agentTabs.size(), 2);
    EXPECT_FALSE(thread(damaged.id)->splitAgentTabID);
}

// Closing the active tab activates the first remaining; closing the split tab closes only the
// split; closing another keeps both; an unknown tab removes nothing.
TEST_F(AgentTabsTest, ClosingATabKeepsActiveAndSplitPointingAtTabsThatExist)
{
    const QUuid id = threadWithTabs(5);
    const QList<QUuid> tabs = tabIDs(id);
    model->toggleSplitAgentPane(id); // active tab 0, split with tab 1
    ASSERT_EQ(thread(id)->splitAgentTabID, tabs.at(1));
    model->closeAgentTab(tabs.at(4), id);
    EXPECT_EQ(thread(id)->activeAgentTabID, tabs.at(0));
    EXPECT_EQ(thread(id)->splitAgentTabID, tabs.at(1));
    model->closeAgentTab(QUuid::createUuid(), id);
    EXPECT_EQ(tabIDs(id), tabs.mid(0, 4));

    model->closeAgentTab(tabs.at(1), id);
    EXPECT_FALSE(thread(id)->splitAgentTabID);
    EXPECT_EQ(thread(id)->activeAgentTabID, tabs.at(0));
    model->closeAgentTab(tabs.at(0), id);
    EXPECT_EQ(tabIDs(id), (QList<QUuid> { tabs.at(2), tabs.at(3) }));
    EXPECT_EQ(thread(id)->activeAgentTabID, tabs.at(2));
    EXPECT_EQ(storedThreads(), model->threads());
}

TEST_F(AgentTabsTest, AddingATabSpawnsThePersonaAndActivatesIt)
{
    const QUuid id = threadWithTabs(1);
    const OrvaneAgentPersona spy = OrvaneWebParitySeeds::personas().at(5);
    model->addAgentTab(spy, id);

    const CampaignIDEThread after = *thread(id);
    ASSERT_EQ(after.agentTabs.size(), 2);
    const CampaignAgentTab &tab = after.agentTabs.last();
    EXPECT_EQ(after.activeAgentTabID, tab.id);
    EXPECT_EQ(utf8(tab.title), "Competitor Intelligence Spy");
    EXPECT_EQ(utf8(tab.personaName), "Competitor Intelligence Spy");
    EXPECT_EQ(utf8(tab.personaHandle), "@spy");
    ASSERT_EQ(tab.entries.size(), 1);
    const CampaignTimelineEntry &entry = tab.entries.first();
    EXPECT_EQ(utf8(entry.authorName), "Competitor Intelligence Spy");
    EXPECT_EQ(entry.artifactLink, IDEWorkbenchView::explore);
    EXPECT_EQ(utf8(entry.text),
        "Spawned **Competitor Intelligence Spy** (@spy) tab on this campaign document. We share the same live "
        "Document, Media Plan Table, Creative Canvas, and Local Files.");
    EXPECT_EQ(storedThreads(), model->threads());
}

TEST_F(AgentTabsTest, WithoutAPersonaTheCatalogWrapsAtSix)
{
    const QList<OrvaneAgentPersona> &catalog = OrvaneWebParitySeeds::personas();
    const QUuid id = threadWithTabs(6);
    model->addAgentTab(std::nullopt, id);
    EXPECT_EQ(thread(id)->agentTabs.last().personaName, catalog.at(0).name);
    model->addAgentTab(std::nullopt, id);
    EXPECT_EQ(thread(id)->agentTabs.last().personaName, catalog.at(1).name);
    // The tabs made on the way took the persona at their position.
    EXPECT_EQ(thread(id)->agentTabs.at(3).personaName, catalog.at(3).name);
}

TEST_F(AgentTabsTest, SplittingASingleTabAddsTheCreativeDirector)
{
    const QUuid id = threadWithTabs(1);
    const QUuid original = tabIDs(id).first();

    model->toggleSplitAgentPane(id);
    const CampaignIDEThread split = *thread(id);
    ASSERT_EQ(split.agentTabs.size(), 2);
    const CampaignAgentTab &companion = split.agentTabs.last();
    EXPECT_EQ(utf8(companion.personaName), "Creative Studio Director");
    EXPECT_EQ(utf8(companion.personaHandle), "@creative");
    EXPECT_EQ(companion.entries.first().artifactLink, IDEWorkbenchView::canvas);
    EXPECT_EQ(split.activeAgentTabID, companion.id);
    EXPECT_EQ(split.splitAgentTabID, original);

    model->toggleSplitAgentPane(id);
    EXPECT_FALSE(thread(id)->splitAgentTabID);
    EXPECT_EQ(thread(id)->agentTabs.size(), 2);
    EXPECT_EQ(storedThreads(), model->threads());
}

TEST_F(AgentTabsTest, SelectingATabOrTheSplitsTabStoresItAsGiven)
{
    const QUuid id = threadWithTabs(2);
    const QList<QUuid> tabs = tabIDs(id);
    model->selectAgentTab(tabs.at(1), id);
    EXPECT_EQ(thread(id)->activeAgentTabID, tabs.at(1));

    // The secondary pane's chip points the split at a tab and leaves the active one; the active tab
    // may be shown in the split too, both panes then show it.
    QSignalSpy changed(model.get(), &CampaignIDEWorkspaceModel::threadChanged);
    model->showAgentTabInSplit(tabs.at(0), id);
    EXPECT_EQ(thread(id)->splitAgentTabID, tabs.at(0));
    EXPECT_EQ(thread(id)->activeAgentTabID, tabs.at(1));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(storedThreads(), model->threads());
    model->showAgentTabInSplit(tabs.at(1), id);
    EXPECT_EQ(thread(id)->splitAgentTabID, tabs.at(1));

    const QUuid foreign = QUuid::createUuid();
    model->selectAgentTab(foreign, id);
    EXPECT_EQ(thread(id)->activeAgentTabID, foreign);
    EXPECT_EQ(storedThreads(), model->threads());
}

TEST_F(AgentTabsTest, DraftsAreKeptInMemoryUntilTheNextSave)
{
    const CampaignIDEThread seed = firstThread();
    const QUuid tab = seed.agentTabs.first().id;
    QSignalSpy tabChanged(model.get(), &CampaignIDEWorkspaceModel::agentTabChanged);

    model->setThreadDraft(u"Draft text"_s, seed.id, tab);
    EXPECT_EQ(utf8(thread(seed.id)->agentTabs.first().draftPrompt), "Draft text");
    ASSERT_EQ(tabChanged.count(), 1);
    EXPECT_EQ(tabChanged.first().at(1).value<QUuid>(), tab);
    model->flushPendingWrites();
    EXPECT_FALSE(hasStoredThreads());

    model->setThreadDraft(u"Ignored"_s, seed.id, QUuid::createUuid());
    EXPECT_EQ(utf8(thread(seed.id)->agentTabs.first().draftPrompt), "Draft text");

    // Settings changes are saved at once, and take the draft along.
    model->toggleThreadDryRun(seed.id);
    model->setThreadApprovalMode(ThreadApprovalMode::autonomous, seed.id);
    const CampaignIDEThread stored = storedThreads().first();
    EXPECT_EQ(utf8(stored.agentTabs.first().draftPrompt), "Draft text");
    EXPECT_TRUE(stored.dryRunEnabled);
    EXPECT_EQ(stored.approvalMode, ThreadApprovalMode::autonomous);
    model->toggleThreadDryRun(seed.id);
    EXPECT_FALSE(thread(seed.id)->dryRunEnabled);
}

class ThreadSettingsTest : public OperationsTest { };

// Every operation on a thread, tab or row that is not there changes, shows and saves nothing; nor
// does sending a blank prompt, which leaves the draft as typed.
TEST_F(ThreadSettingsTest, UnknownThreadsTabsAndRowsOrBlankPromptsChangeNothingAndSaveNothing)
{
    model->setThreadDraft(u"  \n\t "_s, firstThread().id, firstThread().activeAgentTabID);
    const QList<CampaignIDEThread> before = model->threads();
    const QList<CampaignIDEProject> projectsBefore = model->projects();
    const IDEPrimaryDestination destination = model->primaryDestination();
    const CampaignIDEThread seed = firstThread();
    const QUuid unknown = QUuid::createUuid();
    CampaignMediaPlanRow stranger = seed.mediaPlanRows.first();
    stranger.id = QUuid::createUuid();
    stranger.dailyBudget = 1;
    QSignalSpy changed(model.get(), &CampaignIDEWorkspaceModel::threadChanged);
    QSignalSpy section(model.get(), &CampaignIDEWorkspaceModel::selectedSectionChanged);
    QSignalSpy navigated(model.get(), &CampaignIDEWorkspaceModel::primaryDestinationChanged);

    model->selectAgentTab(QUuid::createUuid(), unknown);
    model->closeAgentTab(QUuid::createUuid(), unknown);
    model->addAgentTab(std::nullopt, unknown);
    model->toggleSplitAgentPane(unknown);
    model->showAgentTabInSplit(seed.activeAgentTabID, unknown);
    model->toggleThreadDryRun(unknown);
    model->setThreadApprovalMode(ThreadApprovalMode::safeReads, unknown);
    model->selectWorkbenchView(IDEWorkbenchView::dashboard, unknown);
    model->setThreadDraft(u"x"_s, unknown, QUuid::createUuid());
    model->renameThread(unknown, u"Other"_s);
    model->toggleStarThread(unknown);
    model->openThread(unknown, IDEWorkbenchView::canvas);
    EXPECT_FALSE(model->openProjectThread(unknown)); // no such project
    model->sendMessageInThread(unknown, seed.activeAgentTabID, u"hello"_s, nullptr);
    model->sendMessageInThread(seed.id, unknown, u"hello"_s, nullptr);
    model->sendMessageInThread(seed.id, seed.activeAgentTabID, std::nullopt, nullptr);
    model->sendMessageInThread(seed.id, seed.activeAgentTabID, u"\u2003\n"_s, nullptr);
    EXPECT_FALSE(model->updateMediaPlanRow(stranger, seed.id));
    EXPECT_FALSE(model->updateMediaPlanRow(seed.mediaPlanRows.first(), unknown));
    model->addMediaPlanRow(unknown);
    model->deleteMediaPlanRow(seed.mediaPlanRows.first().id, unknown);
    model->runCompetitorLookup(u"rival.io"_s, unknown);
    model->cloneCompetitorAdToCanvas(seed.competitorAds.first(), unknown);

    EXPECT_EQ(model->threads(), before);
    EXPECT_EQ(model->projects(), projectsBefore);
    EXPECT_EQ(model->primaryDestination(), destination);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(section.count(), 0);
    EXPECT_EQ(navigated.count(), 0);
    EXPECT_FALSE(model->statusNotice());
    EXPECT_TRUE(turns->idle());
    model->flushPendingWrites();
    EXPECT_FALSE(hasStoredThreads());
}

TEST_F(ThreadSettingsTest, WithoutAThreadIdTheActiveThreadSwitches)
{
    const QUuid active = model->activeThread()->id;
    model->selectWorkbenchView(IDEWorkbenchView::dashboard, std::nullopt);
    EXPECT_EQ(thread(active)->workbenchView, IDEWorkbenchView::dashboard);

    model->setPrimaryDestination(IDEPrimaryDestination::thread(QUuid::createUuid()));
    ASSERT_FALSE(model->activeThread());
    const QList<CampaignIDEThread> before = model->threads();
    const CampaignIDESection section = model->selectedSection();
    model->selectWorkbenchView(IDEWorkbenchView::canvas, std::nullopt);
    EXPECT_EQ(model->threads(), before);
    EXPECT_EQ(model->selectedSection(), section);
}

TEST_F(ThreadSettingsTest, CanvasKeepsOrPicksTheSelectedArtboard)
{
    const QUuid id = firstThread().id;
    const CampaignIDEProject project = *model->selectedProject();
    ASSERT_GE(project.creatives.size(), 2);

    model->setSelectedArtboardID(project.creatives.at(1).id);
    model->selectWorkbenchView(IDEWorkbenchView::canvas, id);
    EXPECT_EQ(model->selectedArtboardID(), project.creatives.at(1).id);

    model->setSelectedArtboardID(std::nullopt);
    model->selectWorkbenchView(IDEWorkbenchView::canvas, id);
    EXPECT_EQ(model->selectedArtboardID(), project.creatives.first().id);

    // A selected project without artboards leaves the selection empty.
    model->mutateSelectedProject([](CampaignIDEProject &p) { p.creatives.clear(); });
    model->setSelectedArtboardID(std::nullopt);
    model->selectWorkbenchView(IDEWorkbenchView::canvas, id);
    EXPECT_FALSE(model->selectedArtboardID());
}

TEST_F(ThreadSettingsTest, LocalFilesWriteTheThreadsFilesAndListThem)
{
    const CampaignIDEThread seed = firstThread();
    const QString slug = model->selectedProject()->slug();
    const QString csv = projectFile(slug, u"media-plan.csv"_s);
    ASSERT_TRUE(QFile::remove(csv));

    // Other views never touch the files.
    model->selectWorkbenchView(IDEWorkbenchView::table, seed.id);
    model->flushPendingWrites();
    EXPECT_FALSE(QFile::exists(csv));

    model->selectWorkbenchView(IDEWorkbenchView::localFiles, seed.id);
    EXPECT_EQ(model->selectedSection(), CampaignIDESection::localFiles);
    EXPECT_EQ(storedThreads().first().workbenchView, IDEWorkbenchView::localFiles);
    model->flushPendingWrites();
    EXPECT_TRUE(QFile::exists(csv));
    QStringList names;
    for (const LocalWorkspaceFile &file : model->localFiles())
        names.append(file.name);
    EXPECT_TRUE(names.contains(u"media-plan.csv"_s));
    EXPECT_TRUE(names.contains(u"thread-transcript.json"_s));
}

// A write that fails, or a thread whose project is gone, is named in the notice instead of being
// reported as saved.
TEST_F(ThreadSettingsTest, SaveLocalWritesTheThreadAndProjectFilesOrNamesWhatCouldNotBeSaved)
{
    const CampaignIDEThread shown = firstThread();
    model->setSelectedProjectID(shown.projectID);
    const QString folder = workspaceRoot() + u'/' + project(shown.projectID)->slug();
    const auto saved = [&] {
        model->setStatusNotice(std::nullopt);
        model->saveThreadToLocalWorkspace(shown.id);
        return QTest::qWaitFor(
            [this] {
                model->flushPendingWrites();
                return !notice().isEmpty();
            },
            5000);
    };
    for (const QString &name : { u"media-plan.csv"_s, u"thread-transcript.json"_s, u"campaign-plan.md"_s })
        QFile::remove(folder + u'/' + name);
    ASSERT_TRUE(saved());
    EXPECT_EQ(notice(), u"Saved campaign-plan.md, media-plan.csv, and creatives.json to ~/Documents/Orvane."_s);
    for (const QString &name :
        { u"media-plan.csv"_s, u"thread-transcript.json"_s, u"campaign-plan.md"_s, u"creatives.json"_s })
        EXPECT_TRUE(QFile::exists(folder + u'/' + name)) << name.toStdString();

    model->setSelectedProjectID(std::nullopt);
    QFile::remove(folder + u"/media-plan.csv"_s);
    ASSERT_TRUE(QDir().mkpath(folder + u"/media-plan.csv"_s)); // a folder where the file goes
    model->mutateThread(
        shown.id, [](CampaignIDEThread &thread) { thread.mediaPlanRows.removeLast(); },
        CampaignIDEWorkspaceModel::Save::no);
    ASSERT_TRUE(saved());
    EXPECT_TRUE(notice().startsWith(u"Could not save to ~/Documents/Orvane: "_s)) << notice().toStdString();

    model->mutateThread(shown.id, [](CampaignIDEThread &thread) { thread.projectID = QUuid::createUuid(); });
    ASSERT_TRUE(saved());
    EXPECT_EQ(notice(), u"Could not save to ~/Documents/Orvane: this thread's campaign project no longer exists"_s);
}

} // namespace
