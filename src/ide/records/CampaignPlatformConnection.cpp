#include "ide/records/CampaignPlatformConnection.h"

#include <QStringBuilder>

namespace orvane {

QString CampaignPlatformConnection::accountLabel() const
{
    return accountName % u" (" % accountID % u')';
}

QString CampaignPlatformConnection::monthlySpend() const
{
    return isConnected() ? QStringLiteral("$14,500/mo") : QStringLiteral("$0/mo");
}

void CampaignPlatformConnection::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("name", name)
        .field("category", category)
        .field("icon", icon)
        .field("accountID", accountID)
        .field("accountName", accountName)
        .field("mode", mode)
        .field("lastSynced", lastSynced);
}

CampaignPlatformConnection CampaignPlatformConnection::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QString>("id"),
        .name = reader.required<QString>("name"),
        .category = reader.required<QString>("category"),
        .icon = reader.required<QString>("icon"),
        .accountID = reader.required<QString>("accountID"),
        .accountName = reader.required<QString>("accountName"),
        .mode = reader.required<ConnectionMode>("mode"),
        .lastSynced = reader.required<QString>("lastSynced"),
    };
}

} // namespace orvane
