#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

namespace orvane {

// The copilot's scope: who, in which workspace, on which project (none on the projects home).
struct CampaignCopilotScopeKey {
    QString principalID;
    QString workspaceID;
    std::optional<QUuid> projectID;

    bool operator==(const CampaignCopilotScopeKey &) const = default;
};

[[nodiscard]] size_t qHash(const CampaignCopilotScopeKey &key, size_t seed = 0);

// What the window shows, as the copilot names it. The order matters: the model maps a section to
// the surface one position after it.
enum class CampaignCopilotSurface { projectsHome, plan, creative, reports, approvals, localFiles, dashboard, settings };

// "Projects", "Plan", "Creative Canvas", ...
[[nodiscard]] QString rawValue(CampaignCopilotSurface surface);

// One label/value line describing the scope.
struct CampaignCopilotFact {
    QString label;
    QString value;

    // "label:value"; two facts with equal label and value share it.
    [[nodiscard]] QString id() const { return label + u':' + value; }
    bool operator==(const CampaignCopilotFact &) const = default;
};

// The model's description of what the user is working on.
struct CampaignCopilotContext {
    std::optional<QString> principalID;
    std::optional<QString> accountName;
    std::optional<QString> workspaceID;
    std::optional<QString> workspaceName;
    std::optional<QString> teamName;
    std::optional<QUuid> projectID;
    std::optional<QString> remoteProjectID;
    std::optional<QString> projectName;
    CampaignCopilotSurface surface = CampaignCopilotSurface::projectsHome;
    std::optional<QString> artifact;
    std::optional<QString> selection;
    QList<CampaignCopilotFact> facts;
    QList<QString> blockers;
    QList<QString> capabilities;
    QList<QString> unavailableData;
    bool isFresh = false;

    // A key only when the identity is fresh and both principal and workspace are non-empty.
    [[nodiscard]] std::optional<CampaignCopilotScopeKey> scopeKey() const;

    bool operator==(const CampaignCopilotContext &) const = default;
};

// One line of a copilot transcript.
struct CampaignCopilotMessage {
    struct Tool {
        QString name;
        std::optional<QString> summary;
        bool running = false;
        bool operator==(const Tool &) const = default;
    };
    enum class Kind { tool, operatorUser, agent, error };

    QUuid id;
    Kind kind = Kind::agent;
    std::optional<Tool> tool; // set when kind is Kind::tool
    QString text;

    bool operator==(const CampaignCopilotMessage &) const = default;
};

} // namespace orvane
