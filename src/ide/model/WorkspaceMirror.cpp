#include "ide/model/WorkspaceMirror.h"

#include "ide/model/StoredValue.h"
#include "ide/model/WorkspaceFiles.h"
#include "ide/sync/LocalReport.h"
#include "kit/support/JsonCoding.h"
#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QUrl>

#include <algorithm>

namespace orvane {

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 maxFolderStoreSize = WorkspaceFiles::maxStoreSize; // ours, so read whatever its size

// Writes a thread's files into its project's folder (under root, never through a link) on the
// writer's thread. Returns the first failure, if any; an encoding error skips only the transcript.
enum class ThreadFilesWrite { changed, forced, missingOnly };

std::optional<QString> writeThreadFiles(WorkspaceDiskQueue &disk, const CampaignIDEThread &thread, const QString &root,
    const QString &folder, ThreadFilesWrite mode = ThreadFilesWrite::changed)
{
    QString error;
    if (!platform::makeFolderWithin(root, folder, &error))
        return error;
    const bool force = mode == ThreadFilesWrite::forced;
    const auto wanted = [mode](const QString &path) {
        const QFileInfo file(path);
        return mode != ThreadFilesWrite::missingOnly || !(file.exists() || file.isSymLink());
    };
    const QString mediaPlan = folder + u'/' + QStringView(WorkspaceFiles::mediaPlanFileName);
    const QString transcript = folder + u'/' + QStringView(WorkspaceFiles::transcriptFileName);
    std::optional<QString> failure;
    if (wanted(mediaPlan)
        && !disk.writeGenerated(mediaPlan, WorkspaceFiles::mediaPlanCsv(thread.mediaPlanRows), &error, force)
        && !error.isEmpty())
        failure = error;
    try {
        error.clear();
        if (wanted(transcript)
            && !disk.writeGenerated(transcript, WorkspaceFiles::threadTranscriptJson(thread), &error, force)
            && !error.isEmpty() && !failure)
            failure = error;
    } catch (const JsonError &) {
        if (!failure)
            failure = u"thread-transcript.json could not be encoded"_s;
    }
    return failure;
}

// Writes one project's folder (under root, never through a link) on the writer's thread. Returns
// the first failure, if any; the other files are still written.
std::optional<QString> mirrorProjectFolder(WorkspaceDiskQueue &disk, const CampaignIDEProject &project,
    const QString &root, const QString &folder, bool force = false)
{
    QString error;
    if (!platform::makeFolderWithin(root, folder, &error))
        return error;
    std::optional<QString> failure;
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

WorkspaceMirror::WorkspaceMirror(
    QString workspaceRoot, QString folderStoreFile, WorkspaceDiskQueue &disk, Notify notify, QObject *parent)
    : QObject(parent),
      m_workspaceRoot(std::move(workspaceRoot)),
      m_folderStoreFile(std::move(folderStoreFile)),
      m_disk(disk),
      m_notify(notify ? std::move(notify) : Notify([](const QString &) {}))
{
    loadProjectFolders();
    // Edited files the writer had to move aside to write its own are named in a notice.
    m_disk.setKeptCopiesHandler(
        [this, root = m_workspaceRoot, shownRoot = shownWorkspaceRoot()](
            const QStringList &copies) { notifyLater(keptCopiesNotice(root, shownRoot, copies)); });
}

QString WorkspaceMirror::shownWorkspaceRoot() const
{
    return WorkspaceFiles::shownPath(m_workspaceRoot);
}

QString WorkspaceMirror::keptCopiesNotice(const QString &root, const QString &shownRoot, const QStringList &copies)
{
    const auto shown
        = [&](const QString &path) { return path.startsWith(root + u'/') ? shownRoot + path.mid(root.size()) : path; };
    QString notice = u"Kept your edited file as "_s + shown(copies.first());
    if (copies.size() > 1)
        notice += u" and "_s + QString::number(copies.size() - 1) + u" more beside their files"_s;
    return notice + u'.';
}

void WorkspaceMirror::notifyLater(const QString &notice)
{
    // Queued calls to this object are dropped once it is gone.
    QMetaObject::invokeMethod(
        this, [this, notice] { m_notify(notice); }, Qt::QueuedConnection);
}

// --- Project folders ------------------------------------------------------------------------------

void WorkspaceMirror::loadProjectFolders()
{
    const platform::FileContents file = platform::readRegularFile(m_folderStoreFile, maxFolderStoreSize);
    if (!file.ok())
        return; // without it, folders follow the names as they always did
    try {
        const auto stored = decodeJson<QMap<QString, QString>>(file.bytes);
        for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
            const QUuid id(it.key());
            if (!id.isNull() && WorkspaceFiles::isSafeFolderName(it.value()))
                m_projectFolders.insert(id, it.value());
        }
    } catch (const JsonError &) {
    }
}

void WorkspaceMirror::assignProjectFolders(const QList<CampaignIDEProject> &projects)
{
    QHash<QUuid, QString> assigned;
    QSet<QString> taken;
    // Folders already owned stay where they are; the others are named in list order.
    for (const CampaignIDEProject &project : projects) {
        const auto kept = m_projectFolders.constFind(project.id);
        if (kept != m_projectFolders.cend() && !taken.contains(*kept)) {
            assigned.insert(project.id, *kept);
            taken.insert(*kept);
        }
    }
    for (const CampaignIDEProject &project : projects) {
        if (assigned.contains(project.id))
            continue;
        const QString name = WorkspaceFiles::projectFolderName(project, taken);
        assigned.insert(project.id, name);
        taken.insert(name);
    }
    if (assigned == m_projectFolders)
        return;
    m_projectFolders = assigned;
    saveProjectFolders();
}

void WorkspaceMirror::saveProjectFolders()
{
    QMap<QString, QString> stored;
    for (auto it = m_projectFolders.cbegin(); it != m_projectFolders.cend(); ++it)
        stored.insert(it.key().toString(QUuid::WithoutBraces), it.value());
    const QString path = m_folderStoreFile;
    m_disk.enqueue(u"folders"_s, [stored, path](WorkspaceDiskQueue &) {
        if (!platform::writesRefused())
            QDir().mkpath(QFileInfo(path).absolutePath());
        platform::writeFileAtomically(path, encodeJson(stored));
    });
}

QString WorkspaceMirror::projectFolderName(const CampaignIDEProject &project) const
{
    const QString name = m_projectFolders.value(project.id);
    return name.isEmpty() ? WorkspaceFiles::projectFolderName(project, {}) : name;
}

QString WorkspaceMirror::projectFolderPath(const CampaignIDEProject &project) const
{
    return m_workspaceRoot + u'/' + projectFolderName(project);
}

bool WorkspaceMirror::moveProjectFolder(const CampaignIDEProject &renamed, const QList<CampaignIDEProject> &projects)
{
    const QString oldName = m_projectFolders.value(renamed.id);
    QSet<QString> taken;
    for (auto it = m_projectFolders.cbegin(); it != m_projectFolders.cend(); ++it) {
        if (it.key() != renamed.id)
            taken.insert(it.value());
    }
    const QString newName = WorkspaceFiles::projectFolderName(renamed, taken);
    if (newName == oldName || oldName.isEmpty()) {
        if (oldName.isEmpty())
            assignProjectFolders(projects);
        return false;
    }
    // Someone else's folder is never written into: the project stays where it is.
    const QFileInfo target(m_workspaceRoot + u'/' + newName);
    if (target.exists() || target.isSymLink()) {
        const QString shownRoot = shownWorkspaceRoot();
        m_notify(u"Kept the folder "_s + shownRoot + u'/' + oldName + u": "_s + shownRoot + u'/' + newName
            + u" already exists."_s);
        return false;
    }
    m_projectFolders.insert(renamed.id, newName);
    saveProjectFolders();
    const QString from = m_workspaceRoot + u'/' + oldName;
    const QString to = m_workspaceRoot + u'/' + newName;
    // Runs after every write queued for the old folder so far; later ones already use the new one.
    m_disk.enqueue(u"move:"_s + renamed.id.toString(), [from, to](WorkspaceDiskQueue &disk) {
        if (platform::writesRefused())
            return; // a window that writes nothing moves nothing either
        const QFileInfo source(from);
        if (source.isDir() && !source.isSymLink() && !QFileInfo::exists(to) && QDir().rename(from, to))
            disk.moveLedgerFolder(from, to);
    });
    // Thread files still waiting for the old folder go to the new one instead (the job of the
    // same key takes their place); written ones moved with the folder and are not written again.
    if (const auto threadFiles = m_threadFiles.constFind(renamed.id); threadFiles != m_threadFiles.cend())
        syncThreadFiles(*threadFiles, renamed, true);
    carryLocalFiles(from, to);
    return true;
}

void WorkspaceMirror::carryLocalFiles(const QString &from, const QString &to)
{
    m_movedFolders.insert(from, to);
    const QString prefix = from + u'/';
    const auto moved = [&](const QString &path) {
        return path.startsWith(prefix) ? std::optional<QString>(to + u'/' + path.mid(prefix.size())) : std::nullopt;
    };
    bool carried = false;
    for (LocalWorkspaceFile &file : m_localFiles) {
        if (const auto path = moved(file.id())) {
            file.url = QUrl::fromLocalFile(*path);
            carried = true;
        }
    }
    if (m_selectedLocalFileID) {
        if (const auto path = moved(*m_selectedLocalFileID))
            assignAndNotify(this, m_selectedLocalFileID, std::optional<QString>(*path),
                &WorkspaceMirror::selectedLocalFileIDChanged);
    }
    if (!carried)
        return;
    Q_EMIT localFilesChanged();
    // A listing of the old folder still on its way would drop the carried edits: a listing of the
    // new one, after the move, replaces it.
    enqueueListing(to, false);
}

// --- Mirroring ------------------------------------------------------------------------------------

void WorkspaceMirror::syncProject(const CampaignIDEProject &project, WorkspaceDiskQueue::Lane lane)
{
    const QString folder = projectFolderPath(project);
    m_disk.enqueue(
        u"project:"_s + project.id.toString(),
        [project, root = m_workspaceRoot, folder](
            WorkspaceDiskQueue &disk) { (void)mirrorProjectFolder(disk, project, root, folder); },
        lane);
}

void WorkspaceMirror::forceSync(const QList<CampaignIDEProject> &projects, const QString &successNotice)
{
    // One job per project, so that saves can run between them; the outcome is gathered at the end.
    struct Outcome {
        std::optional<QString> failure;
        QStringList keptCopies;
    };
    const auto outcome = std::make_shared<Outcome>();
    for (const CampaignIDEProject &project : projects) {
        const QString folder = projectFolderPath(project);
        std::optional<CampaignIDEThread> thread;
        if (const auto threadFiles = m_threadFiles.constFind(project.id); threadFiles != m_threadFiles.cend())
            thread = *threadFiles;
        // Not keyed: a later write of the project must not take its place, or its outcome would be lost.
        m_disk.enqueue(
            [project, thread, root = m_workspaceRoot, folder, outcome](WorkspaceDiskQueue &disk) {
                auto error = mirrorProjectFolder(disk, project, root, folder, true);
                if (thread) {
                    const auto threadError = writeThreadFiles(disk, *thread, root, folder, ThreadFilesWrite::forced);
                    if (!error)
                        error = threadError;
                }
                if (error && !outcome->failure)
                    outcome->failure = error;
                outcome->keptCopies += disk.takeKeptCopies();
            },
            WorkspaceDiskQueue::Lane::mirror);
    }
    m_disk.enqueue(
        [this, outcome, successNotice, root = m_workspaceRoot, shownRoot = shownWorkspaceRoot()](WorkspaceDiskQueue &) {
            QString notice = outcome->failure
                ? u"Failed to sync campaign projects to "_s + shownRoot + u": "_s + *outcome->failure
                : successNotice;
            if (!outcome->keptCopies.isEmpty())
                notice += u' ' + keptCopiesNotice(root, shownRoot, outcome->keptCopies);
            notifyLater(notice);
        },
        WorkspaceDiskQueue::Lane::mirror);
}

void WorkspaceMirror::syncThreadFiles(const CampaignIDEThread &thread, const CampaignIDEProject &project, bool onScreen)
{
    const QString folder = projectFolderPath(project);
    m_threadFiles.insert(project.id, thread);
    // Files on screen go ahead of the mirror, like their listing.
    const auto lane = onScreen ? WorkspaceDiskQueue::Lane::user : WorkspaceDiskQueue::Lane::mirror;
    m_disk.enqueue(
        u"artifacts:"_s + project.id.toString(),
        [thread, root = m_workspaceRoot, folder](
            WorkspaceDiskQueue &disk) { (void)writeThreadFiles(disk, thread, root, folder); },
        lane);
}

void WorkspaceMirror::writeMissingThreadFiles(const CampaignIDEThread &thread, const CampaignIDEProject &project)
{
    m_disk.enqueue(
        [thread, root = m_workspaceRoot, folder = projectFolderPath(project)](WorkspaceDiskQueue &disk) {
            (void)writeThreadFiles(disk, thread, root, folder, ThreadFilesWrite::missingOnly);
        },
        // In order with a move of the folder, which runs on this lane: never into a folder gone.
        WorkspaceDiskQueue::Lane::user);
}

void WorkspaceMirror::saveThreadFiles(const std::optional<CampaignIDEThread> &thread,
    const std::optional<CampaignIDEProject> &threadProject, const std::optional<CampaignIDEProject> &shownProject)
{
    std::optional<QString> threadFolder;
    if (thread && threadProject) {
        threadFolder = projectFolderPath(*threadProject);
        m_threadFiles.insert(threadProject->id, *thread);
    }
    std::optional<QString> projectFolder;
    if (shownProject) {
        syncProject(*shownProject, WorkspaceDiskQueue::Lane::user);
        projectFolder = projectFolderPath(*shownProject);
    }
    // The notice waits for the writer: it names a failure instead of claiming a save that did not
    // happen. The project mirror above runs first (the writer keeps the order of requests).
    m_disk.enqueue([this, thread, threadFolder, projectFolder, root = m_workspaceRoot,
                       shownRoot = shownWorkspaceRoot()](WorkspaceDiskQueue &disk) {
        std::optional<QString> failure;
        if (!thread || !threadFolder)
            failure = u"this thread's campaign project no longer exists"_s;
        else
            failure = writeThreadFiles(disk, *thread, root, *threadFolder);
        // The files below count only in a folder of the workspace: through a link they would
        // be someone else's.
        QString error;
        if (!failure && projectFolder && !platform::makeFolderWithin(root, *projectFolder, &error))
            failure = error;
        if (!failure && projectFolder) {
            for (const QStringView name :
                { QStringView(WorkspaceFiles::planFileName), QStringView(WorkspaceFiles::creativesFileName) }) {
                if (!QFileInfo(*projectFolder + u'/' + name).isFile()) {
                    failure = name + u" could not be written"_s;
                    break;
                }
            }
        }
        notifyLater(failure
                ? QString(u"Could not save to "_s % shownRoot % u": "_s % *failure)
                : QString(u"Saved campaign-plan.md, media-plan.csv, and creatives.json to "_s % shownRoot % u'.'));
    });
}

// --- Local files ----------------------------------------------------------------------------------

void WorkspaceMirror::reloadLocalFiles(const std::optional<CampaignIDEProject> &shownProject)
{
    if (shownProject) {
        syncProject(*shownProject, WorkspaceDiskQueue::Lane::user); // shown next: ahead of the mirror
        enqueueListing(projectFolderPath(*shownProject), false);
    } else {
        enqueueListing(m_workspaceRoot, true);
    }
}

void WorkspaceMirror::enqueueListing(const QString &folder, bool createFolder)
{
    const quint64 generation = ++m_listingGeneration;
    // This object is alive while the writer runs: its owner stops the writer first.
    m_disk.enqueue(u"listing"_s, [folder, createFolder, generation, this](WorkspaceDiskQueue &) {
        if (createFolder && !platform::writesRefused())
            QDir().mkpath(folder);
        auto files = WorkspaceFiles::listTextFiles(folder, maxListedFileSize);
        QMetaObject::invokeMethod(
            this,
            [this, generation, files = std::move(files)]() mutable {
                applyLocalFileListing(generation, std::move(files));
            },
            Qt::QueuedConnection);
    });
}

void WorkspaceMirror::applyLocalFileListing(quint64 generation, std::optional<QList<LocalWorkspaceFile>> files)
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
            &WorkspaceMirror::selectedLocalFileIDChanged);
    }
}

