#include "ide/sync/SyncTestSupport.h"

#include "testsupport/service/AwaitTask.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QThreadPool>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace orvane::synctest {
namespace {

using test::awaitTask;
using test::CannedResponse;
using test::startTask;

const QByteArray kProjects = R"({"projects":[
  {"id":"srv-q4","name":"q4 ENTERPRISE demand gen","description":"Server objective","updated_at":"not a date"},
  {"id":"srv-new","name":"Spring <b>Launch</b>","description":"","updated_at":"","campaign_plan_count":0,
   "_count":{"artifacts":2}}
]})";

const QByteArray kReports = R"({"artifacts":[
  {"id":"r-9","kind":"pdf","title":"Lift <i>study</i>","url":"https://cdn.example.com/lift.pdf",
   "created_at":"2024-05-04T09:00:00Z"}
]})";

const QByteArray kApprovals = R"({"actions":[{"id":"a-7","platform":"google_ads","actionType":"raise_budget"}]})";

// An answer whose body stops after a few bytes and never ends.
CannedResponse stalled(QByteArray body)
{
    CannedResponse response = CannedResponse::json(200, std::move(body));
    response.sentBodyBytes = 12;
    response.ending = CannedResponse::Ending::stall;
    return response;
}

class ServerRefreshTest : public ServiceWorkspaceTest {
protected:
    void serve(QByteArray projects, QByteArray reports, QByteArray approvals)
    {
        service.setResponse("GET", u"/api/projects"_s, CannedResponse::json(200, std::move(projects)));
        service.setResponse("GET", u"/api/reports/list"_s, CannedResponse::json(200, std::move(reports)));
        service.setResponse("GET", u"/api/approvals"_s, CannedResponse::json(200, std::move(approvals)));
    }

    void refresh()
    {
        const auto outcome = awaitTask(model->loadLiveContext(*session));
        ASSERT_TRUE(outcome.finished);
        model->flushPendingWrites();
    }
};

TEST_F(ServerRefreshTest, MergesProjectsAndAdoptsReportsAndApprovals)
{
    session = makeSession(account(u"  Acme Growth \n"_s));
    serve(kProjects, kReports, kApprovals);
    const QList<CampaignIDEProject> before = model->projects();
    QSignalSpy syncing(model.get(), &CampaignIDEWorkspaceModel::syncingServerChanged);

    auto outcome = startTask(model->refreshFromServer(*session));
    EXPECT_TRUE(model->isSyncingServer());
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome->finished; }, 10000));
    model->flushPendingWrites();
    EXPECT_FALSE(model->isSyncingServer());
    EXPECT_EQ(syncing.size(), 2);

    // Three requests with the key, at once.
    ASSERT_EQ(service.requestCount(), 3);
    QSet<QByteArray> targets;
    for (const test::RecordedRequest &request : service.requests()) {
        targets.insert(request.target);
        EXPECT_EQ(request.header("authorization"), "Bearer orv_test_0123456789");
    }
    EXPECT_EQ(targets, (QSet<QByteArray> { "/api/projects", "/api/reports/list", "/api/approvals?status=pending" }));

    // The sample "Q4 Enterprise Demand Gen" matched by name; the new one appended; nothing removed
    // (how fields merge is checked with the merge itself).
    const QList<CampaignIDEProject> &projects = model->projects();
    ASSERT_EQ(projects.size(), before.size() + 1);
    EXPECT_EQ(projects.at(0), before.at(0));
    EXPECT_EQ(projects.at(1).id, before.at(1).id);
    EXPECT_EQ(projects.at(1).serverID, u"srv-q4"_s);
    const CampaignIDEProject &added = projects.at(2);
    EXPECT_EQ(utf8(added.name), "Spring <b>Launch</b>"); // a name is data, kept as sent

    // Reports and approvals adopted; the first report selected.
    ASSERT_EQ(model->reports().size(), 1);
    EXPECT_EQ(utf8(model->reports().first().title), "Lift <i>study</i>");
    EXPECT_EQ(model->selectedReport(), model->reports().first());
    ASSERT_EQ(model->pendingActions().size(), 1);
    EXPECT_EQ(utf8(model->pendingActions().first().id), "a-7");

    // Saved and mirrored.
    EXPECT_EQ(storedProjects(), projects);
    EXPECT_TRUE(QFileInfo::exists(projectFile(added.slug(), u"campaign-plan.md"_s)));
    EXPECT_EQ(utf8(added.slug()), "spring-b-launch-b");

    // The identity the copilot reports, and the copilot store scoped to it.
    EXPECT_EQ(model->identity().principalID, u"ops@example.com"_s);
    EXPECT_EQ(model->identity().workspaceID, u"orvane-production"_s);
    EXPECT_EQ(model->identity().accountName, u"Acme Growth (Production)"_s);
    EXPECT_EQ(model->identity().workspaceName, u"Acme Growth (Production)"_s);
    EXPECT_TRUE(model->identity().contextIsFresh);
    ASSERT_TRUE(model->copilotStore()->activeScope());
    EXPECT_EQ(model->copilotStore()->activeScope()->principalID, u"ops@example.com"_s);
    ASSERT_TRUE(model->copilotStore()->clientProvider());
    EXPECT_EQ(model->copilotStore()->clientProvider()().apiKey(), u"orv_test_0123456789"_s);

    // Again: found by server id, nothing added.
    refresh();
    EXPECT_EQ(model->projects().size(), before.size() + 1);
}

