#include "ide/model/CampaignIDEWorkspaceModel.h"

#include "ide/model/StoredValue.h"
#include "ide/model/WorkspaceWindowState.h"

#include "ide/copilot/CampaignCopilotStore.h"
#include "ide/model/ThreadStore.h"
#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceFiles.h"
#include "ide/model/WorkspaceMirror.h"
#include "ide/notifications/CampaignNotificationCenter.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/sync/ServerSync.h"
#include "ide/sync/ServerSyncState.h"
#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace orvane {

using namespace Qt::StringLiterals;

const QString CampaignIDEWorkspaceModel::threadsDefaultsKey = u"com.orvane.app.macos.ide.threads.v2"_s;
const QString CampaignIDEWorkspaceModel::threadsStoreFolder = u"com.orvane.app.macos.ide.threads"_s;
const QUuid CampaignIDEWorkspaceModel::sampleProjectID = QUuid(u"C1000000-0000-0000-0000-000000000001"_s);
const QUuid CampaignIDEWorkspaceModel::sampleArtboardID = QUuid(u"C2000000-0000-0000-0000-000000000001"_s);

// --- Sample data ---------------------------------------------------------------------------------

QList<CreativeCanvasArtboard> CampaignIDEWorkspaceModel::planDerivedArtboards(const QUuid &projectID)
{
    const bool sample = projectID == sampleProjectID;
    const auto idAt = [&](int n) {
        if (!sample)
            return QUuid::createUuid();
        return n == 0 ? sampleArtboardID : QUuid(u"C2000000-0000-0000-0000-00000000000"_s + QString::number(n + 1));
    };
    const auto artboard = [](QUuid id, QString platform, QString format, QString headline, int width, int height) {
        return CreativeCanvasArtboard { id, std::move(platform), std::move(format), std::move(headline), width, height,
            CreativeReviewStatus::needsReview, false, false };
    };
    return {
        artboard(
            idAt(0), u"Google Search"_s, u"Responsive search ad"_s, u"Your agents plan. Orvane executes."_s, 1200, 628),
        artboard(idAt(1), u"LinkedIn"_s, u"Single image · 1:1"_s, u"Move from brief to live campaign in one IDE."_s,
            1200, 1200),
        artboard(idAt(2), u"Meta Ads"_s, u"Feed & Reels · 1:1"_s,
            u"Your whole campaign stack, running locally on your Mac."_s, 1080, 1080),
        artboard(idAt(3), u"Display"_s, u"Landscape banner"_s, u"Governed growth, in one workspace."_s, 1200, 628),
    };
}

QList<CampaignIDEProject> CampaignIDEWorkspaceModel::sampleProjects()
{
    const QUuid second(u"C1000000-0000-0000-0000-000000000002"_s);
    return {
        CampaignIDEProject {
            .id = sampleProjectID,
            .serverID = std::nullopt,
            .name = u"Orvane — Local Campaign IDE Launch"_s,
            .status = u"Creative review"_s,
            .updated = u"Just now"_s,
            .objective = u"Acquire qualified growth teams and performance marketers for Orvane’s local-first "
                         u"Campaign IDE."_s,
            .audience = u"Heads of Growth, Paid Media Leads, and Marketing Engineers running $50k+/mo across "
                        u"Search, Social, and Display."_s,
            .channelsAndBudget = u"Google Search + LinkedIn Sponsored Updates + X Ads · $7,500 flight · target CPA "
                                 u"< $95."_s,
            .message = u"Plan with agents. Design on canvas. Execute with explicit human approval."_s,
            .guardrails = u"All live budget mutations and campaign launches require explicit approval in Approval "
                          u"Gates."_s,
            .hasPlan = true,
            .creatives = planDerivedArtboards(sampleProjectID),
            .isLaunched = false,
        },
        CampaignIDEProject {
            .id = second,
            .serverID = std::nullopt,
            .name = u"Q4 Enterprise Demand Gen"_s,
            .status = u"Plan ready"_s,
            .updated = u"2h ago"_s,
            .objective = u"Drive enterprise pipeline from high-intent competitor and category search queries."_s,
            .audience = u"Performance marketing leaders and growth engineers at B2B SaaS and commerce companies."_s,
            .channelsAndBudget = u"Google Search + LinkedIn Sponsored Content · $5,000 test flight · optimize for "
                                 u"qualified demos."_s,
            .message = u"One local & cloud IDE for planning, creative production, governed execution, and lift "
                       u"attribution."_s,
            .guardrails = u"Verify conversion tracking and destination URLs. Every external budget or campaign "
                          u"mutation requires explicit approval."_s,
            .hasPlan = true,
            .creatives = planDerivedArtboards(second),
            .isLaunched = false,
        },
    };
}

