#pragma once

#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceFiles.h"
#include "ide/model/WorkspaceNotice.h"
#include "ide/records/CampaignIDEProject.h"
#include "ide/records/CampaignIDEThread.h"
#include "ide/records/LocalWorkspaceFile.h"
#include "kit/models/ServiceRecords.h"
#include "kit/support/InFlightTasks.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

namespace orvane {

// The workspace folder on disk as the window sees it: each project's folder under the workspace
// root (which folder a project owns, kept across renames), the files the mirror writes there, the
// local file list and its unsaved edits, and the reports. It does not know where projects and
// threads are kept: callers hand it the values it writes. All disk work runs on the writer it is
// given, whose jobs report back to this object: its owner flushes or stops the writer before this
// object goes. Results come back on the main thread.
class WorkspaceMirror final : public QObject {
    Q_OBJECT

public:
    // Shows a one-line notice (the outcome of a save, a sync or a report).
    using Notify = NoticeSink;

    // folderStoreFile keeps the project -> folder map; read now, written on the writer.
    WorkspaceMirror(QString workspaceRoot, QString folderStoreFile, WorkspaceDiskQueue &disk, Notify notify,
        QObject *parent = nullptr);

    [[nodiscard]] const QString &workspaceRoot() const { return m_workspaceRoot; }
    // The root as texts show it: "~/Documents/Orvane" on most desktops.
    [[nodiscard]] QString shownWorkspaceRoot() const;

    // --- Project folders ----------------------------------------------------------------------------

    // Gives every project a folder of its own; folders already owned do not move.
    void assignProjectFolders(const QList<CampaignIDEProject> &projects);
    // Moves the renamed project's folder to its new name's folder, unless that one exists (then a
    // notice says so). The thread files last handed over for the project and the local file list
    // (unsaved edits included) follow to the new paths. True when the folder moves.
    //
    // The folder moves on disk only once the folder store naming its new place has landed, so that
    // a restart always finds the project's files where the store says. Until then (the store's disk
    // refuses the write) the project's paths already read the new name, and every write for them
    // goes to the folder where its files still are.
    bool moveProjectFolder(const CampaignIDEProject &renamed, const QList<CampaignIDEProject> &projects);
    // Whether the last write of the folder store failed (a full disk): it stays due, and folder
    // moves wait for it, until writeFolderStoreAgain() or the mirror's next change of a folder lands.
    [[nodiscard]] bool isFolderStoreDue() const;
    // Schedules the folder store's write again, with the folder moves waiting for it.
    void writeFolderStoreAgain();
    // The folder's own name: named from the project when it got it, unique per project.
    [[nodiscard]] QString projectFolderName(const CampaignIDEProject &project) const;
    [[nodiscard]] QString projectFolderPath(const CampaignIDEProject &project) const;

    // --- Mirroring ------------------------------------------------------------------------------------

    // Writes "campaign-plan.md", "creatives.json" and (only when absent) "execution-rules.md" into
    // the project's folder; a generated file only when it differs from what the mirror last wrote.
    void syncProject(
        const CampaignIDEProject &project, WorkspaceDiskQueue::Lane lane = WorkspaceDiskQueue::Lane::mirror);
    // Rewrites every folder with the thread files last handed over for it, then shows successNotice
    // once written, or a notice naming the failure.
    void forceSync(const QList<CampaignIDEProject> &projects, const QString &successNotice);
    // Writes "media-plan.csv" and "thread-transcript.json" of the thread into the project's folder;
    // ahead of the mirror when the project is on screen. The thread must be whole (body read).
    void syncThreadFiles(const CampaignIDEThread &thread, const CampaignIDEProject &project, bool onScreen);
    // Writes those of the thread's files the project's folder lacks, in the background; the others
    // are left as they are. Not handed over for later writes (hasThreadFiles() stays as it was).
    void writeMissingThreadFiles(const CampaignIDEThread &thread, const CampaignIDEProject &project);
    // Whether this session handed over a thread's files for the project.
    [[nodiscard]] bool hasThreadFiles(const QUuid &projectID) const { return m_threadFiles.contains(projectID); }
    // The workbench's "Save Local": the thread's files (none: its project is gone) and the shown
    // project's folder, then a notice of what was saved once on disk, or of what failed.
    void saveThreadFiles(const std::optional<CampaignIDEThread> &thread,
        const std::optional<CampaignIDEProject> &threadProject, const std::optional<CampaignIDEProject> &shownProject);

    // --- Local files ----------------------------------------------------------------------------------

