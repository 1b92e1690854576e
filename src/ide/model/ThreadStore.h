#pragma once

#include "ide/model/WorkspaceNotice.h"
#include "ide/records/CampaignIDEThread.h"
#include "ide/records/CampaignThreadSummary.h"
#include "platform/AtomicFile.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class QObject;

namespace orvane {

class WorkspaceDiskQueue;

// The stored threads, kept so that start-up does not grow with them: a small index (one summary per
// thread, in list order) in "index.json", and each thread's whole record in "<ID>.json" beside it,
// encoded exactly as one element of the single array earlier versions kept in one file.
//
// Threads come back from load() with their heads only; a body is read when its thread is opened,
// on a reader thread when it is large. A save writes the bodies that differ from what is on disk,
// then the index when it changed; bodies of removed threads go once the index no longer names them.
// All writes run on the model's disk writer, and an index is never written before the bodies it
// names, so bodies without an index are threads to list, never a first start. A write that fails
// leaves its thread (or the index) due for the next save; the user is told once, until everything
// due has been written. Lives on the main thread.
//
// The first start that finds the earlier single file moves it: every body, then the index, then
// the old file renamed to "<file>.backup". The index is written last, so a move cut short goes on
// at the next start: the bodies written stand, the old file gives the rest and the order. Such a
// file met once the index exists (an earlier version run since) brings in the threads the index
// lacks and is kept under a name of its own.
class ThreadStore final {
public:
    // Tells the user something; called on any thread.
    using Notify = NoticeSink;

    ThreadStore(QString folder, QString legacyFile, WorkspaceDiskQueue &disk, Notify notify = {});
    // Drops the reads not started yet and waits for those running.
    ~ThreadStore();
    ThreadStore(const ThreadStore &) = delete;
    ThreadStore &operator=(const ThreadStore &) = delete;

    // Bodies at least this large are read off the main thread.
    static constexpr qint64 backgroundReadSize = 256 * 1024;

    // The stored threads in order: heads from the index; without a readable index (damaged or
    // missing), heads of the bodies in the folder, which are the user's threads whatever became of
    // the index, with the earlier single file's threads that no body holds, whole, their move
    // scheduled. None only when there is no readable index, body or earlier file: a first start. An
    // unreadable store is kept aside once the first write over it has landed.
    [[nodiscard]] std::optional<QList<CampaignIDEThread>> load();

    // Whether the thread's body is in memory; threads the store never held count as in memory.
    [[nodiscard]] bool hasBody(const QUuid &id) const { return m_loaded.contains(id) || !m_stored.contains(id); }
    // The index's summary of a thread whose body is not in memory.
    [[nodiscard]] std::optional<CampaignThreadSummary> storedSummary(const QUuid &id) const;
    [[nodiscard]] bool isLarge(const QUuid &id) const;

    // Reads a stored body now, for adoptBody(); none when it is missing or unreadable (an
    // unreadable file is set aside before the next write over it).
    [[nodiscard]] std::optional<CampaignIDEThread> readStoredBody(const QUuid &id);
    // The same on a reader thread; `done` gets the result on the context's thread, whatever the
    // read met. The context must own the store. One read per thread at a time: false, with `done`
    // never called, when the body is in memory or a read of it is under way.
    [[nodiscard]] bool readBodyInBackground(
        const QUuid &id, QObject *context, std::function<void(const QUuid &, std::optional<CampaignIDEThread>)> done);
    // The whole thread: the stored body with the head fields of `head` (they may have changed since
    // the body was written), or the head alone without a stored body. Its body now counts as read.
    [[nodiscard]] CampaignIDEThread adoptBody(const CampaignIDEThread &head, std::optional<CampaignIDEThread> stored);
    // The stored body with the head fields of `head`, as adoptBody() joins them; nothing counts as read.
    [[nodiscard]] static CampaignIDEThread bodyWithHead(CampaignIDEThread body, const CampaignIDEThread &head);
    // A thread created in memory: its body is here and is written by the next save.
    void addNew(const QUuid &id) { m_loaded.insert(id); }
    // A stored body that could not be read (none came to adoptBody()): the file stays in its place
    // until the thread's new body has landed, is then kept aside, and a notice names the copy.
    void keepLostBody(const QUuid &id, const QString &title);

    // Schedules the writes that bring the files in line with the list, with those that failed since
    // the last save.
    void save(const QList<CampaignIDEThread> &threads);
    // Whether a write failed since the last save.
    [[nodiscard]] bool hasFailedWrites() const;

