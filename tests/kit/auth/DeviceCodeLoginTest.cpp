#include "kit/auth/DeviceCodeLogin.h"

#include "kit/networking/OrvaneAPIError.h"
#include "kit/session/SessionStore.h"
#include "testsupport/service/AwaitTask.h"
#include "testsupport/service/StandInService.h"

#include <QNetworkAccessManager>

#include <gtest/gtest.h>

#include <limits>
#include <memory>

using namespace orvane;
using namespace orvane::test;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

class DeviceCodeLoginTest : public testing::Test {
protected:
    DeviceCodeLogin login(std::chrono::milliseconds interval = 10ms)
    {
        return DeviceCodeLogin(service.baseURL(), &network, interval);
    }

    static DeviceCodeStart startWith(qint64 expiresIn)
    {
        return { QString::fromLatin1(StandInService::deviceCode()), StandInService::userCode(),
            QUrl(u"https://orvane.app/device"_s), expiresIn };
    }

    qsizetype pollCount() const
    {
        qsizetype count = 0;
        for (const auto &request : service.requests())
            count += request.decodedPath() == u"/api/cli/device/poll";
        return count;
    }

    QNetworkAccessManager network;
    StandInService service;
};

std::string errorText(const std::exception_ptr &error)
{
    return error ? SessionStore::describe(error).toStdString() : std::string();
}

// Sends the head and a few bytes of the body, then nothing more.
CannedResponse stalledAnswer()
{
    CannedResponse answer
        = CannedResponse::json(200, R"({"status":"pending"})").endingWith(CannedResponse::Ending::stall);
    answer.sentBodyBytes = 4;
    return answer;
}

CannedResponse pollAnswer(QByteArray json)
{
    return CannedResponse::json(200, std::move(json));
}

// --- the start request -------------------------------------------------------------------------------

TEST_F(DeviceCodeLoginTest, StartSendsTheDeviceNameOrAnEmptyObjectAsJsonWithNoKey)
{
    const auto start = awaitTask(login().start(u"Ada’s laptop"_s));
    ASSERT_TRUE(start.value) << errorText(start.error);
    EXPECT_EQ(start.value->userCode, StandInService::userCode());
    EXPECT_EQ(start.value->expiresIn, 600);

    const RecordedRequest &request = service.requests().constLast();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.decodedPath(), u"/api/cli/device/start"_s);
    EXPECT_EQ(request.body, QByteArray(R"({"deviceName":"Ada’s laptop"})"));
    EXPECT_EQ(request.header("content-type"), QByteArray("application/json"));
    EXPECT_FALSE(request.header("authorization"));

    // Without a name: an empty object.
    ASSERT_TRUE(awaitTask(login().start(std::nullopt)).value);
    EXPECT_EQ(service.requests().constLast().body, QByteArray("{}"));
}

// Only the web may be opened: anything else fails as an unexpected response, before any browser.
TEST_F(DeviceCodeLoginTest, VerificationAddressMustBeHttpsOrLoopbackHttp)
{
    const QStringList refused = { u"file:///etc/passwd"_s, u"javascript:alert(1)"_s, u"orvane-helper://run?x=1"_s,
        u"http://orvane.app/device"_s, u"https:///nohost"_s, u"ftp://orvane.app/"_s };
    for (const QString &url : refused) {
        SCOPED_TRACE(url.toStdString());
        service.setDeviceVerificationURL(url);
        const auto outcome = awaitTask(login().start(std::nullopt));
        ASSERT_TRUE(outcome.errorAs<OrvaneAPIError>());
        EXPECT_EQ(outcome.errorAs<OrvaneAPIError>()->kind(), OrvaneAPIError::Kind::invalidResponse);
    }
    for (const QString &url : { u"https://orvane.app/device?code=AB"_s, u"http://127.0.0.1:9/device"_s,
             u"http://localhost/device"_s, u"http://[::1]:8080/d"_s }) {
        SCOPED_TRACE(url.toStdString());
        service.setDeviceVerificationURL(url);
        const auto outcome = awaitTask(login().start(std::nullopt));
        ASSERT_TRUE(outcome.value);
        EXPECT_EQ(outcome.value->verificationUrl, QUrl(url));
    }
}

