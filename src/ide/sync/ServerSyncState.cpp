#include "ide/sync/ServerSyncState.h"

#include "ide/model/StoredValue.h"
#include "kit/networking/OrvaneAPIClient.h"
#include "kit/session/SessionStore.h"

namespace orvane {

using namespace Qt::StringLiterals;

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

ServerSyncState::Refresh ServerSyncState::beginRefresh()
{
    const quint64 generation = ++m_refreshGeneration;
    if (m_refreshLifetime)
        m_refreshLifetime->deleteLater();
    m_refreshLifetime = new QObject(this);
    setSyncingServer(true);
    return Refresh { .generation = generation, .lifetime = m_refreshLifetime };
}

void ServerSyncState::finishRefresh()
{
    if (m_refreshLifetime) {
        m_refreshLifetime->deleteLater();
        m_refreshLifetime = nullptr;
    }
    setSyncingServer(false);
}

} // namespace orvane
