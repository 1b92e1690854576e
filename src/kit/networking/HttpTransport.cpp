#include "kit/networking/HttpTransport.h"

#include <QNetworkAccessManager>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace orvane {

namespace {

// Marks a reply that we aborted ourselves; Qt reports the transfer timeout with the same code.
constexpr char kAbortedByUs[] = "orvaneAbortedByUs";

// Where a request carries the bounds that QNetworkRequest has no place for.
constexpr auto kDeadlineAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 1);
constexpr auto kMaxBodyAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 2);

qint64 g_peakHeldBytes = 0;

int clampedMilliseconds(std::chrono::milliseconds duration)
{
    return int(std::clamp<std::chrono::milliseconds::rep>(duration.count(), 0, std::numeric_limits<int>::max()));
}

const char *defaultMessage(NetworkError::Kind kind)
{
    switch (kind) {
    case NetworkError::Kind::transport:
        return "Could not reach Orvane. Check your connection and try again.";
    case NetworkError::Kind::secureConnection:
        return "A secure connection to Orvane could not be made.";
    case NetworkError::Kind::timedOut:
        return "Orvane did not answer in time.";
    case NetworkError::Kind::cancelled:
        return "The request was cancelled.";
    case NetworkError::Kind::redirectRefused:
        return "Orvane redirected the request to another server, which is not allowed.";
    case NetworkError::Kind::tooLarge:
        return "Orvane sent a response that is too large.";
    }
    return "Could not reach Orvane.";
}

} // namespace

NetworkError::NetworkError(Kind kind, QNetworkReply::NetworkError code)
    : m_kind(kind), m_code(code), m_what(defaultMessage(kind))
{
}

QString NetworkError::message() const
{
    return QString::fromUtf8(m_what);
}

namespace http {

QNetworkRequest makeRequest(const QUrl &url, const TransferLimits &limits)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferNetwork);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    // The reply is ours to check; Qt must not answer a 401 by asking for credentials.
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    setLimits(request, limits);
    return request;
}

void setLimits(QNetworkRequest &request, const TransferLimits &limits)
{
    request.setTransferTimeout(clampedMilliseconds(limits.idleTimeout));
    request.setAttribute(kDeadlineAttribute, qint64(limits.deadline.count()));
    request.setAttribute(kMaxBodyAttribute, qint64(limits.maxBodyBytes));
}

TransferLimits limitsOf(const QNetworkRequest &request)
{
    // A request made elsewhere gets the defaults: no transfer goes unbounded.
    TransferLimits result;
    if (request.transferTimeout() > 0)
        result.idleTimeout = std::chrono::milliseconds(request.transferTimeout());
    if (const QVariant deadline = request.attribute(kDeadlineAttribute); deadline.isValid())
        result.deadline = std::chrono::milliseconds(deadline.toLongLong());
    if (const QVariant maxBody = request.attribute(kMaxBodyAttribute); maxBody.isValid())
        result.maxBodyBytes
            = qsizetype(std::clamp<qint64>(maxBody.toLongLong(), 0, std::numeric_limits<qint32>::max()));
    return result;
}

bool isSafeHeaderValue(QStringView value)
{
    return std::none_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

void noteHeldBytes(qint64 bytes)
{
    g_peakHeldBytes = std::max(g_peakHeldBytes, bytes);
}

qint64 peakHeldBytes()
{
    return g_peakHeldBytes;
}

void resetPeakHeldBytes()
{
    g_peakHeldBytes = 0;
}

void stopReading(QNetworkReply *reply)
{
    if (!reply || reply->isFinished())
        return;
    reply->setProperty(kAbortedByUs, true);
    reply->abort();
}

bool isTransportError(QNetworkReply::NetworkError code)
{
    // 1-99: network layer, 101-199: proxy. Content, protocol and server codes (200 and up) are
    // Qt's reading of an HTTP status when a status line arrived.
    return code != QNetworkReply::NoError && int(code) < 200;
}

NetworkError networkError(QNetworkReply::NetworkError code, bool abortedByUs)
{
    using K = NetworkError::Kind;
    switch (code) {
    case QNetworkReply::OperationCanceledError:
        return NetworkError(abortedByUs ? K::cancelled : K::timedOut, code);
    case QNetworkReply::TimeoutError:
        return NetworkError(K::timedOut, code);
    case QNetworkReply::SslHandshakeFailedError:
        return NetworkError(K::secureConnection, code);
    case QNetworkReply::InsecureRedirectError:
    case QNetworkReply::TooManyRedirectsError:
        return NetworkError(K::redirectRefused, code);
    default:
        return NetworkError(K::transport, code);
    }
}

std::optional<int> statusCode(const QNetworkReply &reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return std::nullopt;
    return status.toInt();
}

bool hasMediaType(const QNetworkReply &reply, QByteArrayView mediaType)
{
    const QByteArray contentType = reply.rawHeader("Content-Type");
    const qsizetype parameters = contentType.indexOf(';');
    const QByteArray type = (parameters < 0 ? contentType : contentType.left(parameters)).trimmed().toLower();
    return type == mediaType;
}

ReplyHandle::ReplyHandle(QNetworkReply *reply) : m_reply(reply)
{
}

ReplyHandle::~ReplyHandle()
{
    release();
}

ReplyHandle::ReplyHandle(ReplyHandle &&other) noexcept : m_reply(std::exchange(other.m_reply, nullptr))
{
}

ReplyHandle &ReplyHandle::operator=(ReplyHandle &&other) noexcept
{
    if (this != &other) {
        release();
        m_reply = std::exchange(other.m_reply, nullptr);
    }
    return *this;
}

bool ReplyHandle::abortedByUs() const
{
    return m_reply && m_reply->property(kAbortedByUs).toBool();
}

void ReplyHandle::release()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply.data();
    m_reply = nullptr;
    // Released possibly from inside one of the reply's own signals: abort and delete it from the
    // event loop instead. A reply that already failed (an error status whose body is still
    // arriving) must not be aborted a second time; deleting it stops its transfer.
    QMetaObject::invokeMethod(
        reply,
        [reply] {
            // What piled up since the reader let go counts as held too.
            noteHeldBytes(reply->bytesAvailable());
            if (!reply->isFinished() && reply->error() == QNetworkReply::NoError) {
                reply->setProperty(kAbortedByUs, true);
                reply->abort();
            }
            reply->deleteLater();
        },
        Qt::QueuedConnection);
}

