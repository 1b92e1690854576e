#include "ide/model/WorkspaceDiskQueue.h"

#include "ide/model/WorkspaceFiles.h"
#include "kit/support/JsonCoding.h"
#include "platform/AtomicFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <cstdio>

namespace orvane {
namespace {

// Read whatever its size: a ledger refused would make every file look like someone else's edit.
constexpr qint64 maxLedgerSize = WorkspaceFiles::maxStoreSize;
// Generated files are small; a larger file in their place is compared by moving it aside.
constexpr qint64 maxComparedSize = 16 * 1024 * 1024;
// While the mirror is busy, the ledger is still saved this often, so a killed process does not
// make the next start write everything again.
constexpr auto ledgerSaveInterval = std::chrono::seconds(2);

QByteArray digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// Whether the store file at path is absent or well-formed JSON: every store is JSON, so anything
// else in its place is a damaged file.
bool isWellFormed(const QString &path)
{
    const platform::FileContents file = platform::readRegularFile(path, WorkspaceFiles::maxStoreSize);
    if (file.outcome == platform::ReadOutcome::absent)
        return true;
    return file.ok() && Json::accept(file.bytes.cbegin(), file.bytes.cend());
}

} // namespace

WorkspaceDiskQueue::WorkspaceDiskQueue(QString ledgerFile, QStringList rescuePaths, QString ledgerRoot)
    : m_rescue(std::move(rescuePaths)), m_ledgerFile(std::move(ledgerFile)), m_ledgerRoot(std::move(ledgerRoot))
{
    m_ledgerSaved = std::chrono::steady_clock::now();
    m_thread = std::thread([this] { run(); });
}

WorkspaceDiskQueue::~WorkspaceDiskQueue()
{
    shutdown();
}

void WorkspaceDiskQueue::enqueue(const QString &key, Job job, Lane lane)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        const quint64 sequence = ++m_sequence;
        if (!key.isEmpty()) {
            if (const auto pending = m_keys.constFind(key); pending != m_keys.cend())
                queue(pending->first).erase(pending->second);
            m_keys.insert(key, { lane, sequence });
        }
        queue(lane).emplace(sequence, Pending { key, std::move(job) });
    }
    m_wake.notify_one();
}

void WorkspaceDiskQueue::enqueueInPlace(const QString &key, Job job, Lane lane)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        const auto pending = m_keys.constFind(key);
        if (!key.isEmpty() && pending != m_keys.cend() && pending->first == lane) {
            queue(lane).at(pending->second).job = std::move(job);
            return;
        }
    }
    enqueue(key, std::move(job), lane);
}

void WorkspaceDiskQueue::flush()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return (m_user.empty() && m_mirror.empty() && !m_busy) || m_stopped; });
}

void WorkspaceDiskQueue::flushUserData()
{
    // Waits for its own jobs only, so a busy mirror cannot keep it waiting between its jobs.
    std::unique_lock lock(m_mutex);
    const quint64 last = m_sequence;
    m_idle.wait(lock, [this, last] {
        const bool pending = !m_user.empty() && m_user.begin()->first <= last;
        return (!pending && !(m_runningUserJob && *m_runningUserJob <= last)) || m_stopped;
    });
}

void WorkspaceDiskQueue::shutdown()
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping && !m_thread.joinable())
            return;
        m_stopping = true;
        for (const auto &[sequence, pending] : m_mirror)
            m_keys.remove(pending.key);
        m_mirror.clear();
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void WorkspaceDiskQueue::markUnreadable(const QString &path)
{
    const std::lock_guard lock(m_mutex);
    m_unreadable.insert(path, true);
}

void WorkspaceDiskQueue::setKeptCopiesHandler(std::function<void(const QStringList &)> handler)
{
    const std::lock_guard lock(m_mutex);
    m_keptCopiesHandler = std::move(handler);
}

void WorkspaceDiskQueue::setJobFinishedHook(std::function<void(const QString &)> hook)
{
    const std::lock_guard lock(m_mutex);
    m_jobFinishedHook = std::move(hook);
}

