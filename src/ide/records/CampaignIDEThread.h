#pragma once

#include "ide/records/CampaignAgentTab.h"
#include "ide/records/CampaignCompetitorAd.h"
#include "ide/records/CampaignMediaPlanRow.h"
#include "ide/records/IDEWorkbenchView.h"
#include "kit/support/JsonCoding.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

namespace orvane {

// One agent workspace bound to a campaign project. Every member is implicitly shared, so copying a
// thread, or a whole list of them, costs a few reference-count increments.
struct CampaignIDEThread {
    QUuid id = {};
    QUuid projectID = {};
    QString title = {};
    bool isStarred = false;
    QString updatedAt = {};
    IDEWorkbenchView workbenchView = IDEWorkbenchView::document;
    bool dryRunEnabled = false;
    ThreadApprovalMode approvalMode = ThreadApprovalMode::manual;
    QList<CampaignAgentTab> agentTabs = {};
    QUuid activeAgentTabID = {};
    std::optional<QUuid> splitAgentTabID = {};
    QList<CampaignMediaPlanRow> mediaPlanRows = {};
    QString competitorDomain = {};
    QList<CampaignCompetitorAd> competitorAds = {};
    std::optional<QString> rawMarkdownOverride = {};
    QString utmSource = {};
    QString utmMedium = {};
    QString utmCampaign = {};
    bool conversionPixelsVerified = false;

    // The first tab whose id is activeAgentTabID, else the first tab; none without tabs.
    [[nodiscard]] std::optional<CampaignAgentTab> activeTab() const;
    // activeTab(), or a stand-in "Agent" tab with a fresh id that is not stored in the thread.
    [[nodiscard]] CampaignAgentTab activeAgentTab() const;

    [[nodiscard]] double totalDailyBudget() const;
    [[nodiscard]] double totalMonthlyBudget() const;
    // The plain mean of the rows' target CPA, unweighted; 0 without rows.
    [[nodiscard]] double blendedTargetCPA() const;
    // Saturates at the bounds of qint64 rather than overflow on corrupt figures.
    [[nodiscard]] qint64 totalEstimatedConversions() const;

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignIDEThread decode(const JsonObjectReader &reader);

    bool operator==(const CampaignIDEThread &) const = default;
};

} // namespace orvane
