#include "ide/views/canvas/ArtboardGridModel.h"

#include "ide/model/ProjectStore.h"
#include "ide/views/kit/SelectionRows.h"

#include <algorithm>

namespace orvane {
namespace {

bool sameIDs(const QList<CreativeCanvasArtboard> &a, const QList<CreativeCanvasArtboard> &b, qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i) {
        if (a.at(i).id != b.at(i).id)
            return false;
    }
    return true;
}

} // namespace

ArtboardGridModel::ArtboardGridModel(ProjectStore *model, QObject *parent) : QAbstractListModel(parent), m_store(model)
{
    const auto project = model->selectedProject();
    if (project)
        m_artboards = project->creatives;
    m_selected = model->selectedArtboardID();

    connect(model, &ProjectStore::projectChanged, this, [this](const QUuid &projectID) {
        if (m_store && m_store->selectedProjectID() == projectID)
            reload();
    });
    connect(model, &ProjectStore::projectsChanged, this, &ArtboardGridModel::reload);
    connect(model, &ProjectStore::projectInserted, this, &ArtboardGridModel::reload);
    connect(model, &ProjectStore::projectRemoved, this, &ArtboardGridModel::reload);
    connect(model, &ProjectStore::selectedProjectIDChanged, this, &ArtboardGridModel::reload);
    connect(model, &ProjectStore::selectedArtboardIDChanged, this, &ArtboardGridModel::markSelection);
}

int ArtboardGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_artboards.size());
}

QVariant ArtboardGridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const CreativeCanvasArtboard &artboard = m_artboards.at(index.row());
    switch (role) {
    case IdRole:
        return artboard.id;
    case PlatformRole:
        return artboard.platform;
    case FormatRole:
        return artboard.format;
    case Qt::DisplayRole:
    case HeadlineRole:
        return artboard.headline;
    case WidthRole:
        return artboard.width;
    case HeightRole:
        return artboard.height;
    case ReviewStatusRole:
        return int(artboard.reviewStatus);
    case SelectedRole:
        return m_selected == artboard.id;
    default:
        return {};
    }
}

QHash<int, QByteArray> ArtboardGridModel::roleNames() const
{
    return {
        { IdRole, "artboardID" },
        { PlatformRole, "platform" },
        { FormatRole, "format" },
        { HeadlineRole, "headline" },
        { WidthRole, "width" },
        { HeightRole, "height" },
        { ReviewStatusRole, "reviewStatus" },
        { SelectedRole, "selected" },
    };
}

int ArtboardGridModel::rowOf(const QUuid &artboardID) const
{
    const auto found = std::find_if(m_artboards.cbegin(), m_artboards.cend(),
        [&artboardID](const CreativeCanvasArtboard &artboard) { return artboard.id == artboardID; });
    return found == m_artboards.cend() ? -1 : int(found - m_artboards.cbegin());
}

void ArtboardGridModel::reload()
{
    if (!m_store)
        return;
    const auto project = m_store->selectedProject();
    QList<CreativeCanvasArtboard> next = project ? project->creatives : QList<CreativeCanvasArtboard>();
    const qsizetype old = m_artboards.size();

    if (next.size() >= old && sameIDs(m_artboards, next, old)) {
        // The same artboards, perhaps edited, perhaps with more after them.
        QList<CreativeCanvasArtboard> appended = next.mid(old);
        m_artboards.resize(old);
        for (qsizetype row = 0; row < old; ++row) {
            if (m_artboards.at(row) != next.at(row)) {
                m_artboards[row] = next.at(row);
                Q_EMIT dataChanged(index(int(row)), index(int(row)));
            }
        }
        markSelection();
        if (!appended.isEmpty()) {
            beginInsertRows({}, int(old), int(next.size() - 1));
            m_artboards.append(appended);
            endInsertRows();
        }
        return;
    }
    beginResetModel();
    m_artboards = std::move(next);
    m_selected = m_store->selectedArtboardID();
    endResetModel();
}

void ArtboardGridModel::markSelection()
{
    if (!m_store)
        return;
    const std::optional<QUuid> previous = m_selected;
    m_selected = m_store->selectedArtboardID();
    markSelectionMoved(
        *this, previous, m_selected, [this](const QUuid &id) { return rowOf(id); }, SelectedRole);
}

} // namespace orvane
