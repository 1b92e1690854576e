#pragma once

#include <QDBusConnection>
#include <QString>

#include <QCoro/QCoroTask>

#include <optional>

namespace orvane::platform {

// The desktop's notification service (org.freedesktop.Notifications) on a D-Bus connection, by
// default the session bus. Main thread only; calls never block.
class DesktopNotifications final {
public:
    static constexpr char kService[] = "org.freedesktop.Notifications";
    static constexpr char kPath[] = "/org/freedesktop/Notifications";
    static constexpr char kInterface[] = "org.freedesktop.Notifications";
    // The sound the notification asks for: the desktop's sound for a new message.
    static constexpr char kDefaultSound[] = "message-new-instant";
    // The hint carrying the notification's own identifier.
    static constexpr char kIdentifierHint[] = "x-orvane-identifier";

    struct Result {
        std::optional<quint32> serverID; // the service's id of the shown notification
        QString error; // the service's or the bus's message when serverID is absent
    };

    explicit DesktopNotifications(QDBusConnection connection = QDBusConnection::sessionBus());

    // Whether the bus is connected and the service is running or can be started on it.
    QCoro::Task<bool> isServiceAvailable() const;
    // The reason the service cannot be reached, for messages; empty when the bus is connected.
    [[nodiscard]] QString unavailableReason() const;

    // Shows one notification at once with the desktop's default urgency and timeout.
    QCoro::Task<Result> notify(QString applicationName, QString title, QString body, QString identifier) const;

private:
    QDBusConnection m_connection;
};

} // namespace orvane::platform
