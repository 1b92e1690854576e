// Active thread, thread list, agent tab and thread setting operations of the workspace model.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/threads/ThreadEngine.h"

#include <QStringBuilder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

const QString kJustNow = u"Just now"_s;

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

// The split pane's companion when a thread has a single tab: the catalog's creative director.
const OrvaneAgentPersona &splitCompanionPersona()
{
    return OrvaneWebParitySeeds::personas().at(2);
}

} // namespace

// --- active thread and thread list ---------------------------------------------------------------

std::optional<CampaignIDEThread> CampaignIDEWorkspaceModel::activeThread() const
{
    if (const std::optional<QUuid> id = m_primaryDestination.threadID()) {
        if (const CampaignIDEThread *thread = this->thread(*id))
            return *thread;
        return std::nullopt;
    }
    if (!selectedProjectID()) {
        if (m_threads.isEmpty())
            return std::nullopt;
        return m_threads.first();
    }
    for (const CampaignIDEThread &thread : m_threads) {
        if (thread.projectID == *selectedProjectID())
            return thread;
    }
    return std::nullopt;
}

QList<CampaignIDEThread> CampaignIDEWorkspaceModel::recentThreads() const
{
    if (!m_projectFilterID)
        return m_threads;
    QList<CampaignIDEThread> filtered;
    for (const CampaignIDEThread &thread : m_threads) {
        if (thread.projectID == *m_projectFilterID)
            filtered.append(thread);
    }
    return filtered;
}

CampaignIDEThread CampaignIDEWorkspaceModel::ensureThread(const QUuid &projectID)
{
    for (const CampaignIDEThread &thread : std::as_const(m_threads)) {
        if (thread.projectID == projectID)
            return thread;
    }

    const CampaignIDEProject *project = this->project(projectID);
    const QString title = project ? project->name : u"New Campaign"_s;
    const QString displayName = project ? project->name : u"Campaign"_s;
    const QString slug = project ? project->slug() : u"campaign"_s;

    CampaignIDEThread thread = ThreadEngine::newThread({
        .projectID = projectID,
        .title = title % u" — Launch Thread"_s,
        .workbench = IDEWorkbenchView::document,
        .tabTitle = u"Campaign Strategy"_s,
        .personaName = u"Orvane Native Operator"_s,
        .personaHandle = u"@orvane"_s,
        .welcome = u"Opened **"_s % displayName % u"** in Local + Cloud IDE mode. All changes sync automatically to "_s
            % u"`"_s % shownWorkspaceRoot() % u'/' % slug
            % u"/`.\n\nUse the **Document**, **Table**, **Canvas**, **Dashboard**, **Explore**, or **Local Files** "
              u"tabs on the right, or tell me what to build or optimize."_s,
        .welcomeLink = std::nullopt,
        .competitorDomain = kLaunchCompetitorDomain,
        .utmCampaign = project ? QString(slug).replace(u'-', u'_') : u"orvane_launch"_s,
    });
    insertThread(0, thread);
    syncThreadArtifactsToDisk(thread);
    return thread;
}

CampaignIDEThread CampaignIDEWorkspaceModel::ThreadEngine::newThread(const ThreadStart &start)
{
    const CampaignTimelineEntry welcome {
        .id = QUuid::createUuid(),
        .role = CampaignTimelineEntry::EntryRole::agent,
        .authorName = start.personaName,
        .text = start.welcome,
        .timestamp = kJustNow,
        .toolInvocations = {},
        .inlineApproval = std::nullopt,
        .artifactLink = start.welcomeLink,
    };
    const CampaignAgentTab tab {
        .id = QUuid::createUuid(),
        .title = start.tabTitle,
        .personaName = start.personaName,
        .personaHandle = start.personaHandle,
        .entries = { welcome },
        .draftPrompt = {},
        .isStreaming = false,
        .statusText = std::nullopt,
    };
    return {
        .id = QUuid::createUuid(),
        .projectID = start.projectID,
        .title = start.title,
        .isStarred = false,
        .updatedAt = kJustNow,
        .workbenchView = start.workbench,
        .dryRunEnabled = false,
        .approvalMode = ThreadApprovalMode::manual,
        .agentTabs = { tab },
        .activeAgentTabID = tab.id,
        .splitAgentTabID = std::nullopt,
        .mediaPlanRows = OrvaneWebParitySeeds::defaultMediaPlanRows(),
        .competitorDomain = start.competitorDomain,
        .competitorAds = OrvaneWebParitySeeds::defaultCompetitorAds(start.competitorDomain),
        .rawMarkdownOverride = std::nullopt,
        .utmSource = u"orvane_paid"_s,
        .utmMedium = u"cpc_paid_social"_s,
        .utmCampaign = start.utmCampaign,
        .conversionPixelsVerified = true,
    };
}

void CampaignIDEWorkspaceModel::showAgentTabInSplit(const QUuid &tabID, const QUuid &threadID)
{
    mutateThread(threadID, [&tabID](CampaignIDEThread &thread) { thread.splitAgentTabID = tabID; });
}

void CampaignIDEWorkspaceModel::syncSectionFromWorkbench(IDEWorkbenchView workbench)
{
    setSelectedSection(sectionForWorkbench(workbench));
}

