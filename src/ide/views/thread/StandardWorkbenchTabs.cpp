// The one place where the thread workbench learns about its tab views. Each tab view registers
// here with one line, keyed by its workbench tab; a tab without a view shows its title. For example:
//
//     tabs.setTab(IDEWorkbenchView::table, [](const WorkspaceViewContext &context, QWidget *parent) {
//         return new TableWorkbenchTabView(context, parent);
//     });
//
// A tab view is built once per workbench and kept while the user moves between threads: it reads
// the active thread from the model (CampaignIDEWorkspaceModel::activeThread()) and follows the
// model's signals (threadChanged, primaryDestinationChanged, ...) to update in place.

#include "ide/views/thread/WorkbenchTabRegistry.h"

#include "ide/views/canvas/CompetitorExplorerTabView.h"
#include "ide/views/canvas/CreativeCanvasTabView.h"
#include "ide/views/canvas/LocalFilesTabView.h"
#include "ide/views/workbench/AttributionDashboardView.h"
#include "ide/views/workbench/CampaignPlanDocumentView.h"
#include "ide/views/workbench/MediaPlanTableView.h"

namespace orvane {

WorkbenchTabRegistry standardWorkbenchTabs()
{
    WorkbenchTabRegistry tabs;
    tabs.setTab(IDEWorkbenchView::canvas, [](const WorkspaceViewContext &context, QWidget *parent) {
        return new CreativeCanvasTabView(context, parent);
    });
    tabs.setTab(IDEWorkbenchView::explore, [](const WorkspaceViewContext &context, QWidget *parent) {
        return new CompetitorExplorerTabView(context, parent);
    });
    tabs.setTab(IDEWorkbenchView::localFiles,
        [](const WorkspaceViewContext &context, QWidget *parent) { return new LocalFilesTabView(context, parent); });
    tabs.setTab(IDEWorkbenchView::document, [](const WorkspaceViewContext &context, QWidget *parent) {
        return new CampaignPlanDocumentView(context, parent);
    });
    tabs.setTab(IDEWorkbenchView::table,
        [](const WorkspaceViewContext &context, QWidget *parent) { return new MediaPlanTableView(context, parent); });
    tabs.setTab(IDEWorkbenchView::dashboard, [](const WorkspaceViewContext &context, QWidget *parent) {
        return new AttributionDashboardView(context, parent);
    });
    return tabs;
}

} // namespace orvane
