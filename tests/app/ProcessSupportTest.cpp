#include "ProcessTestSupport.h"

#include "testsupport/desktop/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

using namespace orvane::test;
using namespace Qt::StringLiterals;

namespace {

// The text the probe typed, as the file kept beside the one it typed into holds it; empty when
// there is no such file.
QByteArray keptAside(const QString &path)
{
    const QFileInfo edited(path);
    const QStringList kept = edited.dir().entryList(
        { edited.completeBaseName() + u".unsaved-*."_s + edited.suffix() }, QDir::Files | QDir::Hidden);
    if (kept.size() != 1)
        return {};
    QFile file(edited.dir().filePath(kept.first()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Waits until the probe typed into a file: the file's path, or empty when the probe ended first.
QString waitForTypedText(OrvaneProcess &probe)
{
    QString edited;
    (void)QTest::qWaitFor(
        [&] {
            const QString output = probe.standardOutput();
            const qsizetype at = output.indexOf(u"edited "_s);
            if (at >= 0 && output.indexOf(u'\n', at) > at)
                edited = output.mid(at + 7, output.indexOf(u'\n', at) - at - 7);
            return !edited.isEmpty() || !probe.running();
        },
        60000);
    return edited;
}

} // namespace

// A logout, a kill from a task manager or Ctrl+C in a terminal ends the application with unsaved
// Local Files text in it: it ends at once, asks nothing (nobody is there to answer), and the text
// is kept beside its file.
TEST(ProcessSupportTest, ATerminationSignalWithUnsavedTextEndsWithoutAskingAndKeepsTheTextAside)
{
    for (const int signal : { SIGTERM, SIGINT, SIGHUP }) {
        SCOPED_TRACE(signal);
        TemporaryHome home;
        OrvaneProcess probe(QStringLiteral(ORVANE_TERMINATION_PROBE), {});
        const QString edited = waitForTypedText(probe);
        ASSERT_FALSE(edited.isEmpty()) << qPrintable(probe.standardError());

        probe.sendSignal(signal);
        ASSERT_TRUE(probe.waitForExit()) << "still running: it asks before quitting";
        EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(probe.exitCode(), 0) << qPrintable(probe.standardError());
        EXPECT_EQ(keptAside(edited), "typed before the signal");
        QFile file(edited); // stays as it was: the text was not saved
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_NE(file.readAll(), "typed before the signal");
    }
}

// The same with no room beside the file (nothing can be written in its folder, as on a full disk)
// while the data folder has some: the text goes to the rescue copy, and the next start puts it
// beside its file.
TEST(ProcessSupportTest, ATerminationSignalWithNoRoomBesideTheFileKeepsTheTextForTheNextStart)
{
    TemporaryHome home;
    QString edited;
    {
        OrvaneProcess probe(QStringLiteral(ORVANE_TERMINATION_PROBE), {});
        edited = waitForTypedText(probe);
        ASSERT_FALSE(edited.isEmpty()) << qPrintable(probe.standardError());
        const QString folder = QFileInfo(edited).path();
        ASSERT_TRUE(QDir().rename(folder, folder + u".away"_s));
        QFile blocker(folder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        probe.sendSignal(SIGTERM);
        ASSERT_TRUE(probe.waitForExit());
        EXPECT_EQ(probe.exitCode(), 0) << qPrintable(probe.standardError());
        QFile copy(home.dataHome() + u"/Orvane/rescue.json"_s);
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_TRUE(copy.readAll().contains("typed before the signal"));
        ASSERT_TRUE(QFile::remove(folder));
        ASSERT_TRUE(QDir().rename(folder + u".away"_s, folder));
    }
    OrvaneProcess next(QStringLiteral(ORVANE_TERMINATION_PROBE), {});
    ASSERT_EQ(waitForTypedText(next), edited) << qPrintable(next.standardError());
    EXPECT_EQ(keptAside(edited), "typed before the signal");
    next.kill();
}
