#include "ide/model/CampaignIDEWorkspaceModel.h"

#include "ide/model/StoredValue.h"
#include "ide/model/WorkspaceWindowState.h"

#include "ide/copilot/CampaignCopilotStore.h"
#include "ide/model/ProjectStore.h"
#include "ide/model/ThreadList.h"
#include "ide/model/ThreadStore.h"
#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceFiles.h"
#include "ide/model/WorkspaceMirror.h"
#include "ide/notifications/CampaignNotificationCenter.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/sync/LocalReport.h"
#include "ide/sync/ServerSync.h"
#include "ide/sync/ServerSyncState.h"
#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QRegularExpression>
#include <QSet>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace orvane {

using namespace Qt::StringLiterals;

namespace {

// The state file as the user calls it, in notices and when it could not be saved.
QString projectsName()
{
    return u"your campaign projects"_s;
}

} // namespace

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
      m_disk(std::make_unique<WorkspaceDiskQueue>(
          m_locations.mirrorLedgerFile, m_locations.rescueFiles, m_locations.workspaceRoot)),
      m_broughtBack(bringBackRescuedFiles()),
      m_mirror(new WorkspaceMirror(
          m_locations.workspaceRoot, QFileInfo(m_locations.stateFile).absolutePath() + u"/project-folders.json"_s,
          *m_disk, [this](const QString &notice, NoticeKind kind) { flashNotice(notice, kind); }, this)),
      m_serverSync(new ServerSyncState(this)),
      m_projectSave(std::make_shared<ProjectSaveOutcome>()),
      m_projectStore(new ProjectStore(
          startProjects(projects), [this] { savePersistedProjects(); }, this)),
      m_threadList(std::make_unique<ThreadList>(
          std::make_unique<ThreadStore>(m_locations.defaults.directory() + u'/' + threadsStoreFolder,
              m_locations.defaults.directory() + u'/' + threadsDefaultsKey + u".json", *m_disk,
              [this](const QString &notice, NoticeKind kind) { noticeLater(notice, kind); }),
          [this] { return OrvaneWebParitySeeds::defaultThreads(m_projectStore->projects(), shownWorkspaceRoot()); })),
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
        [this](const ServerSyncState::Fetched &fetched, const ServerSyncState::IsCurrent &isCurrent) {
            const QPointer<CampaignIDEWorkspaceModel> self(this);
            return ServerSync::apply(self, fetched, isCurrent);
        });
    if (notificationCenter && !notificationCenter->parent())
        notificationCenter->setParent(this);
    if (copilotStore && !copilotStore->parent())
        copilotStore->setParent(this);

    const bool projectsGiven = projects.has_value();
    const QList<CampaignIDEProject> &initial = m_projectStore->projects();
    m_agentProposals = sampleAgentProposals();
    m_planProposal = samplePlanProposal();
    m_assets = OrvaneWebParitySeeds::defaultAssets(initial.isEmpty() ? sampleProjectID : initial.first().id);

    if (!projectsGiven && !threads().isEmpty()) {
        const CampaignIDEThread &first = threads().first();
        m_primaryDestination = IDEPrimaryDestination::thread(first.id);
        m_projectStore->setSelectedProjectID(first.projectID);
        const CampaignIDEProject *project = this->project(first.projectID);
        if (project && !project->creatives.isEmpty())
            m_projectStore->setSelectedArtboardID(project->creatives.first().id);
    }

    if (m_copilotStore) {
        QPointer<CampaignIDEWorkspaceModel> self(this);
        m_copilotStore->setOnAgentReplyCompleted([self](const QString &reply, const CampaignCopilotContext &context) {
            if (self)
                self->handleAgentReply(reply, context);
        });
    }

    assignProjectFolders();
    forwardStoreSignals();

    loadShownThreadBodies();
    connect(this, &CampaignIDEWorkspaceModel::primaryDestinationChanged, this,
        &CampaignIDEWorkspaceModel::loadShownThreadBodies);
    connect(this, &CampaignIDEWorkspaceModel::selectedProjectIDChanged, this,
        &CampaignIDEWorkspaceModel::loadShownThreadBodies);

    syncAllProjectsToLocalDisk();
    // Threads whose bodies are at hand (the one shown, or the seeds) write their files now; the
    // others' bodies are not read at start-up: their files are brought up to date once the event
    // loop runs, in the background.
    for (const CampaignIDEThread &thread : threads()) {
        if (hasThreadBody(thread.id))
            mirrorStoredThreadFiles(thread);
    }
    m_storedThreadFiles = std::make_unique<StoredThreadFilesPass>();
    QTimer::singleShot(0, this, &CampaignIDEWorkspaceModel::continueStoredThreadFilesPass);

    removeStaleTemporaries();
    bringBackKeptText();

    m_retriedStores = {
        { [this] { return m_projectSave->failed.load(); }, [this] { savePersistedProjects(); } },
        { [this] { return m_threadList->hasFailedWrites(); }, [this] { m_threadList->save(); } },
        { [this] { return m_mirror->isFolderStoreDue(); }, [this] { m_mirror->writeFolderStoreAgain(); } },
        { [this] { return !m_disk->rescue().copiedDue().isEmpty(); }, [this] { saveCopiedFilesAgain(); } },
    };

    // Quitting waits for the user's data only; mirror work left over is done at the next start.
    if (QCoreApplication *app = QCoreApplication::instance()) {
        // Turns cut short and drafts are saved first, so that the writes below take them in; then
        // unsaved text goes aside: what cannot be kept beside its file joins the rescue copy.
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { m_threadList->saveBeforeEnd(); });
        connect(app, &QCoreApplication::aboutToQuit, this, &CampaignIDEWorkspaceModel::finishBeforeQuit);
        connect(app, &QCoreApplication::aboutToQuit, this, &CampaignIDEWorkspaceModel::saveOrRescueWhatFailed);
    }
}

