#include "ide/records/CampaignMediaPlanRow.h"

namespace orvane {

CampaignMediaPlanRow CampaignMediaPlanRow::make(QUuid id, QString channel, QString campaignName, QString funnelStage,
    QString audience, QString format, double dailyBudget, std::optional<double> monthlyBudget, QString bidStrategy,
    double targetCPA, qint64 estimatedConversions, QString status)
{
    return {
        .id = id,
        .channel = std::move(channel),
        .campaignName = std::move(campaignName),
        .funnelStage = std::move(funnelStage),
        .audience = std::move(audience),
        .format = std::move(format),
        .dailyBudget = dailyBudget,
        .monthlyBudget = monthlyBudget.value_or(dailyBudget * 30),
        .bidStrategy = std::move(bidStrategy),
        .targetCPA = targetCPA,
        .estimatedConversions = estimatedConversions,
        .status = std::move(status),
    };
}

void CampaignMediaPlanRow::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("channel", channel)
        .field("campaignName", campaignName)
        .field("funnelStage", funnelStage)
        .field("audience", audience)
        .field("format", format)
        .field("dailyBudget", dailyBudget)
        .field("monthlyBudget", monthlyBudget)
        .field("bidStrategy", bidStrategy)
        .field("targetCPA", targetCPA)
        .field("estimatedConversions", estimatedConversions)
        .field("status", status);
}

CampaignMediaPlanRow CampaignMediaPlanRow::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .channel = reader.required<QString>("channel"),
        .campaignName = reader.required<QString>("campaignName"),
        .funnelStage = reader.required<QString>("funnelStage"),
        .audience = reader.required<QString>("audience"),
        .format = reader.required<QString>("format"),
        .dailyBudget = reader.required<double>("dailyBudget"),
        .monthlyBudget = reader.required<double>("monthlyBudget"),
        .bidStrategy = reader.required<QString>("bidStrategy"),
        .targetCPA = reader.required<double>("targetCPA"),
        .estimatedConversions = reader.required<qint64>("estimatedConversions"),
        .status = reader.required<QString>("status"),
    };
}

} // namespace orvane
