#pragma once

#include "ide/copilot/CampaignCopilotStore.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/notifications/CampaignNotificationCenter.h"

#include <memory>
#include <optional>

namespace orvane::bench {

// A signed-out workspace model keeping every file under root (a temporary home): the sample threads.
inline std::unique_ptr<CampaignIDEWorkspaceModel> sampleWorkspaceModel(const QString &root)
{
    using namespace Qt::StringLiterals;
    return std::make_unique<CampaignIDEWorkspaceModel>(std::nullopt, new CampaignNotificationCenter({}, nullptr),
        new CampaignCopilotStore(),
        CampaignIDEWorkspaceModel::Locations {
            .workspaceRoot = root + u"/Documents/Orvane"_s,
            .stateFile = root + u"/data/Orvane/campaign-ide-state.json"_s,
            .mirrorLedgerFile = root + u"/data/Orvane/mirror-ledger.json"_s,
            .defaults = platform::UserDefaults(root + u"/config/Orvane/defaults"_s),
        });
}

} // namespace orvane::bench
