#pragma once

// A stand-in of the cloud service for tests: a small HTTP/1.1 server on 127.0.0.1 (free port) that
// answers the service's endpoints from in-memory data, records every request it gets and can be
// scripted per route (a handler or a canned answer), with slow answers, stalled or dropped bodies,
// chunked event streams with pauses, redirects, and bodies that never end (as fast as the client
// reads, or trickling).
//
//   StandInService service;
//   OrvaneAPIClient client(service.baseURL(), u"orv_test"_s, &network);
//   service.setResponse("GET", u"/api/projects"_s, CannedResponse::json(500, R"({"error":"x"})"));
//   ... co_await client.projects() ...
//   EXPECT_EQ(service.requests().last().header("authorization"), "Bearer orv_test");
//
// Every answer closes its connection ("Connection: close"), so one connection serves one request.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>

class QTcpServer;
class QTcpSocket;

namespace orvane::test {

using Header = std::pair<QByteArray, QByteArray>;

struct RecordedRequest {
    QByteArray method;
    QByteArray target; // the request line's target, e.g. "/api/approvals?status=pending"
    QByteArray path; // the target's path, still percent-encoded
    QByteArray query; // the target's query without "?", still encoded; empty when none
    bool hasQuery = false;
    QList<Header> headers; // as sent, in order
    QByteArray body;

    // The value of a header, names compared case-insensitively.
    [[nodiscard]] std::optional<QByteArray> header(QByteArrayView name) const;
    [[nodiscard]] QString decodedPath() const;
    [[nodiscard]] QUrlQuery queryItems() const;
};

// One write of a streamed body, after a pause. A held step is not written until
// StandInService::releaseHeld(): the stream stays open up to it, however slow the client.
struct StreamStep {
    std::chrono::milliseconds pause { 0 };
    QByteArray bytes;
    bool held = false;
};

struct CannedResponse {
    enum class Ending {
        complete, // the body ends normally and the connection closes
        stall, // after what was sent, nothing more: the connection stays open
        drop, // after what was sent, the connection is cut
    };

    int status = 200;
    QList<Header> headers;
    // Sent at once with a Content-Length (the full length, even when the ending cuts it short).
    QByteArray body;
    // Pause before the status line.
    std::chrono::milliseconds delay { 0 };
    // When true the body is `steps`, each one chunk of a chunked transfer coding.
    bool chunked = false;
    QList<StreamStep> steps;
    Ending ending = Ending::complete;
    // For a stalled or dropped fixed-length body: how many bytes of `body` are sent.
    qsizetype sentBodyBytes = -1;
    // After the body or the steps, `repeat` is written again and again and the body never ends:
    // each time the previous write has left (only as fast as the client reads), or every
    // `repeatPause` when one is set. A fixed-length body then declares `declaredLength` bytes.
    QByteArray repeat;
    std::chrono::milliseconds repeatPause { 0 };
    qint64 declaredLength = -1;
    // When true, nothing is sent until StandInService::releaseHeld().
    bool held = false;

    static CannedResponse json(int status, QByteArray body);
    static CannedResponse text(int status, QByteArray body, QByteArray contentType = "text/plain; charset=utf-8");
    static CannedResponse eventStream(QList<StreamStep> steps, int status = 200);
    static CannedResponse redirect(const QUrl &location, int status = 302);

    CannedResponse &&delayedBy(std::chrono::milliseconds pause) &&;
    CannedResponse &&repeating(QByteArray bytes, std::chrono::milliseconds pause = {}) &&;
    CannedResponse &&endingWith(Ending how) &&;
    CannedResponse &&heldUntilReleased() &&;
    // Replaces the Content-Type header; an empty type leaves the answer without one.
    CannedResponse &&withContentType(QByteArray contentType) &&;
};

class StandInService final : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<CannedResponse(const RecordedRequest &)>;

    explicit StandInService(QObject *parent = nullptr);
    ~StandInService() override;

