// The workspace model's folder mirror: each project's folder under the workspace root, the thread
// files written beside it, and the local file list and editor.

#include "ide/model/CampaignIDEWorkspaceModel.h"

#include "ide/model/StoredValue.h"
#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceFiles.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace orvane {

using namespace Qt::StringLiterals;

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

// Writes a thread's files into its project's folder on the writer's thread. Returns the first
// failure, if any; an encoding error skips only the transcript.
std::optional<QString> writeThreadFiles(
    WorkspaceDiskQueue &disk, const CampaignIDEThread &thread, const QString &folder)
{
    QDir().mkpath(folder);
    std::optional<QString> failure;
    QString error;
    if (!disk.writeGenerated(folder + u'/' + QStringView(WorkspaceFiles::mediaPlanFileName),
            WorkspaceFiles::mediaPlanCsv(thread.mediaPlanRows), &error)
        && !error.isEmpty())
        failure = error;
    try {
        error.clear();
        if (!disk.writeGenerated(folder + u'/' + QStringView(WorkspaceFiles::transcriptFileName),
                WorkspaceFiles::threadTranscriptJson(thread), &error)
            && !error.isEmpty() && !failure)
            failure = error;
    } catch (const JsonError &) {
        if (!failure)
            failure = u"thread-transcript.json could not be encoded"_s;
    }
    return failure;
}

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
    for (const CampaignIDEProject &project : projects())
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
    for (const CampaignIDEProject &project : projects()) {
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
    const CampaignIDEProject *project = this->project(thread.projectID);
    if (!project)
        return;
    const QString folder = projectFolderPath(*project);
    // The selected project's files are on screen: they go ahead of the mirror, like its listing.
    const auto lane
        = project->id == selectedProjectID() ? WorkspaceDiskQueue::Lane::user : WorkspaceDiskQueue::Lane::mirror;
    m_disk->enqueue(
        u"artifacts:"_s + thread.projectID.toString(),
        [thread, folder](WorkspaceDiskQueue &disk) { (void)writeThreadFiles(disk, thread, folder); }, lane);
}

void CampaignIDEWorkspaceModel::saveThreadToLocalWorkspace(const QUuid &threadID)
{
    std::optional<CampaignIDEThread> thread;
    std::optional<QString> threadFolder;
    if (const CampaignIDEThread *found = this->thread(threadID)) {
        thread = *found;
        if (const CampaignIDEProject *project = this->project(found->projectID))
            threadFolder = projectFolderPath(*project);
    }
    std::optional<QString> projectFolder;
    if (const std::optional<CampaignIDEProject> project = selectedProject()) {
        syncProjectFolder(*project, WorkspaceDiskQueue::Lane::user);
        projectFolder = projectFolderPath(*project);
    }
    // The notice waits for the writer: it names a failure instead of claiming a save that did not
    // happen. The project mirror above runs first (the writer keeps the order of requests).
    QObject *receiver = this; // queued calls to it are dropped once it is gone
    m_disk->enqueue([thread, threadFolder, projectFolder, receiver, shownRoot = shownWorkspaceRoot()](
                        WorkspaceDiskQueue &disk) {
        std::optional<QString> failure;
        if (!thread || !threadFolder)
            failure = u"this thread's campaign project no longer exists"_s;
        else
            failure = writeThreadFiles(disk, *thread, *threadFolder);
        if (!failure && projectFolder) {
            for (const QStringView name :
                { QStringView(WorkspaceFiles::planFileName), QStringView(WorkspaceFiles::creativesFileName) }) {
                if (!QFileInfo(*projectFolder + u'/' + name).isFile()) {
                    failure = name + u" could not be written"_s;
                    break;
                }
            }
        }
        const QString notice = failure
            ? QString(u"Could not save to "_s % shownRoot % u": "_s % *failure)
            : QString(u"Saved campaign-plan.md, media-plan.csv, and creatives.json to "_s % shownRoot % u'.');
        QMetaObject::invokeMethod(
            receiver, [receiver, notice] { static_cast<CampaignIDEWorkspaceModel *>(receiver)->flashNotice(notice); },
            Qt::QueuedConnection);
    });
}

void CampaignIDEWorkspaceModel::saveCampaignPlanFile()
{
    setSelectedLocalFileName(u"campaign-plan.md"_s);
    saveSelectedLocalFile();
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

} // namespace orvane
