#pragma once

#include <QByteArray>
#include <QString>

#include <qcoro/qcorotask.h>

#include <exception>
#include <optional>

namespace orvane::platform {

// A failure of the system keyring. The message is ours and names the condition only; it never
// carries the secret or what the backend answered.
class KeyringError final : public std::exception {
public:
    enum class Kind {
        // No Secret Service on this desktop session (no session bus, or nothing owns the service).
        noKeyring,
        // The keyring refused: it is locked, or the user declined to unlock it.
        accessDenied,
        // Anything else the backend reported.
        failed,
    };

    explicit KeyringError(Kind kind);

    [[nodiscard]] Kind kind() const { return m_kind; }
    // A stable code per kind, shown inside user-facing texts.
    [[nodiscard]] int status() const;
    [[nodiscard]] QString message() const;
    [[nodiscard]] const char *what() const noexcept override;

private:
    Kind m_kind;
};

// A store of small secrets, one per (service, account) pair, never synchronised off this device.
// Implementations complete their tasks on the thread that started them.
class SecretStore {
public:
    virtual ~SecretStore() = default;

    // The secret, or nothing when no item exists. Throws KeyringError.
    virtual QCoro::Task<std::optional<QByteArray>> read(QString service, QString account) = 0;
    // Creates or replaces the item. Throws KeyringError.
    virtual QCoro::Task<> write(QString service, QString account, QByteArray secret) = 0;
    // Deletes the item; deleting an absent item succeeds. Throws KeyringError.
    virtual QCoro::Task<> remove(QString service, QString account) = 0;
};

// The desktop's Secret Service (through QtKeychain). There is never a plaintext fallback: without a
// keyring every operation fails with KeyringError::Kind::noKeyring.
class SystemKeyring final : public SecretStore {
public:
    QCoro::Task<std::optional<QByteArray>> read(QString service, QString account) override;
    QCoro::Task<> write(QString service, QString account, QByteArray secret) override;
    QCoro::Task<> remove(QString service, QString account) override;
};

} // namespace orvane::platform
