#include "AppTestSupport.h"
#include "ProcessTestSupport.h"

#include "app/SingleInstance.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
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

namespace {

// A file where a folder should be: nothing can be made there, whoever runs the test.
void block(const QString &folder)
{
    QDir().mkpath(QFileInfo(folder).path());
    QFile file(folder);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

// A later launch of the application with that runtime folder hands over to `first` and exits.
void expectASecondLaunchToHandOver(SingleInstance &first, const QString &runtime)
{
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    QProcessEnvironment environment;
    environment.insert(u"XDG_RUNTIME_DIR"_s, runtime);
    OrvaneProcess second({}, environment);
    ASSERT_TRUE(second.waitForExit());
    EXPECT_EQ(second.exitCode(), 0) << qPrintable(second.standardError());
    EXPECT_EQ(activations.count(), 1);
}

// The data folder cannot be made: the lock moves to the config folder, where the threads are kept,
// and a second launch still hands over to the first instead of writing beside it.
TEST(SingleInstanceProcessTest, WithTheDataFolderUnusableTheLockMovesAndASecondLaunchHandsOver)
{
    TemporaryHome home;
    block(home.dataHome() + u"/Orvane"_s);
    QProcessEnvironment environment = screenshotTo(home.path() + u"/first.png"_s);
    environment.insert(u"XDG_RUNTIME_DIR"_s, home.path() + u"/no-runtime"_s);
    OrvaneProcess first({}, environment);
    ASSERT_TRUE(waitUntilStarted(first, home.path() + u"/first.png"_s)) << qPrintable(first.standardError());
    EXPECT_TRUE(QFileInfo::exists(home.configHome() + u"/Orvane/instance.lock"_s));

    const QString secondShot = home.path() + u"/second.png"_s;
    environment.insert(u"ORVANE_SCREENSHOT"_s, secondShot);
    OrvaneProcess second({}, environment);
    ASSERT_TRUE(second.waitForExit());
    EXPECT_EQ(second.exitCode(), 0) << qPrintable(second.standardError());
    EXPECT_FALSE(QFileInfo::exists(secondShot));
    EXPECT_TRUE(first.running());
}

// Neither the data nor the config folder can hold the lock: the runtime folder does, under a name of
// the data folder's own, and a later launch finds it there.
TEST(SingleInstanceTest, TheRuntimeFolderHoldsTheLockWhenNoOtherCan)
{
    TemporaryHome home;
    block(home.dataHome() + u"/Orvane"_s);
    block(home.configHome() + u"/Orvane"_s);
    const QString runtime = home.path() + u"/runtime"_s;
    ASSERT_TRUE(QDir().mkpath(runtime));
    const ScopedEnvironmentVariable runtimeDir("XDG_RUNTIME_DIR", QFile::encodeName(runtime));

    const QList<SingleInstance::Place> places = SingleInstance::standardPlaces();
    ASSERT_EQ(places.size(), 3);
    SingleInstance first(places);
    ASSERT_EQ(first.start(), Outcome::primary);
    ASSERT_EQ(first.heldPlaces().size(), 1);
    EXPECT_EQ(first.heldPlaces().first().folder, runtime);
    EXPECT_TRUE(first.errorText().startsWith(u"Cannot create the data folder"_s));
    expectASecondLaunchToHandOver(first, runtime);
}

// Something of the user's sits where the data folder's socket goes: the first process holds every
// lock but can listen only in the other places, and a later launch finds it there and hands over.
TEST(SingleInstanceProcessTest, WhereTheFirstCannotListenASecondLaunchFindsItInAnotherPlace)
{
    TemporaryHome home;
    const QString runtime = home.path() + u"/runtime"_s;
    ASSERT_TRUE(QDir().mkpath(runtime));
    const ScopedEnvironmentVariable runtimeDir("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    const QList<SingleInstance::Place> places = SingleInstance::standardPlaces();
    ASSERT_EQ(places.size(), 3);
    const QString socket = SingleInstance::serverName(places.first());
    ASSERT_EQ(socket, dataFolder() + u"/instance.socket"_s);
    ASSERT_TRUE(QDir().mkpath(socket + u"/kept"_s));

    SingleInstance first(places);
    ASSERT_EQ(first.start(), Outcome::primary);
    EXPECT_EQ(first.heldPlaces().size(), 3);
    EXPECT_FALSE(first.listenErrorText().isEmpty());
    expectASecondLaunchToHandOver(first, runtime);
    EXPECT_TRUE(QFileInfo(socket + u"/kept"_s).isDir());
}

// No folder can hold the lock: the window opens read-only and says so, and nothing is written, not
// even the workspace folder the model mirrors at start-up.
TEST(SingleInstanceProcessTest, WithNoPlaceForTheLockTheWindowOpensReadOnlyAndWritesNothing)
{
    TemporaryHome home;
    block(home.dataHome() + u"/Orvane"_s);
    block(home.configHome() + u"/Orvane"_s);
    block(home.path() + u"/runtime"_s);
    const ScopedEnvironmentVariable runtimeDir("XDG_RUNTIME_DIR", QFile::encodeName(home.path() + u"/runtime"_s));
    SingleInstance instance(SingleInstance::standardPlaces());
    EXPECT_EQ(instance.start(), Outcome::storageUnavailable);
    EXPECT_TRUE(instance.errorText().startsWith(u"Cannot create the data folder"_s));

    QProcessEnvironment environment;
    environment.insert(u"XDG_RUNTIME_DIR"_s, home.path() + u"/runtime"_s);
    environment.insert(u"ORVANE_REPORT_FIRST_FRAME"_s, u"1"_s);
    OrvaneProcess process({}, environment);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return process.standardOutput().contains(u"first-frame"_s) || !process.running(); }, 60000));
    ASSERT_TRUE(process.running()) << qPrintable(process.standardError());
    EXPECT_TRUE(process.standardError().contains(u"opening read-only"_s)) << qPrintable(process.standardError());
    // A clean quit runs every write the window asked for, the shown project's folder included.
    process.terminate();
    ASSERT_TRUE(process.waitForExit());
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(process.standardError());
    QDirIterator written(home.path() + u"/Documents"_s, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    EXPECT_FALSE(written.hasNext()) << qPrintable(written.next());
}
