#include "ide/records/CampaignAgentTab.h"

namespace orvane {

void CampaignAgentTab::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("title", title)
        .field("personaName", personaName)
        .field("personaHandle", personaHandle)
        .field("entries", entries)
        .field("draftPrompt", draftPrompt)
        .field("isStreaming", isStreaming)
        .field("statusText", statusText);
}

CampaignAgentTab CampaignAgentTab::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .title = reader.required<QString>("title"),
        .personaName = reader.required<QString>("personaName"),
        .personaHandle = reader.required<QString>("personaHandle"),
        .entries = reader.required<QList<CampaignTimelineEntry>>("entries"),
        .draftPrompt = reader.required<QString>("draftPrompt"),
        .isStreaming = reader.required<bool>("isStreaming"),
        .statusText = reader.optional<QString>("statusText"),
    };
}

} // namespace orvane
