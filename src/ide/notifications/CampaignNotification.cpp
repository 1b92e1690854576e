#include "ide/notifications/CampaignNotification.h"

#include <array>
#include <utility>

namespace orvane {
namespace {

constexpr std::array<std::pair<CampaignNotificationKind, const char16_t *>, 5> kindNames { {
    { CampaignNotificationKind::proposalReady, u"Proposal ready" },
    { CampaignNotificationKind::approvalRequired, u"Approval required" },
    { CampaignNotificationKind::validationBlocker, u"Validation blocker" },
    { CampaignNotificationKind::executionResult, u"Execution result" },
    { CampaignNotificationKind::performanceAlert, u"Performance alert" },
} };

constexpr std::array<std::pair<CampaignNotificationDestination, const char16_t *>, 4> destinationNames { {
    { CampaignNotificationDestination::plan, u"plan" },
    { CampaignNotificationDestination::creative, u"creative" },
    { CampaignNotificationDestination::execute, u"execute" },
    { CampaignNotificationDestination::dashboard, u"dashboard" },
} };

template <typename E, std::size_t N> QString nameOf(const std::array<std::pair<E, const char16_t *>, N> &table, E value)
{
    for (const auto &[v, name] : table) {
        if (v == value)
            return QString::fromUtf16(name);
    }
    return {};
}

template <typename E, std::size_t N>
std::optional<E> valueOf(const std::array<std::pair<E, const char16_t *>, N> &table, const QString &raw)
{
    for (const auto &[v, name] : table) {
        if (raw == QStringView(name))
            return v;
    }
    return std::nullopt;
}

} // namespace

QString rawValue(CampaignNotificationKind kind)
{
    return nameOf(kindNames, kind);
}

std::optional<CampaignNotificationKind> notificationKindFromRawValue(const QString &raw)
{
    return valueOf(kindNames, raw);
}

QString rawValue(CampaignNotificationDestination destination)
{
    return nameOf(destinationNames, destination);
}

std::optional<CampaignNotificationDestination> notificationDestinationFromRawValue(const QString &raw)
{
    return valueOf(destinationNames, raw);
}

} // namespace orvane