QList<CampaignIDEAgentProposal> CampaignIDEWorkspaceModel::sampleAgentProposals()
{
    return { CampaignIDEAgentProposal {
        .id = QUuid(u"C3000000-0000-0000-0000-000000000001"_s),
        .projectID = sampleProjectID,
        .artboardID = sampleArtboardID,
        .title = u"Tighten the Search hook"_s,
        .rationale = u"Matches the plan’s governed-execution message while leading with the operator outcome."_s,
        .before = u"Your agents plan. Orvane executes."_s,
        .after = u"Plan with agents. Execute with control."_s,
        .status = AgentProposalStatus::pending,
    } };
}

CampaignIDEPlanProposal CampaignIDEWorkspaceModel::samplePlanProposal()
{
    return CampaignIDEPlanProposal {
        .id = QUuid(u"C3000000-0000-0000-0000-000000000002"_s),
        .projectID = sampleProjectID,
        .title = u"Focus the acquisition objective"_s,
        .rationale = u"Names the measurable action and target CPA guardrail for the launch flight."_s,
        .before = u"Acquire qualified growth teams and performance marketers for Orvane’s local-first Campaign IDE."_s,
        .after = u"Generate 45+ qualified demos at <$95 CPA from growth teams adopting Orvane’s Linux Campaign IDE."_s,
        .status = AgentProposalStatus::pending,
    };
}

// --- Start-up -------------------------------------------------------------------------------------

