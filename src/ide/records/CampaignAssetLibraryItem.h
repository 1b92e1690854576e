#pragma once

#include "kit/support/JsonCoding.h"

#include <QString>
#include <QUuid>

#include <optional>

namespace orvane {

// One reusable asset of the asset library.
struct CampaignAssetLibraryItem {
    enum class AssetKind { adCreative, image, landingPage, email, audience };

    QUuid id = {};
    QString name = {};
    AssetKind kind = AssetKind::adCreative;
    QString channel = {};
    QString dimensions = {};
    QString headline = {};
    QString subtitle = {};
    QString status = {};
    QString updatedAt = {};
    std::optional<QUuid> projectID = {}; // absent for an asset not tied to a project

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignAssetLibraryItem decode(const JsonObjectReader &reader);

    bool operator==(const CampaignAssetLibraryItem &) const = default;
};

} // namespace orvane

ORVANE_JSON_ENUM(orvane::CampaignAssetLibraryItem::AssetKind,
    { orvane::CampaignAssetLibraryItem::AssetKind::adCreative, "Ad Creative" },
    { orvane::CampaignAssetLibraryItem::AssetKind::image, "Image" },
    { orvane::CampaignAssetLibraryItem::AssetKind::landingPage, "Landing Page" },
    { orvane::CampaignAssetLibraryItem::AssetKind::email, "Email Asset" },
    { orvane::CampaignAssetLibraryItem::AssetKind::audience, "Audience" })
