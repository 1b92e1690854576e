#pragma once

#include "ide/copilot/CampaignCopilotStore.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/notifications/CampaignNotificationCenter.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

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

// Points the home and the XDG folders at `home`: a model or window made afterwards keeps its files there.
inline void pointHomeAt(const QString &home)
{
    using namespace Qt::StringLiterals;
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + u"/.config"_s).toUtf8());
    qputenv("XDG_DATA_HOME", (home + u"/.local/share"_s).toUtf8());
    qputenv("XDG_CACHE_HOME", (home + u"/.cache"_s).toUtf8());
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace orvane::bench
