#include "ide/views/window/WorkspaceWindowController.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/sync/LocalReport.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace orvane {

CampaignIDEWorkspaceModel *WorkspaceWindowController::model() const
{
    return m_model;
}

QString WorkspaceWindowController::forceSyncNotice(const QString &shownRoot)
{
    return u"Synced all campaign projects and threads to "_s + shownRoot + u'.';
}

WorkspaceWindowController::WorkspaceWindowController(CampaignIDEWorkspaceModel *model, SessionStore *session,
    WorkspaceWindowState *state, std::function<void()> onRequestCloudSignIn,
    std::function<void(const QString &)> revealFolder, QObject *parent)
    : QObject(parent),
      m_model(model),
      m_session(session),
      m_state(state),
      m_onRequestCloudSignIn(std::move(onRequestCloudSignIn)),
      m_revealFolder(std::move(revealFolder))
{
}

void WorkspaceWindowController::startQuickThread()
{
    if (!m_model)
        return;
    std::optional<QUuid> projectHint = m_model->selectedProjectID();
    if (!projectHint && !m_model->projects().isEmpty())
        projectHint = m_model->projects().constFirst().id;
    CampaignIDEWorkspaceModel::NewThread request;
    request.projectID = projectHint;
    m_model->createNewThread(request, m_session);
}

void WorkspaceWindowController::openCommandPalette()
{
    if (!m_model || !m_state)
        return;
    m_state->setCommandQuery(QString());
    m_state->setShowingCommandPalette(true);
}

void WorkspaceWindowController::openNewProjectSheet(bool clearName)
{
    if (!m_state)
        return;
    if (clearName)
        m_state->setNewProjectName(QString());
    m_state->setShowingNewProjectSheet(true);
}

void WorkspaceWindowController::openNewThreadSheet(bool clearTexts, bool resetPersona)
{
    if (!m_state)
        return;
    if (clearTexts) {
        m_state->setNewThreadTitle(QString());
        m_state->setNewThreadPrompt(QString());
    }
    if (resetPersona)
        m_state->setNewThreadPersona(WorkspaceWindowState::operatorPersona());
    m_state->setShowingNewThreadSheet(true);
}

void WorkspaceWindowController::homeNewProject()
{
    if (m_model)
        openNewProjectSheet(m_model->primaryDestination().kind() == IDEPrimaryDestination::Kind::projects);
}

void WorkspaceWindowController::homeNewThread()
{
    if (m_model) {
        const bool clear = m_model->primaryDestination().kind() == IDEPrimaryDestination::Kind::projects;
        openNewThreadSheet(clear, /*resetPersona=*/false);
    }
}

void WorkspaceWindowController::toggleSidebar()
{
    if (m_state)
        m_state->setSidebarCollapsed(!m_state->isSidebarCollapsed());
}

void WorkspaceWindowController::toggleAgentDrawer()
{
    if (m_state)
        m_state->setAgentDrawerOpen(!m_state->agentDrawerOpen());
}

void WorkspaceWindowController::revealLocalWorkspaceInFinder()
{
    if (m_model && m_revealFolder)
        m_revealFolder(m_model->localWorkspaceRoot());
}

void WorkspaceWindowController::revealSelectedProjectInFinder()
{
    if (m_model && m_revealFolder)
        m_revealFolder(m_model->revealFolderPath());
}

void WorkspaceWindowController::revealReportsFolderInFinder()
{
    if (!m_model || !m_revealFolder)
        return;
    const QString root = m_model->localWorkspaceRoot();
    const QString reports = root + u'/' + QStringView(LocalReport::folderName);
    m_revealFolder(QFileInfo(reports).isDir() ? reports : root);
}

void WorkspaceWindowController::forceSyncLocalFiles()
{
    if (m_model)
        forceSyncLocalFilesWithNotice(forceSyncNotice(m_model->shownWorkspaceRoot()));
}

void WorkspaceWindowController::forceSyncLocalFilesWithNotice(const QString &successNotice)
{
    if (m_model)
        m_model->forceSyncLocalFiles(successNotice);
}

void WorkspaceWindowController::showWorkspaceHome()
{
    if (m_model)
        m_model->navigateTo(IDEPrimaryDestination::projects());
}

void WorkspaceWindowController::showAllProjects()
{
    if (!m_model)
        return;
    m_model->setProjectFilterID(std::nullopt);
    m_model->navigateTo(IDEPrimaryDestination::projects());
}

void WorkspaceWindowController::focusProject(const QUuid &projectID)
{
    if (!m_model)
        return;
    m_model->setProjectFilterID(projectID);
    m_model->openThread(m_model->ensureThreadID(projectID), std::nullopt);
}

void WorkspaceWindowController::requestCloudSignIn()
{
    if (m_onRequestCloudSignIn)
        m_onRequestCloudSignIn();
}

void WorkspaceWindowController::showActiveThreadWorkbench(IDEWorkbenchView view)
{
    if (!m_model)
        return;
    if (const auto thread = m_model->activeThread())
        m_model->openThread(thread->id, view);
    else if (view == IDEWorkbenchView::document)
        m_model->navigateTo(IDEPrimaryDestination::projects());
}

CampaignIDEFocusedActions WorkspaceWindowController::focusedActions()
{
    CampaignIDEFocusedActions actions;
    if (!m_model)
        return actions;
    const bool hasProject = m_model->selectedProject().has_value();
    actions.hasOpenProject = hasProject;
    // Deliberately the selection test, not the model's canExecute(): the execution review itself
    // approves the artboards first and then applies the launch gate.
    actions.canExecute = hasProject;
    actions.canOpenDashboard = true;

    // The actions outlive the window only as no-ops.
    const QPointer<WorkspaceWindowController> self(this);
    const auto act = [self](auto body) {
        return [self, body] {
            if (self)
                body(*self);
        };
    };
    actions.createProject = act([](WorkspaceWindowController &c) { c.openNewProjectSheet(true); });
    actions.showPlan
        = act([](WorkspaceWindowController &c) { c.showActiveThreadWorkbench(IDEWorkbenchView::document); });
    actions.showCreativeStudio
        = act([](WorkspaceWindowController &c) { c.showActiveThreadWorkbench(IDEWorkbenchView::canvas); });
    actions.showReports = act([](WorkspaceWindowController &c) {
        if (c.m_model)
            c.m_model->navigateTo(IDEPrimaryDestination::reports());
    });
    actions.showApprovals
        = act([](WorkspaceWindowController &c) { c.showActiveThreadWorkbench(IDEWorkbenchView::table); });
    actions.showLocalFiles
        = act([](WorkspaceWindowController &c) { c.showActiveThreadWorkbench(IDEWorkbenchView::localFiles); });
    actions.showDashboard
        = act([](WorkspaceWindowController &c) { c.showActiveThreadWorkbench(IDEWorkbenchView::dashboard); });
    actions.toggleWorkspaceAgent = act([](WorkspaceWindowController &c) { c.toggleAgentDrawer(); });
    actions.requestExecution = act([](WorkspaceWindowController &c) {
        if (c.m_model)
            c.m_model->requestExecution();
    });
    return actions;
}

} // namespace orvane
