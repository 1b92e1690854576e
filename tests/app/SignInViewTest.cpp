#include "AppTestSupport.h"

#include "app/CampaignIDECommands.h"
#include "app/RootView.h"
#include "app/SignInView.h"
#include "app/SignInWidgets.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;
using Kind = SessionStore::State::Kind;

namespace {

// An account store whose saves fail, as a locked or missing keyring would make them.
class UnsavableStore final : public AccountStore {
public:
    QCoro::Task<std::optional<SignedInAccount>> load() override { co_return std::nullopt; }
    QCoro::Task<> save(SignedInAccount) override
    {
        throw KeychainError(-25291, u"No keyring is available in this desktop session."_s);
        co_return;
    }
    QCoro::Task<> clear() override { co_return; }
};

class SignInScreenTest : public testing::Test {
protected:
    void openSignInScreen(std::shared_ptr<AccountStore> store = std::make_shared<MemoryAccountStore>())
    {
        window = harness.start({ u"--sign-in"_s }, std::move(store));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->screen() == RootView::Screen::signIn; }));
        view = window->rootView()->signInView();
        ASSERT_NE(view, nullptr);
    }

    [[nodiscard]] QWidget *control(const QString &name) const { return harness.find(name); }
    [[nodiscard]] bool shows(const QString &name) const
    {
        QWidget *widget = control(name);
        return widget && widget->isVisible();
    }
    void click(const QString &name)
    {
        auto *button = harness.find<QAbstractButton>(name);
        ASSERT_NE(button, nullptr) << qPrintable(name);
        ASSERT_TRUE(button->isVisible()) << qPrintable(name);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    [[nodiscard]] bool waitForState(Kind kind)
    {
        return QTest::qWaitFor([&] { return harness.session().state().kind() == kind; });
    }
    [[nodiscard]] QString blockText(const QString &name) const
    {
        auto *block = harness.find<PlainTextBlock>(name);
        return block ? block->text() : u"<missing>"_s;
    }

    AppHarness harness;
    OrvaneMainWindow *window = nullptr;
    SignInView *view = nullptr;
};

} // namespace

TEST_F(SignInScreenTest, SignedOutScreenOffersBothWaysOn)
{
    openSignInScreen();
    EXPECT_EQ(window->rootView()->workspace(), nullptr);
    EXPECT_TRUE(shows(u"signIn.start"_s));
    EXPECT_TRUE(shows(u"signIn.localIDE"_s));
    EXPECT_TRUE(shows(u"signIn.footnote"_s));
    EXPECT_FALSE(shows(u"signIn.pending"_s));
    EXPECT_FALSE(shows(u"signIn.error"_s));
    EXPECT_FALSE(shows(u"signIn.orphanedKeyNotice"_s));
    EXPECT_EQ(blockText(u"signIn.footnote"_s), u"Sign in securely in your browser, then return to your workspace."_s);
    EXPECT_EQ(harness.find<QAbstractButton>(u"signIn.start"_s)->text(), u"Continue to Orvane"_s);
    EXPECT_EQ(harness.find<QAbstractButton>(u"signIn.localIDE"_s)->text(), u"Open Local Campaign IDE"_s);
    EXPECT_EQ(harness.find<QAbstractButton>(u"signIn.start"_s)->accessibleDescription(),
        u"Opens your browser to securely approve this device."_s);

    // Without the way back there is no local IDE button.
    SignInView standalone(&harness.session(), {});
    EXPECT_NE(standalone.findChild<QWidget *>(u"signIn.welcome"_s), nullptr);
    EXPECT_EQ(standalone.findChild<QWidget *>(u"signIn.localIDE"_s), nullptr);
}

