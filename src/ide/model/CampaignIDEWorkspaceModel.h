#pragma once

#include "ide/copilot/CampaignCopilotContext.h"
#include "ide/copilot/CampaignCopilotStore.h"
#include "ide/model/StoredValue.h"
#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceLocations.h"
#include "ide/model/WorkspaceNotice.h"
#include "ide/notifications/CampaignNotificationCenter.h"
#include "ide/records/CampaignAssetLibraryItem.h"
#include "ide/records/CampaignExecutionReceipt.h"
#include "ide/records/CampaignIDEAgentProposal.h"
#include "ide/records/CampaignIDEProject.h"
#include "ide/records/CampaignIDESection.h"
#include "ide/records/CampaignIDEThread.h"
#include "ide/records/CampaignPlatformConnection.h"
#include "ide/records/CampaignRecommendedNextAction.h"
#include "ide/records/CampaignThreadSummary.h"
#include "ide/records/IDEPrimaryDestination.h"
#include "ide/records/IDEWorkbenchView.h"
#include "ide/records/LocalWorkspaceFile.h"
#include "ide/records/OrvaneAgentPersona.h"
#include "ide/sync/WorkspaceIdentity.h"
#include "kit/models/ServiceRecords.h"
#include "kit/networking/HttpTransport.h"
#include "kit/support/InFlightTasks.h"
#include "platform/UserDefaults.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUuid>

#include <QCoro/QCoroTask>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace orvane {

class ProjectStore;
class ServerSyncState;
class SessionStore;
class ThreadList;
class WorkspaceMirror;
class WorkspaceWindowState;

// The one model object of the campaign IDE: projects, threads and every other record the window
// shows, the selection, and the operations views call. It lives on the main thread only.
//
// Projects with their selection and launch gate are kept by its ProjectStore, threads by its
// ThreadList; the model forwards their reads and signals under its own names and writes the
// operations that span stores against their APIs. A view that needs only one store takes it.
//
// Persistence keeps the stored forms (projects as one JSON array in the state file, threads in the
// thread store: an index and one file per thread, plain files per project folder). The main thread
// reads only the thread index at start and the bodies of small threads when shown: a save takes an
// O(1) snapshot of the implicitly shared lists and a single background writer encodes and writes it
// atomically. Saves of one target that arrive faster than they are written coalesce (the newest
// snapshot wins). The user's data is written ahead of mirror work and is flushed when the model is
// destroyed and when the application quits; mirror work still pending then is dropped and done at
// the next start. flushPendingWrites() waits for all.
//
// The local file list is rebuilt on the same writer, after the writes requested before it, and is
// published back on the main thread (localFilesChanged). Tests call flushPendingWrites() to see it.
class CampaignIDEWorkspaceModel final : public QObject {
    Q_OBJECT

public:
    // Where the model keeps its files. Tests point every location into a temporary home.
    using Locations = WorkspaceLocations;
    // The locations for the environment as it is now (HOME, XDG_DATA_HOME, XDG_CONFIG_HOME).
    [[nodiscard]] static Locations standardLocations() { return WorkspaceLocations::standard(); }

    // The single file of earlier versions, under the user defaults' folder; moved once, then kept
    // as "<key>.json.backup".
    static const QString threadsDefaultsKey; // "com.orvane.app.macos.ide.threads.v2"
    // The thread store's folder under the user defaults' folder: an index and a file per thread.
    static const QString threadsStoreFolder; // "com.orvane.app.macos.ide.threads"
    static const QUuid sampleProjectID; // C1000000-0000-0000-0000-000000000001
    static const QUuid sampleArtboardID; // C2000000-0000-0000-0000-000000000001
    [[nodiscard]] static QList<CampaignIDEProject> sampleProjects();
    [[nodiscard]] static QList<CampaignIDEAgentProposal> sampleAgentProposals();
    [[nodiscard]] static CampaignIDEPlanProposal samplePlanProposal();
    // The four default artboards of a project; fixed ids for the sample project, new ones otherwise.
    [[nodiscard]] static QList<CreativeCanvasArtboard> planDerivedArtboards(const QUuid &projectID);

    // Starts the model: projects from the argument, else the state file, else the samples; threads
    // from the thread store (moving the earlier single file into it), else the seeds; then mirrors
    // every project folder and the files of the threads whose bodies are read. Once the event loop
    // runs, the thread files of the other folders are brought up to date in the background
    // (isSyncingStoredThreadFiles()). Saves nothing else.
    // Parentless notificationCenter and copilotStore become children of the model; both must
    // outlive it otherwise.
    CampaignIDEWorkspaceModel(std::optional<QList<CampaignIDEProject>> projects,
        CampaignNotificationCenter *notificationCenter, CampaignCopilotStore *copilotStore,
        Locations locations = standardLocations(), QObject *parent = nullptr);
    // Flushes every pending write before returning; nothing is written afterwards. Turns still
    // running are stored settled first (ThreadList::saveBeforeEnd()), with the drafts; a quit does
    // the same.
    ~CampaignIDEWorkspaceModel() override;

    CampaignIDEWorkspaceModel(const CampaignIDEWorkspaceModel &) = delete;
    CampaignIDEWorkspaceModel &operator=(const CampaignIDEWorkspaceModel &) = delete;

    // --- Stored state, in declaration order ---------------------------------------------------------

