#include "kit/networking/OrvaneAPIClient.h"

#include "testsupport/desktop/TemporaryHome.h"
#include "testsupport/service/AwaitTask.h"
#include "testsupport/service/StandInService.h"

#include <QNetworkAccessManager>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace orvane;
using namespace orvane::test;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

class APIClientTest : public testing::Test {
protected:
    OrvaneAPIClient client(std::optional<QString> key = QStringLiteral("orv_test_key"))
    {
        return OrvaneAPIClient(service.baseURL(), std::move(key), &network);
    }

    TaskOutcome<HttpResponse> get(const OrvaneAPIClient &c, const QString &path, const QList<QueryItem> &query = {})
    {
        return awaitTask(c.perform(c.makeRequest(path, "application/json", query), "GET", std::nullopt));
    }

    QNetworkAccessManager network;
    StandInService service;
};

TEST(OrvaneEnvironment, HasFixedRawValuesAndBaseURLsAndAcceptsAnOverrideOnlyForHttpsOrLoopbackHttp)
{
    EXPECT_EQ(allCases<OrvaneEnvironment>(), (QList { OrvaneEnvironment::production, OrvaneEnvironment::staging }));
    EXPECT_EQ(environmentFromRawValue(QStringLiteral("staging")), OrvaneEnvironment::staging);
    EXPECT_EQ(environmentFromRawValue(QStringLiteral("production")), OrvaneEnvironment::production);
    EXPECT_FALSE(environmentFromRawValue(QStringLiteral("Staging")));
    EXPECT_FALSE(environmentFromRawValue(QString()));
    EXPECT_EQ(rawValue(OrvaneEnvironment::production), QStringLiteral("production"));
    EXPECT_EQ(builtInBaseURL(OrvaneEnvironment::production), QUrl(QStringLiteral("https://orvane.app")));
    EXPECT_EQ(builtInBaseURL(OrvaneEnvironment::staging), QUrl(QStringLiteral("https://staging.orvane.app")));

    const auto accepted = [](const char *text) {
        const auto url = acceptedBaseURLOverride(QString::fromUtf8(text));
        return url ? url->toString().toStdString() : std::string("rejected");
    };
    EXPECT_EQ(accepted("https://api.example.com"), "https://api.example.com");
    EXPECT_EQ(accepted("https://api.example.com:8443/"), "https://api.example.com:8443");
    EXPECT_EQ(accepted("http://127.0.0.1:8080"), "http://127.0.0.1:8080");
    EXPECT_EQ(accepted("http://127.8.9.10:8080"), "http://127.8.9.10:8080");
    EXPECT_EQ(accepted("http://[::1]:9000"), "http://[::1]:9000");
    EXPECT_EQ(accepted("http://LocalHost:9000"), "http://localhost:9000");
    for (const char *rejected : { "http://example.com", "http://10.0.0.1:8080", "http://127.0.0.1.example.com",
             "ftp://127.0.0.1", "file:///etc/passwd", "https://", "not a url", "https://user:pw@api.example.com",
             "https://api.example.com/v1", "https://api.example.com?x=1" })
        EXPECT_EQ(accepted(rejected), "rejected") << rejected;
}

TEST(OrvaneEnvironment, BaseURLHonoursAnAcceptedOverrideAndIgnoresOthers)
{
    {
        ScopedEnvironmentVariable env(kBaseURLOverrideVariable, "http://127.0.0.1:4321");
        EXPECT_EQ(baseURL(OrvaneEnvironment::production), QUrl(QStringLiteral("http://127.0.0.1:4321")));
        EXPECT_EQ(OrvaneAPIClient(OrvaneEnvironment::staging, std::nullopt, nullptr).baseURL(),
            QUrl(QStringLiteral("http://127.0.0.1:4321")));
    }
    {
        ScopedEnvironmentVariable env(kBaseURLOverrideVariable, "http://evil.example.com");
        EXPECT_EQ(baseURL(OrvaneEnvironment::staging), builtInBaseURL(OrvaneEnvironment::staging));
    }
}

TEST(OrvaneAPIError, DescribesEachCaseWithoutShowingTheBody)
{
    EXPECT_STREQ(OrvaneAPIError::http(404, QStringLiteral("secret body")).what(), "Orvane returned an error (404).");
    EXPECT_EQ(
        OrvaneAPIError::invalidPath().errorDescription(), QStringLiteral("Orvane returned an invalid content path."));
    EXPECT_NE(OrvaneAPIError::http(500, QStringLiteral("a")), OrvaneAPIError::http(500, QStringLiteral("b")));
    EXPECT_NE(OrvaneAPIError::unauthorized(), OrvaneAPIError::invalidPath());
}

