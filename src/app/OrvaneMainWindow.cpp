#include "app/OrvaneMainWindow.h"

#include "app/BrandSymbol.h"
#include "app/CampaignIDECommands.h"
#include "app/DesktopFrame.h"
#include "app/RootView.h"
#include "app/StandardMenus.h"
#include "app/WindowMessageBox.h"
#include "ide/views/kit/BrandColors.h"
#include "ide/views/kit/ThemeMenus.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <memory>
#include <optional>

namespace orvane {

using namespace Qt::StringLiterals;

OrvaneMainWindow::OrvaneMainWindow(SessionStore *session, std::shared_ptr<voice::VoiceInputProvider> voice,
    bool showCloudSignInScreen, QWidget *parent)
    : QMainWindow(parent),
      m_root(new RootView(session, std::move(voice), showCloudSignInScreen, this)),
      m_standardMenus(new StandardMenus(this)),
      m_commands(new CampaignIDECommands(menuBar(), this))
{
    m_standardMenus->addHelpMenu();
    setObjectName(u"orvaneMainWindow"_s);
    setWindowTitle(u"Orvane"_s);
    setWindowIcon(brandSymbolIcon());
    menuBar()->setObjectName(u"menuBar"_s);
    setCentralWidget(m_root);

    applyTint();

    const QScreen *screen = QGuiApplication::primaryScreen();
    resize(initialSize(screen ? screen->availableSize() : defaultSize));

    const auto publish = [this] { m_commands->setActions(m_root->focusedActions()); };
    connect(m_root, &RootView::focusedActionsChanged, this, publish);
    publish();

    // The chrome follows the theme of the workspace shown, the one shown from the start included.
    const auto followScreen = [this] {
        if (CampaignIDEWorkspaceView *workspace = m_root->workspace())
            connect(workspace->themeSource(), &ThemeSource::themeChanged, this, &OrvaneMainWindow::applyChromeColours,
                Qt::UniqueConnection);
        applyChromeColours();
    };
    connect(m_root, &RootView::screenChanged, this, followScreen);
    followScreen();
}

void OrvaneMainWindow::applyTint()
{
    // The brand accent tints selections and focus marks of every control the window does not
    // colour itself.
    const QPalette application = QGuiApplication::palette();
    m_darkAppearance = colorScheme(application) == ColorScheme::dark;
    QPalette tinted = palette();
    tinted.setColor(QPalette::Highlight, resolve(Brand::accentPrimary(), application));
    tinted.setColor(QPalette::HighlightedText, resolve(Brand::accentContrast(), application));
    setPalette(tinted);
}

void OrvaneMainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // The desktop's appearance changed: the brand colours follow it.
    if (event->type() == QEvent::PaletteChange
        && (colorScheme(QGuiApplication::palette()) == ColorScheme::dark) != m_darkAppearance) {
        applyTint();
        applyChromeColours();
    }
}

void OrvaneMainWindow::applyChromeColours()
{
    QPalette chrome;
    std::optional<OrvaneWebTheme> theme;
    if (CampaignIDEWorkspaceView *workspace = m_root->workspace()) {
        // Continuous with the workspace's top bar.
        theme = workspace->themeSource()->theme();
        chrome = theme->palette();
        chrome.setColor(QPalette::Window, theme->sidebarBackground());
        chrome.setColor(QPalette::Button, theme->sidebarBackground());
        for (const QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
            chrome.setColor(QPalette::Disabled, role, theme->textMuted());
    } else {
        // The sign-in screen's brand colours.
        chrome = palette();
        const auto set = [&chrome](QPalette::ColorRole role, const BrandAdaptiveColor &color) {
            chrome.setColor(QPalette::All, role, resolve(color, QGuiApplication::palette()));
        };
        set(QPalette::Window, Brand::bgPrimary());
        set(QPalette::Button, Brand::bgPrimary());
        set(QPalette::Base, Brand::bgSecondary());
        for (const QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
            set(role, Brand::textPrimary());
        set(QPalette::Highlight, Brand::textPrimary());
        set(QPalette::HighlightedText, Brand::bgPrimary());
        for (const QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
            chrome.setColor(QPalette::Disabled, role, resolve(Brand::textTertiary(), QGuiApplication::palette()));
    }
    menuBar()->setPalette(chrome);
    // Every menu of the bar drops down in the bar's colours, with the workspace's dividers.
    for (QAction *entry : menuBar()->actions()) {
        if (QMenu *menu = entry->menu()) {
            // The dividers first: a new style sheet puts back the palette the menu had when it was
            // last styled.
            if (theme)
                applyMenuDividers(menu, *theme);
            else
                menu->setStyleSheet({});
            menu->setPalette(chrome);
        }
    }
}

OrvaneMainWindow::~OrvaneMainWindow() = default;

QSize OrvaneMainWindow::initialSize(const QSize &available)
{
    if (!available.isValid() || available.isEmpty())
        return defaultSize;
    return defaultSize.boundedTo(available);
}

std::optional<QRect> OrvaneMainWindow::fittedGeometry(
    const QRect &frame, const QMargins &margins, const QRect &available)
{
    if (!available.isValid() || frame.isEmpty() || available.contains(frame))
        return std::nullopt;
    QRect fitted(frame.topLeft(), frame.size().boundedTo(available.size()));
    fitted.moveLeft(std::clamp(fitted.left(), available.left(), available.left() + available.width() - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), available.top(), available.top() + available.height() - fitted.height()));
    return fitted.marginsRemoved(margins);
}

void OrvaneMainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce && !event->spontaneous()) {
        m_shownOnce = true;
        // The size asked for is the content's: a title bar and borders come on top of it.
        m_placing = true;
        watchForTheFrame();
        activateAtFirstShow();
    }
}

