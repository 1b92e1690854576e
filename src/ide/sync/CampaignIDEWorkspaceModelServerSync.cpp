// The server side of the workspace model: its transfer bounds and identity (kept by the sync
// store), the session's binding, and the merge of what a refresh brings into the local lists.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/sync/RemoteProjectMerge.h"
#include "ide/sync/ServerSync.h"
#include "ide/sync/ServerSyncState.h"

#include <QtConcurrent/QtConcurrentRun>

#include <QCoro/QCoroFuture>

using namespace Qt::StringLiterals;

namespace orvane {

bool CampaignIDEWorkspaceModel::isSyncingServer() const
{
    return m_serverSync->isSyncingServer();
}

void CampaignIDEWorkspaceModel::setSyncingServer(bool syncing)
{
    m_serverSync->setSyncingServer(syncing);
}

const TransferLimits &CampaignIDEWorkspaceModel::serviceLimits() const
{
    return m_serverSync->serviceLimits();
}

void CampaignIDEWorkspaceModel::setServiceLimits(const TransferLimits &limits)
{
    m_serverSync->setServiceLimits(limits);
}

std::chrono::milliseconds CampaignIDEWorkspaceModel::serviceTransferTimeout() const
{
    return m_serverSync->serviceLimits().idleTimeout;
}

void CampaignIDEWorkspaceModel::setServiceTransferTimeout(std::chrono::milliseconds timeout)
{
    TransferLimits limits = m_serverSync->serviceLimits();
    limits.idleTimeout = timeout;
    m_serverSync->setServiceLimits(limits);
}

std::chrono::milliseconds CampaignIDEWorkspaceModel::streamedReplyDeadline() const
{
    return m_serverSync->streamedReplyDeadline();
}

void CampaignIDEWorkspaceModel::setStreamedReplyDeadline(std::chrono::milliseconds deadline)
{
    m_serverSync->setStreamedReplyDeadline(deadline);
}

qsizetype CampaignIDEWorkspaceModel::streamedReplyMaxBytes() const
{
    return m_serverSync->streamedReplyMaxBytes();
}

void CampaignIDEWorkspaceModel::setStreamedReplyMaxBytes(qsizetype bytes)
{
    m_serverSync->setStreamedReplyMaxBytes(bytes);
}

const CampaignIDEWorkspaceModel::Identity &CampaignIDEWorkspaceModel::identity() const
{
    return m_serverSync->identity();
}

void CampaignIDEWorkspaceModel::setIdentity(const Identity &identity)
{
    m_serverSync->setIdentity(identity);
}

OrvaneAPIClient CampaignIDEWorkspaceModel::ServerSync::clientFor(
    const CampaignIDEWorkspaceModel &model, SessionStore &session, const QObject *lifetime)
{
    return model.m_serverSync->clientFor(session, lifetime);
}

void CampaignIDEWorkspaceModel::bindSession(SessionStore &session)
{
    m_serverSync->setIdentity(ServerSyncState::identityOf(session));

    if (!m_copilotStore)
        return;
    // The provider asks the session anew on every call; once the session is gone it hands out a
    // client without key or network, whose requests fail at once.
    const QPointer<SessionStore> guard(&session);
    const OrvaneEnvironment environment = session.environment();
    m_copilotStore->setClientProvider([guard, environment] {
        if (guard)
            return guard->client();
        return OrvaneAPIClient(environment, std::nullopt, nullptr);
    });
    m_copilotStore->activate(copilotContext());
}

QCoro::Task<> CampaignIDEWorkspaceModel::loadLiveContext(SessionStore &session)
{
    return refreshFromServer(session);
}

QCoro::Task<> CampaignIDEWorkspaceModel::refreshFromServer(SessionStore &session)
{
    return m_serverSync->refresh(session);
}

QCoro::Task<> CampaignIDEWorkspaceModel::ServerSync::apply(
    QPointer<CampaignIDEWorkspaceModel> model, Fetched fetched, ServerSyncState::IsCurrent isCurrent)
{
    if (!model)
        co_return;
    if (fetched.projects && !fetched.projects->projects.isEmpty()) {
        const QList<Project> remote = fetched.projects->projects;
        const QList<CampaignIDEProject> base = model->projects();
        // The lists are implicitly shared copies: the worker touches nothing of the model. The
        // future is made before the await, so that no temporary lives across the suspension.
        const QFuture<QList<CampaignIDEProject>> merging = QtConcurrent::run([base, remote] {
            return RemoteProjectMerge::merge(base, remote, &CampaignIDEWorkspaceModel::planDerivedArtboards);
        });
        QList<CampaignIDEProject> merged = co_await merging;
        if (!model || !isCurrent())
            co_return;
        // A project changed while the worker ran (a rename, one added or deleted) is not undone:
        // the merge is made again over the list as it is now. Unchanged, the list still shares its
        // data with the snapshot and this test costs nothing.
        if (model->projects() != base)
            merged = RemoteProjectMerge::merge(model->projects(), remote, &planDerivedArtboards);
        if (merged != model->projects())
            model->setProjects(merged);
    }
    if (fetched.reports) {
        model->setReports(fetched.reports->artifacts);
        // A report already selected stays selected, even when the new list no longer holds it.
        if (!model->selectedReport() && !fetched.reports->artifacts.isEmpty())
            model->setSelectedReport(fetched.reports->artifacts.first());
    }
    if (fetched.approvals)
        model->setPendingActions(fetched.approvals->actions);
    model->savePersistedProjects();
    model->syncAllProjectsToLocalDisk();
}

} // namespace orvane