CampaignIDEWorkspaceModel::CampaignIDEWorkspaceModel(std::optional<QList<CampaignIDEProject>> projects,
    CampaignNotificationCenter *notificationCenter, CampaignCopilotStore *copilotStore, Locations locations,
    QObject *parent)
    : QObject(parent),
      m_locations(std::move(locations)),
      m_windowState(new WorkspaceWindowState(this)),
      m_disk(std::make_unique<WorkspaceDiskQueue>(m_locations.mirrorLedgerFile)),
      m_mirror(new WorkspaceMirror(
          m_locations.workspaceRoot, QFileInfo(m_locations.stateFile).absolutePath() + u"/project-folders.json"_s,
          *m_disk, [this](const QString &notice) { flashNotice(notice); }, this)),
      m_serverSync(new ServerSyncState(this)),
      m_threadStore(std::make_unique<ThreadStore>(m_locations.defaults.directory() + u'/' + threadsStoreFolder,
          m_locations.defaults.directory() + u'/' + threadsDefaultsKey + u".json", *m_disk)),
      m_connections(OrvaneWebParitySeeds::defaultConnections()),
      m_recommendedActions(OrvaneWebParitySeeds::defaultRecommendedActions()),
      m_notificationCenter(notificationCenter),
      m_copilotStore(copilotStore)
{
    Q_ASSERT(notificationCenter && copilotStore);
    connect(
        m_windowState, &WorkspaceWindowState::appearanceChanged, this, &CampaignIDEWorkspaceModel::appearanceChanged);
    connect(m_windowState, &WorkspaceWindowState::canvasChanged, this, &CampaignIDEWorkspaceModel::canvasChanged);
    connect(m_mirror, &WorkspaceMirror::localFilesChanged, this, &CampaignIDEWorkspaceModel::localFilesChanged);
    connect(m_mirror, &WorkspaceMirror::localFileChanged, this, &CampaignIDEWorkspaceModel::localFileChanged);
    connect(m_mirror, &WorkspaceMirror::selectedLocalFileIDChanged, this,
        &CampaignIDEWorkspaceModel::selectedLocalFileIDChanged);
    connect(m_mirror, &WorkspaceMirror::reportsChanged, this, &CampaignIDEWorkspaceModel::reportsChanged);
    connect(m_mirror, &WorkspaceMirror::projectMirrorsSettled, this, &CampaignIDEWorkspaceModel::projectMirrorsSettled);
    connect(
        m_serverSync, &ServerSyncState::syncingServerChanged, this, &CampaignIDEWorkspaceModel::syncingServerChanged);
    // Results come back only while the store lives, and it is a child of this model.
    m_serverSync->setHandlers([this](SessionStore &session) { bindSession(session); },
        [this](const ServerSyncState::Fetched &fetched) { ServerSync::apply(*this, fetched); });
    if (notificationCenter && !notificationCenter->parent())
        notificationCenter->setParent(this);
    if (copilotStore && !copilotStore->parent())
        copilotStore->setParent(this);

    const bool projectsGiven = projects.has_value();
    if (projectsGiven) {
        m_projects = *projects;
    } else {
        m_projects = loadPersistedProjects();
        if (m_projects.isEmpty())
            m_projects = sampleProjects();
    }
    m_agentProposals = sampleAgentProposals();
    m_planProposal = samplePlanProposal();
    if (auto stored = m_threadStore->load())
        m_threads = *std::move(stored);
    else
        m_threads = OrvaneWebParitySeeds::defaultThreads(m_projects, shownWorkspaceRoot());
    m_assets = OrvaneWebParitySeeds::defaultAssets(m_projects.isEmpty() ? sampleProjectID : m_projects.first().id);

    if (!projectsGiven && !m_threads.isEmpty()) {
        const CampaignIDEThread &first = m_threads.first();
        m_primaryDestination = IDEPrimaryDestination::thread(first.id);
        m_selectedProjectID = first.projectID;
        const CampaignIDEProject *project = this->project(first.projectID);
        if (project && !project->creatives.isEmpty())
            m_selectedArtboardID = project->creatives.first().id;
    }

    if (m_copilotStore) {
        QPointer<CampaignIDEWorkspaceModel> self(this);
        m_copilotStore->setOnAgentReplyCompleted([self](const QString &reply, const CampaignCopilotContext &context) {
            if (self)
                self->handleAgentReply(reply, context);
        });
    }

    assignProjectFolders();

    QObject *receiver = this; // queued calls to it are dropped once it is gone
    const QString root = m_locations.workspaceRoot;
    m_disk->setKeptCopiesHandler([receiver, root, shownRoot = shownWorkspaceRoot()](const QStringList &copies) {
        const QString notice = WorkspaceMirror::keptCopiesNotice(root, shownRoot, copies);
        QMetaObject::invokeMethod(
            receiver, [receiver, notice] { static_cast<CampaignIDEWorkspaceModel *>(receiver)->flashNotice(notice); },
            Qt::QueuedConnection);
    });
    loadShownThreadBodies();
    connect(this, &CampaignIDEWorkspaceModel::primaryDestinationChanged, this,
        &CampaignIDEWorkspaceModel::loadShownThreadBodies);
    connect(this, &CampaignIDEWorkspaceModel::selectedProjectIDChanged, this,
        &CampaignIDEWorkspaceModel::loadShownThreadBodies);

    syncAllProjectsToLocalDisk();
    // A thread's files were written with its last change; only bodies at hand are mirrored again.
    for (const CampaignIDEThread &thread : std::as_const(m_threads)) {
        if (m_threadStore->hasBody(thread.id))
            syncThreadArtifactsToDisk(thread);
    }

    // Quitting waits for the user's data only; mirror work left over is done at the next start.
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &CampaignIDEWorkspaceModel::finishBeforeQuit);
}

