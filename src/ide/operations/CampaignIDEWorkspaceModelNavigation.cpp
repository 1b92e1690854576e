// Navigation between destinations, opening and deleting threads, the workspace counts and the
// creation of threads.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/ThreadList.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/operations/WorkspaceOperationTexts.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/threads/ThreadEngine.h"

#include <QRandomGenerator>
#include <QStringBuilder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

// The competitor a new thread studies until the user names one: the seed threads' first.
const QString &newThreadCompetitorDomain()
{
    static const QString domain = [] {
        const QList<CampaignIDEThread> seeds = OrvaneWebParitySeeds::defaultThreads({});
        return seeds.isEmpty() ? QString() : seeds.first().competitorDomain;
    }();
    return domain;
}

} // namespace

// --- Navigation -----------------------------------------------------------------------------------

void CampaignIDEWorkspaceModel::applyThreadProjectContext(const CampaignIDEThread &thread, bool showThread)
{
    setSelectedProjectID(thread.projectID);
    if (m_notificationCenter)
        m_notificationCenter->setProjectFilter(thread.projectID);
    if (showThread)
        setPrimaryDestination(IDEPrimaryDestination::thread(thread.id));
    syncSectionFromWorkbench(thread.workbenchView);
    // An artboard already selected stays, even one of another project.
    if (!selectedArtboardID()) {
        if (const auto project = selectedProject(); project && !project->creatives.isEmpty())
            setSelectedArtboardID(project->creatives.first().id);
    }
}

void CampaignIDEWorkspaceModel::navigateTo(IDEPrimaryDestination destination)
{
    setPrimaryDestination(destination);
    switch (destination.kind()) {
    case IDEPrimaryDestination::Kind::thread:
        if (const CampaignIDEThread *thread = this->thread(*destination.threadID())) {
            const CampaignIDEThread opened = *thread; // the context's signals may change the list
            applyThreadProjectContext(opened, false);
            reloadLocalFilesForSelectedProject();
        }
        break;
    case IDEPrimaryDestination::Kind::projects:
        setSelectedProjectID(std::nullopt);
        if (m_notificationCenter)
            m_notificationCenter->setProjectFilter(std::nullopt);
        break;
    case IDEPrimaryDestination::Kind::reports:
        setSelectedSection(CampaignIDESection::reports);
        break;
    case IDEPrimaryDestination::Kind::settings:
        setSelectedSection(CampaignIDESection::settings);
        break;
    case IDEPrimaryDestination::Kind::campaigns:
    case IDEPrimaryDestination::Kind::agents:
    case IDEPrimaryDestination::Kind::assets:
    case IDEPrimaryDestination::Kind::connections:
        break;
    }
    if (m_copilotStore)
        m_copilotStore->activate(copilotContext());
}

void CampaignIDEWorkspaceModel::openThread(QUuid threadID, const std::optional<IDEWorkbenchView> &workbench)
{
    if (!thread(threadID))
        return;
    // The view is kept in the index: a thread whose body is still on disk is not read for it.
    if (workbench)
        m_threadList->mutateHead(
            threadID, [view = *workbench](CampaignIDEThread &thread) { thread.workbenchView = view; });
    const CampaignIDEThread thread = *this->thread(threadID);
    applyThreadProjectContext(thread, true);
    savePersistedThreads();
    reloadLocalFilesForSelectedProject();
}

void CampaignIDEWorkspaceModel::deleteThread(QUuid threadID)
{
    removeThreads([&threadID](const CampaignIDEThread &thread) { return thread.id == threadID; }, Save::no);
    savePersistedThreads();
    if (m_primaryDestination.threadID() != threadID)
        return;
    if (!threads().isEmpty())
        openThread(threads().first().id);
    else
        navigateTo(IDEPrimaryDestination::projects());
}

// --- Counts ---------------------------------------------------------------------------------------

QList<CampaignIDEThread> CampaignIDEWorkspaceModel::starredThreads() const
{
    QList<CampaignIDEThread> starred;
    for (const CampaignIDEThread &thread : threads()) {
        if (thread.isStarred && (!m_projectFilterID || thread.projectID == *m_projectFilterID))
            starred.append(thread);
    }
    return starred;
}

qsizetype CampaignIDEWorkspaceModel::connectedPlatformCount() const
{
    return std::count_if(m_connections.cbegin(), m_connections.cend(),
        [](const CampaignPlatformConnection &connection) { return connection.isConnected(); });
}

