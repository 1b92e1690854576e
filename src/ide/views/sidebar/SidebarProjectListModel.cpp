#include "ide/views/sidebar/SidebarProjectListModel.h"

#include "ide/model/ProjectStore.h"
#include "ide/views/kit/LongText.h"

using namespace Qt::StringLiterals;

namespace orvane {

SidebarProjectListModel::SidebarProjectListModel(ProjectStore &model, QObject *parent)
    : QAbstractListModel(parent), m_store(&model)
{
    reload();
    using Model = ProjectStore;
    connect(&model, &Model::projectsChanged, this, [this] {
        beginResetModel();
        reload();
        endResetModel();
    });
    connect(&model, &Model::projectChanged, this, &SidebarProjectListModel::projectChanged);
    connect(&model, &Model::projectInserted, this, &SidebarProjectListModel::projectInserted);
    connect(&model, &Model::projectRemoved, this, &SidebarProjectListModel::projectRemoved);
    connect(&model, &Model::selectedProjectIDChanged, this, &SidebarProjectListModel::selectionChanged);
}

int SidebarProjectListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant SidebarProjectListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return row.name;
    case ProjectIDRole:
        return row.id;
    case DetailRole:
        return row.detail;
    case SelectedRole:
        return m_selected == row.id;
    default:
        return {};
    }
}

QHash<int, QByteArray> SidebarProjectListModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(ProjectIDRole, "projectID");
    names.insert(DetailRole, "detail");
    names.insert(SelectedRole, "selected");
    return names;
}

QUuid SidebarProjectListModel::projectID(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).id : QUuid();
}

QString SidebarProjectListModel::projectName(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).name : QString();
}

int SidebarProjectListModel::rowOf(const QUuid &projectID) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).id == projectID)
            return row;
    }
    return -1;
}

QString SidebarProjectListModel::detailLine(const CampaignIDEProject &project)
{
    // A label's worth of the budget: the row lays the line out whole each time it is measured.
    return labelText(project.budget()) % u" \u00B7 "_s % project.status;
}

SidebarProjectListModel::Row SidebarProjectListModel::rowFor(const CampaignIDEProject &project)
{
    return Row { project.id, project.name, detailLine(project) };
}

void SidebarProjectListModel::reload()
{
    m_rows.clear();
    m_selected = m_store ? m_store->selectedProjectID() : std::nullopt;
    if (!m_store)
        return;
    for (const CampaignIDEProject &project : m_store->projects())
        m_rows.append(rowFor(project));
}

void SidebarProjectListModel::projectChanged(const QUuid &projectID)
{
    if (!m_store)
        return;
    // Rows follow the model's positions: the n-th row with an id is the n-th project with it.
    const QList<CampaignIDEProject> &projects = m_store->projects();
    if (projects.size() != m_rows.size()) {
        beginResetModel();
        reload();
        endResetModel();
        return;
    }
    for (int row = 0; row < m_rows.size(); ++row) {
        if (projects.at(row).id != projectID)
            continue;
        const Row updated = rowFor(projects.at(row));
        if (m_rows.at(row) == updated)
            continue;
        m_rows[row] = updated;
        Q_EMIT dataChanged(index(row), index(row));
    }
}

void SidebarProjectListModel::projectInserted(qsizetype modelRow)
{
    if (!m_store || modelRow < 0 || modelRow >= m_store->projects().size()
        || m_store->projects().size() != m_rows.size() + 1) {
        beginResetModel();
        reload();
        endResetModel();
        return;
    }
    const int row = int(modelRow);
    beginInsertRows({}, row, row);
    m_rows.insert(row, rowFor(m_store->projects().at(modelRow)));
    endInsertRows();
}

void SidebarProjectListModel::projectRemoved(qsizetype modelRow, const QUuid &projectID)
{
    if (modelRow < 0 || modelRow >= m_rows.size() || m_rows.at(modelRow).id != projectID) {
        beginResetModel();
        reload();
        endResetModel();
        return;
    }
    const int row = int(modelRow);
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void SidebarProjectListModel::selectionChanged()
{
    const std::optional<QUuid> selected = m_store ? m_store->selectedProjectID() : std::nullopt;
    if (selected == m_selected)
        return;
    const std::optional<QUuid> previous = m_selected;
    m_selected = selected;
    for (int row = 0; row < m_rows.size(); ++row) {
        const QUuid &id = m_rows.at(row).id;
        if (id == previous || id == selected)
            Q_EMIT dataChanged(index(row), index(row), { SelectedRole });
    }
}

} // namespace orvane
