#include "platform/notifications/DesktopNotifications.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include <QCoro/QCoroDBusPendingCall>
#include <QCoro/QCoroDBusPendingReply>

namespace orvane::platform {

DesktopNotifications::DesktopNotifications(QDBusConnection connection) : m_connection(std::move(connection))
{
}

QString DesktopNotifications::unavailableReason() const
{
    if (m_connection.isConnected())
        return {};
    const QString message = m_connection.lastError().message();
    return message.isEmpty() ? QStringLiteral("The session bus is not available.") : message;
}

QCoro::Task<bool> DesktopNotifications::isServiceAvailable() const
{
    if (!m_connection.isConnected())
        co_return false;
    const QString service = QString::fromLatin1(kService);
    const QDBusMessage hasOwner = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                      QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
                                      QStringLiteral("NameHasOwner"))
        << service;
    const QDBusPendingReply<bool> owned = co_await m_connection.asyncCall(hasOwner);
    if (owned.isValid() && owned.value())
        co_return true;
    const QDBusMessage activatable = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("ListActivatableNames"));
    const QDBusPendingReply<QStringList> names = co_await m_connection.asyncCall(activatable);
    co_return names.isValid() && names.value().contains(service);
}

QCoro::Task<DesktopNotifications::Result> DesktopNotifications::notify(
    QString applicationName, QString title, QString body, QString identifier) const
{
    if (!m_connection.isConnected())
        co_return Result { std::nullopt, unavailableReason() };
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
        QString::fromLatin1(kInterface), QStringLiteral("Notify"));
    const QVariantMap hints {
        { QStringLiteral("sound-name"), QString::fromLatin1(kDefaultSound) },
        { QString::fromLatin1(kIdentifierHint), identifier },
    };
    call << applicationName << quint32(0) << QString() << title << body << QStringList() << hints << qint32(-1);
    const QDBusPendingReply<quint32> reply = co_await m_connection.asyncCall(call);
    if (reply.isError())
        co_return Result { std::nullopt, reply.error().message() };
    if (!reply.isValid())
        co_return Result { std::nullopt, QStringLiteral("The notification service sent an unexpected reply.") };
    co_return Result { reply.value(), {} };
}

} // namespace orvane::platform
