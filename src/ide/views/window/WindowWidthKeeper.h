#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>
#include <optional>

class QWidget;

namespace orvane {

// Keeps the window at the width its user gave it. When a column that opens (the copilot drawer, a
// split agent pane) needs more room than the window has, the toolkit widens the window to its new
// minimum; the keeper remembers the width from before, gives it back when the minimum drops again,
// and moves a widened window back onto its screen. A width the user picks meanwhile is kept.
class WindowWidthKeeper final : public QObject {
    Q_OBJECT
public:
    // The part of the screen a window may take (its screen's available area by default).
    using ScreenArea = std::function<QRect(const QWidget *window)>;

    WindowWidthKeeper(QWidget *content, ScreenArea screenArea, QObject *parent = nullptr);

    // Follows the window that holds the content now (call when it is shown).
    void watch();
    // The width to go back to once the columns close; none while the window has the user's width.
    [[nodiscard]] std::optional<int> widthToRestore() const { return m_restoreWidth; }
    // The widest the content may be with the window on its screen; none when the screen is unknown.
    [[nodiscard]] std::optional<int> contentWidthLimit() const;

    [[nodiscard]] static QRect availableScreenArea(const QWidget *window);

Q_SIGNALS:
    // The room the window has, and with it contentWidthLimit(), may have changed: it went to
    // another screen, or the desktop framed it (a frame's width is known only once it is drawn).
    void roomChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void grown(int oldWidth);
    void restoreIfRoom();
    // The window has its width back: it goes back where it stood, too.
    void restored();
    void keepOnScreen();
    [[nodiscard]] bool keepsItsOwnSize() const;
    [[nodiscard]] int frameWidth() const;

    QWidget *m_content;
    ScreenArea m_screenArea;
    QPointer<QWidget> m_window;
    std::optional<int> m_restoreWidth;
    std::optional<int> m_restoreX; // where the window stood before it was moved onto its screen
    int m_frameWidth = 0; // the width of the window's frame when the room was last told
};

} // namespace orvane
