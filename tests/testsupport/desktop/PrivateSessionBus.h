#pragma once

#include <QString>

#include <chrono>
#include <memory>
#include <string>

class QProcess;

namespace orvane::test {

// A helper daemon of a fixture, tied to the test process: the kernel stops it when the test process
// dies (even by a crash); when the handle goes it is asked to stop (SIGTERM), then killed if it has
// not gone within a grace period.
struct StopDaemon {
    void operator()(QProcess *daemon) const;
};
using Daemon = std::unique_ptr<QProcess, StopDaemon>;

// A D-Bus session bus of the test process's own, with no service files: nothing on it starts by
// activation, so a test sees exactly the services it starts (a keyring, a fake notification
// server registered in-process, ...).
//
// Qt and GLib each connect to the session bus once per process and keep that connection, so the bus
// is shared by the whole process: the first call of shared() starts it and points
// DBUS_SESSION_BUS_ADDRESS (and XDG_RUNTIME_DIR, which libraries also search) at it. Call it before
// anything in the process connects to a session bus. CTest runs every test case in a process of its
// own, so each case gets a fresh bus. The daemon stops when the process exits.
class PrivateSessionBus final {
public:
    // The process's bus, started on first use; nullptr (with a test failure added) if it could not
    // start.
    static PrivateSessionBus *shared();
    // Whether shared() has started a bus in this process.
    static bool isRunning();

    ~PrivateSessionBus();

    [[nodiscard]] QString address() const { return QString::fromStdString(m_address); }
    // A scratch folder that lives as long as the bus; helpers keep their state under it.
    [[nodiscard]] const std::string &scratchDirectory() const { return m_scratch; }

    // Waits (processing events) until a well-known name has an owner on the bus; asks over a
    // connection of the fixture's own, so it does not create the process's session-bus connection.
    [[nodiscard]] bool waitForOwner(const QString &name, std::chrono::milliseconds timeout) const;

private:
    PrivateSessionBus() = default;
    bool start();

    std::string m_scratch;
    std::string m_address;
    Daemon m_daemon;
};

// A real Secret Service for keychain tests: gnome-keyring-daemon with only its secrets component on
// the private bus, its keyring files in the bus's scratch folder, its login keyring created and
// unlocked with a throwaway password. Shared by the process like the bus it runs on.
class TestKeyring final {
public:
    // The running keyring, started on first use; nullptr (with a test failure added) if it could not
    // start.
    static TestKeyring *shared();
    static bool isRunning();

    ~TestKeyring();

    // How many items the Secret Service holds for a (service, account) pair as QtKeychain files
    // them; -1 when the service cannot be asked.
    [[nodiscard]] int itemCount(const QString &service, const QString &account) const;

private:
    TestKeyring() = default;
    bool start(PrivateSessionBus &bus);

    Daemon m_daemon;
};

} // namespace orvane::test
