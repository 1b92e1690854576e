#include "ide/sync/SyncTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

using Mode = CampaignPlatformConnection::ConnectionMode;

const QString kDefaultObjective
    = u"Generate qualified pipeline and demos across high-intent search and social channels."_s;

class ProjectOperationsTest : public OperationsTest {
protected:
    [[nodiscard]] const CampaignPlatformConnection &connection(const QString &id) const
    {
        for (const CampaignPlatformConnection &candidate : model->connections()) {
            if (candidate.id == id)
                return candidate;
        }
        ADD_FAILURE() << "no connection " << utf8(id);
        return model->connections().first();
    }
    [[nodiscard]] const CampaignIDEProject &selected() const { return *project(*model->selectedProjectID()); }
};

// --- Creating projects ----------------------------------------------------------------------------

TEST_F(ProjectOperationsTest, ANewProjectIsCompleteSavedMirroredAndOpened)
{
    QSignalSpy inserted(model.get(), &CampaignIDEWorkspaceModel::projectInserted);
    const qsizetype before = model->projects().size();

    const QUuid id = model->createProject(u"  Spring Launch "_s, u"   "_s, nullptr);

    ASSERT_EQ(model->projects().size(), before + 1);
    const CampaignIDEProject &created = model->projects().first();
    EXPECT_EQ(created.id, id);
    EXPECT_EQ(created.name, u"  Spring Launch "_s); // stored as typed
    EXPECT_EQ(created.objective, kDefaultObjective);
    EXPECT_EQ(created.status, u"Plan ready"_s);
    EXPECT_EQ(created.updated, u"Now"_s);
    EXPECT_TRUE(created.hasPlan);
    EXPECT_FALSE(created.isLaunched);
    EXPECT_FALSE(created.serverID);
    EXPECT_EQ(
        created.audience, u"Performance marketing leaders and growth engineers at B2B SaaS and commerce companies."_s);
    ASSERT_EQ(created.creatives.size(), 4);
    const QList<QString> platforms { u"Google Search"_s, u"LinkedIn"_s, u"Meta Ads"_s, u"Display"_s };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(created.creatives.at(i).platform, platforms.at(i));
    EXPECT_NE(created.creatives.first().id, CampaignIDEWorkspaceModel::sampleArtboardID);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.first().first().value<qsizetype>(), 0);

    // Opened: selected, with its launch thread in front and its first artboard.
    EXPECT_EQ(model->selectedProjectID(), id);
    EXPECT_EQ(model->notificationCenter()->projectFilter(), id);
    EXPECT_EQ(model->selectedArtboardID(), created.creatives.first().id);
    ASSERT_TRUE(model->activeThread());
    EXPECT_EQ(model->activeThread()->projectID, id);
    EXPECT_FALSE(model->statusNotice());

    EXPECT_EQ(storedProjects(), model->projects());
    EXPECT_TRUE(QFileInfo::exists(projectFile(u"spring-launch"_s, u"campaign-plan.md"_s)));
    EXPECT_TRUE(QFileInfo::exists(projectFile(u"spring-launch"_s, u"creatives.json"_s)));

    model->createProject(u"Q1"_s, u"\n  Win the category.  "_s, nullptr);
    EXPECT_EQ(model->projects().first().objective, u"Win the category."_s);
}

TEST_F(ProjectOperationsTest, ProjectNamesNeverLeadOutOfTheWorkspaceFolder)
{
    const QDir root(workspaceRoot());
    for (const QString &name :
        { u"../../escaped"_s, u"/etc/passwd"_s, u".."_s, u"a/../../b\\c"_s, u"~"_s, u"..\\..\\x"_s, u"\u202E..//"_s }) {
        const QUuid id = model->createProject(name, std::nullopt, nullptr);
        const QString folder = model->projectFolderPath(*project(id));
        EXPECT_EQ(QFileInfo(folder).absoluteDir(), root) << utf8(name);
        EXPECT_FALSE(project(id)->slug().contains(u'/'));
        EXPECT_FALSE(project(id)->slug().contains(u".."_s));
        model->flushPendingWrites();
        EXPECT_TRUE(QFileInfo::exists(folder + u"/campaign-plan.md"_s)) << utf8(name);
    }
    EXPECT_FALSE(QFileInfo::exists(home.path() + u"/escaped"_s));
    EXPECT_FALSE(QFileInfo::exists(home.path() + u"/Documents/escaped"_s));
    EXPECT_FALSE(QFileInfo::exists(home.path() + u"/b"_s));
}

