#pragma once

#include "kit/support/JsonCoding.h"

#include <QString>
#include <QUuid>

#include <optional>

namespace orvane {

// One trafficking line of a thread's media-plan table.
struct CampaignMediaPlanRow {
    QUuid id = {};
    QString channel = {};
    QString campaignName = {};
    QString funnelStage = {};
    QString audience = {};
    QString format = {};
    double dailyBudget = 0;
    double monthlyBudget = 0;
    QString bidStrategy = {};
    double targetCPA = 0;
    qint64 estimatedConversions = 0;
    QString status = {};

    // Builds a row; without a monthly budget the row gets a 30-day month of its daily budget. The
    // two budgets are independent afterwards.
    [[nodiscard]] static CampaignMediaPlanRow make(QUuid id, QString channel, QString campaignName, QString funnelStage,
        QString audience, QString format, double dailyBudget, std::optional<double> monthlyBudget, QString bidStrategy,
        double targetCPA, qint64 estimatedConversions, QString status);

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignMediaPlanRow decode(const JsonObjectReader &reader);

    bool operator==(const CampaignMediaPlanRow &) const = default;
};

} // namespace orvane