TEST(OrvaneAPIClientCheck, MapsStatusesToSuccessOrErrors)
{
    const auto outcome = [](bool isHttp, int status, QByteArray body = {}) -> std::optional<OrvaneAPIError> {
        try {
            OrvaneAPIClient::check(HttpResponse { isHttp, status, std::move(body) });
            return std::nullopt;
        } catch (const OrvaneAPIError &error) {
            return error;
        }
    };
    EXPECT_FALSE(outcome(true, 200));
    EXPECT_FALSE(outcome(true, 204));
    EXPECT_FALSE(outcome(true, 299));
    EXPECT_EQ(outcome(true, 199), OrvaneAPIError::http(199, QString()));
    EXPECT_EQ(outcome(true, 300), OrvaneAPIError::http(300, QString()));
    EXPECT_EQ(outcome(true, 401, "please"), OrvaneAPIError::unauthorized());
    EXPECT_EQ(outcome(true, 403), OrvaneAPIError::unauthorized());
    EXPECT_EQ(outcome(true, 404, "missing"), OrvaneAPIError::http(404, QStringLiteral("missing")));
    EXPECT_EQ(outcome(false, 0), OrvaneAPIError::invalidResponse());
    // Ill-formed UTF-8 becomes U+FFFD, never a failure.
    EXPECT_EQ(outcome(true, 500,
                  QByteArray("a\xff"
                             "b")),
        OrvaneAPIError::http(500, QStringLiteral("a\uFFFDb")));
}

TEST(OrvaneAPIClientURL, JoinsPathsAsTextAndEncodesQueries)
{
    const OrvaneAPIClient c(QUrl(QStringLiteral("https://orvane.app")), std::nullopt, nullptr);
    EXPECT_EQ(c.url(QStringLiteral("/api/projects")).toString(), QStringLiteral("https://orvane.app/api/projects"));
    EXPECT_EQ(c.url(QStringLiteral("/api/approvals"), { { QStringLiteral("status"), QStringLiteral("pending") } })
                  .toEncoded(),
        "https://orvane.app/api/approvals?status=pending");
    EXPECT_EQ(c.url(QStringLiteral("/api/projects/a?b#c d%2F")).toEncoded(),
        "https://orvane.app/api/projects/a%3Fb%23c%20d%252F");
    EXPECT_FALSE(c.url(QStringLiteral("/api/projects/a?b")).hasQuery());
    EXPECT_EQ(c.url(QStringLiteral("/x"), { { QStringLiteral("a b"), QStringLiteral("c&d=e+f") } }).toEncoded(),
        "https://orvane.app/x?a%20b=c%26d%3De%2Bf");
    const OrvaneAPIClient slash(QUrl(QStringLiteral("http://127.0.0.1:9/")), std::nullopt, nullptr);
    EXPECT_EQ(slash.url(QStringLiteral("/api/projects")).toString(), QStringLiteral("http://127.0.0.1:9/api/projects"));
}

// The key goes out exactly as stored; without one, or with one holding line breaks, none does.
TEST_F(APIClientTest, SendsTheBearerKeyOnlyWhenItIsSafeToSend)
{
    const auto outcome = get(client(QStringLiteral("orv_abc 123")), QStringLiteral("/api/projects"));
    ASSERT_TRUE(outcome.value) << "request failed";
    EXPECT_EQ(outcome.value->status, 200);
    const RecordedRequest &request = service.requests().first();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.header("authorization"), "Bearer orv_abc 123");
    EXPECT_FALSE(request.header("content-type"));
    EXPECT_TRUE(request.body.isEmpty());

    ASSERT_TRUE(get(client(std::nullopt), QStringLiteral("/api/projects")).value);
    ASSERT_TRUE(get(client(QStringLiteral("orv_a\r\nX-Injected: 1")), QStringLiteral("/api/projects")).value);
    ASSERT_EQ(service.requestCount(), 3);
    for (const RecordedRequest &later : service.requests().mid(1)) {
        EXPECT_FALSE(later.header("authorization"));
        EXPECT_FALSE(later.header("x-injected"));
        EXPECT_EQ(later.header("user-agent"), "orvane-apple/1.0");
    }
}

TEST_F(APIClientTest, FailsAStalledTransferAfterTheTransferTimeout)
{
    CannedResponse stalled = CannedResponse::json(200, R"({"projects":[]})");
    stalled.ending = CannedResponse::Ending::stall;
    stalled.sentBodyBytes = 5;
    service.setResponse("GET", QStringLiteral("/api/projects"), stalled);
    service.setResponse(
        "GET", QStringLiteral("/slow"), CannedResponse::json(200, "{}").delayedBy(std::chrono::hours(1)));

    OrvaneAPIClient c = client();
    c.setTransferTimeout(300ms);
    for (const char *path : { "/api/projects", "/slow" }) {
        const auto outcome = get(c, QString::fromUtf8(path));
        ASSERT_TRUE(outcome.finished) << path;
        const auto error = outcome.errorAs<NetworkError>();
        ASSERT_TRUE(error) << path;
        EXPECT_EQ(error->kind(), NetworkError::Kind::timedOut) << path;
        EXPECT_EQ(error->message(), QStringLiteral("Orvane did not answer in time."));
    }
    EXPECT_EQ(c.makeRequest(QStringLiteral("/"), "application/json").transferTimeout(), 300);
    EXPECT_EQ(client().makeRequest(QStringLiteral("/"), "application/json").transferTimeout(), 60000);
}

