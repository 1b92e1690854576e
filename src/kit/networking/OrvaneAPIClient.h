#pragma once

#include "kit/models/ServiceRecords.h"
#include "kit/networking/AgentChatEvent.h"
#include "kit/networking/HttpTransport.h"
#include "kit/networking/OrvaneAPIError.h"
#include "kit/networking/OrvaneEnvironment.h"
#include "kit/support/JsonCoding.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <QCoro/QCoroAsyncGenerator>
#include <QCoro/QCoroTask>

#include <chrono>
#include <optional>
#include <utility>

namespace orvane {

// One query item; names and values are percent-encoded when the URL is built.
using QueryItem = std::pair<QString, QString>;

// The client of the service's HTTP API: a small value (base URL, optional key, the thread's shared
// network access manager) that is cheap to copy. Every operation builds one request, performs it
// once and returns the decoded record or throws:
//   - NetworkError for failures below HTTP (no connection, the transfer timeout, cancellation),
//   - OrvaneAPIError for the answers (status, decoding, non-HTTP response, invalid content path).
// Operations copy the client into their coroutine, so the caller may drop its copy at once.
class OrvaneAPIClient final {
public:
    static constexpr char kUserAgent[] = "orvane-apple/1.0";

    OrvaneAPIClient(QUrl baseURL, std::optional<QString> apiKey, QNetworkAccessManager *network);
    // Takes the environment's base URL (baseURL(environment), which honours ORVANE_API_BASE_URL).
    OrvaneAPIClient(OrvaneEnvironment environment, std::optional<QString> apiKey, QNetworkAccessManager *network);

    [[nodiscard]] const QUrl &baseURL() const { return m_baseURL; }
    [[nodiscard]] const std::optional<QString> &apiKey() const { return m_apiKey; }
    [[nodiscard]] QNetworkAccessManager *network() const { return m_network.data(); }

    // The bounds of each request: the longest pause without data (60 s unless changed), the whole
    // request's deadline and the largest body held.
    [[nodiscard]] const TransferLimits &limits() const { return m_limits; }
    void setLimits(const TransferLimits &limits) { m_limits = limits; }
    [[nodiscard]] std::chrono::milliseconds transferTimeout() const { return m_limits.idleTimeout; }
    void setTransferTimeout(std::chrono::milliseconds timeout) { m_limits.idleTimeout = timeout; }
    // The chat stream's own deadline, in place of the request deadline: a reply may stream for
    // long, but not for ever.
    [[nodiscard]] std::chrono::milliseconds streamDeadline() const { return m_streamDeadline; }
    void setStreamDeadline(std::chrono::milliseconds deadline) { m_streamDeadline = deadline; }

    // When set, destroying this object aborts the client's transfers in flight; they then throw
    // NetworkError::cancelled. Without it a transfer runs until it ends or times out.
    [[nodiscard]] const QObject *lifetime() const { return m_lifetime.data(); }
    void setLifetime(const QObject *owner)
    {
        m_lifetime = owner;
        m_hasLifetime = owner != nullptr;
    }

    // --- endpoints ---------------------------------------------------------------------------
    [[nodiscard]] QCoro::Task<ProjectsResponse> projects() const;
    [[nodiscard]] QCoro::Task<ProjectResponse> project(const QString &id) const;
    [[nodiscard]] QCoro::Task<ProjectResponse> createProject(
        const QString &name, const std::optional<QString> &description) const;
    [[nodiscard]] QCoro::Task<ProjectResponse> updateProject(
        const QString &id, const QString &name, const std::optional<QString> &description) const;
    [[nodiscard]] QCoro::Task<DeleteProjectResponse> deleteProject(const QString &id) const;
    [[nodiscard]] QCoro::Task<ReportsResponse> reports() const;
    // The raw body of a report's content path ("/..."); throws invalidPath, before any traffic, for
    // a path that does not begin with "/" or that names a host.
    [[nodiscard]] QCoro::Task<QByteArray> reportHTML(const QString &path) const;
    [[nodiscard]] QCoro::Task<ApprovalsResponse> pendingActions() const;
    [[nodiscard]] QCoro::Task<ApprovalDecision> approve(const QString &actionID) const;
    [[nodiscard]] QCoro::Task<ApprovalDecision> reject(
        const QString &actionID, const std::optional<QString> &reason) const;

    // The agent's streamed reply. The request starts at once; events arrive as their blocks
    // complete. Same-origin redirects are followed and the final answer's status is checked. The
    // generator ends after "done" or at the end of the body, and throws OrvaneAPIError (status;
    // invalidResponse for a 2xx answer whose Content-Type is not text/event-stream),
    // NetworkError (transport, timeout between arrivals, the stream deadline) or EventStreamError
    // (an oversized line or event; reading stops at once). Destroying the generator aborts the
    // transfer.
    [[nodiscard]] QCoro::AsyncGenerator<AgentChatEvent> chat(const QString &message, const QList<ChatTurn> &history,
        const std::optional<QString> &threadID, const std::optional<QString> &projectID) const;

    // --- shared machinery (also used by the device sign-in) ----------------------------------

    // The URL of `path` under the base URL: the path is taken as text, so "?", "#", spaces and "%"
    // are percent-encoded and can never start a query or fragment; query items are encoded.
    [[nodiscard]] QUrl url(const QString &path, const QList<QueryItem> &query = {}) const;

    // A request with Accept, User-Agent, the bearer key when there is one and, when `hasBody`,
    // Content-Type "application/json"; transfer timeout and redirect policy as in HttpTransport.
    [[nodiscard]] QNetworkRequest makeRequest(
        const QString &path, const QByteArray &accept, const QList<QueryItem> &query = {}, bool hasBody = false) const;

    // Maps an answer to success or an OrvaneAPIError: not HTTP gives invalidResponse, 200-299
    // passes, 401 and 403 give unauthorized, anything else http(status, body as UTF-8 with U+FFFD
    // for ill-formed bytes).
    static void check(const HttpResponse &response);

    // Decodes a 2xx body as T; failures give OrvaneAPIError::decoding naming the key path.
    template <JsonCodable T> [[nodiscard]] static T decodeBody(const QByteArray &body)
    {
        try {
            return decodeJson<T>(body);
        } catch (const DecodingError &error) {
            throw OrvaneAPIError::decoding(error.message());
        }
    }

    // Performs a request built by makeRequest and returns the checked answer; its body is bounded
    // as the request says (NetworkError::tooLarge beyond).
    [[nodiscard]] QCoro::Task<HttpResponse> perform(
        const QNetworkRequest &request, QByteArray verb, std::optional<QByteArray> body) const;

private:
    template <JsonCodable T>
    [[nodiscard]] static QCoro::Task<T> send(
        OrvaneAPIClient client, QString path, QByteArray verb, QList<QueryItem> query, std::optional<QByteArray> body);
    [[nodiscard]] static QCoro::AsyncGenerator<AgentChatEvent> streamEvents(http::ReplyHandle reply);
    [[nodiscard]] static QCoro::Task<QByteArray> fetchContent(OrvaneAPIClient client, QString path);
    [[nodiscard]] static QCoro::Task<HttpResponse> performChecked(
        OrvaneAPIClient client, QNetworkRequest request, QByteArray verb, std::optional<QByteArray> body);

    QUrl m_baseURL;
    std::optional<QString> m_apiKey;
    QPointer<QNetworkAccessManager> m_network;
    QPointer<const QObject> m_lifetime;
    bool m_hasLifetime = false;
    TransferLimits m_limits;
    std::chrono::milliseconds m_streamDeadline = defaultStreamDeadline;
};

} // namespace orvane
