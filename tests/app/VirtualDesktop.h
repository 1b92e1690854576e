#pragma once

#include <QByteArray>
#include <QMargins>
#include <QProcess>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace orvane::test {

// A virtual X screen of its own (Xvfb), with a window manager (openbox) when asked for one, as a
// desktop session has them; both are stopped when the handle goes. Empty when Xvfb is missing.
class VirtualDesktop final {
public:
    explicit VirtualDesktop(QSize size);
    ~VirtualDesktop();
    VirtualDesktop(const VirtualDesktop &) = delete;
    VirtualDesktop &operator=(const VirtualDesktop &) = delete;

    [[nodiscard]] static bool hasServer();
    [[nodiscard]] static bool hasWindowManager();
    // ":<number>" once the server runs; empty when it could not start.
    [[nodiscard]] const QByteArray &display() const { return m_display; }
    [[nodiscard]] QSize size() const { return m_size; }
    // Starts the window manager; true once it manages the screen.
    bool startWindowManager();

    // Where the top-level window with this title lies (the largest, if several): its content in
    // screen coordinates and the frame the window manager drew round it (none before it is framed).
    struct Placement {
        QRect content;
        QMargins frame;
        [[nodiscard]] QRect frameRect() const { return content.marginsAdded(frame); }
    };
    [[nodiscard]] std::optional<Placement> placement(const QString &title) const;

private:
    QSize m_size;
    QProcess m_server;
    QProcess m_windowManager;
    QByteArray m_display;
};

} // namespace orvane::test
