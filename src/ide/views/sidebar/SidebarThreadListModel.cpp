#include "ide/views/sidebar/SidebarThreadListModel.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/SelectionRows.h"

namespace orvane {

SidebarThreadListModel::SidebarThreadListModel(CampaignIDEWorkspaceModel &model, Scope scope, QObject *parent)
    : QAbstractListModel(parent), m_model(&model), m_scope(scope)
{
    reload();
    using Model = CampaignIDEWorkspaceModel;
    connect(&model, &Model::threadsChanged, this, [this] {
        beginResetModel();
        reload();
        endResetModel();
    });
    connect(&model, &Model::projectFilterIDChanged, this, [this] {
        beginResetModel();
        reload();
        endResetModel();
    });
    connect(&model, &Model::threadChanged, this, &SidebarThreadListModel::threadChanged);
    connect(&model, &Model::threadInserted, this, &SidebarThreadListModel::threadInserted);
    connect(&model, &Model::threadRemoved, this, [this](qsizetype, const QUuid &threadID) { threadRemoved(threadID); });
    connect(&model, &Model::primaryDestinationChanged, this, &SidebarThreadListModel::destinationChanged);
}

int SidebarThreadListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant SidebarThreadListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return row.title;
    case ThreadIDRole:
        return row.id;
    case WorkbenchRole:
        return rawValue(row.workbench);
    case UpdatedAtRole:
        return row.updatedAt;
    case StarredRole:
        return row.starred;
    case SelectedRole:
        return m_selected == row.id;
    default:
        return {};
    }
}

QHash<int, QByteArray> SidebarThreadListModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(ThreadIDRole, "threadID");
    names.insert(WorkbenchRole, "workbench");
    names.insert(UpdatedAtRole, "updatedAt");
    names.insert(StarredRole, "starred");
    names.insert(SelectedRole, "selected");
    return names;
}

QUuid SidebarThreadListModel::threadID(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).id : QUuid();
}

std::optional<CampaignIDEThread> SidebarThreadListModel::thread(int row) const
{
    const QUuid id = threadID(row);
    if (id.isNull() || !m_model)
        return std::nullopt;
    if (const CampaignIDEThread *found = m_model->thread(id))
        return *found;
    return std::nullopt;
}

int SidebarThreadListModel::rowOf(const QUuid &threadID) const
{
    if (!m_shown.contains(threadID))
        return -1;
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).id == threadID)
            return row;
    }
    return -1;
}

SidebarThreadListModel::Row SidebarThreadListModel::rowFor(const CampaignIDEThread &thread)
{
    return Row { thread.id, thread.title, thread.workbenchView, thread.updatedAt, thread.isStarred };
}

bool SidebarThreadListModel::admits(const CampaignIDEThread &thread) const
{
    const std::optional<QUuid> &filter = m_model->projectFilterID();
    if (filter && thread.projectID != *filter)
        return false;
    return m_scope == Scope::recent || thread.isStarred;
}

int SidebarThreadListModel::insertionRow(qsizetype modelRow) const
{
    // The rows keep the model's order, so a thread goes after the shown threads that precede it.
    const QList<CampaignIDEThread> &threads = m_model->threads();
    int row = 0;
    for (qsizetype i = 0; i < modelRow && i < threads.size(); ++i) {
        if (m_shown.contains(threads.at(i).id))
            ++row;
    }
    return row;
}

void SidebarThreadListModel::reload()
{
    m_rows.clear();
    m_shown.clear();
    m_selected = m_model ? m_model->primaryDestination().threadID() : std::nullopt;
    if (!m_model)
        return;
    for (const CampaignIDEThread &thread : m_model->threads()) {
        // A duplicated id is shown once: rows are found by id.
        if (admits(thread) && !m_shown.contains(thread.id)) {
            m_rows.append(rowFor(thread));
            m_shown.insert(thread.id);
        }
    }
}

void SidebarThreadListModel::dropRow(int row)
{
    beginRemoveRows({}, row, row);
    m_shown.remove(m_rows.takeAt(row).id);
    endRemoveRows();
}

void SidebarThreadListModel::addRow(int row, const CampaignIDEThread &thread)
{
    beginInsertRows({}, row, row);
    m_rows.insert(row, rowFor(thread));
    m_shown.insert(thread.id);
    endInsertRows();
}

void SidebarThreadListModel::threadChanged(const QUuid &threadID)
{
    if (!m_model)
        return;
    const QList<CampaignIDEThread> &threads = m_model->threads();
    qsizetype modelRow = -1;
    for (qsizetype i = 0; i < threads.size(); ++i) {
        if (threads.at(i).id == threadID) {
            modelRow = i;
            break;
        }
    }
    const int row = rowOf(threadID);
    if (modelRow < 0) {
        if (row >= 0)
            dropRow(row);
        return;
    }
    const CampaignIDEThread &thread = threads.at(modelRow);
    if (!admits(thread)) {
        if (row >= 0)
            dropRow(row);
        return;
    }
    if (row < 0) {
        addRow(insertionRow(modelRow), thread);
        return;
    }
    const Row updated = rowFor(thread);
    if (m_rows.at(row) == updated)
        return; // a draft or a streamed reply: nothing the row shows
    m_rows[row] = updated;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed);
}

void SidebarThreadListModel::threadInserted(qsizetype modelRow)
{
    if (!m_model || modelRow < 0 || modelRow >= m_model->threads().size())
        return;
    const CampaignIDEThread &thread = m_model->threads().at(modelRow);
    if (!admits(thread) || m_shown.contains(thread.id))
        return;
    addRow(insertionRow(modelRow), thread);
    // A new thread is often opened at once; the destination signal then marks it.
}

void SidebarThreadListModel::threadRemoved(const QUuid &threadID)
{
    const int row = rowOf(threadID);
    if (row < 0)
        return;
    dropRow(row);
    // Another thread with the same id may remain in the model.
    if (m_model) {
        const QList<CampaignIDEThread> &threads = m_model->threads();
        for (qsizetype i = 0; i < threads.size(); ++i) {
            if (threads.at(i).id == threadID && admits(threads.at(i))) {
                addRow(insertionRow(i), threads.at(i));
                break;
            }
        }
    }
}

void SidebarThreadListModel::destinationChanged()
{
    const std::optional<QUuid> previous = m_selected;
    m_selected = m_model ? m_model->primaryDestination().threadID() : std::nullopt;
    markSelectionMoved(
        *this, previous, m_selected, [this](const QUuid &id) { return rowOf(id); }, SelectedRole);
}

} // namespace orvane
