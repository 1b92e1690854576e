#include "ProcessTestSupport.h"

#include <QTest>

#include <csignal>

namespace orvane::test {

using namespace Qt::StringLiterals;

OrvaneProcess::OrvaneProcess(const QStringList &arguments, const QProcessEnvironment &extra)
    : OrvaneProcess(QStringLiteral(ORVANE_EXECUTABLE), arguments, extra)
{
}

OrvaneProcess::OrvaneProcess(const QString &program, const QStringList &arguments, const QProcessEnvironment &extra)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    // No session bus: the keyring is unreachable and the application starts signed out.
    environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, u"unix:path=/nonexistent/orvane-test-bus"_s);
    environment.remove(u"DISPLAY"_s);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    environment.insert(extra);
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    QObject::connect(&m_process, &QProcess::readyReadStandardError, &m_process,
        [this] { m_stderr += m_process.readAllStandardError(); });
    m_process.start(program, arguments);
    m_process.waitForStarted();
}

OrvaneProcess::~OrvaneProcess()
{
    if (running()) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

bool OrvaneProcess::waitForExit(std::chrono::milliseconds timeout)
{
    return QTest::qWaitFor([this] { return !running(); }, int(timeout.count()));
}

QString OrvaneProcess::standardError()
{
    m_stderr += m_process.readAllStandardError();
    return QString::fromLocal8Bit(m_stderr);
}

QString OrvaneProcess::standardOutput()
{
    m_stdout += m_process.readAllStandardOutput();
    return QString::fromLocal8Bit(m_stdout);
}

void OrvaneProcess::terminate()
{
    m_process.terminate();
}

ToolRun runToCompletion(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return { -1, u"did not finish"_s };
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromLocal8Bit(process.readAll()) };
}

void OrvaneProcess::kill()
{
    m_process.kill();
}

void OrvaneProcess::sendSignal(int signal)
{
    if (running())
        ::kill(pid_t(m_process.processId()), signal);
}

} // namespace orvane::test
