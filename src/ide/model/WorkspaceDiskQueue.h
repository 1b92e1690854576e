#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace orvane {

// The workspace model's one background writer: runs file jobs in order on its own thread.
//
// A job with a key replaces a pending job with the same key and moves to the back of the queue, so
// saves of one target that come faster than they are written coalesce (the newest wins) and still
// run after everything requested before them. Jobs must not touch the model: they work on the
// snapshot they captured and post results back to the main thread.
//
// The queue also keeps the mirror's ledger: the SHA-256 of what it last wrote to every generated
// file, kept in a small JSON file so that it survives restarts.
class WorkspaceDiskQueue final {
public:
    explicit WorkspaceDiskQueue(QString ledgerFile);
    // Runs what is pending, then stops the thread.
    ~WorkspaceDiskQueue();
    WorkspaceDiskQueue(const WorkspaceDiskQueue &) = delete;
    WorkspaceDiskQueue &operator=(const WorkspaceDiskQueue &) = delete;

    using Job = std::function<void(WorkspaceDiskQueue &)>;
    void enqueue(const QString &key, Job job);
    void enqueue(Job job) { enqueue(QString(), std::move(job)); }
    // Blocks until every job enqueued so far, and the ledger, have been written.
    void flush();
    // Runs what is pending and stops; later enqueues are dropped.
    void shutdown();

    // Remembers that the store at path could not be read: it is set aside before the first write.
    void markUnreadable(const QString &path);

    // For jobs, on the writer's thread. Writes the file unless the ledger says it holds exactly
    // these bytes from the last write (and it still exists). Returns whether it wrote; a failed
    // write also sets *error when given.
    bool writeGenerated(const QString &path, const QByteArray &bytes, QString *error = nullptr);
    // Writes a store's file, setting it aside first when it was found unreadable. A store that
    // cannot be set aside is not written over.
    bool writeStore(const QString &path, const std::function<bool()> &write);

private:
    void run();
    void loadLedger();
    void saveLedger();

    struct Pending {
        QString key;
        Job job;
    };

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Pending> m_queue;
    QHash<QString, bool> m_unreadable; // guarded by m_mutex
    bool m_busy = false;
    bool m_stopping = false;
    bool m_stopped = false;

    // Writer thread only.
    QString m_ledgerFile;
    QHash<QString, QByteArray> m_ledger;
    bool m_ledgerLoaded = false;
    bool m_ledgerDirty = false;

    std::thread m_thread;
};

} // namespace orvane
