// The stand-in service's device sign-in answers, driven through the client's shared machinery.

#include "kit/networking/OrvaneAPIClient.h"

#include "testsupport/service/AwaitTask.h"
#include "testsupport/service/StandInService.h"

#include <QNetworkAccessManager>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

class StandInDeviceFlowTest : public testing::Test {
protected:
    StandInDeviceFlowTest() : client(service.baseURL(), std::nullopt, &network) { }

    Json call(const QString &path, const QByteArray &verb, const QList<QueryItem> &query = {},
        std::optional<QByteArray> body = std::nullopt)
    {
        const auto outcome = awaitTask(
            client.perform(client.makeRequest(path, "application/json", query, body.has_value()), verb, body));
        EXPECT_TRUE(outcome.value) << path.toStdString();
        return outcome.value ? parseJson(outcome.value->body) : Json();
    }

    Json poll(const QString &code = QString::fromLatin1(StandInService::deviceCode()))
    {
        return call(QStringLiteral("/api/cli/device/poll"), "GET", { { QStringLiteral("code"), code } });
    }

    QNetworkAccessManager network;
    StandInService service;
    OrvaneAPIClient client;
};

TEST_F(StandInDeviceFlowTest, StartsAndAnswersPollsInTheScriptedOrder)
{
    service.setDeviceExpiresIn(30);
    const Json start
        = call(QStringLiteral("/api/cli/device/start"), "POST", {}, QByteArray(R"({"deviceName":"desk"})"));
    EXPECT_EQ(start["deviceCode"], "dev-code-1");
    EXPECT_EQ(start["userCode"], "WDJB-MJHT");
    EXPECT_EQ(start["expiresIn"], 30);
    EXPECT_TRUE(
        QString::fromStdString(start["verificationUrl"].get<std::string>()).startsWith(service.baseURL().toString()));
    EXPECT_EQ(service.requests().last().body, R"({"deviceName":"desk"})");

    service.setDevicePollStatuses(
        { QStringLiteral("pending"), QStringLiteral("pending"), QStringLiteral("completed") });
    EXPECT_EQ(poll()["status"], "pending");
    EXPECT_EQ(poll()["status"], "pending");
    const Json done = poll();
    EXPECT_EQ(done["status"], "completed");
    EXPECT_EQ(done["apiKey"], "orv_live_0123456789abcdef");
    EXPECT_EQ(done["user"]["email"], "ada@example.com");
    EXPECT_EQ(done["workspace"]["name"], "Growth Team");
    EXPECT_EQ(poll()["status"], "completed"); // the last status repeats
    EXPECT_EQ(
        service.requests().last().queryItems().queryItemValue(QStringLiteral("code")), QStringLiteral("dev-code-1"));

    const auto unknown
        = awaitTask(client.perform(client.makeRequest(QStringLiteral("/api/cli/device/poll"), "application/json",
                                       { { QStringLiteral("code"), QStringLiteral("x") } }),
            "GET", std::nullopt));
    EXPECT_EQ(unknown.errorAs<OrvaneAPIError>()->status(), 404);
}

TEST_F(StandInDeviceFlowTest, AnswersExpiredAndScriptedRoutes)
{
    service.setDevicePollStatuses({ QStringLiteral("expired") });
    EXPECT_EQ(poll()["status"], "expired");

    int calls = 0;
    service.setRoute("GET", QStringLiteral("/api/cli/device/poll"), [&](const RecordedRequest &request) {
        ++calls;
        EXPECT_EQ(request.method, "GET");
        return CannedResponse::json(200, R"({"status":"Pending"})");
    });
    EXPECT_EQ(poll()["status"], "Pending");
    EXPECT_EQ(calls, 1);
    service.clearRoutes();
    EXPECT_EQ(poll()["status"], "expired");
}

} // namespace
