// The workspace model's folder mirror, local files and reports: each is kept by the mirror store;
// the model hands it the projects and threads it writes.

#include "ide/model/CampaignIDEWorkspaceModel.h"

#include "ide/model/ThreadList.h"
#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceFiles.h"
#include "ide/model/WorkspaceMirror.h"
#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace orvane {

using namespace Qt::StringLiterals;

const QString &CampaignIDEWorkspaceModel::localWorkspaceRoot() const
{
    return m_mirror->workspaceRoot();
}

QString CampaignIDEWorkspaceModel::shownWorkspaceRoot() const
{
    return m_mirror->shownWorkspaceRoot();
}

// --- Project folders and their files --------------------------------------------------------------

void CampaignIDEWorkspaceModel::assignProjectFolders()
{
    m_mirror->assignProjectFolders(projects());
}

void CampaignIDEWorkspaceModel::moveProjectFolder(const CampaignIDEProject &renamed)
{
    // The mirror sends the thread files waiting for the old folder to the new one; no thread is
    // written again from here, so a thread whose body is still on disk is never written.
    m_mirror->moveProjectFolder(renamed, projects());
}

QString CampaignIDEWorkspaceModel::projectFolderName(const CampaignIDEProject &project) const
{
    return m_mirror->projectFolderName(project);
}

QString CampaignIDEWorkspaceModel::projectFolderPath(const CampaignIDEProject &project) const
{
    return m_mirror->projectFolderPath(project);
}

void CampaignIDEWorkspaceModel::syncProjectToLocalDisk(const CampaignIDEProject &project)
{
    m_mirror->syncProject(project);
}

void CampaignIDEWorkspaceModel::syncAllProjectsToLocalDisk()
{
    for (const CampaignIDEProject &project : projects())
        m_mirror->syncProject(project);
    reloadLocalFilesForSelectedProject();
}

void CampaignIDEWorkspaceModel::forceSyncLocalFiles(const QString &successNotice)
{
    (void)scheduleFailedSaves();
    if (m_storedThreadFiles) {
        // The thread files of the folders the pass has not reached yet are not known here.
        m_forceSyncAfterPass = successNotice;
        return;
    }
    m_mirror->forceSync(projects(), successNotice);
    reloadLocalFilesForSelectedProject();
}

void CampaignIDEWorkspaceModel::syncThreadArtifactsToDisk(const CampaignIDEThread &thread)
{
    if (hasThreadBody(thread.id))
        mirrorThreadFiles(thread);
}

void CampaignIDEWorkspaceModel::mirrorThreadFiles(const CampaignIDEThread &whole)
{
    if (const CampaignIDEProject *project = this->project(whole.projectID))
        m_mirror->syncThreadFiles(whole, *project, project->id == selectedProjectID());
}

void CampaignIDEWorkspaceModel::saveThreadToLocalWorkspace(const QUuid &threadID)
{
    std::optional<CampaignIDEThread> thread;
    std::optional<CampaignIDEProject> threadProject;
    if (const CampaignIDEThread *found = m_threadList->wholeThread(threadID)) {
        thread = *found;
        if (const CampaignIDEProject *project = this->project(found->projectID))
            threadProject = *project;
    }
    m_mirror->saveThreadFiles(thread, threadProject, selectedProject());
}

std::optional<LocalWorkspaceFile> CampaignIDEWorkspaceModel::campaignPlanFile() const
{
    return m_mirror->localFileNamed(campaignPlanFileName);
}

void CampaignIDEWorkspaceModel::updateCampaignPlanFileContent(const QString &text)
{
    m_mirror->updateLocalFileNamed(campaignPlanFileName, text);
}

void CampaignIDEWorkspaceModel::saveCampaignPlanFile()
{
    // Another file's text must never go out under this file's name, nor its success be reported.
    m_mirror->setSelectedLocalFileName(campaignPlanFileName);
    if (!m_mirror->saveLocalFileNamed(campaignPlanFileName))
        flashNotice(
            campaignPlanFileName + u" is not in the project's folder; nothing was saved."_s, NoticeKind::warning);
}

InFlightTasks::Watch CampaignIDEWorkspaceModel::projectMirrors() const
{
    return m_mirror->projectMirrors();
}

// --- Local files ----------------------------------------------------------------------------------

void CampaignIDEWorkspaceModel::reloadLocalFilesForSelectedProject()
{
    m_mirror->reloadLocalFiles(selectedProject());
}

void CampaignIDEWorkspaceModel::openThreadTranscript(const QUuid &threadID)
{
    const CampaignIDEThread *thread = this->thread(threadID);
    if (!thread)
        return;
    const CampaignIDEProject *owner = project(thread->projectID);
    selectWorkbenchView(IDEWorkbenchView::localFiles, threadID);
    if (!owner)
        return;
    // Selected by its place, so the selection holds once the listing under way brings the file.
    const QString path = projectFolderPath(*owner) + u'/' + QStringView(WorkspaceFiles::transcriptFileName);
    m_mirror->selectLocalFile(QUrl::fromLocalFile(path).toLocalFile());
}

const QList<LocalWorkspaceFile> &CampaignIDEWorkspaceModel::localFiles() const
{
    return m_mirror->localFiles();
}

const std::optional<QString> &CampaignIDEWorkspaceModel::selectedLocalFileID() const
{
    return m_mirror->selectedLocalFileID();
}

void CampaignIDEWorkspaceModel::selectLocalFile(const QString &id)
{
    m_mirror->selectLocalFile(id);
}