void WorkspaceMirror::selectLocalFile(const QString &id)
{
    assignAndNotify(
        this, m_selectedLocalFileID, std::optional<QString>(id), &WorkspaceMirror::selectedLocalFileIDChanged);
}

void WorkspaceMirror::setSelectedLocalFileName(const QString &name)
{
    for (const LocalWorkspaceFile &file : std::as_const(m_localFiles)) {
        if (file.name == name) {
            selectLocalFile(file.id());
            return;
        }
    }
}

qsizetype WorkspaceMirror::selectedLocalFileIndex() const
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

std::optional<LocalWorkspaceFile> WorkspaceMirror::selectedLocalFile() const
{
    const qsizetype row = selectedLocalFileIndex();
    if (row < 0)
        return std::nullopt;
    return m_localFiles.at(row);
}

QString WorkspaceMirror::localFileEditorContent() const
{
    const auto file = selectedLocalFile();
    return file ? file->content : QString();
}

QString WorkspaceMirror::selectedLocalFileName() const
{
    const auto file = selectedLocalFile();
    return file ? file->name : QString();
}

void WorkspaceMirror::updateSelectedLocalFileContent(const QString &text)
{
    const qsizetype row = selectedLocalFileIndex();
    if (row >= 0)
        updateLocalFileContent(row, text);
}

