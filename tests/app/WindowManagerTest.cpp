#include "ProcessTestSupport.h"
#include "VirtualDesktop.h"

#include "testsupport/desktop/TemporaryHome.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvane::test;
using namespace Qt::StringLiterals;

// The application on a 1440 by 900 screen under a window manager that frames its window with a
// title bar and borders: the window asks for a content of the screen's size, and the whole frame
// must still lie on the screen, however the desktop goes about framing it.

namespace {

constexpr QSize screenSize { 1440, 900 };

std::string described(const std::optional<VirtualDesktop::Placement> &placement)
{
    if (!placement)
        return "no window";
    const QRect frame = placement->frameRect();
    return "frame " + std::to_string(frame.x()) + ',' + std::to_string(frame.y()) + ' ' + std::to_string(frame.width())
        + 'x' + std::to_string(frame.height()) + " (borders " + std::to_string(placement->frame.left()) + ','
        + std::to_string(placement->frame.top()) + ',' + std::to_string(placement->frame.right()) + ','
        + std::to_string(placement->frame.bottom()) + ')';
}

class WindowManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!VirtualDesktop::hasServer() || !VirtualDesktop::hasWindowManager())
            GTEST_SKIP() << "Xvfb or openbox is not installed";
        desktop = std::make_unique<VirtualDesktop>(screenSize);
        ASSERT_FALSE(desktop->display().isEmpty()) << "Xvfb did not report a display";
    }

    [[nodiscard]] QProcessEnvironment environment() const
    {
        QProcessEnvironment environment;
        environment.insert(u"DISPLAY"_s, QString::fromLatin1(desktop->display()));
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        environment.insert(u"ORVANE_SCREENSHOT"_s, screenshot);
        return environment;
    }
    // Shown and settled: the start-up screenshot is written a second after the window is exposed.
    [[nodiscard]] bool shown(const OrvaneProcess &app) const
    {
        return QTest::qWaitFor([&] { return QFileInfo::exists(screenshot) || !app.running(); }, 60000) && app.running();
    }
    // Framed, with the whole frame on the screen.
    [[nodiscard]] bool framedOnTheScreen() const
    {
        return QTest::qWaitFor(
            [&] {
                const auto placement = desktop->placement(u"Orvane"_s);
                return placement && !placement->frame.isNull()
                    && QRect(QPoint(), screenSize).contains(placement->frameRect());
            },
            10000);
    }

    std::unique_ptr<VirtualDesktop> desktop;
    TemporaryHome home;
    QString screenshot = home.path() + u"/start.png"_s;
};

TEST_F(WindowManagerTest, TheFirstPlacementBringsTheWholeFrameOntoTheScreen)
{
    ASSERT_TRUE(desktop->startWindowManager());
    OrvaneProcess app({}, environment());
    ASSERT_TRUE(shown(app)) << qPrintable(app.standardError());
    EXPECT_TRUE(framedOnTheScreen()) << described(desktop->placement(u"Orvane"_s));
}

// A window manager that starts after the window is shown frames it without moving or sizing it, so
// the window hears nothing of its frame from the toolkit.
TEST_F(WindowManagerTest, AWindowManagerThatStartsLateStillLeavesTheWholeFrameOnTheScreen)
{
    OrvaneProcess app({}, environment());
    ASSERT_TRUE(shown(app)) << qPrintable(app.standardError());
    ASSERT_TRUE(desktop->startWindowManager());
    EXPECT_TRUE(framedOnTheScreen()) << described(desktop->placement(u"Orvane"_s));
}

// The split agent pane needs more room than the window has: the window grows, but only as far as
// the screen minus its frame.
TEST_F(WindowManagerTest, TheSplitPaneLeavesRoomForTheFrame)
{
    ASSERT_TRUE(desktop->startWindowManager());
    OrvaneProcess probe(QStringLiteral(ORVANE_SPLIT_PANE_PROBE), {}, environment());
    int width = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QString out = probe.standardOutput();
            const qsizetype at = out.indexOf(u"split "_s);
            if (at >= 0 && out.indexOf(u'\n', at) > at)
                width = out.mid(at + 6, out.indexOf(u'\n', at) - at - 6).toInt();
            return width > 0 || !probe.running();
        },
        60000))
        << qPrintable(probe.standardError());
    ASSERT_GT(width, 0) << qPrintable(probe.standardError());
    // Once the server has the width the window took, its frame is on the screen.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto placement = desktop->placement(u"Orvane"_s);
            return placement && placement->content.width() == width;
        },
        10000))
        << described(desktop->placement(u"Orvane"_s));
    const auto placement = desktop->placement(u"Orvane"_s);
    ASSERT_TRUE(placement);
    EXPECT_TRUE(QRect(QPoint(), screenSize).contains(placement->frameRect())) << described(placement);
}

// The split pane left open by the last run is laid out before the desktop frames the new window:
// the content asks for the whole screen, and the frame must still come to lie on the screen.
TEST_F(WindowManagerTest, AStartWithTheSplitPaneOpenLeavesRoomForTheFrame)
{
    ASSERT_TRUE(desktop->startWindowManager());
    {
        OrvaneProcess probe(QStringLiteral(ORVANE_SPLIT_PANE_PROBE), {}, environment());
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return probe.standardOutput().contains(u"split "_s) || !probe.running(); }, 60000))
            << qPrintable(probe.standardError());
        ASSERT_TRUE(probe.running()) << qPrintable(probe.standardError());
        probe.terminate();
        ASSERT_TRUE(probe.waitForExit()) << qPrintable(probe.standardError());
    }
    QFile::remove(screenshot);
    OrvaneProcess app({}, environment());
    ASSERT_TRUE(shown(app)) << qPrintable(app.standardError());
    EXPECT_TRUE(framedOnTheScreen()) << described(desktop->placement(u"Orvane"_s));
}

} // namespace