// A status outside success is an HTTP error, even 401; a malformed answer a decoding error naming
// the key only.
TEST_F(DeviceCodeLoginTest, FailedStartsAreHttpOrDecodingErrors)
{
    service.setResponse("POST", u"/api/cli/device/start"_s, CannedResponse::json(401, R"({"error":"nope"})"));
    EXPECT_EQ(awaitTask(login().start(std::nullopt)).errorAs<OrvaneAPIError>(),
        OrvaneAPIError::http(401, uR"({"error":"nope"})"_s));

    service.setResponse("POST", u"/api/cli/device/start"_s,
        CannedResponse::json(200, R"({"deviceCode":"d","userCode":"sk_orvane_SECRET","expiresIn":"x",
                                                     "verificationUrl":"https://a.b/"})"));
    const auto outcome = awaitTask(login().start(std::nullopt));
    const auto error = outcome.errorAs<OrvaneAPIError>();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), OrvaneAPIError::Kind::decoding);
    EXPECT_TRUE(error->errorDescription().contains(u"expiresIn"_s));
    EXPECT_FALSE(error->errorDescription().contains(u"SECRET"_s));
}

// --- polling -----------------------------------------------------------------------------------------

TEST_F(DeviceCodeLoginTest, WaitsThroughPendingUntilCompleted)
{
    service.setDevicePollStatuses({ u"pending"_s, u"pending"_s, u"completed"_s });
    const auto outcome = awaitTask(login().waitForApproval(startWith(600)));
    ASSERT_TRUE(outcome.value) << errorText(outcome.error);
    EXPECT_EQ(*outcome.value,
        (SignedInAccount { *APIKey::fromText(u"orv_live_0123456789abcdef"_s), u"ada@example.com"_s, u"Ada Lovelace"_s,
            u"Growth Team"_s, false }));
    EXPECT_EQ(pollCount(), 3);
    const RecordedRequest &poll = service.requests().constLast();
    EXPECT_EQ(poll.method, "GET");
    EXPECT_EQ(poll.queryItems().queryItemValue(u"code"_s), QString::fromLatin1(StandInService::deviceCode()));
    EXPECT_FALSE(poll.header("authorization"));
}

TEST_F(DeviceCodeLoginTest, PollEncodesTheDeviceCodeAsOneQueryValue)
{
    std::optional<QString> received;
    service.setRoute("GET", u"/api/cli/device/poll"_s, [&](const RecordedRequest &request) {
        received = request.queryItems().queryItemValue(u"code"_s, QUrl::FullyDecoded);
        EXPECT_FALSE(request.queryItems().hasQueryItem(u"x"_s));
        return pollAnswer(R"({"status":"pending"})");
    });
    ASSERT_TRUE(awaitTask(login().poll(u"a b&x=1#+"_s)).value);
    EXPECT_EQ(received, u"a b&x=1#+"_s);
}

TEST_F(DeviceCodeLoginTest, ExpiredLifetimeFailsWithoutPollingAndAHugeOneSaturates)
{
    for (qint64 expiresIn : { qint64(0), qint64(-5), std::numeric_limits<qint64>::min() }) {
        const auto outcome = awaitTask(login().waitForApproval(startWith(expiresIn)));
        EXPECT_EQ(outcome.errorAs<DeviceLoginError>(), DeviceLoginError::expired());
    }
    EXPECT_EQ(pollCount(), 0);

    // A huge one saturates instead of overflowing.
    service.setDevicePollStatuses({ u"pending"_s, u"completed"_s });
    EXPECT_TRUE(awaitTask(login().waitForApproval(startWith(std::numeric_limits<qint64>::max()))).value);
}

TEST_F(DeviceCodeLoginTest, DeadlineIsMeasuredOnTheWallClock)
{
    service.setDevicePollStatuses({ u"pending"_s });
    qint64 now = 1'000'000;
    DeviceCodeLogin timed = login();
    timed.setWallClock([&] { return now += 400; });
    const auto outcome = awaitTask(timed.waitForApproval(startWith(1)));
    EXPECT_EQ(outcome.errorAs<DeviceLoginError>(), DeviceLoginError::expired());
    EXPECT_EQ(pollCount(), 2);
}

TEST_F(DeviceCodeLoginTest, PollErrorStatusEndsTheWaitAtOnce)
{
    service.setResponse("GET", u"/api/cli/device/poll"_s, CannedResponse::text(404, "missing"));
    const auto outcome = awaitTask(login().waitForApproval(startWith(600)));
    EXPECT_EQ(outcome.errorAs<OrvaneAPIError>(), OrvaneAPIError::http(404, u"missing"_s));
    EXPECT_EQ(pollCount(), 1);
}

