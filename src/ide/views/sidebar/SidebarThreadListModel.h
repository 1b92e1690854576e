#pragma once

#include "ide/records/CampaignIDEThread.h"
#include "ide/records/IDEWorkbenchView.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QUuid>

#include <optional>

namespace orvane {

class CampaignIDEWorkspaceModel;

// One of the sidebar's thread lists: every thread of the project filter (RECENT CHATS) or the
// starred ones among them (STARRED), in the workspace model's order. It keeps a snapshot of what a
// row shows and follows the model's per-thread signals, inserting, removing or refreshing one row at
// a time; a reply streaming into a thread does not touch the list unless a shown field changes.
class SidebarThreadListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum class Scope { recent, starred };
    enum Role {
        ThreadIDRole = Qt::UserRole + 1,
        WorkbenchRole, // the workbench's raw value ("Document")
        UpdatedAtRole,
        StarredRole,
        SelectedRole, // the thread is the window's destination
    };

    SidebarThreadListModel(CampaignIDEWorkspaceModel &model, Scope scope, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] QUuid threadID(int row) const;
    // The model's current value of the row's thread; none once it is gone.
    [[nodiscard]] std::optional<CampaignIDEThread> thread(int row) const;
    [[nodiscard]] int rowOf(const QUuid &threadID) const;

private:
    struct Row {
        QUuid id;
        QString title;
        IDEWorkbenchView workbench = IDEWorkbenchView::document;
        QString updatedAt;
        bool starred = false;

        bool operator==(const Row &) const = default;
    };
    [[nodiscard]] static Row rowFor(const CampaignIDEThread &thread);
    [[nodiscard]] bool admits(const CampaignIDEThread &thread) const;
    // Where a thread at this position of the model's list goes among the rows shown.
    [[nodiscard]] int insertionRow(qsizetype modelRow) const;
    void reload();
    void threadChanged(const QUuid &threadID);
    void threadInserted(qsizetype modelRow);
    void threadRemoved(const QUuid &threadID);
    void destinationChanged();
    void dropRow(int row);
    void addRow(int row, const CampaignIDEThread &thread);

    QPointer<CampaignIDEWorkspaceModel> m_model;
    Scope m_scope;
    QList<Row> m_rows;
    QSet<QUuid> m_shown;
    std::optional<QUuid> m_selected;
};

} // namespace orvane
