#include "AppTestSupport.h"
#include "ProcessTestSupport.h"

#include "app/RootView.h"
#include "testsupport/service/AwaitTask.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

// Without a desktop session, scripts/run starts the application through scripts/private-session: a
// session bus, keyring and runtime folder of its own. Signing in there must keep the key. The test
// runs this executable again inside that script, where the second test below does the signing in.

namespace {

constexpr char childVariable[] = "ORVANE_INSIDE_PRIVATE_SESSION";

} // namespace

TEST(HeadlessSessionTest, SigningInInsideThePrivateSessionKeepsTheKey)
{
    if (qEnvironmentVariableIsSet(childVariable))
        GTEST_SKIP() << "the inner run";
    for (const QString &tool : { u"dbus-run-session"_s, u"gnome-keyring-daemon"_s }) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << qPrintable(tool) << " is not installed";
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(childVariable), u"1"_s);
    for (const QString &name : { u"DBUS_SESSION_BUS_ADDRESS"_s, u"XDG_RUNTIME_DIR"_s, u"DISPLAY"_s })
        environment.remove(name);
    const ToolRun inner = runToCompletion(QStringLiteral(ORVANE_SOURCE_DIR "/scripts/private-session"),
        { QCoreApplication::applicationFilePath(), u"--gtest_filter=HeadlessSessionTest.InnerRunSignsIn"_s },
        environment);
    EXPECT_EQ(inner.exitCode, 0) << qPrintable(inner.output);
    EXPECT_TRUE(inner.output.contains(u"[  PASSED  ] 1 test"_s)) << qPrintable(inner.output);
}

TEST(HeadlessSessionTest, InnerRunSignsIn)
{
    if (!qEnvironmentVariableIsSet(childVariable))
        GTEST_SKIP() << "runs inside scripts/private-session only";
    const QFileInfo runtime(qEnvironmentVariable("XDG_RUNTIME_DIR"));
    ASSERT_TRUE(runtime.isDir());
    EXPECT_EQ(runtime.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::ExeOther), QFile::Permissions());

    auto keychain = std::make_shared<KeychainAccountStore>(OrvaneEnvironment::production);
    {
        AppHarness harness;
        harness.service().setDevicePollStatuses({ u"pending"_s, u"completed"_s });
        OrvaneMainWindow *window = harness.start({ u"--sign-in"_s }, keychain);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->screen() == RootView::Screen::signIn; }));
        QTest::mouseClick(harness.find<QAbstractButton>(u"signIn.start"_s), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->screen() == RootView::Screen::workspace; }));
        EXPECT_FALSE(harness.session().lastError().has_value());
        EXPECT_FALSE(harness.session().orphanedKeyNotice().has_value());
    }
    // Another start of the application finds the key.
    const auto stored = awaitTask(std::make_shared<KeychainAccountStore>(OrvaneEnvironment::production)->load());
    ASSERT_TRUE(stored.finished && !stored.error && stored.value && *stored.value);
    EXPECT_EQ((*stored.value)->apiKey.value(), u"orv_live_0123456789abcdef"_s);
}