// Open Browser opens the page again and Cancel returns without an error; a later attempt that is
// approved in the browser ends in the workspace.
TEST_F(SignInScreenTest, DeviceFlowEndsInTheWorkspace)
{
    harness.service().setDevicePollStatuses({ u"pending"_s });
    openSignInScreen();
    click(u"signIn.start"_s);

    ASSERT_TRUE(waitForState(Kind::signingIn));
    EXPECT_TRUE(shows(u"signIn.pending"_s));
    EXPECT_FALSE(shows(u"signIn.start"_s));
    EXPECT_TRUE(shows(u"signIn.reopen"_s));
    EXPECT_TRUE(shows(u"signIn.cancel"_s));
    EXPECT_EQ(harness.find<QLabel>(u"signIn.userCode"_s)->text(), StandInService::userCode());
    // Entering the sign-in opens its page once.
    ASSERT_EQ(harness.openedURLs().size(), 1);
    EXPECT_EQ(harness.openedURLs().first(), harness.session().state().verificationURL());

    click(u"signIn.reopen"_s);
    ASSERT_EQ(harness.openedURLs().size(), 2);
    EXPECT_EQ(harness.openedURLs().at(1), harness.openedURLs().at(0));

    click(u"signIn.cancel"_s);
    ASSERT_TRUE(waitForState(Kind::signedOut));
    EXPECT_TRUE(shows(u"signIn.start"_s));
    EXPECT_FALSE(shows(u"signIn.pending"_s));
    EXPECT_FALSE(shows(u"signIn.error"_s));
    EXPECT_EQ(window->rootView()->screen(), RootView::Screen::signIn);

    // Approved in the browser: the workspace comes by itself, and the page is not opened again.
    harness.service().setDevicePollStatuses({ u"completed"_s });
    click(u"signIn.start"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->screen() == RootView::Screen::workspace; }));
    ASSERT_TRUE(harness.session().account().has_value());
    EXPECT_EQ(harness.session().account()->email, u"ada@example.com"_s);
    EXPECT_NE(window->rootView()->workspace(), nullptr);
    EXPECT_EQ(harness.openedURLs().size(), 3);
    EXPECT_TRUE(window->commands()->actions().has_value());
}

TEST_F(SignInScreenTest, ReturnStartsTheSignIn)
{
    harness.service().setDevicePollStatuses({ u"pending"_s });
    openSignInScreen();
    harness.service().clearRequests();
    pressKeys(window, Qt::Key_Return);
    ASSERT_TRUE(harness.service().waitForRequests(1));
    EXPECT_EQ(harness.service().requests().first().path, "/api/cli/device/start");
    ASSERT_TRUE(waitForState(Kind::signingIn));
    // While signing in, Return no longer starts another one: the next requests are polls.
    harness.service().clearRequests();
    pressKeys(window, Qt::Key_Return);
    ASSERT_TRUE(harness.service().waitForRequests(2));
    for (const RecordedRequest &request : harness.service().requests())
        EXPECT_EQ(request.path, "/api/cli/device/poll");
}

