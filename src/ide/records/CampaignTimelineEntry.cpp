#include "ide/records/CampaignTimelineEntry.h"

namespace orvane {

CampaignToolInvocation CampaignToolInvocation::completed(
    QString toolName, QString summary, QString inputPreview, QString outputPreview, qint64 durationMs)
{
    return {
        .id = QUuid::createUuid(),
        .toolName = std::move(toolName),
        .summary = std::move(summary),
        .inputPreview = std::move(inputPreview),
        .outputPreview = std::move(outputPreview),
        .status = ToolStatus::completed,
        .durationMs = durationMs,
    };
}

void CampaignToolInvocation::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("toolName", toolName)
        .field("summary", summary)
        .field("inputPreview", inputPreview)
        .field("outputPreview", outputPreview)
        .field("status", status)
        .field("durationMs", durationMs);
}

CampaignToolInvocation CampaignToolInvocation::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .toolName = reader.required<QString>("toolName"),
        .summary = reader.required<QString>("summary"),
        .inputPreview = reader.required<QString>("inputPreview"),
        .outputPreview = reader.required<QString>("outputPreview"),
        .status = reader.required<ToolStatus>("status"),
        .durationMs = reader.required<qint64>("durationMs"),
    };
}

void CampaignInlineApproval::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("title", title)
        .field("platform", platform)
        .field("beforeSummary", beforeSummary)
        .field("afterSummary", afterSummary)
        .field("budgetDelta", budgetDelta)
        .field("status", status);
}

CampaignInlineApproval CampaignInlineApproval::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .title = reader.required<QString>("title"),
        .platform = reader.required<QString>("platform"),
        .beforeSummary = reader.required<QString>("beforeSummary"),
        .afterSummary = reader.required<QString>("afterSummary"),
        .budgetDelta = reader.required<QString>("budgetDelta"),
        .status = reader.required<ApprovalDecision>("status"),
    };
}

void CampaignTimelineEntry::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("role", role)
        .field("authorName", authorName)
        .field("text", text)
        .field("timestamp", timestamp)
        .field("toolInvocations", toolInvocations)
        .field("inlineApproval", inlineApproval)
        .field("artifactLink", artifactLink)
        .field("localReply", localReply);
}

CampaignTimelineEntry CampaignTimelineEntry::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .role = reader.required<EntryRole>("role"),
        .authorName = reader.required<QString>("authorName"),
        .text = reader.required<QString>("text"),
        .timestamp = reader.required<QString>("timestamp"),
        .toolInvocations = reader.required<QList<CampaignToolInvocation>>("toolInvocations"),
        .inlineApproval = reader.optional<CampaignInlineApproval>("inlineApproval"),
        .artifactLink = reader.optional<IDEWorkbenchView>("artifactLink"),
        .localReply = reader.optional<CampaignLocalReply>("localReply"),
    };
}

void CampaignLocalReply::encode(JsonObjectWriter &writer) const
{
    writer.field("text", text)
        .field("toolInvocations", toolInvocations)
        .field("inlineApproval", inlineApproval)
        .field("artifactLink", artifactLink);
}

CampaignLocalReply CampaignLocalReply::decode(const JsonObjectReader &reader)
{
    return {
        .text = reader.required<QString>("text"),
        .toolInvocations = reader.required<QList<CampaignToolInvocation>>("toolInvocations"),
        .inlineApproval = reader.optional<CampaignInlineApproval>("inlineApproval"),
        .artifactLink = reader.optional<IDEWorkbenchView>("artifactLink"),
    };
}

} // namespace orvane
