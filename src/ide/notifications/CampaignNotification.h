#pragma once

#include <QString>
#include <QUuid>

#include <optional>
#include <stdexcept>

namespace orvane {

enum class CampaignNotificationKind {
    proposalReady,
    approvalRequired,
    validationBlocker,
    executionResult,
    performanceAlert
};
enum class CampaignNotificationDestination { plan, creative, execute, dashboard };

// "Proposal ready", ... and "plan", ...; unknown raw text gives no value.
[[nodiscard]] QString rawValue(CampaignNotificationKind kind);
[[nodiscard]] std::optional<CampaignNotificationKind> notificationKindFromRawValue(const QString &raw);
[[nodiscard]] QString rawValue(CampaignNotificationDestination destination);
[[nodiscard]] std::optional<CampaignNotificationDestination> notificationDestinationFromRawValue(const QString &raw);

// One in-app campaign notification.
struct CampaignNotification {
    QUuid id;
    QUuid projectID;
    QString projectName;
    CampaignNotificationKind kind = CampaignNotificationKind::executionResult;
    QString title;
    QString detail;
    CampaignNotificationDestination destination = CampaignNotificationDestination::dashboard;
    std::optional<QUuid> artboardID;
    QString createdAt; // display text
    bool isRead = false;

    bool operator==(const CampaignNotification &) const = default;
};

// Whether native delivery may happen, as the center knows it.
class NativeNotificationState final {
public:
    enum class Kind { error, notRequested, authorized, denied };

    NativeNotificationState() = default;
    [[nodiscard]] static NativeNotificationState notRequested() { return NativeNotificationState(Kind::notRequested); }
    [[nodiscard]] static NativeNotificationState authorized() { return NativeNotificationState(Kind::authorized); }
    [[nodiscard]] static NativeNotificationState denied() { return NativeNotificationState(Kind::denied); }
    [[nodiscard]] static NativeNotificationState error(QString text)
    {
        NativeNotificationState state(Kind::error);
        state.m_errorText = std::move(text);
        return state;
    }

    [[nodiscard]] Kind kind() const { return m_kind; }
    // The failure text of an error state; empty otherwise.
    [[nodiscard]] const QString &errorText() const { return m_errorText; }

    bool operator==(const NativeNotificationState &) const = default;

private:
    explicit NativeNotificationState(Kind kind) : m_kind(kind) { }
    Kind m_kind = Kind::notRequested;
    QString m_errorText;
};

// A failure of the system's notification service, with its description for the user.
class NativeNotificationError final : public std::runtime_error {
public:
    explicit NativeNotificationError(const QString &description)
        : std::runtime_error(description.toStdString()), m_description(description)
    {
    }
    [[nodiscard]] const QString &description() const { return m_description; }

private:
    QString m_description;
};

} // namespace orvane
