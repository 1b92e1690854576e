#include "AppTestSupport.h"

#include "app/DeferredIconStyle.h"
#include "app/RootView.h"
#include "app/SignInView.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceMirror.h"
#include "ide/views/kit/BrandColors.h"
#include "ide/views/kit/OrvaneWebTheme.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"
#include "kit/brand/Brand.h"
#include "testsupport/Pictures.h"
#include "testsupport/desktop/FileSizeLimit.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

// Each case draws the real window and keeps the picture in the temporary folder
// (orvane-grabs/<name>.png) for a person to look at; the assertions check the colours on screen.

namespace {

QImage grab(QWidget *widget, const QString &name)
{
    keepPicture(widget, name + u".png"_s, 1, QDir::temp().filePath(u"orvane-grabs"_s));
    return widget->grab().toImage();
}

QColor brand(const BrandAdaptiveColor &color)
{
    return resolve(color, QGuiApplication::palette());
}

QColor pixelAt(const QImage &image, QWidget *root, QWidget *widget, QPoint offset)
{
    const QPoint point = widget->mapTo(root, offset) * image.devicePixelRatio();
    return image.pixelColor(point);
}

void resizeContent(OrvaneMainWindow *window, QSize content)
{
    window->resize(content.width(), content.height() + window->menuBar()->height());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->rootView()->size() == content; }));
    QCoreApplication::processEvents();
}

} // namespace

// The sign-in screen in the brand colours, recoloured in place for a dark appearance, and while
// signing in.
TEST(WindowGrabTest, SignInScreenInTheBrandColoursLightDarkAndSigningIn)
{
    AppHarness harness;
    harness.service().setDevicePollStatuses({ u"pending"_s });
    OrvaneMainWindow *window = harness.start({ u"--sign-in"_s });
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->screen() == RootView::Screen::signIn; }));
    resizeContent(window, { 1440, 900 });
    const QImage image = grab(window, u"sign-in"_s);
    SignInView *view = window->rootView()->signInView();

    EXPECT_EQ(pixelAt(image, window, window->rootView(), { 5, 5 }), brand(Brand::bgPrimary()));
    QWidget *start = harness.find(u"signIn.start"_s);
    EXPECT_EQ(pixelAt(image, window, start, { 4, start->height() / 2 }), brand(Brand::textPrimary()));
    QWidget *local = harness.find(u"signIn.localIDE"_s);
    EXPECT_EQ(pixelAt(image, window, local, { 4, local->height() / 2 }), brand(Brand::bgSecondary()));
    EXPECT_EQ(pixelAt(image, window, local, { local->width() / 2, 0 }), brand(Brand::borderPrimary()));

    const QPalette light = QGuiApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x24));
    dark.setColor(QPalette::WindowText, QColor(0xF0, 0xF0, 0xF0));
    QApplication::setPalette(dark);
    QCoreApplication::processEvents();
    const QImage darkImage = grab(window, u"sign-in-dark"_s);
    QApplication::setPalette(light);
    QCoreApplication::processEvents();

    EXPECT_EQ(window->rootView()->signInView(), view); // recoloured, not rebuilt
    EXPECT_EQ(pixelAt(darkImage, window, window->menuBar(), { window->menuBar()->width() / 2, 4 }),
        toQColor(*Brand::bgPrimary().dark));
    EXPECT_EQ(pixelAt(darkImage, window, window->rootView(), { 5, 5 }), toQColor(*Brand::bgPrimary().dark));
    EXPECT_EQ(pixelAt(darkImage, window, start, { 4, start->height() / 2 }), toQColor(*Brand::textPrimary().dark));

    harness.session().signIn();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return harness.session().state().kind() == SessionStore::State::Kind::signingIn; }));
    QCoreApplication::processEvents();
    const QImage pending = grab(window, u"sign-in-pending"_s);
    QWidget *card = harness.find(u"signIn.pending"_s);
    EXPECT_EQ(pixelAt(pending, window, card, { card->width() / 2, card->height() - 3 }), brand(Brand::bgSecondary()));
}