CampaignIDEWorkspaceModel::~CampaignIDEWorkspaceModel()
{
    // Everything scheduled is written before the model goes; nothing is written after it. Results
    // the writer posted back die with the object.
    m_disk->shutdown();
}

QList<CampaignIDEProject> CampaignIDEWorkspaceModel::loadPersistedProjects()
{
    const platform::FileContents file
        = platform::readRegularFile(m_locations.stateFile, platform::UserDefaults::maxValueSize);
    if (file.outcome == platform::ReadOutcome::absent)
        return {};
    if (!file.ok()) {
        m_disk->markUnreadable(m_locations.stateFile);
        return {};
    }
    try {
        return decodeJson<QList<CampaignIDEProject>>(file.bytes);
    } catch (const JsonError &) {
        m_disk->markUnreadable(m_locations.stateFile);
        return {};
    }
}

// --- Setters --------------------------------------------------------------------------------------

void CampaignIDEWorkspaceModel::setSelectedProjectID(const std::optional<QUuid> &id)
{
    assignAndNotify(this, m_selectedProjectID, id, &CampaignIDEWorkspaceModel::selectedProjectIDChanged);
}

void CampaignIDEWorkspaceModel::setSelectedSection(CampaignIDESection section)
{
    assignAndNotify(this, m_selectedSection, section, &CampaignIDEWorkspaceModel::selectedSectionChanged);
}

void CampaignIDEWorkspaceModel::setSearchQuery(const QString &query)
{
    assignAndNotify(this, m_searchQuery, query, &CampaignIDEWorkspaceModel::searchQueryChanged);
}

void CampaignIDEWorkspaceModel::setLaunchConfirmationProjectID(const std::optional<QUuid> &id)
{
    assignAndNotify(
        this, m_launchConfirmationProjectID, id, &CampaignIDEWorkspaceModel::launchConfirmationProjectIDChanged);
}

void CampaignIDEWorkspaceModel::setPendingLaunchRequest(const std::optional<CampaignLaunchRequest> &request)
{
    assignAndNotify(this, m_pendingLaunchRequest, request, &CampaignIDEWorkspaceModel::pendingLaunchRequestChanged);
}

void CampaignIDEWorkspaceModel::setExecutionReceipts(const QHash<QUuid, CampaignExecutionReceipt> &receipts)
{
    assignAndNotify(this, m_executionReceipts, receipts, &CampaignIDEWorkspaceModel::executionReceiptsChanged);
}

void CampaignIDEWorkspaceModel::setSelectedArtboardID(const std::optional<QUuid> &id)
{
    assignAndNotify(this, m_selectedArtboardID, id, &CampaignIDEWorkspaceModel::selectedArtboardIDChanged);
}

void CampaignIDEWorkspaceModel::setAgentProposals(const QList<CampaignIDEAgentProposal> &proposals)
{
    assignAndNotify(this, m_agentProposals, proposals, &CampaignIDEWorkspaceModel::agentProposalsChanged);
}

void CampaignIDEWorkspaceModel::setPlanProposal(const std::optional<CampaignIDEPlanProposal> &proposal)
{
    assignAndNotify(this, m_planProposal, proposal, &CampaignIDEWorkspaceModel::planProposalChanged);
}

void CampaignIDEWorkspaceModel::setPendingActions(const QList<PendingAction> &actions)
{
    assignAndNotify(this, m_pendingActions, actions, &CampaignIDEWorkspaceModel::pendingActionsChanged);
}

