#include "ide/model/WorkspaceMirror.h"

#include "ide/model/StoredValue.h"
#include "ide/model/WorkspaceFiles.h"
#include "ide/sync/LocalReport.h"
#include "kit/support/JsonCoding.h"
#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>

namespace orvane {

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 maxFolderStoreSize = WorkspaceFiles::maxStoreSize; // ours, so read whatever its size

// In the folder store, beside a project's folder while its move is under way: the folder it
// leaves. A start that meets it finds the files still there when the process ended before the move.
QString leavingKey(const QString &projectKey)
{
    return u"leaving:"_s + projectKey;
}

// Beside it: which folder the move took (folderIdentity()), so that a start moves that folder only,
// never one made since under either name. Stores of earlier versions have none.
QString identityKey(const QString &projectKey)
{
    return u"identity:"_s + projectKey;
}

constexpr QStringView noFolder = u"none";

// What tells a folder from one made later under the same name: its inode and, where the file
// system keeps it, its birth time (a freed inode number is given again). The device is left out:
// its number may change from one boot to the next. noFolder when no real folder is at path.
QString folderIdentity(const QString &path)
{
    struct statx info { };
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), AT_SYMLINK_NOFOLLOW,
            STATX_TYPE | STATX_INO | STATX_BTIME, &info)
            != 0
        || (info.stx_mask & STATX_TYPE) == 0 || (info.stx_mask & STATX_INO) == 0 || !S_ISDIR(info.stx_mode))
        return noFolder.toString();
    QString identity = QString::number(info.stx_ino);
    if ((info.stx_mask & STATX_BTIME) != 0)
        identity += u'@' + QString::number(info.stx_btime.tv_sec) + u'.' + QString::number(info.stx_btime.tv_nsec);
    return identity;
}

// Why an edited file is not shown once it grew past what the editor holds.
QString tooLargeNow(qint64 size)
{
    return u"is too large to edit here now ("_s + LocalWorkspaceFile::shownSize(size) + u')';
}

// Told the name and the new bytes of each generated file a job wrote.
using WrittenFile = std::function<void(const QString &name, const QByteArray &bytes)>;

bool writeGeneratedFile(WorkspaceDiskQueue &disk, const QString &folder, QStringView name, const QByteArray &bytes,
    QString *error, bool force, const WrittenFile &written)
{
    if (!disk.writeGenerated(folder + u'/' + name, bytes, error, force))
        return false;
    if (written)
        written(name.toString(), bytes);
    return true;
}

// Writes a thread's files into its project's folder (under root, never through a link) on the
// writer's thread. Returns the first failure, if any; an encoding error skips only the transcript.
enum class ThreadFilesWrite { changed, forced, missingOnly };

