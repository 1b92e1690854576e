#pragma once

#include "ide/sync/WorkspaceIdentity.h"
#include "kit/networking/HttpTransport.h"

#include <QObject>
#include <QPointer>
#include <chrono>

namespace orvane {

class OrvaneAPIClient;
class SessionStore;

// The workspace's side of the service: whether a refresh runs, which refresh is the current one,
// the bounds of every transfer the workspace starts, and the identity bound from the session.
class ServerSyncState final : public QObject {
    Q_OBJECT

public:
    explicit ServerSyncState(QObject *parent = nullptr);

    [[nodiscard]] bool isSyncingServer() const { return m_isSyncingServer; }
    void setSyncingServer(bool syncing);

    // The longest pause without data, the whole request's deadline and the largest body held.
    [[nodiscard]] const TransferLimits &serviceLimits() const { return m_serviceLimits; }
    void setServiceLimits(const TransferLimits &limits) { m_serviceLimits = limits; }
    // A streamed reply's own deadline and the most text (in bytes of UTF-16) it may collect.
    [[nodiscard]] std::chrono::milliseconds streamedReplyDeadline() const { return m_streamedReplyDeadline; }
    void setStreamedReplyDeadline(std::chrono::milliseconds deadline) { m_streamedReplyDeadline = deadline; }
    [[nodiscard]] qsizetype streamedReplyMaxBytes() const { return m_streamedReplyMaxBytes; }
    void setStreamedReplyMaxBytes(qsizetype bytes) { m_streamedReplyMaxBytes = bytes; }
    static constexpr qsizetype defaultStreamedReplyMaxBytes = 4 * 1024 * 1024;
    // The session's client bounded as above, its transfers aborted when `lifetime` goes.
    [[nodiscard]] OrvaneAPIClient clientFor(SessionStore &session, const QObject *lifetime) const;

    [[nodiscard]] const WorkspaceIdentity &identity() const { return m_identity; }
    void setIdentity(const WorkspaceIdentity &identity) { m_identity = identity; }
    // "<workspace name or Orvane> (<environment>)" and the account's address ("orvane-operator"
    // signed out).
    [[nodiscard]] static WorkspaceIdentity identityOf(const SessionStore &session);

    // Starts a refresh that supersedes the running one: the older one's transfers are aborted (its
    // lifetime goes) and its generation is no longer current. Syncing until the newest one finishes.
    struct Refresh {
        quint64 generation;
        const QObject *lifetime;
    };
    Refresh beginRefresh();
    [[nodiscard]] bool isCurrent(quint64 generation) const { return generation == m_refreshGeneration; }
    void finishRefresh();

Q_SIGNALS:
    void syncingServerChanged();

private:
    bool m_isSyncingServer = false;
    TransferLimits m_serviceLimits;
    std::chrono::milliseconds m_streamedReplyDeadline = defaultStreamDeadline;
    qsizetype m_streamedReplyMaxBytes = defaultStreamedReplyMaxBytes;
    quint64 m_refreshGeneration = 0;
    QPointer<QObject> m_refreshLifetime; // aborts the running refresh's transfers when replaced
    WorkspaceIdentity m_identity;
};

} // namespace orvane
