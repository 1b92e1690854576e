#pragma once

#include "ide/notifications/CampaignNotification.h"

#include <QString>

#include <QCoro/QCoroTask>

namespace orvane {

// How the notification center reaches the system's notification service. Every operation runs on
// the main thread and may suspend; the throwing ones throw NativeNotificationError.
class NativeNotificationAuthorizing {
public:
    virtual ~NativeNotificationAuthorizing() = default;

    virtual QCoro::Task<NativeNotificationState> authorizationState() = 0;
    virtual QCoro::Task<bool> requestAuthorization() = 0;
    virtual QCoro::Task<> deliver(QString title, QString body, QString identifier) = 0;

protected:
    NativeNotificationAuthorizing() = default;
    NativeNotificationAuthorizing(const NativeNotificationAuthorizing &) = default;
    NativeNotificationAuthorizing &operator=(const NativeNotificationAuthorizing &) = default;
};

} // namespace orvane
