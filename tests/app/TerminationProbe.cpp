// The application as it runs, with text typed into Local Files and not saved: prints
// "edited <path of the file>" once it is and the start-up writes are done, for a test to end the
// process from outside.

#include "app/OrvaneApp.h"
#include "app/OrvaneMainWindow.h"
#include "app/RootView.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"

#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    return orvane::runOrvane(argc, argv, [](orvane::OrvaneMainWindow &window) {
        auto *poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, &window, [&window, poll] {
            orvane::CampaignIDEWorkspaceView *workspace = window.rootView()->workspace();
            if (!workspace)
                return;
            orvane::CampaignIDEWorkspaceModel *model = workspace->model();
            // The start-up pass writes the project folders: a test that changes a folder waits for it.
            if (model->isSyncingStoredThreadFiles())
                return;
            model->flushPendingWrites(); // the file list is read on the writer
            const auto file = model->selectedLocalFile();
            if (!file)
                return;
            poll->stop();
            model->updateSelectedLocalFileContent(u"typed before the signal"_s);
            std::printf("edited %s\n", qPrintable(file->url.toLocalFile()));
            std::fflush(stdout);
        });
        poll->start(50);
    });
}
