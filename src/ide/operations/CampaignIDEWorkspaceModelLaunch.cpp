// The human-in-the-loop launch gate: the execution request, the confirmation, the launch request and
// its execution receipt.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/ThreadList.h"
#include "ide/operations/WorkspaceOperationTexts.h"

#include <QStringBuilder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane {

void CampaignIDEWorkspaceModel::requestExecution()
{
    if (!selectedProjectID()) {
        const std::optional<QUuid> first
            = projects().isEmpty() ? std::nullopt : std::optional<QUuid>(projects().first().id);
        setSelectedProjectID(first);
        if (m_notificationCenter)
            m_notificationCenter->setProjectFilter(first);
    }
    approveAllCreatives(); // also tells the operator, with or without a project
    requestLaunch();
}

void CampaignIDEWorkspaceModel::requestLaunch()
{
    if (!canExecute())
        return;
    // The confirmation states the budget and channels of the thread in front when it is the
    // project's, else of the project's first thread: that thread is read whole before it opens.
    const QUuid projectID = *selectedProjectID();
    std::optional<QUuid> shown;
    if (const auto active = activeThread(); active && active->projectID == projectID) {
        shown = active->id;
    } else {
        const auto first = std::find_if(threads().cbegin(), threads().cend(),
            [&projectID](const CampaignIDEThread &thread) { return thread.projectID == projectID; });
        if (first != threads().cend())
            shown = first->id;
    }
    if (shown)
        m_threadList->wholeThread(*shown);
    setLaunchConfirmationProjectID(projectID);
}

void CampaignIDEWorkspaceModel::cancelLaunch()
{
    setLaunchConfirmationProjectID(std::nullopt);
}

std::optional<CampaignLaunchRequest> CampaignIDEWorkspaceModel::activeLaunchRequest() const
{
    std::optional<QUuid> projectID = selectedProjectID();
    if (!projectID && !projects().isEmpty())
        projectID = projects().first().id;
    if (!projectID || launchConfirmationProjectID() != projectID)
        return std::nullopt;
    return CampaignLaunchRequest { .id = *projectID, .projectID = *projectID };
}

void CampaignIDEWorkspaceModel::setActiveLaunchRequest(const std::optional<CampaignLaunchRequest> &request)
{
    if (!request)
        setLaunchConfirmationProjectID(std::nullopt);
}

void CampaignIDEWorkspaceModel::confirmLaunch()
{
    if (!selectedProjectID() || launchConfirmationProjectID() != selectedProjectID() || !canExecute())
        return;
    const CampaignLaunchRequest request { .id = QUuid::createUuid(), .projectID = *selectedProjectID() };
    setPendingLaunchRequest(request);
    setLaunchConfirmationProjectID(std::nullopt);
    receiveExecutionReceipt(CampaignExecutionReceipt::forRequest(request, workspace_operations::justNow()));
}

void CampaignIDEWorkspaceModel::confirmExecution()
{
    confirmLaunch();
    if (const auto thread = activeThread())
        openThread(thread->id, IDEWorkbenchView::dashboard);
}

bool CampaignIDEWorkspaceModel::receiveExecutionReceipt(CampaignExecutionReceipt receipt)
{
    const CampaignIDEProject *project = this->project(receipt.projectID);
    if (!project)
        return false;
    if (!pendingLaunchRequest() || pendingLaunchRequest()->projectID != receipt.projectID
        || pendingLaunchRequest()->id != receipt.requestID)
        return false;
    const QString projectName = project->name;

    QHash<QUuid, CampaignExecutionReceipt> receipts = executionReceipts();
    receipts.insert(receipt.projectID, receipt);
    setExecutionReceipts(receipts);
    setPendingLaunchRequest(std::nullopt);
    mutateProject(receipt.projectID, [&receipt](CampaignIDEProject &launched) {
        launched.isLaunched = true;
        launched.status = workspace_operations::liveStatus();
        launched.updated = receipt.receivedAt;
    });

    if (m_notificationCenter) {
        m_notificationCenter->post(CampaignNotification {
            .id = QUuid::createUuid(),
            .projectID = receipt.projectID,
            .projectName = projectName,
            .kind = CampaignNotificationKind::executionResult,
            .title = u"Execution receipt confirmed"_s,
            .detail = u"Campaign launch receipt "_s % receipt.id % u" recorded."_s,
            .destination = CampaignNotificationDestination::dashboard,
            .artboardID = std::nullopt,
            .createdAt = receipt.receivedAt,
            .isRead = false,
        });
    }
    if (selectedProjectID() == receipt.projectID)
        setSelectedSection(CampaignIDESection::dashboard);
    flashNotice(u"Campaign launched · Receipt "_s % receipt.id);
    return true;
}

} // namespace orvane
