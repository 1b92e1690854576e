#pragma once

#include "ide/records/CreativeCanvasArtboard.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>

namespace orvane {

class ProjectStore;

// The artboards of the workspace's selected project, in stored order, one row each; empty when no
// project is selected. Follows the workspace model in place: a changed artboard changes its row,
// appended artboards are inserted, the selection marks one row; anything else resets the list.
class ArtboardGridModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        PlatformRole,
        FormatRole,
        HeadlineRole, // also Qt::DisplayRole
        WidthRole,
        HeightRole,
        ReviewStatusRole, // int of CreativeReviewStatus
        SelectedRole, // bool: the workspace's selected artboard
    };

    explicit ArtboardGridModel(ProjectStore *model, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] int rowOf(const QUuid &artboardID) const;

private:
    void reload();
    void markSelection();

    QPointer<ProjectStore> m_store;
    QList<CreativeCanvasArtboard> m_artboards;
    std::optional<QUuid> m_selected;
};

} // namespace orvane
