#include "AppTestSupport.h"

#include "app/RootView.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceLocations.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"
#include "kit/session/SessionStore.h"
#include "platform/UserDefaults.h"
#include "testsupport/desktop/FileSizeLimit.h"
#include "voice/VoiceInputProvider.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

TEST(OrvaneAppTest, TheSessionStoreIsMadeOnFirstUseAndOnlyOnce)
{
    TemporaryHome home;
    int made = 0;
    OrvaneApp::Services services = OrvaneApp::standardServices();
    services.makeSession = [&made](QNetworkAccessManager *network, QObject *parent) {
        ++made;
        return new SessionStore(OrvaneEnvironment::production, std::make_shared<MemoryAccountStore>(), network,
            std::chrono::seconds(2), platform::UserDefaults::standard(), parent);
    };
    services.makeVoice = [] { return std::make_shared<voice::UnavailableVoiceProvider>(); };
    OrvaneApp app({ u"orvane"_s }, services);
    EXPECT_FALSE(app.hasSession());
    EXPECT_EQ(made, 0);

    SessionStore *first = &app.session();
    EXPECT_EQ(&app.session(), first);
    OrvaneMainWindow *window = app.openWindow();
    EXPECT_EQ(made, 1);
    EXPECT_EQ(app.windows(), QList<OrvaneMainWindow *>({ window }));
    EXPECT_EQ(window->windowTitle(), u"Orvane"_s);
}

TEST(OrvaneAppTest, TheProductionSessionSignsInToProductionAndStartsSignedOutWithoutAKeyring)
{
    TemporaryHome home;
    // No session bus, so no keyring: the stored account cannot be read and nothing is shown.
    ScopedEnvironmentVariable bus("DBUS_SESSION_BUS_ADDRESS", QByteArray("unix:path=/nonexistent/orvane-test-bus"));
    OrvaneApp app({ u"orvane"_s });
    SessionStore &session = app.session();
    EXPECT_EQ(session.environment(), OrvaneEnvironment::production);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session.isRestoring(); }));
    EXPECT_EQ(session.state().kind(), SessionStore::State::Kind::signedOut);
    EXPECT_FALSE(session.lastError().has_value());
    EXPECT_EQ(session.client().baseURL(), baseURL(OrvaneEnvironment::production));
}

TEST(OrvaneAppTest, TheWindowStartsAtItsDefaultSizeShrunkToASmallerScreen)
{
    EXPECT_EQ(OrvaneMainWindow::initialSize({ 1920, 1080 }), QSize(1440, 900));
    EXPECT_EQ(OrvaneMainWindow::initialSize({ 1440, 900 }), QSize(1440, 900));
    EXPECT_EQ(OrvaneMainWindow::initialSize({ 1280, 1024 }), QSize(1280, 900));
    EXPECT_EQ(OrvaneMainWindow::initialSize({ 1366, 768 }), QSize(1366, 768));
    EXPECT_EQ(OrvaneMainWindow::initialSize({}), QSize(1440, 900));
}

// Once the desktop has framed the first window, the whole frame lies inside the screen's free area:
// a window as large as the screen loses its title bar's and borders' share, one placed partly off
// the screen moves onto it, and one that fits stays where it is.
TEST(OrvaneAppTest, TheFirstPlacementKeepsTheWholeFrameInsideTheScreen)
{
    const QMargins titleBar(1, 25, 1, 1);
    const QRect laptop(0, 0, 1440, 900);
    // 1440 x 900 inside its frame, on a 1440 x 900 screen.
    EXPECT_EQ(OrvaneMainWindow::fittedGeometry(QRect(0, 0, 1442, 926), titleBar, laptop), QRect(1, 25, 1438, 874));
    // The same under a panel that takes the top 30 points.
    EXPECT_EQ(OrvaneMainWindow::fittedGeometry(QRect(0, 0, 1442, 926), titleBar, QRect(0, 30, 1440, 870)),
        QRect(1, 55, 1438, 844));
    // Placed at the centre of the screen, past its right and bottom edges.
    EXPECT_EQ(OrvaneMainWindow::fittedGeometry(QRect(300, 200, 1442, 926), titleBar, laptop), QRect(1, 25, 1438, 874));
    // A wider screen: the window keeps its size and moves up and left just enough.
    const QRect wide(0, 0, 1920, 1080);
    EXPECT_EQ(OrvaneMainWindow::fittedGeometry(QRect(600, 300, 1442, 926), titleBar, wide), QRect(479, 179, 1440, 900));
    EXPECT_EQ(OrvaneMainWindow::fittedGeometry(QRect(-20, -5, 1442, 926), titleBar, wide), QRect(1, 25, 1440, 900));
    // Whole already, or no screen known: left as it is.
    EXPECT_EQ(OrvaneMainWindow::fittedGeometry(QRect(239, 77, 1442, 926), titleBar, wide), std::nullopt);
    EXPECT_EQ(OrvaneMainWindow::fittedGeometry(QRect(0, 0, 1442, 926), titleBar, QRect()), std::nullopt);
}

