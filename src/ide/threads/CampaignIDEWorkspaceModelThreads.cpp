// Active thread, thread list, agent tab and thread setting operations of the workspace model.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/ThreadList.h"
#include "ide/threads/ThreadEngine.h"

#include <QStringBuilder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

// The competitor a new launch thread studies until the user names one: the seed threads' first.
const QString kLaunchCompetitorDomain = u"taskvane.io"_s;

// A thread's workbench view decides which section of the project the window shows beside it.
CampaignIDESection sectionForWorkbench(IDEWorkbenchView workbench)
{
    switch (workbench) {
    case IDEWorkbenchView::document:
    case IDEWorkbenchView::table:
        return CampaignIDESection::document;
    case IDEWorkbenchView::canvas:
        return CampaignIDESection::creativeStudio;
    case IDEWorkbenchView::dashboard:
        return CampaignIDESection::dashboard;
    case IDEWorkbenchView::explore:
        return CampaignIDESection::reports;
    case IDEWorkbenchView::localFiles:
        return CampaignIDESection::localFiles;
    }
    return CampaignIDESection::document;
}

} // namespace

// --- the thread list ----------------------------------------------------------------------------

const QList<CampaignIDEThread> &CampaignIDEWorkspaceModel::threads() const
{
    return m_threadList->threads();
}

const CampaignIDEThread *CampaignIDEWorkspaceModel::thread(const QUuid &threadID) const
{
    return m_threadList->thread(threadID);
}

bool CampaignIDEWorkspaceModel::hasThreadBody(const QUuid &threadID) const
{
    return m_threadList->hasThreadBody(threadID);
}

CampaignThreadSummary CampaignIDEWorkspaceModel::threadSummary(const CampaignIDEThread &thread) const
{
    return m_threadList->threadSummary(thread);
}

bool CampaignIDEWorkspaceModel::mutateThread(
    const QUuid &threadID, const std::function<void(CampaignIDEThread &)> &mutation, Save save)
{
    return m_threadList->mutateThread(threadID, mutation, save);
}

void CampaignIDEWorkspaceModel::insertThread(qsizetype row, const CampaignIDEThread &thread, Save save)
{
    m_threadList->insertThread(row, thread, save);
}

qsizetype CampaignIDEWorkspaceModel::removeThreads(
    const std::function<bool(const CampaignIDEThread &)> &predicate, Save save)
{
    return m_threadList->removeThreads(predicate, save);
}

void CampaignIDEWorkspaceModel::setThreads(const QList<CampaignIDEThread> &threads, Save save)
{
    m_threadList->setThreads(threads, save);
}

bool CampaignIDEWorkspaceModel::updateTimelineEntry(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID,
    const std::function<void(CampaignTimelineEntry &)> &mutate)
{
    return m_threadList->updateTimelineEntry(threadID, tabID, entryID, mutate);
}

void CampaignIDEWorkspaceModel::toggleStarThread(const QUuid &threadID)
{
    m_threadList->toggleStarThread(threadID);
}

void CampaignIDEWorkspaceModel::renameThread(const QUuid &threadID, const QString &newTitle)
{
    m_threadList->renameThread(threadID, newTitle);
}

void CampaignIDEWorkspaceModel::selectAgentTab(const QUuid &tabID, const QUuid &threadID)
{
    m_threadList->selectAgentTab(tabID, threadID);
}

void CampaignIDEWorkspaceModel::closeAgentTab(const QUuid &tabID, const QUuid &threadID)
{
    m_threadList->closeAgentTab(tabID, threadID);
}

void CampaignIDEWorkspaceModel::addAgentTab(const std::optional<OrvaneAgentPersona> &persona, const QUuid &threadID)
{
    m_threadList->addAgentTab(persona, threadID);
}

void CampaignIDEWorkspaceModel::toggleSplitAgentPane(const QUuid &threadID)
{
    m_threadList->toggleSplitAgentPane(threadID);
}

void CampaignIDEWorkspaceModel::showAgentTabInSplit(const QUuid &tabID, const QUuid &threadID)
{
    m_threadList->showAgentTabInSplit(tabID, threadID);
}

void CampaignIDEWorkspaceModel::toggleThreadDryRun(const QUuid &threadID)
{
    m_threadList->toggleThreadDryRun(threadID);
}

void CampaignIDEWorkspaceModel::setThreadApprovalMode(ThreadApprovalMode mode, const QUuid &threadID)
{
    m_threadList->setThreadApprovalMode(mode, threadID);
}

