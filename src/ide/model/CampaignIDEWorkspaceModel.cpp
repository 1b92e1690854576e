#include "ide/model/CampaignIDEWorkspaceModel.h"

#include "ide/model/StoredValue.h"
#include "ide/model/WorkspaceWindowState.h"

#include "ide/copilot/CampaignCopilotStore.h"
#include "ide/model/ThreadStore.h"
#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceFiles.h"
#include "ide/notifications/CampaignNotificationCenter.h"
#include "ide/records/OrvaneWebParitySeeds.h"
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

namespace {

QString dataHome()
{
    QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + u"/.local/share";
}

} // namespace

// --- Locations and sample data --------------------------------------------------------------------

CampaignIDEWorkspaceModel::Locations CampaignIDEWorkspaceModel::standardLocations()
{
    const QString dataFolder = dataHome() + u"/Orvane";
    return Locations {
        .workspaceRoot = WorkspaceFiles::documentsFolder() + u"/Orvane",
        .stateFile = dataFolder + u"/campaign-ide-state.json",
        .mirrorLedgerFile = dataFolder + u"/mirror-ledger.json",
        .defaults = platform::UserDefaults::standard(),
    };
}

QString CampaignIDEWorkspaceModel::shownWorkspaceRoot() const
{
    return WorkspaceFiles::shownPath(m_locations.workspaceRoot);
}

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
        m_threads = OrvaneWebParitySeeds::defaultThreads(m_projects);
    m_assets = OrvaneWebParitySeeds::defaultAssets(m_projects.isEmpty() ? sampleProjectID : m_projects.first().id);

    if (!projectsGiven && !m_threads.isEmpty()) {
        const CampaignIDEThread &first = m_threads.first();
        m_primaryDestination = IDEPrimaryDestination::thread(first.id);
        m_selectedProjectID = first.projectID;
        const auto project = std::find_if(m_projects.cbegin(), m_projects.cend(),
            [&](const CampaignIDEProject &p) { return p.id == first.projectID; });
        if (project != m_projects.cend() && !project->creatives.isEmpty())
            m_selectedArtboardID = project->creatives.first().id;
    }

    if (m_copilotStore) {
        QPointer<CampaignIDEWorkspaceModel> self(this);
        m_copilotStore->setOnAgentReplyCompleted([self](const QString &reply, const CampaignCopilotContext &context) {
            if (self)
                self->handleAgentReply(reply, context);
        });
    }

    loadProjectFolders();
    assignProjectFolders();

    QObject *receiver = this; // queued calls to it are dropped once it is gone
    const QString root = m_locations.workspaceRoot;
    m_disk->setKeptCopiesHandler([receiver, root, shownRoot = shownWorkspaceRoot()](const QStringList &copies) {
        const QString notice = keptCopiesNotice(root, shownRoot, copies);
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

// --- Setters --------------------------------------------------------------------------------------

void CampaignIDEWorkspaceModel::setAgentProposals(const QList<CampaignIDEAgentProposal> &proposals)
{
    assignAndNotify(this, m_agentProposals, proposals, &CampaignIDEWorkspaceModel::agentProposalsChanged);
}

void CampaignIDEWorkspaceModel::setPlanProposal(const std::optional<CampaignIDEPlanProposal> &proposal)
{
    assignAndNotify(this, m_planProposal, proposal, &CampaignIDEWorkspaceModel::planProposalChanged);
}

void CampaignIDEWorkspaceModel::setReports(const QList<ReportArtifact> &reports)
{
    assignAndNotify(this, m_reports, reports, &CampaignIDEWorkspaceModel::reportsChanged);
}

void CampaignIDEWorkspaceModel::setSelectedReport(const std::optional<ReportArtifact> &report)
{
    assignAndNotify(this, m_selectedReport, report, &CampaignIDEWorkspaceModel::reportsChanged);
}

void CampaignIDEWorkspaceModel::setPendingActions(const QList<PendingAction> &actions)
{
    assignAndNotify(this, m_pendingActions, actions, &CampaignIDEWorkspaceModel::pendingActionsChanged);
}

void CampaignIDEWorkspaceModel::selectLocalFile(const QString &id)
{
    assignAndNotify(this, m_selectedLocalFileID, std::optional<QString>(id),
        &CampaignIDEWorkspaceModel::selectedLocalFileIDChanged);
}

void CampaignIDEWorkspaceModel::setSyncingServer(bool syncing)
{
    assignAndNotify(this, m_isSyncingServer, syncing, &CampaignIDEWorkspaceModel::syncingServerChanged);
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
    const bool known = std::any_of(
        m_projects.cbegin(), m_projects.cend(), [&](const CampaignIDEProject &p) { return p.id == projectID; });
    if (!known)
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
        threadID, this, [this](const QUuid &id, std::optional<CampaignIDEThread> stored) {
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
    m_disk->flush();
    // Publish what the writer sent back (local file listings, save outcomes) right away.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

// --- Local workspace folder mirror ----------------------------------------------------------------

QString CampaignIDEWorkspaceModel::keptCopiesNotice(
    const QString &root, const QString &shownRoot, const QStringList &copies)
{
    const auto shown
        = [&](const QString &path) { return path.startsWith(root + u'/') ? shownRoot + path.mid(root.size()) : path; };
    QString notice = u"Kept your edited file as "_s + shown(copies.first());
    if (copies.size() > 1)
        notice += u" and "_s + QString::number(copies.size() - 1) + u" more beside their files"_s;
    return notice + u'.';
}

namespace {

// Writes one project's folder on the writer's thread. Returns the first failure, if any; the other
// files are still written.
std::optional<QString> mirrorProjectFolder(
    WorkspaceDiskQueue &disk, const CampaignIDEProject &project, const QString &folder, bool force = false)
{
    if (!QDir().mkpath(folder))
        return u"the folder could not be created"_s;
    std::optional<QString> failure;
    QString error;
    if (!disk.writeGenerated(folder + u'/' + QStringView(WorkspaceFiles::planFileName),
            WorkspaceFiles::campaignPlanMarkdown(project).toUtf8(), &error, force)
        && !error.isEmpty())
        failure = error;
    try {
        error.clear();
        if (!disk.writeGenerated(folder + u'/' + QStringView(WorkspaceFiles::creativesFileName),
                WorkspaceFiles::creativesJson(project.creatives), &error, force)
            && !error.isEmpty() && !failure)
            failure = error;
    } catch (const JsonError &) {
        // Skipped; the rules file below is still written.
    }
    const QString rules = folder + u'/' + QStringView(WorkspaceFiles::rulesFileName);
    const QFileInfo info(rules);
    error.clear();
    if (!info.exists() && !info.isSymLink()
        && !platform::writeFileAtomically(rules, WorkspaceFiles::executionRulesMarkdown(project).toUtf8(), &error)
        && !failure)
        failure = error;
    return failure;
}

} // namespace

void CampaignIDEWorkspaceModel::syncProjectToLocalDisk(const CampaignIDEProject &project)
{
    syncProjectFolder(project, WorkspaceDiskQueue::Lane::mirror);
}

void CampaignIDEWorkspaceModel::syncProjectFolder(const CampaignIDEProject &project, WorkspaceDiskQueue::Lane lane)
{
    const QString folder = projectFolderPath(project);
    m_disk->enqueue(
        u"project:"_s + project.id.toString(),
        [project, folder](WorkspaceDiskQueue &disk) { (void)mirrorProjectFolder(disk, project, folder); }, lane);
}

void CampaignIDEWorkspaceModel::syncAllProjectsToLocalDisk()
{
    for (const CampaignIDEProject &project : std::as_const(m_projects))
        syncProjectToLocalDisk(project);
    reloadLocalFilesForSelectedProject();
}

void CampaignIDEWorkspaceModel::forceSyncLocalFiles(const QString &successNotice)
{
    // One job per project, so that saves can run between them; the outcome is gathered at the end.
    struct Outcome {
        std::optional<QString> failure;
        QStringList keptCopies;
    };
    const auto outcome = std::make_shared<Outcome>();
    for (const CampaignIDEProject &project : std::as_const(m_projects)) {
        const QString folder = projectFolderPath(project);
        // Not keyed: a later write of the project must not take its place, or its outcome would be lost.
        m_disk->enqueue(
            [project, folder, outcome](WorkspaceDiskQueue &disk) {
                const auto error = mirrorProjectFolder(disk, project, folder, true);
                if (error && !outcome->failure)
                    outcome->failure = error;
                outcome->keptCopies += disk.takeKeptCopies();
            },
            WorkspaceDiskQueue::Lane::mirror);
    }
    QObject *receiver = this; // queued calls to it are dropped once it is gone
    const QString root = m_locations.workspaceRoot;
    m_disk->enqueue(
        [outcome, successNotice, receiver, root, shownRoot = shownWorkspaceRoot()](WorkspaceDiskQueue &) {
            QString notice = outcome->failure
                ? u"Failed to sync campaign projects to "_s + shownRoot + u": "_s + *outcome->failure
                : successNotice;
            if (!outcome->keptCopies.isEmpty())
                notice += u' ' + keptCopiesNotice(root, shownRoot, outcome->keptCopies);
            QMetaObject::invokeMethod(
                receiver,
                [receiver, notice] { static_cast<CampaignIDEWorkspaceModel *>(receiver)->flashNotice(notice); },
                Qt::QueuedConnection);
        },
        WorkspaceDiskQueue::Lane::mirror);
    reloadLocalFilesForSelectedProject();
}

void CampaignIDEWorkspaceModel::syncThreadArtifactsToDisk(const CampaignIDEThread &thread)
{
    const auto project = std::find_if(
        m_projects.cbegin(), m_projects.cend(), [&](const CampaignIDEProject &p) { return p.id == thread.projectID; });
    if (project == m_projects.cend())
        return;
    const QString folder = projectFolderPath(*project);
    // The selected project's files are on screen: they go ahead of the mirror, like its listing.
    const auto lane
        = project->id == m_selectedProjectID ? WorkspaceDiskQueue::Lane::user : WorkspaceDiskQueue::Lane::mirror;
    m_disk->enqueue(
        u"artifacts:"_s + thread.projectID.toString(),
        [thread, folder](WorkspaceDiskQueue &disk) {
            QDir().mkpath(folder);
            disk.writeGenerated(folder + u'/' + QStringView(WorkspaceFiles::mediaPlanFileName),
                WorkspaceFiles::mediaPlanCsv(thread.mediaPlanRows));
            disk.writeGenerated(folder + u'/' + QStringView(WorkspaceFiles::transcriptFileName),
                WorkspaceFiles::threadTranscriptJson(thread)); // an encoding error skips only this file
        },
        lane);
}

// --- Local files ----------------------------------------------------------------------------------

void CampaignIDEWorkspaceModel::reloadLocalFilesForSelectedProject()
{
    if (const auto project = selectedProject()) {
        syncProjectFolder(*project, WorkspaceDiskQueue::Lane::user); // shown next: ahead of the mirror
        enqueueListing(projectFolderPath(*project), false);
    } else {
        enqueueListing(m_locations.workspaceRoot, true);
    }
}

void CampaignIDEWorkspaceModel::enqueueListing(const QString &folder, bool createFolder)
{
    const quint64 generation = ++m_listingGeneration;
    QObject *receiver = this; // alive while the writer runs: the destructor stops the writer first
    m_disk->enqueue(u"listing"_s, [folder, createFolder, generation, receiver](WorkspaceDiskQueue &) {
        if (createFolder)
            QDir().mkpath(folder);
        auto files = WorkspaceFiles::listTextFiles(folder, maxListedFileSize);
        QMetaObject::invokeMethod(
            receiver,
            [receiver, generation, files = std::move(files)]() mutable {
                static_cast<CampaignIDEWorkspaceModel *>(receiver)->applyLocalFileListing(generation, std::move(files));
            },
            Qt::QueuedConnection);
    });
}

void CampaignIDEWorkspaceModel::applyLocalFileListing(
    quint64 generation, std::optional<QList<LocalWorkspaceFile>> files)
{
    if (generation != m_listingGeneration)
        return; // a newer listing is on its way
    if (!files) {
        m_localFiles.clear();
        Q_EMIT localFilesChanged();
        return;
    }
    // Unsaved edits of files that are still listed stay.
    for (LocalWorkspaceFile &file : *files) {
        const auto old = std::find_if(m_localFiles.cbegin(), m_localFiles.cend(),
            [&](const LocalWorkspaceFile &f) { return f.isModified && f.id() == file.id(); });
        if (old != m_localFiles.cend()) {
            file.content = old->content;
            file.isModified = true;
        }
    }
    m_localFiles = std::move(*files);
    Q_EMIT localFilesChanged();

    const bool selectionListed = m_selectedLocalFileID
        && std::any_of(m_localFiles.cbegin(), m_localFiles.cend(),
            [&](const LocalWorkspaceFile &f) { return f.id() == *m_selectedLocalFileID; });
    if (!selectionListed) {
        assignAndNotify(this, m_selectedLocalFileID,
            m_localFiles.isEmpty() ? std::nullopt : std::optional<QString>(m_localFiles.first().id()),
            &CampaignIDEWorkspaceModel::selectedLocalFileIDChanged);
    }
}

qsizetype CampaignIDEWorkspaceModel::selectedLocalFileIndex() const
{
    if (m_localFiles.isEmpty())
        return -1;
    if (m_selectedLocalFileID) {
        for (qsizetype i = 0; i < m_localFiles.size(); ++i) {
            if (m_localFiles.at(i).id() == *m_selectedLocalFileID)
                return i;
        }
    }
    return 0;
}

std::optional<LocalWorkspaceFile> CampaignIDEWorkspaceModel::selectedLocalFile() const
{
    const qsizetype row = selectedLocalFileIndex();
    if (row < 0)
        return std::nullopt;
    return m_localFiles.at(row);
}

void CampaignIDEWorkspaceModel::updateSelectedLocalFileContent(const QString &text)
{
    const qsizetype row = selectedLocalFileIndex();
    if (row < 0)
        return;
    LocalWorkspaceFile &file = m_localFiles[row];
    if (file.content == text && file.isModified)
        return;
    file.content = text;
    file.isModified = true;
    Q_EMIT localFileChanged(file.id());
}

QString CampaignIDEWorkspaceModel::localFileEditorContent() const
{
    const auto file = selectedLocalFile();
    return file ? file->content : QString();
}

QString CampaignIDEWorkspaceModel::selectedLocalFileName() const
{
    const auto file = selectedLocalFile();
    return file ? file->name : QString();
}

void CampaignIDEWorkspaceModel::saveSelectedLocalFile()
{
    const qsizetype row = selectedLocalFileIndex();
    if (row >= 0)
        saveLocalFile(m_localFiles.at(row));
}

void CampaignIDEWorkspaceModel::saveLocalFile(const LocalWorkspaceFile &file)
{
    QObject *receiver = this;
    m_disk->enqueue([file, receiver](WorkspaceDiskQueue &) {
        QString error;
        const bool saved = platform::writeFileAtomically(file.url.toLocalFile(), file.content.toUtf8(), &error);
        QMetaObject::invokeMethod(
            receiver,
            [receiver, file, saved, error] {
                static_cast<CampaignIDEWorkspaceModel *>(receiver)->finishLocalFileSave(file, saved, error);
            },
            Qt::QueuedConnection);
    });
}

void CampaignIDEWorkspaceModel::finishLocalFileSave(const LocalWorkspaceFile &saved, bool ok, const QString &error)
{
    if (!ok) {
        flashNotice(u"Failed to save "_s + saved.name + u": "_s + error);
        return;
    }
    // Text typed while the save ran stays marked as unsaved.
    for (LocalWorkspaceFile &file : m_localFiles) {
        if (file.id() == saved.id() && file.content == saved.content && file.isModified) {
            file.isModified = false;
            Q_EMIT localFileChanged(file.id());
            break;
        }
    }
    flashNotice(u"Saved "_s + saved.name + u" to disk."_s);
}

QString CampaignIDEWorkspaceModel::revealFolderPath() const
{
    const auto project = selectedProject();
    return project ? projectFolderPath(*project) : m_locations.workspaceRoot;
}

// --- Copilot --------------------------------------------------------------------------------------

CampaignCopilotContext CampaignIDEWorkspaceModel::copilotContext() const
{
    const auto project = selectedProject();
    CampaignCopilotContext context;
    context.principalID = m_identity.principalID;
    context.accountName = m_identity.accountName;
    context.workspaceID = m_identity.workspaceID;
    context.workspaceName = m_identity.workspaceName;
    context.teamName = u"Paid Media"_s;
    context.projectID = m_selectedProjectID;
    if (project) {
        context.remoteProjectID = project->serverID;
        context.projectName = project->name;
    }
    context.surface = m_selectedProjectID ? CampaignCopilotSurface(int(m_selectedSection) + 1)
                                          : CampaignCopilotSurface::projectsHome;
    context.artifact = m_selectedProjectID ? title(m_selectedSection) : u"All Projects"_s;
    if (m_selectedSection == CampaignIDESection::creativeStudio) {
        if (const auto artboard = selectedArtboard())
            context.selection
                = artboard->platform + u" · "_s + artboard->format + u" — \""_s + artboard->headline + u'"';
    } else if (m_selectedSection == CampaignIDESection::localFiles) {
        if (const auto file = selectedLocalFile())
            context.selection = file->name;
    }

    if (project) {
        context.facts = {
            { u"Objective"_s, project->objective },
            { u"Channels"_s, project->channelsAndBudget },
            { u"Plan"_s, project->hasPlan ? u"Ready"_s : u"Draft"_s },
            { u"Creatives"_s,
                QString::number(project->approvedCreativeCount()) + u'/' + QString::number(project->creatives.size())
                    + u" approved"_s },
            { u"Launch"_s, launchStateLabel() },
        };
        if (!project->hasPlan)
            context.blockers.append(u"Campaign plan needs review"_s);
        if (project->creatives.isEmpty())
            context.blockers.append(u"No creative artboards"_s);
        else if (project->approvedCreativeCount() != project->creatives.size())
            context.blockers.append(u"Creative approvals incomplete"_s);
        const bool pendingProposal
            = std::any_of(m_agentProposals.cbegin(), m_agentProposals.cend(),
                  [&](const CampaignIDEAgentProposal &p) {
                      return p.projectID == project->id && p.status == AgentProposalStatus::pending;
                  })
            || (m_planProposal && m_planProposal->projectID == project->id
                && m_planProposal->status == AgentProposalStatus::pending);
        if (pendingProposal)
            context.blockers.append(u"Agent proposal awaiting review"_s);
    } else {
        QList<QString> names;
        for (const CampaignIDEProject &p : m_projects)
            names.append(p.name);
        context.facts = {
            { u"Projects"_s, names.isEmpty() ? u"None"_s : names.join(u", "_s) },
            { u"Approvals"_s, QString::number(m_pendingActions.size()) + u" pending"_s },
            { u"Reports"_s, QString::number(m_reports.size()) + u" available"_s },
        };
    }

    if (!m_selectedProjectID) {
        context.capabilities
            = { u"Audit cross-channel spend"_s, u"Create a new campaign plan"_s, u"Review pending approvals"_s };
    } else {
        switch (m_selectedSection) {
        case CampaignIDESection::document:
            context.capabilities = { u"Refine objective & audience"_s, u"Propose channel & budget allocation"_s,
                u"Generate creative brief"_s };
            break;
        case CampaignIDESection::creativeStudio:
            context.capabilities = { u"Write high-converting headline variants"_s, u"Check platform character limits"_s,
                u"Propose artboard diff"_s };
            break;
        case CampaignIDESection::reports:
            context.capabilities
                = { u"Summarize lift & ROAS"_s, u"Generate executive HTML report"_s, u"Identify wasted ad spend"_s };
            break;
        case CampaignIDESection::approvals:
            context.capabilities = { u"Explain risk level & script preview"_s, u"Verify budget guardrails"_s };
            break;
        case CampaignIDESection::localFiles:
            context.capabilities = { u"Inspect local Markdown & JSON files"_s, u"Sync campaign brief to disk"_s };
            break;
        case CampaignIDESection::dashboard:
            context.capabilities = { u"Summarize post-launch delivery"_s, u"Recommend bid or budget adjustments"_s };
            break;
        case CampaignIDESection::settings:
            context.capabilities = { u"Review campaign governance rules"_s, u"Verify connected ad accounts"_s };
            break;
        }
    }
    context.isFresh = m_identity.contextIsFresh;
    return context;
}

void CampaignIDEWorkspaceModel::handleAgentReply(const QString &reply, const CampaignCopilotContext &context)
{
    if (!context.projectID)
        return;
    const auto project = std::find_if(m_projects.cbegin(), m_projects.cend(),
        [&](const CampaignIDEProject &p) { return p.id == *context.projectID; });
    if (project == m_projects.cend())
        return;
    static const QRegularExpression leadingMarks(u"^[#*\\->0-9.\\s]+"_s);
    std::optional<QString> chosen;
    for (const QString &line : reply.split(u'\n')) {
        QString cleaned = line;
        cleaned.remove(leadingMarks);
        cleaned = cleaned.trimmed();
        if (cleaned.size() >= 18 && cleaned.size() <= 140) {
            chosen = cleaned;
            break;
        }
    }
    if (!chosen)
        return;
    if (context.surface == CampaignCopilotSurface::plan) {
        if (m_planProposal && m_planProposal->projectID == *context.projectID
            && m_planProposal->status == AgentProposalStatus::pending)
            return;
        setPlanProposal(CampaignIDEPlanProposal { QUuid::createUuid(), *context.projectID,
            u"Agent objective refinement"_s, u"Proposed from your Workspace Agent conversation."_s, project->objective,
            *chosen, AgentProposalStatus::pending });
    } else if (context.surface == CampaignCopilotSurface::creative) {
        const auto artboard = selectedArtboard();
        if (!artboard)
            return;
        const bool pending
            = std::any_of(m_agentProposals.cbegin(), m_agentProposals.cend(), [&](const CampaignIDEAgentProposal &p) {
                  return p.projectID == *context.projectID && p.artboardID == artboard->id
                      && p.status == AgentProposalStatus::pending;
              });
        if (pending)
            return;
        QList<CampaignIDEAgentProposal> proposals = m_agentProposals;
        proposals.prepend(CampaignIDEAgentProposal { QUuid::createUuid(), *context.projectID, artboard->id,
            u"Agent copy suggestion"_s, u"Extracted from your latest Workspace Agent turn."_s, artboard->headline,
            *chosen, AgentProposalStatus::pending });
        setAgentProposals(proposals);
    }
}

} // namespace orvane