void CampaignIDEWorkspaceModel::setStatusNotice(const std::optional<QString> &notice)
{
    assignAndNotify(this, m_statusNotice, notice, &CampaignIDEWorkspaceModel::statusNoticeChanged);
}

void CampaignIDEWorkspaceModel::setPrimaryDestination(const IDEPrimaryDestination &destination)
{
    assignAndNotify(this, m_primaryDestination, destination, &CampaignIDEWorkspaceModel::primaryDestinationChanged);
}

void CampaignIDEWorkspaceModel::setConnections(const QList<CampaignPlatformConnection> &connections)
{
    assignAndNotify(this, m_connections, connections, &CampaignIDEWorkspaceModel::connectionsChanged);
}

void CampaignIDEWorkspaceModel::setAssets(const QList<CampaignAssetLibraryItem> &assets)
{
    assignAndNotify(this, m_assets, assets, &CampaignIDEWorkspaceModel::assetsChanged);
}

void CampaignIDEWorkspaceModel::setRecommendedActions(const QList<CampaignRecommendedNextAction> &actions)
{
    assignAndNotify(this, m_recommendedActions, actions, &CampaignIDEWorkspaceModel::recommendedActionsChanged);
}

void CampaignIDEWorkspaceModel::setProjectFilterID(const std::optional<QUuid> &id)
{
    assignAndNotify(this, m_projectFilterID, id, &CampaignIDEWorkspaceModel::projectFilterIDChanged);
}

// --- Window state ---------------------------------------------------------------------------------

CreativeCanvasTool CampaignIDEWorkspaceModel::canvasTool() const
{
    return m_windowState->canvasTool();
}

void CampaignIDEWorkspaceModel::setCanvasTool(CreativeCanvasTool tool)
{
    m_windowState->setCanvasTool(tool);
}

double CampaignIDEWorkspaceModel::canvasZoom() const
{
    return m_windowState->canvasZoom();
}

bool CampaignIDEWorkspaceModel::setCanvasZoom(double zoom)
{
    return m_windowState->setCanvasZoom(zoom);
}

bool CampaignIDEWorkspaceModel::canvasShowsGrid() const
{
    return m_windowState->canvasShowsGrid();
}

void CampaignIDEWorkspaceModel::setCanvasShowsGrid(bool shows)
{
    m_windowState->setCanvasShowsGrid(shows);
}

bool CampaignIDEWorkspaceModel::canvasSnapsToGrid() const
{
    return m_windowState->canvasSnapsToGrid();
}

void CampaignIDEWorkspaceModel::setCanvasSnapsToGrid(bool snaps)
{
    m_windowState->setCanvasSnapsToGrid(snaps);
}

bool CampaignIDEWorkspaceModel::isDarkTheme() const
{
    return m_windowState->isDarkTheme();
}

void CampaignIDEWorkspaceModel::setDarkTheme(bool dark)
{
    m_windowState->setDarkTheme(dark);
}

bool CampaignIDEWorkspaceModel::isSidebarCollapsed() const
{
    return m_windowState->isSidebarCollapsed();
}

void CampaignIDEWorkspaceModel::setSidebarCollapsed(bool collapsed)
{
    m_windowState->setSidebarCollapsed(collapsed);
}

bool CampaignIDEWorkspaceModel::showingCommandPalette() const
{
    return m_windowState->showingCommandPalette();
}

void CampaignIDEWorkspaceModel::setShowingCommandPalette(bool showing)
{
    m_windowState->setShowingCommandPalette(showing);
}

bool CampaignIDEWorkspaceModel::agentDrawerOpen() const
{
    return m_windowState->agentDrawerOpen();
}

void CampaignIDEWorkspaceModel::setAgentDrawerOpen(bool open)
{
    m_windowState->setAgentDrawerOpen(open);
}

// --- Selection and notices ------------------------------------------------------------------------