namespace {

// Answers the question about unsaved local files, once it comes up, with the button.
void answerUnsavedFilesWith(QMessageBox::StandardButton answer)
{
    QTimer::singleShot(0, qApp, [answer] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->objectName(), u"unsavedFilesMessageBox"_s);
        box->button(answer)->click();
    });
}

} // namespace

// The window is active once shown, and activating the application brings it back. Closing with
// unsaved local files asks first: Cancel keeps the window, Save All writes them. With every window
// closed, a hand-over opens a new one.
TEST(OrvaneAppTest, TheWindowComesBackAndClosingWithUnsavedLocalFilesAsksToSaveThem)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    EXPECT_TRUE(window->isActiveWindow());
    window->hide();
    harness.app().activate();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));

    CampaignIDEWorkspaceModel *model = window->rootView()->workspace()->model();
    model->openProject(model->projects().first().id);
    model->flushPendingWrites();
    ASSERT_TRUE(model->selectedLocalFile());
    const QString path = model->selectedLocalFile()->url.toLocalFile();
    model->updateSelectedLocalFileContent(u"unsaved text"_s);

    answerUnsavedFilesWith(QMessageBox::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(model->hasUnsavedLocalFiles());

    answerUnsavedFilesWith(QMessageBox::SaveAll);
    EXPECT_TRUE(window->close());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "unsaved text");

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(harness.app().windows().isEmpty());
    harness.app().activate();
    ASSERT_EQ(harness.app().windows().size(), 1);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(harness.app().windows().first()));
}

// Text typed into a file that cannot be shown now (another program made it Latin-1), in a project
// that is not shown, is still asked about when the window closes; Discard drops it in every
// project and leaves the file on disk as it is.
TEST(OrvaneAppTest, ClosingAsksAboutTextOfFilesNotShownAndDiscardDropsItInEveryProject)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    CampaignIDEWorkspaceModel *model = window->rootView()->workspace()->model();
    ASSERT_GE(model->projects().size(), 2);
    const QUuid first = model->projects().at(0).id;
    const QUuid second = model->projects().at(1).id;
    model->openProject(first);
    model->flushPendingWrites();
    ASSERT_TRUE(model->campaignPlanFile());
    const QString path = model->campaignPlanFile()->url.toLocalFile();
    model->updateCampaignPlanFileContent(u"# A line typed here\n"_s);
    {
        QFile plan(path);
        ASSERT_TRUE(plan.open(QIODevice::Append));
        ASSERT_EQ(plan.write("\xe9"), 1);
    }
    model->reloadLocalFilesForSelectedProject();
    model->flushPendingWrites();
    EXPECT_FALSE(model->campaignPlanFile());
    model->openProject(second);
    model->flushPendingWrites();
    QFile plan(path);
    ASSERT_TRUE(plan.open(QIODevice::ReadOnly));
    const QByteArray onDisk = plan.readAll();
    plan.close();

    answerUnsavedFilesWith(QMessageBox::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(model->hasUnsavedLocalFiles());
    answerUnsavedFilesWith(QMessageBox::Discard);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(model->hasUnsavedLocalFiles());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(plan.open(QIODevice::ReadOnly));
    EXPECT_EQ(plan.readAll(), onDisk);
    EXPECT_TRUE(QDir(QFileInfo(path).path()).entryList({ u"*.unsaved-*"_s }).isEmpty());
}

