#include "ide/views/workbench/WorkbenchThreadBinding.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"

namespace orvane {

WorkbenchThreadBinding::WorkbenchThreadBinding(CampaignIDEWorkspaceModel &model, QObject *parent)
    : QObject(parent), m_model(&model)
{
    using Model = CampaignIDEWorkspaceModel;
    connect(&model, &Model::primaryDestinationChanged, this, &WorkbenchThreadBinding::resolve);
    connect(&model, &Model::selectedProjectIDChanged, this, &WorkbenchThreadBinding::resolve);
    connect(&model, &Model::threadInserted, this, &WorkbenchThreadBinding::resolve);
    connect(&model, &Model::threadRemoved, this, &WorkbenchThreadBinding::resolve);
    connect(&model, &Model::threadsChanged, this, [this] {
        // A reset of the list may keep the id but change the content.
        const std::optional<QUuid> before = m_threadID;
        resolve();
        if (m_threadID == before && m_threadID)
            Q_EMIT threadUpdated();
    });
    connect(&model, &Model::threadChanged, this, [this](const QUuid &threadID) {
        if (m_threadID == threadID)
            Q_EMIT threadUpdated();
        else if (!m_threadID)
            resolve();
    });
    if (const std::optional<CampaignIDEThread> active = model.activeThread())
        m_threadID = active->id;
}

CampaignIDEWorkspaceModel &WorkbenchThreadBinding::model() const
{
    return *m_model;
}

std::optional<CampaignIDEThread> WorkbenchThreadBinding::thread() const
{
    if (!m_model || !m_threadID)
        return std::nullopt;
    for (const CampaignIDEThread &candidate : m_model->threads()) {
        if (candidate.id == *m_threadID)
            return candidate;
    }
    return std::nullopt;
}

void WorkbenchThreadBinding::resolve()
{
    if (!m_model)
        return;
    std::optional<QUuid> id;
    if (const std::optional<CampaignIDEThread> active = m_model->activeThread())
        id = active->id;
    if (id == m_threadID)
        return;
    m_threadID = id;
    Q_EMIT threadReplaced();
}

} // namespace orvane
