#pragma once

#include "ide/records/IDEWorkbenchView.h"
#include "kit/support/JsonCoding.h"

#include <QString>
#include <QUuid>

namespace orvane {

// One suggested piece of work, started as a new thread.
struct CampaignRecommendedNextAction {
    QUuid id = {};
    QString category = {};
    QString platform = {};
    QString accountName = {};
    QString title = {};
    QString impactEstimate = {};
    QString rationale = {};
    QString prompt = {};
    IDEWorkbenchView targetWorkbench = IDEWorkbenchView::document;
    bool isCompleted = false;

    [[nodiscard]] const QString &impactLabel() const { return impactEstimate; }
    [[nodiscard]] const QString &detail() const { return rationale; }

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignRecommendedNextAction decode(const JsonObjectReader &reader);

    bool operator==(const CampaignRecommendedNextAction &) const = default;
};

} // namespace orvane