std::optional<LocalWorkspaceFile> CampaignIDEWorkspaceModel::selectedLocalFile() const
{
    return m_mirror->selectedLocalFile();
}

void CampaignIDEWorkspaceModel::updateSelectedLocalFileContent(const QString &text)
{
    m_mirror->updateSelectedLocalFileContent(text);
}

QString CampaignIDEWorkspaceModel::localFileEditorContent() const
{
    return m_mirror->localFileEditorContent();
}

QString CampaignIDEWorkspaceModel::selectedLocalFileName() const
{
    return m_mirror->selectedLocalFileName();
}

void CampaignIDEWorkspaceModel::setLocalFileEditorContent(const QString &text)
{
    m_mirror->updateSelectedLocalFileContent(text);
}

void CampaignIDEWorkspaceModel::setSelectedLocalFileName(const QString &name)
{
    m_mirror->setSelectedLocalFileName(name);
}

void CampaignIDEWorkspaceModel::saveSelectedLocalFile()
{
    m_mirror->saveSelectedLocalFile();
}

bool CampaignIDEWorkspaceModel::hasUnsavedLocalFiles() const
{
    return m_mirror->hasUnsavedLocalFiles();
}

void CampaignIDEWorkspaceModel::saveAllLocalFiles()
{
    m_mirror->saveAllLocalFiles();
}

void CampaignIDEWorkspaceModel::discardUnsavedLocalFiles()
{
    m_mirror->discardUnsavedLocalFiles();
}

void CampaignIDEWorkspaceModel::keepUnsavedLocalFilesAside()
{
    m_mirror->keepUnsavedLocalFilesAside();
}

QString CampaignIDEWorkspaceModel::revealFolderPath() const
{
    return m_mirror->revealFolderPath(selectedProject());
}

void CampaignIDEWorkspaceModel::finishBeforeQuit()
{
    // Saves asked for before the quit land first, so that only text nobody saved is kept aside.
    m_mirror->flushUserData();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    m_mirror->keepUnsavedLocalFilesAside();
}

void CampaignIDEWorkspaceModel::bringBackKeptText()
{
    // A read-only window leaves the copy to the window that can write.
    if (m_disk->rescue().keptText().isEmpty() || platform::writesRefused())
        return;
    m_disk->enqueue([this, root = localWorkspaceRoot()](WorkspaceDiskQueue &disk) {
        QStringList kept;
        QList<StoreRescue::KeptText> settled;
        QString failure;
        for (const StoreRescue::KeptText &text : disk.rescue().keptText()) {
            if (!text.keptAs.isEmpty()) {
                kept.append(WorkspaceFiles::shownPath(text.keptAs));
                settled.append(text);
                continue;
            }
            // Written beside its file as the quit would have, never over anything, and only in a folder
            // of the workspace: the copy does not send text anywhere else.
            QString beside;
            QString error;
            if (QDir::cleanPath(text.path) != text.path || !text.path.startsWith(root + u'/')) {
                error = u"it is not in "_s + shownWorkspaceRoot();
            } else if (platform::makeFolderWithin(root, QFileInfo(text.path).path(), &error)) {
                // Named once its folder is there: where it is not, no name in it counts as free.
                beside = WorkspaceFiles::besidePath(text.path, u"unsaved");
                if (beside.isEmpty())
                    error = QString::fromUtf16(WorkspaceFiles::everyNameTaken);
            }
            if (!beside.isEmpty() && platform::writeFileAtomically(beside, text.text.toUtf8(), &error)) {
                kept.append(WorkspaceFiles::shownPath(beside));
                settled.append(text);
                continue;
            }
            if (failure.isEmpty())
                failure = WorkspaceFiles::shownPath(text.path) + u": "_s + error;
        }
        disk.rescue().settleKeptText(settled);
        QString notice;
        if (!kept.isEmpty())
            notice = u"Orvane kept the text you had not saved when it last quit: "_s + StoreRescue::listed(kept) + u'.';
        if (!failure.isEmpty()) {
            // Named where the user can open it meanwhile.
            const std::optional<QString> copy = disk.rescue().keep();
            notice += (notice.isEmpty() ? QString() : u" "_s)
                + u"Text you had not saved could not be put back beside its file ("_s + failure
                + u"); the rescue copy "_s + (copy ? WorkspaceFiles::shownPath(*copy) + u' ' : QString())
                + u"keeps it for the next start."_s;
        }
        // Text put back beside its file is for the user to look over: a warning, as a failure is.
        if (const std::optional<HeldNotice> held = std::exchange(m_heldRescueNotice, std::nullopt))
            notice = held->text + (notice.isEmpty() ? QString() : u" "_s) + notice;
        noticeLater(notice, NoticeKind::warning);
    });
}

// --- Reports --------------------------------------------------------------------------------------

const QList<ReportArtifact> &CampaignIDEWorkspaceModel::reports() const
{
    return m_mirror->reports();
}

void CampaignIDEWorkspaceModel::setReports(const QList<ReportArtifact> &reports)
{
    m_mirror->setReports(reports);
}

const std::optional<ReportArtifact> &CampaignIDEWorkspaceModel::selectedReport() const
{
    return m_mirror->selectedReport();
}

void CampaignIDEWorkspaceModel::setSelectedReport(const std::optional<ReportArtifact> &report)
{
    m_mirror->setSelectedReport(report);
}

void CampaignIDEWorkspaceModel::createLocalReport(const QString &title, const QString &kind)
{
    m_mirror->createLocalReport(title, kind);
}

} // namespace orvane
