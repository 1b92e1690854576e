#pragma once

#include "kit/support/JsonCoding.h"

#include <QList>
#include <QString>
#include <QUuid>

namespace orvane {

// A confirmed launch waiting for its receipt. Never written to JSON.
struct CampaignLaunchRequest {
    QUuid id = {};
    QUuid projectID = {};

    // Fixed stand-in texts of a request; the launch approval sheet shows the project's own figures
    // and falls back on projectName() only when the project is gone.
    [[nodiscard]] QString projectName() const { return QStringLiteral("Campaign Launch Flight"); }
    [[nodiscard]] QString budget() const { return QStringLiteral("$45,000/mo"); }
    [[nodiscard]] QList<QString> channels() const
    {
        return { QStringLiteral("LinkedIn"), QStringLiteral("Google Search"), QStringLiteral("Reddit") };
    }
    [[nodiscard]] int approvedCreativeCount() const { return 4; }
    [[nodiscard]] int totalCreativeCount() const { return 4; }

    bool operator==(const CampaignLaunchRequest &) const = default;
};

// The receipt recorded for exactly one launch request.
struct CampaignExecutionReceipt {
    QString id = {}; // "orvane-exec-" and the first 8 characters of the request's UUID, lower-cased
    QUuid requestID = {};
    QUuid projectID = {};
    QString receivedAt = {};

    // "orvane-exec-3f2a9c1d" for a request whose UUID begins 3F2A9C1D.
    [[nodiscard]] static QString receiptNumber(const QUuid &requestID);
    // The receipt answering the request.
    [[nodiscard]] static CampaignExecutionReceipt forRequest(const CampaignLaunchRequest &request, QString receivedAt);

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignExecutionReceipt decode(const JsonObjectReader &reader);

    bool operator==(const CampaignExecutionReceipt &) const = default;
};

} // namespace orvane
