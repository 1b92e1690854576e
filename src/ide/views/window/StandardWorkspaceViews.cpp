// The one place where the window learns about the views built for it. Each view registers here
// with one line, keyed by the surface, sheet or region it fills; what is not registered shows its
// title (surfaces, sheets) or stays empty (regions). For example:
//
//     views.setSurface(DestinationSurface::campaigns, [](const WorkspaceViewContext &context, QWidget *parent) {
//         return new CampaignsOperationsSurfaceView(context, parent);
//     });
//
// A thread workbench gets the thread through DestinationView::showDestination(); the operations
// home's "new project" and "new thread" actions are WorkspaceWindowController::homeNewProject() and
// homeNewThread(); connections and settings ask for the cloud sign-in with
// WorkspaceWindowController::requestCloudSignIn() (which does nothing when the window has no
// handler: canRequestCloudSignIn()).

#include "ide/views/window/WorkspaceViewRegistry.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/governance/CampaignLaunchApprovalModal.h"
#include "ide/views/governance/ConnectionsSurfaceView.h"
#include "ide/views/governance/ReportsSurfaceView.h"
#include "ide/views/governance/WorkspaceSettingsSurfaceView.h"
#include "ide/views/operations/AgentsCatalogSurfaceView.h"
#include "ide/views/operations/AssetsLibrarySurfaceView.h"
#include "ide/views/operations/CampaignsOperationsSurfaceView.h"
#include "ide/views/operations/OperationsHomeSurfaceView.h"
#include "ide/views/sheets/CommandPaletteSheet.h"
#include "ide/views/sheets/CopilotDrawer.h"
#include "ide/views/sheets/NewProjectSheet.h"
#include "ide/views/sheets/NewThreadSheet.h"
#include "ide/views/sheets/RenameThreadSheet.h"
#include "ide/views/sidebar/SidebarNavigationView.h"
#include "ide/views/sidebar/SidebarUserFooter.h"
#include "ide/views/thread/CampaignThreadWorkbenchView.h"

namespace orvane {

WorkspaceViewRegistry standardWorkspaceViews()
{
    WorkspaceViewRegistry views;
    views.setSurface(DestinationSurface::connections, [](const WorkspaceViewContext &context, QWidget *parent) {
        return new ConnectionsSurfaceView(context, parent);
    });
    views.setSurface(DestinationSurface::reports,
        [](const WorkspaceViewContext &context, QWidget *parent) { return new ReportsSurfaceView(context, parent); });
    views.setSurface(DestinationSurface::settings, [](const WorkspaceViewContext &context, QWidget *parent) {
        return new WorkspaceSettingsSurfaceView(context, parent);
    });
    views.setSheet(
        WorkspaceSheet::launchApproval, [](const WorkspaceViewContext &context, QWidget *parent) -> QWidget * {
            const auto request = context.model->activeLaunchRequest();
            return request ? new CampaignLaunchApprovalModal(context, *request, parent) : nullptr;
        });
    views.setSurface(DestinationSurface::operationsHome, [](const WorkspaceViewContext &context, QWidget *parent) {
        return new OperationsHomeSurfaceView(context, parent);
    });
    views.setSurface(DestinationSurface::campaigns, [](const WorkspaceViewContext &context, QWidget *parent) {
        return new CampaignsOperationsSurfaceView(context, parent);
    });
    views.setSurface(DestinationSurface::agents, [](const WorkspaceViewContext &context, QWidget *parent) {
        return new AgentsCatalogSurfaceView(context, parent);
    });
    views.setSurface(DestinationSurface::assets, [](const WorkspaceViewContext &context, QWidget *parent) {
        return new AssetsLibrarySurfaceView(context, parent);
    });
    views.setSurface(DestinationSurface::threadWorkbench, [](const WorkspaceViewContext &context, QWidget *parent) {
        return new CampaignThreadWorkbenchView(context, standardWorkbenchTabs(), parent);
    });
    views.setSheet(WorkspaceSheet::newProject,
        [](const WorkspaceViewContext &context, QWidget *parent) { return new NewProjectSheet(context, parent); });
    views.setSheet(WorkspaceSheet::newThread,
        [](const WorkspaceViewContext &context, QWidget *parent) { return new NewThreadSheet(context, parent); });
    views.setSheet(WorkspaceSheet::renameThread,
        [](const WorkspaceViewContext &context, QWidget *parent) { return new RenameThreadSheet(context, parent); });
    views.setSheet(WorkspaceSheet::commandPalette,
        [](const WorkspaceViewContext &context, QWidget *parent) { return new CommandPaletteSheet(context, parent); });
    views.setRegion(WorkspaceRegion::copilotDrawer,
        [](const WorkspaceViewContext &context, QWidget *parent) { return new CopilotDrawer(context, parent); });
    views.setRegion(WorkspaceRegion::sidebarNavigation, [](const WorkspaceViewContext &context, QWidget *parent) {
        return new SidebarNavigationView(context, parent);
    });
    views.setRegion(WorkspaceRegion::sidebarFooter,
        [](const WorkspaceViewContext &context, QWidget *parent) { return new SidebarUserFooter(context, parent); });
    return views;
}

} // namespace orvane
