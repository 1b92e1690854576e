#pragma once

// One HTTP exchange on QtNetwork, awaited with QCoro.
//
// Every request of the kit goes through here so that the transfer bounds, the redirect policy and
// the abort-on-destruction rules are the same everywhere. Whatever a server does, a transfer ends:
// a pause without data, the whole exchange taking too long and a body growing too large each fail
// it, and a reply never buffers more than a small read buffer ahead of its reader. Nothing here
// logs a request, a header or a body: requests carry API keys and answers can carry them too.

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <QCoro/QCoroTask>

#include <chrono>
#include <coroutine>
#include <exception>
#include <memory>
#include <optional>
#include <utility>

class QNetworkAccessManager;

namespace orvane {

// The longest pause without any data before a transfer fails; it starts again whenever data
// arrives.
inline constexpr std::chrono::milliseconds defaultTransferTimeout { 60'000 };
// The longest a whole request may take, however steadily a slow server trickles its answer.
inline constexpr std::chrono::milliseconds defaultRequestDeadline { 120'000 };
// The deadline of a streamed answer: far beyond any real reply, but finite.
inline constexpr std::chrono::milliseconds defaultStreamDeadline { 10 * 60'000 };
// The most bytes of a whole-body answer held in memory: far above any real answer of the service.
inline constexpr qsizetype defaultMaxBodyBytes = 8 * 1024 * 1024;
// How far the network layer may read ahead of the code that consumes a reply.
inline constexpr qsizetype replyReadBufferBytes = 256 * 1024;

// The bounds of one transfer.
struct TransferLimits {
    std::chrono::milliseconds idleTimeout = defaultTransferTimeout;
    std::chrono::milliseconds deadline = defaultRequestDeadline;
    // Whole-body answers only; a streamed body is bounded by its reader.
    qsizetype maxBodyBytes = defaultMaxBodyBytes;

    bool operator==(const TransferLimits &) const = default;
};

// A failure of the transfer itself: no connection, TLS, a timeout or the deadline, an abort, a
// refused redirect, an answer beyond its size bound. The message is ours and fixed per kind; it
// never contains the URL (a poll URL carries a device code) nor anything the server sent.
class NetworkError final : public std::exception {
public:
    enum class Kind {
        transport, // connection refused or dropped, host not found, protocol failure
        secureConnection, // TLS handshake or certificate failure
        timedOut, // no data for longer than the transfer timeout, or past the request's deadline
        cancelled, // aborted by our side (owner gone, stream dropped)
        redirectRefused, // the service redirected to another origin
        tooLarge, // the answer grew beyond the bound of what we hold
    };

    NetworkError(Kind kind, QNetworkReply::NetworkError code);

    [[nodiscard]] Kind kind() const { return m_kind; }
    [[nodiscard]] QNetworkReply::NetworkError code() const { return m_code; }
    // The text shown to the user.
    [[nodiscard]] QString message() const;
    [[nodiscard]] const char *what() const noexcept override { return m_what.constData(); }

    bool operator==(const NetworkError &other) const { return m_kind == other.m_kind && m_code == other.m_code; }

private:
    Kind m_kind;
    QNetworkReply::NetworkError m_code;
    QByteArray m_what;
};

// The answer to one request: the status line's code and the whole body.
struct HttpResponse {
    // False when the reply carried no HTTP status (not an HTTP response).
    bool isHttp = false;
    int status = 0;
    QByteArray body;
};

namespace http {

// A request with the kit's transport settings: the given bounds, the protocol's cache policy and the
// same-origin redirect policy (a redirect to another scheme, host or port is refused, so an
// Authorization header never reaches another origin).
[[nodiscard]] QNetworkRequest makeRequest(const QUrl &url, const TransferLimits &limits);
// The bounds travel with the request: start() arms its deadline and fetch() bounds its body.
void setLimits(QNetworkRequest &request, const TransferLimits &limits);
[[nodiscard]] TransferLimits limitsOf(const QNetworkRequest &request);

// Sends the request and waits for the whole answer, reading it as it arrives. Throws NetworkError
// for failures of the transfer: timedOut past the request's deadline, tooLarge for a body (declared
// or received) beyond the request's bound. A non-2xx status is not an error here: the caller
// checks it.
//
// When `lifetime` is given, destroying that object aborts the transfer and the task throws
// NetworkError::cancelled. Destroying the network access manager does the same.
[[nodiscard]] QCoro::Task<HttpResponse> fetch(QPointer<QNetworkAccessManager> network, QNetworkRequest request,
    QByteArray verb, std::optional<QByteArray> body, const QObject *lifetime = nullptr);

// Owns an in-flight reply: aborts it and schedules its deletion when released. Moving transfers
// ownership.
class ReplyHandle final {
public:
    ReplyHandle() = default;
    explicit ReplyHandle(QNetworkReply *reply);
    ~ReplyHandle();
    ReplyHandle(ReplyHandle &&other) noexcept;
    ReplyHandle &operator=(ReplyHandle &&other) noexcept;
    ReplyHandle(const ReplyHandle &) = delete;
    ReplyHandle &operator=(const ReplyHandle &) = delete;

    // Null once the reply was destroyed by someone else (its manager going away).
    [[nodiscard]] QNetworkReply *get() const { return m_reply.data(); }
    QNetworkReply *operator->() const { return m_reply.data(); }
    [[nodiscard]] bool abortedByUs() const;

private:
    void release();
    QPointer<QNetworkReply> m_reply;
};

// Aborts the reply (through the event loop, never inside the owner's destructor) when `lifetime`
// is destroyed. Does nothing for a null lifetime.
void abortWhenDestroyed(QNetworkReply *reply, const QObject *lifetime);

// Starts a transfer with a bounded read buffer; the request's deadline aborts it (reported as
// timedOut). Throws NetworkError::cancelled when the manager is gone.
[[nodiscard]] ReplyHandle start(QNetworkAccessManager *network, const QNetworkRequest &request, const QByteArray &verb,
    const std::optional<QByteArray> &body);

// Awaitable that resumes once the reply has made progress: head or data arrived, it finished, or it
// was destroyed. Connections are dropped when the awaiter goes away, so a coroutine frame that is
// destroyed while suspended here is never resumed. A destroyed reply resumes through the event
// loop, never from inside the destructor of its manager.
class ReplyProgress final {
public:
    explicit ReplyProgress(QNetworkReply *reply) : m_reply(reply) { }
    ~ReplyProgress();
    ReplyProgress(ReplyProgress &&) noexcept = default;
    ReplyProgress(const ReplyProgress &) = delete;
    ReplyProgress &operator=(const ReplyProgress &) = delete;

    [[nodiscard]] bool await_ready() const noexcept;
    void await_suspend(std::coroutine_handle<> awaiting);
    void await_resume() noexcept { }

private:
    QPointer<QNetworkReply> m_reply;
    std::unique_ptr<QObject> m_context;
};

// Aborts the reply at once, so that nothing more is read into it. For a reader giving up from
// inside one of the reply's signals; the reply stays alive until its handle lets go.
void stopReading(QNetworkReply *reply);

// Records how many bytes one transfer holds at this moment (what its reader keeps plus what the
// reply buffers); tests read the peak to check that a misbehaving server cannot grow memory.
void noteHeldBytes(qint64 bytes);
[[nodiscard]] qint64 peakHeldBytes();
void resetPeakHeldBytes();

// Whether text can go out as a header value: no control characters, so no line break could end
// the header and inject others.
[[nodiscard]] bool isSafeHeaderValue(QStringView value);

// Translates a failed reply into our error. `abortedByUs` tells a cancellation from the transfer
// timeout, which Qt reports with the same code.
[[nodiscard]] NetworkError networkError(QNetworkReply::NetworkError code, bool abortedByUs);

// True when the reply's error is a failure below HTTP rather than the status of an answer.
[[nodiscard]] bool isTransportError(QNetworkReply::NetworkError code);

// The HTTP status of a reply whose head arrived.
[[nodiscard]] std::optional<int> statusCode(const QNetworkReply &reply);

// Whether the reply's Content-Type names `mediaType` (lower case, e.g. "text/event-stream"): the
// type is compared without regard to case and its parameters ("; charset=utf-8") are ignored. A
// reply without a Content-Type names none.
[[nodiscard]] bool hasMediaType(const QNetworkReply &reply, QByteArrayView mediaType);

} // namespace http
} // namespace orvane
