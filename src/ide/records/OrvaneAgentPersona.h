#pragma once

#include "ide/records/IDEWorkbenchView.h"

#include <QString>

namespace orvane {

// One specialist agent a user can talk to. Never persisted: a tab keeps only the name and handle.
struct OrvaneAgentPersona {
    QString id = {};
    QString name = {};
    QString handle = {};
    QString role = {};
    QString specialty = {};
    QString icon = {};
    QString accentHex = {}; // "#RRGGBB"
    QString starterPrompt = {};
    IDEWorkbenchView defaultWorkbench = IDEWorkbenchView::document;

    [[nodiscard]] const QString &samplePrompt() const { return starterPrompt; }

    bool operator==(const OrvaneAgentPersona &) const = default;
};

// Feeds the eight texts in field order, then the raw value of the default workbench.
[[nodiscard]] size_t qHash(const OrvaneAgentPersona &persona, size_t seed = 0);

} // namespace orvane