void WorkspaceMirror::updateLocalFileContent(qsizetype row, const QString &text)
{
    LocalWorkspaceFile &file = m_localFiles[row];
    if (file.content == text && file.isModified)
        return;
    file.content = text;
    file.isModified = true;
    Q_EMIT localFileChanged(file.id());
}

void WorkspaceMirror::saveSelectedLocalFile()
{
    const qsizetype row = selectedLocalFileIndex();
    if (row >= 0)
        saveLocalFile(m_localFiles.at(row));
}

qsizetype WorkspaceMirror::localFileIndex(const QString &name) const
{
    for (qsizetype i = 0; i < m_localFiles.size(); ++i) {
        if (m_localFiles.at(i).name == name)
            return i;
    }
    return -1;
}

std::optional<LocalWorkspaceFile> WorkspaceMirror::localFileNamed(const QString &name) const
{
    const qsizetype row = localFileIndex(name);
    if (row < 0)
        return std::nullopt;
    return m_localFiles.at(row);
}

bool WorkspaceMirror::updateLocalFileNamed(const QString &name, const QString &text)
{
    const qsizetype row = localFileIndex(name);
    if (row < 0)
        return false;
    updateLocalFileContent(row, text);
    return true;
}

bool WorkspaceMirror::saveLocalFileNamed(const QString &name)
{
    const qsizetype row = localFileIndex(name);
    if (row < 0)
        return false;
    saveLocalFile(m_localFiles.at(row));
    return true;
}

