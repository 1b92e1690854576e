#pragma once

#include <functional>

namespace orvane {

// What the focused workspace window offers the "Campaign" menu: three flags that enable its items
// and one action per item. A plain value, rebuilt by the window whenever a flag may have changed
// (CampaignIDEWorkspaceView::focusedActionsChanged); copying it copies the actions.
//
// The actions hold the window weakly: once it is gone they do nothing. A default-constructed
// record (no window) has every flag false and actions that do nothing. Actions take no argument,
// return nothing and run on the main thread; nothing is tested again when one is called.
struct CampaignIDEFocusedActions {
    bool hasOpenProject = false; // enables "Show Campaign Plan" to "Show Local Workspace Files"
    bool canExecute = false; // enables "Review and Execute…"
    bool canOpenDashboard = false; // enables "Show Dashboard"
    std::function<void()> createProject = [] {}; // "New Project"
    std::function<void()> showPlan = [] {}; // "Show Campaign Plan"
    std::function<void()> showCreativeStudio = [] {}; // "Show Creative Studio"
    std::function<void()> showReports = [] {}; // "Show Reports & Lift"
    std::function<void()> showApprovals = [] {}; // "Show Approval Gates"
    std::function<void()> showLocalFiles = [] {}; // "Show Local Workspace Files"
    std::function<void()> showDashboard = [] {}; // "Show Dashboard"
    std::function<void()> toggleWorkspaceAgent = [] {}; // "Toggle Workspace Agent"
    std::function<void()> requestExecution = [] {}; // "Review and Execute…"
};

} // namespace orvane
