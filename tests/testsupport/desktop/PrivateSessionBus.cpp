#include "testsupport/desktop/PrivateSessionBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace orvane::test {
namespace {

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

std::unique_ptr<PrivateSessionBus> &busInstance()
{
    static std::unique_ptr<PrivateSessionBus> instance;
    return instance;
}

std::unique_ptr<TestKeyring> &keyringInstance()
{
    // The bus's holder is constructed first so that it is destroyed after the keyring's.
    busInstance();
    static std::unique_ptr<TestKeyring> instance;
    return instance;
}

// Stops the helpers while Qt is still up (from QCoreApplication's destructor); whatever is left at
// exit is stopped by the holders' destructors, and a crash takes the children down by the kernel.
void shutDownFixtures()
{
    keyringInstance().reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("orvane-test-fixture"));
    busInstance().reset();
}

std::string makeScratchDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-bus-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return {};
    return pattern;
}

std::string makeFolder(const std::string &path)
{
    std::filesystem::create_directories(path);
    chmod(path.c_str(), 0700);
    return path;
}

// Starts `arguments` (the program first, looked up in PATH) with the current environment plus
// `extra`, writes `input` to its standard input and closes it. Its standard error is discarded, and
// its standard output too unless the caller reads it.
Daemon startDaemon(const QStringList &arguments, const std::map<QString, QString> &extra = {},
    const QByteArray &input = {}, bool readsOutput = false)
{
    Daemon daemon(new QProcess);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : extra)
        environment.insert(name, value);
    daemon->setProcessEnvironment(environment);
    daemon->setStandardErrorFile(QProcess::nullDevice());
    if (!readsOutput)
        daemon->setStandardOutputFile(QProcess::nullDevice());
    const pid_t parent = getpid();
    daemon->setChildProcessModifier([parent] {
        // Die with the test process, however it ends.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
    });
    daemon->start(arguments.first(), arguments.mid(1));
    if (!daemon->waitForStarted())
        return nullptr;
    daemon->write(input);
    daemon->waitForBytesWritten();
    daemon->closeWriteChannel();
    return daemon;
}

} // namespace

void StopDaemon::operator()(QProcess *daemon) const
{
    if (daemon->state() != QProcess::NotRunning) {
        daemon->terminate();
        if (!daemon->waitForFinished(2000)) {
            daemon->kill();
            daemon->waitForFinished();
        }
    }
    delete daemon;
}

PrivateSessionBus *PrivateSessionBus::shared()
{
    auto &instance = busInstance();
    if (!instance) {
        std::unique_ptr<PrivateSessionBus> bus(new PrivateSessionBus);
        if (!bus->start()) {
            ADD_FAILURE() << "could not start a private D-Bus session bus";
            return nullptr;
        }
        instance = std::move(bus);
        qAddPostRoutine(shutDownFixtures);
    }
    return instance.get();
}

bool PrivateSessionBus::isRunning()
{
    return busInstance() != nullptr;
}

bool PrivateSessionBus::start()
{
    m_scratch = makeScratchDirectory();
    if (m_scratch.empty())
        return false;
    const std::string config = m_scratch + "/session.conf";
    {
        std::ofstream out(config);
        out << R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <keep_umask/>
  <listen>unix:dir=)"
            << m_scratch << R"(</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";
    }
    m_daemon = startDaemon({ u"dbus-daemon"_s, u"--config-file="_s + QString::fromStdString(config), u"--nofork"_s,
                               u"--nopidfile"_s, u"--print-address=1"_s },
        {}, {}, true);
    if (!m_daemon)
        return false;
    while (!m_daemon->canReadLine() && m_daemon->waitForReadyRead(10000)) { }
    m_address = m_daemon->readLine().trimmed().toStdString();
    if (m_address.empty())
        return false;

    const std::string runtime = makeFolder(m_scratch + "/runtime");
    setenv("DBUS_SESSION_BUS_ADDRESS", m_address.c_str(), 1);
    // Libraries fall back to $XDG_RUNTIME_DIR/bus, and some would start a bus of their own via X11.
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    unsetenv("DISPLAY");
    unsetenv("DBUS_STARTER_ADDRESS");
    unsetenv("DBUS_STARTER_BUS_TYPE");
    return true;
}

