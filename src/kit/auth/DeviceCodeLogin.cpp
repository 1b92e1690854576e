#include "kit/auth/DeviceCodeLogin.h"

#include "kit/networking/OrvaneAPIClient.h"
#include "kit/networking/OrvaneAPIError.h"
#include "kit/networking/OrvaneEnvironment.h"

#include <QMetaObject>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <coroutine>
#include <limits>
#include <memory>

namespace orvane {
namespace {

// Waits for the poll interval, or until the lifetime object is destroyed (then throws
// NetworkError::cancelled). The awaiter's own connections go away with it, so a frame destroyed
// while suspended is never resumed; a destroyed lifetime resumes through the event loop, never
// from inside a destructor.
class Pause final {
public:
    Pause(std::chrono::milliseconds duration, const QObject *lifetime, bool hasLifetime)
        : m_duration(duration), m_lifetime(lifetime), m_hasLifetime(hasLifetime)
    {
    }

    [[nodiscard]] bool await_ready() const noexcept { return m_hasLifetime && !m_lifetime; }

    void await_suspend(std::coroutine_handle<> awaiting)
    {
        m_context = std::make_unique<QObject>();
        auto *timer = new QTimer(m_context.get());
        timer->setSingleShot(true);
        // Never early: a pause that ends at the code's expiry must find it expired.
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, m_context.get(), [awaiting] { awaiting.resume(); });
        if (m_lifetime) {
            QObject *context = m_context.get();
            QObject::connect(m_lifetime, &QObject::destroyed, context, [this, timer, context, awaiting] {
                timer->stop();
                m_cancelled = true;
                QMetaObject::invokeMethod(
                    context, [awaiting] { awaiting.resume(); }, Qt::QueuedConnection);
            });
        }
        timer->start(m_duration);
    }

    void await_resume() const
    {
        if (m_cancelled || (m_hasLifetime && !m_lifetime))
            throw NetworkError(NetworkError::Kind::cancelled, QNetworkReply::OperationCanceledError);
    }

private:
    std::chrono::milliseconds m_duration;
    QPointer<const QObject> m_lifetime;
    bool m_hasLifetime;
    bool m_cancelled = false;
    std::unique_ptr<QObject> m_context;
};

// Answers of the sign-in endpoints: any status outside 200-299 is an HTTP error, 401 included.
template <JsonCodable T> T judge(const HttpResponse &response)
{
    const int status = response.isHttp ? response.status : 0;
    if (!response.isHttp || status < 200 || status > 299)
        throw OrvaneAPIError::http(status, QString::fromUtf8(response.body));
    return OrvaneAPIClient::decodeBody<T>(response.body);
}

bool isStatusWord(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("^[A-Za-z][A-Za-z_-]{0,31}$"));
    return word.match(text).hasMatch() && !APIKey::fromText(text);
}

std::int64_t systemWallClock()
{
    return QDateTime::currentMSecsSinceEpoch();
}

// now + seconds, in milliseconds, clamped instead of overflowing for huge or negative lifetimes.
std::int64_t deadlineAfter(std::int64_t nowMs, std::int64_t seconds)
{
    constexpr std::int64_t max = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t min = std::numeric_limits<std::int64_t>::min();
    std::int64_t ms;
    if (seconds > max / 1000)
        ms = max;
    else if (seconds < min / 1000)
        ms = min;
    else
        ms = seconds * 1000;
    return saturatingAdd(nowMs, ms);
}

// How long until the deadline (nothing once it has passed), clamped instead of overflowing.
std::chrono::milliseconds timeLeft(std::int64_t deadline, std::int64_t now)
{
    if (now >= deadline)
        return std::chrono::milliseconds(0);
    if (now < 0 && deadline > std::numeric_limits<std::int64_t>::max() + now)
        return std::chrono::milliseconds::max();
    return std::chrono::milliseconds(deadline - now);
}

} // namespace

// --- records ------------------------------------------------------------------------------------

DeviceCodeStart DeviceCodeStart::decode(const JsonObjectReader &reader)
{
    DeviceCodeStart start;
    start.deviceCode = reader.required<QString>("deviceCode");
    start.userCode = reader.required<QString>("userCode");
    start.verificationUrl = QUrl(reader.required<QString>("verificationUrl"), QUrl::StrictMode);
    if (!start.verificationUrl.isValid() || start.verificationUrl.isRelative())
        detail::throwDecoding(reader.path().key("verificationUrl"), "expected an absolute URL");
    start.expiresIn = reader.required<std::int64_t>("expiresIn");
    return start;
}