CampaignIDEWorkspaceModel::~CampaignIDEWorkspaceModel()
{
    // Everything scheduled is written before the model goes; nothing is written after it. Results
    // the writer posted back die with the object. A turn still running ends here with what it has
    // (its task ends quietly once the model is gone), and drafts are kept; nobody listens any more.
    {
        const QSignalBlocker quiet(m_threadList.get());
        m_threadList->saveBeforeEnd();
    }
    saveOrRescueWhatFailed();
    m_disk->shutdown();
}

void CampaignIDEWorkspaceModel::noticeLater(const QString &notice, NoticeKind kind)
{
    // From any thread; dropped once the model is gone.
    QMetaObject::invokeMethod(
        this, [this, notice, kind] { flashNotice(notice, kind); }, Qt::QueuedConnection);
}

QList<StoreRescue::File> CampaignIDEWorkspaceModel::bringBackRescuedFiles()
{
    // Each folder with its place under the data, config and documents folders: "Orvane",
    // "Orvane/defaults/<threads>", "Documents/Orvane".
    const QList<StoreRescue::StoreFolder> storeFolders {
        StoreRescue::StoreFolder::of(QFileInfo(m_locations.stateFile).absolutePath(), 1),
        StoreRescue::StoreFolder::of(m_locations.defaults.directory() + u'/' + threadsStoreFolder, 3),
    };
    const StoreRescue::Found found
        = m_disk->rescue().adoptEarlierCopies(storeFolders, StoreRescue::StoreFolder::of(m_locations.workspaceRoot, 2));
    if (found.isEmpty())
        return {};
    const auto listedWhat = [](const QList<StoreRescue::File> &files) {
        QStringList what;
        for (const StoreRescue::File &file : files)
            what.append(file.what);
        return StoreRescue::listed(what);
    };
    // Ahead of every write the stores schedule as they load: a file of the copy may be named by one.
    // The user hears of it once, with how the first try went.
    m_disk->enqueue(u"rescue"_s,
        [this, broughtBack = listedWhat(found.broughtBack), keptAside = listedWhat(found.keptAside),
            unreadable = found.unreadable, unmatched = found.unmatched](WorkspaceDiskQueue &disk) {
            QStringList notices;
            // A read-only window reads the copies and leaves them for the window that can write.
            const bool writes = !platform::writesRefused();
            StoreRescue::Settled settled;
            if (writes)
                settled = disk.rescue().settleEarlierCopies();
            if (!broughtBack.isEmpty()) {
                notices.append(
                    u"Orvane brought back what it could not save when it last quit: "_s + broughtBack + u'.');
                QString failed;
                QString error;
                if (writes && !disk.writeCopiedFiles(&failed, &error)) {
                    notices.append(WorkspaceFiles::saveFailureNotice(failed, error));
                }
            }
            if (!keptAside.isEmpty()) {
                // Newer work is never written over by an older copy.
                QString where;
                if (!settled.keptAside.isEmpty()) {
                    QStringList shown;
                    for (const QString &path : std::as_const(settled.keptAside))
                        shown.append(WorkspaceFiles::shownPath(path));
                    where = u" It is kept as "_s + StoreRescue::listed(shown) + u'.';
                } else if (writes) {
                    where = u" It could not be kept beside it ("_s + settled.error
                        + u"); Orvane tries again at the next start."_s;
                }
                notices.append(u"Orvane did not bring back what it could not save when it last quit, as "_s + keptAside
                    + u" changed since."_s + where);
            }
            const QStringList &copies = writes ? settled.unreadable : unreadable;
            for (const QString &copy : copies) {
                notices.append(u"Orvane could not read what it kept when it last quit without saving; it is at "_s
                    + WorkspaceFiles::shownPath(copy) + u'.');
            }
            for (const QString &copy : writes ? settled.unmatched : unmatched) {
                notices.append(u"Orvane could not bring back what it kept when it last quit without saving, as it "
                               u"names folders Orvane does not use now; it is at "_s
                    + WorkspaceFiles::shownPath(copy) + u'.');
            }
            if (notices.isEmpty())
                return;
            // Even all brought back, the user looks over what the last session left: a warning.
            const NoticeKind kind = NoticeKind::warning;
            // bringBackKeptText() puts the copies' kept text back next, on this thread, and says it.
            if (writes && !disk.rescue().keptText().isEmpty())
                m_heldRescueNotice = HeldNotice { notices.join(u' '), kind };
            else
                noticeLater(notices.join(u' '), kind);
        });
    return found.broughtBack;
}

