#pragma once

#include "platform/UserDefaults.h"

#include <QString>

namespace orvane {

// Where the workspace keeps its files. Tests point every location into a temporary home.
struct WorkspaceLocations {
    QString workspaceRoot; // <documents folder>/Orvane
    QString stateFile; // <data home>/Orvane/campaign-ide-state.json
    QString mirrorLedgerFile; // <data home>/Orvane/mirror-ledger.json: what the mirror last wrote
    platform::UserDefaults defaults; // holds the threads key

    // The locations for the environment as it is now (HOME, XDG_DATA_HOME, XDG_CONFIG_HOME).
    [[nodiscard]] static WorkspaceLocations standard();
};

} // namespace orvane