    // The stores the model is made of; each owns its part of the state and the signals of that part,
    // which the model forwards under the same names.
    [[nodiscard]] ProjectStore &projectStore() const { return *m_projectStore; }
    [[nodiscard]] ThreadList &threadList() const { return *m_threadList; }
    [[nodiscard]] WorkspaceMirror &mirror() const { return *m_mirror; }
    [[nodiscard]] ServerSyncState &serverSync() const { return *m_serverSync; }

    [[nodiscard]] const QList<CampaignIDEProject> &projects() const;
    // The first project with the id; null when there is none. Valid until the project list changes.
    [[nodiscard]] const CampaignIDEProject *project(const QUuid &projectID) const;
    [[nodiscard]] const std::optional<QUuid> &selectedProjectID() const;
    void setSelectedProjectID(const std::optional<QUuid> &id);
    [[nodiscard]] CampaignIDESection selectedSection() const { return m_selectedSection; }
    void setSelectedSection(CampaignIDESection section);
    [[nodiscard]] const QString &searchQuery() const { return m_searchQuery; }
    void setSearchQuery(const QString &query);
    [[nodiscard]] const std::optional<QUuid> &launchConfirmationProjectID() const;
    void setLaunchConfirmationProjectID(const std::optional<QUuid> &id);
    [[nodiscard]] const std::optional<CampaignLaunchRequest> &pendingLaunchRequest() const;
    void setPendingLaunchRequest(const std::optional<CampaignLaunchRequest> &request);
    [[nodiscard]] const QHash<QUuid, CampaignExecutionReceipt> &executionReceipts() const;
    void setExecutionReceipts(const QHash<QUuid, CampaignExecutionReceipt> &receipts);
    [[nodiscard]] const std::optional<QUuid> &selectedArtboardID() const;
    void setSelectedArtboardID(const std::optional<QUuid> &id);
    // The canvas as it is looked at, kept by the window state.
    [[nodiscard]] CreativeCanvasTool canvasTool() const;
    void setCanvasTool(CreativeCanvasTool tool);
    [[nodiscard]] double canvasZoom() const;
    // Refuses a zoom that is not finite or out of the window state's range; returns whether the
    // value was taken.
    bool setCanvasZoom(double zoom);
    [[nodiscard]] bool canvasShowsGrid() const;
    void setCanvasShowsGrid(bool shows);
    [[nodiscard]] bool canvasSnapsToGrid() const;
    void setCanvasSnapsToGrid(bool snaps);
    [[nodiscard]] const QList<CampaignIDEAgentProposal> &agentProposals() const { return m_agentProposals; }
    void setAgentProposals(const QList<CampaignIDEAgentProposal> &proposals);
    [[nodiscard]] const std::optional<CampaignIDEPlanProposal> &planProposal() const { return m_planProposal; }
    void setPlanProposal(const std::optional<CampaignIDEPlanProposal> &proposal);
    [[nodiscard]] const QList<ReportArtifact> &reports() const;
    void setReports(const QList<ReportArtifact> &reports);
    [[nodiscard]] const std::optional<ReportArtifact> &selectedReport() const;
    void setSelectedReport(const std::optional<ReportArtifact> &report);
    [[nodiscard]] const QList<PendingAction> &pendingActions() const { return m_pendingActions; }
    void setPendingActions(const QList<PendingAction> &actions);
    [[nodiscard]] const QString &localWorkspaceRoot() const;
    // The root as texts show it: "~/Documents/Orvane" on most desktops.
    [[nodiscard]] QString shownWorkspaceRoot() const;
    [[nodiscard]] const QList<LocalWorkspaceFile> &localFiles() const;
    [[nodiscard]] const std::optional<QString> &selectedLocalFileID() const;
    void selectLocalFile(const QString &id);
    [[nodiscard]] bool isSyncingServer() const;
    void setSyncingServer(bool syncing);
    [[nodiscard]] const std::optional<QString> &statusNotice() const { return m_statusNotice; }
    // Whether the notice tells of something that went wrong (a warning sign) or not (a check mark).
    [[nodiscard]] NoticeKind statusNoticeKind() const { return m_statusNoticeKind; }
    // The toast's close button: nil clears the notice; a text is stored without a countdown.
    void setStatusNotice(const std::optional<QString> &notice);
    [[nodiscard]] const IDEPrimaryDestination &primaryDestination() const { return m_primaryDestination; }
    void setPrimaryDestination(const IDEPrimaryDestination &destination);
    // Every thread in list order. A thread's body (tabs, timelines, tables) is read from disk when
    // the thread is shown or changed; until then it holds its head fields only (hasThreadBody()).
    [[nodiscard]] const QList<CampaignIDEThread> &threads() const;
    // The first thread with the id; null when there is none. Valid until the thread list changes.
    [[nodiscard]] const CampaignIDEThread *thread(const QUuid &threadID) const;
    [[nodiscard]] bool hasThreadBody(const QUuid &threadID) const;
    // Counts and preview of a thread, from its body when in memory, else from the store's index.
    [[nodiscard]] CampaignThreadSummary threadSummary(const CampaignIDEThread &thread) const;
    [[nodiscard]] const QList<CampaignPlatformConnection> &connections() const { return m_connections; }
    void setConnections(const QList<CampaignPlatformConnection> &connections);
    [[nodiscard]] const QList<CampaignAssetLibraryItem> &assets() const { return m_assets; }
    void setAssets(const QList<CampaignAssetLibraryItem> &assets);
    [[nodiscard]] const QList<CampaignRecommendedNextAction> &recommendedActions() const
    {
        return m_recommendedActions;
    }
    void setRecommendedActions(const QList<CampaignRecommendedNextAction> &actions);
    // The appearance, kept by the window state.
    [[nodiscard]] bool isDarkTheme() const;
    void setDarkTheme(bool dark);
    [[nodiscard]] bool isSidebarCollapsed() const;
    void setSidebarCollapsed(bool collapsed);
    [[nodiscard]] bool showingCommandPalette() const;
    void setShowingCommandPalette(bool showing);
    [[nodiscard]] bool agentDrawerOpen() const;
    void setAgentDrawerOpen(bool open);
    // The window's own state: appearance, canvas view, sheets and their texts.
    [[nodiscard]] WorkspaceWindowState &windowState() const { return *m_windowState; }
    [[nodiscard]] const std::optional<QUuid> &projectFilterID() const { return m_projectFilterID; }
    void setProjectFilterID(const std::optional<QUuid> &id);
    [[nodiscard]] CampaignNotificationCenter *notificationCenter() const { return m_notificationCenter; }
    [[nodiscard]] CampaignCopilotStore *copilotStore() const { return m_copilotStore; }
    [[nodiscard]] bool executionAvailable() const { return true; }
    [[nodiscard]] bool platformValidationAvailable() const { return true; }
    [[nodiscard]] bool draftEditingAvailable() const { return true; }
    [[nodiscard]] bool agentAvailable() const { return true; }