TEST(WindowGrabTest, MainWindowWithTheWorkspace)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    resizeContent(window, { 1440, 900 - 24 });
    const QImage image = grab(window, u"main-window"_s);
    EXPECT_FALSE(image.isNull());

    // The menu bar follows the workspace's theme both ways.
    CampaignIDEWorkspaceView *workspace = window->rootView()->workspace();
    ASSERT_NE(workspace, nullptr);
    for (const bool dark : { false, true }) {
        workspace->model()->setDarkTheme(dark);
        EXPECT_EQ(window->menuBar()->palette().color(QPalette::Window), OrvaneWebTheme(dark).sidebarBackground());
        for (QAction *entry : window->menuBar()->actions()) {
            EXPECT_EQ(entry->menu()->palette().color(QPalette::Window), OrvaneWebTheme(dark).sidebarBackground())
                << entry->text().toStdString();
        }
    }
}

// The application's style draws every scroll bar's handle so that it stands out from its groove:
// darker than the groove in the light theme, lighter in the dark one.
TEST(WindowGrabTest, ScrollBarHandlesStandOutFromTheirGroovesInBothThemes)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    resizeContent(window, { 1440, 900 - 24 });
    CampaignIDEWorkspaceModel *model = window->rootView()->workspace()->model();
    model->openProject(CampaignIDEWorkspaceModel::sampleProjectID);
    auto *document = harness.find<QAbstractScrollArea>(u"planDocumentScrollArea"_s);
    ASSERT_NE(document, nullptr);
    QScrollBar *bar = document->verticalScrollBar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->isVisible() && bar->maximum() > 0; }));
    DeferredIconStyle style;
    bar->setStyle(&style);
    bar->setValue(bar->minimum());

    for (const bool dark : { false, true }) {
        model->setDarkTheme(dark);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->findChild<QWidget *>(u"themeCrossFade"_s); }));
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = bar->orientation();
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        option.subControls = QStyle::SC_All;
        const QRect handle = style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
        const QRect groove = style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, bar);
        ASSERT_GT(groove.bottom() - handle.bottom(), 8);

        const QImage image = grab(bar, dark ? u"scroll-bar-dark"_s : u"scroll-bar-light"_s);
        const QColor onHandle = image.pixelColor(handle.center() * image.devicePixelRatio());
        const QColor onGroove = image.pixelColor(
            QPoint(groove.center().x(), (handle.bottom() + groove.bottom()) / 2) * image.devicePixelRatio());
        const int contrast = onHandle.lightness() - onGroove.lightness();
        if (dark) {
            EXPECT_GE(contrast, 24) << "handle " << onHandle.name().toStdString() << " on "
                                    << onGroove.name().toStdString();
        } else {
            EXPECT_LE(contrast, -24) << "handle " << onHandle.name().toStdString() << " on "
                                     << onGroove.name().toStdString();
        }
    }
    bar->setStyle(QApplication::style());
}

// --- Prompts and menus over the workspace -----------------------------------------------------------