TEST_F(SignInScreenTest, AKeyThatCouldNotBeKeptIsNoticedUntilDismissed)
{
    harness.service().setDevicePollStatuses({ u"completed"_s });
    openSignInScreen(std::make_shared<UnsavableStore>());
    click(u"signIn.start"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows(u"signIn.orphanedKeyNotice"_s); }));
    EXPECT_EQ(harness.session().state().kind(), Kind::signedOut);
    EXPECT_EQ(window->rootView()->screen(), RootView::Screen::signIn);
    EXPECT_TRUE(blockText(u"signIn.orphanedKeyNotice.text"_s)
                    .startsWith(u"The web approved sign-in, but the key could not be saved on this device ("_s));
    auto *dismiss = harness.find<QPushButton>(u"signIn.orphanedKeyNotice.dismiss"_s);
    ASSERT_NE(dismiss, nullptr);
    EXPECT_EQ(dismiss->accessibleName(), u"Dismiss sign-in key notice"_s);
    EXPECT_GE(dismiss->width(), 44);
    EXPECT_GE(dismiss->height(), 44);

    // An expired code and the notice together: the error under the buttons, then the notice, both
    // above the footnote.
    harness.service().setDevicePollStatuses({ u"expired"_s });
    click(u"signIn.start"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows(u"signIn.error"_s); }));
    EXPECT_EQ(blockText(u"signIn.error"_s), u"The sign-in code expired. Start again."_s);
    ASSERT_TRUE(shows(u"signIn.start"_s));
    ASSERT_TRUE(shows(u"signIn.orphanedKeyNotice"_s));
    const auto top = [&](const QString &name) { return control(name)->mapTo(view, QPoint()).y(); };
    EXPECT_LT(top(u"signIn.start"_s), top(u"signIn.error"_s));
    EXPECT_LT(top(u"signIn.error"_s), top(u"signIn.orphanedKeyNotice"_s));
    EXPECT_LT(top(u"signIn.orphanedKeyNotice"_s), top(u"signIn.footnote"_s));

    QTest::mouseClick(dismiss, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shows(u"signIn.orphanedKeyNotice"_s); }));
    EXPECT_FALSE(harness.session().orphanedKeyNotice().has_value());

    // A new attempt clears the error.
    harness.service().setDevicePollStatuses({ u"pending"_s });
    click(u"signIn.start"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shows(u"signIn.error"_s); }));
}

TEST_F(SignInScreenTest, ServiceTextIsShownLiterally)
{
    harness.service().setResponse("POST", u"/api/cli/device/start"_s,
        CannedResponse::json(200,
            QByteArray(R"({"deviceCode":"dev-code-1","userCode":"<b>AB&amp;12</b>","verificationUrl":")")
                + harness.service().baseURL().toString().toUtf8() + R"(/device","expiresIn":600})"));
    openSignInScreen();
    click(u"signIn.start"_s);
    ASSERT_TRUE(waitForState(Kind::signingIn));
    auto *code = harness.find<QLabel>(u"signIn.userCode"_s);
    EXPECT_EQ(code->textFormat(), Qt::PlainText);
    EXPECT_EQ(code->text(), u"<b>AB&amp;12</b>"_s);
    EXPECT_TRUE(code->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    EXPECT_TRUE(code->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
}

TEST_F(SignInScreenTest, ShowingTheScreenDuringASignInDoesNotOpenThePageAgain)
{
    window = harness.start();
    harness.session().signIn();
    ASSERT_TRUE(waitForState(Kind::signingIn));
    window->rootView()->requestCloudSignIn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->screen() == RootView::Screen::signIn; }));
    EXPECT_TRUE(harness.openedURLs().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return harness.find(u"signIn.pending"_s) && shows(u"signIn.pending"_s); }));

    // A new code with a new address opens that address.
    const QUrl second(harness.service().baseURL().toString() + u"/device/second"_s);
    harness.service().setDeviceVerificationURL(second.toString());
    harness.session().signIn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.session().state().verificationURL() == second; }));
    ASSERT_EQ(harness.openedURLs().size(), 1);
    EXPECT_EQ(harness.openedURLs().first(), second);
}

// The code and the address are stops of Tab, selected whole on arrival; Shift and the arrows select
// part of one, and Ctrl+C copies what is selected (with nothing on the clipboard before).
TEST_F(SignInScreenTest, TheCodeAndAddressAreSelectedAndCopiedFromTheKeyboard)
{
    QGuiApplication::clipboard()->clear();
    harness.service().setDevicePollStatuses({ u"pending"_s });
    openSignInScreen();
    click(u"signIn.start"_s);
    ASSERT_TRUE(waitForState(Kind::signingIn));
    auto *code = harness.find<QLabel>(u"signIn.userCode"_s);
    auto *address = harness.find<QLabel>(u"signIn.verificationURL"_s);
    QWidget *reopen = control(u"signIn.reopen"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return address->isVisible() && !address->text().isEmpty(); }));
    reopen->setFocus(Qt::OtherFocusReason);

    pressKeys(window, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), address);
    EXPECT_EQ(address->selectedText(), address->text());
    pressKeys(window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), address->text());
    pressKeys(window, Qt::Key_Home);
    EXPECT_FALSE(address->hasSelectedText());
    for (int i = 0; i < 5; ++i)
        pressKeys(window, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(address->selectedText(), address->text().left(5));
    pressKeys(window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), address->text().left(5));

    pressKeys(window, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), code);
    EXPECT_EQ(code->selectedText(), StandInService::userCode());
    pressKeys(window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), StandInService::userCode());
    pressKeys(window, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), address);
    pressKeys(window, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), reopen);
}