// --- The service mirror of a new project ----------------------------------------------------------

class ProjectMirrorTest : public synctest::ServiceWorkspaceTest {
protected:
    void SetUp() override
    {
        ServiceWorkspaceTest::SetUp();
        mirrors = model->projectMirrors();
    }
    void TearDown() override
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return mirrors->idle(); }, 10000));
        ServiceWorkspaceTest::TearDown();
    }
    [[nodiscard]] OrvaneAPIClient client() { return OrvaneAPIClient(service.baseURL(), u"orv_test"_s, &network); }

    std::optional<InFlightTasks::Watch> mirrors;
};

TEST_F(ProjectMirrorTest, ASignedInCreationLinksTheProjectToTheServicesProject)
{
    session = makeSession(account());
    const QUuid id = model->createProject(u"Spring Launch"_s, u" Win. "_s, session.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return project(id)->serverID.has_value(); }, 10000));

    ASSERT_EQ(service.requestCount(), 1);
    const RecordedRequest &request = service.requests().first();
    EXPECT_EQ(request.header("authorization"), "Bearer orv_test_0123456789");
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.decodedPath(), u"/api/projects"_s);
    const auto body = nlohmann::ordered_json::parse(request.body.toStdString());
    EXPECT_EQ(body.at("name"), "Spring Launch");
    EXPECT_EQ(body.at("description"), "Win.");
    const Project remote = decodeJson<Project>(service.projectsJson().last());
    EXPECT_EQ(project(id)->serverID, remote.id);
    EXPECT_EQ(storedProjects().first().serverID, remote.id);
}

// Without an account that may write, the project's name and objective never leave the machine.
TEST_F(ProjectMirrorTest, AReadOnlyAccountASignedOutSessionOrNoSessionSendsNothing)
{
    SignedInAccount readOnlyAccount = account();
    readOnlyAccount.readOnly = true;
    const auto readOnly = makeSession(readOnlyAccount);
    const auto signedOut = makeSession(std::nullopt);
    model->createProject(u"Read only"_s, std::nullopt, readOnly.get());
    model->createProject(u"Signed out"_s, std::nullopt, signedOut.get());
    model->createProject(u"Local only"_s, std::nullopt, nullptr);
    EXPECT_TRUE(mirrors->idle()); // no mirror was started
    EXPECT_EQ(service.requestCount(), 0);
}

TEST_F(ProjectMirrorTest, AFailedCreationLeavesTheProjectLocalAndOneDeletedBeforeTheReplyStaysDeleted)
{
    service.setResponse("POST", u"/api/projects"_s, CannedResponse::json(500, R"({"error":"down"})"));
    const QUuid id = model->createProject(u"Spring Launch"_s, std::nullopt, client());
    const CampaignIDEProject local = *project(id);
    ASSERT_TRUE(service.waitForRequests(1));
    ASSERT_TRUE(QTest::qWaitFor([this] { return mirrors->idle(); }, 10000));
    EXPECT_EQ(*project(id), local);
    EXPECT_FALSE(model->statusNotice());

    // A project deleted before the reply stays deleted.
    service.setResponse("POST", u"/api/projects"_s,
        CannedResponse::json(201, R"({"project":{"id":"p-9","name":"Gone"}})")
            .delayedBy(std::chrono::milliseconds(150)));
    const QUuid gone = model->createProject(u"Gone"_s, std::nullopt, client());
    model->deleteProject(gone);
    const auto after = model->projects();
    ASSERT_TRUE(QTest::qWaitFor([this] { return mirrors->idle(); }, 10000));
    EXPECT_EQ(model->projects(), after);
    EXPECT_EQ(project(gone), nullptr);
}