void WorkspaceMirror::saveLocalFile(const LocalWorkspaceFile &file)
{
    m_disk.enqueue([file, root = m_workspaceRoot, this](WorkspaceDiskQueue &) {
        const QString path = file.url.toLocalFile();
        QString error;
        const bool saved = platform::makeFolderWithin(root, QFileInfo(path).path(), &error)
            && platform::writeFileAtomically(path, file.content.toUtf8(), &error);
        QMetaObject::invokeMethod(
            this, [this, file, saved, error] { finishLocalFileSave(file, saved, error); }, Qt::QueuedConnection);
    });
}

void WorkspaceMirror::finishLocalFileSave(const LocalWorkspaceFile &saved, bool ok, const QString &error)
{
    if (!ok) {
        m_notify(u"Failed to save "_s + saved.name + u": "_s + error);
        return;
    }
    // The file's folder may have moved (with the file) since the save was asked for.
    QString savedID = saved.id();
    for (qsizetype moves = 0; moves < m_movedFolders.size(); ++moves) {
        const QString folder = QFileInfo(savedID).path();
        const auto moved = m_movedFolders.constFind(folder);
        if (moved == m_movedFolders.cend())
            break;
        savedID = *moved + u'/' + QFileInfo(savedID).fileName();
    }
    // Text typed while the save ran stays marked as unsaved.
    for (LocalWorkspaceFile &file : m_localFiles) {
        if (file.id() == savedID && file.content == saved.content && file.isModified) {
            file.isModified = false;
            Q_EMIT localFileChanged(file.id());
            break;
        }
    }
    m_notify(u"Saved "_s + saved.name + u" to disk."_s);
}

