#pragma once

#include "ide/notifications/NativeNotificationAuthorizing.h"
#include "platform/notifications/DesktopNotifications.h"

namespace orvane {

// Native notifications through the desktop's notification service on the session bus. There is no
// permission prompt on the desktop: the state is authorised while a notification service is
// running (or can be started), and an error naming the reason otherwise.
class SystemNativeNotificationAuthorizer final : public NativeNotificationAuthorizing {
public:
    explicit SystemNativeNotificationAuthorizer(
        platform::DesktopNotifications notifications = platform::DesktopNotifications());

    QCoro::Task<NativeNotificationState> authorizationState() override;
    // Asks nothing of the user; true when the state is authorised.
    QCoro::Task<bool> requestAuthorization() override;
    QCoro::Task<> deliver(QString title, QString body, QString identifier) override;

    static const QString applicationName; // "Orvane"

private:
    platform::DesktopNotifications m_notifications;
};

} // namespace orvane
