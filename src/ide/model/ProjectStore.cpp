#include "ide/model/ProjectStore.h"

#include <algorithm>

namespace orvane {

using namespace Qt::StringLiterals;

ProjectStore::ProjectStore(QList<CampaignIDEProject> projects, std::function<void()> save, QObject *parent)
    : QObject(parent), m_save(std::move(save)), m_projects(std::move(projects))
{
}

const CampaignIDEProject *ProjectStore::project(const QUuid &projectID) const
{
    const auto found = std::find_if(m_projects.cbegin(), m_projects.cend(),
        [&projectID](const CampaignIDEProject &candidate) { return candidate.id == projectID; });
    return found == m_projects.cend() ? nullptr : &*found;
}

void ProjectStore::setSelectedProjectID(const std::optional<QUuid> &id)
{
    assignAndNotify(this, m_selectedProjectID, id, &ProjectStore::selectedProjectIDChanged);
}

void ProjectStore::setSelectedArtboardID(const std::optional<QUuid> &id)
{
    assignAndNotify(this, m_selectedArtboardID, id, &ProjectStore::selectedArtboardIDChanged);
}

qsizetype ProjectStore::selectedProjectIndex() const
{
    if (!m_selectedProjectID)
        return -1;
    const auto found = std::find_if(m_projects.cbegin(), m_projects.cend(),
        [this](const CampaignIDEProject &candidate) { return candidate.id == *m_selectedProjectID; });
    return found == m_projects.cend() ? -1 : found - m_projects.cbegin();
}

std::optional<CampaignIDEProject> ProjectStore::selectedProject() const
{
    const qsizetype row = selectedProjectIndex();
    if (row < 0)
        return std::nullopt;
    return m_projects.at(row);
}

std::optional<CreativeCanvasArtboard> ProjectStore::selectedArtboard() const
{
    const qsizetype row = selectedProjectIndex();
    if (row < 0 || !m_selectedArtboardID)
        return std::nullopt;
    for (const CreativeCanvasArtboard &artboard : m_projects.at(row).creatives) {
        if (artboard.id == *m_selectedArtboardID)
            return artboard;
    }
    return std::nullopt;
}

void ProjectStore::setLaunchConfirmationProjectID(const std::optional<QUuid> &id)
{
    assignAndNotify(this, m_launchConfirmationProjectID, id, &ProjectStore::launchConfirmationProjectIDChanged);
}

void ProjectStore::setPendingLaunchRequest(const std::optional<CampaignLaunchRequest> &request)
{
    assignAndNotify(this, m_pendingLaunchRequest, request, &ProjectStore::pendingLaunchRequestChanged);
}

void ProjectStore::setExecutionReceipts(const QHash<QUuid, CampaignExecutionReceipt> &receipts)
{
    assignAndNotify(this, m_executionReceipts, receipts, &ProjectStore::executionReceiptsChanged);
}

bool ProjectStore::canExecute() const
{
    const qsizetype row = selectedProjectIndex();
    return row >= 0 && m_projects.at(row).canExecute() && !m_pendingLaunchRequest;
}

QString ProjectStore::launchStateLabel() const
{
    const qsizetype row = selectedProjectIndex();
    if (row >= 0 && m_projects.at(row).isLaunched)
        return u"Live · Receipt confirmed"_s;
    if (m_pendingLaunchRequest && m_pendingLaunchRequest->projectID == m_selectedProjectID)
        return u"Awaiting receipt"_s;
    if (canExecute())
        return u"Ready for confirmation"_s;
    return u"Gated"_s;
}

bool ProjectStore::mutateProject(
    const QUuid &projectID, const std::function<void(CampaignIDEProject &)> &mutation, Save save)
{
    for (qsizetype i = 0; i < m_projects.size(); ++i) {
        if (m_projects.at(i).id != projectID)
            continue;
        mutation(m_projects[i]);
        // The caller's id may live in the list that listeners are about to copy or change.
        const QUuid changed = m_projects.at(i).id;
        Q_EMIT projectChanged(changed);
        saveIf(save);
        return true;
    }
    return false;
}

void ProjectStore::insertProject(qsizetype row, const CampaignIDEProject &project, Save save)
{
    row = std::clamp<qsizetype>(row, 0, m_projects.size());
    m_projects.insert(row, project);
    Q_EMIT projectInserted(row);
    saveIf(save);
}

qsizetype ProjectStore::removeProjects(const std::function<bool(const CampaignIDEProject &)> &predicate, Save save)
{
    const qsizetype removed = removeMatching(m_projects, predicate,
        [this](qsizetype row, const CampaignIDEProject &project) { Q_EMIT projectRemoved(row, project.id); });
    if (removed > 0)
        saveIf(save);
    return removed;
}

void ProjectStore::setProjects(const QList<CampaignIDEProject> &projects, Save save)
{
    m_projects = projects;
    Q_EMIT projectsChanged();
    saveIf(save);
}

void ProjectStore::saveIf(Save save) const
{
    if (save == Save::yes && m_save)
        m_save();
}

} // namespace orvane
