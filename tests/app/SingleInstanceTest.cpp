#include "AppTestSupport.h"
#include "ProcessTestSupport.h"

#include "app/SingleInstance.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using Outcome = SingleInstance::Outcome;

namespace {

// The application's data folder in the current (temporary) home.
QString dataFolder()
{
    return QFileInfo(CampaignIDEWorkspaceModel::standardLocations().stateFile).absolutePath();
}

// A data folder that cannot be made is no reason to stay closed: the application opens without the
// lock and says why.
TEST(SingleInstanceTest, AnUnusableDataFolderIsReportedAsStorageUnavailable)
{
    TemporaryHome home;
    QFile blocker(home.path() + u"/file"_s);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    SingleInstance instance(blocker.fileName() + u"/Orvane"_s);
    EXPECT_EQ(instance.start(), Outcome::storageUnavailable);
    EXPECT_TRUE(instance.errorText().startsWith(u"Cannot create the data folder"_s));
}

QProcessEnvironment screenshotTo(const QString &path)
{
    QProcessEnvironment environment;
    environment.insert(u"ORVANE_SCREENSHOT"_s, path);
    return environment;
}

// Waits until a launched application is up: it has written its start-up screenshot.
bool waitUntilStarted(OrvaneProcess &process, const QString &screenshot)
{
    return QTest::qWaitFor([&] { return QFileInfo::exists(screenshot) || !process.running(); }, 60000)
        && process.running();
}

} // namespace

TEST(SingleInstanceTest, ARequestThatIsNotOursIsDroppedAndTheNextIsAnswered)
{
    TemporaryHome home;
    SingleInstance first(dataFolder());
    ASSERT_EQ(first.start(), Outcome::primary);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);

    QLocalSocket stranger;
    stranger.connectToServer(first.serverName());
    ASSERT_TRUE(stranger.waitForConnected(5000));
    stranger.write("open /etc/passwd\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return stranger.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(activations.count(), 0);

    QLocalSocket peer;
    peer.connectToServer(first.serverName());
    ASSERT_TRUE(peer.waitForConnected(5000));
    peer.write("activate\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer.canReadLine(); }));
    EXPECT_EQ(peer.readLine(), "ok\n");
    EXPECT_EQ(activations.count(), 1);
}

TEST(SingleInstanceTest, AnOwnerThatDoesNotAnswerMakesTheLaunchFail)
{
    TemporaryHome home;
    ASSERT_TRUE(QDir().mkpath(dataFolder()));
    // Held by this (running) process, with nobody listening.
    QLockFile lock(dataFolder() + u"/instance.lock"_s);
    ASSERT_TRUE(lock.tryLock(0));

    OrvaneProcess second;
    ASSERT_TRUE(second.waitForExit());
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(second.standardError().contains(u"already running but did not answer"_s))
        << qPrintable(second.standardError());
}

// The first takes the lock; a later launch of the real application in the same folder hands over,
// exits successfully and raises the running window, also when the lock looks an hour old (its
// owner still runs, so it is not taken over).
TEST(SingleInstanceTest, ASecondLaunchHandsOverAndRaisesTheRunningWindow)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    SingleInstance instance(dataFolder());
    ASSERT_EQ(instance.start(), Outcome::primary);
    EXPECT_TRUE(QFileInfo::exists(instance.lockFilePath()));
    QSignalSpy activations(&instance, &SingleInstance::activationRequested);
    QObject::connect(&instance, &SingleInstance::activationRequested, &harness.app(), &OrvaneApp::activate);

    for (const bool staleLooking : { false, true }) {
        if (staleLooking) {
            QFile lock(instance.lockFilePath());
            ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
            ASSERT_TRUE(
                lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        }
        window->showMinimized();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->isMinimized(); }));

        OrvaneProcess second;
        ASSERT_TRUE(second.waitForExit());
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0) << qPrintable(second.standardError());
        EXPECT_TRUE(QTest::qWaitFor([&] { return activations.count() == (staleLooking ? 2 : 1); }));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isMinimized() && window->isVisible(); }));
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    }
    EXPECT_EQ(activations.count(), 2);
}

TEST(SingleInstanceProcessTest, TwoLaunchesOfTheApplicationLeaveOneRunning)
{
    TemporaryHome home;
    const QString firstShot = home.path() + u"/first.png"_s;
    OrvaneProcess first({}, screenshotTo(firstShot));
    ASSERT_TRUE(waitUntilStarted(first, firstShot)) << qPrintable(first.standardError());

    const QString secondShot = home.path() + u"/second.png"_s;
    OrvaneProcess second({ u"--sign-in"_s }, screenshotTo(secondShot));
    ASSERT_TRUE(second.waitForExit());
    EXPECT_EQ(second.exitCode(), 0) << qPrintable(second.standardError());
    EXPECT_FALSE(QFileInfo::exists(secondShot)); // it never opened a window
    EXPECT_TRUE(first.running());

    // The first quits cleanly on SIGTERM and gives the lock back: the next launch is the first.
    first.terminate();
    ASSERT_TRUE(first.waitForExit());
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0) << qPrintable(first.standardError());
    EXPECT_FALSE(QFileInfo::exists(dataFolder() + u"/instance.lock"_s));

    const QString thirdShot = home.path() + u"/third.png"_s;
    OrvaneProcess third({}, screenshotTo(thirdShot));
    ASSERT_TRUE(waitUntilStarted(third, thirdShot)) << qPrintable(third.standardError());
}

TEST(SingleInstanceProcessTest, ALockLeftByAKilledProcessIsTakenOver)
{
    TemporaryHome home;
    const QString firstShot = home.path() + u"/first.png"_s;
    OrvaneProcess first({}, screenshotTo(firstShot));
    ASSERT_TRUE(waitUntilStarted(first, firstShot)) << qPrintable(first.standardError());
    first.kill();
    ASSERT_TRUE(first.waitForExit());
    ASSERT_TRUE(QFileInfo::exists(dataFolder() + u"/instance.lock"_s));

    const QString secondShot = home.path() + u"/second.png"_s;
    OrvaneProcess second({}, screenshotTo(secondShot));
    ASSERT_TRUE(waitUntilStarted(second, secondShot)) << qPrintable(second.standardError());
}