std::optional<QString> writeThreadFiles(WorkspaceDiskQueue &disk, const CampaignIDEThread &thread, const QString &root,
    const QString &folder, ThreadFilesWrite mode = ThreadFilesWrite::changed, const WrittenFile &written = {})
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
        && !writeGeneratedFile(disk, folder, WorkspaceFiles::mediaPlanFileName,
            WorkspaceFiles::mediaPlanCsv(thread.mediaPlanRows), &error, force, written)
        && !error.isEmpty())
        failure = error;
    try {
        error.clear();
        if (wanted(transcript)
            && !writeGeneratedFile(disk, folder, WorkspaceFiles::transcriptFileName,
                WorkspaceFiles::threadTranscriptJson(thread), &error, force, written)
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
    const QString &root, const QString &folder, bool force = false, const WrittenFile &written = {})
{
    QString error;
    if (!platform::makeFolderWithin(root, folder, &error))
        return error;
    std::optional<QString> failure;
    if (!writeGeneratedFile(disk, folder, WorkspaceFiles::planFileName,
            WorkspaceFiles::campaignPlanMarkdown(project).toUtf8(), &error, force, written)
        && !error.isEmpty())
        failure = error;
    try {
        error.clear();
        if (!writeGeneratedFile(disk, folder, WorkspaceFiles::creativesFileName,
                WorkspaceFiles::creativesJson(project.creatives), &error, force, written)
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

// Whether the file at path holds something else than text (it changed since text was read or
// written there), as the mirror tells a user's edit. Only a regular file counts: nothing there, a
// link or a FIFO holds no text to keep (the write replaces them), and a folder fails the write.
bool differsOnDisk(const QString &path, const QString &text)
{
    const platform::FileContents current = platform::readRegularFile(path, LocalWorkspaceFile::maxListedSize, false);
    switch (current.outcome) {
    case platform::ReadOutcome::read:
        return current.bytes != text.toUtf8();
    case platform::ReadOutcome::tooLarge:
    case platform::ReadOutcome::failed:
        return true;
    case platform::ReadOutcome::absent:
    case platform::ReadOutcome::notRegular:
        return false;
    }
    return false;
}

// Whether a folder (not a link to one) is at path: a write never replaces it.
bool isFolder(const QString &path)
{
    struct stat st { };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

// How the folder store's writes go, and where each moved project folder is until the store naming
// its new place has landed. Shared by the mirror and its writer's jobs.
struct WorkspaceMirror::FolderStore {
    std::atomic<bool> failed = false;
    std::atomic<bool> told = false; // the user knows; until a write lands again

    // The folder that holds the files of the folder known by this path.
    [[nodiscard]] QString onDisk(const QString &folder) const
    {
        const std::lock_guard lock(mutex);
        return waiting.value(folder, folder);
    }
    // The same for a file of such a folder.
    [[nodiscard]] QString fileOnDisk(const QString &path) const
    {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash < 0)
            return path;
        return onDisk(path.left(slash)) + path.mid(slash);
    }
    // The folder known by `from` is now known by `to` too; its files stay where they are. Named back
    // to where they are, the name still follows them should a job move them away now (until the next job finds them).
    void rename(const QString &from, const QString &to)
    {
        const std::lock_guard lock(mutex);
        waiting.insert(to, waiting.value(from, from));
    }
    // The folder at `from` moved to `to`: every name that led to it leads there.
    void moved(const QString &from, const QString &to)
    {
        const std::lock_guard lock(mutex);
        waiting.remove(to);
        for (QString &at : waiting) {
            if (at == from)
                at = to;
        }
    }
    [[nodiscard]] QHash<QString, QString> waitingFolders() const
    {
        const std::lock_guard lock(mutex);
        return waiting;
    }
    // The identity of the folder the project's last move took, as the store names it.
    void setMovedIdentity(const QString &projectKey, const QString &identity)
    {
        const std::lock_guard lock(mutex);
        movedIdentities.insert(projectKey, identity);
    }
    [[nodiscard]] std::optional<QString> movedIdentity(const QString &projectKey) const
    {
        const std::lock_guard lock(mutex);
        const auto found = movedIdentities.constFind(projectKey);
        return found == movedIdentities.cend() ? std::nullopt : std::optional<QString>(*found);
    }

private:
    mutable std::mutex mutex;
    QHash<QString, QString> waiting; // path a folder is known by -> path of the folder its files are in
    QHash<QString, QString> movedIdentities; // project key -> identity of the folder it moved
};

WorkspaceMirror::WorkspaceMirror(
    QString workspaceRoot, QString folderStoreFile, WorkspaceDiskQueue &disk, Notify notify, QObject *parent)
    : QObject(parent),
      m_workspaceRoot(std::move(workspaceRoot)),
      m_folderStoreFile(std::move(folderStoreFile)),
      m_disk(disk),
      m_notify(notify ? std::move(notify) : Notify([](const QString &) {})),
      m_folderStore(std::make_shared<FolderStore>())
{
    loadProjectFolders();
    // Edited files the writer had to move aside to write its own are named in a notice.
    m_disk.setKeptCopiesHandler(
        [this, root = m_workspaceRoot, shownRoot = shownWorkspaceRoot()](const QStringList &copies) {
            notifyLater(keptCopiesNotice(root, shownRoot, copies), NoticeKind::warning);
        });
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

void WorkspaceMirror::notifyLater(const QString &notice, NoticeKind kind)
{
    // Queued calls to this object are dropped once it is gone.
    QMetaObject::invokeMethod(
        this, [this, notice, kind] { m_notify(notice, kind); }, Qt::QueuedConnection);
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
            if (id.isNull() || !WorkspaceFiles::isSafeFolderName(it.value()))
                continue;
            // A move of the last run: its files are in one of the two folders, or in neither (moved
            // away by the user since). Which folder the project keeps waits for its name.
            if (const auto leaving = stored.constFind(leavingKey(it.key()));
                leaving != stored.cend() && WorkspaceFiles::isSafeFolderName(*leaving)) {
                const auto identity = stored.constFind(identityKey(it.key()));
                m_movesUnderWay.insert(id,
                    { *leaving, it.value(),
                        identity == stored.cend() ? std::nullopt : std::optional<QString>(*identity) });
            }
            m_projectFolders.insert(id, it.value());
        }
    } catch (const JsonError &) {
    }
}

bool WorkspaceMirror::settleMovesUnderWay(const QList<CampaignIDEProject> &projects)
{
    const QHash<QUuid, MoveUnderWay> underWay = std::exchange(m_movesUnderWay, {});
    if (underWay.isEmpty())
        return false;
    const auto isFolder = [this](const QString &name) {
        const QFileInfo info(m_workspaceRoot + u'/' + name);
        return info.isDir() && !info.isSymLink();
    };
    // A folder another project's record names is that project's, whatever this move left.
    const auto claimedByOther = [&](const QUuid &project, const QString &name) {
        for (auto it = m_projectFolders.cbegin(); it != m_projectFolders.cend(); ++it) {
            if (it.key() != project && *it == name)
                return true;
        }
        for (auto it = underWay.cbegin(); it != underWay.cend(); ++it) {
            if (it.key() != project && (it->left == name || it->to == name))
                return true;
        }
        return false;
    };
    QStringList unmoved;
    for (const CampaignIDEProject &project : projects) {
        const auto move = underWay.constFind(project.id);
        if (move == underWay.cend())
            continue;
        QSet<QString> taken = foldersOfWaitingMoves();
        for (const CampaignIDEProject &other : projects) {
            if (other.id != project.id && m_projectFolders.contains(other.id))
                taken.insert(m_projectFolders.value(other.id));
        }
        const QString named = WorkspaceFiles::projectFolderName(project, taken);
        // The project's own folder: the one the move took, under either name, that no other project
        // claims. A record of an earlier version does not say which that is: the folder its name and
        // the record agree on counts, and nothing moves.
        const auto isOwn = [&](const QString &name) {
            return isFolder(name) && !claimedByOther(project.id, name)
                && (!move->identity || folderIdentity(m_workspaceRoot + u'/' + name) == *move->identity);
        };
        QString at = move->to;
        if (move->identity ? isOwn(move->left) : (named == move->left || named == move->to) && isOwn(named))
            at = move->identity ? move->left : named;
        const bool atOwn = isOwn(at);
        const bool mayMove = move->identity && atOwn;
        m_projectFolders.insert(project.id, at);
        // A folder under the name it left that the project does not take, while none of its own is
        // under the other: it stays as it is, and the user hears where the project's files go.
        if (at != move->left && isFolder(move->left) && !atOwn)
            unmoved.append(u"Left the folder "_s + WorkspaceFiles::shownPath(m_workspaceRoot + u'/' + move->left)
                + u" as it is: it may no longer hold the files of “"_s + project.name + u"”, which go to "_s
                + WorkspaceFiles::shownPath(m_workspaceRoot + u'/' + at) + u'.');
        const QFileInfo target(m_workspaceRoot + u'/' + named);
        if (!mayMove || named == at || platform::writesRefused() || target.exists() || target.isSymLink())
            continue; // agreed, not known to be its, a window that moves nothing, or a folder in the way
        // The process ended between the folder's move and the projects' store taking the name it
        // moved for (or before the move): the folder moves to the name the project has.
        m_projectFolders.insert(project.id, named);
        m_folderStore->rename(m_workspaceRoot + u'/' + at, m_workspaceRoot + u'/' + named);
        m_leftFolders.insert(project.id, at);
    }
    if (!unmoved.isEmpty()) {
        QString notice = unmoved.first();
        if (unmoved.size() > 1)
            notice += unmoved.size() == 2 ? u" 1 more folder of a renamed project was left as it is too."_s
                                          : u" "_s + QString::number(unmoved.size() - 1)
                    + u" more folders of renamed projects were left as they are too."_s;
        notifyLater(notice, NoticeKind::warning);
    }
    return true;
}

void WorkspaceMirror::assignProjectFolders(const QList<CampaignIDEProject> &projects)
{
    // The store is written again once settled (a window that writes nothing leaves it to the next).
    const bool settled = settleMovesUnderWay(projects) && !platform::writesRefused();
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
    // Nor is a folder whose project's move waits for the store, nor a name that leads to it.
    taken.unite(foldersOfWaitingMoves());
    for (const CampaignIDEProject &project : projects) {
        if (assigned.contains(project.id))
            continue;
        const QString name = WorkspaceFiles::projectFolderName(project, taken);
        assigned.insert(project.id, name);
        taken.insert(name);
    }
    if (assigned == m_projectFolders && !settled)
        return;
    m_projectFolders = assigned;
    saveProjectFolders();
}

bool WorkspaceMirror::isFolderStoreDue() const
{
    return m_folderStore->failed.load();
}

void WorkspaceMirror::writeFolderStoreAgain()
{
    saveProjectFolders();
}

void WorkspaceMirror::saveProjectFolders()
{
    struct Move {
        QUuid project;
        QString from; // where its files are: as queued, then as the job finds them
        QString to; // the folder the store names
        bool made = false; // a job running when this one was queued moved the folder there already
    };
    QMap<QString, QString> stored;
    QList<Move> moves;
    QList<std::pair<QString, QString>> moved; // project key, its folder: moved earlier in this run
    QList<std::pair<QUuid, QString>> inPlace; // the others' folders
    for (auto it = m_projectFolders.cbegin(); it != m_projectFolders.cend(); ++it) {
        const QString key = it.key().toString(QUuid::WithoutBraces);
        stored.insert(key, it.value());
        const QString folder = m_workspaceRoot + u'/' + it.value();
        const QString at = m_folderStore->onDisk(folder);
        if (at != folder) {
            moves.append({ it.key(), at, folder });
            stored.insert(leavingKey(key), QFileInfo(at).fileName());
        } else if (const auto left = m_leftFolders.constFind(it.key());
                   left != m_leftFolders.cend() && *left != it.value()) {
            // Moved: named until a start finds which name the projects' store took, whenever the
            // process ends.
            stored.insert(leavingKey(key), *left);
            moved.append({ key, folder });
        } else {
            inPlace.append({ it.key(), folder });
        }
    }
    // The folders move only once the store that names their new places has landed; until then their
    // files stay where the store on disk says, whatever ends the process.
    m_disk.enqueue(u"folders"_s,
        [this, stored, moves, moved, inPlace, path = m_folderStoreFile, state = m_folderStore](
            WorkspaceDiskQueue &disk) mutable {
            // Renamed back to the folder its files were in while a job still running moved them away:
            // they are where that move put them.
            for (const auto &[project, folder] : std::as_const(inPlace)) {
                if (const QString at = state->onDisk(folder); at != folder) {
                    moves.append({ project, at, folder });
                    stored.insert(leavingKey(project.toString(QUuid::WithoutBraces)), QFileInfo(at).fileName());
                } else {
                    state->moved(folder, folder); // its files are there: the name leads nowhere else
                }
            }
            // Which folder each move takes (or took), as it is before the store lands: a start after a
            // kill moves that folder only. Its files are where they are now, not where they were when
            // this job was queued: a job still running then may have moved them since.
            for (Move &move : moves) {
                const QString key = move.project.toString(QUuid::WithoutBraces);
                if (const QString at = state->onDisk(move.to); at == move.to) {
                    move.made = true;
                } else if (at != move.from) {
                    move.from = at;
                    stored.insert(leavingKey(key), QFileInfo(at).fileName());
                }
                QString identity = folderIdentity(move.from);
                // A move that job made keeps the identity taken then, never "no folder" or a folder
                // made since under the name it left.
                if (const std::optional<QString> known = state->movedIdentity(key);
                    known && (move.made || identity == noFolder))
                    identity = *known;
                state->setMovedIdentity(key, identity);
                stored.insert(identityKey(key), identity);
            }
            for (const auto &[key, folder] : std::as_const(moved)) {
                const std::optional<QString> identity = state->movedIdentity(key);
                stored.insert(identityKey(key), identity ? *identity : folderIdentity(folder));
            }
            const auto write = [&](QString *error) {
                if (!platform::writesRefused())
                    QDir().mkpath(QFileInfo(path).absolutePath());
                return platform::writeFileAtomically(path, encodeJson(stored), error);
            };
            QString error;
            if (!write(&error)) {
                state->failed = true;
                if (!state->told.exchange(true))
                    notifyLater(WorkspaceFiles::saveFailureNotice(u"where your project folders are"_s, error),
                        NoticeKind::warning);
                return;
            }
            state->failed = false;
            state->told = false;
            if (moves.isEmpty())
                return;
            QList<std::pair<Move, QString>> stayed; // and why
            for (const Move &move : std::as_const(moves)) {
                if (move.made)
                    continue;
                const QString key = move.project.toString(QUuid::WithoutBraces);
                // Only a real folder moves; with none there (or a link), the new one is made fresh.
                const QFileInfo source(move.from);
                if (!source.isDir() || source.isSymLink()) {
                    state->moved(move.from, move.to);
                    continue;
                }
                const QFileInfo target(move.to);
                QString reason;
                if (target.exists() || target.isSymLink())
                    reason = WorkspaceFiles::shownPath(move.to) + u" already exists"_s; // made meanwhile
                else if (::rename(QFile::encodeName(move.from).constData(), QFile::encodeName(move.to).constData())
                    != 0)
                    reason = WorkspaceFiles::shownPath(move.to) + u": "_s + qt_error_string(errno);
                if (reason.isEmpty()) {
                    disk.moveLedgerFolder(move.from, move.to);
                    state->moved(move.from, move.to);
                } else {
                    // The project keeps the folder its files are in.
                    stayed.append({ move, reason });
                    stored.insert(key, source.fileName());
                    stored.remove(leavingKey(key));
                    stored.remove(identityKey(key));
                }
            }
            // Should this write fail, a start finds the folders that stayed where the move left them.
            if (!stayed.isEmpty())
                (void)write(nullptr);
            for (const auto &unmoved : std::as_const(stayed)) {
                QMetaObject::invokeMethod(
                    this,
                    [this, move = unmoved.first, reason = unmoved.second] {
                        keepFolderUnmoved(move.project, move.from, move.to, reason);
                    },
                    Qt::QueuedConnection);
            }
        });
}

void WorkspaceMirror::keepFolderUnmoved(
    const QUuid &project, const QString &at, const QString &to, const QString &reason)
{
    if (m_workspaceRoot + u'/' + m_projectFolders.value(project) != to)
        return; // renamed again since: that move settles it
    m_notify(u"Kept the folder "_s + WorkspaceFiles::shownPath(at) + u": "_s + reason + u'.', NoticeKind::warning);
    m_projectFolders.insert(project, QFileInfo(at).fileName());
    m_leftFolders.remove(project); // it stays, whatever the name
    m_folderStore->rename(to, at);
    carryLocalFiles(to, at);
    saveProjectFolders();
}

QSet<QString> WorkspaceMirror::foldersOfWaitingMoves(const QString &exceptAt) const
{
    QSet<QString> names;
    const QHash<QString, QString> waiting = m_folderStore->waitingFolders();
    for (auto it = waiting.cbegin(); it != waiting.cend(); ++it) {
        if (*it == exceptAt)
            continue;
        names.insert(QFileInfo(it.key()).fileName());
        names.insert(QFileInfo(*it).fileName());
    }
    return names;
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
    const QString from = m_workspaceRoot + u'/' + oldName;
    const QString at = m_folderStore->onDisk(from); // its files, should an earlier move still wait
    QSet<QString> taken = foldersOfWaitingMoves(at);
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
    const QString to = m_workspaceRoot + u'/' + newName;
    // Someone else's folder is never written into: the project stays where it is. (The folder its
    // files are still in, under a name it is leaving, is its own.)
    const QFileInfo target(to);
    if (to != at && (target.exists() || target.isSymLink())) {
        const QString shownRoot = shownWorkspaceRoot();
        m_notify(u"Kept the folder "_s + shownRoot + u'/' + oldName + u": "_s + shownRoot + u'/' + newName
                + u" already exists."_s,
            NoticeKind::warning);
        return false;
    }
    m_projectFolders.insert(renamed.id, newName);
    m_leftFolders.insert(renamed.id, QFileInfo(at).fileName());
    // Writes for the new folder go to the old one until the store's job below has moved it (after
    // every write queued for the old folder so far); a window that writes nothing moves nothing.
    m_folderStore->rename(from, to);
    saveProjectFolders();
    // Thread files still waiting for the old folder go to the new one instead (the job of the
    // same key takes their place); written ones moved with the folder and are not written again.
    if (const auto threadFiles = m_threadFiles.constFind(renamed.id); threadFiles != m_threadFiles.cend())
        syncThreadFiles(*threadFiles, renamed, true);
    carryLocalFiles(from, to);
    return true;
}

void WorkspaceMirror::carryLocalFiles(const QString &from, const QString &to)
{
    m_movedFolders.remove(to); // the folder is there now, whatever left it before
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
    QHash<QString, LocalWorkspaceFile> elsewhere;
    for (LocalWorkspaceFile file : std::as_const(m_unsavedElsewhere)) {
        if (const auto path = moved(file.id()))
            file.url = QUrl::fromLocalFile(*path);
        elsewhere.insert(file.id(), file);
    }
    m_unsavedElsewhere = std::move(elsewhere);
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
        [project, root = m_workspaceRoot, folder, state = m_folderStore, written = rewritesIn(folder)](
            WorkspaceDiskQueue &disk) {
            (void)mirrorProjectFolder(disk, project, root, state->onDisk(folder), false, written);
        },
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
            [project, thread, root = m_workspaceRoot, folder, outcome, state = m_folderStore,
                written = rewritesIn(folder)](WorkspaceDiskQueue &disk) {
                const QString onDisk = state->onDisk(folder);
                auto error = mirrorProjectFolder(disk, project, root, onDisk, true, written);
                if (thread) {
                    const auto threadError
                        = writeThreadFiles(disk, *thread, root, onDisk, ThreadFilesWrite::forced, written);
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
            notifyLater(
                notice, outcome->failure || !outcome->keptCopies.isEmpty() ? NoticeKind::warning : NoticeKind::info);
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
        [thread, root = m_workspaceRoot, folder, state = m_folderStore, written = rewritesIn(folder)](
            WorkspaceDiskQueue &disk) {
            (void)writeThreadFiles(disk, thread, root, state->onDisk(folder), ThreadFilesWrite::changed, written);
        },
        lane);
}

void WorkspaceMirror::writeMissingThreadFiles(const CampaignIDEThread &thread, const CampaignIDEProject &project)
{
    const QString folder = projectFolderPath(project);
    m_disk.enqueue(
        [thread, root = m_workspaceRoot, folder, state = m_folderStore, written = rewritesIn(folder)](
            WorkspaceDiskQueue &disk) {
            (void)writeThreadFiles(disk, thread, root, state->onDisk(folder), ThreadFilesWrite::missingOnly, written);
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
    const WrittenFile written = threadFolder ? rewritesIn(*threadFolder) : WrittenFile();
    m_disk.enqueue([this, thread, threadFolder, projectFolder, root = m_workspaceRoot, shownRoot = shownWorkspaceRoot(),
                       state = m_folderStore, written](WorkspaceDiskQueue &disk) mutable {
        if (threadFolder)
            threadFolder = state->onDisk(*threadFolder);
        if (projectFolder)
            projectFolder = state->onDisk(*projectFolder);
        std::optional<QString> failure;
        if (!thread || !threadFolder)
            failure = u"this thread's campaign project no longer exists"_s;
        else
            failure = writeThreadFiles(disk, *thread, root, *threadFolder, ThreadFilesWrite::changed, written);
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
                : QString(u"Saved campaign-plan.md, media-plan.csv, and creatives.json to "_s % shownRoot % u'.'),
            failure ? NoticeKind::warning : NoticeKind::info);
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
    m_disk.enqueue(u"listing"_s, [folder, createFolder, generation, state = m_folderStore, this](WorkspaceDiskQueue &) {
        if (createFolder && !platform::writesRefused())
            QDir().mkpath(folder);
        const QString onDisk = state->onDisk(folder);
        auto listing = WorkspaceFiles::listTextFiles(onDisk, maxListedFileSize);
        // Listed under the folder's new name, where they are about to move.
        if (listing && onDisk != folder) {
            for (LocalWorkspaceFile &file : listing->files)
                file.url = QUrl::fromLocalFile(folder + u'/' + file.name);
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation, folder, listing = std::move(listing)]() mutable {
                applyLocalFileListing(generation, folder, std::move(listing));
            },
            Qt::QueuedConnection);
    });
}

void WorkspaceMirror::applyLocalFileListing(
    quint64 generation, const QString &folder, std::optional<WorkspaceFiles::TextFileListing> listing)
{
    if (generation != m_listingGeneration)
        return; // a newer listing is on its way
    // Unsaved edits stay with their file, whichever folder is listed now, until saved or discarded.
    QHash<QString, LocalWorkspaceFile> unsaved = std::exchange(m_unsavedElsewhere, {});
    for (const LocalWorkspaceFile &file : std::as_const(m_localFiles)) {
        if (file.isModified)
            unsaved.insert(file.id(), file);
    }
    if (!listing) {
        m_unsavedElsewhere = std::move(unsaved);
        m_localFiles.clear();
        Q_EMIT localFilesChanged();
        return;
    }
    QList<LocalWorkspaceFile> &files = listing->files;
    // Why each file of the folder that is there but cannot be shown is not.
    QHash<QString, QString> notShown;
    for (auto it = listing->unlisted.cbegin(); it != listing->unlisted.cend(); ++it)
        notShown.insert(it.key(), it.value() + u" now"_s);
    // Edits of files still listed stay, and so does the text they were made from.
    QStringList changed;
    for (LocalWorkspaceFile &file : files) {
        file.diskContent = file.content;
        if (file.isTooLarge()) {
            notShown.insert(file.name, tooLargeNow(*file.tooLargeSize));
            continue; // its edit, if any, waits aside: the file's text is not held
        }
        const auto old = unsaved.constFind(file.id());
        if (old != unsaved.cend()) {
            file.changedOnDisk = old->changedOnDisk || file.content != old->diskContent;
            if (file.changedOnDisk && !old->changedOnDisk)
                changed.append(file.name);
            file.content = old->content;
            file.diskContent = old->diskContent;
            file.isModified = true;
            unsaved.erase(old);
        }
    }
    // The edits of files of the listed folder that are there but cannot be shown wait aside, told
    // once; only a file gone from the folder takes its edit with it. Those of other folders wait.
    QList<std::pair<QString, QString>> unshown; // name, why
    for (auto it = unsaved.begin(); it != unsaved.end();) {
        const QFileInfo path(it.key());
        if (path.path() != folder) {
            ++it;
            continue;
        }
        const auto why = notShown.constFind(path.fileName());
        if (why == notShown.cend()) {
            it = unsaved.erase(it);
            continue;
        }
        it->changedOnDisk = true;
        if (!std::exchange(it->unshown, true))
            unshown.append({ it->name, *why });
        ++it;
    }
    m_unsavedElsewhere = std::move(unsaved);
    m_localFiles = std::move(files);
    Q_EMIT localFilesChanged();
    for (const QString &name : std::as_const(changed))
        m_notify(changedOnDiskNotice(name), NoticeKind::warning);
    if (!unshown.isEmpty())
        m_notify(unshownEditsNotice(unshown), NoticeKind::warning);

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
    if ((file.content == text && file.isModified) || file.isTooLarge())
        return; // a file too large to edit has no text here to change
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

void WorkspaceMirror::saveLocalFile(const LocalWorkspaceFile &file, bool besideFolder)
{
    // Its text is not held: saving would replace the file with nothing.
    if (file.isTooLarge()) {
        m_notify(file.tooLargeText() + u"; nothing was saved."_s, NoticeKind::warning);
        return;
    }
    m_disk.enqueue([file, besideFolder, root = m_workspaceRoot, state = m_folderStore, this](WorkspaceDiskQueue &disk) {
        const QString path = state->fileOnDisk(file.url.toLocalFile());
        QString error;
        std::optional<QString> kept;
        std::optional<QString> savedBeside;
        bool saved = platform::makeFolderWithin(root, QFileInfo(path).path(), &error);
        if (saved && besideFolder && isFolder(path)) {
            // A folder took the file's place: it stays, and the text goes beside it as a quit keeps
            // it, named now and again at the next start (Save All is what lets the window close).
            savedBeside = WorkspaceFiles::besidePath(path, u"unsaved");
            if (savedBeside->isEmpty())
                error = QString::fromUtf16(WorkspaceFiles::everyNameTaken);
            saved
                = !savedBeside->isEmpty() && platform::writeFileAtomically(*savedBeside, file.content.toUtf8(), &error);
            if (saved)
                disk.rescue().keepText(StoreRescue::KeptText { .path = path, .text = {}, .keptAs = *savedBeside });
        } else if (saved && differsOnDisk(path, file.diskContent)) {
            // Text written there since this text was read (by the mirror, or another program) is not
            // lost under it: it is kept beside the file, as the mirror keeps a user's edit.
            kept = WorkspaceDiskQueue::keepAside(path, u"on-disk");
            if (!kept) {
                saved = false;
                error = u"the version on disk could not be kept"_s;
            }
        }
        if (!savedBeside)
            saved = saved && platform::writeFileAtomically(path, file.content.toUtf8(), &error);
        QMetaObject::invokeMethod(
            this,
            [this, file, saved, error, kept, savedBeside] {
                finishLocalFileSave(file, saved, error, kept, savedBeside);
            },
            Qt::QueuedConnection);
    });
}

void WorkspaceMirror::finishLocalFileSave(const LocalWorkspaceFile &saved, bool ok, const QString &error,
    const std::optional<QString> &kept, const std::optional<QString> &savedBeside)
{
    if (!ok) {
        m_notify(u"Failed to save "_s + saved.name + u": "_s + error, NoticeKind::warning);
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
    if (const auto elsewhere = m_unsavedElsewhere.find(savedID); elsewhere != m_unsavedElsewhere.end()) {
        elsewhere->diskContent = saved.content;
        elsewhere->changedOnDisk = false;
        if (elsewhere->content == saved.content)
            m_unsavedElsewhere.erase(elsewhere);
    }
    for (LocalWorkspaceFile &file : m_localFiles) {
        if (file.id() != savedID)
            continue;
        // A file listed as too large to edit holds the saved edit now.
        if (file.isTooLarge()) {
            file.tooLargeSize.reset();
            file.content = saved.content;
        }
        file.diskContent = saved.content;
        file.changedOnDisk = false;
        if (file.content == saved.content)
            file.isModified = false;
        Q_EMIT localFileChanged(file.id());
        break;
    }
    if (savedBeside) {
        m_notify(u"Saved your changes to "_s + saved.name + u" as "_s + WorkspaceFiles::shownPath(*savedBeside)
                + u": "_s + saved.name + u" is a folder now, which a save never replaces."_s,
            NoticeKind::warning);
        return;
    }
    QString notice = u"Saved "_s + saved.name + u" to disk."_s;
    if (kept)
        notice += u" Kept the version on disk as "_s + WorkspaceFiles::shownPath(*kept) + u'.';
    m_notify(notice, kept ? NoticeKind::warning : NoticeKind::info);
}

QString WorkspaceMirror::changedOnDiskNotice(const QString &name)
{
    return name + u" changed on disk while you were editing it. Saving keeps the version on disk beside it."_s;
}

QString WorkspaceMirror::unshownEditsNotice(const QList<std::pair<QString, QString>> &unshown)
{
    const auto &[name, why] = unshown.first();
    const QString which = unshown.size() == 1 ? name
                                              : name + u" and "_s + QString::number(unshown.size() - 1)
            + (unshown.size() == 2 ? u" more file"_s : u" more files"_s);
    // A save never replaces a folder: it puts the text beside it.
    const bool folder = why.startsWith(QStringView(WorkspaceFiles::isAFolder));
    return u"Your unsaved changes to "_s + which + u" are not shown: "_s + name + u' ' + why
        + u". They are kept until you save or discard them; closing the window asks. "_s
        + (folder ? u"Saving puts them in a file beside the folder."_s
                  : u"Saving keeps the version on disk beside the file."_s);
}

std::function<void(const QString &, const QByteArray &)> WorkspaceMirror::rewritesIn(const QString &folder)
{
    // Called on the writer; this object is alive while the writer runs.
    return [this, folder](const QString &name, const QByteArray &bytes) {
        QMetaObject::invokeMethod(
            this, [this, path = QString(folder + u'/' + name), bytes] { applyRewrittenFile(path, bytes); },
            Qt::QueuedConnection);
    };
}

void WorkspaceMirror::applyRewrittenFile(const QString &path, const QByteArray &bytes)
{
    for (LocalWorkspaceFile &file : m_localFiles) {
        if (file.id() != path)
            continue;
        if (bytes.size() > maxListedFileSize) {
            // Too large to edit now: listed by its size, and an edit waits aside, told once.
            const bool edited = file.isModified;
            if (edited) {
                LocalWorkspaceFile held = file;
                held.changedOnDisk = true;
                held.unshown = true;
                m_unsavedElsewhere.insert(held.id(), held);
            }
            file = LocalWorkspaceFile { .name = file.name, .url = file.url, .tooLargeSize = bytes.size() };
            Q_EMIT localFileChanged(file.id());
            if (edited)
                m_notify(unshownEditsNotice({ { file.name, tooLargeNow(bytes.size()) } }), NoticeKind::warning);
            return;
        }
        const QString text = QString::fromUtf8(bytes);
        if (file.isTooLarge()) {
            // Text to edit again; an edit that waited aside comes back over it.
            file.tooLargeSize.reset();
            file.content = text;
            file.diskContent = text;
            if (const auto held = m_unsavedElsewhere.constFind(file.id()); held != m_unsavedElsewhere.cend()) {
                file.content = held->content;
                file.diskContent = held->diskContent;
                file.isModified = true;
                file.changedOnDisk = true;
                m_unsavedElsewhere.erase(held);
            }
            Q_EMIT localFileChanged(file.id());
            return;
        }
        if (!file.isModified) {
            if (file.content == text && file.diskContent == text)
                return;
            file.content = text;
            file.diskContent = text;
            Q_EMIT localFileChanged(file.id());
        } else if (!file.changedOnDisk && text != file.diskContent) {
            file.changedOnDisk = true;
            Q_EMIT localFileChanged(file.id());
            m_notify(changedOnDiskNotice(file.name), NoticeKind::warning);
        }
        return;
    }
}

bool WorkspaceMirror::hasUnsavedLocalFiles() const
{
    return !m_unsavedElsewhere.isEmpty()
        || std::any_of(
            m_localFiles.cbegin(), m_localFiles.cend(), [](const LocalWorkspaceFile &file) { return file.isModified; });
}

QList<LocalWorkspaceFile> WorkspaceMirror::unsavedLocalFiles() const
{
    QList<LocalWorkspaceFile> unsaved;
    for (const LocalWorkspaceFile &file : std::as_const(m_localFiles)) {
        if (file.isModified)
            unsaved.append(file);
    }
    unsaved.append(m_unsavedElsewhere.values());
    return unsaved;
}

void WorkspaceMirror::saveAllLocalFiles()
{
    for (const LocalWorkspaceFile &file : unsavedLocalFiles())
        saveLocalFile(file, true);
}

void WorkspaceMirror::discardUnsavedLocalFiles()
{
    m_unsavedElsewhere.clear();
    for (LocalWorkspaceFile &file : m_localFiles) {
        if (file.isModified) {
            file.isModified = false;
            Q_EMIT localFileChanged(file.id());
        }
    }
}

void WorkspaceMirror::keepUnsavedLocalFilesAside()
{
    for (const LocalWorkspaceFile &file : unsavedLocalFiles()) {
        const QString path = m_folderStore->fileOnDisk(file.url.toLocalFile());
        m_disk.enqueue([path, text = file.content, root = m_workspaceRoot](WorkspaceDiskQueue &disk) {
            const QString beside = WorkspaceFiles::besidePath(path, u"unsaved");
            const bool kept = !beside.isEmpty() && platform::makeFolderWithin(root, QFileInfo(path).path())
                && platform::writeFileAtomically(beside, text.toUtf8());
            // The rescue copy names it, for the next start to say where it went; where nothing could
            // be written beside the file (a full disk), it holds the text itself.
            disk.rescue().keepText(kept ? StoreRescue::KeptText { .path = path, .text = {}, .keptAs = beside }
                                        : StoreRescue::KeptText { .path = path, .text = text, .keptAs = {} });
        });
    }
    m_disk.flushUserData();
}

QString WorkspaceMirror::revealFolderPath(const std::optional<CampaignIDEProject> &shownProject) const
{
    // While its move waits, the folder is still where it was.
    return shownProject ? m_folderStore->onDisk(projectFolderPath(*shownProject)) : m_workspaceRoot;
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
                    m_notify(u"Failed to generate report "_s + shownPath + u": "_s + error, NoticeKind::warning);
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
