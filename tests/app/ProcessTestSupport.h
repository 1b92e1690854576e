#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

namespace orvane::test {

// The built application, started as its own process with the test's environment (its temporary
// home included), on the offscreen platform unless told otherwise, and kept off any real session bus
// and keyring. Stopped (and reaped) when the handle goes.
class OrvaneProcess final {
public:
    explicit OrvaneProcess(const QStringList &arguments = {}, const QProcessEnvironment &extra = {});
    // Another program on the application's entry (a probe that drives it), started the same way.
    OrvaneProcess(const QString &program, const QStringList &arguments, const QProcessEnvironment &extra = {});
    ~OrvaneProcess();
    OrvaneProcess(const OrvaneProcess &) = delete;
    OrvaneProcess &operator=(const OrvaneProcess &) = delete;

    [[nodiscard]] bool running() const { return m_process.state() != QProcess::NotRunning; }
    // Waits (running the event loop, so an in-process peer can answer) until the process ends.
    [[nodiscard]] bool waitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(30));
    [[nodiscard]] int exitCode() const { return m_process.exitCode(); }
    [[nodiscard]] QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    [[nodiscard]] QString standardError();
    [[nodiscard]] QString standardOutput();

    void terminate(); // SIGTERM
    void kill(); // SIGKILL
    void sendSignal(int signal);

private:
    QProcess m_process;
    QByteArray m_stderr;
    QByteArray m_stdout;
};

// A program run to its end (two minutes at most): its exit code (-1 when it crashed or hung) and
// its standard output and error, merged.
struct ToolRun {
    int exitCode = -1;
    QString output;
};
ToolRun runToCompletion(const QString &program, const QStringList &arguments,
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

} // namespace orvane::test
