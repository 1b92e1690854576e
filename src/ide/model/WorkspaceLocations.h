#pragma once

#include "platform/UserDefaults.h"

#include <QString>
#include <QStringList>

namespace orvane {

// Where the workspace keeps its files. Tests point every location into a temporary home.
struct WorkspaceLocations {
    QString workspaceRoot; // <documents folder>/Orvane
    QString stateFile; // <data home>/Orvane/campaign-ide-state.json
    QString mirrorLedgerFile; // <data home>/Orvane/mirror-ledger.json: what the mirror last wrote
    platform::UserDefaults defaults; // holds the threads key
    // Where a rescue copy of store writes that could not land goes, the first that can be written:
    // <data home>/Orvane/rescue.json, <cache home>/Orvane/rescue.json, then in the runtime folder.
    QStringList rescueFiles = {};

    // The locations for the environment as it is now (HOME, XDG_DATA_HOME, XDG_CONFIG_HOME,
    // XDG_CACHE_HOME, XDG_RUNTIME_DIR).
    [[nodiscard]] static WorkspaceLocations standard();
};

} // namespace orvane
