#pragma once

#include "ide/records/CreativeCanvasArtboard.h"
#include "kit/support/JsonCoding.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

namespace orvane {

// One campaign project: its plan texts, status labels, server link and artboards.
struct CampaignIDEProject {
    QUuid id = {};
    std::optional<QString> serverID = {}; // absent for a local-only project
    QString name = {};
    QString status = {};
    QString updated = {};
    QString objective = {};
    QString audience = {};
    QString channelsAndBudget = {};
    QString message = {};
    QString guardrails = {};
    bool hasPlan = false;
    QList<CreativeCanvasArtboard> creatives = {};
    bool isLaunched = false;

    // Folder name: the lower-cased name with every run of characters other than a-z and 0-9 turned
    // into one "-", trimmed of "-"; "campaign" when nothing is left. It never contains a separator.
    [[nodiscard]] QString slug() const;
    // Artboards that are approved and not edited since.
    [[nodiscard]] qsizetype approvedCreativeCount() const;
    // The first "$1,234" or "$5k" amount of channelsAndBudget, else "$45,000".
    [[nodiscard]] QString budget() const;
    // Puts amount in place of that first amount, keeping the rest of the text; appended when none.
    void replaceBudget(const QString &amount);
    // Typed text as a budget amount ("5000", "$5,000", "$12k"), with its "$"; none when it is not one.
    [[nodiscard]] static std::optional<QString> normalizedBudget(const QString &text);
    // A plan, at least one artboard, every artboard approved for launch, and not launched yet.
    [[nodiscard]] bool canExecute() const;
    // Sets the working status ("Creative review", "Plan ready", ...). A launched campaign keeps
    // "Live": later creative or plan work changes its content, never its status.
    void setStatusUnlessLaunched(const QString &newStatus);

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignIDEProject decode(const JsonObjectReader &reader);

    bool operator==(const CampaignIDEProject &) const = default;
};

} // namespace orvane
