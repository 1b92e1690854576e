#include "ProcessTestSupport.h"
#include "VirtualDesktop.h"

#include "testsupport/desktop/TemporaryHome.h"

#include <QFileInfo>
#include <QTest>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace orvane::test;
using namespace Qt::StringLiterals;

// The application started on an X server with no window manager (as scripts/run does without a
// desktop): nothing else gives it the keyboard, so it must take the input focus itself, or its
// shortcuts would never reach it.

namespace {

// The X window that has the keyboard, and its title.
QString focusedWindowTitle(const QByteArray &display)
{
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(display.constData(), nullptr), &xcb_disconnect);
    xcb_connection_t *x = connection.get();
    if (xcb_connection_has_error(x))
        return u"<no connection>"_s;
    std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&std::free)> focus(
        xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr), &std::free);
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT)
        return u"<nobody>"_s;
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> name(
        xcb_get_property_reply(
            x, xcb_get_property(x, 0, focus->focus, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr),
        &std::free);
    if (!name)
        return u"<untitled>"_s;
    return QString::fromUtf8(
        static_cast<const char *>(xcb_get_property_value(name.get())), xcb_get_property_value_length(name.get()));
}

} // namespace

TEST(BareXServerTest, TheWindowTakesTheKeyboardWithoutAWindowManager)
{
    if (!VirtualDesktop::hasServer())
        GTEST_SKIP() << "Xvfb is not installed";
    VirtualDesktop desktop({ 1600, 1000 });
    const QByteArray display = desktop.display();
    ASSERT_FALSE(display.isEmpty()) << "Xvfb did not report a display";

    TemporaryHome home;
    const QString screenshot = home.path() + u"/start.png"_s;
    QProcessEnvironment environment;
    environment.insert(u"DISPLAY"_s, QString::fromLatin1(display));
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    environment.insert(u"ORVANE_SCREENSHOT"_s, screenshot);
    OrvaneProcess app({}, environment);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(screenshot) || !app.running(); }, 60000));
    ASSERT_TRUE(app.running()) << qPrintable(app.standardError());

    EXPECT_TRUE(QTest::qWaitFor([&] { return focusedWindowTitle(display).contains(u"Orvane"_s); }, 10000))
        << "the keyboard is with " << qPrintable(focusedWindowTitle(display));

    app.terminate();
    EXPECT_TRUE(app.waitForExit());
    EXPECT_EQ(app.exitCode(), 0) << qPrintable(app.standardError());
}