qsizetype CampaignIDEWorkspaceModel::selectedProjectIndex() const
{
    if (!m_selectedProjectID)
        return -1;
    for (qsizetype i = 0; i < m_projects.size(); ++i) {
        if (m_projects.at(i).id == *m_selectedProjectID)
            return i;
    }
    return -1;
}

std::optional<CampaignIDEProject> CampaignIDEWorkspaceModel::selectedProject() const
{
    const qsizetype row = selectedProjectIndex();
    if (row < 0)
        return std::nullopt;
    return m_projects.at(row);
}

std::optional<CreativeCanvasArtboard> CampaignIDEWorkspaceModel::selectedArtboard() const
{
    const qsizetype row = selectedProjectIndex();
    if (row < 0 || !m_selectedArtboardID)
        return std::nullopt;
    for (const CreativeCanvasArtboard &artboard : m_projects.at(row).creatives) {
        if (artboard.id == *m_selectedArtboardID)
            return artboard;
    }
    return std::nullopt;
}

void CampaignIDEWorkspaceModel::openProject(const QUuid &projectID)
{
    if (!project(projectID))
        return;
    if (m_selectedProjectID != projectID)
        setLaunchConfirmationProjectID(std::nullopt);
    setSelectedProjectID(projectID);
    if (m_notificationCenter)
        m_notificationCenter->setProjectFilter(projectID);
    setSelectedSection(CampaignIDESection::document);
    const auto project = selectedProject();
    setSelectedArtboardID(
        project && !project->creatives.isEmpty() ? std::optional<QUuid>(project->creatives.first().id) : std::nullopt);
    const CampaignIDEThread thread = ensureThread(projectID);
    setPrimaryDestination(IDEPrimaryDestination::thread(thread.id));
    reloadLocalFilesForSelectedProject();
    if (m_copilotStore)
        m_copilotStore->activate(copilotContext());
}

void CampaignIDEWorkspaceModel::flashNotice(const QString &message)
{
    setStatusNotice(message);
    // The timer belongs to the model, so it dies with it.
    QTimer::singleShot(m_noticeDuration, this, [this, message] {
        if (m_statusNotice && *m_statusNotice == message)
            setStatusNotice(std::nullopt);
    });
}

bool CampaignIDEWorkspaceModel::canExecute() const
{
    const auto project = selectedProject();
    return project && project->canExecute() && !m_pendingLaunchRequest;
}

QString CampaignIDEWorkspaceModel::launchStateLabel() const
{
    const auto project = selectedProject();
    if (project && project->isLaunched)
        return u"Live · Receipt confirmed"_s;
    if (m_pendingLaunchRequest && m_pendingLaunchRequest->projectID == m_selectedProjectID)
        return u"Awaiting receipt"_s;
    if (canExecute())
        return u"Ready for confirmation"_s;
    return u"Gated"_s;
}

std::optional<QString> CampaignIDEWorkspaceModel::extractDomain(const QString &text)
{
    // Whitespace and line separators, each on its own (runs give empty pieces).
    qsizetype start = 0;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i <= length; ++i) {
        if (i < length && !text.at(i).isSpace())
            continue;
        QStringView piece = QStringView(text).mid(start, i - start);
        start = i + 1;
        while (!piece.isEmpty() && piece.front().isPunct())
            piece = piece.mid(1);
        while (!piece.isEmpty() && piece.back().isPunct())
            piece.chop(1);
        if (piece.contains(u'.') && !piece.startsWith(u"http") && piece.size() >= 4)
            return piece.toString().toLower();
    }
    return std::nullopt;
}

// --- Look-ups -------------------------------------------------------------------------------------

const CampaignIDEThread *CampaignIDEWorkspaceModel::thread(const QUuid &threadID) const
{
    const auto found = std::find_if(m_threads.cbegin(), m_threads.cend(),
        [&threadID](const CampaignIDEThread &candidate) { return candidate.id == threadID; });
    return found == m_threads.cend() ? nullptr : &*found;
}

