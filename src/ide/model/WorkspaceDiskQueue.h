#pragma once

#include "ide/model/StoreRescue.h"
#include "platform/AtomicFile.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace orvane {

// The workspace model's one background writer: runs file jobs in order on its own thread.
//
// Jobs go to one of two lanes. The user lane (the stores, files the user saves, listings) always
// runs before the mirror lane (generated files), so saves never wait behind a long mirror; within
// a lane jobs run in the order they came. A job with a key replaces a pending job with the same key
// and moves to the back of its lane, so saves of one target that come faster than they are written
// coalesce (the newest wins). Jobs must not touch the model: they work on the snapshot they
// captured and post results back to the main thread.
//
// The queue also keeps the mirror's ledger: the SHA-256 of what it last wrote to every generated
// file, kept in a small JSON file so that it survives restarts. A generated file whose content is
// neither that nor the new content was edited by someone else: it is kept beside it first. Files
// under the ledger's root are named relative to it, so that the ledger still knows them after the
// root moves with the home folder.
//
// It also keeps what the stores' failed writes were to write (rescue()), so that nothing is lost
// when the process ends before they land.
class WorkspaceDiskQueue final {
public:
    enum class Lane { user, mirror };

    // rescuePaths: where a rescue copy of the stores' failed writes may go, in order of preference.
    // ledgerRoot: the folder the generated files are written under (the workspace root).
    explicit WorkspaceDiskQueue(QString ledgerFile, QStringList rescuePaths = {}, QString ledgerRoot = {});
    // Runs what is pending in the user lane, then stops the thread (see shutdown()).
    ~WorkspaceDiskQueue();
    WorkspaceDiskQueue(const WorkspaceDiskQueue &) = delete;
    WorkspaceDiskQueue &operator=(const WorkspaceDiskQueue &) = delete;

    using Job = std::function<void(WorkspaceDiskQueue &)>;
    void enqueue(const QString &key, Job job, Lane lane = Lane::user);
    void enqueue(Job job, Lane lane = Lane::user) { enqueue(QString(), std::move(job), lane); }
    // Like enqueue(), but a job that replaces a pending one takes that one's place instead of moving
    // to the back: it runs no later than the job it replaces, so whatever was queued after that one
    // (an index naming the file it writes) still follows it.
    void enqueueInPlace(const QString &key, Job job, Lane lane = Lane::user);
    // Blocks until every job enqueued so far, and the ledger, have been written.
    void flush();
    // Blocks until every user-lane job enqueued so far has run; mirror work may go on.
    void flushUserData();
    // Runs what is pending in the user lane, drops the mirror lane (the next start mirrors again),
    // saves the ledger and stops; later enqueues are dropped.
    void shutdown();

    // Remembers that the store at path could not be read: it is set aside before the first write.
    void markUnreadable(const QString &path);

    // Called on the writer's thread with the paths of the copies that a job kept of files edited
    // outside the mirror, unless the job took them itself.
    void setKeptCopiesHandler(std::function<void(const QStringList &)> handler);

    // For jobs, on the writer's thread. Writes the file unless the ledger says these are the bytes
    // last written there and it is still a regular file (a user's saved edit then stands), or,
    // with force, unless it holds these bytes. A file that holds something the mirror did not
    // write is first moved beside it, to a name that says it is the user's edit (see
    // takeKeptCopies()). A symlink or FIFO in its place is replaced, never followed. Returns whether
    // it wrote; a failed write also sets *error when given.
    bool writeGenerated(const QString &path, const QByteArray &bytes, QString *error = nullptr, bool force = false);
    // Moves the file at path beside it, to a name that says what it is ("<stem>.<label>-<UTC>.<ext>"):
    // how a file is kept before something else takes its place. The copy's path; none when the file
    // could not be moved.
    [[nodiscard]] static std::optional<QString> keepAside(const QString &path, QStringView label);
    // The ledger's entries of files in folder from now name the same files in folder to.
    void moveLedgerFolder(const QString &from, const QString &to);
    // The copies kept since the last call.
    QStringList takeKeptCopies();
    // Writes a store's file through `write`; one found unreadable is kept beside it once the write
    // has landed (keptAs, when given, then names the copy), and stays in its place when the write
    // fails or writes are refused. `write` must replace the file by a rename, as
    // platform::writeFileAtomically() does. A store that cannot be kept is not written over.
    bool writeStore(const QString &path, const std::function<bool()> &write, QString *keptAs = nullptr);
    // Whether the store at path was found unreadable and has not been written over since.
    [[nodiscard]] bool isUnreadable(const QString &path);
    // Writes a store's file with bytes, atomically, as writeStore() does (beforeReplace runs just
    // before the write). While the write fails, the bytes stay due in rescue() under `what`, the
    // store as the user calls it. Returns whether it landed; a failure also sets *error when given.
    // One that lands (there is room again) takes the files of a rescue copy still due with it.
    bool writeStoreFile(const QString &path, const QByteArray &bytes, const QString &what, QString *error = nullptr,
        const std::function<void()> &beforeReplace = {}, QString *keptAs = nullptr);
    // Writes the files of the rescue copy still due (StoreRescue::copiedDue()) in order, stopping at
    // the first that fails (a later one may name it): false then, with what and why.
    bool writeCopiedFiles(QString *what = nullptr, QString *error = nullptr);
    // Reads a store's file as its due writes leave it: the bytes still due for it, else the file
    // (a regular file of at most maxSize bytes). Any thread.
    [[nodiscard]] platform::FileContents readStore(const QString &path, qint64 maxSize) const;
    // The stores' writes still due, and their rescue copy. Any thread.
    [[nodiscard]] StoreRescue &rescue() { return m_rescue; }

    // Called on the writer's thread after each job with the job's key (empty when it had none). A
    // seam for tests that look at the files between two jobs, as a process killed there leaves them.
    void setJobFinishedHook(std::function<void(const QString &key)> hook);

private:
    void run();
    bool writeStoreBytes(const QString &path, const QByteArray &bytes, const std::function<void()> &beforeReplace,
        QString *error, QString *keptAs = nullptr);
    void loadLedger();
    void saveLedger();
    // The ledger's name of the file at path: relative to the ledger's root when under it.
    [[nodiscard]] QString ledgerKey(const QString &path) const;

    struct Pending {
        QString key;
        Job job;
    };
    using Queue = std::map<quint64, Pending>;

    Queue &queue(Lane lane) { return lane == Lane::user ? m_user : m_mirror; }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    Queue m_user;
    Queue m_mirror;
    QHash<QString, std::pair<Lane, quint64>> m_keys; // pending keyed jobs
    quint64 m_sequence = 0;
    QHash<QString, bool> m_unreadable; // guarded by m_mutex
    std::function<void(const QStringList &)> m_keptCopiesHandler; // guarded by m_mutex
    std::function<void(const QString &)> m_jobFinishedHook; // guarded by m_mutex
    bool m_busy = false;
    std::optional<quint64> m_runningUserJob; // the sequence of the user-lane job running now
    bool m_stopping = false;
    bool m_stopped = false;

    StoreRescue m_rescue;

    // Writer thread only.
    QString m_ledgerFile;
    const QString m_ledgerRoot;
    QHash<QString, QByteArray> m_ledger; // by ledgerKey()
    bool m_ledgerLoaded = false;
    bool m_ledgerDirty = false;
    std::chrono::steady_clock::time_point m_ledgerSaved;
    QStringList m_keptCopies;

    std::thread m_thread;
};

} // namespace orvane