    // Identity the copilot context reports; the server refresh rebinds it. Not published.
    using Identity = WorkspaceIdentity;
    [[nodiscard]] const Identity &identity() const;
    void setIdentity(const Identity &identity);

    // --- Selection and notices ----------------------------------------------------------------------

    // The first project whose id is selectedProjectID; none without a selection or a match.
    [[nodiscard]] std::optional<CampaignIDEProject> selectedProject() const;
    // The row of the selected project in projects(); -1 when there is none.
    [[nodiscard]] qsizetype selectedProjectIndex() const;
    // The first artboard of the selected project whose id is selectedArtboardID.
    [[nodiscard]] std::optional<CreativeCanvasArtboard> selectedArtboard() const;
    // Selects a project, gives it its launch thread, reloads the local files, activates the copilot.
    void openProject(const QUuid &projectID);
    // Shows a notice that clears itself after its time on screen (noticeTime()) unless replaced.
    void flashNotice(const QString &message, NoticeKind kind = NoticeKind::info);
    // How long a notice stays: a report of how something went, the notice duration (3 s); a warning
    // is there to be read, and stays that long and a ninth of it more for each word (3 s and a third
    // of a second a word; a word is six characters, so a long path counts by its length).
    [[nodiscard]] std::chrono::milliseconds noticeTime(const QString &message, NoticeKind kind) const;
    // While the user reads the notice (the pointer rests on it, its text has the keyboard) it stays;
    // once let go, a notice whose time ran out meanwhile stays the notice duration more.
    void holdNotice(bool held);
    // For tests: how long a notice stays.
    void setNoticeDuration(std::chrono::milliseconds duration) { m_noticeDuration = duration; }
    // A selected project that exists and can launch, and no launch awaiting its receipt.
    [[nodiscard]] bool canExecute() const;
    // "Live · Receipt confirmed", "Awaiting receipt", "Ready for confirmation" or "Gated".
    [[nodiscard]] QString launchStateLabel() const;
    // What the user works on, for the copilot store.
    [[nodiscard]] CampaignCopilotContext copilotContext() const;
    // The first whitespace-separated piece that, trimmed of punctuation, holds a ".", does not begin
    // with "http" and has at least 4 characters, lower-cased.
    [[nodiscard]] static std::optional<QString> extractDomain(const QString &text);

    // --- Mutation API for the model's operations -----------------------------------------------------
    // Each finds its target by id (first match), changes it in place, publishes the change with the
    // finest signal that describes it and, unless told otherwise, schedules the save.

    using Save = orvane::Save;

    // Applies the change to the thread with this id, emits threadChanged(id) and saves the thread
    // list (unless save is Save::no). False, with nothing changed or saved, when no thread has the id.
    bool mutateThread(
        const QUuid &threadID, const std::function<void(CampaignIDEThread &)> &mutation, Save save = Save::yes);
    // Inserts a thread at a row (clamped into range), emits threadInserted(row), saves the threads.
    void insertThread(qsizetype row, const CampaignIDEThread &thread, Save save = Save::yes);
    // Removes every thread matching the predicate, emitting threadRemoved for each, and saves once
    // when anything was removed (unless save is Save::no). Returns how many were removed.
    qsizetype removeThreads(const std::function<bool(const CampaignIDEThread &)> &predicate, Save save = Save::yes);
    // Replaces the whole list, emits threadsChanged(), saves.
    void setThreads(const QList<CampaignIDEThread> &threads, Save save = Save::yes);

    // Same for projects; a changed project is saved (state file) and re-mirrored to its folder.
    bool mutateProject(const QUuid &projectID, const std::function<void(CampaignIDEProject &)> &mutation);
    // The change applied to the selected project, then save and mirror; nothing without one.
    void mutateSelectedProject(const std::function<void(CampaignIDEProject &)> &mutation);
    void insertProject(qsizetype row, const CampaignIDEProject &project);
    qsizetype removeProjects(const std::function<bool(const CampaignIDEProject &)> &predicate);
    // Replaces the whole list (the server merge) and saves; mirroring is the caller's call.
    void setProjects(const QList<CampaignIDEProject> &projects);