TEST_F(ServerRefreshTest, FailedOrEmptyAnswersKeepTheProjectsAndTheSelectedReport)
{
    session = makeSession(account());
    const QList<CampaignIDEProject> before = model->projects();
    PendingAction kept;
    kept.id = u"kept"_s;
    model->setPendingActions({ kept });
    service.setResponse("GET", u"/api/projects"_s, CannedResponse::json(500, R"({"error":"down"})"));
    service.setResponse("GET", u"/api/reports/list"_s, CannedResponse::json(200, kReports));
    service.setResponse("GET", u"/api/approvals"_s, CannedResponse::json(200, R"({"actions":"not a list"})"));
    ASSERT_FALSE(QFileInfo::exists(stateFile())); // nothing is saved at start-up

    refresh();
    EXPECT_EQ(model->projects(), before);
    EXPECT_EQ(model->reports().size(), 1);
    ASSERT_EQ(model->pendingActions().size(), 1);
    EXPECT_EQ(utf8(model->pendingActions().first().id), "kept");
    EXPECT_EQ(storedProjects(), before);
    EXPECT_FALSE(model->isSyncingServer());
    EXPECT_FALSE(model->statusNotice());

    // Empty answers keep the projects and the selected report, though the list no longer holds it.
    ReportArtifact selected;
    selected.id = u"old"_s;
    selected.kind = u"pdf"_s;
    selected.title = u"Old"_s;
    selected.url = u"/old"_s;
    model->setSelectedReport(selected);
    serve(R"({"projects":[]})", kReports, R"({"actions":[]})");
    refresh();
    EXPECT_EQ(model->projects(), before);
    EXPECT_EQ(model->reports().size(), 1);
    EXPECT_EQ(model->selectedReport(), selected);

    model->setSelectedReport(std::nullopt);
    serve(R"({"projects":[]})", R"({"artifacts":[]})", R"({"actions":[]})");
    refresh();
    EXPECT_TRUE(model->reports().isEmpty());
    EXPECT_FALSE(model->selectedReport());
}

TEST_F(ServerRefreshTest, SignedOutRequestsCarryNoKeyAndChangeNothing)
{
    service.setRequiredAPIKey(u"orv_test_0123456789"_s);
    session = makeSession(std::nullopt, OrvaneEnvironment::staging);
    const QList<CampaignIDEProject> before = model->projects();
    refresh();

    EXPECT_EQ(service.requestCount(), 3);
    for (const test::RecordedRequest &request : service.requests())
        EXPECT_FALSE(request.header("authorization"));
    EXPECT_EQ(model->projects(), before);
    EXPECT_TRUE(model->reports().isEmpty());
    EXPECT_EQ(storedProjects(), before);
    EXPECT_EQ(model->identity().principalID, u"orvane-operator"_s);
    EXPECT_EQ(model->identity().workspaceID, u"orvane-staging"_s);
    EXPECT_EQ(model->identity().accountName, u"Orvane (Staging)"_s);

    session = makeSession(std::nullopt);
    model->bindSession(*session);
    EXPECT_EQ(model->identity().accountName, u"Orvane (Production)"_s);
    EXPECT_EQ(model->identity().workspaceID, u"orvane-production"_s);
    // A blank workspace name falls back to the product's.
    session = makeSession(account(u" \n"_s));
    model->bindSession(*session);
    EXPECT_EQ(model->identity().workspaceName, u"Orvane (Production)"_s);
    EXPECT_EQ(model->identity().principalID, u"ops@example.com"_s);
}

// A stalled request ends at the transfer timeout and a trickling one at the model's request
// deadline; the others' results still apply.
TEST_F(ServerRefreshTest, AStalledOrTricklingRequestEndsAtItsBound)
{
    session = makeSession(account());
    model->setServiceLimits(TransferLimits { .idleTimeout = 300ms, .deadline = 600ms });
    service.setResponse("GET", u"/api/projects"_s, stalled(kProjects));
    CannedResponse trickle = CannedResponse::json(200, R"({"actions":[)").repeating(" ", 20ms);
    trickle.declaredLength = 4096;
    service.setResponse("GET", u"/api/approvals"_s, trickle);
    service.setResponse("GET", u"/api/reports/list"_s, CannedResponse::json(200, kReports));
    const auto pendingBefore = model->pendingActions();
    const QList<CampaignIDEProject> before = model->projects();

    auto outcome = startTask(model->refreshFromServer(*session));
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome->finished; }, 10000));
    model->flushPendingWrites();
    EXPECT_EQ(model->projects(), before);
    EXPECT_EQ(model->reports().size(), 1);
    EXPECT_EQ(model->pendingActions(), pendingBefore);
    EXPECT_FALSE(model->isSyncingServer());
    EXPECT_TRUE(service.waitForNoOpenConnections());
}

