#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QTimer>

namespace orvane {

using namespace Qt::StringLiterals;

namespace {

constexpr QByteArrayView activateRequest = "activate\n";
constexpr QByteArrayView activateAnswer = "ok\n";
// A peer that sends more than this without a line break is not one of ours.
constexpr qint64 maximumRequestBytes = 256;
constexpr std::chrono::milliseconds peerTimeout { 2000 };
constexpr std::chrono::milliseconds retryPause { 50 };

// Unix socket paths are limited to about a hundred bytes.
constexpr qsizetype maximumSocketPathBytes = 100;

} // namespace

SingleInstance::SingleInstance(QString dataFolder, QObject *parent)
    : QObject(parent), m_dataFolder(std::move(dataFolder))
{
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    if (m_lock)
        m_lock->unlock();
}

QString SingleInstance::lockFilePath() const
{
    return m_dataFolder + u"/instance.lock";
}

QString SingleInstance::serverName() const
{
    QString path = m_dataFolder + u"/instance.socket";
    if (path.toUtf8().size() < maximumSocketPathBytes)
        return path;
    // Too long for a socket path: a per-folder name that QLocalServer places in the temporary folder.
    const QByteArray digest = QCryptographicHash::hash(m_dataFolder.toUtf8(), QCryptographicHash::Sha256).toHex();
    return u"orvane-"_s + QString::fromLatin1(digest.left(24));
}

SingleInstance::Outcome SingleInstance::start(std::chrono::milliseconds patience)
{
    if (!QDir().mkpath(m_dataFolder)) {
        m_errorText = u"Cannot create the data folder "_s + m_dataFolder + u"."_s;
        return Outcome::storageUnavailable;
    }

    m_lock = std::make_unique<QLockFile>(lockFilePath());
    // Age alone never makes a lock stale: only a lock whose owner no longer runs is taken over.
    // (With an age limit, a launch would steal the lock of a process that has simply run for long.)
    m_lock->setStaleLockTime(0);

    const QDeadlineTimer deadline(patience);
    for (;;) {
        if (m_lock->tryLock(0)) {
            if (listen())
                return Outcome::primary;
            m_lock->unlock();
            return Outcome::storageUnavailable;
        }
        if (m_lock->error() != QLockFile::LockFailedError) {
            m_errorText = u"Cannot write the lock "_s + lockFilePath() + u"."_s;
            return Outcome::storageUnavailable;
        }
        // Held by a running process: ask it to come forward. It may still be starting and not yet
        // listening, so keep trying for a while.
        const auto remaining = std::chrono::milliseconds(deadline.remainingTime());
        if (askRunningInstanceToActivate(std::min(remaining, peerTimeout)))
            return Outcome::handedOver;
        if (deadline.hasExpired())
            break;
        QThread::msleep(static_cast<unsigned long>(retryPause.count()));
    }
    m_errorText = u"Orvane is already running but did not answer; quit it and start again."_s;
    return Outcome::failed;
}

bool SingleInstance::listen()
{
    const QString name = serverName();
    // We hold the lock, so a socket left at this name belongs to a process that died.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        m_errorText = u"Cannot listen for later launches: "_s + m_server->errorString();
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
    return true;
}

bool SingleInstance::askRunningInstanceToActivate(std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    socket.write(activateRequest.data(), activateRequest.size());
    if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
        return false;
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(int(deadline.remainingTime())))
        reply += socket.readAll();
    return reply == activateAnswer;
}

void SingleInstance::answer()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A peer that never finishes its request is dropped.
        QTimer::singleShot(peerTimeout, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > maximumRequestBytes)
                    socket->abort();
                return;
            }
            const QByteArray request = socket->readLine(maximumRequestBytes);
            if (request != activateRequest) {
                socket->abort();
                return;
            }
            socket->write(activateAnswer.data(), activateAnswer.size());
            socket->disconnectFromServer();
            Q_EMIT activationRequested();
        });
    }
}

} // namespace orvane