// A stalled poll fails after the transfer timeout instead of hanging the sign-in.
TEST_F(DeviceCodeLoginTest, StalledPollTimesOut)
{
    EXPECT_EQ(login().transferTimeout(), defaultTransferTimeout);
    service.setResponse("GET", u"/api/cli/device/poll"_s, stalledAnswer());
    DeviceCodeLogin impatient = login();
    impatient.setTransferTimeout(300ms);
    const auto outcome = awaitTask(impatient.waitForApproval(startWith(600)));
    ASSERT_TRUE(outcome.errorAs<NetworkError>());
    EXPECT_EQ(outcome.errorAs<NetworkError>()->kind(), NetworkError::Kind::timedOut);
}

// A poll answer that trickles in (a byte now and then, so the transfer never falls silent) is cut at
// the code's expiry, which is then what the wait ends with, not the poll's own longer deadline; a
// stalled poll with time left is still a timeout, and the pause after a pending answer never
// outlasts the code either.
TEST_F(DeviceCodeLoginTest, TheCodeExpiresOnTimeWhilePollsTrickleOrPause)
{
    CannedResponse trickling = CannedResponse::json(200, R"({"status":"pending")").repeating(" ", 50ms);
    trickling.declaredLength = qint64(1) << 20;
    service.setResponse("GET", u"/api/cli/device/poll"_s, trickling);
    DeviceCodeLogin patient = login();
    patient.setLimits(TransferLimits { .idleTimeout = 10s, .deadline = 5s });
    auto outcome = awaitTask(patient.waitForApproval(startWith(1)));
    EXPECT_EQ(outcome.errorAs<DeviceLoginError>(), DeviceLoginError::expired()) << errorText(outcome.error);
    EXPECT_EQ(pollCount(), 1);
    EXPECT_TRUE(service.waitForNoOpenConnections());

    // A poll cut by its own bound long before the code expires is a timeout, as before.
    DeviceCodeLogin hasty = login();
    hasty.setLimits(TransferLimits { .idleTimeout = 10s, .deadline = 300ms });
    outcome = awaitTask(hasty.waitForApproval(startWith(600)));
    ASSERT_TRUE(outcome.errorAs<NetworkError>()) << errorText(outcome.error);
    EXPECT_EQ(outcome.errorAs<NetworkError>()->kind(), NetworkError::Kind::timedOut);

    // Pending answers with a pause far longer than the code lives: it expires on time all the same.
    service.setResponse("GET", u"/api/cli/device/poll"_s, pollAnswer(R"({"status":"pending"})"));
    outcome = awaitTask(login(1h).waitForApproval(startWith(1)), 5s);
    EXPECT_EQ(outcome.errorAs<DeviceLoginError>(), DeviceLoginError::expired()) << errorText(outcome.error);
}

// A poll is bounded by what is left of the code's life, read on the wall clock, even where its own
// bounds are far longer: a trickling answer is cut when the code expires, not an hour later.
TEST_F(DeviceCodeLoginTest, APollNeverOutlastsTheCodesLife)
{
    CannedResponse trickling = CannedResponse::json(200, R"({"status":"pending")").repeating(" ", 50ms);
    trickling.declaredLength = qint64(1) << 20;
    service.setResponse("GET", u"/api/cli/device/poll"_s, trickling);
    // The code is read as started at 0 with a second to live; the poll starts with 100 ms of it left,
    // and once the poll is cut the code has expired.
    auto readings = std::make_shared<QList<qint64>>(QList<qint64> { 0, 900 });
    DeviceCodeLogin bounded = login();
    bounded.setLimits(TransferLimits { .idleTimeout = 1h, .deadline = 1h });
    bounded.setWallClock([readings] { return readings->isEmpty() ? qint64(1000) : readings->takeFirst(); });
    auto lifetime = std::make_unique<QObject>();
    bounded.setLifetime(lifetime.get());
    auto outcome = startTask(bounded.waitForApproval(startWith(1)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return outcome->finished; }, 15'000));
    lifetime.reset(); // a wait still running ends here
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome->finished; }));
    EXPECT_EQ(outcome->errorAs<DeviceLoginError>(), DeviceLoginError::expired()) << errorText(outcome->error);
    EXPECT_EQ(pollCount(), 1);
    EXPECT_TRUE(service.waitForNoOpenConnections());
}

