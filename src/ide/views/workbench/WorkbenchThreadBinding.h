#pragma once

#include "ide/records/CampaignIDEThread.h"

#include <QObject>
#include <QPointer>
#include <QUuid>

#include <optional>

namespace orvane {

class CampaignIDEWorkspaceModel;

// The thread a workbench tab shows: the model's active thread, followed as the destination, the
// selection and the thread list change. Tab views hold one and refresh from its two signals.
class WorkbenchThreadBinding final : public QObject {
    Q_OBJECT
public:
    explicit WorkbenchThreadBinding(CampaignIDEWorkspaceModel &model, QObject *parent = nullptr);

    [[nodiscard]] CampaignIDEWorkspaceModel &model() const;
    [[nodiscard]] const std::optional<QUuid> &threadID() const { return m_threadID; }
    // The thread as the model stores it now; none when there is no active thread.
    [[nodiscard]] std::optional<CampaignIDEThread> thread() const;

Q_SIGNALS:
    // Another thread (or none) is now the one on show.
    void threadReplaced();
    // The thread on show changed its content.
    void threadUpdated();

private:
    void resolve();

    QPointer<CampaignIDEWorkspaceModel> m_model;
    std::optional<QUuid> m_threadID;
};

} // namespace orvane
