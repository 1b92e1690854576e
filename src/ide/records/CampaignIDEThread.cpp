#include "ide/records/CampaignIDEThread.h"

namespace orvane {

std::optional<CampaignAgentTab> CampaignIDEThread::activeTab() const
{
    for (const CampaignAgentTab &tab : agentTabs) {
        if (tab.id == activeAgentTabID)
            return tab;
    }
    if (agentTabs.isEmpty())
        return std::nullopt;
    return agentTabs.first();
}

CampaignAgentTab CampaignIDEThread::activeAgentTab() const
{
    if (auto tab = activeTab())
        return *std::move(tab);
    return {
        .id = QUuid::createUuid(),
        .title = QStringLiteral("Agent"),
        .personaName = QStringLiteral("Orvane"),
        .personaHandle = QStringLiteral("@orvane"),
        .entries = {},
        .draftPrompt = {},
        .isStreaming = false,
        .statusText = std::nullopt,
    };
}

double CampaignIDEThread::totalDailyBudget() const
{
    double total = 0;
    for (const CampaignMediaPlanRow &row : mediaPlanRows)
        total += row.dailyBudget;
    return total;
}

double CampaignIDEThread::totalMonthlyBudget() const
{
    double total = 0;
    for (const CampaignMediaPlanRow &row : mediaPlanRows)
        total += row.monthlyBudget;
    return total;
}

double CampaignIDEThread::blendedTargetCPA() const
{
    if (mediaPlanRows.isEmpty())
        return 0;
    double total = 0;
    for (const CampaignMediaPlanRow &row : mediaPlanRows)
        total += row.targetCPA;
    return total / double(mediaPlanRows.size());
}

qint64 CampaignIDEThread::totalEstimatedConversions() const
{
    qint64 total = 0;
    for (const CampaignMediaPlanRow &row : mediaPlanRows)
        total = saturatingAdd(total, row.estimatedConversions);
    return total;
}

void CampaignIDEThread::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("projectID", projectID)
        .field("title", title)
        .field("isStarred", isStarred)
        .field("updatedAt", updatedAt)
        .field("workbenchView", workbenchView)
        .field("dryRunEnabled", dryRunEnabled)
        .field("approvalMode", approvalMode)
        .field("agentTabs", agentTabs)
        .field("activeAgentTabID", activeAgentTabID)
        .field("splitAgentTabID", splitAgentTabID)
        .field("mediaPlanRows", mediaPlanRows)
        .field("competitorDomain", competitorDomain)
        .field("competitorAds", competitorAds)
        .field("rawMarkdownOverride", rawMarkdownOverride)
        .field("utmSource", utmSource)
        .field("utmMedium", utmMedium)
        .field("utmCampaign", utmCampaign)
        .field("conversionPixelsVerified", conversionPixelsVerified);
}

CampaignIDEThread CampaignIDEThread::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .projectID = reader.required<QUuid>("projectID"),
        .title = reader.required<QString>("title"),
        .isStarred = reader.required<bool>("isStarred"),
        .updatedAt = reader.required<QString>("updatedAt"),
        .workbenchView = reader.required<IDEWorkbenchView>("workbenchView"),
        .dryRunEnabled = reader.required<bool>("dryRunEnabled"),
        .approvalMode = reader.required<ThreadApprovalMode>("approvalMode"),
        .agentTabs = reader.required<QList<CampaignAgentTab>>("agentTabs"),
        .activeAgentTabID = reader.required<QUuid>("activeAgentTabID"),
        .splitAgentTabID = reader.optional<QUuid>("splitAgentTabID"),
        .mediaPlanRows = reader.required<QList<CampaignMediaPlanRow>>("mediaPlanRows"),
        .competitorDomain = reader.required<QString>("competitorDomain"),
        .competitorAds = reader.required<QList<CampaignCompetitorAd>>("competitorAds"),
        .rawMarkdownOverride = reader.optional<QString>("rawMarkdownOverride"),
        .utmSource = reader.required<QString>("utmSource"),
        .utmMedium = reader.required<QString>("utmMedium"),
        .utmCampaign = reader.required<QString>("utmCampaign"),
        .conversionPixelsVerified = reader.required<bool>("conversionPixelsVerified"),
    };
}

} // namespace orvane
