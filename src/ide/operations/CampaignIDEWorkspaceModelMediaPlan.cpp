// Inline approvals, media-plan editing, the competitor explorer and cloning competitor ads to the
// creative canvas.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/ThreadList.h"
#include "ide/operations/WorkspaceOperationTexts.h"
#include "ide/records/OrvaneWebParitySeeds.h"

#include <QLocale>
#include <QStringBuilder>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace orvane {

using workspace_operations::justNow;

namespace {

bool isPlanFigure(double value)
{
    return std::isfinite(value) && value >= 0 && value <= CampaignIDEWorkspaceModel::maxMediaPlanFigure;
}

} // namespace

// --- Inline approvals and the media plan ----------------------------------------------------------

void CampaignIDEWorkspaceModel::approveInlineAction(QUuid threadID, QUuid tabID, QUuid entryID)
{
    updateTimelineEntry(threadID, tabID, entryID, [](CampaignTimelineEntry &entry) {
        if (entry.inlineApproval)
            entry.inlineApproval->status = CampaignInlineApproval::ApprovalDecision::approved;
    });
    const bool known = mutateThread(
        threadID,
        [](CampaignIDEThread &thread) {
            for (CampaignMediaPlanRow &row : thread.mediaPlanRows)
                row.status = u"Approved & Active"_s;
        },
        Save::no);
    if (known)
        syncThreadArtifactsToDisk(*thread(threadID));
    savePersistedThreads();
    flashNotice(u"Approved inline execution gate & updated media-plan.csv."_s);
}

void CampaignIDEWorkspaceModel::addMediaPlanRow(QUuid threadID)
{
    const bool known = mutateThread(threadID, [](CampaignIDEThread &thread) {
        thread.mediaPlanRows.append(CampaignMediaPlanRow {
            .id = QUuid::createUuid(),
            .channel = u"LinkedIn"_s,
            .campaignName = u"LI_NA_New_Flight_"_s % QString::number(thread.mediaPlanRows.size() + 1),
            .funnelStage = u"Prospecting"_s,
            .audience = u"B2B Decision Makers (200+ emp)"_s,
            .format = u"Single Image 1:1"_s,
            .dailyBudget = 250,
            .monthlyBudget = 7500,
            .bidStrategy = u"Target CPA ($175)"_s,
            .targetCPA = 175,
            .estimatedConversions = 43,
            .status = u"Draft"_s,
        });
        thread.updatedAt = justNow();
    });
    if (!known)
        return;
    syncThreadArtifactsToDisk(*thread(threadID));
    flashNotice(u"Added row to Media Plan Table."_s);
}

bool CampaignIDEWorkspaceModel::updateMediaPlanRow(CampaignMediaPlanRow row, QUuid threadID)
{
    const CampaignIDEThread *thread = m_threadList->wholeThread(threadID);
    if (!thread)
        return false;
    const bool stored = std::any_of(thread->mediaPlanRows.cbegin(), thread->mediaPlanRows.cend(),
        [&row](const CampaignMediaPlanRow &candidate) { return candidate.id == row.id; });
    if (!stored)
        return false;
    // Figures outside this range would make the derived budget or conversions meaningless or
    // impossible to represent; the stored row stays as it was.
    if (!isPlanFigure(row.dailyBudget) || !isPlanFigure(row.targetCPA)) {
        flashNotice(u"Media-plan row not updated: daily budget and target CPA must be numbers from 0 to "_s
                % QLocale(QLocale::English).toString(maxMediaPlanFigure, 'f', 0) % u'.',
            NoticeKind::warning);
        return false;
    }

    CampaignMediaPlanRow derived = row;
    derived.monthlyBudget = row.dailyBudget * 30;
    derived.estimatedConversions
        = std::max<qint64>(1, std::llround(derived.monthlyBudget / std::max(row.targetCPA, 1.0)));
    mutateThread(threadID, [&derived](CampaignIDEThread &t) {
        for (CampaignMediaPlanRow &candidate : t.mediaPlanRows) {
            if (candidate.id == derived.id) {
                candidate = derived;
                break;
            }
        }
        t.updatedAt = justNow();
    });
    syncThreadArtifactsToDisk(*this->thread(threadID));
    return true;
}

void CampaignIDEWorkspaceModel::deleteMediaPlanRow(QUuid rowID, QUuid threadID)
{
    const bool known = mutateThread(threadID, [&rowID](CampaignIDEThread &thread) {
        thread.mediaPlanRows.removeIf([&rowID](const CampaignMediaPlanRow &row) { return row.id == rowID; });
    });
    if (known)
        syncThreadArtifactsToDisk(*thread(threadID));
}

// --- Competitor explorer --------------------------------------------------------------------------

void CampaignIDEWorkspaceModel::runCompetitorLookup(const QString &domain, QUuid threadID)
{
    const QString normalized = domain.trimmed().toLower();
    if (normalized.isEmpty() || !thread(threadID))
        return;
    mutateThread(threadID, [&normalized](CampaignIDEThread &thread) {
        thread.competitorDomain = normalized;
        thread.competitorAds = OrvaneWebParitySeeds::defaultCompetitorAds(normalized);
    });
    flashNotice(u"Loaded competitor intelligence for "_s % normalized % u'.');
}

// The ad is a copy: the caller's may live in the thread changed below.
void CampaignIDEWorkspaceModel::cloneCompetitorAdToCanvas(
    CampaignCompetitorAd ad, QUuid threadID) // NOLINT(performance-unnecessary-value-param)
{
    const CampaignIDEThread *thread = this->thread(threadID);
    if (!thread)
        return;
    const QUuid projectID = thread->projectID;

    addArtboard(ad.channel, u"Counter-Positioning · 1:1"_s,
        u"Switch from "_s % ad.competitorDomain % u": "_s % ad.headline, 1080, 1080);
    mutateThread(
        threadID, [](CampaignIDEThread &t) { t.workbenchView = IDEWorkbenchView::canvas; }, Save::no);
    setSelectedSection(CampaignIDESection::creativeStudio);
    if (const CampaignIDEProject *project = this->project(projectID))
        syncProjectToLocalDisk(*project);
    savePersistedThreads();
    flashNotice(u"Cloned counter-positioning artboard to Creative Canvas."_s);
}

} // namespace orvane
