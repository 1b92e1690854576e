#include "kit/networking/OrvaneAPIClient.h"

#include "testsupport/service/AwaitTask.h"
#include "testsupport/service/StandInService.h"

#include <QNetworkAccessManager>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

class EndpointsTest : public testing::Test {
protected:
    EndpointsTest() : client(service.baseURL(), QStringLiteral("orv_key"), &network) { }

    const RecordedRequest &last() const { return service.requests().last(); }

    QNetworkAccessManager network;
    StandInService service;
    OrvaneAPIClient client;
};

TEST_F(EndpointsTest, ListsProjectsReportsAndPendingActions)
{
    const auto projects = awaitTask(client.projects());
    ASSERT_TRUE(projects.value);
    ASSERT_EQ(projects.value->projects.size(), 2);
    const Project &first = projects.value->projects.first();
    EXPECT_EQ(first.id, QStringLiteral("p-1"));
    EXPECT_EQ(first.description, QStringLiteral("Paid social for the spring range"));
    EXPECT_EQ(first.artifactCount, 2);
    EXPECT_EQ(first.itemCount(), 3);
    EXPECT_EQ(last().method, "GET");
    EXPECT_EQ(last().target, "/api/projects");
    EXPECT_EQ(last().header("accept"), "application/json");

    const auto reports = awaitTask(client.reports());
    ASSERT_TRUE(reports.value);
    ASSERT_EQ(reports.value->artifacts.size(), 2);
    EXPECT_EQ(reports.value->artifacts.first().nativeContentPath(), QStringLiteral("/api/reports/site-audit/html"));
    EXPECT_EQ(last().target, "/api/reports/list");
    EXPECT_FALSE(last().hasQuery);

    const auto actions = awaitTask(client.pendingActions());
    ASSERT_TRUE(actions.value);
    ASSERT_EQ(actions.value->actions.size(), 1);
    EXPECT_EQ(actions.value->actions.first().headline(), QStringLiteral("Google Ads · Pause Campaign"));
    EXPECT_EQ(last().target, "/api/approvals?status=pending");
}

TEST_F(EndpointsTest, RunsConcurrently)
{
    auto projects = startTask(client.projects());
    auto reports = startTask(client.reports());
    auto actions = startTask(client.pendingActions());
    ASSERT_TRUE(QTest::qWaitFor([&] { return projects->finished && reports->finished && actions->finished; }));
    EXPECT_TRUE(projects->value && reports->value && actions->value);
    EXPECT_EQ(service.requestCount(), 3);
}

TEST_F(EndpointsTest, CreatesUpdatesAndDeletesProjects)
{
    const auto created = awaitTask(client.createProject(QStringLiteral("Q3"), std::nullopt));
    ASSERT_TRUE(created.value);
    EXPECT_EQ(created.value->project.name, QStringLiteral("Q3"));
    EXPECT_EQ(last().method, "POST");
    EXPECT_EQ(last().target, "/api/projects");
    EXPECT_EQ(last().body, R"({"name":"Q3"})");
    EXPECT_EQ(last().header("content-type"), "application/json");
    const QString id = created.value->project.id;

    ASSERT_TRUE(awaitTask(client.createProject(QStringLiteral("Q4"), QStringLiteral("d"))).value);
    EXPECT_EQ(last().body, R"({"name":"Q4","description":"d"})");

    const auto fetched = awaitTask(client.project(id));
    ASSERT_TRUE(fetched.value);
    EXPECT_EQ(fetched.value->project.id, id);
    EXPECT_EQ(last().method, "GET");
    EXPECT_EQ(last().decodedPath(), u"/api/projects/" + id);

    const auto updated = awaitTask(client.updateProject(id, QStringLiteral("Q3 renamed"), std::nullopt));
    ASSERT_TRUE(updated.value);
    EXPECT_EQ(updated.value->project.name, QStringLiteral("Q3 renamed"));
    EXPECT_EQ(last().method, "PATCH");
    EXPECT_EQ(last().decodedPath(), u"/api/projects/" + id);
    EXPECT_EQ(last().body, R"({"name":"Q3 renamed","description":null})");

    const auto deleted = awaitTask(client.deleteProject(id));
    ASSERT_TRUE(deleted.value);
    EXPECT_TRUE(deleted.value->success);
    EXPECT_EQ(last().method, "DELETE");
    EXPECT_TRUE(last().body.isEmpty());
    EXPECT_EQ(awaitTask(client.project(id)).errorAs<OrvaneAPIError>()->status(), 404);
}

TEST_F(EndpointsTest, ApprovesWithoutABodyAndRejectsWithAnObject)
{
    const auto approved = awaitTask(client.approve(QStringLiteral("a-1")));
    ASSERT_TRUE(approved.value);
    EXPECT_TRUE(approved.value->success);
    EXPECT_EQ(last().method, "POST");
    EXPECT_EQ(last().target, "/api/approvals/a-1/approve");
    EXPECT_TRUE(last().body.isEmpty());
    EXPECT_FALSE(last().header("content-type"));

    const auto rejected = awaitTask(client.reject(QStringLiteral("a-1"), std::nullopt));
    ASSERT_TRUE(rejected.value);
    EXPECT_EQ(rejected.value->message, QStringLiteral("Action rejected"));
    EXPECT_EQ(last().target, "/api/approvals/a-1/reject");
    EXPECT_EQ(last().body, "{}");
    EXPECT_EQ(last().header("content-type"), "application/json");

    ASSERT_TRUE(awaitTask(client.reject(QStringLiteral("a-1"), QStringLiteral("too risky"))).value);
    EXPECT_EQ(last().body, R"({"reason":"too risky"})");
}

