#include "AppTestSupport.h"

#include "app/RootView.h"
#include "app/SignInView.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"
#include "platform/ui/ApplicationFonts.h"

#include <QAbstractButton>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;
using Screen = RootView::Screen;

namespace {

bool waitForScreen(RootView *root, Screen screen)
{
    return QTest::qWaitFor([&] { return root->screen() == screen; });
}

} // namespace

TEST(LaunchArgumentsTest, OnlyTheExactArgumentAsksForTheSignInScreen)
{
    EXPECT_TRUE(RootView::wantsSignInScreen({ u"/usr/bin/orvane"_s, u"--sign-in"_s }));
    EXPECT_TRUE(RootView::wantsSignInScreen({ u"/usr/bin/orvane"_s, u"-x"_s, u"--sign-in"_s }));
    EXPECT_FALSE(RootView::wantsSignInScreen({ u"/usr/bin/orvane"_s }));
    EXPECT_FALSE(RootView::wantsSignInScreen({ u"/usr/bin/orvane"_s, u"--sign-in=yes"_s }));
    EXPECT_FALSE(RootView::wantsSignInScreen({ u"/usr/bin/orvane"_s, u"--Sign-In"_s }));
    EXPECT_FALSE(RootView::wantsSignInScreen({ u"/usr/bin/orvane"_s, u"--sign-in "_s }));
}

TEST(RoutingTest, SignInArgumentWithAStoredAccountShowsTheWorkspace)
{
    AppHarness harness;
    RootView *root = harness.start({ u"--sign-in"_s }, AppHarness::account())->rootView();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.session().isRestoring(); }));
    ASSERT_TRUE(waitForScreen(root, Screen::workspace));
    EXPECT_TRUE(root->showsCloudSignInScreen()); // the flag stays set; the account wins
    EXPECT_EQ(root->signInView(), nullptr);
}

// A plain launch opens the local workspace without an account; asking for the cloud sign-in then
// shows its screen, and the local IDE from there builds a new workspace that reads what the first
// one changed.
TEST(RoutingTest, CloudSignInRequestWhileSignedOutThenLocalIDEBuildsANewWorkspace)
{
    AppHarness harness;
    RootView *root = harness.start()->rootView();
    EXPECT_EQ(root->screen(), Screen::workspace);
    EXPECT_EQ(root->signInView(), nullptr);
    EXPECT_FALSE(harness.session().account().has_value());
    // The sign-in screen's own fonts are registered when it is first shown, not before.
    EXPECT_FALSE(ui::OrvaneSignInType::fonts().isRegistered());
    QPointer<CampaignIDEWorkspaceView> first = root->workspace();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    first->model()->createProject(u"Carried Over"_s, std::nullopt, static_cast<SessionStore *>(nullptr));

    root->requestCloudSignIn();
    ASSERT_TRUE(waitForScreen(root, Screen::signIn));
    EXPECT_TRUE(ui::OrvaneSignInType::fonts().isRegistered());
    // The workspace that was left goes with its state.
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }));

    auto *local = harness.find<QAbstractButton>(u"signIn.localIDE"_s);
    ASSERT_NE(local, nullptr);
    QTest::mouseClick(local, Qt::LeftButton);
    ASSERT_TRUE(waitForScreen(root, Screen::workspace));
    EXPECT_FALSE(root->showsCloudSignInScreen());
    ASSERT_NE(root->workspace(), nullptr);
    EXPECT_EQ(harness.find(u"signIn.start"_s), nullptr);
    const auto &projects = root->workspace()->model()->projects();
    EXPECT_TRUE(std::any_of(projects.begin(), projects.end(),
        [](const CampaignIDEProject &project) { return project.name == u"Carried Over"_s; }));
}

TEST(RoutingTest, CloudSignInRequestWhileSignedInKeepsTheWorkspace)
{
    AppHarness harness;
    RootView *root = harness.start({}, AppHarness::account())->rootView();
    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.session().account().has_value(); }));
    QPointer<CampaignIDEWorkspaceView> workspace = root->workspace();
    QSignalSpy screens(root, &RootView::screenChanged);

    root->requestCloudSignIn();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(root->screen(), Screen::workspace);
    EXPECT_EQ(root->workspace(), workspace.data());
    EXPECT_EQ(screens.count(), 0);

    // Signing out while the flag is set brings the sign-in screen.
    harness.session().signOut();
    ASSERT_TRUE(waitForScreen(root, Screen::signIn));
}
