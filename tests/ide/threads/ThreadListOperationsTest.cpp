#include "ide/operations/OperationsTestSupport.h"
#include "ide/records/OrvaneWebParitySeeds.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

namespace {

CampaignIDEProject namedProject(const QString &name)
{
    return { .id = QUuid::createUuid(), .name = name, .status = u"Draft"_s, .updated = u"1d ago"_s };
}

class ActiveThreadTest : public OperationsTest { };

TEST_F(ActiveThreadTest, FollowsTheThreadDestinationElseTheSelectedProject)
{
    ASSERT_GE(model->threads().size(), 2);
    const QUuid first = model->threads().at(0).id;
    const CampaignIDEThread second = model->threads().at(1);
    ASSERT_EQ(model->activeThread()->id, first);

    model->setPrimaryDestination(IDEPrimaryDestination::thread(second.id));
    EXPECT_EQ(model->activeThread()->id, second.id);

    // A thread destination whose thread is gone has no active thread, however many others exist.
    model->setPrimaryDestination(IDEPrimaryDestination::thread(QUuid::createUuid()));
    EXPECT_FALSE(model->activeThread());

    model->setPrimaryDestination(IDEPrimaryDestination::campaigns());
    model->setSelectedProjectID(second.projectID);
    EXPECT_EQ(model->activeThread()->id, second.id);

    model->setSelectedProjectID(QUuid::createUuid()); // a project without threads
    EXPECT_FALSE(model->activeThread());

    model->setSelectedProjectID(std::nullopt);
    EXPECT_EQ(model->activeThread()->id, first);

    model->setThreads({});
    EXPECT_FALSE(model->activeThread());
}

TEST_F(ActiveThreadTest, RecentThreadsKeepListOrderWithinTheProjectFilter)
{
    const CampaignIDEThread seed = firstThread();
    const QUuid projectID = seed.projectID;
    const CampaignIDEThread launch = model->ensureThread(QUuid::createUuid()); // another project, in front
    CampaignIDEThread extra = seed;
    extra.id = QUuid::createUuid();
    extra.isStarred = false;
    model->insertThread(model->threads().size(), extra);

    EXPECT_EQ(model->recentThreads(), model->threads());

    model->setProjectFilterID(projectID);
    const QList<CampaignIDEThread> filtered = model->recentThreads();
    ASSERT_EQ(filtered.size(), 2);
    EXPECT_EQ(filtered.at(0).id, seed.id);
    EXPECT_TRUE(filtered.at(0).isStarred);
    EXPECT_EQ(filtered.at(1).id, extra.id);
    for (const CampaignIDEThread &thread : filtered)
        EXPECT_NE(thread.id, launch.id);
}

class EnsureThreadTest : public OperationsTest { };

TEST_F(EnsureThreadTest, ReturnsTheProjectsFirstThreadUnchanged)
{
    const CampaignIDEThread first = firstThread();
    QSignalSpy inserted(model.get(), &CampaignIDEWorkspaceModel::threadInserted);
    const qsizetype count = model->threads().size();

    EXPECT_EQ(model->ensureThread(first.projectID), first);
    EXPECT_EQ(model->threads().size(), count);
    EXPECT_EQ(inserted.count(), 0);
    model->flushPendingWrites();
    EXPECT_FALSE(hasStoredThreads());
}

TEST_F(EnsureThreadTest, GivesAProjectItsLaunchThread)
{
    CampaignIDEProject project = namedProject(u"Q3 Pipeline Push"_s);
    model->insertProject(0, project);
    const IDEPrimaryDestination destination = model->primaryDestination();
    const std::optional<QUuid> selected = model->selectedProjectID();
    QSignalSpy inserted(model.get(), &CampaignIDEWorkspaceModel::threadInserted);

    const CampaignIDEThread thread = model->ensureThread(project.id);

    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.first().first().value<qsizetype>(), 0);
    EXPECT_EQ(firstThread(), thread);
    // What every new thread has is pinned where threads are created; here, what a launch thread adds.
    EXPECT_EQ(thread.projectID, project.id);
    EXPECT_EQ(utf8(thread.title), "Q3 Pipeline Push — Launch Thread");
    EXPECT_EQ(thread.workbenchView, IDEWorkbenchView::document);
    // The seed threads' first competitor.
    EXPECT_EQ(thread.competitorDomain, OrvaneWebParitySeeds::defaultThreads({}).first().competitorDomain);
    EXPECT_EQ(utf8(thread.utmCampaign), "q3_pipeline_push");
    ASSERT_EQ(thread.agentTabs.size(), 1);
    const CampaignAgentTab &tab = thread.agentTabs.first();
    EXPECT_EQ(utf8(tab.title), "Campaign Strategy");
    EXPECT_EQ(utf8(tab.personaName), "Orvane Native Operator");
    EXPECT_EQ(utf8(tab.personaHandle), "@orvane");
    ASSERT_EQ(tab.entries.size(), 1);
    const CampaignTimelineEntry &welcome = tab.entries.first();
    EXPECT_FALSE(welcome.artifactLink);
    EXPECT_EQ(utf8(welcome.text),
        "Opened **Q3 Pipeline Push** in Local + Cloud IDE mode. All changes sync automatically to "
        "`~/Documents/Orvane/q3-pipeline-push/`.\n\nUse the **Document**, **Table**, **Canvas**, **Dashboard**, "
        "**Explore**, or **Local Files** tabs on the right, or tell me what to build or optimize.");