TEST_F(EndpointsTest, KeepsIdentifiersInThePath)
{
    service.setResponse("GET", QStringLiteral("/api/projects/a?b#c"),
        CannedResponse::json(200, R"({"project":{"id":"a?b#c","name":"odd"}})"));
    const auto fetched = awaitTask(client.project(QStringLiteral("a?b#c")));
    ASSERT_TRUE(fetched.value);
    EXPECT_EQ(last().target, "/api/projects/a%3Fb%23c");
    EXPECT_FALSE(last().hasQuery);

    ASSERT_TRUE(awaitTask(client.approve(QStringLiteral("x/y"))).errorAs<OrvaneAPIError>());
    EXPECT_EQ(last().target, "/api/approvals/x/y/approve");
}

TEST_F(EndpointsTest, FetchesReportContentOnlyForPlainAbsolutePaths)
{
    for (const char *bad : { "api/reports/x/html", "//elsewhere/x", "https://elsewhere/x", "" }) {
        const auto outcome = awaitTask(client.reportHTML(QString::fromUtf8(bad)));
        EXPECT_EQ(outcome.errorAs<OrvaneAPIError>(), OrvaneAPIError::invalidPath()) << bad;
    }
    EXPECT_EQ(service.requestCount(), 0);

    const auto html = awaitTask(client.reportHTML(QStringLiteral("/api/reports/x/html")));
    ASSERT_TRUE(html.value);
    EXPECT_EQ(*html.value, "<!doctype html><title>Report</title><h1>x</h1>");
    EXPECT_EQ(last().header("accept"), "text/html");
    EXPECT_EQ(last().header("authorization"), "Bearer orv_key");

    service.setResponse(
        "GET", QStringLiteral("/api/reports/bin/html"), CannedResponse::text(200, QByteArray("\x00\xff{", 3)));
    EXPECT_EQ(*awaitTask(client.reportHTML(QStringLiteral("/api/reports/bin/html"))).value, QByteArray("\x00\xff{", 3));

    ASSERT_TRUE(awaitTask(client.reportHTML(QStringLiteral("/api/reports/q?x=1/html"))).value);
    EXPECT_EQ(last().target, "/api/reports/q%3Fx=1/html");

    service.setResponse("GET", QStringLiteral("/api/reports/gone/html"), CannedResponse::text(404, "gone"));
    EXPECT_EQ(awaitTask(client.reportHTML(QStringLiteral("/api/reports/gone/html"))).errorAs<OrvaneAPIError>(),
        OrvaneAPIError::http(404, QStringLiteral("gone")));
}

TEST_F(EndpointsTest, ReportsBodiesThatDoNotDecodeWithoutEchoingThem)
{
    service.setResponse(
        "DELETE", QStringLiteral("/api/projects/p-1"), CannedResponse::json(200, R"({"message":"ok"})"));
    const auto deleted = awaitTask(client.deleteProject(QStringLiteral("p-1")));
    ASSERT_TRUE(deleted.errorAs<OrvaneAPIError>());
    EXPECT_EQ(deleted.errorAs<OrvaneAPIError>()->kind(), OrvaneAPIError::Kind::decoding);
    EXPECT_EQ(deleted.errorAs<OrvaneAPIError>()->errorDescription(),
        QStringLiteral("Could not read Orvane's response: success: missing required key"));

    service.setResponse("GET", QStringLiteral("/api/projects"),
        CannedResponse::json(200, R"({"projects":[{"id":"p","name":"sk_orvane_secret"},{"id":"q","name":7}]})"));
    const auto projects = awaitTask(client.projects());
    const auto error = projects.errorAs<OrvaneAPIError>();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->decodingDetail(), QStringLiteral("projects[1].name: expected a string"));
    EXPECT_FALSE(error->errorDescription().contains(u"secret"));

    service.setResponse("GET", QStringLiteral("/api/reports/list"), CannedResponse::json(200, {}));
    EXPECT_EQ(awaitTask(client.reports()).errorAs<OrvaneAPIError>(),
        OrvaneAPIError::decoding(QStringLiteral("the data is not valid JSON")));
}

TEST_F(EndpointsTest, MapsRejectedKeysToUnauthorized)
{
    service.setRequiredAPIKey(QStringLiteral("orv_other"));
    EXPECT_EQ(awaitTask(client.projects()).errorAs<OrvaneAPIError>(), OrvaneAPIError::unauthorized());
    const OrvaneAPIClient signedOut(service.baseURL(), std::nullopt, &network);
    EXPECT_EQ(awaitTask(signedOut.pendingActions()).errorAs<OrvaneAPIError>(), OrvaneAPIError::unauthorized());
    EXPECT_FALSE(last().header("authorization"));
    const OrvaneAPIClient right(service.baseURL(), QStringLiteral("orv_other"), &network);
    EXPECT_TRUE(awaitTask(right.projects()).value);
}

} // namespace