const CampaignIDEProject *CampaignIDEWorkspaceModel::project(const QUuid &projectID) const
{
    const auto found = std::find_if(m_projects.cbegin(), m_projects.cend(),
        [&projectID](const CampaignIDEProject &candidate) { return candidate.id == projectID; });
    return found == m_projects.cend() ? nullptr : &*found;
}

// --- Mutation API ---------------------------------------------------------------------------------

bool CampaignIDEWorkspaceModel::mutateThread(
    const QUuid &threadID, const std::function<void(CampaignIDEThread &)> &mutation, Save save)
{
    loadThreadBody(threadID);
    for (qsizetype i = 0; i < m_threads.size(); ++i) {
        if (m_threads.at(i).id != threadID)
            continue;
        mutation(m_threads[i]);
        const QUuid changed = m_threads.at(i).id; // the caller's id may live in the list
        Q_EMIT threadChanged(changed);
        if (save == Save::yes)
            savePersistedThreads();
        return true;
    }
    return false;
}

void CampaignIDEWorkspaceModel::insertThread(qsizetype row, const CampaignIDEThread &thread, Save save)
{
    row = std::clamp<qsizetype>(row, 0, m_threads.size());
    m_threads.insert(row, thread);
    m_threadStore->addNew(thread.id);
    Q_EMIT threadInserted(row);
    if (save == Save::yes)
        savePersistedThreads();
}

qsizetype CampaignIDEWorkspaceModel::removeThreads(
    const std::function<bool(const CampaignIDEThread &)> &predicate, Save save)
{
    qsizetype removed = 0;
    for (qsizetype i = m_threads.size() - 1; i >= 0; --i) {
        if (!predicate(m_threads.at(i)))
            continue;
        const QUuid id = m_threads.at(i).id;
        m_threads.removeAt(i);
        ++removed;
        Q_EMIT threadRemoved(i, id);
    }
    if (removed > 0 && save == Save::yes)
        savePersistedThreads();
    return removed;
}

void CampaignIDEWorkspaceModel::setThreads(const QList<CampaignIDEThread> &threads, Save save)
{
    m_threads = threads;
    Q_EMIT threadsChanged();
    if (save == Save::yes)
        savePersistedThreads();
}

bool CampaignIDEWorkspaceModel::mutateProject(
    const QUuid &projectID, const std::function<void(CampaignIDEProject &)> &mutation)
{
    for (qsizetype i = 0; i < m_projects.size(); ++i) {
        if (m_projects.at(i).id != projectID)
            continue;
        mutation(m_projects[i]);
        const CampaignIDEProject changed = m_projects.at(i);
        // The caller's id may live in the list that listeners are about to copy or change.
        Q_EMIT projectChanged(changed.id);
        savePersistedProjects();
        syncProjectToLocalDisk(changed);
        return true;
    }
    return false;
}

void CampaignIDEWorkspaceModel::mutateSelectedProject(const std::function<void(CampaignIDEProject &)> &mutation)
{
    const qsizetype row = selectedProjectIndex();
    if (row >= 0) {
        const QUuid id = m_projects.at(row).id;
        mutateProject(id, mutation);
    }
}

void CampaignIDEWorkspaceModel::insertProject(qsizetype row, const CampaignIDEProject &project)
{
    row = std::clamp<qsizetype>(row, 0, m_projects.size());
    m_projects.insert(row, project);
    assignProjectFolders();
    Q_EMIT projectInserted(row);
    savePersistedProjects();
}

qsizetype CampaignIDEWorkspaceModel::removeProjects(const std::function<bool(const CampaignIDEProject &)> &predicate)
{
    qsizetype removed = 0;
    for (qsizetype i = m_projects.size() - 1; i >= 0; --i) {
        if (!predicate(m_projects.at(i)))
            continue;
        const QUuid id = m_projects.at(i).id;
        m_projects.removeAt(i);
        ++removed;
        Q_EMIT projectRemoved(i, id);
    }
    if (removed > 0) {
        savePersistedProjects();
        assignProjectFolders();
    }
    return removed;
}

