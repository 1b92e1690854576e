#include "ide/records/CampaignThreadSummary.h"

#include <algorithm>

namespace orvane {

CampaignThreadSummary CampaignThreadSummary::of(const CampaignIDEThread &thread)
{
    CampaignThreadSummary summary;
    summary.takeHead(thread);
    summary.agentTabCount = thread.agentTabs.size();
    summary.mediaPlanRowCount = thread.mediaPlanRows.size();
    for (const CampaignAgentTab &tab : thread.agentTabs) {
        summary.pendingApprovalCount += std::count_if(tab.entries.cbegin(), tab.entries.cend(), [](const auto &entry) {
            return entry.inlineApproval
                && entry.inlineApproval->status == CampaignInlineApproval::ApprovalDecision::pending;
        });
    }
    if (const auto tab = thread.activeTab(); tab && !tab->entries.isEmpty())
        summary.preview = tab->entries.last().text.left(previewLength);
    return summary;
}

CampaignIDEThread CampaignThreadSummary::headOnly() const
{
    CampaignIDEThread thread;
    thread.id = id;
    thread.projectID = projectID;
    thread.title = title;
    thread.isStarred = isStarred;
    thread.updatedAt = updatedAt;
    thread.workbenchView = workbenchView;
    return thread;
}

void CampaignThreadSummary::takeHead(const CampaignIDEThread &thread)
{
    id = thread.id;
    projectID = thread.projectID;
    title = thread.title;
    isStarred = thread.isStarred;
    updatedAt = thread.updatedAt;
    workbenchView = thread.workbenchView;
}

void CampaignThreadSummary::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("projectID", projectID)
        .field("title", title)
        .field("isStarred", isStarred)
        .field("updatedAt", updatedAt)
        .field("workbenchView", workbenchView)
        .field("agentTabCount", agentTabCount)
        .field("mediaPlanRowCount", mediaPlanRowCount)
        .field("pendingApprovalCount", pendingApprovalCount)
        .field("preview", preview);
}

CampaignThreadSummary CampaignThreadSummary::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .projectID = reader.required<QUuid>("projectID"),
        .title = reader.required<QString>("title"),
        .isStarred = reader.required<bool>("isStarred"),
        .updatedAt = reader.required<QString>("updatedAt"),
        .workbenchView = reader.required<IDEWorkbenchView>("workbenchView"),
        .agentTabCount = reader.required<qint64>("agentTabCount"),
        .mediaPlanRowCount = reader.required<qint64>("mediaPlanRowCount"),
        .pendingApprovalCount = reader.required<qint64>("pendingApprovalCount"),
        .preview = reader.optional<QString>("preview"),
    };
}

} // namespace orvane