qsizetype CampaignIDEWorkspaceModel::totalTrackedCampaignsCount() const
{
    qsizetype count = 0;
    for (const CampaignIDEThread &thread : threads())
        count += qsizetype(threadSummary(thread).mediaPlanRowCount);
    return count;
}

qsizetype CampaignIDEWorkspaceModel::totalPendingApprovalsCount() const
{
    qsizetype count = m_pendingActions.size(); // the service's, whatever their status
    for (const CampaignIDEThread &thread : threads())
        count += qsizetype(threadSummary(thread).pendingApprovalCount);
    count += std::count_if(m_agentProposals.cbegin(), m_agentProposals.cend(),
        [](const CampaignIDEAgentProposal &proposal) { return proposal.status == AgentProposalStatus::pending; });
    return count;
}

// --- Creating threads -----------------------------------------------------------------------------

const OrvaneAgentPersona &CampaignIDEWorkspaceModel::operatorPersona()
{
    return WorkspaceWindowState::operatorPersona();
}

QUuid CampaignIDEWorkspaceModel::createNewThread(const NewThread &request, SessionStore *session)
{
    QUuid projectID;
    if (request.projectID && project(*request.projectID))
        projectID = *request.projectID;
    else if (selectedProjectID())
        projectID = *selectedProjectID();
    else if (!projects().isEmpty())
        projectID = projects().first().id;
    else
        projectID = createProject(request.title.value_or(u"New Growth Campaign"_s), std::nullopt, session);

    const OrvaneAgentPersona persona = request.persona.value_or(operatorPersona());
    const IDEWorkbenchView workbench = request.workbench.value_or(persona.defaultWorkbench);
    const QString trimmedTitle = request.title.value_or(QString()).trimmed();

    const QString &domain = newThreadCompetitorDomain();
    const CampaignIDEThread thread = ThreadList::newThread({
        .projectID = projectID,
        .title = trimmedTitle.isEmpty() ? u"Campaign Thread · "_s % persona.name : trimmedTitle,
        .workbench = workbench,
        .tabTitle = persona.name,
        .personaName = persona.name,
        .personaHandle = persona.handle,
        .welcome = u"**"_s % persona.name % u"** ("_s % persona.handle % u") ready. "_s % persona.specialty
            % u"\n\nEverything we build in this thread syncs to `"_s % shownWorkspaceRoot() % u"/`."_s,
        .welcomeLink = workbench,
        .competitorDomain = domain,
        .utmCampaign = u"orvane_campaign_"_s % QString::number(QRandomGenerator::global()->bounded(100, 1000)),
    });
    const QUuid tabID = thread.activeAgentTabID;

    insertThread(0, thread, Save::no); // openThread saves the list
    openThread(thread.id, workbench);
    syncThreadArtifactsToDisk(thread);

    if (request.initialPrompt && !request.initialPrompt->trimmed().isEmpty()) {
        if (request.autoSend)
            sendMessageInThread(thread.id, tabID, *request.initialPrompt, session);
        else
            setThreadDraft(*request.initialPrompt, thread.id, tabID);
    }
    return thread.id;
}

std::optional<QUuid> CampaignIDEWorkspaceModel::openProjectThread(QUuid projectID)
{
    if (!project(projectID))
        return std::nullopt;
    const QUuid threadID = ensureThreadID(projectID);
    openThread(threadID, std::nullopt);
    return threadID;
}

void CampaignIDEWorkspaceModel::startRecommendedAction(CampaignRecommendedNextAction action, SessionStore *session)
{
    QList<CampaignRecommendedNextAction> actions = m_recommendedActions;
    for (CampaignRecommendedNextAction &candidate : actions) {
        if (candidate.id == action.id) {
            candidate.isCompleted = true;
            break;
        }
    }
    setRecommendedActions(actions);

    std::optional<QUuid> projectID = selectedProjectID();
    if (!projectID && !projects().isEmpty())
        projectID = projects().first().id;
    createNewThread(
        NewThread {
            .title = action.title,
            .initialPrompt = action.prompt,
            .persona = std::nullopt,
            .projectID = projectID,
            .workbench = action.targetWorkbench,
            .autoSend = true,
        },
        session);
}

} // namespace orvane
