#pragma once

#include "ide/records/CampaignTimelineEntry.h"
#include "kit/support/JsonCoding.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

namespace orvane {

// One agent conversation inside a thread.
struct CampaignAgentTab {
    QUuid id = {};
    QString title = {};
    QString personaName = {};
    QString personaHandle = {};
    QList<CampaignTimelineEntry> entries = {}; // oldest first
    QString draftPrompt = {};
    bool isStreaming = false;
    std::optional<QString> statusText = {};

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignAgentTab decode(const JsonObjectReader &reader);

    bool operator==(const CampaignAgentTab &) const = default;
};

} // namespace orvane