    // --- Persistence ------------------------------------------------------------------------------

    // Schedule a write of the whole list in its stored form; encoding errors store nothing.
    void savePersistedProjects();
    // Schedules writes of the threads that changed since they were stored, and of the index when
    // it changed; nothing when nothing did.
    void savePersistedThreads();
    // Blocks until every scheduled write and listing has finished, then publishes the listing.
    void flushPendingWrites();
    // Blocks until the stores and the files the user saved are written; mirror work may remain.
    void flushUserData();

    // What could not be saved: the stores as the user calls them, listed ("your campaign projects
    // and the thread “Launch”"), and why the last write failed. Empty when everything landed.
    struct UnsavedStores {
        QString what;
        QString error;
        [[nodiscard]] bool isEmpty() const { return what.isEmpty(); }
    };
    // Tries once more every store write that failed and waits for it: what still could not be
    // saved. The model's end does the same, then keeps what is left in a rescue copy that the next
    // start brings back (in the data, cache or runtime folder, the first that can be written).
    UnsavedStores saveAgainWhatFailed();
    // Writes what is still due to the rescue copy now, and waits: where it went, or none (error then
    // says why) when nothing is due or no place took it.
    std::optional<QString> keepRescueCopy(QString *error = nullptr);

    // --- Local workspace folder mirror and local files --------------------------------------------

    // Writes "campaign-plan.md", "creatives.json" and (only when absent) "execution-rules.md" into
    // the project's folder. A generated file is written only when its new content differs from what
    // the mirror last wrote there, so a user's saved edit stands until the project data changes.
    void syncProjectToLocalDisk(const CampaignIDEProject &project);
    void syncAllProjectsToLocalDisk();
    // Rewrites every project's folder as syncAllProjectsToLocalDisk() does, with its thread's files,
    // then shows successNotice once the writes are done, or a notice naming the failure when one of
    // them failed. While the start-up pass over the thread files runs, it waits for its end. Store
    // writes that failed (a thread, the projects) are tried again with it.
    void forceSyncLocalFiles(const QString &successNotice);
    // Writes "media-plan.csv" and "thread-transcript.json" of the thread into its project's folder;
    // nothing when no project has the thread's project id, or for a thread whose body is still on
    // disk (its head alone would write an empty plan and transcript).
    void syncThreadArtifactsToDisk(const CampaignIDEThread &thread);
    // Whether the start-up pass still brings thread files up to date: for each project whose
    // thread files were not written since the start (a thread shown at start writes its own), the
    // files of its last thread in list order, each body read off the main thread, one at a time,
    // and a file written only when it is missing or differs.
    [[nodiscard]] bool isSyncingStoredThreadFiles() const { return m_storedThreadFiles != nullptr; }
    // Mirrors the selected project, then lists the text files of its folder (or of the workspace
    // root without a selection). Unsaved edits stay until saved or discarded, unless their file is
    // deleted. A file over maxListedFileSize is listed by its size alone (it cannot be edited here);
    // anything but regular UTF-8 files is left out.
    void reloadLocalFilesForSelectedProject();
    // Shows the thread's local files with its transcript selected: the file that holds every text
    // of the thread whole (a card shows a long text shortened).
    void openThreadTranscript(const QUuid &threadID);
    static constexpr qint64 maxListedFileSize = LocalWorkspaceFile::maxListedSize;
    // The selected file, the first file when the selected id is absent or unmatched; none if empty.
    [[nodiscard]] std::optional<LocalWorkspaceFile> selectedLocalFile() const;
    // Editor bindings: change the selected file's text in memory and mark it modified.
    void updateSelectedLocalFileContent(const QString &text);
    [[nodiscard]] QString localFileEditorContent() const;
    [[nodiscard]] QString selectedLocalFileName() const;
    // Writes the selected file atomically; the outcome arrives as a notice.
    void saveSelectedLocalFile();
    // Whether an edited local file is not saved yet (asked before the window closes).
    [[nodiscard]] bool hasUnsavedLocalFiles() const;
    // Writes every edited local file, each as saveSelectedLocalFile() does; the text of one whose
    // place a folder took goes beside that folder instead, named.
    void saveAllLocalFiles();
    // Drops every unsaved edit: the files on disk stay as they are.
    void discardUnsavedLocalFiles();
    // Keeps the text of every unsaved edit in a new file beside its file ("notes.unsaved-<UTC>.md"),
    // for a quit that nobody can answer (a termination signal). Waits until they are written.
    void keepUnsavedLocalFilesAside();
    // The folder the file viewer opens: the selected project's folder, else the workspace root.
    [[nodiscard]] QString revealFolderPath() const;
    // The folder of a project under the workspace root: named from the project when it got it, and
    // moved with it on a rename (when the new name's folder is free); unique per project.
    [[nodiscard]] QString projectFolderPath(const CampaignIDEProject &project) const;
    // The last part of projectFolderPath(): the folder's own name.
    [[nodiscard]] QString projectFolderName(const CampaignIDEProject &project) const;

    // --- Workspace operations (src/ide/operations) ---
    // Navigation, thread creation, media-plan and competitor edits, projects, artboards and the launch
    // gate. Every operation runs synchronously on the main thread and reports through flashNotice();
    // ids that match nothing change nothing unless noted. Ids are taken by value, so an id read from
    // the model's own lists stays valid while the operation changes them. A launched project keeps
    // its "Live" status through every later artboard edit and execution request.

