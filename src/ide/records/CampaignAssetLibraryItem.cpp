#include "ide/records/CampaignAssetLibraryItem.h"

namespace orvane {

void CampaignAssetLibraryItem::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("name", name)
        .field("kind", kind)
        .field("channel", channel)
        .field("dimensions", dimensions)
        .field("headline", headline)
        .field("subtitle", subtitle)
        .field("status", status)
        .field("updatedAt", updatedAt)
        .field("projectID", projectID);
}

CampaignAssetLibraryItem CampaignAssetLibraryItem::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .name = reader.required<QString>("name"),
        .kind = reader.required<AssetKind>("kind"),
        .channel = reader.required<QString>("channel"),
        .dimensions = reader.required<QString>("dimensions"),
        .headline = reader.required<QString>("headline"),
        .subtitle = reader.required<QString>("subtitle"),
        .status = reader.required<QString>("status"),
        .updatedAt = reader.required<QString>("updatedAt"),
        .projectID = reader.optional<QUuid>("projectID"),
    };
}

} // namespace orvane