bool WorkspaceMirror::hasUnsavedLocalFiles() const
{
    return std::any_of(
        m_localFiles.cbegin(), m_localFiles.cend(), [](const LocalWorkspaceFile &file) { return file.isModified; });
}

void WorkspaceMirror::saveAllLocalFiles()
{
    for (const LocalWorkspaceFile &file : std::as_const(m_localFiles)) {
        if (file.isModified)
            saveLocalFile(file);
    }
}

void WorkspaceMirror::discardUnsavedLocalFiles()
{
    for (LocalWorkspaceFile &file : m_localFiles) {
        if (file.isModified) {
            file.isModified = false;
            Q_EMIT localFileChanged(file.id());
        }
    }
}

void WorkspaceMirror::keepUnsavedLocalFilesAside()
{
    for (const LocalWorkspaceFile &file : std::as_const(m_localFiles)) {
        if (!file.isModified)
            continue;
        const QString path = file.url.toLocalFile();
        const QByteArray bytes = file.content.toUtf8();
        m_disk.enqueue([path, bytes, root = m_workspaceRoot](WorkspaceDiskQueue &) {
            if (platform::makeFolderWithin(root, QFileInfo(path).path()))
                platform::writeFileAtomically(WorkspaceFiles::besidePath(path, u"unsaved"), bytes);
        });
    }
    m_disk.flushUserData();
}

