#include "ProcessTestSupport.h"
#include "VirtualDesktop.h"

#include "testsupport/desktop/TemporaryHome.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvane::test;
using namespace Qt::StringLiterals;

// What a screen reader hears goes through the desktop's accessibility bus, which only a real
// display and a session bus carry: the application runs on a virtual screen in a session of its
// own with that bus up.
TEST(ScreenReaderTest, EveryCardGridTellsAssistiveTechnologyTheCardTheArrowKeysReach)
{
    if (!VirtualDesktop::hasServer() || QStandardPaths::findExecutable(u"dbus-run-session"_s).isEmpty()
        || !QFileInfo::exists(u"/usr/share/dbus-1/services/org.a11y.Bus.service"_s))
        GTEST_SKIP() << "Xvfb, dbus-run-session or the accessibility bus is not installed";
    VirtualDesktop desktop({ 1440, 900 });
    ASSERT_FALSE(desktop.display().isEmpty()) << "Xvfb did not report a display";
    TemporaryHome home;
    QProcessEnvironment environment;
    environment.insert(u"DISPLAY"_s, QString::fromLatin1(desktop.display()));
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    environment.insert(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, u"1"_s);
    OrvaneProcess probe(u"dbus-run-session"_s, { u"--"_s, QStringLiteral(ORVANE_SCREEN_READER_PROBE) }, environment);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return probe.standardOutput().contains(u"done\n"_s) || !probe.running(); }, 120000))
        << qPrintable(probe.standardError());
    // Its session ends with it, and the services the bus started go with the session.
    EXPECT_TRUE(probe.waitForExit());
    QStringList grids;
    for (const QString &line : probe.standardOutput().split(u'\n')) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() != 5 || fields.at(0) != u"grid"_s)
            continue;
        grids.append(fields.at(1));
        // A control painted on a card has the same name on every card and is described by its card.
        const QString &reached = fields.at(4);
        EXPECT_FALSE(reached.isEmpty()) << qPrintable(fields.at(1)) << ": the key reached no item";
        EXPECT_TRUE(fields.at(2) == reached || fields.at(3) == reached)
            << qPrintable(fields.at(1)) << ": heard \"" << qPrintable(fields.at(2)) << "\" (\""
            << qPrintable(fields.at(3)) << "\") for \"" << qPrintable(reached) << '"';
    }
    EXPECT_EQ(grids,
        QStringList({ u"threadCardGrid"_s, u"recommendedActionList"_s, u"campaignCardList"_s, u"personaCardGrid"_s,
            u"assetCardGrid"_s, u"artboardGridView"_s, u"competitorAdGridView"_s, u"localFilesListView"_s,
            u"timelineListView"_s, u"timelineListView"_s }))
        << qPrintable(probe.standardError());
}
