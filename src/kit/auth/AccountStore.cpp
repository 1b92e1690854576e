#include "kit/auth/AccountStore.h"

#include <QMutexLocker>

#include <utility>

namespace orvane {
namespace {

std::shared_ptr<platform::SecretStore> orSystemKeyring(std::shared_ptr<platform::SecretStore> keyring)
{
    return keyring ? std::move(keyring) : std::make_shared<platform::SystemKeyring>();
}

// The keyring calls, with everything they need copied in, so they never touch a store object.
QCoro::Task<std::optional<SignedInAccount>> readItem(
    std::shared_ptr<platform::SecretStore> keyring, QString service, QString account)
{
    std::optional<QByteArray> secret;
    try {
        secret = co_await keyring->read(service, account);
    } catch (const platform::KeyringError &error) {
        throw KeychainError::from(error);
    }
    if (!secret)
        co_return std::nullopt;
    co_return decodeJson<SignedInAccount>(*secret);
}

QCoro::Task<> writeItem(
    std::shared_ptr<platform::SecretStore> keyring, QString service, QString account, QByteArray secret)
{
    try {
        co_await keyring->write(service, account, secret);
    } catch (const platform::KeyringError &error) {
        throw KeychainError::from(error);
    }
}

QCoro::Task<> removeItem(std::shared_ptr<platform::SecretStore> keyring, QString service, QString account)
{
    try {
        co_await keyring->remove(service, account);
    } catch (const platform::KeyringError &error) {
        throw KeychainError::from(error);
    }
}

QCoro::Task<std::optional<SignedInAccount>> loadWithMigration(
    std::shared_ptr<platform::SecretStore> keyring, QString service, QString account)
{
    auto current = co_await readItem(keyring, service, account);
    if (current)
        co_return current;
    for (const QString &legacy : KeychainAccountStore::legacyServices()) {
        if (legacy == service)
            continue;
        auto found = co_await readItem(keyring, legacy, account);
        if (!found)
            continue;
        // Copy first: if the copy fails the legacy item stays and the error is reported.
        co_await writeItem(keyring, service, account, encodeJson(*found));
        try {
            co_await removeItem(keyring, legacy, account);
        } catch (const KeychainError &) {
            // The account is safe under the current service; a stale legacy copy is harmless.
        }
        co_return found;
    }
    co_return std::nullopt;
}

template <typename T> QCoro::Task<T> ready(T value)
{
    co_return value;
}

QCoro::Task<> ready()
{
    co_return;
}

} // namespace

// --- KeychainError ------------------------------------------------------------------------------

KeychainError::KeychainError(int status, QString reason) : m_status(status), m_reason(std::move(reason))
{
}

KeychainError KeychainError::from(const platform::KeyringError &error)
{
    return KeychainError(error.status(), error.message());
}

QString KeychainError::description() const
{
    return u"Keyring error " + QString::number(m_status) + u'.';
}

// --- KeychainAccountStore -----------------------------------------------------------------------

QString KeychainAccountStore::currentService()
{
    return QStringLiteral("com.orvane");
}

QStringList KeychainAccountStore::legacyServices()
{
    return { QStringLiteral("com.orvane.desktop") };
}

KeychainAccountStore::KeychainAccountStore(
    OrvaneEnvironment environment, std::shared_ptr<platform::SecretStore> keyring)
    : KeychainAccountStore(currentService(), u"session." + rawValue(environment), std::move(keyring))
{
}

KeychainAccountStore::KeychainAccountStore(
    QString service, QString account, std::shared_ptr<platform::SecretStore> keyring)
    : m_service(std::move(service)), m_account(std::move(account)), m_keyring(orSystemKeyring(std::move(keyring)))
{
}

QCoro::Task<std::optional<SignedInAccount>> KeychainAccountStore::load()
{
    return loadWithMigration(m_keyring, m_service, m_account);
}

QCoro::Task<> KeychainAccountStore::save(SignedInAccount account)
{
    // Encoded before the task starts: the item never holds a partial record.
    return writeItem(m_keyring, m_service, m_account, encodeJson(account));
}

QCoro::Task<> KeychainAccountStore::clear()
{
    return removeItem(m_keyring, m_service, m_account);
}

// --- MemoryAccountStore -------------------------------------------------------------------------

MemoryAccountStore::MemoryAccountStore(std::optional<SignedInAccount> account) : m_shared(std::make_shared<Shared>())
{
    m_shared->account = std::move(account);
}

QCoro::Task<std::optional<SignedInAccount>> MemoryAccountStore::load()
{
    QMutexLocker lock(&m_shared->lock);
    return ready(m_shared->account);
}

QCoro::Task<> MemoryAccountStore::save(SignedInAccount account)
{
    QMutexLocker lock(&m_shared->lock);
    m_shared->account = std::move(account);
    return ready();
}

QCoro::Task<> MemoryAccountStore::clear()
{
    QMutexLocker lock(&m_shared->lock);
    m_shared->account.reset();
    return ready();
}

} // namespace orvane