void WorkspaceDiskQueue::run()
{
    for (;;) {
        Pending next;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return !m_user.empty() || !m_mirror.empty() || m_stopping; });
            if (m_stopping)
                m_mirror.clear(); // enqueued while stopping began
            const bool user = !m_user.empty();
            Queue &lane = user ? m_user : m_mirror;
            if (lane.empty()) { // stopping, nothing left
                lock.unlock();
                if (m_ledgerDirty)
                    saveLedger();
                lock.lock();
                m_stopped = true;
                m_idle.notify_all();
                return;
            }
            if (user)
                m_runningUserJob = lane.begin()->first;
            next = std::move(lane.begin()->second);
            lane.erase(lane.begin());
            if (!next.key.isEmpty())
                m_keys.remove(next.key);
            m_busy = true;
        }
        try {
            next.job(*this);
        } catch (...) {
            // A job that fails leaves the files as they were; the next save writes everything again.
        }
        std::function<void(const QStringList &)> handler;
        std::function<void(const QString &)> finished;
        bool idle = false;
        {
            const std::lock_guard lock(m_mutex);
            idle = m_user.empty() && m_mirror.empty();
            handler = m_keptCopiesHandler;
            finished = m_jobFinishedHook;
        }
        if (finished)
            finished(next.key);
        next = {};
        if (!m_keptCopies.isEmpty() && handler)
            handler(takeKeptCopies());
        if (m_ledgerDirty && (idle || std::chrono::steady_clock::now() - m_ledgerSaved >= ledgerSaveInterval))
            saveLedger();
        {
            const std::lock_guard lock(m_mutex);
            m_busy = false;
            m_runningUserJob.reset();
        }
        m_idle.notify_all();
    }
}

void WorkspaceDiskQueue::loadLedger()
{
    m_ledgerLoaded = true;
    const platform::FileContents file = platform::readRegularFile(m_ledgerFile, maxLedgerSize);
    if (!file.ok())
        return;
    try {
        const auto entries = decodeJson<QMap<QString, QString>>(file.bytes);
        // Earlier versions named every file by its whole path.
        for (auto it = entries.cbegin(); it != entries.cend(); ++it)
            m_ledger.insert(ledgerKey(it.key()), it.value().toLatin1());
    } catch (const JsonError &) {
        // A damaged ledger only means the mirror writes every file once more.
    }
}

void WorkspaceDiskQueue::saveLedger()
{
    m_ledgerSaved = std::chrono::steady_clock::now();
    QMap<QString, QString> entries;
    for (auto it = m_ledger.cbegin(); it != m_ledger.cend(); ++it)
        entries.insert(it.key(), QString::fromLatin1(it.value()));
    if (!platform::writesRefused())
        QDir().mkpath(QFileInfo(m_ledgerFile).absolutePath());
    if (platform::writeFileAtomically(m_ledgerFile, encodeJson(entries)))
        m_ledgerDirty = false;
}

QString WorkspaceDiskQueue::ledgerKey(const QString &path) const
{
    if (m_ledgerRoot.isEmpty() || !path.startsWith(m_ledgerRoot) || path.size() <= m_ledgerRoot.size() + 1
        || path.at(m_ledgerRoot.size()) != u'/')
        return path;
    return path.mid(m_ledgerRoot.size() + 1);
}

bool WorkspaceDiskQueue::writeGenerated(const QString &path, const QByteArray &bytes, QString *error, bool force)
{
    if (!m_ledgerLoaded)
        loadLedger();
    const QByteArray hash = digest(bytes);
    const QString key = ledgerKey(path);
    const auto known = m_ledger.constFind(key);
    if (!force && known != m_ledger.cend() && *known == hash) {
        const QFileInfo info(path);
        if (info.isFile() && !info.isSymLink())
            return false;
    }
    const platform::FileContents current = platform::readRegularFile(path, maxComparedSize, false);
    if (current.ok()) {
        const QByteArray onDisk = digest(current.bytes);
        if (onDisk == hash) {
            if (known == m_ledger.cend() || *known != hash) {
                m_ledger.insert(key, hash);
                m_ledgerDirty = true;
            }
            return false;
        }
    }
    const bool someoneElses = current.ok()
        ? (known == m_ledger.cend() || *known != digest(current.bytes))
        : current.outcome == platform::ReadOutcome::tooLarge || current.outcome == platform::ReadOutcome::failed;
    if (const std::optional<QString> refusal = platform::writesRefused()) {
        if (error)
            *error = *refusal; // and the file stays where it is
        return false;
    }
    if (someoneElses) {
        // Not ours to lose: it moves beside the file before the new content takes its place.
        const std::optional<QString> copy = keepAside(path, u"user-edit");
        if (!copy) {
            if (error)
                *error = QStringLiteral("your edited copy could not be kept");
            return false;
        }
        m_keptCopies.append(*copy);
    }
    if (!platform::writeFileAtomically(path, bytes, error))
        return false;
    m_ledger.insert(key, hash);
    m_ledgerDirty = true;
    return true;
}

