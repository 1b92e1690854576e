#include "app/SingleInstance.h"

#include "ide/model/WorkspaceLocations.h"
#include "platform/UserDefaults.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <optional>

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

QList<SingleInstance::Place> SingleInstance::standardPlaces()
{
    const QString data = QFileInfo(WorkspaceLocations::standard().stateFile).absolutePath();
    QList<Place> places { Place { data }, Place { QFileInfo(platform::UserDefaults::standardDirectory()).path() } };
    // The runtime folder is the session's own; other homes of the same user get locks of their own.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir()) {
        const QByteArray digest = QCryptographicHash::hash(data.toUtf8(), QCryptographicHash::Sha256).toHex();
        places.append(Place { runtime, u"orvane-"_s + QString::fromLatin1(digest.left(24)) });
    }
    return places;
}

SingleInstance::SingleInstance(QString dataFolder, QObject *parent)
    : SingleInstance(QList<Place> { Place { std::move(dataFolder) } }, parent)
{
}

SingleInstance::SingleInstance(QList<Place> places, QObject *parent) : QObject(parent), m_places(std::move(places))
{
}

SingleInstance::~SingleInstance()
{
    release();
}

QString SingleInstance::lockFilePath(const Place &place)
{
    return place.folder + u'/' + place.stem + u".lock"_s;
}

QString SingleInstance::serverName(const Place &place)
{
    QString path = place.folder + u'/' + place.stem + u".socket"_s;
    if (path.toUtf8().size() < maximumSocketPathBytes)
        return path;
    // Too long for a socket path: a per-place name that QLocalServer places in the temporary folder.
    const QString key = place.stem == u"instance"_s ? place.folder : place.folder + u'/' + place.stem;
    const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex();
    return u"orvane-"_s + QString::fromLatin1(digest.left(24));
}

QString SingleInstance::lockFilePath() const
{
    return m_places.isEmpty() ? QString() : lockFilePath(m_places.first());
}

QString SingleInstance::serverName() const
{
    return m_places.isEmpty() ? QString() : serverName(m_places.first());
}

QList<SingleInstance::Place> SingleInstance::heldPlaces() const
{
    QList<Place> places;
    for (const Held &held : m_held)
        places.append(held.place);
    return places;
}

SingleInstance::Take SingleInstance::take(const Place &place, bool first, QString &problem)
{
    if (!QDir().mkpath(place.folder)) {
        problem = (first ? u"Cannot create the data folder "_s : u"Cannot create the folder "_s) + place.folder + u'.';
        return Take::unusable;
    }
    auto lock = std::make_unique<QLockFile>(lockFilePath(place));
    // Age alone never makes a lock stale: only a lock whose owner no longer runs is taken over.
    // (With an age limit, a launch would steal the lock of a process that has simply run for long.)
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_held.push_back(Held { place, std::move(lock), nullptr });
        return Take::taken;
    }
    if (lock->error() == QLockFile::LockFailedError)
        return Take::held;
    problem = u"Cannot write the lock "_s + lockFilePath(place) + u'.';
    return Take::unusable;
}

SingleInstance::Outcome SingleInstance::start(std::chrono::milliseconds patience)
{
    release();
    m_errorText.clear();
    m_listenErrorText.clear();
    // Every process goes through the places in the same order and stops at the first lock held by
    // another: of two starting at once, the one that takes the first place both can use wins.
    std::optional<qsizetype> holder;
    QString lastProblem;
    for (qsizetype i = 0; i < m_places.size(); ++i) {
        const Place &place = m_places.at(i);
        QString problem;
        const Take taken = take(place, i == 0, problem);
        if (taken == Take::held) {
            holder = i;
            break;
        }
        if (taken == Take::unusable) {
            if (i == 0)
                m_errorText = problem;
            lastProblem = problem;
        }
    }

    if (holder) {
        // The running process writes; whatever this one took goes back.
        release();
        // The holder listens in every place whose lock it holds, except where it cannot (a folder
        // where its socket should be): it is asked where its lock was found and in every later
        // place, which it may hold as well. The places before it were free or unusable.
        const QList<Place> asked = m_places.mid(*holder);
        const QDeadlineTimer deadline(patience);
        for (;;) {
            // It may still be starting and not yet listening, so keep trying for a while.
            for (const Place &place : asked) {
                const auto remaining = std::chrono::milliseconds(deadline.remainingTime());
                if (askRunningInstanceToActivate(place, std::min(remaining, peerTimeout)))
                    return Outcome::handedOver;
            }
            if (deadline.hasExpired())
                break;
            QThread::msleep(static_cast<unsigned long>(retryPause.count()));
        }
        m_errorText = u"Orvane is already running but did not answer; quit it and start again."_s;
        return Outcome::failed;
    }
    if (m_held.empty()) {
        if (m_errorText.isEmpty())
            m_errorText = lastProblem;
        return Outcome::storageUnavailable;
    }
    // Held, it stays held even where later launches cannot be answered: they then fail instead of
    // writing beside this process.
    for (Held &held : m_held)
        listen(held);
    return Outcome::primary;
}

void SingleInstance::listen(Held &held)
{
    const QString name = serverName(held.place);
    // We hold the lock, so a socket left at this name belongs to a process that died.
    QLocalServer::removeServer(name);
    auto *server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name)) {
        m_listenErrorText = u"Cannot listen for later launches: "_s + server->errorString();
        delete server;
        return;
    }
    connect(server, &QLocalServer::newConnection, this, [this, server] { answer(server); });
    held.server = server;
}

void SingleInstance::release()
{
    for (Held &held : m_held) {
        if (held.server) {
            held.server->close();
            delete held.server;
        }
        held.lock->unlock();
    }
    m_held.clear();
}

bool SingleInstance::askRunningInstanceToActivate(const Place &place, std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(serverName(place));
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

void SingleInstance::answer(QLocalServer *server)
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
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
