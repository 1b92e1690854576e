#include "ide/records/CampaignCompetitorAd.h"

namespace orvane {

void CampaignCompetitorAd::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("competitorDomain", competitorDomain)
        .field("channel", channel)
        .field("headline", headline)
        .field("bodyCopy", bodyCopy)
        .field("cta", cta)
        .field("topKeywords", topKeywords)
        .field("estimatedMonthlySpend", estimatedMonthlySpend)
        .field("activeDays", activeDays);
}

CampaignCompetitorAd CampaignCompetitorAd::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .competitorDomain = reader.required<QString>("competitorDomain"),
        .channel = reader.required<QString>("channel"),
        .headline = reader.required<QString>("headline"),
        .bodyCopy = reader.required<QString>("bodyCopy"),
        .cta = reader.required<QString>("cta"),
        .topKeywords = reader.required<QList<QString>>("topKeywords"),
        .estimatedMonthlySpend = reader.required<QString>("estimatedMonthlySpend"),
        .activeDays = reader.required<qint64>("activeDays"),
    };
}

} // namespace orvane
