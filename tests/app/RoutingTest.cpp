#include "AppTestSupport.h"

#include "app/RootView.h"
#include "app/SignInView.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"
#include "platform/ui/ApplicationFonts.h"
#include "testsupport/desktop/FileSizeLimit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

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

// "Connect Cloud" takes the workspace away while signed out: unsaved local text is settled first,
// with the question the window asks when it closes. Cancel keeps the workspace and the text; Save
// All writes it before the sign-in screen comes; the next workspace reads it back.
TEST(RoutingTest, ConnectCloudWithUnsavedLocalTextAsksFirstAndCancelKeepsTheWorkspace)
{
    AppHarness harness;
    RootView *root = harness.start()->rootView();
    QPointer<CampaignIDEWorkspaceView> workspace = root->workspace();
    ASSERT_TRUE(workspace);
    CampaignIDEWorkspaceModel *model = workspace->model();
    model->openThread(model->threads().first().id, IDEWorkbenchView::localFiles);
    model->setSelectedLocalFileName(u"campaign-plan.md"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->selectedLocalFileName() == u"campaign-plan.md"_s; }));
    const QString path = model->selectedLocalFile()->url.toLocalFile();
    auto *editor = harness.find<QPlainTextEdit>(u"localFileEditor"_s);
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor->isVisible(); }));
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, u" typed"_s);
    ASSERT_TRUE(model->hasUnsavedLocalFiles());

    QStringList asked;
    const auto answerWith = [&asked](QMessageBox::StandardButton answer) {
        QTimer::singleShot(0, qApp, [&asked, answer] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->objectName(), u"unsavedFilesMessageBox"_s);
            asked.append(box->text());
            box->button(answer)->click();
        });
    };
    auto *connectCloud = harness.find<QAbstractButton>(u"connectCloudButton"_s);
    ASSERT_NE(connectCloud, nullptr);

    answerWith(QMessageBox::Cancel);
    QTest::mouseClick(connectCloud, Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(root->screen(), Screen::workspace);
    EXPECT_EQ(root->workspace(), workspace.data());
    EXPECT_FALSE(root->showsCloudSignInScreen());
    EXPECT_TRUE(model->hasUnsavedLocalFiles());
    EXPECT_TRUE(model->localFileEditorContent().endsWith(u" typed"_s));

    answerWith(QMessageBox::SaveAll);
    QTest::mouseClick(connectCloud, Qt::LeftButton);
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked.first(), asked.last());
    ASSERT_TRUE(waitForScreen(root, Screen::signIn));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().endsWith(" typed"));

    auto *local = harness.find<QAbstractButton>(u"signIn.localIDE"_s);
    ASSERT_NE(local, nullptr);
    QTest::mouseClick(local, Qt::LeftButton);
    ASSERT_TRUE(waitForScreen(root, Screen::workspace));
    CampaignIDEWorkspaceModel *next = root->workspace()->model();
    EXPECT_FALSE(next->hasUnsavedLocalFiles());
}

// A workspace that goes while text is still unsaved (the account signed out under it) keeps that
// text beside its file instead of dropping it.
TEST(RoutingTest, AWorkspaceThatGoesWithUnsavedTextKeepsItBesideItsFile)
{
    AppHarness harness;
    RootView *root = harness.start({}, AppHarness::account())->rootView();
    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.session().account().has_value(); }));
    CampaignIDEWorkspaceModel *model = root->workspace()->model();
    model->openProject(model->projects().first().id);
    model->flushPendingWrites();
    ASSERT_TRUE(model->selectedLocalFile());
    const QFileInfo file(model->selectedLocalFile()->url.toLocalFile());
    model->updateSelectedLocalFileContent(u"nobody saved this"_s);

    root->requestCloudSignIn(); // signed in: the workspace stays, no question
    QCoreApplication::processEvents();
    ASSERT_EQ(root->screen(), Screen::workspace);
    harness.session().signOut();
    ASSERT_TRUE(waitForScreen(root, Screen::signIn));

    const QStringList kept
        = file.dir().entryList({ file.completeBaseName() + u".unsaved-*."_s + file.suffix() }, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    QFile copy(file.dir().filePath(kept.first()));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "nobody saved this");
}

// Save All that cannot write (the disk is full) leaves nothing behind: the workspace stays with the
// text, and the notice says why.
TEST(RoutingTest, ConnectCloudWhoseSaveFailsKeepsTheWorkspaceAndTheText)
{
    AppHarness harness;
    RootView *root = harness.start()->rootView();
    QPointer<CampaignIDEWorkspaceView> workspace = root->workspace();
    CampaignIDEWorkspaceModel *model = workspace->model();
    model->openProject(model->projects().first().id);
    model->flushPendingWrites();
    ASSERT_TRUE(model->selectedLocalFile());
    const QString name = model->selectedLocalFile()->name;
    model->updateSelectedLocalFileContent(u"text that must stay"_s);
    const FileSizeLimit full(8);

    QTimer::singleShot(0, qApp, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::SaveAll)->click();
    });
    root->requestCloudSignIn();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(root->screen(), Screen::workspace);
    ASSERT_TRUE(workspace);
    EXPECT_EQ(root->workspace(), workspace.data());
    EXPECT_TRUE(model->hasUnsavedLocalFiles());
    EXPECT_EQ(model->localFileEditorContent(), u"text that must stay"_s);
    EXPECT_TRUE(model->statusNotice().value_or(QString()).startsWith(u"Failed to save "_s + name + u": "_s));
}