void CampaignIDEWorkspaceModel::saveCopiedFilesAgain()
{
    m_disk->enqueue(u"rescue"_s,
        [notify = [this](const QString &n, NoticeKind kind) { noticeLater(n, kind); }](WorkspaceDiskQueue &disk) {
            QString what;
            QString error;
            if (!disk.writeCopiedFiles(&what, &error))
                notify(WorkspaceFiles::saveFailureNotice(what, error), NoticeKind::warning);
        });
}

CampaignIDEWorkspaceModel::UnsavedStores CampaignIDEWorkspaceModel::saveAgainWhatFailed()
{
    // The disk may have room again.
    m_disk->flushUserData();
    if (scheduleFailedSaves())
        m_disk->flushUserData();
    const QList<StoreRescue::File> due = m_disk->rescue().due();
    if (due.isEmpty())
        return {};
    UnsavedStores unsaved;
    QStringList what;
    for (const StoreRescue::File &file : due) {
        what.append(file.what);
        if (!file.error.isEmpty()) // none for a write held back for another
            unsaved.error = file.error;
    }
    unsaved.what = StoreRescue::listed(what);
    return unsaved;
}

void CampaignIDEWorkspaceModel::saveOrRescueWhatFailed()
{
    // A read-only window keeps nothing: it said from the start that it saves nothing.
    if ((saveAgainWhatFailed().isEmpty() && m_disk->rescue().keptText().isEmpty()) || platform::writesRefused())
        return;
    // Nobody is asked any more: what the disk still refuses goes where it can be written, for the
    // next start to bring back.
    m_disk->enqueue([](WorkspaceDiskQueue &disk) {
        QString error;
        if (!disk.rescue().keep(&error))
            std::fprintf(stderr, "orvane: could not keep a rescue copy of what was not saved: %s\n", qPrintable(error));
    });
    m_disk->flushUserData();
}

std::optional<QString> CampaignIDEWorkspaceModel::keepRescueCopy(QString *error)
{
    struct Outcome {
        std::optional<QString> path;
        QString error;
    };
    const auto outcome = std::make_shared<Outcome>();
    m_disk->enqueue([outcome](WorkspaceDiskQueue &disk) { outcome->path = disk.rescue().keep(&outcome->error); });
    m_disk->flushUserData();
    if (error)
        *error = outcome->error;
    return outcome->path;
}

