#pragma once

#include <QObject>
#include <QPointer>

namespace orvane {

class ServerSyncState;
class SessionStore;

// The window's refresh task: the workspace refreshes from the service when the window first appears and
// again each time the session's sign-in state changes (signing in begins, signed in, signed out),
// also while signed out. A newer refresh supersedes one still running (the sync store drops the
// older one's results). Nothing is reported when a refresh ends.
class LiveContextRefresher final : public QObject {
    Q_OBJECT
public:
    LiveContextRefresher(ServerSyncState &sync, SessionStore *session, QObject *parent = nullptr);

    // Called when the window first appears; later calls do nothing.
    void start();
    // Refreshes started so far.
    [[nodiscard]] int refreshCount() const { return m_refreshes; }

    [[nodiscard]] bool isSignedIn() const;

Q_SIGNALS:
    // The session's account appeared or went away.
    void signedInChanged(bool signedIn);

private:
    void refresh();

    QPointer<ServerSyncState> m_sync;
    QPointer<SessionStore> m_session;
    bool m_started = false;
    int m_refreshes = 0;
};

} // namespace orvane