// Tab and Shift+Tab each go round the card, from "Open browser" back to it, over the code and the
// address and nothing that shows no focus; each is selected whole on arrival and Ctrl+C copies it. Reached from the
// workspace's "Connect Cloud", as from a start with the sign-in screen.
TEST_F(SignInScreenTest, TabEitherWayGoesRoundTheCardOverTheCodeAndAddress)
{
    harness.service().setDevicePollStatuses({ u"pending"_s });
    window = harness.start({});
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->screen() == RootView::Screen::workspace; }));
    click(u"connectCloudButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->screen() == RootView::Screen::signIn; }));
    // The screen comes with the keyboard on "Continue to Orvane".
    ASSERT_TRUE(QTest::qWaitFor([&] { return control(u"signIn.start"_s)->hasFocus(); }));
    pressKeys(window, Qt::Key_Space);
    ASSERT_TRUE(waitForState(Kind::signingIn));
    auto *code = harness.find<QLabel>(u"signIn.userCode"_s);
    auto *address = harness.find<QLabel>(u"signIn.verificationURL"_s);
    QWidget *reopen = control(u"signIn.reopen"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return address->isVisible() && reopen->hasFocus(); }));

    for (const bool onward : { true, false }) {
        const std::string way = onward ? "Tab" : "Shift+Tab";
        QStringList stops;
        for (int press = 0; press < 12; ++press) {
            QGuiApplication::clipboard()->clear();
            pressKeys(window, onward ? Qt::Key_Tab : Qt::Key_Backtab, onward ? Qt::NoModifier : Qt::ShiftModifier);
            auto *stop = qobject_cast<QLabel *>(QApplication::focusWidget());
            if (stop == code || stop == address) {
                EXPECT_EQ(stop->selectedText(), stop->text()) << way;
                pressKeys(window, Qt::Key_C, Qt::ControlModifier);
                EXPECT_EQ(QGuiApplication::clipboard()->text(), stop->text()) << way;
            }
            ASSERT_NE(QApplication::focusWidget(), nullptr) << way;
            stops.append(QApplication::focusWidget()->objectName());
            if (QApplication::focusWidget() == reopen)
                break;
        }
        const QStringList expected = onward
            ? QStringList { u"signIn.cancel"_s, u"signIn.userCode"_s, u"signIn.verificationURL"_s, u"signIn.reopen"_s }
            : QStringList { u"signIn.verificationURL"_s, u"signIn.userCode"_s, u"signIn.cancel"_s, u"signIn.reopen"_s };
        EXPECT_EQ(stops, expected) << way << ": " << stops.join(u' ').toStdString();
    }
}

