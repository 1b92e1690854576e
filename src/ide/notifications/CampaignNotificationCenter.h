#pragma once

#include "ide/notifications/CampaignNotification.h"
#include "ide/notifications/NativeNotificationAuthorizing.h"

#include <QList>
#include <QObject>
#include <QUuid>

#include <QCoro/QCoroTask>

#include <memory>
#include <optional>

namespace orvane {

// The workspace's in-app notification list, newest first and in memory only. Each new notification
// is also handed to the system's notification service while native delivery is authorised.
//
// Authorisation: the desktop has no permission prompt, so the center asks its authorizer for the
// state when a notification is posted while the state is not known yet (notRequested) or was an
// error (a notification service may have started since); an authorised or denied state is kept.
// Main thread only.
class CampaignNotificationCenter final : public QObject {
    Q_OBJECT

public:
    CampaignNotificationCenter(QList<CampaignNotification> notifications,
        std::shared_ptr<NativeNotificationAuthorizing> authorizer, QObject *parent = nullptr);
    ~CampaignNotificationCenter() override;

    [[nodiscard]] const QList<CampaignNotification> &notifications() const { return m_notifications; }
    [[nodiscard]] const NativeNotificationState &nativeState() const { return m_nativeState; }
    void setNativeState(const NativeNotificationState &state);
    [[nodiscard]] const std::optional<QString> &deliveryError() const { return m_deliveryError; }
    [[nodiscard]] const std::optional<QString> &loadError() const { return m_loadError; }
    [[nodiscard]] const std::optional<QUuid> &projectFilter() const { return m_projectFilter; }
    void setProjectFilter(const std::optional<QUuid> &projectID);
    [[nodiscard]] const std::optional<CampaignNotification> &pendingDestination() const { return m_pendingDestination; }
    [[nodiscard]] bool remoteDeliveryAvailable() const { return false; }
    [[nodiscard]] const std::shared_ptr<NativeNotificationAuthorizing> &authorizer() const { return m_authorizer; }

    // Adds the notification at the front (a known id is ignored) and starts its native delivery
    // without waiting for it.
    void post(const CampaignNotification &notification);
    // Delivers one notification natively when authorised; a failure lands in deliveryError.
    QCoro::Task<> deliverNativeIfAuthorized(CampaignNotification notification);
    // Asks the authorizer for the current state and stores it.
    QCoro::Task<> refreshAuthorization();

Q_SIGNALS:
    void notificationPosted(const QUuid &id); // inserted at row 0
    void nativeStateChanged();
    void deliveryErrorChanged();
    void loadErrorChanged();
    void projectFilterChanged();

private:
    QList<CampaignNotification> m_notifications;
    NativeNotificationState m_nativeState;
    std::optional<QString> m_deliveryError;
    std::optional<QString> m_loadError;
    std::optional<QUuid> m_projectFilter;
    std::optional<CampaignNotification> m_pendingDestination;
    std::shared_ptr<NativeNotificationAuthorizing> m_authorizer;
};

} // namespace orvane
