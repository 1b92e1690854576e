#pragma once

#include "ide/records/IDEWorkbenchView.h"
#include "kit/support/JsonCoding.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

namespace orvane {

// One tool run shown under a timeline message.
struct CampaignToolInvocation {
    enum class ToolStatus { running, completed, requiresApproval };

    QUuid id = {};
    QString toolName = {};
    QString summary = {};
    QString inputPreview = {};
    QString outputPreview = {};
    ToolStatus status = ToolStatus::running;
    qint64 durationMs = 0;

    // A finished run with a fresh id.
    [[nodiscard]] static CampaignToolInvocation completed(
        QString toolName, QString summary, QString inputPreview, QString outputPreview, qint64 durationMs);

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignToolInvocation decode(const JsonObjectReader &reader);

    bool operator==(const CampaignToolInvocation &) const = default;
};

// An execution gate shown inside an agent message.
struct CampaignInlineApproval {
    enum class ApprovalDecision { pending, approved, rejected };

    QUuid id = {};
    QString title = {};
    QString platform = {};
    QString beforeSummary = {};
    QString afterSummary = {};
    QString budgetDelta = {};
    ApprovalDecision status = ApprovalDecision::pending;

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignInlineApproval decode(const JsonObjectReader &reader);

    bool operator==(const CampaignInlineApproval &) const = default;
};

// The local agent's answer to a turn, kept in the turn's agent entry while the service's reply
// streams in: what the entry becomes should the turn never complete, since the streamed text is not
// the reply until then.
struct CampaignLocalReply {
    QString text = {};
    QList<CampaignToolInvocation> toolInvocations = {};
    std::optional<CampaignInlineApproval> inlineApproval = {};
    std::optional<IDEWorkbenchView> artifactLink = {};

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignLocalReply decode(const JsonObjectReader &reader);

    bool operator==(const CampaignLocalReply &) const = default;
};

// One message of an agent tab's timeline.
struct CampaignTimelineEntry {
    enum class EntryRole { user, agent, system };

    QUuid id = {};
    EntryRole role = EntryRole::user;
    QString authorName = {};
    QString text = {};
    QString timestamp = {};
    QList<CampaignToolInvocation> toolInvocations = {};
    std::optional<CampaignInlineApproval> inlineApproval = {};
    std::optional<IDEWorkbenchView> artifactLink = {};
    // Only while the entry's turn runs with a streamed reply; stored without a key otherwise.
    std::optional<CampaignLocalReply> localReply = {};

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignTimelineEntry decode(const JsonObjectReader &reader);

    bool operator==(const CampaignTimelineEntry &) const = default;
};

} // namespace orvane

ORVANE_JSON_ENUM(orvane::CampaignToolInvocation::ToolStatus,
    { orvane::CampaignToolInvocation::ToolStatus::running, "running" },
    { orvane::CampaignToolInvocation::ToolStatus::completed, "completed" },
    { orvane::CampaignToolInvocation::ToolStatus::requiresApproval, "requiresApproval" })

ORVANE_JSON_ENUM(orvane::CampaignInlineApproval::ApprovalDecision,
    { orvane::CampaignInlineApproval::ApprovalDecision::pending, "pending" },
    { orvane::CampaignInlineApproval::ApprovalDecision::approved, "approved" },
    { orvane::CampaignInlineApproval::ApprovalDecision::rejected, "rejected" })

ORVANE_JSON_ENUM(orvane::CampaignTimelineEntry::EntryRole, { orvane::CampaignTimelineEntry::EntryRole::user, "user" },
    { orvane::CampaignTimelineEntry::EntryRole::agent, "agent" },
    { orvane::CampaignTimelineEntry::EntryRole::system, "system" })
