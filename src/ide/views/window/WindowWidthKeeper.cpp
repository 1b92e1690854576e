#include "ide/views/window/WindowWidthKeeper.h"

#include <QEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace orvane {

WindowWidthKeeper::WindowWidthKeeper(QWidget *content, ScreenArea screenArea, QObject *parent)
    : QObject(parent), m_content(content), m_screenArea(screenArea ? std::move(screenArea) : availableScreenArea)
{
}

QRect WindowWidthKeeper::availableScreenArea(const QWidget *window)
{
    const QScreen *screen = window->screen();
    return screen ? screen->availableGeometry() : QRect();
}

void WindowWidthKeeper::watch()
{
    QWidget *window = m_content->window();
    if (window == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    m_restoreWidth.reset();
    m_restoreX.reset();
    m_frameWidth = frameWidth();
    window->installEventFilter(this);
    if (QWindow *handle = window->windowHandle())
        connect(handle, &QWindow::screenChanged, this, &WindowWidthKeeper::roomChanged, Qt::UniqueConnection);
    Q_EMIT roomChanged();
}

int WindowWidthKeeper::frameWidth() const
{
    const QWidget *window = m_window ? m_window.data() : m_content->window();
    return qMax(0, window->frameGeometry().width() - window->width());
}

std::optional<int> WindowWidthKeeper::contentWidthLimit() const
{
    const QWidget *window = m_window ? m_window.data() : m_content->window();
    const QRect area = m_screenArea(window);
    if (!area.isValid())
        return std::nullopt;
    // The window's frame and whatever the window holds beside the content (a menu bar's sides)
    // take their share of the screen first.
    const int around = window->width() - m_content->width();
    return area.width() - frameWidth() - qMax(0, around);
}

bool WindowWidthKeeper::keepsItsOwnSize() const
{
    return m_window->isMaximized() || m_window->isFullScreen();
}

bool WindowWidthKeeper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return QObject::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowStateChange
        || type == QEvent::WindowActivate) {
        // A desktop frames the window after it is shown: until then the limit counted no frame.
        if (const int frame = frameWidth(); frame != m_frameWidth) {
            m_frameWidth = frame;
            Q_EMIT roomChanged();
        }
    }
    switch (type) {
    case QEvent::Resize: {
        const auto *resize = static_cast<QResizeEvent *>(event);
        const int oldWidth = resize->oldSize().width();
        const int newWidth = resize->size().width();
        if (oldWidth <= 0 || oldWidth == newWidth)
            break;
        // A desktop may apply sizes a little later, when the minimum has moved on again: a window
        // that grows no wider than its minimum was made to grow, and one that narrows down to no
        // less than its width from before is being given its width back.
        const bool forced = newWidth > oldWidth && newWidth <= m_window->minimumWidth() && !keepsItsOwnSize();
        const bool returning = newWidth < oldWidth && m_restoreWidth && newWidth >= *m_restoreWidth;
        if (forced) {
            grown(oldWidth);
        } else if (returning) {
            if (newWidth == *m_restoreWidth)
                restored();
        } else {
            // The user (or the desktop) chose this width: it is the one to keep from now on.
            m_restoreWidth.reset();
            m_restoreX.reset();
        }
        break;
    }
    case QEvent::LayoutRequest:
        // The window's layout has run before its filters: the minimum is up to date.
        restoreIfRoom();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void WindowWidthKeeper::grown(int oldWidth)
{
    if (!m_restoreWidth)
        m_restoreWidth = oldWidth;
    keepOnScreen();
}

void WindowWidthKeeper::restoreIfRoom()
{
    if (!m_restoreWidth || keepsItsOwnSize())
        return;
    const int target = qMax(*m_restoreWidth, m_window->minimumWidth());
    if (m_window->width() > target)
        m_window->resize(target, m_window->height());
    if (m_restoreWidth && m_window->width() == *m_restoreWidth)
        restored();
}

void WindowWidthKeeper::restored()
{
    m_restoreWidth.reset();
    if (m_restoreX) {
        m_window->move(*m_restoreX, m_window->pos().y());
        m_restoreX.reset();
    }
}

void WindowWidthKeeper::keepOnScreen()
{
    const QRect area = m_screenArea(m_window);
    if (!area.isValid())
        return;
    const QRect frame = m_window->frameGeometry();
    const int overflow = qMin(frame.right() - area.right(), frame.left() - area.left());
    if (overflow <= 0)
        return;
    if (!m_restoreX)
        m_restoreX = m_window->pos().x();
    m_window->move(m_window->pos().x() - overflow, m_window->pos().y());
}

} // namespace orvane
