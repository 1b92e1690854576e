#pragma once

#include "kit/auth/SignedInAccount.h"
#include "kit/networking/HttpTransport.h"
#include "kit/support/JsonCoding.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <QCoro/QCoroTask>

#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>

namespace orvane {

// The service's answer to the start of a device sign-in.
struct DeviceCodeStart {
    QString deviceCode;
    QString userCode;
    QUrl verificationUrl;
    std::int64_t expiresIn = 0; // seconds

    static DeviceCodeStart decode(const JsonObjectReader &reader);
    void encode(JsonObjectWriter &writer) const;
    bool operator==(const DeviceCodeStart &) const = default;
};

// The service's answer to one poll of a device sign-in.
struct DeviceCodePoll {
    struct User {
        std::int64_t id = 0;
        QString email;
        std::optional<QString> name;

        static User decode(const JsonObjectReader &reader);
        void encode(JsonObjectWriter &writer) const;
        bool operator==(const User &) const = default;
    };
    struct Workspace {
        std::int64_t id = 0;
        QString name;

        static Workspace decode(const JsonObjectReader &reader);
        void encode(JsonObjectWriter &writer) const;
        bool operator==(const Workspace &) const = default;
    };

    QString status;
    std::optional<QString> apiKey;
    std::optional<User> user;
    std::optional<Workspace> workspace;
    std::optional<bool> readOnly;

    static DeviceCodePoll decode(const JsonObjectReader &reader);
    void encode(JsonObjectWriter &writer) const;
    bool operator==(const DeviceCodePoll &) const = default;
};

// How a device sign-in ended without an account.
class DeviceLoginError final : public std::exception {
public:
    enum class Kind { unexpectedStatus, expired, noKeyIssued };

    static DeviceLoginError unexpectedStatus(QString status);
    static DeviceLoginError expired();
    static DeviceLoginError noKeyIssued();

    [[nodiscard]] Kind kind() const { return m_kind; }
    [[nodiscard]] const QString &status() const { return m_status; }
    // The text shown to the user.
    [[nodiscard]] QString errorDescription() const;
    [[nodiscard]] const char *what() const noexcept override { return "device sign-in failed"; }

    bool operator==(const DeviceLoginError &other) const
    {
        return m_kind == other.m_kind && m_status == other.m_status;
    }

private:
    DeviceLoginError(Kind kind, QString status) : m_kind(kind), m_status(std::move(status)) { }
    Kind m_kind;
    QString m_status;
};

// How long one request of the device sign-in may take in all: the service answers these at once.
inline constexpr std::chrono::milliseconds loginRequestDeadline { 30'000 };

// Whether a verification address from the service may be opened in a browser: https, or http for
// a loopback host only. Anything else (file:, custom schemes, no host) could run or reveal
// something on this machine.
[[nodiscard]] bool isAcceptableVerificationURL(const QUrl &url);

// The device-code sign-in exchange: ask for a code pair, then poll until the user approves it in
// the browser. A small value holding configuration only; it keeps no state between calls.
//
// Failures are thrown: NetworkError below HTTP (including the transfer timeout and cancellation),
// OrvaneAPIError::http for any status outside 200-299 (401 is not treated apart),
// OrvaneAPIError::decoding for a malformed answer, OrvaneAPIError::invalidResponse for a
// verification address that may not be opened or an issued key that cannot be sent as a header,
// and DeviceLoginError for the flow's outcomes.
class DeviceCodeLogin final {
public:
    // Milliseconds since the epoch; the wait's deadline is measured on it.
    using WallClock = std::function<std::int64_t()>;

    DeviceCodeLogin(QUrl baseURL, QNetworkAccessManager *network, std::chrono::milliseconds pollInterval);

    [[nodiscard]] const QUrl &baseURL() const { return m_baseURL; }
    [[nodiscard]] std::chrono::milliseconds pollInterval() const { return m_pollInterval; }

    // Destroying this object cancels the calls in flight: a transfer is aborted, a pause between
    // polls is cut short, and the call throws NetworkError::cancelled.
    void setLifetime(const QObject *owner);
    // The bounds of each request of the exchange: the longest pause without data (60 s unless
    // changed), each request's own deadline (a poll waits loginRequestDeadline at most, whatever
    // the server trickles) and the largest answer held.
    [[nodiscard]] const TransferLimits &limits() const { return m_limits; }
    void setLimits(const TransferLimits &limits) { m_limits = limits; }
    [[nodiscard]] std::chrono::milliseconds transferTimeout() const { return m_limits.idleTimeout; }
    void setTransferTimeout(std::chrono::milliseconds timeout) { m_limits.idleTimeout = timeout; }
    void setWallClock(WallClock clock) { m_clock = std::move(clock); }

    // Asks the service for a device code; the device name names the key the service will issue.
    [[nodiscard]] QCoro::Task<DeviceCodeStart> start(std::optional<QString> deviceName) const;
    // Asks once for the state of the approval.
    [[nodiscard]] QCoro::Task<DeviceCodePoll> poll(QString deviceCode) const;
    // Polls (the first poll at once, then after every pause) until the approval completes, fails or
    // the code expires. Neither a poll nor a pause outlasts the code: a poll still answering at the
    // expiry is cut, and the wait ends with DeviceLoginError::expired then.
    [[nodiscard]] QCoro::Task<SignedInAccount> waitForApproval(DeviceCodeStart start) const;

    // Maps one poll answer to an account, to nothing (keep waiting), or throws DeviceLoginError.
    [[nodiscard]] static std::optional<SignedInAccount> account(const DeviceCodePoll &poll);

private:
    static QCoro::Task<DeviceCodeStart> startTask(DeviceCodeLogin login, std::optional<QString> deviceName);
    static QCoro::Task<DeviceCodePoll> pollTask(DeviceCodeLogin login, QString deviceCode);
    static QCoro::Task<SignedInAccount> waitTask(DeviceCodeLogin login, DeviceCodeStart start);
    [[nodiscard]] bool cancelled() const { return m_hasLifetime && !m_lifetime; }

    QUrl m_baseURL;
    QPointer<QNetworkAccessManager> m_network;
    std::chrono::milliseconds m_pollInterval;
    TransferLimits m_limits { .deadline = loginRequestDeadline };
    QPointer<const QObject> m_lifetime;
    bool m_hasLifetime = false;
    WallClock m_clock;
};

} // namespace orvane