bool CampaignIDEWorkspaceModel::scheduleFailedSaves()
{
    bool any = false;
    for (const RetriedStore &store : std::as_const(m_retriedStores)) {
        if (store.failed()) {
            store.saveAgain();
            any = true;
        }
    }
    return any;
}

void CampaignIDEWorkspaceModel::removeStaleTemporaries()
{
    // Temporary files of atomic writes that a killed process left behind. Only files older than this
    // start go: a write running now elsewhere (a preference) is newer. On the writer, after the
    // saves, so none of its own writes is under way. Only our own folders are swept, each from the
    // folder that holds it and never through a link there (a project folder that is a link to
    // elsewhere is not ours to sweep).
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-2);
    const QString defaults = m_locations.defaults.directory();
    const QString data = QFileInfo(m_locations.stateFile).absolutePath();
    const QString ledger = QFileInfo(m_locations.mirrorLedgerFile).absolutePath();
    const QString root = localWorkspaceRoot();
    QList<std::pair<QString, QString>> folders { { defaults, defaults },
        { defaults, defaults + u'/' + threadsStoreFolder }, { data, data }, { ledger, ledger }, { root, root },
        { root, root + u'/' + LocalReport::folderName } };
    // The rescue copy's folders of our own (the cache's); the session's runtime folder is everyone's
    // and not swept.
    for (const QString &copy : m_locations.rescueFiles) {
        const QString folder = QFileInfo(copy).absolutePath();
        if (QFileInfo(folder).fileName() == u"Orvane"_s)
            folders.append({ folder, folder });
    }
    for (const CampaignIDEProject &project : projects())
        folders.append({ root, projectFolderPath(project) });
    m_disk->enqueue(
        [before, folders](WorkspaceDiskQueue &) {
            QSet<QString> swept;
            for (const auto &[within, folder] : folders) {
                if (!swept.contains(folder)) {
                    swept.insert(folder);
                    platform::removeStaleTemporaries(within, folder, before);
                }
            }
        },
        WorkspaceDiskQueue::Lane::mirror);
}

void CampaignIDEWorkspaceModel::forwardStoreSignals()
{
    using Model = CampaignIDEWorkspaceModel;
    ProjectStore *projects = m_projectStore;
    // Folders follow the list: a project gets its folder before anyone hears of it.
    connect(projects, &ProjectStore::projectsChanged, this, &Model::assignProjectFolders);
    connect(projects, &ProjectStore::projectInserted, this, &Model::assignProjectFolders);
    connect(projects, &ProjectStore::projectRemoved, this, &Model::assignProjectFolders);
    connect(projects, &ProjectStore::projectsChanged, this, &Model::projectsChanged);
    connect(projects, &ProjectStore::projectChanged, this, &Model::projectChanged);
    connect(projects, &ProjectStore::projectInserted, this, &Model::projectInserted);
    connect(projects, &ProjectStore::projectRemoved, this, &Model::projectRemoved);
    connect(projects, &ProjectStore::selectedProjectIDChanged, this, &Model::selectedProjectIDChanged);
    connect(projects, &ProjectStore::selectedArtboardIDChanged, this, &Model::selectedArtboardIDChanged);
    connect(
        projects, &ProjectStore::launchConfirmationProjectIDChanged, this, &Model::launchConfirmationProjectIDChanged);
    connect(projects, &ProjectStore::pendingLaunchRequestChanged, this, &Model::pendingLaunchRequestChanged);
    connect(projects, &ProjectStore::executionReceiptsChanged, this, &Model::executionReceiptsChanged);

    ThreadList *threads = m_threadList.get();
    connect(threads, &ThreadList::threadsChanged, this, &Model::threadsChanged);
    connect(threads, &ThreadList::threadChanged, this, &Model::threadChanged);
    connect(threads, &ThreadList::threadInserted, this, &Model::threadInserted);
    connect(threads, &ThreadList::threadRemoved, this, &Model::threadRemoved);
    connect(threads, &ThreadList::agentTabChanged, this, &Model::agentTabChanged);
    connect(threads, &ThreadList::timelineEntryAppended, this, &Model::timelineEntryAppended);
    connect(threads, &ThreadList::timelineEntryChanged, this, &Model::timelineEntryChanged);
}

