// Edits of the campaign plan document that have no other operation: the objective and audience
// fields and the raw plan editor's save.

#include "ide/model/CampaignIDEWorkspaceModel.h"

using namespace Qt::StringLiterals;

namespace orvane {

std::optional<QUuid> CampaignIDEWorkspaceModel::planEditTargetProjectID() const
{
    if (m_selectedProjectID)
        return selectedProject() ? m_selectedProjectID : std::nullopt;
    if (m_projects.isEmpty())
        return std::nullopt;
    return m_projects.first().id;
}

void CampaignIDEWorkspaceModel::updateSelectedProjectObjective(const QString &text)
{
    if (const std::optional<QUuid> target = planEditTargetProjectID()) {
        mutateProject(*target, [&text](CampaignIDEProject &project) {
            project.objective = text;
            project.updated = u"Now"_s;
        });
    }
}

void CampaignIDEWorkspaceModel::updateSelectedProjectAudience(const QString &text)
{
    if (const std::optional<QUuid> target = planEditTargetProjectID()) {
        mutateProject(*target, [&text](CampaignIDEProject &project) {
            project.audience = text;
            project.updated = u"Now"_s;
        });
    }
}

void CampaignIDEWorkspaceModel::saveCampaignPlanFile()
{
    setSelectedLocalFileName(u"campaign-plan.md"_s);
    saveSelectedLocalFile();
}

} // namespace orvane
