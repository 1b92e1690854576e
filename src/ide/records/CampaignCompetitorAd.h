#pragma once

#include "kit/support/JsonCoding.h"

#include <QList>
#include <QString>
#include <QUuid>

namespace orvane {

// One competitor ad card of a thread's competitor research.
struct CampaignCompetitorAd {
    QUuid id = {};
    QString competitorDomain = {};
    QString channel = {};
    QString headline = {};
    QString bodyCopy = {};
    QString cta = {};
    QList<QString> topKeywords = {};
    QString estimatedMonthlySpend = {};
    qint64 activeDays = 0;

    // Names the ad cards use for the same fields.
    [[nodiscard]] const QString &estimatedSpend() const { return estimatedMonthlySpend; }
    [[nodiscard]] qint64 runningDays() const { return activeDays; }
    [[nodiscard]] const QString &bodyPreview() const { return bodyCopy; }
    [[nodiscard]] const QString &ctaText() const { return cta; }

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignCompetitorAd decode(const JsonObjectReader &reader);

    bool operator==(const CampaignCompetitorAd &) const = default;
};

} // namespace orvane