QList<CampaignIDEProject> CampaignIDEWorkspaceModel::startProjects(std::optional<QList<CampaignIDEProject>> &given)
{
    if (given)
        return std::exchange(*given, {});
    QList<CampaignIDEProject> stored = loadPersistedProjects();
    return stored.isEmpty() ? sampleProjects() : stored;
}

QList<CampaignIDEProject> CampaignIDEWorkspaceModel::loadPersistedProjects()
{
    // Read whatever its size: every state this application wrote loads again.
    const platform::FileContents file = m_disk->readStore(m_locations.stateFile, WorkspaceFiles::maxStoreSize);
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

// --- Thread files at start-up ---------------------------------------------------------------------

struct CampaignIDEWorkspaceModel::StoredThreadFilesPass {
    bool started = false;
    // The list as the pass found it on its first step (a shared copy), walked from the end: a
    // project's folder keeps the files of its last thread in list order, as if every thread had
    // been written in turn, unless a thread of the project was written since the start (the one
    // shown, say).
    QList<CampaignIDEThread> threads;
    qsizetype next = 0;
    QSet<QUuid> projectsSeen;
};

void CampaignIDEWorkspaceModel::mirrorStoredThreadFiles(const CampaignIDEThread &whole)
{
    const CampaignIDEProject *project = this->project(whole.projectID);
    if (!project)
        return;
    if (m_threadList->isRestarted(whole.id)) {
        // Its stored body was lost: the files in the folder are what is left of its conversation
        // and plan, so only those missing are written (from the thread as it starts again).
        m_mirror->writeMissingThreadFiles(whole, *project);
        return;
    }
    mirrorThreadFiles(whole);
}

void CampaignIDEWorkspaceModel::continueStoredThreadFilesPass()
{
    StoredThreadFilesPass &pass = *m_storedThreadFiles;
    if (!pass.started) {
        pass.started = true;
        pass.threads = threads();
        pass.next = pass.threads.size();
    }
    while (pass.next > 0) {
        const CampaignIDEThread &candidate = pass.threads.at(--pass.next);
        if (pass.projectsSeen.contains(candidate.projectID))
            continue;
        pass.projectsSeen.insert(candidate.projectID);
        // Files written since the start are newer than what the pass would write.
        if (!project(candidate.projectID) || m_mirror->hasThreadFiles(candidate.projectID))
            continue;
        // One body at a time, read off the main thread unless it is in memory already; the next
        // one on a later turn of the event loop. The body is not kept.
        m_threadList->readWholeThread(candidate.id, [this](std::optional<CampaignIDEThread> whole) {
            if (whole && !m_mirror->hasThreadFiles(whole->projectID))
                mirrorStoredThreadFiles(*whole);
            QTimer::singleShot(0, this, &CampaignIDEWorkspaceModel::continueStoredThreadFilesPass);
        });
        return;
    }
    m_storedThreadFiles.reset();
    if (const std::optional<QString> notice = std::exchange(m_forceSyncAfterPass, std::nullopt))
        forceSyncLocalFiles(*notice);
}

// --- Setters --------------------------------------------------------------------------------------

void CampaignIDEWorkspaceModel::setSelectedProjectID(const std::optional<QUuid> &id)
{
    m_projectStore->setSelectedProjectID(id);
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
    m_projectStore->setLaunchConfirmationProjectID(id);
}

void CampaignIDEWorkspaceModel::setPendingLaunchRequest(const std::optional<CampaignLaunchRequest> &request)
{
    m_projectStore->setPendingLaunchRequest(request);
}

void CampaignIDEWorkspaceModel::setExecutionReceipts(const QHash<QUuid, CampaignExecutionReceipt> &receipts)
{
    m_projectStore->setExecutionReceipts(receipts);
}

void CampaignIDEWorkspaceModel::setSelectedArtboardID(const std::optional<QUuid> &id)
{
    m_projectStore->setSelectedArtboardID(id);
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
    showNotice(notice, NoticeKind::info);
}

void CampaignIDEWorkspaceModel::showNotice(const std::optional<QString> &notice, NoticeKind kind)
{
    if (m_statusNotice == notice && m_statusNoticeKind == kind)
        return;
    m_statusNotice = notice;
    m_statusNoticeKind = kind;
    Q_EMIT statusNoticeChanged();
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

// --- Projects and the launch gate, kept by the project store ----------------------------------------

const QList<CampaignIDEProject> &CampaignIDEWorkspaceModel::projects() const
{
    return m_projectStore->projects();
}

const CampaignIDEProject *CampaignIDEWorkspaceModel::project(const QUuid &projectID) const
{
    return m_projectStore->project(projectID);
}

const std::optional<QUuid> &CampaignIDEWorkspaceModel::selectedProjectID() const
{
    return m_projectStore->selectedProjectID();
}

const std::optional<QUuid> &CampaignIDEWorkspaceModel::selectedArtboardID() const
{
    return m_projectStore->selectedArtboardID();
}

const std::optional<QUuid> &CampaignIDEWorkspaceModel::launchConfirmationProjectID() const
{
    return m_projectStore->launchConfirmationProjectID();
}

const std::optional<CampaignLaunchRequest> &CampaignIDEWorkspaceModel::pendingLaunchRequest() const
{
    return m_projectStore->pendingLaunchRequest();
}

const QHash<QUuid, CampaignExecutionReceipt> &CampaignIDEWorkspaceModel::executionReceipts() const
{
    return m_projectStore->executionReceipts();
}

bool CampaignIDEWorkspaceModel::isExecutingLaunch() const
{
    return m_projectStore->isExecutingLaunch();
}

qsizetype CampaignIDEWorkspaceModel::selectedProjectIndex() const
{
    return m_projectStore->selectedProjectIndex();
}

std::optional<CampaignIDEProject> CampaignIDEWorkspaceModel::selectedProject() const
{
    return m_projectStore->selectedProject();
}

std::optional<CreativeCanvasArtboard> CampaignIDEWorkspaceModel::selectedArtboard() const
{
    return m_projectStore->selectedArtboard();
}

bool CampaignIDEWorkspaceModel::canExecute() const
{
    return m_projectStore->canExecute();
}

QString CampaignIDEWorkspaceModel::launchStateLabel() const
{
    return m_projectStore->launchStateLabel();
}

void CampaignIDEWorkspaceModel::openProject(const QUuid &projectID)
{
    if (!project(projectID))
        return;
    if (selectedProjectID() != projectID)
        setLaunchConfirmationProjectID(std::nullopt);
    setSelectedProjectID(projectID);
    if (m_notificationCenter)
        m_notificationCenter->setProjectFilter(projectID);
    setSelectedSection(CampaignIDESection::document);
    const auto project = selectedProject();
    setSelectedArtboardID(
        project && !project->creatives.isEmpty() ? std::optional<QUuid>(project->creatives.first().id) : std::nullopt);
    setPrimaryDestination(IDEPrimaryDestination::thread(ensureThreadID(projectID)));
    reloadLocalFilesForSelectedProject();
    if (m_copilotStore)
        m_copilotStore->activate(copilotContext());
}

void CampaignIDEWorkspaceModel::flashNotice(const QString &message, NoticeKind kind)
{
    showNotice(message, kind);
    // The timer belongs to the model, so it dies with it.
    QTimer::singleShot(noticeTime(message, kind), this, [this, message] {
        if (!m_statusNotice || *m_statusNotice != message)
            return;
        if (m_noticeHeld)
            m_noticeDueWhileHeld = message;
        else
            setStatusNotice(std::nullopt);
    });
}

std::chrono::milliseconds CampaignIDEWorkspaceModel::noticeTime(const QString &message, NoticeKind kind) const
{
    if (kind != NoticeKind::warning)
        return m_noticeDuration;
    static const QRegularExpression spaces(u"\\s+"_s);
    // Reading speed counts six characters as a word, so a path or an address counts by its length
    // rather than as one word; an ordinary word still counts one.
    qsizetype words = 0;
    for (const QString &piece : message.split(spaces, Qt::SkipEmptyParts))
        words += std::max<qsizetype>(1, piece.size() / 6);
    return m_noticeDuration + m_noticeDuration * words / 9;
}

void CampaignIDEWorkspaceModel::holdNotice(bool held)
{
    if (held == m_noticeHeld)
        return;
    m_noticeHeld = held;
    const std::optional<QString> due = std::exchange(m_noticeDueWhileHeld, std::nullopt);
    if (held || !due || m_statusNotice != due)
        return;
    QTimer::singleShot(m_noticeDuration, this, [this, message = *due] {
        if (m_statusNotice && *m_statusNotice == message && !m_noticeHeld)
            setStatusNotice(std::nullopt);
        else if (m_statusNotice && *m_statusNotice == message)
            m_noticeDueWhileHeld = message;
    });
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

// --- Mutation API ---------------------------------------------------------------------------------

bool CampaignIDEWorkspaceModel::mutateProject(
    const QUuid &projectID, const std::function<void(CampaignIDEProject &)> &mutation)
{
    const QUuid id = projectID; // the caller's id may live in the list
    if (!m_projectStore->mutateProject(id, mutation))
        return false;
    if (const CampaignIDEProject *changed = project(id))
        syncProjectToLocalDisk(*changed);
    return true;
}

void CampaignIDEWorkspaceModel::mutateSelectedProject(const std::function<void(CampaignIDEProject &)> &mutation)
{
    if (const std::optional<QUuid> id = selectedProjectID(); id && project(*id))
        mutateProject(*id, mutation);
}

void CampaignIDEWorkspaceModel::insertProject(qsizetype row, const CampaignIDEProject &project)
{
    m_projectStore->insertProject(row, project);
}

qsizetype CampaignIDEWorkspaceModel::removeProjects(const std::function<bool(const CampaignIDEProject &)> &predicate)
{
    return m_projectStore->removeProjects(predicate);
}

void CampaignIDEWorkspaceModel::setProjects(const QList<CampaignIDEProject> &projects)
{
    m_projectStore->setProjects(projects);
}

// --- Persistence ----------------------------------------------------------------------------------

void CampaignIDEWorkspaceModel::savePersistedProjects()
{
    retryFolderStore();
    const QList<CampaignIDEProject> snapshot = projects(); // shares the data; the writer encodes it
    const QString path = m_locations.stateFile;
    m_disk->enqueue(u"state"_s, [snapshot, path, outcome = m_projectSave, notify = [this](const QString &n) {
        noticeLater(n, NoticeKind::warning);
    }](WorkspaceDiskQueue &disk) {
        QString error;
        bool written = false;
        try {
            const QByteArray bytes = encodeJson(snapshot); // an encoding error stores nothing
            if (!platform::writesRefused())
                QDir().mkpath(QFileInfo(path).absolutePath());
            written = disk.writeStoreFile(path, bytes, projectsName(), &error);
        } catch (const JsonError &failure) {
            error = QString::fromUtf8(failure.what());
        }
        // Every save writes the whole list, so the next one (or quitting) makes up for this one.
        outcome->failed = !written;
        if (written)
            outcome->told = false;
        else if (!outcome->told.exchange(true))
            notify(WorkspaceFiles::saveFailureNotice(projectsName(), error));
    });
}

void CampaignIDEWorkspaceModel::savePersistedThreads()
{
    retryFolderStore();
    m_threadList->save();
}

void CampaignIDEWorkspaceModel::retryFolderStore()
{
    // Where the project folders are is saved again with the next save of anything (the disk may
    // have room again); the folder moves waiting for it follow.
    if (m_mirror->isFolderStoreDue())
        m_mirror->writeFolderStoreAgain();
}

// --- Thread bodies --------------------------------------------------------------------------------

void CampaignIDEWorkspaceModel::loadShownThreadBodies()
{
    if (m_primaryDestination.kind() == IDEPrimaryDestination::Kind::campaigns) {
        // The campaigns surface draws every thread's table: however small each, together they
        // could be the whole store.
        for (const CampaignIDEThread &thread : threads())
            m_threadList->requestBody(thread.id, true);
        return;
    }
    if (const auto thread = activeThread())
        m_threadList->requestBody(thread->id);
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
