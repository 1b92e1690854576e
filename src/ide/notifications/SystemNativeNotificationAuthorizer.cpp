#include "ide/notifications/SystemNativeNotificationAuthorizer.h"

namespace orvane {

const QString SystemNativeNotificationAuthorizer::applicationName = QStringLiteral("Orvane");

SystemNativeNotificationAuthorizer::SystemNativeNotificationAuthorizer(platform::DesktopNotifications notifications)
    : m_notifications(std::move(notifications))
{
}

QCoro::Task<NativeNotificationState> SystemNativeNotificationAuthorizer::authorizationState()
{
    // The object may go while the call waits; work on a copy.
    const platform::DesktopNotifications notifications = m_notifications;
    const QString reason = notifications.unavailableReason();
    if (!reason.isEmpty())
        co_return NativeNotificationState::error(reason);
    if (co_await notifications.isServiceAvailable())
        co_return NativeNotificationState::authorized();
    co_return NativeNotificationState::error(QStringLiteral("No desktop notification service is running."));
}

QCoro::Task<bool> SystemNativeNotificationAuthorizer::requestAuthorization()
{
    const NativeNotificationState state = co_await authorizationState();
    co_return state.kind() == NativeNotificationState::Kind::authorized;
}

QCoro::Task<> SystemNativeNotificationAuthorizer::deliver(QString title, QString body, QString identifier)
{
    const platform::DesktopNotifications notifications = m_notifications;
    const auto result = co_await notifications.notify(applicationName, title, body, identifier);
    if (!result.serverID)
        throw NativeNotificationError(result.error);
}

} // namespace orvane