QString WorkspaceMirror::revealFolderPath(const std::optional<CampaignIDEProject> &shownProject) const
{
    return shownProject ? projectFolderPath(*shownProject) : m_workspaceRoot;
}

void WorkspaceMirror::flushUserData()
{
    m_disk.flushUserData();
    deliverPosted();
}

void WorkspaceMirror::flushPendingWrites()
{
    m_disk.flush();
    deliverPosted();
}

void WorkspaceMirror::deliverPosted()
{
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

// --- Reports --------------------------------------------------------------------------------------

void WorkspaceMirror::setReports(const QList<ReportArtifact> &reports)
{
    assignAndNotify(this, m_reports, reports, &WorkspaceMirror::reportsChanged);
}

void WorkspaceMirror::setSelectedReport(const std::optional<ReportArtifact> &report)
{
    assignAndNotify(this, m_selectedReport, report, &WorkspaceMirror::reportsChanged);
}

void WorkspaceMirror::createLocalReport(const QString &title, const QString &kind)
{
    const QString folder = m_workspaceRoot + u'/' + QStringView(LocalReport::folderName);
    const QString name = LocalReport::fileName(title);
    ReportArtifact artifact {
        .id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(),
        .kind = kind,
        .title = title,
        .domain = std::nullopt,
        .url = QString(),
        .createdAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODate),
        .updatedAt = std::nullopt,
    };
    // Written on the writer, in order with every other write; the report is listed and announced
    // only once it is on disk. This object is alive while the writer runs.
    m_disk.enqueue([folder, name, title, kind, artifact, root = m_workspaceRoot, shownRoot = shownWorkspaceRoot(),
                       this](WorkspaceDiskQueue &) mutable {
        // A name already taken (by an older report, or anything else) gets a number.
        const qsizetype dot = name.lastIndexOf(u'.');
        QString path = folder + u'/' + name;
        for (int n = 2; QFileInfo(path).exists() || QFileInfo(path).isSymLink(); ++n)
            path = folder + u'/' + name.left(dot) + u'-' + QString::number(n) + name.mid(dot);
        const QString written = QFileInfo(path).fileName();
        const QString shownPath = shownRoot + u'/' + QStringView(LocalReport::folderName) + u'/' + written;
        artifact.url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
        const QByteArray bytes = LocalReport::html(title, kind, shownRoot, written).toUtf8();
        QString error;
        bool saved = false;
        if (!platform::makeFolderWithin(root, folder, &error))
            error = u"the folder "_s + QDir::toNativeSeparators(folder) + u" could not be used: "_s + error;
        else if (!QFileInfo(folder).isWritable())
            error = u"the folder "_s + QDir::toNativeSeparators(folder) + u" is not writable"_s;
        else
            saved = platform::writeFileAtomically(path, bytes, &error);
        QMetaObject::invokeMethod(
            this,
            [this, artifact, shownPath, saved, error] {
                if (!saved) {
                    m_notify(u"Failed to generate report "_s + shownPath + u": "_s + error);
                    return;
                }
                QList<ReportArtifact> reports = m_reports;
                reports.prepend(artifact);
                setReports(reports);
                setSelectedReport(artifact);
                m_notify(u"Generated report & saved to "_s + shownPath);
            },
            Qt::QueuedConnection);
    });
}

} // namespace orvane
