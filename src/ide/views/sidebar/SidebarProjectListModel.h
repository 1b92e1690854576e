#pragma once

#include "ide/records/CampaignIDEProject.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>
#include <QUuid>

#include <optional>

namespace orvane {

class ProjectStore;

// The sidebar's LOCAL PROJECTS list: every project of the workspace model, in its order, with the
// selected one marked. Keeps a snapshot of what a row shows and follows the per-project signals.
class SidebarProjectListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        ProjectIDRole = Qt::UserRole + 1,
        DetailRole, // the budget figure, " · " and the status
        SelectedRole,
    };

    explicit SidebarProjectListModel(ProjectStore &model, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] QUuid projectID(int row) const;
    [[nodiscard]] QString projectName(int row) const;
    [[nodiscard]] int rowOf(const QUuid &projectID) const;

    // The row's second line: the first "$1,234" or "$12k" of the channels and budget text (else
    // "$45,000"), cut to a label's worth, a middle dot and the status.
    [[nodiscard]] static QString detailLine(const CampaignIDEProject &project);

private:
    struct Row {
        QUuid id;
        QString name;
        QString detail;

        bool operator==(const Row &) const = default;
    };
    [[nodiscard]] static Row rowFor(const CampaignIDEProject &project);
    void reload();
    void projectChanged(const QUuid &projectID);
    void projectInserted(qsizetype modelRow);
    void projectRemoved(qsizetype modelRow, const QUuid &projectID);
    void selectionChanged();

    QPointer<ProjectStore> m_store;
    QList<Row> m_rows;
    std::optional<QUuid> m_selected;
};

} // namespace orvane
