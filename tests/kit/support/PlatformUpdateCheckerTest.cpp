#include "kit/support/PlatformUpdateChecker.h"

#include "testsupport/service/AwaitTask.h"
#include "testsupport/service/StandInService.h"

#include <QCoreApplication>
#include <QTcpServer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

using test::CannedResponse;

const QString manifestPath = u"/downloads/macos/latest.json"_s;

class PlatformUpdateCheckerTest : public testing::Test {
protected:
    OrvaneUpdateCheckResult checkAgainst(const QString &runningVersion)
    {
        PlatformUpdateChecker checker(service.baseURL(), runningVersion);
        auto outcome = test::awaitTask(checker.check());
        EXPECT_TRUE(outcome.finished);
        EXPECT_FALSE(outcome.error);
        return outcome.value.value_or(OrvaneUpdateCheckResult::managedExternally(u"no result"_s));
    }

    void serve(CannedResponse response) { service.setResponse("GET", manifestPath, std::move(response)); }

    test::StandInService service;
};

TEST_F(PlatformUpdateCheckerTest, TheRunningVersionIsCurrent)
{
    serve(CannedResponse::json(200, R"({"version":"1.4.0","notes":"Fixes"})"));
    EXPECT_TRUE(checkAgainst(u"1.4.0"_s).isCurrent());
    ASSERT_EQ(service.requestCount(), 1);
    EXPECT_EQ(service.requests().first().method, "GET");
    EXPECT_EQ(service.requests().first().decodedPath(), manifestPath);

    // Canonically equivalent spellings are the same version.
    serve(CannedResponse::json(200, u"{\"version\":\"1.4.0-be\u0301ta\"}"_s.toUtf8()));
    EXPECT_TRUE(checkAgainst(u"1.4.0-b\u00e9ta"_s).isCurrent());
}

TEST_F(PlatformUpdateCheckerTest, AnyOtherVersionIsOfferedWithItsNotesAndLinkOrTheDefaults)
{
    serve(
        CannedResponse::json(200, R"({"version":"1.5.0","notes":"Faster sync.","url":"https://example.org/get/1.5"})"));
    const OrvaneUpdateCheckResult result = checkAgainst(u"1.4.0"_s);
    ASSERT_NE(result.release(), nullptr);
    EXPECT_EQ(*result.release(),
        (OrvaneUpdateRelease {
            u"1.5.0"_s, u"Faster sync."_s, OrvaneUpdateDelivery::appStore, QUrl(u"https://example.org/get/1.5"_s) }));

    // An older one is offered as well, with the default summary and link.
    serve(CannedResponse::json(200, R"({"version":"0.9.0","notes":null,"extra":[1,2]})"));
    const OrvaneUpdateCheckResult older = checkAgainst(u"1.4.0"_s);
    ASSERT_NE(older.release(), nullptr);
    EXPECT_EQ(*older.release(),
        (OrvaneUpdateRelease { u"0.9.0"_s, u"A newer release of Orvane for Linux is available."_s,
            OrvaneUpdateDelivery::appStore, service.baseURL().resolved(QUrl(u"/download"_s)) }));

    // Empty notes are kept as an empty summary.
    serve(CannedResponse::json(200, R"({"version":"0.9.0","notes":""})"));
    const OrvaneUpdateCheckResult empty = checkAgainst(u"1.4.0"_s);
    ASSERT_NE(empty.release(), nullptr);
    EXPECT_EQ(empty.release()->summary, u""_s);
}

TEST_F(PlatformUpdateCheckerTest, OnlyAnHttpsLinkIsOffered)
{
    // The link is opened in the browser: anything but an absolute https URL falls back to the
    // download page.
    for (const QByteArray &url :
        { QByteArray("file:///etc/passwd"), QByteArray("javascript:alert(1)"), QByteArray("/relative/path"),
            QByteArray("http://example.org/get"), QByteArray("https://"), QByteArray("not a url at all") }) {
        serve(CannedResponse::json(200, R"({"version":"2.0.0","url":")" + url + R"("})"));
        const OrvaneUpdateCheckResult result = checkAgainst(u"1.4.0"_s);
        ASSERT_NE(result.release(), nullptr) << url.toStdString();
        EXPECT_EQ(result.release()->appStoreURL, service.baseURL().resolved(QUrl(u"/download"_s))) << url.toStdString();
    }
}

TEST_F(PlatformUpdateCheckerTest, EveryFailureCountsAsCurrent)
{
    const CannedResponse failures[] = {
        CannedResponse::json(404, R"({"version":"9.9.9"})"),
        CannedResponse::json(500, R"({"version":"9.9.9"})"),
        CannedResponse::json(304, R"({"version":"9.9.9"})"),
        CannedResponse::text(200, "<html><body>Downloads</body></html>", "text/html"),
        CannedResponse::json(200, R"({"notes":"no version"})"),
        CannedResponse::json(200, R"({"version":42})"),
        CannedResponse::json(200, R"({"version":"9.9.9","notes":7})"),
        CannedResponse::json(200, R"(["9.9.9"])"),
        CannedResponse::json(200, ""),
        CannedResponse::json(200, R"({"version":"9.9.9"})").endingWith(CannedResponse::Ending::drop),
        // Far larger than any manifest: abandoned rather than held in memory.
        CannedResponse::json(200, R"({"version":"9.9.9","notes":")" + QByteArray(3 << 20, 'x') + R"("})"),
    };
    for (const CannedResponse &failure : failures) {
        CannedResponse response = failure;
        if (response.ending == CannedResponse::Ending::drop)
            response.sentBodyBytes = 5;
        serve(std::move(response));
        EXPECT_TRUE(checkAgainst(u"1.4.0"_s).isCurrent())
            << failure.status << " " << failure.body.left(40).toStdString();
    }
}

TEST_F(PlatformUpdateCheckerTest, AnUnreachableSiteCountsAsCurrent)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QUrl site(u"http://127.0.0.1:%1"_s.arg(closed.serverPort()));
    closed.close();
    PlatformUpdateChecker checker(site, u"1.4.0"_s);
    auto outcome = test::awaitTask(checker.check());
    ASSERT_TRUE(outcome.value.has_value());
    EXPECT_TRUE(outcome.value->isCurrent());
}

TEST_F(PlatformUpdateCheckerTest, TheCheckOutlivesItsChecker)
{
    serve(CannedResponse::json(200, R"({"version":"1.5.0"})").delayedBy(std::chrono::milliseconds(100)));
    auto checker = std::make_unique<PlatformUpdateChecker>(service.baseURL(), u"1.4.0"_s);
    auto outcome = test::startTask(checker->check());
    checker.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome->finished; }, 10'000));
    ASSERT_TRUE(outcome->value.has_value());
    EXPECT_NE(outcome->value->release(), nullptr);
}

TEST(PlatformUpdateCheckerVersionTest, WithoutADeclaredVersionTheApplicationIsAtZeroPointOne)
{
    const QString declared = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationVersion(QString());
    EXPECT_EQ(PlatformUpdateChecker::runningApplicationVersion(), u"0.1.0"_s);
    QCoreApplication::setApplicationVersion(u"1.2.3"_s);
    EXPECT_EQ(PlatformUpdateChecker::runningApplicationVersion(), u"1.2.3"_s);
    QCoreApplication::setApplicationVersion(declared);
}

} // namespace
} // namespace orvane