TEST_F(ProjectMirrorTest, AModelDestroyedBeforeTheReplyEndsTheMirrorQuietly)
{
    service.setResponse("POST", u"/api/projects"_s,
        CannedResponse::json(201, R"({"project":{"id":"p-9","name":"Gone"}})").delayedBy(std::chrono::seconds(5)));
    model->createProject(u"Gone"_s, std::nullopt, client());
    ASSERT_TRUE(service.waitForRequests(1));
    model.reset();
    EXPECT_TRUE(QTest::qWaitFor([this] { return mirrors->idle(); }, 3000));
}

// --- Deleting projects ----------------------------------------------------------------------------

TEST_F(ProjectOperationsTest, DeletingTheSelectedProjectSelectsTheFirstRemainingAndKeepsItsFolder)
{
    const QUuid doomed = *model->selectedProjectID();
    const QString folder = model->projectFolderPath(*project(doomed));
    QSignalSpy removed(model.get(), &CampaignIDEWorkspaceModel::projectRemoved);

    model->deleteProject(doomed);

    EXPECT_EQ(project(doomed), nullptr);
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.first().at(1).value<QUuid>(), doomed);
    for (const CampaignIDEThread &t : model->threads())
        EXPECT_NE(t.projectID, doomed);
    EXPECT_EQ(model->selectedProjectID(), model->projects().first().id);
    EXPECT_EQ(model->notificationCenter()->projectFilter(), model->projects().first().id);
    EXPECT_EQ(storedProjects(), model->projects());
    EXPECT_EQ(storedThreads(), model->threads());
    EXPECT_TRUE(QFileInfo::exists(folder + u"/campaign-plan.md"_s));
    EXPECT_FALSE(model->statusNotice());
}

TEST_F(ProjectOperationsTest, DeletingAnUnselectedProjectKeepsTheSelection)
{
    const QUuid selection = *model->selectedProjectID();
    model->deleteProject(model->projects().last().id);
    EXPECT_EQ(model->selectedProjectID(), selection);

    model->deleteProject(selection);
    EXPECT_TRUE(model->projects().isEmpty());
    EXPECT_FALSE(model->selectedProjectID());
    EXPECT_FALSE(model->notificationCenter()->projectFilter());
}

TEST_F(ProjectOperationsTest, DeletingOneProjectNeverDeletesAnotherThatSharesItsId)
{
    // Two projects with one id, as a damaged or older state file can hold them.
    CampaignIDEProject twin = model->projects().first();
    twin.name = u"Twin"_s;
    const QUuid shared = twin.id;
    model->insertProject(model->projects().size(), twin);
    const qsizetype threadsOfId = std::count_if(model->threads().cbegin(), model->threads().cend(),
        [&](const CampaignIDEThread &t) { return t.projectID == shared; });
    ASSERT_GT(threadsOfId, 0);

    model->deleteProject(shared);

    ASSERT_NE(project(shared), nullptr);
    EXPECT_EQ(project(shared)->name, u"Twin"_s);
    EXPECT_EQ(std::count_if(model->threads().cbegin(), model->threads().cend(),
                  [&](const CampaignIDEThread &t) { return t.projectID == shared; }),
        threadsOfId);

    model->deleteProject(shared);
    EXPECT_EQ(project(shared), nullptr);
    EXPECT_EQ(std::count_if(model->threads().cbegin(), model->threads().cend(),
                  [&](const CampaignIDEThread &t) { return t.projectID == shared; }),
        0);
}

// --- Artboards ------------------------------------------------------------------------------------

