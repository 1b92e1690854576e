#pragma once

#include "kit/auth/SignedInAccount.h"
#include "kit/networking/OrvaneEnvironment.h"
#include "platform/Keyring.h"

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <QCoro/QCoroTask>

#include <exception>
#include <memory>
#include <optional>

namespace orvane {

// Keeps the one signed-in account of an environment between launches.
//
// The operations are asynchronous because the system keyring answers over D-Bus and may wait for
// the user to unlock it; the main thread never blocks on it. A store's tasks may outlive the store
// object itself. Operations of one store complete in the order they were started.
class AccountStore {
public:
    virtual ~AccountStore() = default;

    // The stored account, or nothing. Throws the store's error, or DecodingError for an item that
    // does not decode (the item is left as it is).
    [[nodiscard]] virtual QCoro::Task<std::optional<SignedInAccount>> load() = 0;
    // Stores the account, replacing any stored one.
    [[nodiscard]] virtual QCoro::Task<> save(SignedInAccount account) = 0;
    // Removes the stored account; clearing when nothing is stored succeeds.
    [[nodiscard]] virtual QCoro::Task<> clear() = 0;
};

// A failure of the keyring, with a status code and, when known, what the condition was.
class KeychainError final : public std::exception {
public:
    // Status of an item that does not exist.
    static constexpr int itemNotFound = -25300;

    explicit KeychainError(int status, QString reason = {});
    static KeychainError from(const platform::KeyringError &error);

    [[nodiscard]] int status() const { return m_status; }
    // "Keyring error <status>." exactly, the status in decimal with its sign; the texts that quote
    // it (the session's notices) are fixed sentences around it.
    [[nodiscard]] QString description() const;
    // What the condition was, as a sentence, when the keyring said ("No keyring is available in
    // this desktop session."); empty otherwise. Not part of the description.
    [[nodiscard]] const QString &reason() const { return m_reason; }
    [[nodiscard]] const char *what() const noexcept override { return "keychain error"; }

private:
    int m_status;
    QString m_reason;
};

// The account as a generic secret of the system keyring: service currentService(), account
// "session.<environment>", the account's JSON as the secret. Reading falls back to the legacy
// service names and moves an item found there to the current service.
class KeychainAccountStore final : public AccountStore {
public:
    // The reverse-DNS name items are written under.
    [[nodiscard]] static QString currentService();
    // Service names of earlier releases, searched when nothing is found under the current one.
    [[nodiscard]] static QStringList legacyServices();

    // The store of an environment on the given keyring (the system keyring by default).
    explicit KeychainAccountStore(OrvaneEnvironment environment, std::shared_ptr<platform::SecretStore> keyring = {});
    KeychainAccountStore(QString service, QString account, std::shared_ptr<platform::SecretStore> keyring = {});

    [[nodiscard]] const QString &service() const { return m_service; }
    [[nodiscard]] const QString &account() const { return m_account; }

    // Throw KeychainError for keyring failures.
    [[nodiscard]] QCoro::Task<std::optional<SignedInAccount>> load() override;
    [[nodiscard]] QCoro::Task<> save(SignedInAccount account) override;
    [[nodiscard]] QCoro::Task<> clear() override;

private:
    QString m_service;
    QString m_account;
    std::shared_ptr<platform::SecretStore> m_keyring;
};

// Keeps the account in memory only; safe to call from any thread. Its tasks are finished when
// returned and never fail.
class MemoryAccountStore final : public AccountStore {
public:
    explicit MemoryAccountStore(std::optional<SignedInAccount> account = std::nullopt);

    [[nodiscard]] QCoro::Task<std::optional<SignedInAccount>> load() override;
    [[nodiscard]] QCoro::Task<> save(SignedInAccount account) override;
    [[nodiscard]] QCoro::Task<> clear() override;

private:
    // Held by the tasks too, so a task never reaches into a destroyed store.
    struct Shared {
        QMutex lock;
        std::optional<SignedInAccount> account;
    };
    std::shared_ptr<Shared> m_shared;
};

} // namespace orvane
