// The server refresh of the workspace model: the session's identity, the three fetches and the
// merge of the service's projects into the local list.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/sync/RemoteProjectMerge.h"
#include "ide/sync/ServerSync.h"

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

OrvaneAPIClient CampaignIDEWorkspaceModel::ServerSync::clientFor(
    const CampaignIDEWorkspaceModel &model, SessionStore &session, const QObject *lifetime)
{
    OrvaneAPIClient client = session.client();
    client.setLimits(model.m_serviceLimits);
    client.setStreamDeadline(model.m_streamedReplyDeadline);
    client.setLifetime(lifetime);
    return client;
}

void CampaignIDEWorkspaceModel::bindSession(SessionStore &session)
{
    const bool staging = session.environment() == OrvaneEnvironment::staging;
    const QString environmentTitle = staging ? u"Staging"_s : u"Production"_s;
    const std::optional<SignedInAccount> account = session.account();

    QString displayName = u"Orvane"_s;
    if (account && account->workspaceName) {
        const QString trimmed = account->workspaceName->trimmed();
        if (!trimmed.isEmpty())
            displayName = trimmed;
    }
    const QString named = displayName + u" ("_s + environmentTitle + u')';
    setIdentity(Identity {
        .principalID = account ? account->email : u"orvane-operator"_s,
        .workspaceID = u"orvane-"_s + (staging ? u"staging"_s : u"production"_s),
        .accountName = named,
        .workspaceName = named,
        .contextIsFresh = true,
    });

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
    const quint64 generation = ++m_refreshGeneration;
    // A newer refresh supersedes the running one: its transfers end as cancelled, and it sees
    // that its generation is no longer current.
    if (m_refreshLifetime)
        m_refreshLifetime->deleteLater();
    m_refreshLifetime = new QObject(this);
    setSyncingServer(true);
    return ServerSync::refresh(QPointer<CampaignIDEWorkspaceModel>(this), generation,
        ServerSync::clientFor(*this, session, m_refreshLifetime));
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
    if (!model || generation != model->m_refreshGeneration)
        co_return;
    apply(*model, fetched);
    if (model->m_refreshLifetime) {
        model->m_refreshLifetime->deleteLater();
        model->m_refreshLifetime = nullptr;
    }
    model->setSyncingServer(false);
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
        if (!model.m_selectedReport && !fetched.reports->artifacts.isEmpty())
            model.setSelectedReport(fetched.reports->artifacts.first());
    }
    if (fetched.approvals)
        model.setPendingActions(fetched.approvals->actions);
    model.savePersistedProjects();
    model.syncAllProjectsToLocalDisk();
}

} // namespace orvane