PrivateSessionBus::~PrivateSessionBus()
{
    m_daemon.reset();
    if (!m_scratch.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_scratch, ignored);
    }
}

bool PrivateSessionBus::waitForOwner(const QString &name, std::chrono::milliseconds timeout) const
{
    const QDBusConnection connection = QDBusConnection::connectToBus(address(), QStringLiteral("orvane-test-fixture"));
    return QTest::qWaitFor(
        [&] {
            const QDBusReply<bool> reply = connection.interface()->isServiceRegistered(name);
            return reply.isValid() && reply.value();
        },
        int(timeout.count()));
}

TestKeyring *TestKeyring::shared()
{
    auto &instance = keyringInstance();
    if (!instance) {
        PrivateSessionBus *bus = PrivateSessionBus::shared();
        if (!bus)
            return nullptr;
        std::unique_ptr<TestKeyring> keyring(new TestKeyring);
        if (!keyring->start(*bus)) {
            ADD_FAILURE() << "could not start gnome-keyring-daemon on the private bus";
            return nullptr;
        }
        instance = std::move(keyring);
    }
    return instance.get();
}

bool TestKeyring::isRunning()
{
    return keyringInstance() != nullptr;
}

bool TestKeyring::start(PrivateSessionBus &bus)
{
    const std::string home = makeFolder(bus.scratchDirectory() + "/keyring-home");
    const auto folder = [](const std::string &path) { return QString::fromStdString(makeFolder(path)); };
    // --unlock reads the login keyring's password from stdin; it creates the keyring when absent.
    m_daemon = startDaemon({ u"gnome-keyring-daemon"_s, u"--foreground"_s, u"--unlock"_s, u"--components=secrets"_s },
        {
            { u"HOME"_s, QString::fromStdString(home) },
            { u"XDG_DATA_HOME"_s, folder(home + "/.local/share") },
            { u"XDG_CONFIG_HOME"_s, folder(home + "/.config") },
            { u"XDG_CACHE_HOME"_s, folder(home + "/.cache") },
            { u"XDG_RUNTIME_DIR"_s, folder(bus.scratchDirectory() + "/runtime") },
            { u"DBUS_SESSION_BUS_ADDRESS"_s, bus.address() },
        },
        "orvane-throwaway-password");
    if (!m_daemon)
        return false;
    // QtKeychain picks its backend from the desktop it thinks it runs in.
    unsetenv("KDE_FULL_SESSION");
    unsetenv("KDE_SESSION_VERSION");
    setenv("XDG_CURRENT_DESKTOP", "GNOME", 1);
    return bus.waitForOwner(QStringLiteral("org.freedesktop.secrets"), 20s) && m_daemon->state() == QProcess::Running;
}

TestKeyring::~TestKeyring() = default;

int TestKeyring::itemCount(const QString &service, const QString &account) const
{
    PrivateSessionBus *bus = PrivateSessionBus::shared();
    if (!bus)
        return -1;
    QDBusConnection connection = QDBusConnection::connectToBus(bus->address(), QStringLiteral("orvane-test-fixture"));
    using Attributes = QMap<QString, QString>;
    qDBusRegisterMetaType<Attributes>();
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.secrets"),
        QStringLiteral("/org/freedesktop/secrets"), QStringLiteral("org.freedesktop.Secret.Service"),
        QStringLiteral("SearchItems"));
    call << QVariant::fromValue(
        Attributes { { QStringLiteral("server"), service }, { QStringLiteral("user"), account } });
    const QDBusMessage reply = connection.call(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2)
        return -1;
    int count = 0;
    for (const QVariant &argument : reply.arguments()) {
        const auto paths = qdbus_cast<QList<QDBusObjectPath>>(argument);
        count += int(paths.size());
    }
    return count;
}

} // namespace orvane::test