void CampaignIDEWorkspaceModel::setProjects(const QList<CampaignIDEProject> &projects)
{
    m_projects = projects;
    assignProjectFolders();
    Q_EMIT projectsChanged();
    savePersistedProjects();
}

// --- Persistence ----------------------------------------------------------------------------------

void CampaignIDEWorkspaceModel::savePersistedProjects()
{
    const QList<CampaignIDEProject> snapshot = m_projects; // shares the data; the writer encodes it
    const QString path = m_locations.stateFile;
    m_disk->enqueue(u"state"_s, [snapshot, path](WorkspaceDiskQueue &disk) {
        const QByteArray bytes = encodeJson(snapshot); // an encoding error stores nothing
        QDir().mkpath(QFileInfo(path).absolutePath());
        // Never larger than the start-up read accepts, so the store kept is one that loads.
        disk.writeStore(path, [&] {
            return bytes.size() <= platform::UserDefaults::maxValueSize && platform::writeFileAtomically(path, bytes);
        });
    });
}

void CampaignIDEWorkspaceModel::savePersistedThreads()
{
    m_threadStore->save(m_threads);
}

// --- Thread bodies --------------------------------------------------------------------------------

CampaignThreadSummary CampaignIDEWorkspaceModel::threadSummary(const CampaignIDEThread &thread) const
{
    if (!m_threadStore->hasBody(thread.id)) {
        if (auto stored = m_threadStore->storedSummary(thread.id)) {
            stored->takeHead(thread);
            return *std::move(stored);
        }
    }
    return CampaignThreadSummary::of(thread);
}

bool CampaignIDEWorkspaceModel::hasThreadBody(const QUuid &threadID) const
{
    return m_threadStore->hasBody(threadID);
}

bool CampaignIDEWorkspaceModel::loadThreadBody(const QUuid &threadID)
{
    if (m_threadStore->hasBody(threadID))
        return false;
    adoptThreadBody(threadID, m_threadStore->readStoredBody(threadID));
    return true;
}

void CampaignIDEWorkspaceModel::adoptThreadBody(const QUuid &threadID, const std::optional<CampaignIDEThread> &stored)
{
    for (CampaignIDEThread &thread : m_threads) {
        if (thread.id == threadID)
            thread = m_threadStore->adoptBody(thread, stored);
    }
}

void CampaignIDEWorkspaceModel::requestThreadBody(const QUuid &threadID, bool inBackground)
{
    if (m_threadStore->hasBody(threadID))
        return;
    if (!inBackground && !m_threadStore->isLarge(threadID)) {
        loadThreadBody(threadID);
        Q_EMIT threadChanged(threadID);
        return;
    }
    m_threadStore->readBodyInBackground(
        threadID, this, [this](const QUuid &id, const std::optional<CampaignIDEThread> &stored) {
            if (m_threadStore->hasBody(id))
                return; // read meanwhile for a change, or removed
            adoptThreadBody(id, stored);
            Q_EMIT threadChanged(id);
        });
}

void CampaignIDEWorkspaceModel::loadShownThreadBodies()
{
    if (m_primaryDestination.kind() == IDEPrimaryDestination::Kind::campaigns) {
        // The campaigns surface draws every thread's table: however small each, together they
        // could be the whole store.
        for (const CampaignIDEThread &thread : std::as_const(m_threads))
            requestThreadBody(thread.id, true);
        return;
    }
    if (const auto thread = activeThread())
        requestThreadBody(thread->id);
}

void CampaignIDEWorkspaceModel::flushUserData()
{
    m_disk->flushUserData();
}

void CampaignIDEWorkspaceModel::flushPendingWrites()
{
    // What the writer sent back (local file listings, save outcomes, notices) is published at once.
    m_mirror->flushPendingWrites();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

} // namespace orvane
