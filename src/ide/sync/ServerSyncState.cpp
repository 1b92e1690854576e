#include "ide/sync/ServerSyncState.h"

#include "ide/model/StoredValue.h"
#include "kit/networking/OrvaneAPIClient.h"
#include "kit/networking/OrvaneAPIError.h"
#include "kit/session/SessionStore.h"

namespace orvane {

using namespace Qt::StringLiterals;

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

ServerSyncState::ServerSyncState(QObject *parent) : QObject(parent)
{
}

void ServerSyncState::setSyncingServer(bool syncing)
{
    assignAndNotify(this, m_isSyncingServer, syncing, &ServerSyncState::syncingServerChanged);
}

OrvaneAPIClient ServerSyncState::clientFor(SessionStore &session, const QObject *lifetime) const
{
    OrvaneAPIClient client = session.client();
    client.setLimits(m_serviceLimits);
    client.setStreamDeadline(m_streamedReplyDeadline);
    client.setLifetime(lifetime);
    return client;
}

QString ServerSyncState::streamedReplyNotice(StreamedReplyEnd failure)
{
    // A refused key keeps the account signed in: the user signs in again when they choose to.
    if (failure == StreamedReplyEnd::refused)
        return u"The cloud service refused this device's key, so the local agent replied. "_s
            + OrvaneAPIError::unauthorized().errorDescription();
    return u"The cloud service did not answer, so the local agent replied. Check your connection; your next "
           u"message asks the cloud again."_s;
}

WorkspaceIdentity ServerSyncState::identityOf(const SessionStore &session)
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
    return WorkspaceIdentity {
        .principalID = account ? account->email : u"orvane-operator"_s,
        .workspaceID = u"orvane-"_s + (staging ? u"staging"_s : u"production"_s),
        .accountName = named,
        .workspaceName = named,
        .contextIsFresh = true,
    };
}

void ServerSyncState::setHandlers(Bind bind, Apply apply)
{
    m_bind = std::move(bind);
    m_apply = std::move(apply);
}

QCoro::Task<> ServerSyncState::refresh(SessionStore &session)
{
    if (m_bind)
        m_bind(session);
    const quint64 generation = ++m_refreshGeneration;
    // A newer refresh supersedes the running one: its transfers end as cancelled, and it sees
    // that its generation is no longer current.
    if (m_refreshLifetime)
        m_refreshLifetime->deleteLater();
    m_refreshLifetime = new QObject(this);
    setSyncingServer(true);
    return fetchAndApply(QPointer<ServerSyncState>(this), generation, clientFor(session, m_refreshLifetime));
}

QCoro::Task<> ServerSyncState::fetchAndApply(QPointer<ServerSyncState> self, quint64 generation, OrvaneAPIClient client)
{
    // All three start before the first is awaited; nothing is applied before all have ended.
    auto projects = attempt(client.projects());
    auto reports = attempt(client.reports());
    auto approvals = attempt(client.pendingActions());
    Fetched fetched;
    fetched.projects = co_await projects;
    fetched.reports = co_await reports;
    fetched.approvals = co_await approvals;
    const auto current = [self, generation] { return self && generation == self->m_refreshGeneration; };
    if (!current())
        co_return;
    if (self->m_apply) {
        // Made before the await: arguments are not kept as temporaries across a suspension.
        QCoro::Task<> applying = self->m_apply(std::move(fetched), current);
        co_await applying;
    }
    if (!current())
        co_return;
    if (self->m_refreshLifetime) {
        self->m_refreshLifetime->deleteLater();
        self->m_refreshLifetime = nullptr;
    }
    self->setSyncingServer(false);
}

} // namespace orvane