    // Saved and mirrored; navigation and selection stay where they were.
    EXPECT_EQ(storedThreads(), model->threads());
    EXPECT_TRUE(readAll(projectFile(u"q3-pipeline-push"_s, u"media-plan.csv"_s))
                    .startsWith("Channel,Campaign Name,Funnel Stage,"));
    EXPECT_FALSE(readAll(projectFile(u"q3-pipeline-push"_s, u"thread-transcript.json"_s)).isEmpty());
    EXPECT_EQ(model->primaryDestination(), destination);
    EXPECT_EQ(model->selectedProjectID(), selected);

    // Asked again, the same thread comes back; once deleted, a fresh one is made.
    EXPECT_EQ(model->ensureThread(project.id).id, thread.id);
    model->removeThreads([&](const CampaignIDEThread &t) { return t.id == thread.id; });
    const CampaignIDEThread fresh = model->ensureThread(project.id);
    EXPECT_NE(fresh.id, thread.id);
    EXPECT_EQ(firstThread().id, fresh.id);
}

TEST_F(EnsureThreadTest, WithoutAProjectNamesTheGenericCampaign)
{
    const CampaignIDEThread thread = model->ensureThread(QUuid::createUuid());
    EXPECT_EQ(utf8(thread.title), "New Campaign — Launch Thread");
    EXPECT_EQ(utf8(thread.utmCampaign), "orvane_launch");
    const QString welcome = thread.agentTabs.first().entries.first().text;
    EXPECT_TRUE(welcome.startsWith(u"Opened **Campaign** in Local + Cloud IDE mode."_s));
    EXPECT_TRUE(welcome.contains(u"`~/Documents/Orvane/campaign/`"_s));
    model->flushPendingWrites();
    EXPECT_FALSE(QFile::exists(workspaceRoot() + u"/campaign"_s));
}

// Two names without a Latin letter both read "campaign": the second project's folder takes a
// suffix, and its launch thread says where its own files go.
TEST_F(EnsureThreadTest, TheWelcomeNamesTheFolderTheProjectHas)
{
    const CampaignIDEProject first = namedProject(u"Кампания"_s);
    const CampaignIDEProject second = namedProject(u"東京ローンチ"_s);
    model->insertProject(0, first);
    model->insertProject(0, second);
    const QString folder = model->projectFolderName(second);
    ASSERT_NE(folder, model->projectFolderName(first));
    ASSERT_TRUE(folder.startsWith(u"campaign-"_s)) << utf8(folder);

    const QString welcome = model->ensureThread(second.id).agentTabs.first().entries.first().text;
    EXPECT_TRUE(welcome.contains(u"`~/Documents/Orvane/"_s + folder + u"/`"_s)) << utf8(welcome);
    model->flushPendingWrites();
    EXPECT_TRUE(QFile::exists(projectFile(folder, u"thread-transcript.json"_s)));
}

class ThreadListActionsTest : public OperationsTest { };

TEST_F(ThreadListActionsTest, StarringFlipsTheFlagOnlyAndRenamingTrimsTheTitleAndTouchesTheThread)
{
    const CampaignIDEThread before = model->threads().at(1);
    ASSERT_NE(utf8(before.updatedAt), "Just now");
    model->toggleStarThread(before.id);
    CampaignIDEThread expected = before;
    expected.isStarred = !before.isStarred;
    EXPECT_EQ(*thread(before.id), expected);
    EXPECT_EQ(storedThreads(), model->threads());
    model->toggleStarThread(before.id);
    EXPECT_EQ(*thread(before.id), before);

    model->renameThread(before.id, u"  \n Search capture v2 \t"_s);
    EXPECT_EQ(utf8(thread(before.id)->title), "Search capture v2");
    EXPECT_EQ(utf8(thread(before.id)->updatedAt), "Just now");
    EXPECT_EQ(storedThreads(), model->threads());
}

TEST_F(ThreadListActionsTest, BlankTitlesChangeNothing)
{
    const QList<CampaignIDEThread> before = model->threads();
    QSignalSpy changed(model.get(), &CampaignIDEWorkspaceModel::threadChanged);
    model->renameThread(before.at(1).id, u" \n\u2003 "_s);
    EXPECT_EQ(model->threads(), before);
    EXPECT_EQ(changed.count(), 0);
    model->flushPendingWrites();
    EXPECT_FALSE(hasStoredThreads());
}

} // namespace
