#include "kit/session/SessionStore.h"

#include "kit/auth/DeviceCodeLogin.h"
#include "kit/networking/HttpTransport.h"
#include "kit/networking/OrvaneAPIError.h"

#include <QSysInfo>

#include <utility>

namespace orvane {
namespace {

const QString revokeSentence = QStringLiteral("Revoke it under Settings → API keys on the web.");

} // namespace

// --- State --------------------------------------------------------------------------------------

SessionStore::State SessionStore::State::signingIn(QString userCode, QUrl verificationURL)
{
    State state;
    state.m_kind = Kind::signingIn;
    state.m_userCode = std::move(userCode);
    state.m_verificationURL = std::move(verificationURL);
    return state;
}

SessionStore::State SessionStore::State::signedIn(SignedInAccount account)
{
    State state;
    state.m_kind = Kind::signedIn;
    state.m_account = std::move(account);
    return state;
}

// --- texts --------------------------------------------------------------------------------------

QString SessionStore::orphanedKeyMessage()
{
    return u"Sign-in was cancelled after the web approved it, so a key named for this device was created but "
           u"not kept. "
        + revokeSentence;
}

QString SessionStore::keyLeftOnDeviceMessage(const QString &errorDescription)
{
    return u"Signed out, but the saved key could not be removed from this device (" + errorDescription + u"). "
        + revokeSentence;
}

QString SessionStore::keyNotSavedMessage(const QString &errorDescription)
{
    return u"The web approved sign-in, but the key could not be saved on this device (" + errorDescription + u"). "
        + revokeSentence;
}

QString SessionStore::describe(std::exception_ptr error)
{
    try {
        std::rethrow_exception(std::move(error));
    } catch (const DeviceLoginError &e) {
        return e.errorDescription();
    } catch (const OrvaneAPIError &e) {
        return e.errorDescription();
    } catch (const NetworkError &e) {
        return e.message();
    } catch (const KeychainError &e) {
        return e.description();
    } catch (const platform::KeyringError &e) {
        return e.message();
    } catch (const JsonError &e) {
        return e.message();
    } catch (...) {
    }
    return QStringLiteral("Something went wrong. Try again.");
}

// --- lifecycle ----------------------------------------------------------------------------------

SessionStore::SessionStore(OrvaneEnvironment environment, std::shared_ptr<AccountStore> store,
    QNetworkAccessManager *network, std::chrono::milliseconds pollInterval, platform::UserDefaults defaults,
    QObject *parent)
    : QObject(parent),
      m_environment(environment),
      m_store(std::move(store)),
      m_network(network),
      m_pollInterval(pollInterval),
      m_defaults(std::move(defaults)),
      m_signedOutTombstoneKey(signedOutTombstoneKey(environment)),
      m_urlOpener([](const QUrl &) { return false; }),
      m_deviceName(currentDeviceName()),
      m_loginTasks([this] { Q_EMIT loginTasksSettled(); })
{
    m_restoring = true;
    const bool tombstone = m_defaults.boolValue(m_signedOutTombstoneKey).value_or(false);
    restore(this, m_store, tombstone);
}

SessionStore::~SessionStore() = default;

QString SessionStore::signedOutTombstoneKey(OrvaneEnvironment environment)
{
    return u"com.orvane.session.signedOut." + rawValue(environment);
}

QCoro::Task<> SessionStore::restore(QPointer<SessionStore> self, std::shared_ptr<AccountStore> store, bool tombstone)
{
    if (tombstone) {
        // A sign-out could not delete the account: never use it, retry the deletion instead.
        std::exception_ptr failure;
        try {
            co_await store->clear();
        } catch (...) {
            failure = std::current_exception();
        }
        if (!self)
            co_return;
        if (failure)
            self->setOrphanedKeyNotice(keyLeftOnDeviceMessage(describe(failure)), true);
        else
            self->setTombstone(false);
        self->setRestoring(false);
        co_return;
    }

    std::optional<SignedInAccount> account;
    try {
        account = co_await store->load();
    } catch (...) {
        // An unreadable account is not shown; the user can sign in again.
    }
    if (!self)
        co_return;
    // A sign-in or sign-out started meanwhile decides the state instead.
    if (self->m_restoring && account)
        self->setState(State::signedIn(std::move(*account)));
    self->setRestoring(false);
}

// --- operations ---------------------------------------------------------------------------------

OrvaneAPIClient SessionStore::client() const
{
    const auto &account = m_state.account();
    return OrvaneAPIClient(
        m_environment, account ? std::optional<QString>(account->apiKey.value()) : std::nullopt, m_network.data());
}

int SessionStore::supersedeLogin()
{
    // Deleting the lifetime aborts the superseded login's transfer and cuts its pause short.
    delete m_loginLifetime;
    m_loginLifetime = nullptr;
    return ++m_loginGeneration;
}

void SessionStore::signIn()
{
    const int generation = supersedeLogin();
    setRestoring(false);
    setLastError(std::nullopt);
    m_loginLifetime = new QObject(this);
    DeviceCodeLogin login(baseURL(m_environment), m_network.data(), m_pollInterval);
    login.setLifetime(m_loginLifetime);
    if (m_transferLimits)
        login.setLimits(*m_transferLimits);
    runLogin(this, m_store, std::move(login), generation, m_deviceName, m_loginTasks.begin());
}

QCoro::Task<> SessionStore::runLogin(QPointer<SessionStore> self, std::shared_ptr<AccountStore> store,
    DeviceCodeLogin login, int generation, std::optional<QString> deviceName, InFlightTasks::Token /*running*/)
{
    std::optional<SignedInAccount> account;
    try {
        const DeviceCodeStart start = co_await login.start(std::move(deviceName));
        if (!self || !self->isCurrent(generation))
            co_return;
        self->setState(State::signingIn(start.userCode, start.verificationUrl));
        account = co_await login.waitForApproval(start);
    } catch (...) {
        if (!self || !self->isCurrent(generation))
            co_return;
        self->setState(State::signedOut());
        self->setLastError(describe(std::current_exception()));
        co_return;
    }
    co_await completeSignIn(std::move(self), std::move(store), std::move(*account), generation);
}

QCoro::Task<> SessionStore::completeSignIn(
    QPointer<SessionStore> self, std::shared_ptr<AccountStore> store, SignedInAccount account, int generation)
{
    if (!self)
        co_return;
    if (!self->isCurrent(generation)) {
        // Approved after a cancel or a newer sign-in: the key exists on the service but is not kept.
        self->setOrphanedKeyNotice(orphanedKeyMessage(), false);
        co_return;
    }

    std::exception_ptr failure;
    try {
        co_await store->save(account);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self)
        co_return;

    if (!self->isCurrent(generation)) {
        // Cancelled, signed out or replaced while the keyring was saving: the account must not stay
        // stored for the next launch. Store operations run in order, so a newer sign-in's save
        // comes after this clear.
        self->setOrphanedKeyNotice(orphanedKeyMessage(), false);
        if (!failure)
            co_await clearStoredAccount(self, store);
        co_return;
    }
    if (failure) {
        self->setState(State::signedOut());
        self->setLastError(std::nullopt);
        self->setOrphanedKeyNotice(keyNotSavedMessage(describe(failure)), false);
        co_return;
    }
    self->setTombstone(false);
    self->setState(State::signedIn(std::move(account)));
}

QCoro::Task<> SessionStore::clearStoredAccount(QPointer<SessionStore> self, std::shared_ptr<AccountStore> store)
{
    std::exception_ptr failure;
    try {
        co_await store->clear();
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self)
        co_return;
    if (failure) {
        // Keep the account from being used at the next launch, which retries the deletion.
        self->setTombstone(true);
        self->setOrphanedKeyNotice(keyLeftOnDeviceMessage(describe(failure)), true);
        co_return;
    }
    self->setTombstone(false);
    if (self->m_noticeIsKeyLeftOnDevice)
        self->setOrphanedKeyNotice(std::nullopt, false);
}

void SessionStore::cancelSignIn()
{
    supersedeLogin();
    if (m_state.kind() == State::Kind::signingIn)
        setState(State::signedOut());
}

void SessionStore::dismissOrphanedKeyNotice()
{
    setOrphanedKeyNotice(std::nullopt, false);
}

void SessionStore::signOut()
{
    supersedeLogin();
    setRestoring(false);
    setState(State::signedOut());
    setLastError(std::nullopt);
    clearStoredAccount(this, m_store);
}

void SessionStore::handleUnauthorized()
{
    signOut();
    setLastError(OrvaneAPIError::unauthorized().errorDescription());
}

void SessionStore::setURLOpener(URLOpener opener)
{
    m_urlOpener = opener ? std::move(opener) : URLOpener([](const QUrl &) { return false; });
}

bool SessionStore::openVerificationURL() const
{
    if (m_state.kind() != State::Kind::signingIn || !isAcceptableVerificationURL(m_state.verificationURL()))
        return false;
    return m_urlOpener(m_state.verificationURL());
}

std::optional<QString> SessionStore::currentDeviceName()
{
    const QString name = QSysInfo::machineHostName();
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

// --- observable values --------------------------------------------------------------------------

void SessionStore::setState(State state)
{
    if (state == m_state)
        return;
    const bool accountChanges = state.account() != m_state.account();
    m_state = std::move(state);
    emit stateChanged();
    if (accountChanges)
        emit accountChanged();
}

void SessionStore::setLastError(std::optional<QString> text)
{
    if (text == m_lastError)
        return;
    m_lastError = std::move(text);
    emit lastErrorChanged();
}

void SessionStore::setOrphanedKeyNotice(std::optional<QString> text, bool keyLeftOnDevice)
{
    m_noticeIsKeyLeftOnDevice = keyLeftOnDevice;
    if (text == m_orphanedKeyNotice)
        return;
    m_orphanedKeyNotice = std::move(text);
    emit orphanedKeyNoticeChanged();
}

void SessionStore::setRestoring(bool restoring)
{
    if (restoring == m_restoring)
        return;
    m_restoring = restoring;
    emit restoringChanged();
}

void SessionStore::setTombstone(bool failedSignOut)
{
    // Best effort, like every preference write: a failure leaves the previous flag.
    if (failedSignOut)
        m_defaults.setBool(m_signedOutTombstoneKey, true);
    else
        m_defaults.remove(m_signedOutTombstoneKey);
}

} // namespace orvane
