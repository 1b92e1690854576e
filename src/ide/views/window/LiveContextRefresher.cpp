#include "ide/views/window/LiveContextRefresher.h"

#include "ide/sync/ServerSyncState.h"
#include "kit/session/SessionStore.h"

#include <QCoro/QCoroTask>

namespace orvane {

LiveContextRefresher::LiveContextRefresher(ServerSyncState &sync, SessionStore *session, QObject *parent)
    : QObject(parent), m_sync(&sync), m_session(session)
{
    if (!session)
        return;
    connect(session, &SessionStore::stateChanged, this, [this] {
        Q_EMIT signedInChanged(isSignedIn());
        if (m_started)
            refresh();
    });
}

bool LiveContextRefresher::isSignedIn() const
{
    return m_session && m_session->account().has_value();
}

void LiveContextRefresher::start()
{
    if (m_started)
        return;
    m_started = true;
    refresh();
}

void LiveContextRefresher::refresh()
{
    if (!m_sync || !m_session)
        return;
    ++m_refreshes;
    // The store guards itself across its suspensions and supersedes an older refresh, so the task
    // runs on its own once started.
    (void)m_sync->refresh(*m_session);
}

} // namespace orvane
