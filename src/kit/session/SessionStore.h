#pragma once

#include "kit/auth/AccountStore.h"
#include "kit/auth/SignedInAccount.h"
#include "kit/networking/OrvaneAPIClient.h"
#include "kit/networking/OrvaneEnvironment.h"
#include "kit/support/InFlightTasks.h"
#include "platform/UserDefaults.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <QCoro/QCoroTask>

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

namespace orvane {

class DeviceCodeLogin;

// Whether this device is signed in to the service: runs the device-code sign-in, keeps the account
// in an account store, publishes the state and two user-facing texts, and hands out API clients.
// Lives on the main thread; every change of an observable value emits its signal once (assigning
// the value it already holds emits nothing).
class SessionStore final : public QObject {
    Q_OBJECT

public:
    class State final {
    public:
        enum class Kind { signingIn, signedIn, signedOut };

        State() = default;
        [[nodiscard]] static State signingIn(QString userCode, QUrl verificationURL);
        [[nodiscard]] static State signedIn(SignedInAccount account);
        [[nodiscard]] static State signedOut() { return {}; }

        [[nodiscard]] Kind kind() const { return m_kind; }
        // Set while signing in.
        [[nodiscard]] const QString &userCode() const { return m_userCode; }
        [[nodiscard]] const QUrl &verificationURL() const { return m_verificationURL; }
        // Set while signed in.
        [[nodiscard]] const std::optional<SignedInAccount> &account() const { return m_account; }

        bool operator==(const State &) const = default;

    private:
        Kind m_kind = Kind::signedOut;
        QString m_userCode;
        QUrl m_verificationURL;
        std::optional<SignedInAccount> m_account;
    };

    // Opens an address in the user's browser; returns whether it did. The application installs one
    // on the desktop's URL handler; the default opens nothing.
    using URLOpener = std::function<bool(const QUrl &)>;

    // Restores the stored account (or, after a failed sign-out, retries deleting it) in the
    // background: isRestoring() is true until that is done. `network` must outlive the store.
    SessionStore(OrvaneEnvironment environment, std::shared_ptr<AccountStore> store, QNetworkAccessManager *network,
        std::chrono::milliseconds pollInterval, platform::UserDefaults defaults, QObject *parent = nullptr);
    ~SessionStore() override;

    [[nodiscard]] const State &state() const { return m_state; }
    [[nodiscard]] const std::optional<QString> &lastError() const { return m_lastError; }
    [[nodiscard]] const std::optional<QString> &orphanedKeyNotice() const { return m_orphanedKeyNotice; }
    [[nodiscard]] OrvaneEnvironment environment() const { return m_environment; }
    // The account while signed in, else nothing.
    [[nodiscard]] std::optional<SignedInAccount> account() const { return m_state.account(); }
    // A new client for the environment on every call, with the signed-in key (none when signed out).
    [[nodiscard]] OrvaneAPIClient client() const;
    // True while the stored account is being read at start-up; the state is final after that.
    [[nodiscard]] bool isRestoring() const { return m_restoring; }

    // The user-defaults key of the failed-sign-out flag of an environment.
    [[nodiscard]] static QString signedOutTombstoneKey(OrvaneEnvironment environment);

    // Starts a device-code sign-in, replacing any sign-in in progress.
    void signIn();
    // Abandons the sign-in in progress; shows no error.
    void cancelSignIn();
    void dismissOrphanedKeyNotice();
    // Forgets the account on this device.
    void signOut();
    // For callers whose request the service refused as unauthorized: signs out and says why.
    void handleUnauthorized();

    void setURLOpener(URLOpener opener);
    // Opens the verification address of the sign-in in progress with the URL opener. Only an https
    // address (http for a loopback host) is ever opened. Returns whether it was.
    bool openVerificationURL() const;

    // For tests: the bounds of the sign-in's requests (DeviceCodeLogin's by default), and the name
    // sent for this device.
    void setTransferLimits(const TransferLimits &limits) { m_transferLimits = limits; }
    void setDeviceName(std::optional<QString> name) { m_deviceName = std::move(name); }

    // The login tasks still running (cancelled ones end through the event loop, and may outlive the
    // store); for callers that check that nothing is left behind. loginTasksSettled() follows the end
    // of the last one while the store lives.
    [[nodiscard]] InFlightTasks::Watch loginTasks() const { return m_loginTasks.watch(); }

    // The notice texts.
    [[nodiscard]] static QString orphanedKeyMessage();
    [[nodiscard]] static QString keyLeftOnDeviceMessage(const QString &errorDescription);
    [[nodiscard]] static QString keyNotSavedMessage(const QString &errorDescription);
    // The text shown for a failure of the sign-in or of the account store; never echoes a value
    // received from the service.
    [[nodiscard]] static QString describe(std::exception_ptr error);

signals:
    void stateChanged();
    void accountChanged();
    void lastErrorChanged();
    void orphanedKeyNoticeChanged();
    void restoringChanged();
    void loginTasksSettled();

private:
    int supersedeLogin();
    void setState(State state);
    void setLastError(std::optional<QString> text);
    void setOrphanedKeyNotice(std::optional<QString> text, bool keyLeftOnDevice);
    void setRestoring(bool restoring);
    void setTombstone(bool failedSignOut);
    [[nodiscard]] bool isCurrent(int generation) const { return generation == m_loginGeneration; }
    [[nodiscard]] static std::optional<QString> currentDeviceName();

    static QCoro::Task<> restore(QPointer<SessionStore> self, std::shared_ptr<AccountStore> store, bool tombstone);
    static QCoro::Task<> runLogin(QPointer<SessionStore> self, std::shared_ptr<AccountStore> store,
        DeviceCodeLogin login, int generation, std::optional<QString> deviceName, InFlightTasks::Token running);
    static QCoro::Task<> completeSignIn(
        QPointer<SessionStore> self, std::shared_ptr<AccountStore> store, SignedInAccount account, int generation);
    static QCoro::Task<> clearStoredAccount(QPointer<SessionStore> self, std::shared_ptr<AccountStore> store);

    State m_state;
    std::optional<QString> m_lastError;
    std::optional<QString> m_orphanedKeyNotice;
    bool m_noticeIsKeyLeftOnDevice = false;
    bool m_restoring = false;
    const OrvaneEnvironment m_environment;
    const std::shared_ptr<AccountStore> m_store;
    const QPointer<QNetworkAccessManager> m_network;
    // Destroyed to cancel the login in flight (its transfer and its pause end at once).
    QObject *m_loginLifetime = nullptr;
    int m_loginGeneration = 0;
    const std::chrono::milliseconds m_pollInterval;
    std::optional<TransferLimits> m_transferLimits;
    const platform::UserDefaults m_defaults;
    const QString m_signedOutTombstoneKey;
    URLOpener m_urlOpener;
    std::optional<QString> m_deviceName;
    InFlightTasks m_loginTasks;
};

} // namespace orvane