TEST_F(ProjectOperationsTest, SelectingAnArtboardOfAnotherProjectChangesNothing)
{
    model->setCanvasTool(CreativeCanvasTool::text);
    const auto before = model->selectedArtboardID();
    const QUuid foreign = model->projects().last().creatives.first().id;
    ASSERT_NE(model->projects().last().id, *model->selectedProjectID());

    model->selectArtboard(foreign);
    EXPECT_EQ(model->selectedArtboardID(), before);
    EXPECT_EQ(model->canvasTool(), CreativeCanvasTool::text);

    const QUuid own = selected().creatives.at(2).id;
    model->selectArtboard(own);
    EXPECT_EQ(model->selectedArtboardID(), own);
    EXPECT_EQ(model->canvasTool(), CreativeCanvasTool::select);
}

TEST_F(ProjectOperationsTest, EditingAnApprovedHeadlineSendsItBackToReviewUntilApprovedAgain)
{
    model->approveAllCreatives();
    ASSERT_EQ(selected().status, u"Ready to execute"_s);
    const QUuid artboard = *model->selectedArtboardID();

    model->updateSelectedHeadline(u"  Ship faster  "_s);

    const CreativeCanvasArtboard edited = *model->selectedArtboard();
    EXPECT_EQ(edited.headline, u"  Ship faster  "_s);
    EXPECT_EQ(edited.reviewStatus, CreativeReviewStatus::needsReview);
    EXPECT_TRUE(edited.isDirty);
    EXPECT_TRUE(edited.requiresRereview);
    EXPECT_EQ(selected().status, u"Creative review"_s);
    EXPECT_EQ(selected().updated, u"Now"_s);
    EXPECT_FALSE(model->canExecute());

    model->setSelectedArtboardReview(CreativeReviewStatus::approved);
    EXPECT_FALSE(model->selectedArtboard()->isDirty);
    EXPECT_FALSE(model->selectedArtboard()->requiresRereview);
    EXPECT_EQ(model->selectedArtboard()->id, artboard);
    EXPECT_EQ(selected().status, u"Ready to execute"_s);
    EXPECT_TRUE(model->canExecute());
    EXPECT_EQ(storedProjects(), model->projects());
}

TEST_F(ProjectOperationsTest, EditsWithoutASelectedArtboardOrProjectChangeNothing)
{
    model->setSelectedArtboardID(std::nullopt);
    QSignalSpy changed(model.get(), &CampaignIDEWorkspaceModel::projectChanged);
    model->updateSelectedHeadline(u"x"_s);
    model->setSelectedArtboardReview(CreativeReviewStatus::approved);
    EXPECT_EQ(changed.count(), 0);

    // An artboard id of no artboard still saves and mirrors the unchanged project.
    model->setSelectedArtboardID(QUuid::createUuid());
    const auto before = model->projects();
    model->updateSelectedHeadline(u"x"_s);
    EXPECT_EQ(model->projects(), before);
    EXPECT_EQ(storedProjects(), before);

    // Plan edits with a selection that names no project do nothing, nor without any project.
    model->setSelectedProjectID(QUuid::createUuid());
    EXPECT_FALSE(model->planEditTargetProjectID());
    model->updateSelectedProjectName(u"Renamed"_s);
    model->updateSelectedProjectBudget(u"$1"_s);
    model->updateSelectedProjectObjective(u"lost"_s);
    EXPECT_EQ(model->projects(), before);
    model->removeProjects([](const CampaignIDEProject &) { return true; });
    model->setSelectedProjectID(std::nullopt);
    EXPECT_FALSE(model->planEditTargetProjectID());
    model->updateSelectedProjectAudience(u"nowhere"_s);
    EXPECT_TRUE(model->projects().isEmpty());
}

