#pragma once

#include <QString>

#include <optional>

namespace orvane {

// Who the workspace is, as the copilot context reports it; a server refresh rebinds it.
struct WorkspaceIdentity {
    std::optional<QString> principalID = QStringLiteral("orvane-operator");
    std::optional<QString> workspaceID = QStringLiteral("orvane-workspace");
    std::optional<QString> accountName = QStringLiteral("Orvane Workspace");
    std::optional<QString> workspaceName = QStringLiteral("Orvane Workspace");
    bool contextIsFresh = true;
};

} // namespace orvane