void CampaignIDEWorkspaceModel::setThreadDraft(const QString &text, const QUuid &threadID, const QUuid &tabID)
{
    m_threadList->setThreadDraft(text, threadID, tabID);
}

// --- active thread and thread list ---------------------------------------------------------------

std::optional<CampaignIDEThread> CampaignIDEWorkspaceModel::activeThread() const
{
    if (const std::optional<QUuid> id = m_primaryDestination.threadID()) {
        if (const CampaignIDEThread *thread = this->thread(*id))
            return *thread;
        return std::nullopt;
    }
    if (!selectedProjectID()) {
        if (threads().isEmpty())
            return std::nullopt;
        return threads().first();
    }
    for (const CampaignIDEThread &thread : threads()) {
        if (thread.projectID == *selectedProjectID())
            return thread;
    }
    return std::nullopt;
}

QList<CampaignIDEThread> CampaignIDEWorkspaceModel::recentThreads() const
{
    if (!m_projectFilterID)
        return threads();
    QList<CampaignIDEThread> filtered;
    for (const CampaignIDEThread &thread : threads()) {
        if (thread.projectID == *m_projectFilterID)
            filtered.append(thread);
    }
    return filtered;
}

CampaignIDEThread CampaignIDEWorkspaceModel::ensureThread(const QUuid &projectID)
{
    // The caller gets the whole thread, never the head a thread keeps until it is read.
    const CampaignIDEThread *whole = m_threadList->wholeThread(ensureThreadID(projectID));
    return whole ? *whole : CampaignIDEThread {}; // none only if a listener removed it at once
}

QUuid CampaignIDEWorkspaceModel::ensureThreadID(const QUuid &projectID)
{
    const auto found = std::find_if(threads().cbegin(), threads().cend(),
        [&projectID](const CampaignIDEThread &thread) { return thread.projectID == projectID; });
    if (found != threads().cend())
        return found->id;

    const CampaignIDEProject *project = this->project(projectID);
    const QString title = project ? project->name : u"New Campaign"_s;
    const QString displayName = project ? project->name : u"Campaign"_s;
    const QString slug = project ? project->slug() : u"campaign"_s;
    // The folder the project has: not its slug where another project's folder took that name.
    const QString folder = project ? projectFolderName(*project) : u"campaign"_s;

    CampaignIDEThread thread = ThreadList::newThread({
        .projectID = projectID,
        .title = title % u" — Launch Thread"_s,
        .workbench = IDEWorkbenchView::document,
        .tabTitle = u"Campaign Strategy"_s,
        .personaName = u"Orvane Native Operator"_s,
        .personaHandle = u"@orvane"_s,
        .welcome = u"Opened **"_s % displayName % u"** in Local + Cloud IDE mode. All changes sync automatically to "_s
            % u"`"_s % shownWorkspaceRoot() % u'/' % folder
            % u"/`.\n\nUse the **Document**, **Table**, **Canvas**, **Dashboard**, **Explore**, or **Local Files** "
              u"tabs on the right, or tell me what to build or optimize."_s,
        .welcomeLink = std::nullopt,
        .competitorDomain = kLaunchCompetitorDomain,
        .utmCampaign = project ? QString(slug).replace(u'-', u'_') : u"orvane_launch"_s,
    });
    insertThread(0, thread);
    syncThreadArtifactsToDisk(thread);
    return thread.id;
}

void CampaignIDEWorkspaceModel::syncSectionFromWorkbench(IDEWorkbenchView workbench)
{
    setSelectedSection(sectionForWorkbench(workbench));
}

void CampaignIDEWorkspaceModel::selectWorkbenchView(IDEWorkbenchView view, const std::optional<QUuid> &threadID)
{
    QUuid id;
    if (threadID) {
        if (!thread(*threadID))
            return;
        id = *threadID;
    } else if (const std::optional<CampaignIDEThread> active = activeThread()) {
        id = active->id;
    } else {
        return;
    }

    mutateThread(
        id, [view](CampaignIDEThread &thread) { thread.workbenchView = view; }, Save::no);
    syncSectionFromWorkbench(view);
    if (view == IDEWorkbenchView::canvas && !selectedArtboardID()) {
        if (const std::optional<CampaignIDEProject> project = selectedProject();
            project && !project->creatives.isEmpty())
            setSelectedArtboardID(project->creatives.first().id);
    }
    if (view == IDEWorkbenchView::localFiles) {
        if (const CampaignIDEThread *thread = this->thread(id))
            syncThreadArtifactsToDisk(*thread);
        reloadLocalFilesForSelectedProject();
    }
    savePersistedThreads();
}

} // namespace orvane