TEST_F(ServerRefreshTest, ANewerRefreshSupersedesTheRunningOne)
{
    session = makeSession(account());
    int projectCalls = 0;
    service.setRoute("GET", u"/api/projects"_s, [&](const test::RecordedRequest &) {
        // The first refresh's projects never come; the second's come late.
        if (++projectCalls == 1)
            return stalled(kProjects);
        return CannedResponse::json(200, kProjects).heldUntilReleased();
    });
    int reportCalls = 0;
    service.setRoute("GET", u"/api/reports/list"_s, [&](const test::RecordedRequest &) {
        return CannedResponse::json(200,
            ++reportCalls == 1 ? QByteArray(R"({"artifacts":[{"id":"stale","kind":"k","title":"Stale","url":"/s",)"
                                            R"("created_at":"2024-05-04T09:00:00Z"}]})")
                               : kReports);
    });

    auto first = startTask(model->refreshFromServer(*session));
    ASSERT_TRUE(service.waitForRequests(3));
    auto second = startTask(model->refreshFromServer(*session));

    // The first ends as soon as its transfers are aborted, and applies nothing.
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->finished; }, 5000));
    EXPECT_FALSE(second->finished);
    EXPECT_TRUE(model->reports().isEmpty());
    EXPECT_TRUE(model->isSyncingServer());

    ASSERT_TRUE(service.waitForRequests(6));
    service.releaseHeld();
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->finished; }, 10000));
    ASSERT_EQ(model->reports().size(), 1);
    EXPECT_EQ(utf8(model->reports().first().id), "r-9");
    EXPECT_EQ(utf8(model->projects().last().name), "Spring <b>Launch</b>");
    EXPECT_FALSE(model->isSyncingServer());
}

TEST_F(ServerRefreshTest, AModelDestroyedDuringARefreshEndsItQuietly)
{
    session = makeSession(account());
    service.setResponse("GET", u"/api/projects"_s, stalled(kProjects));
    auto outcome = startTask(model->refreshFromServer(*session));
    ASSERT_TRUE(service.waitForRequests(3));
    model.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome->finished; }, 5000));
    EXPECT_FALSE(outcome->error);
    EXPECT_TRUE(service.waitForNoOpenConnections());
}

// An answer of `count` projects, each with its own id, all named like the second sample project
// (in varying letter case): every one updates that project, so the list stays short while the merge
// has a long answer to go through.
QByteArray manyProjects(int count)
{
    QByteArray body = R"({"projects":[)";
    for (int i = 0; i < count; ++i) {
        body += (i > 0 ? R"(,{"id":"srv-)" : R"({"id":"srv-)") + QByteArray::number(i)
            + (i % 2 ? R"(","name":"q4 ENTERPRISE demand gen")" : R"(","name":"Q4 Enterprise Demand Gen")")
            + R"(,"updated_at":"2024-05-04T09:00:00Z"})";
    }
    return body + "]}";
}

bool aWorkerRuns()
{
    return QThreadPool::globalInstance()->activeThreadCount() > 0;
}

// A long answer is merged on a worker thread while the window goes on; a project changed meanwhile
// keeps its change, and the merge still takes in every remote project.
TEST_F(ServerRefreshTest, ALongAnswerIsMergedOnAWorkerAndKeepsChangesMadeMeanwhile)
{
    session = makeSession(account());
    constexpr int count = 20000;
    serve(manyProjects(count), kReports, kApprovals);
    const QList<CampaignIDEProject> before = model->projects();
    ASSERT_EQ(utf8(before.at(1).name), "Q4 Enterprise Demand Gen");
    auto outcome = startTask(model->refreshFromServer(*session));
    ASSERT_TRUE(QTest::qWaitFor(aWorkerRuns, 30000));
    EXPECT_FALSE(outcome->finished);
    ASSERT_TRUE(model->mutateProject(before.at(0).id, [](CampaignIDEProject &p) { p.name = u"Renamed meanwhile"_s; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome->finished; }, 60000));
    EXPECT_FALSE(outcome->error);
    ASSERT_EQ(model->projects().size(), before.size());
    EXPECT_EQ(utf8(model->projects().at(0).name), "Renamed meanwhile");
    EXPECT_EQ(model->projects().at(1).serverID, u"srv-19999"_s);
    EXPECT_EQ(utf8(model->projects().at(1).name), "q4 ENTERPRISE demand gen");
    EXPECT_FALSE(model->isSyncingServer());
}

TEST_F(ServerRefreshTest, AModelDestroyedWhileTheWorkerMergesEndsQuietly)
{
    session = makeSession(account());
    serve(manyProjects(20000), kReports, kApprovals);
    auto outcome = startTask(model->refreshFromServer(*session));
    ASSERT_TRUE(QTest::qWaitFor(aWorkerRuns, 30000));
    model.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome->finished; }, 60000));
    EXPECT_FALSE(outcome->error);
    EXPECT_TRUE(QTest::qWaitFor([] { return !aWorkerRuns(); }, 60000));
}

} // namespace
} // namespace orvane::synctest
