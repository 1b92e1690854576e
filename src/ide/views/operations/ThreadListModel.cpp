#include "ide/views/operations/ThreadListModel.h"

#include "ide/model/ThreadList.h"

namespace orvane::operations {

ThreadListModel::ThreadListModel(ThreadList &threads, QObject *parent)
    : RecordListModel<CampaignIDEThread>([](const CampaignIDEThread &thread) { return thread.title; }, parent),
      m_threads(&threads)
{
    reconcile(threads.threads());
    connect(&threads, &ThreadList::threadsChanged, this, [this] { reconcile(m_threads->threads()); });
    connect(&threads, &ThreadList::threadInserted, this, &ThreadListModel::threadInserted);
    connect(&threads, &ThreadList::threadRemoved, this, &ThreadListModel::threadRemoved);
    connect(&threads, &ThreadList::threadChanged, this, &ThreadListModel::threadChanged);
}

void ThreadListModel::threadInserted(qsizetype row)
{
    const QList<CampaignIDEThread> &threads = m_threads->threads();
    if (row < 0 || row >= threads.size() || threads.size() != records().size() + 1)
        return reconcile(threads);
    insertAt(int(row), threads.at(row));
}

void ThreadListModel::threadRemoved(qsizetype row, const QUuid &threadID)
{
    const QList<CampaignIDEThread> &threads = m_threads->threads();
    if (row < 0 || row >= records().size() || at(int(row)).id != threadID || threads.size() != records().size() - 1)
        return reconcile(threads);
    removeAt(int(row));
}

void ThreadListModel::threadChanged(const QUuid &threadID)
{
    const QList<CampaignIDEThread> &threads = m_threads->threads();
    const int row = rowOf(threadID);
    if (row < 0 || row >= threads.size() || threads.at(row).id != threadID)
        return reconcile(threads);
    replaceAt(row, threads.at(row));
}

CampaignThreadSummary ThreadListModel::summaryAt(int row) const
{
    return m_threads ? m_threads->threadSummary(at(row)) : CampaignThreadSummary::of(at(row));
}

} // namespace orvane::operations
