#pragma once

#include "ide/records/CampaignIDEThread.h"
#include "ide/records/CampaignThreadSummary.h"
#include "ide/views/operations/RecordListModel.h"

#include <QPointer>

namespace orvane {
class ThreadList;
}

namespace orvane::operations {

// Every thread of the thread list, in its order, kept in step with its thread signals: an
// inserted, removed or changed thread is one row inserted, removed or changed.
class ThreadListModel final : public RecordListModel<CampaignIDEThread> {
    Q_OBJECT
public:
    explicit ThreadListModel(ThreadList &threads, QObject *parent = nullptr);

    // The row's counts and preview, which need no thread body.
    [[nodiscard]] CampaignThreadSummary summaryAt(int row) const;

private:
    void threadInserted(qsizetype row);
    void threadRemoved(qsizetype row, const QUuid &threadID);
    void threadChanged(const QUuid &threadID);

    QPointer<ThreadList> m_threads;
};

} // namespace orvane::operations
