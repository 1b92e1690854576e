#include "ide/records/CampaignRecommendedNextAction.h"

namespace orvane {

void CampaignRecommendedNextAction::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("category", category)
        .field("platform", platform)
        .field("accountName", accountName)
        .field("title", title)
        .field("impactEstimate", impactEstimate)
        .field("rationale", rationale)
        .field("prompt", prompt)
        .field("targetWorkbench", targetWorkbench)
        .field("isCompleted", isCompleted);
}

CampaignRecommendedNextAction CampaignRecommendedNextAction::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .category = reader.required<QString>("category"),
        .platform = reader.required<QString>("platform"),
        .accountName = reader.required<QString>("accountName"),
        .title = reader.required<QString>("title"),
        .impactEstimate = reader.required<QString>("impactEstimate"),
        .rationale = reader.required<QString>("rationale"),
        .prompt = reader.required<QString>("prompt"),
        .targetWorkbench = reader.required<IDEWorkbenchView>("targetWorkbench"),
        .isCompleted = reader.required<bool>("isCompleted"),
    };
}

} // namespace orvane