    // Navigation and counts.
    // Shows the destination; a thread destination also selects its project and section and reloads
    // the local files; the projects surface clears the selection. Always re-scopes the copilot.
    void navigateTo(IDEPrimaryDestination destination);
    // Makes the thread the destination with its project context (optionally switching its workbench
    // first), saves the threads and reloads the local files. An unknown id does nothing.
    void openThread(QUuid threadID, const std::optional<IDEWorkbenchView> &workbench = std::nullopt);
    // Removes the thread (saving in any case); an open thread gives way to the first remaining one,
    // or to the projects surface. Its project and files stay.
    void deleteThread(QUuid threadID);
    // Starred threads of the project filter (or of all projects), in list order.
    [[nodiscard]] QList<CampaignIDEThread> starredThreads() const;
    [[nodiscard]] qsizetype connectedPlatformCount() const;
    // Media-plan rows of all threads.
    [[nodiscard]] qsizetype totalTrackedCampaignsCount() const;
    // Pending inline gates, every service pending action, and pending agent proposals.
    [[nodiscard]] qsizetype totalPendingApprovalsCount() const;

    // Thread creation.
    struct NewThread {
        std::optional<QString> title = {}; // blank: "Campaign Thread · " + the persona's name
        std::optional<QString> initialPrompt = {}; // sent (autoSend) or left as the tab's draft
        std::optional<OrvaneAgentPersona> persona = {}; // none: the catalog's operator persona
        std::optional<QUuid> projectID = {}; // unknown ids fall back to the selected or first project
        std::optional<IDEWorkbenchView> workbench = {}; // none: the persona's default workbench
        bool autoSend = false;
    };
    // Creates the thread (and a project first when the workspace has none), puts it first, opens it
    // and writes its files. Returns its id.
    QUuid createNewThread(const NewThread &request, SessionStore *session = nullptr);
    // Marks the action completed and starts its thread with its prompt sent at once.
    void startRecommendedAction(CampaignRecommendedNextAction action, SessionStore *session = nullptr);
    // The operator persona new threads fall back to.
    [[nodiscard]] static const OrvaneAgentPersona &operatorPersona();

    // Inline approvals and the media plan.
    // Approves the entry's gate (when it has one) and activates every media-plan row of the thread.
    void approveInlineAction(QUuid threadID, QUuid tabID, QUuid entryID);
    void addMediaPlanRow(QUuid threadID);
    // Stores the row (by id) with its monthly budget and conversions derived from the daily budget
    // and target CPA. Refuses, keeping the stored row and showing why, figures that are not finite,
    // negative or above maxMediaPlanFigure. Returns whether the row was stored.
    bool updateMediaPlanRow(CampaignMediaPlanRow row, QUuid threadID);
    static constexpr double maxMediaPlanFigure = 1e9;
    void deleteMediaPlanRow(QUuid rowID, QUuid threadID);

    // Competitor explorer.
    void runCompetitorLookup(const QString &domain, QUuid threadID);
    // Adds a counter-positioning artboard for the ad to the selected project and shows the canvas.
    void cloneCompetitorAdToCanvas(CampaignCompetitorAd ad, QUuid threadID);

    // Project edits and platform connections (the selected project, else the first one).
    void updateSelectedProjectName(const QString &name);
    void updateSelectedProjectBudget(const QString &text);
    // Cycles sandbox -> cloud -> sandbox; a disconnected one joins in sandbox mode. Not persisted.
    void toggleConnection(QString connectionID);

    // Project lifecycle and artboards.
    // Creates, saves, mirrors and opens a project. With a session holding a signed-in account that is
    // not read-only it is also created on the service in the background; a failure there is ignored.
    QUuid createProject(QString name, std::optional<QString> objective, SessionStore *session);
    // The same, mirroring through the given client when there is one.
    QUuid createProject(QString name, std::optional<QString> objective, const std::optional<OrvaneAPIClient> &client);
    // Removes the first project with the id and, unless another project still has that id, its
    // threads. Its folder stays on disk.
    void deleteProject(QUuid projectID);
    // This model's service copies of new projects whose task has not ended yet;
    // projectMirrorsSettled() follows the end of the last one.
    [[nodiscard]] InFlightTasks::Watch projectMirrors() const;
    void selectArtboard(QUuid artboardID);
    void updateSelectedHeadline(const QString &text);
    void setSelectedArtboardReview(CreativeReviewStatus status);
    void addArtboard(const QString &platform, const QString &format, const QString &headline, int width, int height);
    void approveAllCreatives();

    // Launch gate.
    // Selects the first project when none is, approves its artboards and opens the confirmation
    // when the project can execute.
    void requestExecution();
    [[nodiscard]] bool isExecutingLaunch() const;
    void requestLaunch();
    void cancelLaunch();
    // The launch sheet's item: identifies the open confirmation of the selected (else first) project.
    [[nodiscard]] std::optional<CampaignLaunchRequest> activeLaunchRequest() const;
    // None closes the confirmation; any other value changes nothing.
    void setActiveLaunchRequest(const std::optional<CampaignLaunchRequest> &request);
    // Records a request for the open confirmation and accepts its locally built receipt.
    void confirmLaunch();
    // The sheet's confirm: confirmLaunch(), then the active thread shows its dashboard.
    void confirmExecution();
    // Accepts the receipt of the pending request: stores it, marks the project live, saves, posts the
    // notification and a notice. False, changing nothing, for any other receipt.
    bool receiveExecutionReceipt(CampaignExecutionReceipt receipt);

private:
    // The project context of a thread: its project selected (and the notification filter), the
    // thread shown when asked, the section synced to its workbench, an artboard selected if none is.
    void applyThreadProjectContext(const CampaignIDEThread &thread, bool showThread);

public:
    // --- End of workspace operations ---

