#pragma once

#include <QMargins>

#include <optional>

class QWidget;

namespace orvane {

// The frame the desktop's window manager drew round a top-level window, as the manager states it
// (on X11, the window's _NET_FRAME_EXTENTS once the manager has taken the window into a frame).
// The toolkit learns of a frame only from a later move or resize, which a manager that starts
// after the window is shown never sends. None where the desktop does not say, or has no frame yet.
[[nodiscard]] std::optional<QMargins> desktopFrameMargins(const QWidget *window);

} // namespace orvane
