#include "VirtualDesktop.h"

#include <QStandardPaths>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

template <typename Reply> using XReply = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> XReply<Reply> owned(Reply *reply)
{
    return XReply<Reply>(reply, &std::free);
}
using Connection = std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>;

xcb_atom_t atom(xcb_connection_t *x, const char *name)
{
    const auto reply = owned(
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

QByteArray property(xcb_connection_t *x, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    const auto reply = owned(xcb_get_property_reply(x, xcb_get_property(x, 0, window, name, type, 0, 1024), nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE)
        return {};
    return QByteArray(
        static_cast<const char *>(xcb_get_property_value(reply.get())), xcb_get_property_value_length(reply.get()));
}

} // namespace

bool VirtualDesktop::hasServer()
{
    return !QStandardPaths::findExecutable(u"Xvfb"_s).isEmpty();
}

bool VirtualDesktop::hasWindowManager()
{
    return !QStandardPaths::findExecutable(u"openbox"_s).isEmpty();
}

VirtualDesktop::VirtualDesktop(QSize size) : m_size(size)
{
    if (!hasServer())
        return;
    // Xvfb picks a free display itself and writes its number to the pipe: looking for free numbers
    // in /tmp misses servers of other mount namespaces that share the abstract socket names.
    m_server.start(QStandardPaths::findExecutable(u"Xvfb"_s),
        { u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s,
            QString::number(size.width()) + u'x' + QString::number(size.height()) + u"x24"_s, u"-nolisten"_s,
            u"tcp"_s });
    if (!m_server.waitForStarted())
        return;
    QByteArray written;
    [[maybe_unused]] const bool reported = QTest::qWaitFor(
        [&] {
            written += m_server.readAllStandardOutput();
            return written.endsWith('\n') || m_server.state() == QProcess::NotRunning;
        },
        20000);
    bool numbered = false;
    written.trimmed().toInt(&numbered);
    if (numbered)
        m_display = ':' + written.trimmed();
}

VirtualDesktop::~VirtualDesktop()
{
    for (QProcess *process : { &m_windowManager, &m_server }) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(5000)) {
            process->kill();
            process->waitForFinished();
        }
    }
}

bool VirtualDesktop::startWindowManager()
{
    if (m_display.isEmpty() || !hasWindowManager())
        return false;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DISPLAY"_s, QString::fromLatin1(m_display));
    m_windowManager.setProcessEnvironment(environment);
    m_windowManager.setProcessChannelMode(QProcess::MergedChannels);
    const auto managing = [&] {
        const Connection connection(xcb_connect(m_display.constData(), nullptr), &xcb_disconnect);
        xcb_connection_t *x = connection.get();
        if (xcb_connection_has_error(x))
            return false;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
        return !property(x, root, atom(x, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).isEmpty();
    };
    // Just after the server said its number, a client may still be turned away: the manager is
    // started again until it stays (it names its check window on the root once it manages).
    QByteArray said;
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_windowManager.start(QStandardPaths::findExecutable(u"openbox"_s), { u"--sm-disable"_s });
        if (!m_windowManager.waitForStarted())
            return false;
        if (QTest::qWaitFor([&] { return managing() || m_windowManager.state() == QProcess::NotRunning; }, 20000)
            && managing())
            return true;
        said = m_windowManager.readAll();
        m_windowManager.waitForFinished(1000);
    }
    qWarning("openbox did not take the screen: %s", said.constData());
    return false;
}

std::optional<VirtualDesktop::Placement> VirtualDesktop::placement(const QString &title) const
{
    const Connection connection(xcb_connect(m_display.constData(), nullptr), &xcb_disconnect);
    xcb_connection_t *x = connection.get();
    if (xcb_connection_has_error(x))
        return std::nullopt;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    // The root's children, and theirs: a window manager puts each window into a frame of its own.
    QList<xcb_window_t> windows;
    const auto children = [&](xcb_window_t parent) {
        QList<xcb_window_t> found;
        const auto tree = owned(xcb_query_tree_reply(x, xcb_query_tree(x, parent), nullptr));
        if (tree) {
            const xcb_window_t *list = xcb_query_tree_children(tree.get());
            for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
                found.append(list[i]);
        }
        return found;
    };
    for (const xcb_window_t top : children(root)) {
        windows.append(top);
        windows.append(children(top));
    }
    const xcb_atom_t extentsAtom = atom(x, "_NET_FRAME_EXTENTS");
    std::optional<Placement> largest;
    for (const xcb_window_t window : std::as_const(windows)) {
        if (QString::fromUtf8(property(x, window, XCB_ATOM_WM_NAME, XCB_ATOM_ANY)) != title)
            continue;
        const auto attributes
            = owned(xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, window), nullptr));
        const auto geometry = owned(xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr));
        const auto origin
            = owned(xcb_translate_coordinates_reply(x, xcb_translate_coordinates(x, window, root, 0, 0), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE || !geometry || !origin)
            continue;
        Placement placement;
        placement.content = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
        const QByteArray extents = property(x, window, extentsAtom, XCB_ATOM_CARDINAL);
        if (extents.size() == 4 * 4) {
            uint32_t sides[4] = {};
            std::memcpy(sides, extents.constData(), sizeof sides);
            placement.frame = QMargins(static_cast<int>(sides[0]), static_cast<int>(sides[2]),
                static_cast<int>(sides[1]), static_cast<int>(sides[3]));
        }
        if (!largest
            || placement.content.width() * placement.content.height()
                > largest->content.width() * largest->content.height())
            largest = placement;
    }
    return largest;
}

} // namespace orvane::test
