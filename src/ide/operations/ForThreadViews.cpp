// Operations of the thread workbench that have no other home: the secondary agent pane's tab
// choice and the workbench header's "Save Local".

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceFiles.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace orvane {

void CampaignIDEWorkspaceModel::showAgentTabInSplit(const QUuid &tabID, const QUuid &threadID)
{
    mutateThread(threadID, [&tabID](CampaignIDEThread &thread) { thread.splitAgentTabID = tabID; });
}

void CampaignIDEWorkspaceModel::saveThreadToLocalWorkspace(const QUuid &threadID)
{
    std::optional<CampaignIDEThread> thread;
    std::optional<QString> threadFolder;
    for (const CampaignIDEThread &candidate : std::as_const(m_threads)) {
        if (candidate.id != threadID)
            continue;
        thread = candidate;
        for (const CampaignIDEProject &project : std::as_const(m_projects)) {
            if (project.id == candidate.projectID) {
                threadFolder = projectFolderPath(project);
                break;
            }
        }
        break;
    }
    std::optional<QString> projectFolder;
    if (const std::optional<CampaignIDEProject> project = selectedProject()) {
        syncProjectFolder(*project, WorkspaceDiskQueue::Lane::user);
        projectFolder = projectFolderPath(*project);
    }

    // The notice waits for the writer: it names a failure instead of claiming a save that did not
    // happen. The project mirror above runs first (the writer keeps the order of requests).
    QObject *receiver = this; // queued calls to it are dropped once it is gone
    m_disk->enqueue([thread, threadFolder, projectFolder, receiver, shownRoot = shownWorkspaceRoot()](
                        WorkspaceDiskQueue &disk) {
        QString failure;
        if (!thread || !threadFolder) {
            failure = u"this thread's campaign project no longer exists"_s;
        } else {
            QDir().mkpath(*threadFolder);
            QString error;
            if (!disk.writeGenerated(*threadFolder + u'/' + QStringView(WorkspaceFiles::mediaPlanFileName),
                    WorkspaceFiles::mediaPlanCsv(thread->mediaPlanRows), &error)
                && !error.isEmpty())
                failure = error;
            try {
                error.clear();
                if (!disk.writeGenerated(*threadFolder + u'/' + QStringView(WorkspaceFiles::transcriptFileName),
                        WorkspaceFiles::threadTranscriptJson(*thread), &error)
                    && !error.isEmpty() && failure.isEmpty())
                    failure = error;
            } catch (const JsonError &) {
                if (failure.isEmpty())
                    failure = u"thread-transcript.json could not be encoded"_s;
            }
        }
        if (failure.isEmpty() && projectFolder) {
            for (const QStringView name :
                { QStringView(WorkspaceFiles::planFileName), QStringView(WorkspaceFiles::creativesFileName) }) {
                if (!QFileInfo(*projectFolder + u'/' + name).isFile()) {
                    failure = name + u" could not be written"_s;
                    break;
                }
            }
        }
        const QString notice = failure.isEmpty()
            ? QString(u"Saved campaign-plan.md, media-plan.csv, and creatives.json to "_s % shownRoot % u'.')
            : QString(u"Could not save to "_s % shownRoot % u": "_s % failure);
        QMetaObject::invokeMethod(
            receiver, [receiver, notice] { static_cast<CampaignIDEWorkspaceModel *>(receiver)->flashNotice(notice); },
            Qt::QueuedConnection);
    });
}

} // namespace orvane
