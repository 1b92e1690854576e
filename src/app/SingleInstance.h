#pragma once

#include <QList>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>
#include <vector>

class QLocalServer;

namespace orvane {

// Keeps the application to one writer per user. Two processes would each load, then overwrite,
// the other's project and thread stores, so a second launch hands over to the running one instead.
//
// The lock is a lock file with a local socket beside it, in each of a few places in turn (the data
// folder, the config folder where the threads are kept, the runtime folder). A process takes it in
// every place it can: a store it can write lies in a folder where it holds the lock, so two processes
// never write one store. A later process that finds the lock taken in a place stops there,
// connects to that place's socket (or, when nobody listens there, to a later place's), asks the
// running process to bring its window forward, waits for the answer and exits. A lock left behind by a process that
// died is taken over (QLockFile checks whether its owner still runs). A process that cannot take the lock anywhere may
// not write at all.
class SingleInstance final : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        primary, // this process holds the lock and answers later launches
        handedOver, // another process runs and was asked to come forward: exit successfully
        failed, // the lock is held but its owner did not answer
        // the lock could be taken nowhere (folders read-only or missing, full disk): the application
        // opens read-only, as it cannot tell whether another process writes the stores
        storageUnavailable,
    };

    // Where a lock is taken: "<folder>/<stem>.lock" and its socket "<folder>/<stem>.socket".
    struct Place {
        QString folder;
        QString stem = QStringLiteral("instance");
    };

    // The places for the environment as it is now: the data folder, the config folder and, when the
    // session has one, the runtime folder (there under a name of the data folder's own).
    [[nodiscard]] static QList<Place> standardPlaces();

    // The lock of one data folder.
    explicit SingleInstance(QString dataFolder, QObject *parent = nullptr);
    explicit SingleInstance(QList<Place> places, QObject *parent = nullptr);
    ~SingleInstance() override;

    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // Takes the lock and starts listening, or hands over to the process that holds it. Blocks for at
    // most `patience` while a starting first process gets its socket up.
    Outcome start(std::chrono::milliseconds patience = std::chrono::seconds(5));

    // What went wrong with the first place (the data folder, so the state file cannot be saved), or
    // why start() failed: for the terminal and the window. Empty when nothing went wrong.
    [[nodiscard]] const QString &errorText() const { return m_errorText; }
    // Why later launches cannot reach this process, if they cannot; it still holds the lock.
    [[nodiscard]] const QString &listenErrorText() const { return m_listenErrorText; }

    // Of the first place.
    [[nodiscard]] QString lockFilePath() const;
    [[nodiscard]] QString serverName() const;
    // The places whose lock this process holds, in order.
    [[nodiscard]] QList<Place> heldPlaces() const;

    [[nodiscard]] static QString lockFilePath(const Place &place);
    [[nodiscard]] static QString serverName(const Place &place);

Q_SIGNALS:
    // A later launch asked this process to bring its window forward.
    void activationRequested();

private:
    struct Held {
        Place place;
        std::unique_ptr<QLockFile> lock;
        QLocalServer *server = nullptr;
    };
    enum class Take { taken, held, unusable };
    // first: the data folder, named so in the problem.
    Take take(const Place &place, bool first, QString &problem);
    void listen(Held &held);
    bool askRunningInstanceToActivate(const Place &place, std::chrono::milliseconds timeout);
    void answer(QLocalServer *server);
    void release();

    QList<Place> m_places;
    std::vector<Held> m_held;
    QString m_errorText;
    QString m_listenErrorText;
};

} // namespace orvane
