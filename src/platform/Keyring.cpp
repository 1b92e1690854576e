#include "platform/Keyring.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QPointer>
#include <QStringList>

#include <qcoro/qcorodbus.h>
#include <qcoro/qcorosignal.h>
#include <qt6keychain/keychain.h>

#include <memory>

namespace orvane::platform {
namespace {

const QString secretServiceName = QStringLiteral("org.freedesktop.secrets");

struct DeleteLater {
    void operator()(QObject *object) const { object->deleteLater(); }
};

template <typename Job> using JobPtr = std::unique_ptr<Job, DeleteLater>;

template <typename Job> JobPtr<Job> makeJob(const QString &service, const QString &account)
{
    JobPtr<Job> job(new Job(service));
    job->setAutoDelete(false);
    // Never let a missing keyring turn into a secret written to a plain file.
    job->setInsecureFallback(false);
    job->setKey(account);
    return job;
}

// Runs a job to its end. The start is queued so the wait is in place before any result, since a job
// may finish inside start() when it fails early.
QCoro::Task<QKeychain::Error> run(QKeychain::Job *job)
{
    QMetaObject::invokeMethod(
        job, [job] { job->start(); }, Qt::QueuedConnection);
    co_await qCoro(job, &QKeychain::Job::finished);
    co_return job->error();
}

QCoro::Task<bool> busHas(QDBusConnection bus, QString method)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"), method);
    if (method == u"NameHasOwner")
        call << secretServiceName;
    const QDBusMessage reply = co_await bus.asyncCall(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        co_return false;
    const QVariant answer = reply.arguments().constFirst();
    if (method == u"NameHasOwner")
        co_return answer.toBool();
    co_return answer.toStringList().contains(secretServiceName);
}

// Whether anything on the session bus is, or can be started as, the Secret Service.
QCoro::Task<bool> secretServiceReachable()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        co_return false;
    const bool owned = co_await busHas(bus, QStringLiteral("NameHasOwner"));
    if (owned)
        co_return true;
    const bool activatable = co_await busHas(bus, QStringLiteral("ListActivatableNames"));
    co_return activatable;
}

QCoro::Task<> ensureBus()
{
    if (!QDBusConnection::sessionBus().isConnected())
        throw KeyringError(KeyringError::Kind::noKeyring);
    co_return;
}

// Turns a failed job into our error; the backend's own text is not kept.
// The error is returned, not thrown, which clang-tidy takes for a forgotten throw.
QCoro::Task<KeyringError> errorFor(QKeychain::Error error)
{
    switch (error) {
    case QKeychain::AccessDenied:
    case QKeychain::AccessDeniedByUser:
        co_return KeyringError(KeyringError::Kind::accessDenied); // NOLINT(bugprone-throw-keyword-missing)
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
        co_return KeyringError(KeyringError::Kind::noKeyring); // NOLINT(bugprone-throw-keyword-missing)
    default:
        break;
    }
    // A backend that is not there surfaces as a generic D-Bus failure; tell that case apart.
    const bool reachable = co_await secretServiceReachable();
    if (!reachable)
        co_return KeyringError(KeyringError::Kind::noKeyring); // NOLINT(bugprone-throw-keyword-missing)
    co_return KeyringError(KeyringError::Kind::failed); // NOLINT(bugprone-throw-keyword-missing)
}

} // namespace

KeyringError::KeyringError(Kind kind) : m_kind(kind)
{
}

int KeyringError::status() const
{
    switch (m_kind) {
    case Kind::noKeyring:
        return -25291;
    case Kind::accessDenied:
        return -25293;
    case Kind::failed:
        break;
    }
    return -25290;
}

QString KeyringError::message() const
{
    switch (m_kind) {
    case Kind::noKeyring:
        return QStringLiteral("No keyring is available in this desktop session.");
    case Kind::accessDenied:
        return QStringLiteral("The keyring is locked or refused access.");
    case Kind::failed:
        break;
    }
    return QStringLiteral("The keyring could not complete the request.");
}

const char *KeyringError::what() const noexcept
{
    switch (m_kind) {
    case Kind::noKeyring:
        return "no keyring available";
    case Kind::accessDenied:
        return "keyring access denied";
    case Kind::failed:
        break;
    }
    return "keyring failure";
}

QCoro::Task<std::optional<QByteArray>> SystemKeyring::read(QString service, QString account)
{
    co_await ensureBus();
    const auto job = makeJob<QKeychain::ReadPasswordJob>(service, account);
    const QKeychain::Error error = co_await run(job.get());
    if (error == QKeychain::NoError)
        co_return job->binaryData();
    if (error == QKeychain::EntryNotFound)
        co_return std::nullopt;
    const KeyringError failure = co_await errorFor(error);
    throw failure;
}

QCoro::Task<> SystemKeyring::write(QString service, QString account, QByteArray secret)
{
    co_await ensureBus();
    const auto job = makeJob<QKeychain::WritePasswordJob>(service, account);
    job->setBinaryData(secret);
    const QKeychain::Error error = co_await run(job.get());
    if (error == QKeychain::NoError)
        co_return;
    const KeyringError failure = co_await errorFor(error);
    throw failure;
}

QCoro::Task<> SystemKeyring::remove(QString service, QString account)
{
    co_await ensureBus();
    const auto job = makeJob<QKeychain::DeletePasswordJob>(service, account);
    const QKeychain::Error error = co_await run(job.get());
    if (error == QKeychain::NoError || error == QKeychain::EntryNotFound)
        co_return;
    const KeyringError failure = co_await errorFor(error);
    throw failure;
}

} // namespace orvane::platform
