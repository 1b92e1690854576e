#pragma once

#include "ide/sync/WorkspaceIdentity.h"
#include "kit/models/ServiceRecords.h"
#include "kit/networking/HttpTransport.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <QCoro/QCoroTask>

#include <chrono>
#include <functional>
#include <optional>

namespace orvane {

class OrvaneAPIClient;
class SessionStore;

// The workspace's side of the service: the refresh (whether one runs, which one is current), the
// bounds of every transfer the workspace starts, and the identity bound from the session. What a
// refresh brings is applied by its owner.
class ServerSyncState final : public QObject {
    Q_OBJECT

public:
    // What one refresh received; an absent member is a request that failed.
    struct Fetched {
        std::optional<ProjectsResponse> projects;
        std::optional<ReportsResponse> reports;
        std::optional<ApprovalsResponse> approvals;
    };
    // bind takes the session before each refresh; apply takes the results of the current one. It
    // may suspend (long work goes to another thread) and must apply nothing once `isCurrent`
    // says a newer refresh has begun.
    using Bind = std::function<void(SessionStore &)>;
    using IsCurrent = std::function<bool()>;
    using Apply = std::function<QCoro::Task<>(Fetched, IsCurrent)>;

    explicit ServerSyncState(QObject *parent = nullptr);
    void setHandlers(Bind bind, Apply apply);

    // Binds the session, then fetches projects, reports and pending approvals at once (each
    // failure is ignored) and applies them together. A newer refresh supersedes one still running:
    // the older one's transfers are aborted and it applies nothing. isSyncingServer() holds until
    // the newest one ends. The session is only read before the first suspension.
    QCoro::Task<> refresh(SessionStore &session);

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

    // How the service's streamed reply of an agent turn ended. When it failed, the local agent's
    // reply stands in, and the user is told so at every such turn.
    enum class StreamedReplyEnd {
        answered, // the stream ended as the service meant it to
        refused, // the service refused the signed-in key
        failed, // unreachable, cut off, timed out or broken
    };
    // The warning for a streamed reply that failed so: the local agent replied, why, and what to do.
    [[nodiscard]] static QString streamedReplyNotice(StreamedReplyEnd failure);

    [[nodiscard]] const WorkspaceIdentity &identity() const { return m_identity; }
    void setIdentity(const WorkspaceIdentity &identity) { m_identity = identity; }
    // "<workspace name or Orvane> (<environment>)" and the account's address ("orvane-operator"
    // signed out).
    [[nodiscard]] static WorkspaceIdentity identityOf(const SessionStore &session);

Q_SIGNALS:
    void syncingServerChanged();

private:
    static QCoro::Task<> fetchAndApply(QPointer<ServerSyncState> self, quint64 generation, OrvaneAPIClient client);

    Bind m_bind;
    Apply m_apply;
    bool m_isSyncingServer = false;
    TransferLimits m_serviceLimits;
    std::chrono::milliseconds m_streamedReplyDeadline = defaultStreamDeadline;
    qsizetype m_streamedReplyMaxBytes = defaultStreamedReplyMaxBytes;
    quint64 m_refreshGeneration = 0;
    QPointer<QObject> m_refreshLifetime; // aborts the running refresh's transfers when replaced
    WorkspaceIdentity m_identity;
};

} // namespace orvane
