#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QBoxLayout;
class QMenu;

namespace orvane {

class SidebarListView;
class SidebarNavRow;
class SidebarProjectListModel;
class SidebarThreadListModel;

// The scrolling column of the sidebar: the navigation rows with their counts, the STARRED and
// RECENT CHATS thread lists, the LOCAL PROJECTS list and the settings row. Everything follows the
// workspace model in place; each control calls one model operation or one window action.
class SidebarNavigationView final : public QWidget {
    Q_OBJECT
public:
    SidebarNavigationView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    // The row menus, shown at a global position; each closes and deletes itself.
    QMenu *popUpThreadMenu(SidebarListView *list, int row, const QPoint &globalPosition);
    QMenu *popUpProjectMenu(int row, const QPoint &globalPosition);

private:
    void refreshBadges();
    void refreshActiveRow();
    SidebarNavRow *addNavRow(QBoxLayout *layout, const QString &objectName, const QString &title, const QString &symbol,
        const IDEPrimaryDestination &destination);
    SidebarListView *makeThreadList(
        SidebarThreadListModel *model, const QString &objectName, const QString &accessibleName);

    WorkspaceViewContext m_context;
    QList<SidebarNavRow *> m_navRows;
    SidebarNavRow *m_projectsRow = nullptr;
    SidebarNavRow *m_campaignsRow = nullptr;
    SidebarNavRow *m_agentsRow = nullptr;
    SidebarNavRow *m_assetsRow = nullptr;
    SidebarNavRow *m_connectionsRow = nullptr;
    SidebarNavRow *m_reportsRow = nullptr;
    SidebarThreadListModel *m_starredModel = nullptr;
    SidebarThreadListModel *m_recentModel = nullptr;
    SidebarProjectListModel *m_projectModel = nullptr;
    SidebarListView *m_projectList = nullptr;
    QWidget *m_starredSection = nullptr;
};

} // namespace orvane