void DeviceCodeStart::encode(JsonObjectWriter &writer) const
{
    writer.field("deviceCode", deviceCode)
        .field("userCode", userCode)
        .field("verificationUrl", verificationUrl.toString())
        .field("expiresIn", expiresIn);
}

DeviceCodePoll::User DeviceCodePoll::User::decode(const JsonObjectReader &reader)
{
    return { reader.required<std::int64_t>("id"), reader.required<QString>("email"), reader.optional<QString>("name") };
}

void DeviceCodePoll::User::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id).field("email", email).field("name", name);
}

DeviceCodePoll::Workspace DeviceCodePoll::Workspace::decode(const JsonObjectReader &reader)
{
    return { reader.required<std::int64_t>("id"), reader.required<QString>("name") };
}

void DeviceCodePoll::Workspace::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id).field("name", name);
}

DeviceCodePoll DeviceCodePoll::decode(const JsonObjectReader &reader)
{
    return { reader.required<QString>("status"), reader.optional<QString>("apiKey"), reader.optional<User>("user"),
        reader.optional<Workspace>("workspace"), reader.optional<bool>("readOnly") };
}

void DeviceCodePoll::encode(JsonObjectWriter &writer) const
{
    writer.field("status", status)
        .field("apiKey", apiKey)
        .field("user", user)
        .field("workspace", workspace)
        .field("readOnly", readOnly);
}

// --- errors -------------------------------------------------------------------------------------

DeviceLoginError DeviceLoginError::unexpectedStatus(QString status)
{
    return DeviceLoginError(Kind::unexpectedStatus, std::move(status));
}

DeviceLoginError DeviceLoginError::expired()
{
    return DeviceLoginError(Kind::expired, {});
}

DeviceLoginError DeviceLoginError::noKeyIssued()
{
    return DeviceLoginError(Kind::noKeyIssued, {});
}

QString DeviceLoginError::errorDescription() const
{
    switch (m_kind) {
    case Kind::unexpectedStatus:
        // The status is shown only when it is a plain status word: a broken or hostile answer could
        // put anything there, the issued key included.
        if (isStatusWord(m_status))
            return u"Unexpected sign-in status: " + m_status;
        return QStringLiteral("Unexpected sign-in status.");
    case Kind::expired:
        return QStringLiteral("The sign-in code expired. Start again.");
    case Kind::noKeyIssued:
        break;
    }
    return QStringLiteral("Orvane approved the sign-in but did not issue a key. Try again.");
}

bool isAcceptableVerificationURL(const QUrl &url)
{
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == u"https" || (scheme == u"http" && isLoopbackHost(url.host()));
}

// --- the exchange -------------------------------------------------------------------------------

DeviceCodeLogin::DeviceCodeLogin(QUrl baseURL, QNetworkAccessManager *network, std::chrono::milliseconds pollInterval)
    : m_baseURL(std::move(baseURL)), m_network(network), m_pollInterval(pollInterval), m_clock(systemWallClock)
{
}

void DeviceCodeLogin::setLifetime(const QObject *owner)
{
    m_lifetime = owner;
    m_hasLifetime = owner != nullptr;
}

QCoro::Task<DeviceCodeStart> DeviceCodeLogin::start(std::optional<QString> deviceName) const
{
    return startTask(*this, std::move(deviceName));
}

QCoro::Task<DeviceCodePoll> DeviceCodeLogin::poll(QString deviceCode) const
{
    return pollTask(*this, std::move(deviceCode));
}

QCoro::Task<SignedInAccount> DeviceCodeLogin::waitForApproval(DeviceCodeStart start) const
{
    return waitTask(*this, std::move(start));
}

