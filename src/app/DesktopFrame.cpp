#include "app/DesktopFrame.h"

#include <QGuiApplication>
#include <QWidget>

#ifdef ORVANE_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#endif

namespace orvane {

#ifdef ORVANE_HAVE_XCB
namespace {

template <typename Reply> using XReply = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> XReply<Reply> owned(Reply *reply)
{
    return XReply<Reply>(reply, &std::free);
}

} // namespace
#endif

std::optional<QMargins> desktopFrameMargins(const QWidget *window)
{
#ifdef ORVANE_HAVE_XCB
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window->windowHandle() || !window->internalWinId())
        return std::nullopt;
    xcb_connection_t *connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window->internalWinId());
    // Framed: the manager has made the window a child of its frame.
    const auto tree = owned(xcb_query_tree_reply(connection, xcb_query_tree(connection, id), nullptr));
    if (!tree || tree->parent == tree->root)
        return std::nullopt;
    static constexpr char name[] = "_NET_FRAME_EXTENTS";
    const auto atom = owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return std::nullopt;
    const auto extents = owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, id, atom->atom, XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (!extents || extents->type != XCB_ATOM_CARDINAL || extents->format != 32
        || xcb_get_property_value_length(extents.get()) != 4 * 4)
        return std::nullopt;
    uint32_t sides[4] = {};
    std::memcpy(sides, xcb_get_property_value(extents.get()), sizeof sides);
    // Left, right, top, bottom.
    return QMargins(
        static_cast<int>(sides[0]), static_cast<int>(sides[2]), static_cast<int>(sides[1]), static_cast<int>(sides[3]));
#else
    Q_UNUSED(window);
    return std::nullopt;
#endif
}

} // namespace orvane