// Destroying the lifetime ends the wait at once, in the pause between polls as during a stalled poll.
TEST_F(DeviceCodeLoginTest, DestroyingTheLifetimeCancelsThePauseOrAbortsAStalledPoll)
{
    for (const bool stalled : { false, true }) {
        SCOPED_TRACE(stalled ? "stalled poll" : "pause");
        if (stalled)
            service.setResponse("GET", u"/api/cli/device/poll"_s, stalledAnswer());
        else
            service.setDevicePollStatuses({ u"pending"_s });
        auto lifetime = std::make_unique<QObject>();
        DeviceCodeLogin cancellable = login(1h);
        cancellable.setLifetime(lifetime.get());
        auto outcome = startTask(cancellable.waitForApproval(startWith(600)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return pollCount() == (stalled ? 2 : 1); }));
        // In the pause, the answered poll's connection has closed.
        ASSERT_TRUE(QTest::qWaitFor([&] { return stalled || service.openConnections() == 0; }));
        lifetime.reset();
        ASSERT_TRUE(QTest::qWaitFor([&] { return outcome->finished; }));
        ASSERT_TRUE(outcome->errorAs<NetworkError>());
        EXPECT_EQ(outcome->errorAs<NetworkError>()->kind(), NetworkError::Kind::cancelled);
        EXPECT_TRUE(service.waitForNoOpenConnections());
    }
    EXPECT_EQ(pollCount(), 2);
}

// --- mapping one answer ------------------------------------------------------------------------------

TEST(DeviceCodePollMapping, StatusesAreComparedExactly)
{
    EXPECT_EQ(DeviceCodeLogin::account(decodeJson<DeviceCodePoll>(R"({"status":"pending"})")), std::nullopt);
    try {
        (void)DeviceCodeLogin::account(decodeJson<DeviceCodePoll>(R"({"status":"Pending"})"));
        ADD_FAILURE() << "accepted \"Pending\"";
    } catch (const DeviceLoginError &error) {
        EXPECT_EQ(error, DeviceLoginError::unexpectedStatus(u"Pending"_s));
        EXPECT_EQ(error.errorDescription(), u"Unexpected sign-in status: Pending"_s);
    }
}

TEST(DeviceCodePollMapping, CompletedNeedsAnAcceptedKeyAndAUserButNoWorkspaceOrFlag)
{
    const auto account = DeviceCodeLogin::account(decodeJson<DeviceCodePoll>(
        R"({"status":"completed","apiKey":"  sk_orvane_abc\n","user":{"id":1,"email":"e@x.io"}})"));
    EXPECT_EQ(account,
        (SignedInAccount { *APIKey::fromText(u"sk_orvane_abc"_s), u"e@x.io"_s, std::nullopt, std::nullopt, false }));

    // Without an accepted key or a user, it is no sign-in.
    for (const char *json : { R"({"status":"completed","user":{"id":1,"email":"e"}})",
             R"({"status":"completed","apiKey":"ORV_x","user":{"id":1,"email":"e"}})",
             R"({"status":"completed","apiKey":"orv_x"})" }) {
        SCOPED_TRACE(json);
        EXPECT_THROW((void)DeviceCodeLogin::account(decodeJson<DeviceCodePoll>(json)), DeviceLoginError);
    }
}

// A poll answer can carry the key: no error text may repeat what was received.
TEST(DeviceCodePollMapping, ErrorsNeverEchoReceivedSecrets)
{
    EXPECT_EQ(
        DeviceLoginError::unexpectedStatus(u"orv_live_0123"_s).errorDescription(), u"Unexpected sign-in status."_s);
    EXPECT_EQ(
        DeviceLoginError::unexpectedStatus(u"<html>oops</html>"_s).errorDescription(), u"Unexpected sign-in status."_s);
    try {
        (void)decodeJson<DeviceCodePoll>(R"({"status":"completed","apiKey":"orv_SECRET","user":{"id":"orv_SECRET"}})");
        ADD_FAILURE() << "decoded a malformed answer";
    } catch (const DecodingError &error) {
        EXPECT_FALSE(error.message().contains(u"SECRET"_s));
        EXPECT_TRUE(error.message().contains(u"user.id"_s));
    }
}

} // namespace