    [[nodiscard]] QString indexPath() const;
    // The index as it was before the last write over it: the order to rebuild a damaged index in.
    [[nodiscard]] QString previousIndexPath() const;
    [[nodiscard]] QString bodyPath(const QUuid &id) const;

    // The whole list stored in a folder, every body read; none when the index is missing or
    // unreadable. For tools and tests, on any thread.
    [[nodiscard]] static std::optional<QList<CampaignIDEThread>> readAll(const QString &folder);
    // One stored body, decoded, its unfinished turns settled (settled tells whether there were
    // any). Throws DecodingError.
    [[nodiscard]] static CampaignIDEThread decodeBody(QByteArrayView bytes, bool *settled = nullptr);

    // Turns the process ended before they completed (a quit, a signal, a kill): an agent entry that
    // holds the local agent's answer beside unconfirmed streamed text takes that answer; one still
    // before it (the running placeholder tool) says so in interruptedReplyText() and loses the
    // running tool; every tab is idle. Entries of completed turns never change. Whether the thread
    // held any; a thread without any is not touched (nor detached).
    static bool settleUnfinishedTurns(CampaignIDEThread &thread);
    [[nodiscard]] static bool hasUnfinishedTurns(const CampaignIDEThread &thread);
    [[nodiscard]] static const QString &interruptedReplyText();
    // Whether the body read last for the thread had unfinished turns settled, and forgets it: that
    // body is due to be written again.
    bool takeSettledAtRead(const QUuid &id) { return m_settledAtRead.remove(id); }

private:
    struct WriteOutcomes;
    enum class Read { ok, missing, unreadable };
    struct BodyRead {
        std::optional<CampaignIDEThread> thread; // none when missing or unreadable
        bool unreadable = false;
        bool settled = false; // unfinished turns were settled: the file differs from the thread
    };
    // Reads and decodes a body file; safe on any thread.
    [[nodiscard]] BodyRead readBody(const QString &path) const;
    // Reads a file of the store as its writes still due leave it (WorkspaceDiskQueue::readStore()).
    [[nodiscard]] Read readFile(const QString &path, QByteArray &bytes) const;
    [[nodiscard]] static Read readFileOnDisk(const QString &path, QByteArray &bytes);
    // What a read came to; the bytes of one that read go to bytes.
    [[nodiscard]] static Read taken(platform::FileContents file, QByteArray &bytes);
    void writeIndex(const QList<CampaignThreadSummary> &index);
    // Without a readable index: heads of the bodies found in the folder, in the order of the last
    // good index (those it does not name first), with the earlier single file's threads that no body
    // holds, whole; a new index (and those bodies) scheduled. None when the folder holds no readable
    // body and there is no readable earlier file.
    [[nodiscard]] std::optional<QList<CampaignIDEThread>> rebuildIndex();
    // The earlier single file's threads, each once; none when it is missing or unreadable (an
    // unreadable one is set aside by the first write of the index).
    [[nodiscard]] std::optional<QList<CampaignIDEThread>> readEarlierFile();
    void tellBroughtIn(const QList<CampaignIDEThread> &added) const;
    // The earlier single file met beside a readable index: threads the index lacks join the front of
    // the list, whole, and the file is retired by the next index write.
    void bringInEarlierFile(QList<CampaignIDEThread> &threads);
    // Makes the writes that failed since the last call due again.
    void takeFailedWrites();

    QString m_folder;
    QString m_legacyFile;
    WorkspaceDiskQueue &m_disk;
    Notify m_notify;
    std::shared_ptr<WriteOutcomes> m_outcomes;
    quint64 m_generation = 0; // of the writes scheduled
    QHash<QUuid, quint64> m_bodyGeneration; // of each thread's last body write
    quint64 m_indexGeneration = 0;

    QSet<QUuid> m_loaded;
    QHash<QUuid, CampaignThreadSummary> m_index; // as read at load()
    QHash<QUuid, CampaignIDEThread> m_written; // each body as it is on disk (or queued for it)
    QSet<QUuid> m_stored; // bodies on disk or queued
    QSet<QUuid> m_removed; // bodies to delete once the index no longer names them
    QList<CampaignThreadSummary> m_lastIndex;
    bool m_indexWritten = false;
    QSet<QUuid> m_reading;
    QSet<QUuid> m_settledAtRead; // bodies read with unfinished turns settled, not yet adopted
    QThreadPool m_readers;
};

} // namespace orvane
