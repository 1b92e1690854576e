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

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

// Far beyond any real store; only guards against reading a device or a runaway file into memory.
constexpr qint64 maxStoredFileSize = qint64(4) * 1024 * 1024 * 1024;

QString fileStem(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

// A turn still running when the previous process ended left its tab marked as streaming; nothing
// will ever finish it, so the tab would stay busy for good. It starts idle instead.
void settleInterruptedTurns(CampaignIDEThread &thread)
{
    for (CampaignAgentTab &tab : thread.agentTabs) {
        if (tab.isStreaming || tab.statusText) {
            tab.isStreaming = false;
            tab.statusText.reset();
        }
    }
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

} // namespace

ThreadStore::ThreadStore(QString folder, QString legacyFile, WorkspaceDiskQueue &disk)
    : m_folder(std::move(folder)), m_legacyFile(std::move(legacyFile)), m_disk(disk)
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

QString ThreadStore::bodyPath(const QUuid &id) const
{
    return m_folder + u'/' + fileStem(id) + u".json"_s;
}

ThreadStore::Read ThreadStore::readFile(const QString &path, QByteArray &bytes)
{
    // A FIFO or device in a store's place is never opened for reading: it would hang the start.
    platform::FileContents file = platform::readRegularFile(path, maxStoredFileSize);
    if (file.outcome == platform::ReadOutcome::absent)
        return Read::missing;
    if (!file.ok())
        return Read::unreadable;
    bytes = std::move(file.bytes);
    return Read::ok;
}

CampaignIDEThread ThreadStore::decodeBody(QByteArrayView bytes)
{
    auto thread = decodeJson<CampaignIDEThread>(bytes);
    settleInterruptedTurns(thread);
    return thread;
}

std::optional<QList<CampaignIDEThread>> ThreadStore::load()
{
    QByteArray bytes;
    bool damaged = true;
    switch (readFile(indexPath(), bytes)) {
    case Read::ok:
        try {
            m_lastIndex = decodeJsonList<CampaignThreadSummary>(bytes);
            m_indexWritten = true;
            QList<CampaignIDEThread> heads;
            heads.reserve(m_lastIndex.size());
            for (const CampaignThreadSummary &summary : std::as_const(m_lastIndex)) {
                m_index.insert(summary.id, summary);
                m_stored.insert(summary.id);
                heads.append(summary.headOnly());
            }
            if (QFileInfo::exists(m_legacyFile))
                writeIndex(m_lastIndex); // the move was cut short after the index: retire the old file
            return heads;
        } catch (const JsonError &) {
            m_lastIndex.clear();
            m_disk.markUnreadable(indexPath());
        }
        break;
    case Read::unreadable:
        m_disk.markUnreadable(indexPath());
        break;
    case Read::missing:
        damaged = false;
        break;
    }
    if (damaged) {
        if (auto rebuilt = rebuildIndex())
            return rebuilt;
    }

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
    for (CampaignIDEThread &thread : threads) {
        settleInterruptedTurns(thread);
        m_loaded.insert(thread.id);
    }
    save(threads); // the move to the new form
    return threads;
}

std::optional<QList<CampaignIDEThread>> ThreadStore::rebuildIndex()
{
    // An index is written only after the bodies it names, so bodies beside a damaged index are the
    // user's threads, newer than any earlier single file. Their order went with the index: the
    // most recently written comes first.
    const QFileInfoList files
        = QDir(m_folder).entryInfoList({ u"*.json"_s }, QDir::Files | QDir::NoSymLinks, QDir::Time);
    QList<CampaignIDEThread> heads;
    QByteArray bytes;
    for (const QFileInfo &file : files) {
        const QUuid id = QUuid::fromString(file.completeBaseName());
        if (id.isNull() || file.fileName() != QFileInfo(bodyPath(id)).fileName())
            continue;
        if (readFile(file.filePath(), bytes) != Read::ok)
            continue;
        try {
            const CampaignThreadSummary summary = CampaignThreadSummary::of(decodeBody(bytes));
            if (summary.id != id)
                continue;
            m_index.insert(id, summary);
            m_stored.insert(id);
            m_lastIndex.append(summary);
            heads.append(summary.headOnly());
        } catch (const JsonError &) {
            continue; // left where it is: no index names it
        }
    }
    if (heads.isEmpty())
        return std::nullopt;
    writeIndex(m_lastIndex); // sets the damaged index aside first
    return heads;
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

std::optional<CampaignIDEThread> ThreadStore::readStoredBody(const QUuid &id)
{
    if (!m_stored.contains(id))
        return std::nullopt;
    QByteArray bytes;
    if (readFile(bodyPath(id), bytes) != Read::ok) {
        m_disk.markUnreadable(bodyPath(id));
        return std::nullopt;
    }
    try {
        return decodeBody(bytes);
    } catch (const JsonError &) {
        m_disk.markUnreadable(bodyPath(id));
        return std::nullopt;
    }
}

void ThreadStore::readBodyInBackground(
    const QUuid &id, QObject *context, std::function<void(const QUuid &, std::optional<CampaignIDEThread>)> done)
{
    if (hasBody(id) || m_reading.contains(id))
        return;
    m_reading.insert(id);
    const QString path = bodyPath(id);
    m_readers.start([this, id, path, context, done = std::move(done)] {
        std::optional<CampaignIDEThread> thread;
        bool unreadable = false;
        QByteArray bytes;
        switch (readFile(path, bytes)) {
        case Read::ok:
            try {
                thread = decodeBody(bytes);
            } catch (const JsonError &) {
                unreadable = true;
            }
            break;
        case Read::unreadable:
            unreadable = true;
            break;
        case Read::missing:
            break;
        }
        if (unreadable)
            m_disk.markUnreadable(path);
        // The store outlives its readers, and the receiver owns the store: while this runs the
        // receiver is alive, and an event posted to it dies with it.
        QMetaObject::invokeMethod(
            context,
            [this, id, done, thread = std::move(thread)]() mutable {
                m_reading.remove(id);
                done(id, std::move(thread));
            },
            Qt::QueuedConnection);
    });
}

CampaignIDEThread ThreadStore::adoptBody(const CampaignIDEThread &head, std::optional<CampaignIDEThread> stored)
{
    m_loaded.insert(head.id);
    if (!stored)
        return head;
    m_written.insert(head.id, *stored);
    return withHead(*std::move(stored), head);
}

void ThreadStore::save(const QList<CampaignIDEThread> &threads)
{
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
        index.append(CampaignThreadSummary::of(thread));
        const auto written = m_written.constFind(thread.id);
        if (written != m_written.cend() && *written == thread)
            continue;
        m_written.insert(thread.id, thread);
        m_stored.insert(thread.id);
        const QString path = bodyPath(thread.id);
        const QString folder = m_folder;
        m_disk.enqueue(u"thread:"_s + path, [thread, path, folder](WorkspaceDiskQueue &disk) {
            const QByteArray bytes = encodeJson(thread); // an encoding error stores nothing
            QDir().mkpath(folder);
            disk.writeStore(path, [&] { return platform::writeFileAtomically(path, bytes); });
        });
    }
    for (auto it = m_stored.begin(); it != m_stored.end();) {
        if (present.contains(*it)) {
            ++it;
            continue;
        }
        m_removed.insert(*it);
        m_written.remove(*it);
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
    QStringList removed;
    for (const QUuid &id : std::as_const(m_removed))
        removed.append(bodyPath(id));
    const QString path = indexPath();
    const QString legacy = m_legacyFile;
    m_disk.enqueue(u"threads:index"_s, [index, removed, path, legacy](WorkspaceDiskQueue &disk) {
        const QByteArray bytes = encodeJson(index);
        QDir().mkpath(QFileInfo(path).absolutePath());
        // An unreadable earlier file is set aside like any store written over.
        const bool written = disk.writeStore(
            legacy, [&] { return disk.writeStore(path, [&] { return platform::writeFileAtomically(path, bytes); }); });
        if (!written)
            return;
        for (const QString &body : removed)
            QFile::remove(body);
        if (QFileInfo::exists(legacy)) {
            const QString backup = legacy + u".backup"_s;
            QFile::remove(backup);
            QFile::rename(legacy, backup);
        }
    });
}

std::optional<QList<CampaignIDEThread>> ThreadStore::readAll(const QString &folder)
{
    QByteArray bytes;
    if (readFile(folder + u"/index.json"_s, bytes) != Read::ok)
        return std::nullopt;
    try {
        const auto index = decodeJsonList<CampaignThreadSummary>(bytes);
        QList<CampaignIDEThread> threads;
        for (const CampaignThreadSummary &summary : index) {
            if (readFile(folder + u'/' + fileStem(summary.id) + u".json"_s, bytes) != Read::ok)
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