// The address to approve at stands beside the code as text to select and copy; when no browser
// opens it the card says so, and it stops saying so once "Open browser" does open it.
TEST_F(SignInScreenTest, TheAddressIsShownBesideTheCodeAndAFailedBrowserIsTold)
{
    harness.service().setDevicePollStatuses({ u"pending"_s });
    harness.setBrowserAvailable(false);
    openSignInScreen();
    click(u"signIn.start"_s);
    ASSERT_TRUE(waitForState(Kind::signingIn));

    auto *address = harness.find<QLabel>(u"signIn.verificationURL"_s);
    ASSERT_NE(address, nullptr);
    EXPECT_TRUE(address->isVisible());
    EXPECT_EQ(address->textFormat(), Qt::PlainText);
    EXPECT_EQ(address->text(), harness.session().state().verificationURL().toString());
    EXPECT_TRUE(address->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    EXPECT_TRUE(address->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
    address->setSelection(0, int(address->text().size()));
    EXPECT_EQ(address->selectedText(), address->text());
    EXPECT_TRUE(harness.openedURLs().isEmpty());
    EXPECT_TRUE(shows(u"signIn.browserNotice"_s));
    EXPECT_EQ(blockText(u"signIn.browserNotice"_s),
        u"No browser could be opened here. Open the address above in a browser to approve this device."_s);

    // "Open browser" tries again: still none, then one.
    click(u"signIn.reopen"_s);
    EXPECT_TRUE(shows(u"signIn.browserNotice"_s));
    harness.setBrowserAvailable(true);
    click(u"signIn.reopen"_s);
    EXPECT_EQ(harness.openedURLs().size(), 1);
    EXPECT_FALSE(shows(u"signIn.browserNotice"_s));

    // Cancelled, the card and its address go; a new sign-in that opens at once tells nothing.
    harness.setBrowserAvailable(false);
    click(u"signIn.reopen"_s);
    ASSERT_TRUE(shows(u"signIn.browserNotice"_s));
    click(u"signIn.cancel"_s);
    ASSERT_TRUE(waitForState(Kind::signedOut));
    EXPECT_FALSE(shows(u"signIn.browserNotice"_s));
    EXPECT_FALSE(address->isVisible());
    harness.setBrowserAvailable(true);
    click(u"signIn.start"_s);
    ASSERT_TRUE(waitForState(Kind::signingIn));
    EXPECT_FALSE(shows(u"signIn.browserNotice"_s));
    EXPECT_EQ(harness.openedURLs().size(), 2);
}

// The screen lays itself out for its own size and the accessibility text size (the measures of each
// layout are pinned by the layout's own test).
TEST_F(SignInScreenTest, LayoutFollowsTheWindowSizeAndTheAccessibilityTextSize)
{
    openSignInScreen();
    const int menuHeight = window->menuBar()->height();
    window->resize(1000, 800 + menuHeight);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->size() == QSize(1000, 800); }));
    EXPECT_TRUE(view->currentLayout().sideBySide);
    QCoreApplication::processEvents();
    EXPECT_EQ(control(u"signIn.start"_s)->width(), 320);
    // Side by side: the entry column sits to the right of the heading.
    EXPECT_GT(control(u"signIn.start"_s)->mapTo(view, QPoint()).x(),
        control(u"signIn.heading"_s)->mapTo(view, QPoint()).x() + 200);

    // The accessibility text size keeps one column, with the heading at that layout's size.
    view->setAccessibilityTextSize(true);
    EXPECT_FALSE(view->currentLayout().sideBySide);
    QCoreApplication::processEvents();
    EXPECT_LE(control(u"signIn.start"_s)->width(), 400);
    EXPECT_EQ(harness.find<QLabel>(u"signIn.heading"_s)->font().pixelSize(), 40);
    view->setAccessibilityTextSize(false);

    window->resize(800, 700 + menuHeight);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->size() == QSize(800, 700); }));
    EXPECT_FALSE(view->currentLayout().sideBySide);
    QCoreApplication::processEvents();
    EXPECT_LE(control(u"signIn.start"_s)->width(), 400);
    EXPECT_GT(
        control(u"signIn.start"_s)->mapTo(view, QPoint()).y(), control(u"signIn.heading"_s)->mapTo(view, QPoint()).y());
    // The block is centred.
    const int left = control(u"signIn.start"_s)->mapTo(view, QPoint()).x();
    const int right = view->width() - (left + control(u"signIn.start"_s)->width());
    EXPECT_NEAR(left, right, 2);

    window->resize(700, 450 + menuHeight);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->size() == QSize(700, 450); }));
    EXPECT_TRUE(view->currentLayout().compact);
}