    static constexpr qint64 maxListedFileSize = LocalWorkspaceFile::maxListedSize;
    // Mirrors the shown project, then lists the text files of its folder (or of the workspace root
    // without one). Unsaved edits stay until saved or discarded, whatever happens to their file on
    // disk, unless it is deleted: those of other folders (another project's) are listed again, still
    // unsaved, when their folder is; those of a file that cannot be shown now (not UTF-8, unreadable,
    // too large to edit) wait aside, and a notice says once why they are not shown.
    void reloadLocalFiles(const std::optional<CampaignIDEProject> &shownProject);
    [[nodiscard]] const QList<LocalWorkspaceFile> &localFiles() const { return m_localFiles; }
    [[nodiscard]] const std::optional<QString> &selectedLocalFileID() const { return m_selectedLocalFileID; }
    void selectLocalFile(const QString &id);
    // Selects the first listed file of that name (exact case); an unknown name changes nothing.
    void setSelectedLocalFileName(const QString &name);
    // The selected file, the first file when the selected id is absent or unmatched; none if empty.
    [[nodiscard]] std::optional<LocalWorkspaceFile> selectedLocalFile() const;
    [[nodiscard]] QString localFileEditorContent() const;
    [[nodiscard]] QString selectedLocalFileName() const;
    // Changes the selected file's text in memory and marks it modified.
    void updateSelectedLocalFileContent(const QString &text);
    // Writes the selected file atomically; the outcome arrives as a notice.
    void saveSelectedLocalFile();
    // The first listed file of that name (exact case), whatever is selected; none when unlisted.
    [[nodiscard]] std::optional<LocalWorkspaceFile> localFileNamed(const QString &name) const;
    // Changes that file's text in memory and marks it modified; false (nothing changes) when unlisted.
    bool updateLocalFileNamed(const QString &name, const QString &text);
    // Writes that file atomically, the outcome arriving as a notice; false (nothing is written and
    // no notice shown) when unlisted.
    bool saveLocalFileNamed(const QString &name);
    // These four cover the unsaved edits of every folder, listed or not. Saving all writes the text
    // of a file whose place a folder took beside that folder, and names it.
    [[nodiscard]] bool hasUnsavedLocalFiles() const;
    void saveAllLocalFiles();
    // Drops every unsaved edit: the files on disk stay as they are.
    void discardUnsavedLocalFiles();
    // Keeps the text of every unsaved edit in a new file beside its file, and waits until written.
    // Text that cannot be written there goes to the rescue copy, which names the others too.
    void keepUnsavedLocalFilesAside();
    // The folder the file viewer opens: the shown project's folder, else the workspace root.
    [[nodiscard]] QString revealFolderPath(const std::optional<CampaignIDEProject> &shownProject) const;
    // Block until the user's writes (or every write and listing) are done; what they posted back to
    // this store is then published.
    void flushUserData();
    void flushPendingWrites();

    // --- Reports --------------------------------------------------------------------------------------

    [[nodiscard]] const QList<ReportArtifact> &reports() const { return m_reports; }
    void setReports(const QList<ReportArtifact> &reports);
    [[nodiscard]] const std::optional<ReportArtifact> &selectedReport() const { return m_selectedReport; }
    void setSelectedReport(const std::optional<ReportArtifact> &report);
    // Writes the attribution report "<slug>.html" into the reports folder in the background, then
    // lists and selects it with a notice; a report that cannot be written is not listed.
    void createLocalReport(const QString &title, const QString &kind);

    // --- Service copies of new projects ---------------------------------------------------------------

