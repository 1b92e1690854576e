#include "AppTestSupport.h"

#include "app/RootView.h"
#include "app/SignInView.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"

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

TEST(RoutingTest, APlainLaunchOpensTheLocalWorkspaceWithoutAnAccount)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    RootView *root = window->rootView();
    EXPECT_EQ(root->screen(), Screen::workspace);
    ASSERT_NE(root->workspace(), nullptr);
    EXPECT_EQ(root->signInView(), nullptr);
    EXPECT_FALSE(harness.session().account().has_value());
    EXPECT_TRUE(root->workspace()->isVisible());
}

TEST(RoutingTest, SignInArgumentWithoutAnAccountShowsTheSignInScreen)
{
    AppHarness harness;
    RootView *root = harness.start({ u"--sign-in"_s })->rootView();
    ASSERT_TRUE(waitForScreen(root, Screen::signIn));
    EXPECT_EQ(root->workspace(), nullptr);
    ASSERT_NE(harness.find(u"signIn.start"_s), nullptr);
    EXPECT_TRUE(harness.find(u"signIn.start"_s)->isVisible());
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

TEST(RoutingTest, CloudSignInRequestWhileSignedOutThenLocalIDEBuildsANewWorkspace)
{
    AppHarness harness;
    RootView *root = harness.start()->rootView();
    QPointer<CampaignIDEWorkspaceView> first = root->workspace();
    ASSERT_TRUE(first);

    root->requestCloudSignIn();
    ASSERT_TRUE(waitForScreen(root, Screen::signIn));
    // The workspace that was left goes with its state.
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }));

    auto *local = harness.find<QAbstractButton>(u"signIn.localIDE"_s);
    ASSERT_NE(local, nullptr);
    QTest::mouseClick(local, Qt::LeftButton);
    ASSERT_TRUE(waitForScreen(root, Screen::workspace));
    EXPECT_FALSE(root->showsCloudSignInScreen());
    ASSERT_NE(root->workspace(), nullptr);
    EXPECT_NE(root->workspace()->model(), nullptr);
    EXPECT_EQ(harness.find(u"signIn.start"_s), nullptr);
}

TEST(RoutingTest, ChangesMadeBeforeLeavingAreReadByTheNextWorkspace)
{
    AppHarness harness;
    RootView *root = harness.start()->rootView();
    CampaignIDEWorkspaceModel *model = root->workspace()->model();
    model->createProject(u"Carried Over"_s, std::nullopt, static_cast<SessionStore *>(nullptr));

    root->requestCloudSignIn();
    ASSERT_TRUE(waitForScreen(root, Screen::signIn));
    root->openLocalWorkspace();
    ASSERT_TRUE(waitForScreen(root, Screen::workspace));
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