ReplyHandle start(QNetworkAccessManager *network, const QNetworkRequest &request, const QByteArray &verb,
    const std::optional<QByteArray> &body)
{
    if (!network)
        throw NetworkError(NetworkError::Kind::cancelled, QNetworkReply::OperationCanceledError);
    QNetworkReply *reply
        = body ? network->sendCustomRequest(request, verb, *body) : network->sendCustomRequest(request, verb);
    // The network layer stops reading from the socket once this much waits unread. A reply with a
    // body starts its transfer from the event loop and only then listens for this setting, so it
    // is given again once the transfer has started.
    reply->setReadBufferSize(replyReadBufferBytes);
    QMetaObject::invokeMethod(
        reply, [reply] { reply->setReadBufferSize(replyReadBufferBytes); }, Qt::QueuedConnection);
    // The transfer timeout counts only silence; a server trickling a byte now and then is stopped
    // here. Qt reports this abort like its own timeout, which is what the reader sees.
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [reply] {
        if (!reply->isFinished())
            reply->abort();
    });
    deadline->start(clampedMilliseconds(limitsOf(request).deadline));
    return ReplyHandle(reply);
}

void abortWhenDestroyed(QNetworkReply *reply, const QObject *lifetime)
{
    if (!lifetime || !reply)
        return;
    QObject::connect(
        lifetime, &QObject::destroyed, reply,
        [reply] {
            reply->setProperty(kAbortedByUs, true);
            reply->abort();
        },
        Qt::QueuedConnection);
}

ReplyProgress::~ReplyProgress() = default;

bool ReplyProgress::await_ready() const noexcept
{
    return !m_reply || m_reply->isFinished();
}

void ReplyProgress::await_suspend(std::coroutine_handle<> awaiting)
{
    // Deleting the context (with this awaiter) drops every connection and any queued resume.
    m_context = std::make_unique<QObject>();
    QObject *context = m_context.get();
    QNetworkReply *reply = m_reply.data();
    const auto resume = [awaiting] { awaiting.resume(); };
    QObject::connect(reply, &QIODevice::readyRead, context, resume);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, context, resume);
    QObject::connect(reply, &QNetworkReply::finished, context, resume);
    QObject::connect(reply, &QObject::destroyed, context, resume, Qt::QueuedConnection);
}

QCoro::Task<HttpResponse> fetch(QPointer<QNetworkAccessManager> network, QNetworkRequest request, QByteArray verb,
    std::optional<QByteArray> body, const QObject *lifetime)
{
    ReplyHandle reply = start(network.data(), request, verb, body);
    abortWhenDestroyed(reply.get(), lifetime);
    const qsizetype maxBody = limitsOf(request).maxBodyBytes;
    const auto tooLarge = [&reply] {
        stopReading(reply.get());
        return NetworkError(NetworkError::Kind::tooLarge, QNetworkReply::OperationCanceledError);
    };
    // The body is taken as it arrives, so the reply's own buffer stays small and an oversized body
    // fails as soon as it crosses the bound rather than after it was all received.
    QByteArray received;
    for (;;) {
        QNetworkReply *current = reply.get();
        if (!current)
            throw NetworkError(NetworkError::Kind::cancelled, QNetworkReply::OperationCanceledError);
        const QVariant declared = current->header(QNetworkRequest::ContentLengthHeader);
        if (declared.isValid() && declared.toLongLong() > maxBody)
            throw tooLarge();
        // A reply that failed or was aborted is closed; reading it would only warn.
        if (current->isOpen() && current->bytesAvailable() > 0) {
            received += current->read(maxBody + 1 - received.size());
            noteHeldBytes(received.size() + current->bytesAvailable());
            if (received.size() > maxBody)
                throw tooLarge();
        }
        if (current->isFinished())
            break;
        co_await ReplyProgress(current);
    }

    const std::optional<int> status = statusCode(*reply.get());
    const QNetworkReply::NetworkError code = reply->error();
    if (code != QNetworkReply::NoError && (isTransportError(code) || !status))
        throw networkError(code, reply.abortedByUs());

    HttpResponse response;
    response.isHttp = status.has_value();
    response.status = status.value_or(0);
    response.body = std::move(received);
    co_return response;
}

} // namespace http
} // namespace orvane