    // --- Thread engine (src/ide/threads) ---
    // Members of the thread operations are declared here by the thread engine. Use the mutation API
    // above to change threads; emit the finer signals below where they apply. The agent turn takes
    // the session as a SessionStore pointer (none: no service call).

    // Active thread and thread list.
    // The thread in front: the thread of a thread destination (none once it is gone), else the
    // selected project's first thread, else, with no project selected, the first thread.
    [[nodiscard]] std::optional<CampaignIDEThread> activeThread() const;
    // The threads of the project filter, or all of them, in list order.
    [[nodiscard]] QList<CampaignIDEThread> recentThreads() const;
    // The project's first thread, or a new launch thread inserted at the front (saved, files written);
    // its body is read first, whatever its size. A caller that needs only the thread's id takes
    // ensureThreadID(), which reads nothing from disk.
    CampaignIDEThread ensureThread(const QUuid &projectID);
    QUuid ensureThreadID(const QUuid &projectID);
    void toggleStarThread(const QUuid &threadID);
    // A title that is blank once trimmed is ignored.
    void renameThread(const QUuid &threadID, const QString &newTitle);

    // Agent turn.
    // Records the message (the tab's draft when text is none) with the agent's placeholder entry and
    // answers it after a short pause in a task of its own: the local agent's edits, the reply, the
    // workbench switch, the thread's files. Unknown ids or a blank prompt change nothing, except a
    // tab id sent while the thread's body was still on disk (taken from a copy without tabs): the
    // active tab takes the message. The session may be null; the turn then makes no service call.
    void sendMessageInThread(
        const QUuid &threadID, const QUuid &tabID, const std::optional<QString> &text, SessionStore *session);
    // Marks the entry's execution gate rejected (an entry without one stays as it is), saves, notices.
    void rejectInlineAction(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID);
    // This model's agent turns whose task has not ended yet (a turn ends quietly, and may outlive
    // the model, once the model goes); agentTurnsSettled() follows the end of the last one.
    [[nodiscard]] InFlightTasks::Watch agentTurns() const { return m_agentTurns.watch(); }

    // Agent tabs and thread settings. An unknown thread id changes nothing.
    void selectAgentTab(const QUuid &tabID, const QUuid &threadID);
    // Never closes a thread's last tab; closing the active tab activates the first remaining one.
    void closeAgentTab(const QUuid &tabID, const QUuid &threadID);
    // Appends a tab for the persona (none: the catalog persona at the tab count) and activates it.
    void addAgentTab(const std::optional<OrvaneAgentPersona> &persona, const QUuid &threadID);
    // Closes an open split; otherwise splits the active tab with another (adding one when alone).
    void toggleSplitAgentPane(const QUuid &threadID);
    void toggleThreadDryRun(const QUuid &threadID);
    void setThreadApprovalMode(ThreadApprovalMode mode, const QUuid &threadID);
    // Switches the thread's (none: the active thread's) workbench and the section that follows it.
    void selectWorkbenchView(IDEWorkbenchView view, const std::optional<QUuid> &threadID);
    // The composer's draft; stored with the thread's next save, or when the model ends.
    void setThreadDraft(const QString &text, const QUuid &threadID, const QUuid &tabID);

private:
    class ThreadEngine;
    void syncSectionFromWorkbench(IDEWorkbenchView workbench);
    // Changes one timeline entry in place and publishes it; saves nothing. False when not found.
    bool updateTimelineEntry(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID,
        const std::function<void(CampaignTimelineEntry &)> &mutate);

public:
    // --- End of thread engine ---

    // --- Server sync, copilot context and reports (src/ide/sync) ---
    // The service's side of the workspace and the local reports. The session is only read at the
    // start of each call; nothing keeps it across a suspension.

    // The window's refresh task; its whole work is refreshFromServer().
    QCoro::Task<> loadLiveContext(SessionStore &session);
    // Binds the session's identity, then fetches projects, reports and pending approvals at once
    // (each failure is ignored) and applies them together: projects merged by server id, then by
    // name ignoring case, never removed; reports and approvals adopted; projects saved and every
    // folder re-mirrored. A newer refresh supersedes one still running: the older one's transfers
    // are aborted and it applies nothing. isSyncingServer() holds until the newest one ends.
    QCoro::Task<> refreshFromServer(SessionStore &session);
    // The copilot's identity from the session ("orvane-operator" signed out), a client provider for
    // the copilot store, and the store activated for the current place.
    void bindSession(SessionStore &session);
    // The bounds of each transfer the model starts (refresh, streamed reply): the longest pause
    // without data, the whole request's deadline and the largest body held.
    [[nodiscard]] const TransferLimits &serviceLimits() const;
    void setServiceLimits(const TransferLimits &limits);
    [[nodiscard]] std::chrono::milliseconds serviceTransferTimeout() const;
    void setServiceTransferTimeout(std::chrono::milliseconds timeout);
    // A streamed reply's own deadline and the most text (in bytes of UTF-16) it may collect; past
    // either the stream ends as a failure, nothing more is read and the local reply stands.
    [[nodiscard]] std::chrono::milliseconds streamedReplyDeadline() const;
    void setStreamedReplyDeadline(std::chrono::milliseconds deadline);
    [[nodiscard]] qsizetype streamedReplyMaxBytes() const;
    void setStreamedReplyMaxBytes(qsizetype bytes);
    // How often a streamed reply republishes its growing entry: deltas that arrive faster coalesce.
    static constexpr std::chrono::milliseconds streamedReplyPublishInterval { 50 };

