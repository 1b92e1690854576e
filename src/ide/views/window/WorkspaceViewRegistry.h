#pragma once

#include "ide/records/IDEPrimaryDestination.h"

#include <QHash>
#include <QWidget>

#include <optional>

#include <functional>

namespace orvane {

class CampaignIDEWorkspaceModel;
class ProjectStore;
class ServerSyncState;
class SessionStore;
class ThemeSource;
class ThreadList;
class TimelineHeightCache;
class WorkspaceWindowState;
class WorkspaceMirror;
class WorkspaceWindowController;

// What every view of the window is built with. The pointers outlive the views.
struct WorkspaceViewContext {
    // The model's operations; a view that only needs projects, threads, the local files or the
    // service refresh uses their stores instead.
    CampaignIDEWorkspaceModel *model = nullptr;
    ProjectStore *projects = nullptr; // the model's
    ThreadList *threads = nullptr; // the model's
    SessionStore *session = nullptr; // null when the window has no session store
    const ThemeSource *theme = nullptr;
    WorkspaceWindowState *state = nullptr; // appearance, canvas view, sheet flags and field texts
    WorkspaceWindowController *controller = nullptr; // the window's own actions
    TimelineHeightCache *timelineHeights
        = nullptr; // the window's measured timeline cards; null: each view keeps its own
    WorkspaceMirror *mirror = nullptr; // the model's folder mirror, local files and reports
    ServerSyncState *serverSync = nullptr; // the model's service refresh and transfer bounds

    // The model with its stores and window state; the other pointers are the caller's to fill.
    [[nodiscard]] static WorkspaceViewContext forModel(CampaignIDEWorkspaceModel &model);
};

// The surfaces of the destination area. A thread destination whose thread is gone shows the
// operations home.
enum class DestinationSurface {
    threadWorkbench,
    operationsHome,
    campaigns,
    agents,
    assets,
    connections,
    reports,
    settings,
};

// The five sheets of the window, in the order they are attached.
enum class WorkspaceSheet { newProject, newThread, renameThread, commandPalette, launchApproval };

// Regions of the window frame whose content is built elsewhere.
enum class WorkspaceRegion { sidebarNavigation, sidebarFooter, copilotDrawer };

// A view of the destination area. The area keeps one view while the surface stays the same (one
// thread to another keeps the thread workbench and its own state) and replaces it when the surface
// changes.
class DestinationView : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // The destination on screen now: called once after the view is built and again whenever the
    // destination changes without changing the surface.
    virtual void showDestination(const IDEPrimaryDestination &destination) = 0;
    // The widest the view can be given on the window's screen (none: as wide as it needs). A view
    // whose columns have minimum widths lets them give way below that so none is cut off; by
    // default nothing changes.
    virtual void limitWidth(std::optional<int> width) { Q_UNUSED(width); }
};

// The one routing point of the window: which view the destination area shows for each surface,
// what each sheet holds, and what fills the sidebar's list, its footer and the copilot drawer.
// A surface or sheet without a factory shows its title; a region without one stays empty.
class WorkspaceViewRegistry final {
public:
    using SurfaceFactory = std::function<DestinationView *(const WorkspaceViewContext &, QWidget *parent)>;
    using WidgetFactory = std::function<QWidget *(const WorkspaceViewContext &, QWidget *parent)>;

    void setSurface(DestinationSurface surface, SurfaceFactory factory);
    void setSheet(WorkspaceSheet sheet, WidgetFactory factory);
    void setRegion(WorkspaceRegion region, WidgetFactory factory);

    [[nodiscard]] bool hasSurface(DestinationSurface surface) const { return m_surfaces.contains(surface); }
    [[nodiscard]] bool hasSheet(WorkspaceSheet sheet) const { return m_sheets.contains(sheet); }

    // Never null: the registered view, or a placeholder that shows the destination's title.
    [[nodiscard]] DestinationView *makeSurface(
        DestinationSurface surface, const WorkspaceViewContext &context, QWidget *parent) const;
    // Null when no content is registered.
    [[nodiscard]] QWidget *makeSheetContent(
        WorkspaceSheet sheet, const WorkspaceViewContext &context, QWidget *parent) const;
    [[nodiscard]] QWidget *makeRegion(
        WorkspaceRegion region, const WorkspaceViewContext &context, QWidget *parent) const;

private:
    QHash<DestinationSurface, SurfaceFactory> m_surfaces;
    QHash<WorkspaceSheet, WidgetFactory> m_sheets;
    QHash<WorkspaceRegion, WidgetFactory> m_regions;
};

// The surface that shows a destination, given the threads that exist.
[[nodiscard]] DestinationSurface surfaceFor(const IDEPrimaryDestination &destination, const ThreadList &threads);

// The views of the application, registered in StandardWorkspaceViews.cpp: each view built for the
// window is added there with one line.
[[nodiscard]] WorkspaceViewRegistry standardWorkspaceViews();

} // namespace orvane
