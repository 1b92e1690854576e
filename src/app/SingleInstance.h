#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

class QLocalServer;

namespace orvane {

// Keeps the application to one process per user. Two processes would each load, then overwrite,
// the other's project and thread stores, so a second launch hands over to the running one instead.
//
// The first process takes a lock file in the data folder and listens on a local socket next to it;
// a later process that finds the lock taken connects to that socket, asks the running process to
// bring its window forward, waits for the answer and exits. A lock left behind by a process that
// died is taken over (QLockFile checks whether its owner still runs).
class SingleInstance final : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        primary, // this process holds the lock and answers later launches
        handedOver, // another process runs and was asked to come forward: exit successfully
        failed, // the lock is held but its owner did not answer
        // the data folder cannot be created or written (read-only, full disk): the application runs
        // without the lock, and its saves fail as storage failures do
        storageUnavailable,
    };

    // The lock file and socket of a data folder ("instance.lock", the socket's name derived from
    // the folder).
    explicit SingleInstance(QString dataFolder, QObject *parent = nullptr);
    ~SingleInstance() override;

    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // Takes the lock and starts listening, or hands over to the process that holds it. Blocks for at
    // most `patience` while a starting first process gets its socket up.
    Outcome start(std::chrono::milliseconds patience = std::chrono::seconds(5));

    // What went wrong when start() failed, for the terminal.
    [[nodiscard]] const QString &errorText() const { return m_errorText; }

    [[nodiscard]] QString lockFilePath() const;
    [[nodiscard]] QString serverName() const;

Q_SIGNALS:
    // A later launch asked this process to bring its window forward.
    void activationRequested();

private:
    bool listen();
    bool askRunningInstanceToActivate(std::chrono::milliseconds timeout);
    void answer();

    QString m_dataFolder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    QString m_errorText;
};

} // namespace orvane