    // Local reports: writes the attribution report "<slug>.html" into the reports folder of the
    // workspace root in the background, then lists and selects it with a notice. A report that
    // cannot be written is not listed; the notice says why.
    void createLocalReport(const QString &title, const QString &kind);
    // The local file editor's bindings: the text goes to updateSelectedLocalFileContent(); a name
    // selects the first listed file of that name (exact case), an unknown name changes nothing.
    void setLocalFileEditorContent(const QString &text);
    void setSelectedLocalFileName(const QString &name);

private:
    class ServerSync;

public:
    // --- End of server sync ---

    // --- Artboard edits by id ---
    // The canvas inspector's edits name their artboard: each selects it, then applies the edit as
    // setSelectedArtboardReview() / updateSelectedHeadline() do. An artboard the selected project no
    // longer holds changes nothing, the selection included.
    void setArtboardReviewStatus(QUuid artboardID, CreativeReviewStatus status);
    void updateArtboardHeadline(QUuid artboardID, const QString &text);
    // --- End ---

    // --- Plan document edits ---
    // The project the plan document edits: the selected project, else the first one when nothing is
    // selected; none when there is no project or the selection names none.
    [[nodiscard]] std::optional<QUuid> planEditTargetProjectID() const;
    // The plan document's objective and audience fields: store the text in that project with
    // "Now" as its updated text, save the projects and re-mirror its folder.
    void updateSelectedProjectObjective(const QString &text);
    void updateSelectedProjectAudience(const QString &text);
    // The raw plan editor works on the listed "campaign-plan.md" by name, whatever file the local
    // files editor has selected; none when the project's folder lists no such file.
    static inline const QString campaignPlanFileName = QStringLiteral("campaign-plan.md");
    [[nodiscard]] std::optional<LocalWorkspaceFile> campaignPlanFile() const;
    // Changes its text in memory and marks it modified; nothing when it is not listed.
    void updateCampaignPlanFileContent(const QString &text);
    // Selects "campaign-plan.md" and writes it (the outcome arrives as a notice). When it is not
    // listed nothing is written, the selection stays, and the notice says so.
    void saveCampaignPlanFile();
    // --- End ---

    // --- Split pane and a thread's files ---
    // The secondary agent pane's chip: shows the tab in the thread's split pane (whatever the active
    // tab) and saves the threads. An unknown thread changes nothing and saves nothing.
    void showAgentTabInSplit(const QUuid &tabID, const QUuid &threadID);
    // The workbench's "Save Local": writes the thread's files into its project's folder and the
    // selected project's files, then says what was saved once it is on disk, or what failed.
    void saveThreadToLocalWorkspace(const QUuid &threadID);
    // --- End ---

    // --- A project's thread ---
    // A project row's click: ensureThread() for the project, then openThread() of that thread with
    // its own workbench. An id that matches no project changes nothing (no stray launch thread).
    // Returns the opened thread's id.
    std::optional<QUuid> openProjectThread(QUuid projectID);
    // --- End ---

Q_SIGNALS:
    // Lists: *Changed() is a reset of the whole list; the others describe one element.
    void projectsChanged();
    void projectChanged(const QUuid &projectID);
    void projectInserted(qsizetype row);
    void projectRemoved(qsizetype row, const QUuid &projectID);
    void threadsChanged();
    // Any change of one thread's content. Emitted after the finer thread signals below.
    void threadChanged(const QUuid &threadID);
    void threadInserted(qsizetype row);
    void threadRemoved(qsizetype row, const QUuid &threadID);
    // Finer thread signals for the thread pane (emitted by the thread operations).
    void agentTabChanged(const QUuid &threadID, const QUuid &tabID);
    void timelineEntryAppended(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID);
    void timelineEntryChanged(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID);
    void localFilesChanged();
    void localFileChanged(const QString &fileID);