    // Held by each task that copies a new project to the service; projectMirrorsSettled() follows
    // the end of the last one.
    [[nodiscard]] InFlightTasks::Token beginProjectMirror() { return m_projectMirrors.begin(); }
    [[nodiscard]] InFlightTasks::Watch projectMirrors() const { return m_projectMirrors.watch(); }

Q_SIGNALS:
    void localFilesChanged();
    void localFileChanged(const QString &fileID);
    void selectedLocalFileIDChanged();
    void reportsChanged(); // reports and selectedReport
    void projectMirrorsSettled();

private:
    struct FolderStore;
    // "Kept your edited file as <path>[ and N more beside their files]."
    [[nodiscard]] static QString keptCopiesNotice(
        const QString &root, const QString &shownRoot, const QStringList &copies);
    // Where the store puts each project; settleMovesUnderWay() finishes the moves the last run left
    // under way once the projects are known.
    void loadProjectFolders();
    // Each move of the last run is settled by the name the project has now (the projects' store may
    // not have taken the new name when the process ended): its folder follows that name, but only
    // the folder the move took and no other project claims. Any other folder under the name it left
    // stays as it is, and a notice says so. True when there was a move.
    bool settleMovesUnderWay(const QList<CampaignIDEProject> &projects);
    // The listed files (and the selection) of folder `from` take their paths in `to`; unsaved
    // edits stay with them.
    void carryLocalFiles(const QString &from, const QString &to);
    void saveProjectFolders();
    // A move the store landed for could not be made (its new folder appeared meanwhile, or the
    // rename failed): the project keeps the folder at `at`, and a notice gives the reason.
    void keepFolderUnmoved(const QUuid &project, const QString &at, const QString &to, const QString &reason);
    // The folder names no other project may take: where a project's files are while its move waits.
    [[nodiscard]] QSet<QString> foldersOfWaitingMoves(const QString &exceptAt = {}) const;
    void enqueueListing(const QString &folder, bool createFolder);
    // The mirror wrote a generated file at path (as the window knows it): its listed entry takes the
    // new text, or, under unsaved edits, is marked as changed on disk.
    void applyRewrittenFile(const QString &path, const QByteArray &bytes);
    // For a job writing generated files into the folder known by that path: tells this object of
    // each file it wrote.
    [[nodiscard]] std::function<void(const QString &, const QByteArray &)> rewritesIn(const QString &folder);
    [[nodiscard]] static QString changedOnDiskNotice(const QString &name);
    // Why unsaved edits are held but not shown: each file's name and why it cannot be shown.
    [[nodiscard]] static QString unshownEditsNotice(const QList<std::pair<QString, QString>> &unshown);
    void applyLocalFileListing(
        quint64 generation, const QString &folder, std::optional<WorkspaceFiles::TextFileListing> listing);
    [[nodiscard]] QList<LocalWorkspaceFile> unsavedLocalFiles() const;
    [[nodiscard]] qsizetype selectedLocalFileIndex() const;
    [[nodiscard]] qsizetype localFileIndex(const QString &name) const;
    void updateLocalFileContent(qsizetype row, const QString &text);
    // besideFolder: where a folder is in the file's place, the text is written beside it instead
    // (a save of one file fails there, and its edit stays).
    void saveLocalFile(const LocalWorkspaceFile &file, bool besideFolder = false);
    // kept: where the version on disk the save replaced was kept, if it was; savedBeside: where the
    // text went instead, as a folder is in the file's place.
    void finishLocalFileSave(const LocalWorkspaceFile &saved, bool ok, const QString &error,
        const std::optional<QString> &kept, const std::optional<QString> &savedBeside);
    // Shows the notice on the main thread, unless this object is gone by then.
    void notifyLater(const QString &notice, NoticeKind kind = NoticeKind::info);
    // Publishes what the writer has posted back (listings, save outcomes) now.
    void deliverPosted();

    QString m_workspaceRoot;
    QString m_folderStoreFile;
    WorkspaceDiskQueue &m_disk;
    Notify m_notify;
    // Shared with the writer: how the store's last write went, and where moved folders still are.
    std::shared_ptr<FolderStore> m_folderStore;
    QHash<QUuid, QString> m_projectFolders; // folder name under the workspace root, per project id
    // Per project moved in this run, the folder it left: the store names it until a start has
    // settled the move, whenever the projects' own store landed.
    QHash<QUuid, QString> m_leftFolders;
    struct MoveUnderWay {
        QString left;
        QString to;
        std::optional<QString> identity; // of the folder it took; none in stores of earlier versions
    };
    QHash<QUuid, MoveUnderWay> m_movesUnderWay; // as the store read at start names them
    // The thread whose files each project's folder was last given (they hold its last write).
    QHash<QUuid, CampaignIDEThread> m_threadFiles;
    // Where each moved folder went: a save that ran before the move finds its file again.
    QHash<QString, QString> m_movedFolders;
    QList<LocalWorkspaceFile> m_localFiles;
    // Unsaved edits of files not listed now, by id: their folder is not shown, or their file cannot
    // be shown (then `unshown`).
    QHash<QString, LocalWorkspaceFile> m_unsavedElsewhere;
    std::optional<QString> m_selectedLocalFileID;
    quint64 m_listingGeneration = 0;
    QList<ReportArtifact> m_reports;
    std::optional<ReportArtifact> m_selectedReport;
    // Last, so that no task reports its end while the mirror is being destroyed.
    InFlightTasks m_projectMirrors { [this] { Q_EMIT projectMirrorsSettled(); } };
};

} // namespace orvane