void CampaignIDEWorkspaceModel::toggleStarThread(const QUuid &threadID)
{
    mutateThread(threadID, [](CampaignIDEThread &thread) { thread.isStarred = !thread.isStarred; });
}

void CampaignIDEWorkspaceModel::renameThread(const QUuid &threadID, const QString &newTitle)
{
    const QString title = newTitle.trimmed();
    if (title.isEmpty())
        return;
    mutateThread(threadID, [&title](CampaignIDEThread &thread) {
        thread.title = title;
        thread.updatedAt = kJustNow;
    });
}

// --- agent tabs ----------------------------------------------------------------------------------

CampaignAgentTab CampaignIDEWorkspaceModel::ThreadEngine::personaTab(const OrvaneAgentPersona &persona)
{
    const CampaignTimelineEntry spawned {
        .id = QUuid::createUuid(),
        .role = CampaignTimelineEntry::EntryRole::agent,
        .authorName = persona.name,
        .text = u"Spawned **"_s % persona.name % u"** ("_s % persona.handle
            % u") tab on this campaign document. We share the same live Document, Media Plan Table, Creative Canvas, "
              u"and Local Files."_s,
        .timestamp = kJustNow,
        .toolInvocations = {},
        .inlineApproval = std::nullopt,
        .artifactLink = persona.defaultWorkbench,
    };
    return {
        .id = QUuid::createUuid(),
        .title = persona.name,
        .personaName = persona.name,
        .personaHandle = persona.handle,
        .entries = { spawned },
        .draftPrompt = {},
        .isStreaming = false,
        .statusText = std::nullopt,
    };
}

void CampaignIDEWorkspaceModel::selectAgentTab(const QUuid &tabID, const QUuid &threadID)
{
    mutateThread(threadID, [&tabID](CampaignIDEThread &thread) { thread.activeAgentTabID = tabID; });
}

void CampaignIDEWorkspaceModel::closeAgentTab(const QUuid &tabID, const QUuid &threadID)
{
    const CampaignIDEThread *thread = this->thread(threadID);
    if (!thread || thread->agentTabs.size() < 2)
        return;
    // Tabs restored from a damaged store may share an id; never let a close take the last tab.
    const bool keepsATab = std::any_of(thread->agentTabs.cbegin(), thread->agentTabs.cend(),
        [&tabID](const CampaignAgentTab &tab) { return tab.id != tabID; });
    if (!keepsATab)
        return;
    mutateThread(threadID, [&tabID](CampaignIDEThread &t) {
        t.agentTabs.removeIf([&tabID](const CampaignAgentTab &tab) { return tab.id == tabID; });
        if (t.activeAgentTabID == tabID && !t.agentTabs.isEmpty())
            t.activeAgentTabID = t.agentTabs.first().id;
        if (t.splitAgentTabID == tabID)
            t.splitAgentTabID.reset();
    });
}

void CampaignIDEWorkspaceModel::addAgentTab(const std::optional<OrvaneAgentPersona> &persona, const QUuid &threadID)
{
    const CampaignIDEThread *thread = this->thread(threadID);
    if (!thread)
        return;
    const QList<OrvaneAgentPersona> &catalog = OrvaneWebParitySeeds::personas();
    const CampaignAgentTab tab
        = ThreadEngine::personaTab(persona ? *persona : catalog.at(thread->agentTabs.size() % catalog.size()));
    mutateThread(threadID, [&tab](CampaignIDEThread &t) {
        t.agentTabs.append(tab);
        t.activeAgentTabID = tab.id;
    });
}

void CampaignIDEWorkspaceModel::toggleSplitAgentPane(const QUuid &threadID)
{
    const CampaignIDEThread *thread = this->thread(threadID);
    if (!thread)
        return;
    if (thread->splitAgentTabID) {
        mutateThread(threadID, [](CampaignIDEThread &t) { t.splitAgentTabID.reset(); });
        return;
    }
    if (thread->agentTabs.size() < 2)
        addAgentTab(splitCompanionPersona(), threadID);
    mutateThread(threadID, [](CampaignIDEThread &t) {
        t.splitAgentTabID.reset();
        for (const CampaignAgentTab &tab : std::as_const(t.agentTabs)) {
            if (tab.id != t.activeAgentTabID) {
                t.splitAgentTabID = tab.id;
                break;
            }
        }
    });
}

// --- thread settings -----------------------------------------------------------------------------

void CampaignIDEWorkspaceModel::toggleThreadDryRun(const QUuid &threadID)
{
    mutateThread(threadID, [](CampaignIDEThread &thread) { thread.dryRunEnabled = !thread.dryRunEnabled; });
}

void CampaignIDEWorkspaceModel::setThreadApprovalMode(ThreadApprovalMode mode, const QUuid &threadID)
{
    mutateThread(threadID, [mode](CampaignIDEThread &thread) { thread.approvalMode = mode; });
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

void CampaignIDEWorkspaceModel::setThreadDraft(const QString &text, const QUuid &threadID, const QUuid &tabID)
{
    // Drafts change on every keystroke: they reach storage with the thread's next save.
    ThreadEngine::mutateTab(
        *this, threadID, tabID, [&text](CampaignAgentTab &tab) { tab.draftPrompt = text; }, Save::no);
}

} // namespace orvane