bool OrvaneMainWindow::event(QEvent *event)
{
    // The desktop frames the window after it is mapped and then moves, sizes or activates it. Told
    // apart before the event is handled: a deferred delete ends the window inside the handler.
    const QEvent::Type type = event->type();
    const bool framed = m_placing && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowActivate);
    // The layout has run before event(): the minimum size is up to date here.
    const bool refit = m_refitOnLayout && type == QEvent::LayoutRequest;
    const bool handled = QMainWindow::event(event);
    if (framed || refit)
        fitFrameOnScreen();
    return handled;
}

void OrvaneMainWindow::watchForTheFrame()
{
    // A desktop that frames the window without moving, sizing or activating it afterwards (a window
    // manager that starts after the window is shown, or that frames it once it is active) sends the
    // window no event: until the frame is known, it is looked for a few times a second.
    auto *poll = new QTimer(this);
    poll->setInterval(framePollMilliseconds);
    auto elapsed = std::make_shared<int>(0);
    connect(poll, &QTimer::timeout, this, [this, poll, elapsed] {
        *elapsed += framePollMilliseconds;
        if (m_placing)
            fitFrameOnScreen();
        // Without a window manager the window never has a frame: it stops looking in the end.
        if (!m_placing || *elapsed >= frameWaitMilliseconds) {
            // Nor does it ask the desktop at every move or resize from then on.
            m_placing = false;
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start();
}

void OrvaneMainWindow::fitFrameOnScreen()
{
    const QRect content = geometry();
    QRect frame = frameGeometry();
    QMargins margins(content.left() - frame.left(), content.top() - frame.top(), frame.right() - content.right(),
        frame.bottom() - content.bottom());
    // The toolkit hears of a frame from the next move or resize; a frame drawn with neither is
    // asked of the desktop.
    if (margins.isNull()) {
        margins = desktopFrameMargins(this).value_or(QMargins());
        frame = content.marginsAdded(margins);
    }
    // Without a frame (no window manager) the content's size, bounded by the screen, is the whole.
    if (margins.isNull())
        return;
    m_placing = false;
    m_refitOnLayout = false;
    if (isMaximized() || isFullScreen())
        return;
    const QScreen *screen = this->screen();
    const auto fitted = fittedGeometry(frame, margins, screen ? screen->availableGeometry() : QRect());
    if (!fitted)
        return;
    setGeometry(*fitted);
    // A content that has to fill the screen (the split pane open from the start) was laid out before
    // the frame was known, and its minimum keeps the window too wide for the frame until the layout
    // hears of the frame: the fit is made again once the layout has run, for a while after the start.
    if (minimumWidth() > fitted->width() || minimumHeight() > fitted->height()) {
        m_refitOnLayout = true;
        QTimer::singleShot(frameWaitMilliseconds, this, [this] { m_refitOnLayout = false; });
    }
}

void OrvaneMainWindow::activateAtFirstShow()
{
    // The window comes to the front with the keyboard. Without a window manager (a bare X server)
    // the toolkit gives it the input focus directly once it is mapped, so its shortcuts work there
    // too.
    raise();
    activateWindow();
    // Once more on a later turn of the event loop, after everything that showing the window set
    // off has run (a control taking the focus, a dialog of the start-up).
    QTimer::singleShot(0, this, [this] {
        raise();
        activateWindow();
    });
}

void OrvaneMainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_root->settleUnsavedLocalFiles(u"Save changes to your local files before closing?"_s)
        || !m_root->settleUnsavedStores()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void OrvaneMainWindow::showStorageProblem(const QString &reason)
{
    auto *box = new QMessageBox(QMessageBox::Warning, u"Orvane cannot save"_s,
        reason + u"\n\nThe workspace is open, but changes may not be saved until the folder can be written."_s,
        QMessageBox::Ok, this);
    box->setObjectName(u"storageProblemMessageBox"_s);
    themeMessageBox(*box);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void OrvaneMainWindow::showReadOnlyNotice(const QString &reason)
{
    auto *box = new QMessageBox(QMessageBox::Warning, u"Orvane is read-only"_s,
        reason
            + u"\n\nOrvane cannot make sure that it is the only one running for you, so this window saves "
              u"nothing: your projects, threads and files stay as they are. Quit, make the folder writable "
              u"and start again to work."_s,
        QMessageBox::Ok, this);
    box->setObjectName(u"readOnlyMessageBox"_s);
    themeMessageBox(*box);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void OrvaneMainWindow::bringToFront()
{
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

} // namespace orvane