    // "http://127.0.0.1:<port>"
    [[nodiscard]] QUrl baseURL() const;
    [[nodiscard]] quint16 port() const;

    // Scripting. A route matches the method and the decoded path exactly and takes precedence over
    // the built-in service. "*" as the method matches any method.
    void setRoute(const QByteArray &method, const QString &path, Handler handler);
    void setResponse(const QByteArray &method, const QString &path, CannedResponse response);

    // The recorded requests, in arrival order.
    [[nodiscard]] const QList<RecordedRequest> &requests() const { return m_requests; }
    [[nodiscard]] qsizetype requestCount() const { return m_requests.size(); }
    void clearRequests() { m_requests.clear(); }
    // Waits (spinning the event loop) until at least `count` requests arrived.
    bool waitForRequests(qsizetype count, std::chrono::milliseconds timeout = std::chrono::seconds(10));

    // Connections currently open (a stalled or streaming answer keeps one open until the client
    // goes away).
    [[nodiscard]] int openConnections() const { return int(m_connections.size()); }
    bool waitForNoOpenConnections(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Sends the held answers and held stream steps whose clients are still connected.
    void releaseHeld();

    // --- the built-in service ---------------------------------------------------------------

    // When set, every /api/ endpoint except the device sign-in answers 401 unless the request
    // carries "Authorization: Bearer <key>".
    void setRequiredAPIKey(std::optional<QString> key) { m_requiredKey = std::move(key); }

    // Device sign-in: each poll answers the next status of this list; the last one repeats.
    // "completed" carries the issued key, the user and (unless cleared) the workspace.
    void setDevicePollStatuses(QStringList statuses) { m_pollStatuses = std::move(statuses); }
    void setIssuedAPIKey(QString key) { m_issuedKey = std::move(key); }
    void setDeviceVerificationURL(QString url) { m_verificationURL = std::move(url); }
    [[nodiscard]] static QByteArray deviceCode() { return "dev-code-1"; }
    [[nodiscard]] static QString userCode() { return QStringLiteral("WDJB-MJHT"); }

    // Stored projects, as JSON object texts in the service's wire form.
    [[nodiscard]] QList<QByteArray> projectsJson() const;

private:
    struct Connection;
    void accept();
    void readFrom(Connection &connection);
    void respond(QTcpSocket *socket, const CannedResponse &response);
    void sendSteps(QTcpSocket *socket, const std::shared_ptr<const CannedResponse> &response, qsizetype index);
    void repeat(QTcpSocket *socket, const CannedResponse &response);
    void finish(QTcpSocket *socket, CannedResponse::Ending ending);
    void closed(QTcpSocket *socket);
    CannedResponse answer(const RecordedRequest &request);
    CannedResponse builtIn(const RecordedRequest &request);

    QTcpServer *m_server = nullptr;
    std::map<QTcpSocket *, std::unique_ptr<Connection>> m_connections;
    QList<RecordedRequest> m_requests;
    QList<std::pair<QPointer<QTcpSocket>, CannedResponse>> m_held;
    QList<std::pair<QPointer<QTcpSocket>, std::function<void()>>> m_heldSteps;
    struct Route {
        QByteArray method;
        QString path;
        Handler handler;
    };
    QList<Route> m_routes;

    std::optional<QString> m_requiredKey;
    QStringList m_pollStatuses { QStringLiteral("pending"), QStringLiteral("completed") };
    int m_pollCount = 0;
    QString m_issuedKey = QStringLiteral("orv_live_0123456789abcdef");
    QString m_verificationURL;
    // The chat's event-stream script: "Hel", "lo", then done, with short pauses.
    QList<StreamStep> m_chatSteps;
    struct Store;
    std::unique_ptr<Store> m_store;
};

// Event-stream helpers for scripts: one block "event: <name>\ndata: <data>\n\n".
[[nodiscard]] QByteArray sseBlock(QByteArrayView event, QByteArrayView data);

} // namespace orvane::test
