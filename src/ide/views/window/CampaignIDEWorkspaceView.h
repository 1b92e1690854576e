#pragma once

#include "ide/views/window/CampaignIDEFocusedActions.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>
#include <memory>

namespace orvane {

class SessionStore;
class CampaignIDEWorkspaceModel;
class FocusRingController;
class ThemeSource;
class TimelineHeightCache;
class WorkspaceMirror;
class WorkspaceWindowState;
class WorkspaceWindowController;
class WorkspaceTopBar;
class WorkspaceSidebar;
class WorkspaceToastBanner;
class DestinationArea;
class WorkspaceSheets;
class LiveContextRefresher;
class SlidingColumn;
class ThemeCrossFade;
class WindowWidthKeeper;

namespace voice {
class VoiceInputProvider;
}

// The workspace window: top bar, sidebar, destination area, copilot drawer, the status toast and
// the five sheets, around the one workspace model it creates and owns.
//
// Every region is a widget that observes the model and updates in place; nothing is rebuilt on a
// model change. The regions' actions go through one controller (WorkspaceWindowController), each
// calling one named model operation. The window publishes the record the "Campaign" menu uses
// (focusedActions(), focusedActionsChanged) and refreshes the model from the service whenever the
// session's sign-in state changes.
class CampaignIDEWorkspaceView final : public QWidget {
    Q_OBJECT

public:
    // Replaceable pieces with production defaults; tests swap them.
    struct Services {
        // What the destination area, the sheets and the drawer show, by kind.
        WorkspaceViewRegistry views = standardWorkspaceViews();
        // Opens a file-manager window on a folder (the desktop's file manager by default).
        std::function<void(const QString &folderPath)> revealFolder;
        // The part of the screen the window may take (its screen's available area by default).
        std::function<QRect(const QWidget *window)> screenArea;
    };

    // session: the process's session store, which outlives the window (it may be null: no service
    // refresh, no cloud state). voice: the window's voice input provider, only held. The sign-in
    // request asks the application to show the cloud sign-in screen; without one, "Connect Cloud"
    // does nothing.
    CampaignIDEWorkspaceView(SessionStore *session, std::shared_ptr<voice::VoiceInputProvider> voice,
        std::function<void()> onRequestCloudSignIn = {}, QWidget *parent = nullptr);
    CampaignIDEWorkspaceView(SessionStore *session, std::shared_ptr<voice::VoiceInputProvider> voice,
        std::function<void()> onRequestCloudSignIn, Services services, QWidget *parent = nullptr);
    ~CampaignIDEWorkspaceView() override;

    // The record for the "Campaign" menu, built from the current state; its actions hold this
    // window weakly.
    [[nodiscard]] CampaignIDEFocusedActions focusedActions() const;

    [[nodiscard]] CampaignIDEWorkspaceModel *model() const { return m_model; }
    // The model's local files and folder mirror.
    [[nodiscard]] WorkspaceMirror &mirror() const;
    [[nodiscard]] SessionStore *session() const { return m_session; }
    [[nodiscard]] const std::shared_ptr<voice::VoiceInputProvider> &voice() const { return m_voice; }
    [[nodiscard]] ThemeSource *themeSource() const { return m_theme; }
    [[nodiscard]] FocusRingController *focusRing() const { return m_focusRing; }
    [[nodiscard]] WorkspaceWindowState *viewState() const { return m_state; }
    [[nodiscard]] WorkspaceWindowController *controller() const { return m_controller; }
    [[nodiscard]] LiveContextRefresher *refresher() const { return m_refresher; }
    [[nodiscard]] DestinationArea *destinationArea() const { return m_destinationArea; }
    [[nodiscard]] WorkspaceSheets *sheets() const { return m_sheets; }
    [[nodiscard]] WorkspaceTopBar *topBar() const { return m_topBar; }
    [[nodiscard]] WindowWidthKeeper *widthKeeper() const { return m_widthKeeper; }

    static constexpr int drawerWidth = 340;

Q_SIGNALS:
    // A flag of focusedActions() may have changed: the menu reads the record again.
    void focusedActionsChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // Tab walks the window region by region: sidebar, top bar, the destination (an agent pane before
    // its workbench), then the drawer when open; within a region, in the order it is laid out.
    bool focusNextPrevChild(bool next) override;

private:
    [[nodiscard]] QList<QWidget *> tabStops() const;
    // What every view of this window is built with.
    [[nodiscard]] WorkspaceViewContext viewContext() const;
    void buildLayout();
    void buildDrawerContent();
    void applyTheme();
    void syncColumns(bool animated);
    // Tells the destination how wide it can be on the screen beside the open columns.
    void updateDestinationWidthLimit();

    CampaignIDEWorkspaceModel *m_model = nullptr;
    SessionStore *m_session;
    std::shared_ptr<voice::VoiceInputProvider> m_voice;
    Services m_services;
    ThemeSource *m_theme = nullptr;
    FocusRingController *m_focusRing = nullptr;
    WorkspaceWindowState *m_state = nullptr;
    std::unique_ptr<TimelineHeightCache> m_timelineHeights;
    bool m_drawerBuilt = false;
    bool m_refresherStarted = false;
    WorkspaceWindowController *m_controller = nullptr;
    LiveContextRefresher *m_refresher = nullptr;

    WorkspaceTopBar *m_topBar = nullptr;
    WorkspaceToastBanner *m_toast = nullptr;
    SlidingColumn *m_sidebarColumn = nullptr; // sidebar and its divider
    WorkspaceSidebar *m_sidebar = nullptr;
    DestinationArea *m_destinationArea = nullptr;
    SlidingColumn *m_drawerColumn = nullptr; // divider and drawer
    QWidget *m_drawer = nullptr;
    WorkspaceSheets *m_sheets = nullptr;
    QPointer<ThemeCrossFade> m_crossFade; // while the colours ease to a new theme
    WindowWidthKeeper *m_widthKeeper = nullptr;
};

} // namespace orvane