std::optional<QString> WorkspaceDiskQueue::keepAside(const QString &path, QStringView label)
{
    const QString copy = WorkspaceFiles::besidePath(path, label);
    if (copy.isEmpty() || ::rename(QFile::encodeName(path).constData(), QFile::encodeName(copy).constData()) != 0)
        return std::nullopt;
    return copy;
}

void WorkspaceDiskQueue::moveLedgerFolder(const QString &from, const QString &to)
{
    if (!m_ledgerLoaded)
        loadLedger();
    const QString prefix = ledgerKey(from) + u'/';
    const QString target = ledgerKey(to);
    QHash<QString, QByteArray> moved;
    for (auto it = m_ledger.begin(); it != m_ledger.end();) {
        if (it.key().startsWith(prefix)) {
            moved.insert(target + u'/' + it.key().mid(prefix.size()), it.value());
            it = m_ledger.erase(it);
        } else {
            ++it;
        }
    }
    if (moved.isEmpty())
        return;
    m_ledger.insert(moved);
    m_ledgerDirty = true;
}

QStringList WorkspaceDiskQueue::takeKeptCopies()
{
    return std::exchange(m_keptCopies, {});
}

bool WorkspaceDiskQueue::writeStore(const QString &path, const std::function<bool()> &write, QString *keptAs)
{
    // A window that may not write keeps every file where it is; the write fails and says why.
    if (!isUnreadable(path) || platform::writesRefused())
        return write();
    if (!WorkspaceFiles::replaceUnreadable(path, write, keptAs))
        return false;
    const std::lock_guard lock(m_mutex);
    m_unreadable.remove(path);
    return true;
}

bool WorkspaceDiskQueue::isUnreadable(const QString &path)
{
    const std::lock_guard lock(m_mutex);
    return m_unreadable.value(path);
}

bool WorkspaceDiskQueue::writeStoreFile(const QString &path, const QByteArray &bytes, const QString &what,
    QString *error, const std::function<void()> &beforeReplace, QString *keptAs)
{
    QString failure;
    const bool landed = writeStoreBytes(path, bytes, beforeReplace, &failure, keptAs);
    // A damaged file still in its place is kept aside by whichever write lands, the copy's too.
    m_rescue.tried({ .path = path,
                       .bytes = bytes,
                       .what = what,
                       .error = failure,
                       .unreadable = !landed && isUnreadable(path),
                       .was = std::nullopt },
        landed);
    if (error)
        *error = failure;
    if (landed)
        (void)writeCopiedFiles();
    return landed;
}

bool WorkspaceDiskQueue::writeCopiedFiles(QString *what, QString *error)
{
    for (const StoreRescue::File &file : m_rescue.copiedDue()) {
        // The store reads the copy's bytes in place of its file, so it never met a damaged one
        // there: the copy says so, and a copy of earlier versions is checked here.
        if (file.unreadable || !isWellFormed(file.path))
            markUnreadable(file.path);
        QString failure;
        if (!writeStoreBytes(file.path, file.bytes, {}, &failure)) {
            if (what)
                *what = file.what;
            if (error)
                *error = failure;
            return false;
        }
        m_rescue.tried(file, true);
    }
    return true;
}

bool WorkspaceDiskQueue::writeStoreBytes(const QString &path, const QByteArray &bytes,
    const std::function<void()> &beforeReplace, QString *error, QString *keptAs)
{
    const bool landed = writeStore(
        path,
        [&] {
            if (!platform::writesRefused())
                QDir().mkpath(QFileInfo(path).absolutePath());
            if (beforeReplace)
                beforeReplace();
            return platform::writeFileAtomically(path, bytes, error);
        },
        keptAs);
    if (!landed && error && error->isEmpty())
        *error = QStringLiteral("the unreadable file in its place could not be set aside");
    return landed;
}

platform::FileContents WorkspaceDiskQueue::readStore(const QString &path, qint64 maxSize) const
{
    if (std::optional<QByteArray> due = m_rescue.dueBytes(path))
        return { .outcome = platform::ReadOutcome::read, .bytes = *std::move(due) };
    return platform::readRegularFile(path, maxSize);
}

} // namespace orvane
