// The server refresh of the workspace model: the session's identity, the three fetches and the
// merge of the service's projects into the local list.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/sync/RemoteProjectMerge.h"
#include "ide/sync/ServerSync.h"
#include "ide/sync/ServerSyncState.h"

#include <QNetworkAccessManager>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

// Turns any failure of a request (transport, status, decoding, cancellation) into no result.
template <typename T> QCoro::Task<std::optional<T>> attempt(QCoro::Task<T> request)
{
    try {
        co_return co_await std::move(request);
    } catch (...) {
        co_return std::nullopt;
    }
}

} // namespace

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
    bindSession(session);
    const ServerSyncState::Refresh refresh = m_serverSync->beginRefresh();
    return ServerSync::refresh(QPointer<CampaignIDEWorkspaceModel>(this), refresh.generation,
        ServerSync::clientFor(*this, session, refresh.lifetime));
}

QCoro::Task<> CampaignIDEWorkspaceModel::ServerSync::refresh(
    QPointer<CampaignIDEWorkspaceModel> model, quint64 generation, OrvaneAPIClient client)
{
    // All three start before the first is awaited; nothing is applied before all have ended.
    auto projects = attempt(client.projects());
    auto reports = attempt(client.reports());
    auto approvals = attempt(client.pendingActions());
    Fetched fetched;
    fetched.projects = co_await projects;
    fetched.reports = co_await reports;
    fetched.approvals = co_await approvals;
    if (!model || !model->m_serverSync->isCurrent(generation))
        co_return;
    apply(*model, fetched);
    model->m_serverSync->finishRefresh();
}

void CampaignIDEWorkspaceModel::ServerSync::apply(CampaignIDEWorkspaceModel &model, const Fetched &fetched)
{
    if (fetched.projects && !fetched.projects->projects.isEmpty()) {
        QList<CampaignIDEProject> merged
            = RemoteProjectMerge::merge(model.projects(), fetched.projects->projects, &planDerivedArtboards);
        if (merged != model.projects())
            model.setProjects(merged);
    }
    if (fetched.reports) {
        model.setReports(fetched.reports->artifacts);
        // A report already selected stays selected, even when the new list no longer holds it.
        if (!model.selectedReport() && !fetched.reports->artifacts.isEmpty())
            model.setSelectedReport(fetched.reports->artifacts.first());
    }
    if (fetched.approvals)
        model.setPendingActions(fetched.approvals->actions);
    model.savePersistedProjects();
    model.syncAllProjectsToLocalDisk();
}

} // namespace orvane
