#include "ide/records/CampaignIDEAgentProposal.h"

namespace orvane {

void CampaignIDEAgentProposal::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("projectID", projectID)
        .field("artboardID", artboardID)
        .field("title", title)
        .field("rationale", rationale)
        .field("before", before)
        .field("after", after)
        .field("status", status);
}

CampaignIDEAgentProposal CampaignIDEAgentProposal::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .projectID = reader.required<QUuid>("projectID"),
        .artboardID = reader.required<QUuid>("artboardID"),
        .title = reader.required<QString>("title"),
        .rationale = reader.required<QString>("rationale"),
        .before = reader.required<QString>("before"),
        .after = reader.required<QString>("after"),
        .status = reader.required<AgentProposalStatus>("status"),
    };
}

void CampaignIDEPlanProposal::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("projectID", projectID)
        .field("title", title)
        .field("rationale", rationale)
        .field("before", before)
        .field("after", after)
        .field("status", status);
}

CampaignIDEPlanProposal CampaignIDEPlanProposal::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .projectID = reader.required<QUuid>("projectID"),
        .title = reader.required<QString>("title"),
        .rationale = reader.required<QString>("rationale"),
        .before = reader.required<QString>("before"),
        .after = reader.required<QString>("after"),
        .status = reader.required<AgentProposalStatus>("status"),
    };
}

} // namespace orvane