// A folder that another program put in the place of a file with unsaved text (while another
// project was shown) leaves the text asked about at closing; Save All keeps it beside the folder,
// which stays as it is, and the next window names where it went.
TEST(OrvaneAppTest, ClosingAsksAboutTextOfAFileAFolderTookThePlaceOfAndSaveAllKeepsItBeside)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    CampaignIDEWorkspaceModel *model = window->rootView()->workspace()->model();
    ASSERT_GE(model->projects().size(), 2);
    const QUuid first = model->projects().at(0).id;
    const QUuid second = model->projects().at(1).id;
    const auto show = [&](const QUuid &project) {
        model->openProject(project);
        model->flushPendingWrites();
    };
    show(first);
    ASSERT_TRUE(model->campaignPlanFile());
    const QString path = model->campaignPlanFile()->url.toLocalFile();
    model->updateCampaignPlanFileContent(u"# plan KEEPME-A\n"_s);
    show(second);
    ASSERT_TRUE(QFile::rename(path, path + u".moved"_s));
    ASSERT_TRUE(QDir().mkpath(path));
    show(first);
    EXPECT_FALSE(model->campaignPlanFile());

    answerUnsavedFilesWith(QMessageBox::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(model->hasUnsavedLocalFiles());
    answerUnsavedFilesWith(QMessageBox::SaveAll);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(model->hasUnsavedLocalFiles());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(QFileInfo(path).isDir());
    const QDir folder(QFileInfo(path).path());
    const QStringList kept = folder.entryList({ u"campaign-plan.unsaved-*.md"_s });
    ASSERT_EQ(kept.size(), 1);
    QFile text(folder.filePath(kept.first()));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), "# plan KEEPME-A\n");

    // The window closed on the notice that named it: the next one names it.
    harness.app().activate();
    ASSERT_EQ(harness.app().windows().size(), 1);
    model = harness.app().windows().first()->rootView()->workspace()->model();
    model->flushPendingWrites();
    QCoreApplication::sendPostedEvents(model, QEvent::MetaCall);
    ASSERT_TRUE(model->statusNotice());
    EXPECT_TRUE(model->statusNotice()->contains(kept.first())) << qPrintable(*model->statusNotice());
}

// A draft typed in the composer outlives the workspace screen: Connect Cloud and the way back
// build a new workspace that shows it, and so does the window opened after a quit.
TEST(OrvaneAppTest, ADraftComesBackAfterConnectCloudAndAfterAQuit)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    RootView *root = window->rootView();
    auto *draft = harness.find<QLineEdit>(u"draftField"_s);
    ASSERT_NE(draft, nullptr);
    QTest::keyClicks(draft, u"Plan the spring launch"_s);

    auto *connect = harness.find<QAbstractButton>(u"connectCloudButton"_s);
    ASSERT_NE(connect, nullptr);
    QTest::mouseClick(connect, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return root->screen() == RootView::Screen::signIn; }));
    auto *local = harness.find<QAbstractButton>(u"signIn.localIDE"_s);
    ASSERT_NE(local, nullptr);
    QTest::mouseClick(local, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return root->screen() == RootView::Screen::workspace; }));
    draft = harness.find<QLineEdit>(u"draftField"_s);
    ASSERT_NE(draft, nullptr);
    EXPECT_EQ(draft->text(), u"Plan the spring launch"_s);

    draft->clear();
    QTest::keyClicks(draft, u"Typed before the quit"_s);
    EXPECT_TRUE(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(harness.app().windows().isEmpty());
    harness.app().activate();
    ASSERT_EQ(harness.app().windows().size(), 1);
    auto *reopened = harness.app().windows().first()->findChild<QLineEdit *>(u"draftField"_s);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->text(), u"Typed before the quit"_s);
}

namespace {

// Answers each question about unsaved stores, as it comes up, by clicking the next of its buttons
// (by object name); before it clicks, `before` gets how many were asked so far.
class StoresQuestionAnswerer final : public QObject {
public:
    explicit StoresQuestionAnswerer(QStringList buttons, std::function<void(qsizetype asked)> before = {})
        : m_buttons(std::move(buttons)), m_before(std::move(before))
    {
        connect(&m_poll, &QTimer::timeout, this, &StoresQuestionAnswerer::answer);
        m_poll.start(5);
    }
    QStringList asked;
    QStringList details;

private:
    void answer()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box->property("answered").toBool() || m_buttons.isEmpty())
            return;
        box->setProperty("answered", true);
        EXPECT_EQ(box->objectName(), u"unsavedStoresMessageBox"_s);
        asked.append(box->text());
        details.append(box->informativeText());
        if (m_before)
            m_before(asked.size());
        auto *button = box->findChild<QPushButton *>(m_buttons.takeFirst());
        ASSERT_NE(button, nullptr);
        button->click();
    }

    QStringList m_buttons;
    std::function<void(qsizetype)> m_before;
    QTimer m_poll;
};

} // namespace