// However large a body a server sends or declares, no more than the bound (plus the read buffer)
// is ever held, and the transfer stops there.
TEST_F(APIClientTest, FailsAnAnswerBeyondItsSizeBoundWhileReadingIt)
{
    constexpr qsizetype bound = 64 * 1024;
    CannedResponse exact = CannedResponse::json(200, R"({"projects":[]})");
    exact.body.append(bound - exact.body.size(), ' ');
    service.setResponse("GET", u"/exact"_s, exact);
    // Declared as 1 GB; the first bytes are sent, then more for as long as they are read.
    CannedResponse declared = CannedResponse::json(200, "{").repeating(QByteArray(16 * 1024, ' '));
    declared.declaredLength = qint64(1) << 30;
    service.setResponse("GET", u"/declared"_s, declared);
    CannedResponse endless = CannedResponse::eventStream({ { 0ms, "[" } }).repeating(QByteArray(16 * 1024, ' '));
    service.setResponse("GET", u"/endless"_s, endless);

    OrvaneAPIClient c = client();
    c.setLimits(TransferLimits { .maxBodyBytes = bound });
    const auto fits = get(c, u"/exact"_s);
    ASSERT_TRUE(fits.value);
    EXPECT_EQ(fits.value->body.size(), bound);
    for (const QString &path : { u"/declared"_s, u"/endless"_s }) {
        SCOPED_TRACE(path.toStdString());
        http::resetPeakHeldBytes();
        const auto error = get(c, path).errorAs<NetworkError>();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), NetworkError::Kind::tooLarge);
        EXPECT_EQ(error->message(), u"Orvane sent a response that is too large."_s);
        EXPECT_LE(http::peakHeldBytes(), bound + 2 * replyReadBufferBytes);
        EXPECT_TRUE(service.waitForNoOpenConnections());
    }
}

TEST_F(APIClientTest, RefusesRedirectsToAnotherOriginSoTheKeyNeverLeaves)
{
    StandInService other;
    service.setResponse("GET", QStringLiteral("/api/projects"),
        CannedResponse::redirect(other.baseURL().resolved(QUrl(QStringLiteral("/api/projects")))));
    const auto outcome = get(client(), QStringLiteral("/api/projects"));
    const auto error = outcome.errorAs<NetworkError>();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), NetworkError::Kind::redirectRefused);
    EXPECT_FALSE(error->message().contains(other.baseURL().toString()));
    EXPECT_EQ(other.requestCount(), 0);
}

TEST_F(APIClientTest, ReportsAConnectionFailureWithoutTheURL)
{
    quint16 port = 0;
    {
        StandInService gone;
        port = gone.port();
    }
    QUrl url(QStringLiteral("http://127.0.0.1"));
    url.setPort(port);
    const OrvaneAPIClient c(url, QStringLiteral("orv_k"), &network);
    const auto outcome
        = get(c, QStringLiteral("/api/cli/device/poll"), { { QStringLiteral("code"), QStringLiteral("SECRET") } });
    const auto error = outcome.errorAs<NetworkError>();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), NetworkError::Kind::transport);
    EXPECT_FALSE(error->message().contains(u"SECRET"));
    EXPECT_FALSE(QString::fromUtf8(error->what()).contains(u"127.0.0.1"));
}

// Destroying the client's owner or its network access manager ends the transfer in flight.
TEST_F(APIClientTest, DestroyingTheOwnerOrTheManagerEndsTheTransfer)
{
    service.setResponse(
        "GET", QStringLiteral("/slow"), CannedResponse::json(200, "{}").delayedBy(std::chrono::hours(1)));
    auto owner = std::make_unique<QObject>();
    auto manager = std::make_unique<QNetworkAccessManager>();
    OrvaneAPIClient owned = client();
    owned.setLifetime(owner.get());
    const OrvaneAPIClient managed(service.baseURL(), std::nullopt, manager.get());
    const std::vector<std::pair<const OrvaneAPIClient *, std::function<void()>>> cases {
        { &owned, [&] { owner.reset(); } },
        { &managed, [&] { manager.reset(); } },
    };
    for (qsizetype i = 0; i < qsizetype(cases.size()); ++i) {
        const OrvaneAPIClient &c = *cases[i].first;
        auto outcome
            = startTask(c.perform(c.makeRequest(QStringLiteral("/slow"), "application/json"), "GET", std::nullopt));
        ASSERT_TRUE(service.waitForRequests(i + 1));
        cases[i].second();
        ASSERT_TRUE(QTest::qWaitFor([&] { return outcome->finished; })) << i;
        ASSERT_TRUE(outcome->errorAs<NetworkError>()) << i;
        EXPECT_EQ(outcome->errorAs<NetworkError>()->kind(), NetworkError::Kind::cancelled) << i;
        EXPECT_TRUE(service.waitForNoOpenConnections()) << i;
    }

    // A client whose owner is already gone sends nothing.
    const auto late
        = awaitTask(owned.perform(owned.makeRequest(QStringLiteral("/x"), "application/json"), "GET", std::nullopt));
    EXPECT_EQ(late.errorAs<NetworkError>()->kind(), NetworkError::Kind::cancelled);
    EXPECT_EQ(service.requestCount(), 2);
}

} // namespace