QCoro::Task<DeviceCodeStart> DeviceCodeLogin::startTask(DeviceCodeLogin login, std::optional<QString> deviceName)
{
    if (login.cancelled())
        throw NetworkError(NetworkError::Kind::cancelled, QNetworkReply::OperationCanceledError);
    const OrvaneAPIClient paths(login.m_baseURL, std::nullopt, login.m_network);
    QNetworkRequest request = http::makeRequest(paths.url(QStringLiteral("/api/cli/device/start")), login.m_limits);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    Json body = Json::object();
    if (deviceName)
        body["deviceName"] = deviceName->toStdString();
    const HttpResponse response
        = co_await http::fetch(login.m_network, request, "POST", dumpJson(body), login.m_lifetime.data());
    DeviceCodeStart start = judge<DeviceCodeStart>(response);
    // The address is handed to a browser: only the web, never a local file or another program.
    if (!isAcceptableVerificationURL(start.verificationUrl))
        throw OrvaneAPIError::invalidResponse();
    co_return start;
}

QCoro::Task<DeviceCodePoll> DeviceCodeLogin::pollTask(DeviceCodeLogin login, QString deviceCode)
{
    if (login.cancelled())
        throw NetworkError(NetworkError::Kind::cancelled, QNetworkReply::OperationCanceledError);
    const OrvaneAPIClient paths(login.m_baseURL, std::nullopt, login.m_network);
    const QNetworkRequest request = http::makeRequest(
        paths.url(QStringLiteral("/api/cli/device/poll"), { { QStringLiteral("code"), deviceCode } }), login.m_limits);
    const HttpResponse response
        = co_await http::fetch(login.m_network, request, "GET", std::nullopt, login.m_lifetime.data());
    co_return judge<DeviceCodePoll>(response);
}

QCoro::Task<SignedInAccount> DeviceCodeLogin::waitTask(DeviceCodeLogin login, DeviceCodeStart start)
{
    const std::int64_t deadline = deadlineAfter(login.m_clock(), start.expiresIn);
    while (true) {
        const std::int64_t now = login.m_clock();
        if (now >= deadline)
            throw DeviceLoginError::expired();
        if (login.cancelled())
            throw NetworkError(NetworkError::Kind::cancelled, QNetworkReply::OperationCanceledError);
        // Neither a poll answered slowly nor the pause after it outlasts the code: the expiry shows
        // when it comes, not once a trickling answer is done.
        const std::chrono::milliseconds left = timeLeft(deadline, now);
        DeviceCodeLogin bounded = login;
        bounded.m_limits.deadline = std::min(login.m_limits.deadline, left);
        std::optional<DeviceCodePoll> answer;
        bool cutAtExpiry = false;
        try {
            answer = co_await pollTask(bounded, start.deviceCode);
        } catch (const NetworkError &error) {
            // Timers may fire a little early: a poll cut close to the expiry was cut by it, not by
            // a silent server.
            const std::chrono::milliseconds stillLeft = timeLeft(deadline, login.m_clock());
            cutAtExpiry = error.kind() == NetworkError::Kind::timedOut && left <= login.m_limits.deadline
                && stillLeft <= left / 10;
            if (!cutAtExpiry)
                throw;
        }
        if (cutAtExpiry) {
            co_await Pause(timeLeft(deadline, login.m_clock()), login.m_lifetime.data(), login.m_hasLifetime);
            throw DeviceLoginError::expired();
        }
        if (auto account = DeviceCodeLogin::account(*answer))
            co_return std::move(*account);
        co_await Pause(std::min(login.m_pollInterval, left), login.m_lifetime.data(), login.m_hasLifetime);
    }
}

std::optional<SignedInAccount> DeviceCodeLogin::account(const DeviceCodePoll &poll)
{
    if (poll.status == u"pending")
        return std::nullopt;
    if (poll.status == u"expired")
        throw DeviceLoginError::expired();
    if (poll.status != u"completed")
        throw DeviceLoginError::unexpectedStatus(poll.status);
    const std::optional<APIKey> key = poll.apiKey ? APIKey::fromText(*poll.apiKey) : std::nullopt;
    // A key that cannot go out as a header would make every request leave without it (or carry
    // headers of the service's choosing): refused like any other unusable answer.
    if (key && !http::isSafeHeaderValue(key->value()))
        throw OrvaneAPIError::invalidResponse();
    if (!key || !poll.user)
        throw DeviceLoginError::noKeyIssued();
    return SignedInAccount { *key, poll.user->email, poll.user->name,
        poll.workspace ? std::optional<QString>(poll.workspace->name) : std::nullopt, poll.readOnly.value_or(false) };
}

} // namespace orvane
