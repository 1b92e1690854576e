#pragma once

#include "ide/records/CampaignAssetLibraryItem.h"
#include "ide/records/CampaignCompetitorAd.h"
#include "ide/records/CampaignIDEProject.h"
#include "ide/records/CampaignIDEThread.h"
#include "ide/records/CampaignMediaPlanRow.h"
#include "ide/records/CampaignPlatformConnection.h"
#include "ide/records/CampaignRecommendedNextAction.h"
#include "ide/records/OrvaneAgentPersona.h"

#include <QList>
#include <QString>
#include <QUuid>

// The sample data a fresh workspace starts with, the templates operations reuse, and the persona
// catalog. Factories return fresh values with new random ids on every call, except the fixed ids of
// the seed threads and their tabs.
namespace orvane::OrvaneWebParitySeeds {

// The six agent personas, in catalog order; built once.
[[nodiscard]] const QList<OrvaneAgentPersona> &personas();

// The four default trafficking rows: $1,500/day, $45,000/mo, 248 conversions, mean target CPA $195.
[[nodiscard]] QList<CampaignMediaPlanRow> defaultMediaPlanRows();

// Three sample ads templated on the domain exactly as passed.
[[nodiscard]] QList<CampaignCompetitorAd> defaultCompetitorAds(const QString &domain);

[[nodiscard]] QList<CampaignRecommendedNextAction> defaultRecommendedActions();

[[nodiscard]] QList<CampaignAssetLibraryItem> defaultAssets(const QUuid &projectID);

// The ten platform connections; built once.
[[nodiscard]] const QList<CampaignPlatformConnection> &defaultConnections();

// One thread bound to the first project (a random project id without projects), and a second one
// bound to the second project when there is one. Their texts name the workspace root as `shownRoot`.
[[nodiscard]] QList<CampaignIDEThread> defaultThreads(
    const QList<CampaignIDEProject> &projects, const QString &shownRoot = QStringLiteral("~/Documents/Orvane"));

// Capitalises word by word: words split at spaces, tabs and line ends; first letter upper-cased,
// the rest lower-cased.
[[nodiscard]] QString capitalizedWords(const QString &text);

} // namespace orvane::OrvaneWebParitySeeds
