#include "ide/model/ThreadStore.h"

#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceFiles.h"
#include "kit/support/JsonCoding.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QObject>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

constexpr qint64 maxStoredFileSize = WorkspaceFiles::maxStoreSize;

QString fileStem(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

bool isRunning(const CampaignToolInvocation &tool)
{
    return tool.status == CampaignToolInvocation::ToolStatus::running;
}

// An agent entry whose turn never completed: it holds the local agent's answer beside text that
// may have streamed in, or, still before that answer, the running placeholder tool.
bool isUnfinished(const CampaignTimelineEntry &entry)
{
    return entry.role == CampaignTimelineEntry::EntryRole::agent
        && (entry.localReply || std::ranges::any_of(entry.toolInvocations, isRunning));
}

void settle(CampaignTimelineEntry &entry)
{
    if (entry.localReply) {
        CampaignLocalReply local = *std::exchange(entry.localReply, std::nullopt);
        entry.text = std::move(local.text);
        entry.toolInvocations = std::move(local.toolInvocations);
        entry.inlineApproval = std::move(local.inlineApproval);
        entry.artifactLink = local.artifactLink;
        return;
    }
    // The local agent had not answered yet, so nothing of the turn was applied: only the words.
    entry.text = ThreadStore::interruptedReplyText();
    entry.toolInvocations.removeIf(isRunning);
}

// What the index keeps of a thread is what it shows once loaded again: a reply that was still
// streaming never stands in the list for good.
CampaignThreadSummary indexSummary(const CampaignIDEThread &thread)
{
    if (!ThreadStore::hasUnfinishedTurns(thread))
        return CampaignThreadSummary::of(thread);
    CampaignIDEThread settled = thread;
    ThreadStore::settleUnfinishedTurns(settled);
    return CampaignThreadSummary::of(settled);
}

// The stores as the user calls them, in notices and when they could not be saved.
QString threadName(const QString &title)
{
    return u"the thread “"_s + title + u'”';
}

QString threadListName()
{
    return u"your thread list"_s;
}

CampaignIDEThread withHead(CampaignIDEThread body, const CampaignIDEThread &head)
{
    body.id = head.id;
    body.projectID = head.projectID;
    body.title = head.title;
    body.isStarred = head.isStarred;
    body.updatedAt = head.updatedAt;
    body.workbenchView = head.workbenchView;
    return body;
}

// Keeps the index about to be replaced as the previous one, without copying it: a second name for
// the same file. Called only over a readable index.
void keepPreviousIndex(const QString &index, const QString &previous)
{
    if (platform::writesRefused())
        return;
    const QByteArray from = QFile::encodeName(index);
    const QByteArray to = QFile::encodeName(previous);
    struct stat info { };
    if (::lstat(from.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return;
    ::unlink(to.constData());
    (void)::link(from.constData(), to.constData());
}

// Makes the store's folder, unless this process may not write at all.
void makeFolder(const QString &folder)
{
    if (!platform::writesRefused())
        QDir().mkpath(folder);
}

} // namespace

// Filled on the writer's thread, read on the main thread.
struct ThreadStore::WriteOutcomes {
    std::mutex mutex;
    // The writes that failed since the main thread last looked, by generation.
    QHash<QUuid, quint64> failedBodies;
    std::optional<quint64> failedIndex;
    // What has not landed yet, for telling the user once: writer side only.
    QSet<QUuid> unwrittenBodies;
    bool indexUnwritten = false;
    bool told = false;

    // Records a body write; tells the user about the first failure since everything last landed.
    void bodyWritten(const QUuid &id, quint64 generation, bool written, const QString &title, const QString &error,
        const Notify &notify)
    {
        const std::lock_guard lock(mutex);
        if (written) {
            unwrittenBodies.remove(id);
            settle();
            return;
        }
        failedBodies.insert(id, generation);
        unwrittenBodies.insert(id);
        tell(WorkspaceFiles::saveFailureNotice(threadName(title), error), notify);
    }

    // Records an index write; one held back for a body that failed is not told again.
    void indexWritten(
        quint64 generation, bool written, const QString &error, const Notify &notify, bool heldBack = false)
    {
        const std::lock_guard lock(mutex);
        indexUnwritten = !written;
        if (written) {
            settle();
            return;
        }
        failedIndex = generation;
        if (!heldBack)
            tell(WorkspaceFiles::saveFailureNotice(threadListName(), error), notify);
    }

    // The threads whose last body write failed.
    QSet<QUuid> unwritten()
    {
        const std::lock_guard lock(mutex);
        return unwrittenBodies;
    }

    // A body that could not be read, by title: its file stays until the thread's new body lands.
    void bodyLost(const QUuid &id, const QString &title)
    {
        const std::lock_guard lock(mutex);
        lostBodies.insert(id, title);
    }

    // Tells the user of a lost body: once its new body has landed, where its file is kept; when a
    // write of it fails first, that the thread starts again, and where the file is kept once one lands.
    void lostBodyWritten(const QUuid &id, bool written, const QString &kept, const Notify &notify)
    {
        QString notice;
        {
            const std::lock_guard lock(mutex);
            const auto lost = lostBodies.constFind(id);
            if (lost == lostBodies.cend())
                return;
            // A copy: the entry may be erased below.
            const QString title = *lost; // NOLINT(performance-unnecessary-copy-initialization)
            const bool toldBefore = lostTold.contains(id);
            if (written) {
                lostBodies.erase(lost);
                lostTold.remove(id);
                if (toldBefore && !kept.isEmpty())
                    notice = u"Kept the file of the thread “"_s + title + u"”, which could not be read, as "_s
                        + WorkspaceFiles::shownPath(kept) + u'.';
                else if (!toldBefore)
                    notice = kept.isEmpty()
                        ? lostNotice(title)
                        : QString(u"Could not read the thread “"_s + title + u"”; kept its file as "_s
                            + WorkspaceFiles::shownPath(kept) + u". It starts again with a new tab."_s);
            } else if (!toldBefore) {
                lostTold.insert(id);
                notice = lostNotice(title);
            }
        }
        if (!notice.isEmpty() && notify)
            notify(notice, NoticeKind::warning);
    }

private:
    static QString lostNotice(const QString &title)
    {
        return u"The stored conversation of “"_s + title + u"” could not be read; it starts again with a new tab."_s;
    }
    // Guarded by mutex.
    QHash<QUuid, QString> lostBodies;
    QSet<QUuid> lostTold; // told that it starts again, not yet where its file is kept

    void tell(const QString &notice, const Notify &notify)
    {
        if (told)
            return;
        told = true;
        notify(notice, NoticeKind::warning);
    }
    void settle()
    {
        if (unwrittenBodies.isEmpty() && !indexUnwritten)
            told = false;
    }
};

ThreadStore::ThreadStore(QString folder, QString legacyFile, WorkspaceDiskQueue &disk, Notify notify)
    : m_folder(std::move(folder)),
      m_legacyFile(std::move(legacyFile)),
      m_disk(disk),
      m_notify(std::move(notify)),
      m_outcomes(std::make_shared<WriteOutcomes>())
{
    m_readers.setMaxThreadCount(1);
}

ThreadStore::~ThreadStore()
{
    m_readers.clear(); // reads not started yet are not needed any more
    m_readers.waitForDone();
}

QString ThreadStore::indexPath() const
{
    return m_folder + u"/index.json"_s;
}

QString ThreadStore::previousIndexPath() const
{
    return m_folder + u"/index.previous.json"_s;
}

QString ThreadStore::bodyPath(const QUuid &id) const
{
    return m_folder + u'/' + fileStem(id) + u".json"_s;
}

ThreadStore::Read ThreadStore::readFile(const QString &path, QByteArray &bytes) const
{
    // A FIFO or device in a store's place is never opened for reading: it would hang the start.
    return taken(m_disk.readStore(path, maxStoredFileSize), bytes);
}

ThreadStore::Read ThreadStore::readFileOnDisk(const QString &path, QByteArray &bytes)
{
    return taken(platform::readRegularFile(path, maxStoredFileSize), bytes);
}

ThreadStore::Read ThreadStore::taken(platform::FileContents file, QByteArray &bytes)
{
    if (file.outcome == platform::ReadOutcome::absent)
        return Read::missing;
    if (!file.ok())
        return Read::unreadable;
    bytes = std::move(file.bytes);
    return Read::ok;
}

const QString &ThreadStore::interruptedReplyText()
{
    static const QString text = u"Orvane quit before this reply finished; send it again to retry."_s;
    return text;
}

bool ThreadStore::hasUnfinishedTurns(const CampaignIDEThread &thread)
{
    return std::ranges::any_of(thread.agentTabs, [](const CampaignAgentTab &tab) {
        return tab.isStreaming || tab.statusText || std::ranges::any_of(tab.entries, isUnfinished);
    });
}

bool ThreadStore::settleUnfinishedTurns(CampaignIDEThread &thread)
{
    if (!hasUnfinishedTurns(thread))
        return false; // nothing detached
    for (CampaignAgentTab &tab : thread.agentTabs) {
        tab.isStreaming = false;
        tab.statusText.reset();
        for (CampaignTimelineEntry &entry : tab.entries) {
            if (isUnfinished(entry))
                settle(entry);
        }
    }
    return true;
}

CampaignIDEThread ThreadStore::decodeBody(QByteArrayView bytes, bool *settled)
{
    auto thread = decodeJson<CampaignIDEThread>(bytes);
    const bool changed = settleUnfinishedTurns(thread);
    if (settled)
        *settled = changed;
    return thread;
}

std::optional<QList<CampaignIDEThread>> ThreadStore::load()
{
    QByteArray bytes;
    switch (readFile(indexPath(), bytes)) {
    case Read::ok:
        try {
            // Kept as read: when it lists a thread twice, the next save writes it again without.
            m_lastIndex = decodeJsonList<CampaignThreadSummary>(bytes);
            m_indexWritten = true;
            QList<CampaignIDEThread> heads;
            heads.reserve(m_lastIndex.size());
            for (const CampaignThreadSummary &summary : std::as_const(m_lastIndex)) {
                if (m_index.contains(summary.id))
                    continue;
                m_index.insert(summary.id, summary);
                m_stored.insert(summary.id);
                heads.append(summary.headOnly());
            }
            if (QFileInfo::exists(m_legacyFile))
                bringInEarlierFile(heads);
            return heads;
        } catch (const JsonError &) {
            m_lastIndex.clear();
            m_index.clear();
            m_stored.clear();
            m_disk.markUnreadable(indexPath());
        }
        break;
    case Read::unreadable:
        m_disk.markUnreadable(indexPath());
        break;
    case Read::missing:
        break; // a kill or a refused write may leave bodies without one
    }
    return rebuildIndex();
}

std::optional<QList<CampaignIDEThread>> ThreadStore::readEarlierFile()
{
    QByteArray bytes;
    switch (readFile(m_legacyFile, bytes)) {
    case Read::ok:
        break;
    case Read::unreadable:
        m_disk.markUnreadable(m_legacyFile);
        return std::nullopt;
    case Read::missing:
        return std::nullopt;
    }
    QList<CampaignIDEThread> threads;
    try {
        threads = decodeJsonList<CampaignIDEThread>(bytes);
    } catch (const JsonError &) {
        m_disk.markUnreadable(m_legacyFile);
        return std::nullopt;
    }
    QSet<QUuid> seen;
    threads.removeIf([&seen](const CampaignIDEThread &thread) {
        const bool again = seen.contains(thread.id);
        seen.insert(thread.id);
        return again;
    });
    for (CampaignIDEThread &thread : threads)
        settleUnfinishedTurns(thread);
    return threads;
}

void ThreadStore::tellBroughtIn(const QList<CampaignIDEThread> &added) const
{
    if (!m_notify || added.isEmpty())
        return;
    m_notify(added.size() == 1
            ? QString(u"Added the thread “"_s + added.first().title + u"” saved by an earlier version of Orvane."_s)
            : u"Added "_s + QString::number(added.size()) + u" threads saved by an earlier version of Orvane."_s);
}

void ThreadStore::bringInEarlierFile(QList<CampaignIDEThread> &threads)
{
    // Either a move cut short after the index (the index has every thread) or an earlier version
    // run since, which may have made threads of its own. The file is kept either way.
    QByteArray bytes;
    QList<CampaignIDEThread> added;
    switch (readFile(m_legacyFile, bytes)) {
    case Read::ok:
        try {
            QSet<QUuid> seen;
            for (CampaignIDEThread &thread : decodeJsonList<CampaignIDEThread>(bytes)) {
                if (m_index.contains(thread.id) || seen.contains(thread.id))
                    continue;
                seen.insert(thread.id);
                settleUnfinishedTurns(thread);
                m_loaded.insert(thread.id);
                added.append(std::move(thread));
            }
        } catch (const JsonError &) {
            added.clear();
            m_disk.markUnreadable(m_legacyFile);
        }
        break;
    case Read::unreadable:
        m_disk.markUnreadable(m_legacyFile);
        break;
    case Read::missing:
        break;
    }
    if (added.isEmpty()) {
        writeIndex(m_lastIndex); // retires the file
        return;
    }
    threads = added + threads;
    save(threads); // their bodies, then the index, then the file is retired
    tellBroughtIn(added);
}

std::optional<QList<CampaignIDEThread>> ThreadStore::rebuildIndex()
{
    // An index is written only after the bodies it names, so bodies without a readable index beside
    // them are the user's threads, newer than any earlier single file. Their order comes from the
    // index before (else from that file: a move cut short before its index); bodies it does not name
    // are newer than it, so they go first, newest first.
    const std::optional<QList<CampaignIDEThread>> earlier = readEarlierFile();
    QHash<QUuid, qsizetype> order;
    QHash<QUuid, CampaignThreadSummary> previous;
    QByteArray bytes;
    if (readFile(previousIndexPath(), bytes) == Read::ok) {
        try {
            for (const CampaignThreadSummary &summary : decodeJsonList<CampaignThreadSummary>(bytes)) {
                if (!order.contains(summary.id)) {
                    order.insert(summary.id, order.size());
                    previous.insert(summary.id, summary);
                }
            }
        } catch (const JsonError &) {
            order.clear(); // found by the time they were written instead
            previous.clear();
        }
    }
    if (order.isEmpty() && earlier) {
        for (const CampaignIDEThread &thread : *earlier)
            order.insert(thread.id, order.size());
    }
    const QFileInfoList files
        = QDir(m_folder).entryInfoList({ u"*.json"_s }, QDir::Files | QDir::NoSymLinks, QDir::Time);
    QList<CampaignThreadSummary> found;
    // One that cannot be read stays where it is, and a thread of that id written later keeps it. The
    // index before names its thread: that stays listed, and starts again when it is opened.
    const auto unreadable = [&](const QFileInfo &file, const QUuid &id) {
        m_disk.markUnreadable(file.filePath());
        if (const auto named = previous.constFind(id); named != previous.cend())
            found.append(*named);
    };
    for (const QFileInfo &file : files) {
        const QUuid id = QUuid::fromString(file.completeBaseName());
        if (id.isNull() || file.fileName() != QFileInfo(bodyPath(id)).fileName())
            continue;
        if (readFile(file.filePath(), bytes) != Read::ok) {
            unreadable(file, id);
            continue;
        }
        try {
            const CampaignThreadSummary summary = CampaignThreadSummary::of(decodeBody(bytes));
            if (summary.id != id) {
                unreadable(file, id);
                continue;
            }
            found.append(summary);
        } catch (const JsonError &) {
            unreadable(file, id);
        }
    }
    if (found.isEmpty() && !earlier)
        return std::nullopt;

    // The earlier file's threads that no body holds come in whole; a body is newer than the file.
    QSet<QUuid> foundIDs;
    for (const CampaignThreadSummary &summary : std::as_const(found))
        foundIDs.insert(summary.id);
    QList<CampaignIDEThread> threads;
    QList<CampaignIDEThread> added;
    for (const CampaignThreadSummary &summary : std::as_const(found)) {
        m_index.insert(summary.id, summary);
        m_stored.insert(summary.id);
        threads.append(summary.headOnly());
    }
    for (const CampaignIDEThread &thread : earlier.value_or(QList<CampaignIDEThread>())) {
        if (foundIDs.contains(thread.id))
            continue;
        m_loaded.insert(thread.id);
        threads.append(thread);
        added.append(thread);
    }
    std::ranges::stable_sort(
        threads, {}, [&order](const CampaignIDEThread &thread) { return order.value(thread.id, -1); });
    if (added.isEmpty()) {
        for (const CampaignIDEThread &thread : std::as_const(threads))
            m_lastIndex.append(m_index.value(thread.id));
        writeIndex(m_lastIndex);
    } else {
        save(threads); // their bodies, then the index, then the earlier file is retired
        if (!found.isEmpty())
            tellBroughtIn(added);
    }
    return threads;
}

std::optional<CampaignThreadSummary> ThreadStore::storedSummary(const QUuid &id) const
{
    const auto found = m_index.constFind(id);
    if (found == m_index.cend())
        return std::nullopt;
    return *found;
}

bool ThreadStore::isLarge(const QUuid &id) const
{
    return m_stored.contains(id) && QFileInfo(bodyPath(id)).size() >= backgroundReadSize;
}

ThreadStore::BodyRead ThreadStore::readBody(const QString &path) const
{
    // Any failure of the read or of the decoding counts as unreadable: the caller always gets an
    // answer, and the file is set aside before anything is written in its place.
    BodyRead read;
    try {
        QByteArray bytes;
        switch (readFile(path, bytes)) {
        case Read::ok:
            read.thread = decodeBody(bytes, &read.settled);
            break;
        case Read::unreadable:
            read.unreadable = true;
            break;
        case Read::missing:
            break;
        }
    } catch (...) {
        read.thread.reset();
        read.unreadable = true;
    }
    return read;
}

std::optional<CampaignIDEThread> ThreadStore::readStoredBody(const QUuid &id)
{
    if (!m_stored.contains(id))
        return std::nullopt;
    BodyRead read = readBody(bodyPath(id));
    if (read.unreadable)
        m_disk.markUnreadable(bodyPath(id));
    if (read.settled)
        m_settledAtRead.insert(id);
    return std::move(read.thread);
}

bool ThreadStore::readBodyInBackground(
    const QUuid &id, QObject *context, std::function<void(const QUuid &, std::optional<CampaignIDEThread>)> done)
{
    if (hasBody(id) || m_reading.contains(id))
        return false;
    m_reading.insert(id);
    const QString path = bodyPath(id);
    m_readers.start([this, id, path, context, done = std::move(done)] {
        BodyRead read = readBody(path);
        if (read.unreadable)
            m_disk.markUnreadable(path);
        // The store outlives its readers, and the receiver owns the store: while this runs the
        // receiver is alive, and an event posted to it dies with it.
        QMetaObject::invokeMethod(
            context,
            [this, id, done, settled = read.settled, thread = std::move(read.thread)]() mutable {
                m_reading.remove(id);
                if (settled)
                    m_settledAtRead.insert(id);
                done(id, std::move(thread));
            },
            Qt::QueuedConnection);
    });
    return true;
}

CampaignIDEThread ThreadStore::adoptBody(const CampaignIDEThread &head, std::optional<CampaignIDEThread> stored)
{
    m_loaded.insert(head.id);
    if (!stored)
        return head;
    // A body settled as it was read differs from its file: the next save writes it.
    if (!m_settledAtRead.contains(head.id))
        m_written.insert(head.id, *stored);
    return withHead(*std::move(stored), head);
}

void ThreadStore::keepLostBody(const QUuid &id, const QString &title)
{
    // The thread's next body write keeps the file aside once it has landed, and says where.
    m_outcomes->bodyLost(id, title);
}

void ThreadStore::takeFailedWrites()
{
    const std::lock_guard lock(m_outcomes->mutex);
    for (auto it = m_outcomes->failedBodies.cbegin(); it != m_outcomes->failedBodies.cend(); ++it) {
        // A later write of the thread, still to run, tries again by itself.
        if (m_bodyGeneration.value(it.key()) == it.value())
            m_written.remove(it.key());
    }
    m_outcomes->failedBodies.clear();
    if (m_outcomes->failedIndex && *m_outcomes->failedIndex == m_indexGeneration)
        m_indexWritten = false;
    m_outcomes->failedIndex.reset();
}

bool ThreadStore::hasFailedWrites() const
{
    const std::lock_guard lock(m_outcomes->mutex);
    return !m_outcomes->failedBodies.isEmpty() || m_outcomes->failedIndex.has_value();
}

void ThreadStore::save(const QList<CampaignIDEThread> &threads)
{
    takeFailedWrites();
    QList<CampaignThreadSummary> index;
    index.reserve(threads.size());
    QSet<QUuid> present;
    present.reserve(threads.size());
    for (const CampaignIDEThread &thread : threads) {
        present.insert(thread.id);
        if (!hasBody(thread.id)) {
            CampaignThreadSummary summary = m_index.value(thread.id, CampaignThreadSummary::of(thread));
            summary.takeHead(thread);
            index.append(summary);
            continue;
        }
        m_loaded.insert(thread.id); // stays whole once stored
        index.append(indexSummary(thread));
        const auto written = m_written.constFind(thread.id);
        if (written != m_written.cend() && *written == thread)
            continue;
        m_written.insert(thread.id, thread);
        m_stored.insert(thread.id);
        const quint64 generation = ++m_generation;
        m_bodyGeneration.insert(thread.id, generation);
        const QString path = bodyPath(thread.id);
        const QString folder = m_folder;
        // In place: an index scheduled after an earlier write of this body must still follow it.
        m_disk.enqueueInPlace(u"thread:"_s + path,
            [thread, path, folder, generation, outcomes = m_outcomes, notify = m_notify](WorkspaceDiskQueue &disk) {
                QString error;
                QString kept;
                bool landed = false;
                try {
                    const QByteArray bytes = encodeJson(thread);
                    makeFolder(folder);
                    landed = disk.writeStoreFile(path, bytes, threadName(thread.title), &error, {}, &kept);
                } catch (const JsonError &failure) {
                    error = QString::fromUtf8(failure.what());
                }
                outcomes->bodyWritten(thread.id, generation, landed, thread.title, error, notify);
                outcomes->lostBodyWritten(thread.id, landed, kept, notify);
            });
    }
    for (auto it = m_stored.begin(); it != m_stored.end();) {
        if (present.contains(*it)) {
            ++it;
            continue;
        }
        m_removed.insert(*it);
        m_written.remove(*it);
        m_bodyGeneration.remove(*it);
        it = m_stored.erase(it);
    }
    for (const QUuid &id : present)
        m_removed.remove(id);
    if (!m_indexWritten || index != m_lastIndex)
        writeIndex(index);
}

void ThreadStore::writeIndex(const QList<CampaignThreadSummary> &index)
{
    m_lastIndex = index;
    m_indexWritten = true;
    const quint64 generation = ++m_generation;
    m_indexGeneration = generation;
    QStringList removed;
    for (const QUuid &id : std::as_const(m_removed))
        removed.append(bodyPath(id));
    const QString folder = m_folder;
    const QString path = indexPath();
    const QString previous = previousIndexPath();
    const QString legacy = m_legacyFile;
    m_disk.enqueue(u"threads:index"_s,
        [index, folder, removed, path, previous, legacy, generation, outcomes = m_outcomes, notify = m_notify](
            WorkspaceDiskQueue &disk) {
            // Threads removed since are not to be saved any more, whether or not their last write failed.
            for (const QString &body : removed)
                disk.rescue().drop(body);
            QString error;
            QByteArray bytes;
            try {
                bytes = encodeJson(index);
            } catch (const JsonError &failure) {
                outcomes->indexWritten(generation, false, QString::fromUtf8(failure.what()), notify);
                return;
            }
            // Never an index that names a body not on disk: a body whose write failed may be new.
            // It stays due after that body all the same.
            const QSet<QUuid> unwritten = outcomes->unwritten();
            for (const CampaignThreadSummary &summary : unwritten.isEmpty() ? QList<CampaignThreadSummary>() : index) {
                if (unwritten.contains(summary.id)
                    && !QFileInfo::exists(folder + u'/' + fileStem(summary.id) + u".json"_s)) {
                    disk.rescue().hold({ .path = path,
                        .bytes = bytes,
                        .what = threadListName(),
                        .error = {},
                        .unreadable = false,
                        .was = std::nullopt });
                    outcomes->indexWritten(generation, false, {}, notify, true);
                    return;
                }
            }
            makeFolder(QFileInfo(path).absolutePath());
            // An unreadable index is no order to rebuild from: the previous one stays.
            const bool damaged = disk.isUnreadable(path);
            // An unreadable earlier file is set aside like any store written over.
            const bool written = disk.writeStore(legacy, [&] {
                return disk.writeStoreFile(path, bytes, threadListName(), &error, [&] {
                    if (!damaged)
                        keepPreviousIndex(path, previous);
                });
            });
            outcomes->indexWritten(generation, written, error, notify);
            if (!written)
                return;
            for (const QString &body : removed)
                QFile::remove(body);
            if (QFileInfo::exists(legacy)) {
                // The first move leaves "<file>.backup"; a file an earlier version wrote since then
                // is kept under a name of its own beside it.
                const QString backup = legacy + u".backup"_s;
                const QFileInfo first(backup);
                const QString aside
                    = first.exists() || first.isSymLink() ? WorkspaceFiles::besidePath(legacy, u"backup") : backup;
                if (!aside.isEmpty()) // else it stays, as where the move fails
                    QFile::rename(legacy, aside);
            }
        });
}

std::optional<QList<CampaignIDEThread>> ThreadStore::readAll(const QString &folder)
{
    QByteArray bytes;
    if (readFileOnDisk(folder + u"/index.json"_s, bytes) != Read::ok)
        return std::nullopt;
    try {
        const auto index = decodeJsonList<CampaignThreadSummary>(bytes);
        QList<CampaignIDEThread> threads;
        for (const CampaignThreadSummary &summary : index) {
            if (readFileOnDisk(folder + u'/' + fileStem(summary.id) + u".json"_s, bytes) != Read::ok)
                return std::nullopt;
            threads.append(withHead(decodeJson<CampaignIDEThread>(bytes), summary.headOnly()));
        }
        return threads;
    } catch (const JsonError &) {
        return std::nullopt;
    }
}

CampaignIDEThread ThreadStore::bodyWithHead(CampaignIDEThread body, const CampaignIDEThread &head)
{
    return withHead(std::move(body), head);
}

} // namespace orvane
