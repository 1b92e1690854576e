#pragma once

#include "ide/records/IDEWorkbenchView.h"
#include "ide/views/window/CampaignIDEFocusedActions.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUuid>

#include <functional>

namespace orvane {

class CampaignIDEWorkspaceModel;
class SessionStore;
class WorkspaceWindowState;

// The window's own actions, shared by the top bar, the sidebar, the operations home and the menu's
// focused actions. Each either sets the window's view state (to open a sheet) or calls one named
// operation of the model.
class WorkspaceWindowController final : public QObject {
    Q_OBJECT

public:
    WorkspaceWindowController(CampaignIDEWorkspaceModel *model, SessionStore *session, WorkspaceWindowState *state,
        std::function<void()> onRequestCloudSignIn, std::function<void(const QString &)> revealFolder,
        QObject *parent = nullptr);

    [[nodiscard]] CampaignIDEWorkspaceModel *model() const;
    [[nodiscard]] SessionStore *session() const { return m_session; }
    [[nodiscard]] bool canRequestCloudSignIn() const { return bool(m_onRequestCloudSignIn); }

    // A new thread of the operator persona in the selected project (else the first project, else
    // a new one), shown at once. Top bar "New Thread" (Ctrl+T), sidebar "New Thread" and the plus
    // beside RECENT CHATS.
    void startQuickThread();
    // The command palette with an empty query.
    void openCommandPalette();
    // The new-project sheet; clearName empties the name typed earlier first.
    void openNewProjectSheet(bool clearName);
    // The new-thread sheet. clearTexts empties title and prompt; resetPersona picks the operator.
    void openNewThreadSheet(bool clearTexts, bool resetPersona);
    // The operations home's two actions: on the projects destination they clear the texts typed
    // earlier; shown for a thread that is gone they keep them. The persona stays as it was.
    void homeNewProject();
    void homeNewThread();
    // Both flips animate in the window; the flags live in the model.
    void toggleSidebar();
    void toggleAgentDrawer();
    // Opens a file-manager window on the local workspace root, whatever folder that is.
    void revealLocalWorkspaceInFinder();
    // Opens a file-manager window on the selected project's folder, or on the local workspace root
    // when no project is selected; changes nothing in the model.
    void revealSelectedProjectInFinder();
    // Opens a file-manager window on the reports folder of the workspace root, or on the root itself
    // while no local report has made that folder yet.
    void revealReportsFolderInFinder();
    // Re-mirrors every project and says so (with successNotice, else forceSyncNotice()).
    void forceSyncLocalFiles();
    void forceSyncLocalFilesWithNotice(const QString &successNotice);
    // The operations home; showAllProjects also clears the project filter first.
    void showWorkspaceHome();
    void showAllProjects();
    // Filters on the project and opens its thread (made when it has none).
    void focusProject(const QUuid &projectID);
    // Asks the application for the cloud sign-in screen; nothing without a handler.
    void requestCloudSignIn();

    // The menu's record for the window's current state.
    [[nodiscard]] CampaignIDEFocusedActions focusedActions();

    // The five workbench jumps of the menu: the active thread with that view; without an active
    // thread only the plan jump does something (the operations home).
    void showActiveThreadWorkbench(IDEWorkbenchView view);

    // The notice after every folder has been written; `shownRoot` is the workspace root as shown.
    [[nodiscard]] static QString forceSyncNotice(const QString &shownRoot);

private:
    QPointer<CampaignIDEWorkspaceModel> m_model;
    SessionStore *m_session;
    QPointer<WorkspaceWindowState> m_state;
    std::function<void()> m_onRequestCloudSignIn;
    std::function<void(const QString &)> m_revealFolder;
};

} // namespace orvane