// A quit the user asks for while the disk still refuses the stores' writes says what could not be
// saved and waits: Try Again saves once there is room again (and asks again while there is none),
// Quit Anyway quits.
TEST(OrvaneAppTest, AQuitWhileTheDiskRefusesWritesOffersTryAgainAndQuitAnyway)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    CampaignIDEWorkspaceModel *model = window->rootView()->workspace()->model();
    model->flushPendingWrites();
    const QString stateFile = WorkspaceLocations::standard().stateFile;
    auto full = std::make_unique<FileSizeLimit>(8);
    model->mutateProject(model->projects().first().id, [](CampaignIDEProject &p) { p.name = u"Renamed While Full"_s; });
    model->flushPendingWrites();
    {
        StoresQuestionAnswerer answers({ u"tryAgainButton"_s, u"tryAgainButton"_s }, [&](qsizetype asked) {
            if (asked == 2)
                full.reset(); // room again
        });
        EXPECT_TRUE(window->close());
        ASSERT_EQ(answers.asked.size(), 2);
        EXPECT_EQ(answers.asked.first(), u"Orvane could not save your campaign projects."_s);
        EXPECT_TRUE(answers.details.first().contains(u"Try Again"_s)) << qPrintable(answers.details.first());
    }
    QFile state(stateFile);
    ASSERT_TRUE(state.open(QIODevice::ReadOnly));
    EXPECT_TRUE(state.readAll().contains("Renamed While Full"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    harness.app().activate();
    ASSERT_EQ(harness.app().windows().size(), 1);
    window = harness.app().windows().first();
    model = window->rootView()->workspace()->model();
    model->flushPendingWrites();
    full = std::make_unique<FileSizeLimit>(8);
    model->mutateProject(model->projects().first().id, [](CampaignIDEProject &p) { p.name = u"Quit Anyway"_s; });
    model->flushPendingWrites();
    {
        StoresQuestionAnswerer answers({ u"quitAnywayButton"_s });
        EXPECT_TRUE(window->close());
        EXPECT_EQ(answers.asked.size(), 1);
    }
    full.reset();
}

// The rescue copy is made before the box offers Quit Anyway: where no folder takes it, the box says
// that Quit Anyway then loses the work; where one does, the copy is there before the answer.
TEST(OrvaneAppTest, QuitAnywayIsOfferedOnceTheRescueCopyWasTriedAndSaysWhenNothingKeepsTheWork)
{
    AppHarness harness;
    const WorkspaceLocations locations = WorkspaceLocations::standard();
    const QString dataFolder = QFileInfo(locations.stateFile).path();
    const QString cacheCopy = locations.rescueFiles.at(1);
    for (const bool copyTaken : { false, true }) {
        if (copyTaken)
            harness.app().activate();
        OrvaneMainWindow *window = copyTaken ? harness.app().windows().first() : harness.start();
        CampaignIDEWorkspaceModel *model = window->rootView()->workspace()->model();
        model->flushPendingWrites();
        // Every folder refuses writes, or only the data folder (a file takes its place).
        auto full = copyTaken ? nullptr : std::make_unique<FileSizeLimit>(8);
        if (copyTaken) {
            ASSERT_TRUE(
                QDir().rename(dataFolder, dataFolder + u".away"_s) && QFile(dataFolder).open(QIODevice::WriteOnly));
        }
        model->mutateProject(model->projects().first().id, [](CampaignIDEProject &p) { p.name = u"Kept"_s; });
        model->flushPendingWrites();
        bool copiedBeforeTheAnswer = false;
        StoresQuestionAnswerer answers(
            { u"quitAnywayButton"_s }, [&](qsizetype) { copiedBeforeTheAnswer = QFileInfo::exists(cacheCopy); });
        EXPECT_TRUE(window->close());
        full.reset();
        ASSERT_EQ(answers.details.size(), 1);
        EXPECT_EQ(answers.details.first().contains(u"Quit Anyway then loses it."_s), !copyTaken);
        EXPECT_EQ(answers.details.first().contains(u"brings it back the next time it starts"_s), copyTaken);
        EXPECT_EQ(copiedBeforeTheAnswer, copyTaken);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    ASSERT_TRUE(QFile::remove(dataFolder) && QDir().rename(dataFolder + u".away"_s, dataFolder));
}
