#include "kit/networking/HttpTransport.h"

#include <QNetworkAccessManager>
#include <QTimer>

namespace orvane {

namespace {

// Marks a reply that we aborted ourselves; Qt reports the transfer timeout with the same code.
constexpr char kAbortedByUs[] = "orvaneAbortedByUs";

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

QNetworkRequest makeRequest(const QUrl &url, std::chrono::milliseconds transferTimeout)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferNetwork);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    // The reply is ours to check; Qt must not answer a 401 by asking for credentials.
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setTransferTimeout(
        int(std::min<std::chrono::milliseconds::rep>(transferTimeout.count(), std::numeric_limits<int>::max())));
    return request;
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
    while (reply.get() && !reply->isFinished())
        co_await ReplyProgress(reply.get());
    if (!reply.get())
        throw NetworkError(NetworkError::Kind::cancelled, QNetworkReply::OperationCanceledError);

    const std::optional<int> status = statusCode(*reply.get());
    const QNetworkReply::NetworkError code = reply->error();
    if (code != QNetworkReply::NoError && (isTransportError(code) || !status))
        throw networkError(code, reply.abortedByUs());

    HttpResponse response;
    response.isHttp = status.has_value();
    response.status = status.value_or(0);
    response.body = reply->readAll();
    co_return response;
}

} // namespace http
} // namespace orvane
