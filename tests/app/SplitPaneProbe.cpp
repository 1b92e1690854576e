// The application as it runs, which opens the split agent pane once the desktop has framed its
// window and prints "split <width>" (the window's width then) once the pane is laid out, for a test
// to look at the window from outside.

#include "app/OrvaneApp.h"
#include "app/OrvaneMainWindow.h"
#include "app/RootView.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/thread/AgentThreadPane.h"
#include "ide/views/thread/CampaignThreadWorkbenchView.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"
#include "ide/views/window/DestinationArea.h"

#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    return orvane::runOrvane(argc, argv, [](orvane::OrvaneMainWindow &window) {
        auto *poll = new QTimer(&window);
        auto split = std::make_shared<bool>(false);
        QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, split] {
            orvane::CampaignIDEWorkspaceView *workspace = window.rootView()->workspace();
            if (!workspace || window.frameGeometry().size() == window.size())
                return;
            const auto *workbench
                = qobject_cast<orvane::CampaignThreadWorkbenchView *>(workspace->destinationArea()->currentView());
            const std::optional<orvane::CampaignIDEThread> thread = workspace->model()->activeThread();
            if (!workbench || !thread)
                return;
            if (!*split) {
                *split = true;
                workspace->model()->toggleSplitAgentPane(thread->id);
                return;
            }
            if (!workbench->secondaryPane() || !workbench->secondaryPane()->isVisible()
                || window.width() < window.minimumWidth())
                return;
            poll->stop();
            std::printf("split %d\n", window.width());
            std::fflush(stdout);
        });
        poll->start(100);
    });
}