TEST_F(ProjectOperationsTest, AnAddedArtboardIsSelectedAndApprovingNoneStillTellsTheOperator)
{
    model->mutateSelectedProject([](CampaignIDEProject &p) { p.creatives.clear(); });
    model->approveAllCreatives();
    EXPECT_EQ(selected().status, u"Creative review"_s);
    EXPECT_EQ(notice(), u"All artboards approved. Campaign is ready for execution review."_s);

    model->mutateSelectedProject([](CampaignIDEProject &p) { p.status = u"Ready to execute"_s; });
    model->addArtboard(u"Reddit"_s, u"Conversation"_s, u"Hi"_s, 1920, 1080);
    ASSERT_EQ(selected().creatives.size(), 1);
    EXPECT_EQ(selected().creatives.last().headline, u"Hi"_s);
    EXPECT_EQ(model->selectedArtboardID(), selected().creatives.last().id);
    EXPECT_EQ(selected().status, u"Creative review"_s);

    model->setSelectedProjectID(std::nullopt);
    model->setStatusNotice(std::nullopt);
    const auto before = model->projects();
    model->approveAllCreatives();
    EXPECT_EQ(model->projects(), before);
    EXPECT_EQ(notice(), u"All artboards approved. Campaign is ready for execution review."_s);
}

class CanvasInspectorOperationsTest : public OperationsTest {
protected:
    void SetUp() override
    {
        OperationsTest::SetUp();
        model->openProject(CampaignIDEWorkspaceModel::sampleProjectID);
        model->setSelectedArtboardID(std::nullopt);
        ASSERT_GE(model->selectedProject()->creatives.size(), 2);
    }
    [[nodiscard]] CreativeCanvasArtboard artboard(qsizetype row) const
    {
        return model->selectedProject()->creatives.at(row);
    }
};

// The inspector acts on an artboard by id: it selects it, then edits it as the selected one (how an
// edit or decision settles the project is checked with the selected-artboard operations).
TEST_F(CanvasInspectorOperationsTest, AReviewDecisionOrHeadlineEditSelectsItsArtboard)
{
    model->approveAllCreatives();
    const QUuid second = artboard(1).id;
    model->setArtboardReviewStatus(second, CreativeReviewStatus::rejected);
    EXPECT_EQ(model->selectedArtboardID(), second);
    EXPECT_EQ(artboard(1).reviewStatus, CreativeReviewStatus::rejected);
    EXPECT_EQ(model->selectedProject()->status, u"Creative review"_s);

    const QUuid first = artboard(0).id;
    model->updateArtboardHeadline(first, u"New hook"_s);
    EXPECT_EQ(model->selectedArtboardID(), first);
    EXPECT_EQ(artboard(0).headline, u"New hook"_s);
    EXPECT_TRUE(artboard(0).requiresRereview);
    EXPECT_EQ(storedProjects().first().creatives.at(0).headline, u"New hook"_s);
}

TEST_F(CanvasInspectorOperationsTest, AnArtboardTheSelectedProjectDoesNotHoldChangesNothing)
{
    model->selectArtboard(artboard(0).id);
    const auto before = *model->selectedProject();
    QSignalSpy projectChanges(model.get(), &CampaignIDEWorkspaceModel::projectChanged);

    const QUuid stranger = QUuid::createUuid();
    model->setArtboardReviewStatus(stranger, CreativeReviewStatus::approved);
    model->updateArtboardHeadline(stranger, u"Lost"_s);

    EXPECT_EQ(model->selectedArtboardID(), before.creatives.first().id);
    EXPECT_EQ(*model->selectedProject(), before);
    EXPECT_TRUE(projectChanges.isEmpty());
}

// --- Plan header edits ----------------------------------------------------------------------------

