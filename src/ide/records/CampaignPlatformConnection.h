#pragma once

#include "kit/support/JsonCoding.h"

#include <QString>

namespace orvane {

// One ad-platform account link of the connections surface.
struct CampaignPlatformConnection {
    enum class ConnectionMode { localSandbox, cloudConnected, disconnected };

    QString id = {};
    QString name = {};
    QString category = {};
    QString icon = {};
    QString accountID = {};
    QString accountName = {};
    ConnectionMode mode = ConnectionMode::disconnected;
    QString lastSynced = {};

    // A local sandbox counts as connected.
    [[nodiscard]] bool isConnected() const { return mode != ConnectionMode::disconnected; }
    // "Name (id)".
    [[nodiscard]] QString accountLabel() const;
    // A fixed figure for every connected account.
    [[nodiscard]] QString monthlySpend() const;

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignPlatformConnection decode(const JsonObjectReader &reader);

    bool operator==(const CampaignPlatformConnection &) const = default;
};

} // namespace orvane

ORVANE_JSON_ENUM(orvane::CampaignPlatformConnection::ConnectionMode,
    { orvane::CampaignPlatformConnection::ConnectionMode::localSandbox, "Local Sandbox" },
    { orvane::CampaignPlatformConnection::ConnectionMode::cloudConnected, "Cloud OAuth" },
    { orvane::CampaignPlatformConnection::ConnectionMode::disconnected, "Not Connected" })