// A message box over the workspace is drawn in the workspace's theme, as its menus and popups are:
// the Save All / Discard / Cancel prompt over the dark window is dark, a notice left open (the
// storage problem, the read-only notice) follows a change of the theme, and so does the Try Again /
// Quit Anyway prompt. The dividers of the menu bar's menus show on them.
TEST(WindowGrabTest, PromptsAndMenusOverTheWorkspaceTakeItsTheme)
{
    AppHarness harness;
    // The offscreen platform lets no menu grab the keyboard.
    ExpectQtWarnings offscreenMenus { { u"does not support grabbing the keyboard"_s } };
    OrvaneMainWindow *window = harness.start();
    CampaignIDEWorkspaceView *workspace = window->rootView()->workspace();
    ASSERT_NE(workspace, nullptr);
    CampaignIDEWorkspaceModel *model = workspace->model();
    ASSERT_TRUE(model->isDarkTheme());
    const QPalette dark = OrvaneWebTheme(true).palette();
    const QPalette light = OrvaneWebTheme(false).palette();

    model->openProject(model->projects().first().id);
    model->flushPendingWrites();
    ASSERT_TRUE(model->selectedLocalFile());
    model->updateSelectedLocalFileContent(u"unsaved text"_s);
    QPalette asked;
    QImage prompt;
    QTimer::singleShot(0, qApp, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->objectName(), u"unsavedFilesMessageBox"_s);
        asked = box->palette();
        prompt = grab(box, u"unsaved-files-prompt-dark"_s);
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_FALSE(window->close());
    for (const QPalette::ColorRole role : { QPalette::Window, QPalette::WindowText, QPalette::Button,
             QPalette::ButtonText, QPalette::Base, QPalette::Text }) {
        EXPECT_EQ(asked.color(role), dark.color(role)) << int(role);
    }
    ASSERT_FALSE(prompt.isNull());
    EXPECT_EQ(prompt.pixelColor(QPoint(2, 2) * prompt.devicePixelRatio()), dark.color(QPalette::Window));
    workspace->mirror().discardUnsavedLocalFiles();

    model->setDarkTheme(false);
    window->showStorageProblem(u"The disk is full."_s);
    auto *notice = harness.find<QMessageBox>(u"storageProblemMessageBox"_s);
    ASSERT_NE(notice, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notice->isVisible(); }));
    EXPECT_EQ(notice->palette().color(QPalette::Window), light.color(QPalette::Window));
    model->setDarkTheme(true);
    EXPECT_EQ(notice->palette().color(QPalette::Window), dark.color(QPalette::Window));
    EXPECT_EQ(notice->palette().color(QPalette::WindowText), dark.color(QPalette::WindowText));
    grab(notice, u"storage-notice-dark"_s);
    notice->close();

    // So does the read-only notice, opened over the light window.
    model->setDarkTheme(false);
    window->showReadOnlyNotice(u"No folder could be locked."_s);
    auto *readOnly = harness.find<QMessageBox>(u"readOnlyMessageBox"_s);
    ASSERT_NE(readOnly, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return readOnly->isVisible(); }));
    EXPECT_EQ(readOnly->palette().color(QPalette::Window), light.color(QPalette::Window));
    EXPECT_EQ(readOnly->palette().color(QPalette::WindowText), light.color(QPalette::WindowText));
    grab(readOnly, u"read-only-notice-light"_s);
    model->setDarkTheme(true);
    EXPECT_EQ(readOnly->palette().color(QPalette::Window), dark.color(QPalette::Window));
    readOnly->close();

    // And the Try Again / Quit Anyway prompt of a quit while the disk refuses the stores' writes;
    // answered with neither, the window stays.
    model->flushPendingWrites();
    {
        FileSizeLimit full(8);
        model->mutateProject(model->projects().first().id, [](CampaignIDEProject &p) { p.name = u"Unsaved"_s; });
        model->flushPendingWrites();
        QPalette storesAsked;
        QTimer::singleShot(0, qApp, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->objectName(), u"unsavedStoresMessageBox"_s);
            storesAsked = box->palette();
            box->reject();
        });
        EXPECT_FALSE(window->close());
        for (const QPalette::ColorRole role : { QPalette::Window, QPalette::WindowText, QPalette::Button }) {
            EXPECT_EQ(storesAsked.color(role), dark.color(role)) << int(role);
        }
    }

    // The File menu's dividers stand out from the menu in both themes.
    QMenu *file = nullptr;
    for (QAction *entry : window->menuBar()->actions()) {
        if (entry->menu() && entry->menu()->objectName() == u"fileMenu"_s)
            file = entry->menu();
    }
    ASSERT_NE(file, nullptr);
    for (const bool isDark : { true, false }) {
        model->setDarkTheme(isDark);
        file->popup(window->mapToGlobal(QPoint(10, 10)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return file->isVisible(); }));
        const QImage image = grab(file, isDark ? u"file-menu-dark"_s : u"file-menu-light"_s);
        int dividers = 0;
        for (QAction *action : file->actions()) {
            if (!action->isSeparator())
                continue;
            ++dividers;
            const QRect rect = file->actionGeometry(action);
            const QPoint top(rect.center().x(), rect.top());
            const QColor ground = image.pixelColor(top * image.devicePixelRatio());
            int strongest = 0;
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                const QColor pixel = image.pixelColor(QPoint(top.x(), y) * image.devicePixelRatio());
                strongest = std::max({ strongest, std::abs(pixel.red() - ground.red()),
                    std::abs(pixel.green() - ground.green()), std::abs(pixel.blue() - ground.blue()) });
            }
            EXPECT_GE(strongest, 32) << (isDark ? "dark" : "light") << " divider " << dividers;
        }
        EXPECT_GT(dividers, 0);
        file->close();
    }
}