// The folder moves with everything in it, unless the new name's folder exists: then it stays.
TEST_F(ProjectOperationsTest, RenamingMovesTheProjectFolderWithEverythingInIt)
{
    const QString oldFolder = model->projectFolderPath(selected());
    model->syncThreadArtifactsToDisk(*model->activeThread());
    model->flushPendingWrites();
    ASSERT_TRUE(writeAll(oldFolder + u"/notes.md"_s, "mine"));
    model->updateSelectedProjectName(u"Q4 Enterprise — Demand!"_s);
    EXPECT_EQ(selected().name, u"Q4 Enterprise — Demand!"_s);
    EXPECT_EQ(selected().updated, u"Just now"_s);
    model->flushPendingWrites();
    EXPECT_FALSE(QFileInfo::exists(oldFolder));
    for (const QString &name : { u"campaign-plan.md"_s, u"media-plan.csv"_s, u"thread-transcript.json"_s })
        EXPECT_TRUE(QFileInfo::exists(projectFile(u"q4-enterprise-demand"_s, name))) << utf8(name);
    EXPECT_EQ(readAll(projectFile(u"q4-enterprise-demand"_s, u"notes.md"_s)), "mine");
    EXPECT_TRUE(QDir(workspaceRoot()).entryList({ u"*.user-edit-*"_s }, QDir::Files).isEmpty());

    ASSERT_TRUE(QDir().mkpath(workspaceRoot() + u"/taken"_s));
    model->updateSelectedProjectName(u"Taken"_s);
    EXPECT_EQ(notice(),
        u"Kept the folder ~/Documents/Orvane/q4-enterprise-demand: ~/Documents/Orvane/taken already exists."_s);
    model->flushPendingWrites();
    EXPECT_EQ(model->projectFolderPath(selected()), workspaceRoot() + u"/q4-enterprise-demand"_s);
    EXPECT_TRUE(QDir(workspaceRoot() + u"/taken"_s).isEmpty());

    // The same slug rewrites the same folder.
    model->updateSelectedProjectName(u"q4 enterprise demand"_s);
    model->flushPendingWrites();
    EXPECT_TRUE(QString::fromUtf8(readAll(projectFile(u"q4-enterprise-demand"_s, u"campaign-plan.md"_s)))
                    .contains(u"q4 enterprise demand"_s));

    model->updateSelectedProjectName(QString());
    EXPECT_TRUE(selected().name.isEmpty());
    EXPECT_EQ(storedProjects(), model->projects());
}

// Every plan edit reaches one project: the selected one, else the first one while nothing is
// selected.
TEST_F(ProjectOperationsTest, PlanEditsWithoutASelectionChangeTheFirstProject)
{
    model->setSelectedProjectID(std::nullopt);
    ASSERT_EQ(model->planEditTargetProjectID(), model->projects().first().id);
    QSignalSpy changed(model.get(), &CampaignIDEWorkspaceModel::projectChanged);
    model->updateSelectedProjectObjective(u"Pipeline\nfirst"_s);
    model->updateSelectedProjectAudience(u" RevOps leaders "_s);
    EXPECT_EQ(model->projects().first().objective, u"Pipeline\nfirst"_s);
    EXPECT_EQ(model->projects().first().audience, u" RevOps leaders "_s);
    EXPECT_EQ(model->projects().first().updated, u"Now"_s);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(storedProjects().first().audience, u" RevOps leaders "_s);

    const QString channels = model->projects().first().channelsAndBudget;
    ASSERT_TRUE(channels.contains(u"$7,500"_s));
    model->updateSelectedProjectBudget(u" 9,000 "_s);
    EXPECT_EQ(model->projects().first().channelsAndBudget, QString(channels).replace(u"$7,500"_s, u"$9,000"_s));
    for (const QString &refused : { QString(), u"$9,000 flight"_s, u"$"_s, u"nine"_s, u",5"_s }) {
        model->updateSelectedProjectBudget(refused);
        EXPECT_TRUE(model->projects().first().channelsAndBudget.contains(u"$9,000 flight"_s)) << utf8(refused);
    }
    EXPECT_EQ(notice(), u"The monthly budget must be an amount such as $5,000 or $12k."_s);
    model->mutateProject(model->projects().first().id, [](CampaignIDEProject &p) { p.channelsAndBudget.clear(); });
    model->updateSelectedProjectBudget(u"12K"_s);
    EXPECT_EQ(model->projects().first().channelsAndBudget, u"$12k"_s);
    model->updateSelectedProjectName(u"Renamed"_s);
    EXPECT_EQ(model->projects().first().name, u"Renamed"_s);

    const QUuid second = model->projects().at(1).id;
    model->setSelectedProjectID(second);
    model->updateSelectedProjectAudience(u"Second"_s);
    EXPECT_EQ(project(second)->audience, u"Second"_s);
    EXPECT_EQ(model->projects().first().audience, u" RevOps leaders "_s);
}

