#pragma once

#include "ide/records/CampaignIDEThread.h"
#include "ide/records/IDEWorkbenchView.h"
#include "kit/support/JsonCoding.h"

#include <QString>
#include <QUuid>

#include <optional>

namespace orvane {

// What lists, cards and counts show of a thread without its body (tabs, timelines, tables): one
// entry of the thread store's index.
struct CampaignThreadSummary {
    QUuid id = {};
    QUuid projectID = {};
    QString title = {};
    bool isStarred = false;
    QString updatedAt = {};
    IDEWorkbenchView workbenchView = IDEWorkbenchView::document;
    qint64 agentTabCount = 0;
    qint64 mediaPlanRowCount = 0;
    // Inline approvals still pending, over every tab's timeline.
    qint64 pendingApprovalCount = 0;
    // The start of the active tab's last message; none when that tab has no messages.
    std::optional<QString> preview = {};

    // Previews keep this many characters, enough for a card's few lines.
    static constexpr qsizetype previewLength = 320;

    [[nodiscard]] static CampaignThreadSummary of(const CampaignIDEThread &thread);
    // A thread holding only the summary's own fields, its body empty.
    [[nodiscard]] CampaignIDEThread headOnly() const;
    // The fields a thread keeps outside its body, taken from the thread.
    void takeHead(const CampaignIDEThread &thread);

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignThreadSummary decode(const JsonObjectReader &reader);

    bool operator==(const CampaignThreadSummary &) const = default;
};

} // namespace orvane
