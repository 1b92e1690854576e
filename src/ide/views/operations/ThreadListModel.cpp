#include "ide/views/operations/ThreadListModel.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"

namespace orvane::operations {

ThreadListModel::ThreadListModel(CampaignIDEWorkspaceModel &model, QObject *parent)
    : RecordListModel<CampaignIDEThread>([](const CampaignIDEThread &thread) { return thread.title; }, parent),
      m_model(&model)
{
    reconcile(model.threads());
    connect(&model, &CampaignIDEWorkspaceModel::threadsChanged, this, [this] { reconcile(m_model->threads()); });
    connect(&model, &CampaignIDEWorkspaceModel::threadInserted, this, &ThreadListModel::threadInserted);
    connect(&model, &CampaignIDEWorkspaceModel::threadRemoved, this, &ThreadListModel::threadRemoved);
    connect(&model, &CampaignIDEWorkspaceModel::threadChanged, this, &ThreadListModel::threadChanged);
}

void ThreadListModel::threadInserted(qsizetype row)
{
    const QList<CampaignIDEThread> &threads = m_model->threads();
    if (row < 0 || row >= threads.size() || threads.size() != records().size() + 1)
        return reconcile(threads);
    insertAt(int(row), threads.at(row));
}

void ThreadListModel::threadRemoved(qsizetype row, const QUuid &threadID)
{
    const QList<CampaignIDEThread> &threads = m_model->threads();
    if (row < 0 || row >= records().size() || at(int(row)).id != threadID || threads.size() != records().size() - 1)
        return reconcile(threads);
    removeAt(int(row));
}

void ThreadListModel::threadChanged(const QUuid &threadID)
{
    const QList<CampaignIDEThread> &threads = m_model->threads();
    const int row = rowOf(threadID);
    if (row < 0 || row >= threads.size() || threads.at(row).id != threadID)
        return reconcile(threads);
    replaceAt(row, threads.at(row));
}

CampaignThreadSummary ThreadListModel::summaryAt(int row) const
{
    return m_model ? m_model->threadSummary(at(row)) : CampaignThreadSummary::of(at(row));
}

} // namespace orvane::operations
