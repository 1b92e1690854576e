#include "ide/views/canvas/LocalFilesListModel.h"

#include "ide/model/WorkspaceMirror.h"
#include "ide/views/kit/SelectionRows.h"

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

std::optional<QString> selectedID(const WorkspaceMirror &mirror)
{
    const auto file = mirror.selectedLocalFile();
    return file ? std::optional<QString>(file->id()) : std::nullopt;
}

} // namespace

LocalFilesListModel::LocalFilesListModel(WorkspaceMirror *mirror, QObject *parent)
    : QAbstractListModel(parent), m_mirror(mirror), m_files(mirror->localFiles()), m_selected(selectedID(*mirror))
{
    connect(mirror, &WorkspaceMirror::localFilesChanged, this, &LocalFilesListModel::reload);
    connect(mirror, &WorkspaceMirror::localFileChanged, this, &LocalFilesListModel::refreshFile);
    connect(mirror, &WorkspaceMirror::selectedLocalFileIDChanged, this, &LocalFilesListModel::markSelection);
}

QString LocalFilesListModel::symbolFor(const QString &fileName)
{
    if (fileName.endsWith(u".csv"_s))
        return u"tablecells"_s;
    if (fileName.endsWith(u".json"_s))
        return u"curlybraces"_s;
    return u"doc.text"_s;
}

QString LocalFilesListModel::detailText(const LocalWorkspaceFile &file)
{
    return QString::number(file.sizeBytes()) + u" B · "_s + file.modifiedLabel();
}

int LocalFilesListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_files.size());
}

QVariant LocalFilesListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const LocalWorkspaceFile &file = m_files.at(index.row());
    switch (role) {
    case IdRole:
        return file.id();
    case Qt::DisplayRole:
    case NameRole:
        return file.name;
    case SizeBytesRole:
        return qlonglong(file.sizeBytes());
    case ModifiedLabelRole:
        return file.modifiedLabel();
    case SymbolRole:
        return symbolFor(file.name);
    case SelectedRole:
        return m_selected == file.id();
    case Qt::ToolTipRole:
        return file.url.toLocalFile();
    default:
        return {};
    }
}

QHash<int, QByteArray> LocalFilesListModel::roleNames() const
{
    return {
        { IdRole, "fileID" },
        { NameRole, "name" },
        { SizeBytesRole, "sizeBytes" },
        { ModifiedLabelRole, "modifiedLabel" },
        { SymbolRole, "symbol" },
        { SelectedRole, "selected" },
    };
}

int LocalFilesListModel::rowOf(const QString &fileID) const
{
    for (qsizetype row = 0; row < m_files.size(); ++row) {
        if (m_files.at(row).id() == fileID)
            return int(row);
    }
    return -1;
}

void LocalFilesListModel::reload()
{
    if (!m_mirror)
        return;
    beginResetModel();
    m_files = m_mirror->localFiles();
    m_selected = selectedID(*m_mirror);
    endResetModel();
}

void LocalFilesListModel::refreshFile(const QString &fileID)
{
    if (!m_mirror)
        return;
    const int row = rowOf(fileID);
    const auto &files = m_mirror->localFiles();
    if (row < 0 || row >= files.size() || files.at(row).id() != fileID) {
        reload(); // the list moved under us
        return;
    }
    m_files[row] = files.at(row);
    Q_EMIT dataChanged(index(row), index(row), { SizeBytesRole, ModifiedLabelRole });
}

void LocalFilesListModel::markSelection()
{
    if (!m_mirror)
        return;
    const std::optional<QString> previous = m_selected;
    m_selected = selectedID(*m_mirror);
    markSelectionMoved(
        *this, previous, m_selected, [this](const QString &id) { return rowOf(id); }, SelectedRole);
}

} // namespace orvane
