#pragma once

#include "ide/views/kit/Panel.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QMenu;

namespace orvane {

class CampaignIDEWorkspaceModel;
class ThemeSource;
class WorkspaceWindowController;
class ClickableButton;
class ElidedLabel;
class SymbolView;

// The row across the top of the window: sidebar toggle, workspace and project menus on the left,
// the destination's title and the folder badge in the centre, search, "New Thread", the cloud
// state and the "Agent" button on the right. Holds no state: it shows the model and the session
// state it is told, and hands every press to the window's controller.
class WorkspaceTopBar final : public Panel {
    Q_OBJECT
public:
    WorkspaceTopBar(CampaignIDEWorkspaceModel &model, const ThemeSource &theme, WorkspaceWindowController &controller,
        QWidget *parent = nullptr);

    // Shows the "Cloud Synced" marker while an account is signed in, "Connect Cloud" otherwise.
    void setSignedIn(bool signedIn);

    [[nodiscard]] QMenu *workspaceMenu() const { return m_workspaceMenu; }
    [[nodiscard]] QMenu *projectMenu() const { return m_projectMenu; }

private:
    QWidget *buildLeftGroup();
    QWidget *buildCentreGroup();
    QWidget *buildRightGroup();
    void rebuildProjectMenu();
    void popUp(QMenu *menu, QWidget *under);
    void updateBreadcrumb();
    void updateCentreTitle();
    void updateAgentButton();

    QPointer<CampaignIDEWorkspaceModel> m_model;
    QPointer<const ThemeSource> m_theme;
    QPointer<WorkspaceWindowController> m_controller;

    QMenu *m_workspaceMenu = nullptr;
    QMenu *m_projectMenu = nullptr;
    ElidedLabel *m_breadcrumb = nullptr;
    ElidedLabel *m_centreTitle = nullptr;
    QWidget *m_cloudMarker = nullptr;
    ClickableButton *m_connectCloud = nullptr;
    ClickableButton *m_agent = nullptr;
    SymbolView *m_agentSymbol = nullptr;
    QLabel *m_agentTextClosed = nullptr;
    QWidget *m_agentTextOpen = nullptr;
};

} // namespace orvane
