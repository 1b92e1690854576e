#pragma once

#include "ide/records/CampaignIDEThread.h"
#include "ide/records/CampaignThreadSummary.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <QUuid>

#include <functional>
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
// All writes run on the model's disk writer. Lives on the main thread.
//
// The first start that finds the earlier single file moves it: every body, then the index, then
// the old file renamed to "<file>.backup". The index is written last, so a move cut short starts
// over from the old file at the next start.
class ThreadStore final {
public:
    ThreadStore(QString folder, QString legacyFile, WorkspaceDiskQueue &disk);
    // Drops the reads not started yet and waits for those running.
    ~ThreadStore();
    ThreadStore(const ThreadStore &) = delete;
    ThreadStore &operator=(const ThreadStore &) = delete;

    // Bodies at least this large are read off the main thread.
    static constexpr qint64 backgroundReadSize = 256 * 1024;

    // The stored threads in order: heads from the index; from the bodies beside a damaged index;
    // else the earlier single file's threads, whole, with their move scheduled. None when neither holds a readable
    // list. An unreadable store is set aside before the first write over it.
    [[nodiscard]] std::optional<QList<CampaignIDEThread>> load();

    // Whether the thread's body is in memory; threads the store never held count as in memory.
    [[nodiscard]] bool hasBody(const QUuid &id) const { return m_loaded.contains(id) || !m_stored.contains(id); }
    // The index's summary of a thread whose body is not in memory.
    [[nodiscard]] std::optional<CampaignThreadSummary> storedSummary(const QUuid &id) const;
    [[nodiscard]] bool isLarge(const QUuid &id) const;

    // Reads a stored body now, for adoptBody(); none when it is missing or unreadable (an
    // unreadable file is set aside before the next write over it).
    [[nodiscard]] std::optional<CampaignIDEThread> readStoredBody(const QUuid &id);
    // The same on a reader thread; `done` gets the result on the context's thread. The context
    // must own the store. One read per thread at a time.
    void readBodyInBackground(
        const QUuid &id, QObject *context, std::function<void(const QUuid &, std::optional<CampaignIDEThread>)> done);
    // The whole thread: the stored body with the head fields of `head` (they may have changed since
    // the body was written), or the head alone without a stored body. Its body now counts as read.
    [[nodiscard]] CampaignIDEThread adoptBody(const CampaignIDEThread &head, std::optional<CampaignIDEThread> stored);
    // The stored body with the head fields of `head`, as adoptBody() joins them; nothing counts as read.
    [[nodiscard]] static CampaignIDEThread bodyWithHead(CampaignIDEThread body, const CampaignIDEThread &head);
    // A thread created in memory: its body is here and is written by the next save.
    void addNew(const QUuid &id) { m_loaded.insert(id); }

    // Schedules the writes that bring the files in line with the list.
    void save(const QList<CampaignIDEThread> &threads);

    [[nodiscard]] QString indexPath() const;
    [[nodiscard]] QString bodyPath(const QUuid &id) const;

    // The whole list stored in a folder, every body read; none when the index is missing or
    // unreadable. For tools and tests, on any thread.
    [[nodiscard]] static std::optional<QList<CampaignIDEThread>> readAll(const QString &folder);
    // One stored body, decoded. Throws DecodingError.
    [[nodiscard]] static CampaignIDEThread decodeBody(QByteArrayView bytes);

private:
    enum class Read { ok, missing, unreadable };
    [[nodiscard]] static Read readFile(const QString &path, QByteArray &bytes);
    void writeIndex(const QList<CampaignThreadSummary> &index);
    // Heads of the bodies found in the folder, with a new index scheduled; none when none is readable.
    [[nodiscard]] std::optional<QList<CampaignIDEThread>> rebuildIndex();

    QString m_folder;
    QString m_legacyFile;
    WorkspaceDiskQueue &m_disk;

    QSet<QUuid> m_loaded;
    QHash<QUuid, CampaignThreadSummary> m_index; // as read at load()
    QHash<QUuid, CampaignIDEThread> m_written; // each body as it is on disk (or queued for it)
    QSet<QUuid> m_stored; // bodies on disk or queued
    QSet<QUuid> m_removed; // bodies to delete once the index no longer names them
    QList<CampaignThreadSummary> m_lastIndex;
    bool m_indexWritten = false;
    QSet<QUuid> m_reading;
    QThreadPool m_readers;
};

} // namespace orvane
