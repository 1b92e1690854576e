#include "ide/notifications/CampaignNotificationCenter.h"

#include <QPointer>

#include <algorithm>

namespace orvane {

CampaignNotificationCenter::CampaignNotificationCenter(QList<CampaignNotification> notifications,
    std::shared_ptr<NativeNotificationAuthorizing> authorizer, QObject *parent)
    : QObject(parent), m_notifications(std::move(notifications)), m_authorizer(std::move(authorizer))
{
}

CampaignNotificationCenter::~CampaignNotificationCenter() = default;

void CampaignNotificationCenter::setNativeState(const NativeNotificationState &state)
{
    if (m_nativeState == state)
        return;
    m_nativeState = state;
    Q_EMIT nativeStateChanged();
}

void CampaignNotificationCenter::setProjectFilter(const std::optional<QUuid> &projectID)
{
    if (m_projectFilter == projectID)
        return;
    m_projectFilter = projectID;
    Q_EMIT projectFilterChanged();
}

void CampaignNotificationCenter::post(const CampaignNotification &notification)
{
    const bool known = std::any_of(m_notifications.cbegin(), m_notifications.cend(),
        [&](const CampaignNotification &n) { return n.id == notification.id; });
    if (known)
        return;
    m_notifications.prepend(notification);
    Q_EMIT notificationPosted(notification.id);
    if (m_loadError) {
        m_loadError.reset();
        Q_EMIT loadErrorChanged();
    }
    // Runs until its first suspension and then on its own; the caller never waits for the system.
    deliverNativeIfAuthorized(notification);
}

QCoro::Task<> CampaignNotificationCenter::refreshAuthorization()
{
    if (!m_authorizer)
        co_return;
    QPointer<CampaignNotificationCenter> self(this);
    const auto authorizer = m_authorizer; // stays alive while the call runs, even without the center
    NativeNotificationState state = co_await authorizer->authorizationState();
    if (self)
        self->setNativeState(state);
}

QCoro::Task<> CampaignNotificationCenter::deliverNativeIfAuthorized(CampaignNotification notification)
{
    if (!m_authorizer)
        co_return;
    QPointer<CampaignNotificationCenter> self(this);
    const auto authorizer = m_authorizer;

    const auto kind = m_nativeState.kind();
    if (kind == NativeNotificationState::Kind::notRequested || kind == NativeNotificationState::Kind::error) {
        co_await refreshAuthorization();
        if (!self)
            co_return;
    }
    if (self->m_nativeState.kind() != NativeNotificationState::Kind::authorized)
        co_return;

    std::optional<QString> failure;
    try {
        co_await authorizer->deliver(
            notification.title, notification.detail, notification.id.toString(QUuid::WithoutBraces).toUpper());
    } catch (const NativeNotificationError &error) {
        failure = error.description();
    }
    if (!self || !failure)
        co_return;
    self->m_deliveryError = *failure;
    Q_EMIT self->deliveryErrorChanged();
}

} // namespace orvane