    // Scalars and selection.
    void selectedProjectIDChanged();
    void selectedSectionChanged();
    void searchQueryChanged();
    void launchConfirmationProjectIDChanged();
    void pendingLaunchRequestChanged();
    void executionReceiptsChanged();
    void selectedArtboardIDChanged();
    void canvasChanged(); // tool, zoom, grid, snap
    void agentProposalsChanged();
    void planProposalChanged();
    void reportsChanged(); // reports and selectedReport
    void pendingActionsChanged();
    void selectedLocalFileIDChanged();
    void syncingServerChanged();
    void statusNoticeChanged();
    void primaryDestinationChanged();
    void connectionsChanged();
    void assetsChanged();
    void recommendedActionsChanged();
    void appearanceChanged(); // dark theme, sidebar, command palette, agent drawer
    void projectFilterIDChanged();
    void agentTurnsSettled();
    void projectMirrorsSettled();

private:
    // The given projects (taken out of `given`, which still tells that they were given), else the
    // stored ones, else the samples.
    [[nodiscard]] QList<CampaignIDEProject> startProjects(std::optional<QList<CampaignIDEProject>> &given);
    [[nodiscard]] QList<CampaignIDEProject> loadPersistedProjects();
    // Connects the stores' signals to the model's own of the same names.
    void forwardStoreSignals();
    // The bodies of what the window shows: the active thread, or every thread for the campaigns.
    void loadShownThreadBodies();
    // Gives every project a folder of its own; folders already owned do not move.
    void assignProjectFolders();
    // Moves the renamed project's folder to its new name's folder, unless that one exists.
    void moveProjectFolder(const CampaignIDEProject &renamed);
    // Hands a whole thread's files to the mirror (no check of the body).
    void mirrorThreadFiles(const CampaignIDEThread &whole);
    // The same for a thread as stored at start; one whose body was lost writes only missing files.
    void mirrorStoredThreadFiles(const CampaignIDEThread &whole);
    // The start-up pass over the stored threads' files (isSyncingStoredThreadFiles()).
    struct StoredThreadFilesPass;
    void continueStoredThreadFilesPass();
    void finishBeforeQuit();
    // Puts the unsaved text a rescue copy kept back beside its file and says where it is.
    void bringBackKeptText();
    void showNotice(const std::optional<QString> &notice, NoticeKind kind);
    // Shows a notice from any thread, on the main thread.
    void noticeLater(const QString &notice, NoticeKind kind = NoticeKind::info);
    // Schedules again the store writes that failed, if any; whether there were any.
    bool scheduleFailedSaves();
    // The model's end: what failed is tried once more, and what still fails goes to the rescue copy.
    void saveOrRescueWhatFailed();
    // Reads the rescue copy an earlier process left, before any store loads, and schedules its files.
    [[nodiscard]] QList<StoreRescue::File> bringBackRescuedFiles();
    // Schedules the files of the rescue copy that are still due.
    void saveCopiedFilesAgain();
    // Schedules the folder store's write again when its last one failed.
    void retryFolderStore();
    // Schedules the removal of temporary files that killed writes left in the model's folders.
    void removeStaleTemporaries();
    void handleAgentReply(const QString &reply, const CampaignCopilotContext &context);

    Locations m_locations;
    WorkspaceWindowState *m_windowState; // a child
    std::unique_ptr<WorkspaceDiskQueue> m_disk;
    // The files of a rescue copy an earlier process left: read before the stores below load, which
    // then read them in place of their own files until they land.
    QList<StoreRescue::File> m_broughtBack;
    // What the start says of the copies found, held on the writer while kept text of theirs is still
    // to be put back, so that one notice says both (a toast shows one notice at a time).
    struct HeldNotice {
        QString text;
        NoticeKind kind = NoticeKind::info;
    };
    std::optional<HeldNotice> m_heldRescueNotice;
    // A child; uses m_disk, which is stopped before children go. Before the threads, whose seeds
    // name the workspace root.
    WorkspaceMirror *m_mirror;
    ServerSyncState *m_serverSync; // a child
    // How the last save of the state file went; written by the writer, read here.
    struct ProjectSaveOutcome {
        std::atomic<bool> failed = false;
        std::atomic<bool> told = false; // the user knows; until a save lands again
    };
    std::shared_ptr<ProjectSaveOutcome> m_projectSave;
    // The stores whose writes are retried when they fail (with the next change, a forced sync and at
    // the end) and whose bytes go to the rescue copy when they still fail as the model ends. A store
    // joins with one entry, when it writes through WorkspaceDiskQueue::writeStoreFile() and reads
    // through WorkspaceDiskQueue::readStore().
    struct RetriedStore {
        std::function<bool()> failed; // a write of it failed since it last landed
        std::function<void()> saveAgain; // schedules its writes again
    };
    QList<RetriedStore> m_retriedStores;
    ProjectStore *m_projectStore; // a child; after m_disk, which it may read at start
    // After the projects, which the seed threads follow, and after m_disk: the thread store's reads
    // end before the writer goes.
    std::unique_ptr<ThreadList> m_threadList;
    std::unique_ptr<StoredThreadFilesPass> m_storedThreadFiles; // while the pass runs
    std::optional<QString> m_forceSyncAfterPass; // a force sync asked for while the pass ran

    CampaignIDESection m_selectedSection = CampaignIDESection::document;
    QString m_searchQuery;
    QList<CampaignIDEAgentProposal> m_agentProposals;
    std::optional<CampaignIDEPlanProposal> m_planProposal;
    QList<PendingAction> m_pendingActions;
    std::optional<QString> m_statusNotice;
    NoticeKind m_statusNoticeKind = NoticeKind::info;
    IDEPrimaryDestination m_primaryDestination;
    QList<CampaignPlatformConnection> m_connections;
    QList<CampaignAssetLibraryItem> m_assets;
    QList<CampaignRecommendedNextAction> m_recommendedActions;
    std::optional<QUuid> m_projectFilterID;
    QPointer<CampaignNotificationCenter> m_notificationCenter;
    QPointer<CampaignCopilotStore> m_copilotStore;

    std::chrono::milliseconds m_noticeDuration { 3000 };
    bool m_noticeHeld = false;
    std::optional<QString> m_noticeDueWhileHeld; // the notice whose time ran out while it was held
    // Last, so that no task reports its end while the model is being destroyed.
    InFlightTasks m_agentTurns { [this] { Q_EMIT agentTurnsSettled(); } };
};

} // namespace orvane
