// Project lifecycle (creation with its service mirror, deletion), the creative artboard operations,
// the plan header edits and the platform connection switch.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceMirror.h"
#include "ide/operations/WorkspaceOperationTexts.h"

#include "kit/session/SessionStore.h"

#include <QPointer>
#include <QStringBuilder>

#include <QCoro/QCoroTask>

#include <algorithm>
#include <exception>

using namespace Qt::StringLiterals;

namespace orvane {

using workspace_operations::justNow;
using workspace_operations::now;

namespace {

// Creates the project on the service and links the local project to it. Every failure is silent:
// the project stays local. The project is found again by id, so a deletion meanwhile is harmless.
QCoro::Task<> mirrorProjectToService(QPointer<CampaignIDEWorkspaceModel> model, QUuid projectID, OrvaneAPIClient client,
    QString name, QString description, InFlightTasks::Token /*running*/)
{
    client.setLifetime(model.data()); // the transfer ends with the model
    QString serverID;
    try {
        auto request = client.createProject(name, description);
        const ProjectResponse response = co_await request;
        serverID = response.project.id;
    } catch (const std::exception &) {
        co_return;
    }
    if (!model)
        co_return;
    model->mutateProject(projectID, [&serverID](CampaignIDEProject &project) { project.serverID = serverID; });
}

bool holdsArtboard(const CampaignIDEProject &project, const QUuid &artboardID)
{
    return std::any_of(project.creatives.cbegin(), project.creatives.cend(),
        [&artboardID](const CreativeCanvasArtboard &artboard) { return artboard.id == artboardID; });
}

// The artboard of the selected project with this id, if any.
CreativeCanvasArtboard *findArtboard(CampaignIDEProject &project, const QUuid &artboardID)
{
    for (CreativeCanvasArtboard &artboard : project.creatives) {
        if (artboard.id == artboardID)
            return &artboard;
    }
    return nullptr;
}

} // namespace

// --- Project lifecycle ----------------------------------------------------------------------------

QUuid CampaignIDEWorkspaceModel::createProject(QString name, std::optional<QString> objective, SessionStore *session)
{
    std::optional<OrvaneAPIClient> client;
    // Only a signed-in account that may write gets the project on the service: without an account
    // the name and objective must not leave the machine at all.
    if (session) {
        const auto account = session->account();
        if (account && !account->readOnly)
            client = session->client();
    }
    return createProject(std::move(name), std::move(objective), client);
}

QUuid CampaignIDEWorkspaceModel::createProject(
    QString name, std::optional<QString> objective, const std::optional<OrvaneAPIClient> &client)
{
    const QUuid id = QUuid::createUuid();
    const QString trimmedObjective = std::move(objective).value_or(QString()).trimmed();
    const CampaignIDEProject project {
        .id = id,
        .serverID = std::nullopt,
        .name = std::move(name),
        .status = u"Plan ready"_s,
        .updated = now(),
        .objective = trimmedObjective.isEmpty()
            ? u"Generate qualified pipeline and demos across high-intent search and social channels."_s
            : trimmedObjective,
        .audience = u"Performance marketing leaders and growth engineers at B2B SaaS and commerce companies."_s,
        .channelsAndBudget
        = u"Google Search + LinkedIn Sponsored Content · $5,000 test flight · optimize for qualified demos."_s,
        .message = u"One local & cloud IDE for planning, creative production, governed execution, and lift "
                   u"attribution."_s,
        .guardrails = u"Verify conversion tracking and destination URLs. Every external budget or campaign "
                      u"mutation requires explicit approval."_s,
        .hasPlan = true,
        .creatives = planDerivedArtboards(id),
        .isLaunched = false,
    };
    insertProject(0, project);
    syncProjectToLocalDisk(project);
    openProject(id);

    if (client) {
        // Not stored and never cancelled: it ends by itself, early when the model goes.
        (void)mirrorProjectToService(QPointer<CampaignIDEWorkspaceModel>(this), id, *client, project.name,
            project.objective, m_mirror->beginProjectMirror());
    }
    return id;
}

void CampaignIDEWorkspaceModel::deleteProject(QUuid projectID)
{
    // Only the first project with the id goes: a list that holds the id twice (a damaged or older
    // state file) keeps the other project, and with it the threads of that id.
    if (const CampaignIDEProject *target = project(projectID)) {
        // identity: read-only access never moves elements
        removeProjects([target](const CampaignIDEProject &candidate) { return &candidate == target; });
    }
    const bool idStillUsed = project(projectID) != nullptr;
    if (!idStillUsed)
        removeThreads(
            [&projectID](const CampaignIDEThread &thread) { return thread.projectID == projectID; }, Save::no);
    savePersistedProjects();
    savePersistedThreads();
    if (!idStillUsed && selectedProjectID() == projectID) {
        const std::optional<QUuid> next
            = projects().isEmpty() ? std::nullopt : std::optional<QUuid>(projects().first().id);
        setSelectedProjectID(next);
        if (m_notificationCenter)
            m_notificationCenter->setProjectFilter(next);
    }
}

// --- Artboards ------------------------------------------------------------------------------------

void CampaignIDEWorkspaceModel::selectArtboard(QUuid artboardID)
{
    const auto project = selectedProject();
    if (!project || !holdsArtboard(*project, artboardID))
        return;
    setSelectedArtboardID(artboardID);
    setCanvasTool(CreativeCanvasTool::select);
    if (m_copilotStore)
        m_copilotStore->activate(copilotContext());
}

void CampaignIDEWorkspaceModel::updateSelectedHeadline(const QString &text)
{
    if (!selectedArtboardID())
        return;
    const QUuid artboardID = *selectedArtboardID();
    mutateSelectedProject([&](CampaignIDEProject &project) {
        CreativeCanvasArtboard *artboard = findArtboard(project, artboardID);
        if (!artboard)
            return;
        artboard->headline = text;
        artboard->requiresRereview
            = artboard->requiresRereview || artboard->reviewStatus == CreativeReviewStatus::approved;
        artboard->isDirty = true;
        artboard->reviewStatus = CreativeReviewStatus::needsReview;
        project.setStatusUnlessLaunched(u"Creative review"_s);
        project.updated = now();
    });
}

void CampaignIDEWorkspaceModel::setSelectedArtboardReview(CreativeReviewStatus status)
{
    if (!selectedArtboardID())
        return;
    const QUuid artboardID = *selectedArtboardID();
    mutateSelectedProject([&](CampaignIDEProject &project) {
        CreativeCanvasArtboard *artboard = findArtboard(project, artboardID);
        if (!artboard)
            return;
        artboard->reviewStatus = status;
        artboard->isDirty = false;
        artboard->requiresRereview = false;
        project.setStatusUnlessLaunched(
            project.approvedCreativeCount() == project.creatives.size() ? u"Ready to execute"_s : u"Creative review"_s);
        project.updated = now();
    });
}

void CampaignIDEWorkspaceModel::addArtboard(
    const QString &platform, const QString &format, const QString &headline, int width, int height)
{
    const CreativeCanvasArtboard artboard {
        .id = QUuid::createUuid(),
        .platform = platform,
        .format = format,
        .headline = headline,
        .width = width,
        .height = height,
        .reviewStatus = CreativeReviewStatus::needsReview,
        .isDirty = false,
        .requiresRereview = false,
    };
    mutateSelectedProject([&artboard](CampaignIDEProject &project) {
        project.creatives.append(artboard);
        project.setStatusUnlessLaunched(u"Creative review"_s);
        project.updated = now();
    });
    setSelectedArtboardID(artboard.id);
}

void CampaignIDEWorkspaceModel::approveAllCreatives()
{
    mutateSelectedProject([](CampaignIDEProject &project) {
        for (CreativeCanvasArtboard &artboard : project.creatives) {
            artboard.reviewStatus = CreativeReviewStatus::approved;
            artboard.isDirty = false;
            artboard.requiresRereview = false;
        }
        project.setStatusUnlessLaunched(project.creatives.isEmpty() ? u"Creative review"_s : u"Ready to execute"_s);
        project.updated = now();
    });
    flashNotice(u"All artboards approved. Campaign is ready for execution review."_s);
}

void CampaignIDEWorkspaceModel::setArtboardReviewStatus(QUuid artboardID, CreativeReviewStatus status)
{
    const auto project = selectedProject();
    if (!project || !holdsArtboard(*project, artboardID))
        return;
    setSelectedArtboardID(artboardID);
    setSelectedArtboardReview(status);
}

void CampaignIDEWorkspaceModel::updateArtboardHeadline(QUuid artboardID, const QString &text)
{
    const auto project = selectedProject();
    if (!project || !holdsArtboard(*project, artboardID))
        return;
    setSelectedArtboardID(artboardID);
    updateSelectedHeadline(text);
}

// --- Project edits and platform connections -------------------------------------------------------

std::optional<QUuid> CampaignIDEWorkspaceModel::planEditTargetProjectID() const
{
    if (selectedProjectID())
        return selectedProject() ? selectedProjectID() : std::nullopt;
    if (projects().isEmpty())
        return std::nullopt;
    return projects().first().id;
}

namespace {

// Stores a text field of the plan document in the project it edits, stamped "Now".
void editPlanField(CampaignIDEWorkspaceModel &model, QString CampaignIDEProject::*field, const QString &text)
{
    if (const std::optional<QUuid> target = model.planEditTargetProjectID()) {
        model.mutateProject(*target, [&](CampaignIDEProject &project) {
            project.*field = text;
            project.updated = now();
        });
    }
}

} // namespace

void CampaignIDEWorkspaceModel::updateSelectedProjectObjective(const QString &text)
{
    editPlanField(*this, &CampaignIDEProject::objective, text);
}

void CampaignIDEWorkspaceModel::updateSelectedProjectAudience(const QString &text)
{
    editPlanField(*this, &CampaignIDEProject::audience, text);
}

void CampaignIDEWorkspaceModel::updateSelectedProjectName(const QString &name)
{
    const auto target = planEditTargetProjectID();
    if (!target)
        return;
    const QString newName = name; // the caller's text may live in the list
    if (const CampaignIDEProject *project = this->project(*target)) {
        CampaignIDEProject renamed = *project;
        renamed.name = newName;
        moveProjectFolder(renamed); // first, so that the writes below go to the new folder
    }
    mutateProject(*target, [&newName](CampaignIDEProject &project) {
        project.name = newName;
        project.updated = justNow();
    });
}

void CampaignIDEWorkspaceModel::updateSelectedProjectBudget(const QString &text)
{
    const auto target = planEditTargetProjectID();
    if (!target)
        return;
    const std::optional<QString> amount = CampaignIDEProject::normalizedBudget(text);
    if (!amount) {
        flashNotice(u"The monthly budget must be an amount such as $5,000 or $12k."_s, NoticeKind::warning);
        return;
    }
    mutateProject(*target, [&amount](CampaignIDEProject &project) {
        project.replaceBudget(*amount);
        project.updated = justNow();
    });
}

void CampaignIDEWorkspaceModel::toggleConnection(QString connectionID)
{
    using Mode = CampaignPlatformConnection::ConnectionMode;
    QList<CampaignPlatformConnection> connections = m_connections;
    const auto connection = std::find_if(connections.begin(), connections.end(),
        [&connectionID](const CampaignPlatformConnection &c) { return c.id == connectionID; });
    if (connection == connections.end())
        return;
    QString notice;
    switch (connection->mode) {
    case Mode::localSandbox:
        connection->mode = Mode::cloudConnected;
        notice = u"Switched "_s % connection->name % u" to Cloud OAuth mode."_s;
        break;
    case Mode::cloudConnected:
        connection->mode = Mode::localSandbox;
        notice = u"Switched "_s % connection->name % u" to Local Sandbox mode."_s;
        break;
    case Mode::disconnected:
        connection->mode = Mode::localSandbox;
        notice = u"Connected "_s % connection->name % u" in Local Sandbox mode."_s;
        break;
    }
    connection->lastSynced = justNow();
    setConnections(connections);
    flashNotice(notice);
}

} // namespace orvane