// The raw plan editor saves campaign-plan.md even while the local files view has another file
// selected; that other file keeps its unsaved edit.
TEST_F(ProjectOperationsTest, SavingThePlanFileSelectsAndWritesCampaignPlan)
{
    model->openProject(model->projects().first().id);
    model->flushPendingWrites();
    model->setSelectedLocalFileName(u"media-plan.csv"_s);
    model->updateSelectedLocalFileContent(u"edited,csv\n"_s);
    model->setSelectedLocalFileName(u"campaign-plan.md"_s);
    model->updateSelectedLocalFileContent(u"# Plan typed by hand\n"_s);
    model->setSelectedLocalFileName(u"media-plan.csv"_s);

    model->saveCampaignPlanFile();
    model->flushPendingWrites();

    ASSERT_TRUE(model->selectedLocalFile());
    EXPECT_EQ(model->selectedLocalFile()->name, u"campaign-plan.md"_s);
    EXPECT_FALSE(model->selectedLocalFile()->isModified);
    EXPECT_EQ(readAll(projectFile(model->projects().first().slug(), u"campaign-plan.md"_s)), "# Plan typed by hand\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return notice() == u"Saved campaign-plan.md to disk."_s; }, 2000));
    for (const LocalWorkspaceFile &file : model->localFiles()) {
        if (file.name == u"media-plan.csv"_s) {
            EXPECT_TRUE(file.isModified);
        }
    }
}

// --- Platform connections -------------------------------------------------------------------------

TEST_F(ProjectOperationsTest, ConnectionsCycleBetweenSandboxAndCloudWithNotices)
{
    QSignalSpy changed(model.get(), &CampaignIDEWorkspaceModel::connectionsChanged);
    const qsizetype connected = model->connectedPlatformCount();
    ASSERT_EQ(connection(u"google"_s).mode, Mode::localSandbox);

    model->toggleConnection(u"google"_s);
    EXPECT_EQ(connection(u"google"_s).mode, Mode::cloudConnected);
    EXPECT_EQ(connection(u"google"_s).lastSynced, u"Just now"_s);
    EXPECT_EQ(notice(), u"Switched Google Ads to Cloud OAuth mode."_s);
    EXPECT_EQ(model->connectedPlatformCount(), connected);

    model->toggleConnection(u"google"_s);
    EXPECT_EQ(connection(u"google"_s).mode, Mode::localSandbox);
    EXPECT_EQ(notice(), u"Switched Google Ads to Local Sandbox mode."_s);

    ASSERT_EQ(connection(u"tiktok"_s).mode, Mode::disconnected);
    model->toggleConnection(u"tiktok"_s);
    EXPECT_EQ(connection(u"tiktok"_s).mode, Mode::localSandbox);
    EXPECT_EQ(notice(), u"Connected TikTok Ads in Local Sandbox mode."_s);
    EXPECT_EQ(model->connectedPlatformCount(), connected + 1);
    model->toggleConnection(u"tiktok"_s);
    EXPECT_EQ(connection(u"tiktok"_s).mode, Mode::cloudConnected);
    EXPECT_EQ(changed.count(), 4);

    const auto before = model->connections();
    model->toggleConnection(u"GOOGLE"_s);
    EXPECT_EQ(model->connections(), before);
}

} // namespace
} // namespace orvane::test
