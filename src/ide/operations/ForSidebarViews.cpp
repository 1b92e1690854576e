// Operations behind the sidebar's rows.

#include "ide/model/CampaignIDEWorkspaceModel.h"

#include <algorithm>

namespace orvane {

std::optional<QUuid> CampaignIDEWorkspaceModel::openProjectThread(QUuid projectID)
{
    const bool known = std::any_of(m_projects.cbegin(), m_projects.cend(),
        [&projectID](const CampaignIDEProject &project) { return project.id == projectID; });
    if (!known)
        return std::nullopt;
    const QUuid threadID = ensureThread(projectID).id;
    openThread(threadID, std::nullopt);
    return threadID;
}

} // namespace orvane
