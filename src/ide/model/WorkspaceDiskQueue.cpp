#include "ide/model/WorkspaceDiskQueue.h"

#include "ide/model/WorkspaceFiles.h"
#include "kit/support/JsonCoding.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

namespace orvane {
namespace {
QByteArray digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}
} // namespace

WorkspaceDiskQueue::WorkspaceDiskQueue(QString ledgerFile) : m_ledgerFile(std::move(ledgerFile))
{
    m_thread = std::thread([this] { run(); });
}

WorkspaceDiskQueue::~WorkspaceDiskQueue()
{
    shutdown();
}

void WorkspaceDiskQueue::enqueue(const QString &key, Job job)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        if (!key.isEmpty()) {
            std::erase_if(m_queue, [&](const Pending &p) { return p.key == key; });
        }
        m_queue.push_back(Pending { key, std::move(job) });
    }
    m_wake.notify_one();
}

void WorkspaceDiskQueue::flush()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return (m_queue.empty() && !m_busy) || m_stopped; });
}

void WorkspaceDiskQueue::shutdown()
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping && !m_thread.joinable())
            return;
        m_stopping = true;
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

void WorkspaceDiskQueue::run()
{
    for (;;) {
        Pending next;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return !m_queue.empty() || m_stopping; });
            if (m_queue.empty()) { // stopping, nothing left
                m_stopped = true;
                m_idle.notify_all();
                return;
            }
            next = std::move(m_queue.front());
            m_queue.pop_front();
            m_busy = true;
        }
        try {
            next.job(*this);
        } catch (...) {
            // A job that fails leaves the files as they were; the next save writes everything again.
        }
        next = {};
        bool idle = false;
        {
            const std::lock_guard lock(m_mutex);
            idle = m_queue.empty();
        }
        if (idle && m_ledgerDirty)
            saveLedger();
        {
            const std::lock_guard lock(m_mutex);
            m_busy = false;
        }
        m_idle.notify_all();
    }
}

void WorkspaceDiskQueue::loadLedger()
{
    m_ledgerLoaded = true;
    QFile file(m_ledgerFile);
    if (!file.open(QIODevice::ReadOnly))
        return;
    try {
        const auto entries = decodeJson<QMap<QString, QString>>(file.readAll());
        for (auto it = entries.cbegin(); it != entries.cend(); ++it)
            m_ledger.insert(it.key(), it.value().toLatin1());
    } catch (const JsonError &) {
        // A damaged ledger only means the mirror writes every file once more.
    }
}

void WorkspaceDiskQueue::saveLedger()
{
    QMap<QString, QString> entries;
    for (auto it = m_ledger.cbegin(); it != m_ledger.cend(); ++it)
        entries.insert(it.key(), QString::fromLatin1(it.value()));
    QDir().mkpath(QFileInfo(m_ledgerFile).absolutePath());
    if (WorkspaceFiles::writeAtomically(m_ledgerFile, encodeJson(entries)))
        m_ledgerDirty = false;
}

bool WorkspaceDiskQueue::writeGenerated(const QString &path, const QByteArray &bytes, QString *error)
{
    if (!m_ledgerLoaded)
        loadLedger();
    const QByteArray hash = digest(bytes);
    const auto known = m_ledger.constFind(path);
    if (known != m_ledger.cend() && *known == hash && QFileInfo::exists(path))
        return false;
    if (!WorkspaceFiles::writeAtomically(path, bytes, error))
        return false;
    m_ledger.insert(path, hash);
    m_ledgerDirty = true;
    return true;
}

bool WorkspaceDiskQueue::writeStore(const QString &path, const std::function<bool()> &write)
{
    bool unreadable = false;
    {
        const std::lock_guard lock(m_mutex);
        unreadable = m_unreadable.value(path);
    }
    if (unreadable) {
        if (!WorkspaceFiles::setAsideUnreadable(path))
            return false;
        const std::lock_guard lock(m_mutex);
        m_unreadable.remove(path);
    }
    return write();
}

} // namespace orvane
