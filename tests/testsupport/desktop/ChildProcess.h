#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace orvane::test {

// A helper program run by a fixture. It is tied to the test process: the kernel stops it when the
// test process dies (even by a crash), and the destructor stops and reaps it.
class ChildProcess final {
public:
    struct Options {
        std::vector<std::string> arguments; // arguments[0] is the program, looked up in PATH
        std::map<std::string, std::string> environment; // added to (or replacing) the current one
        std::string standardInput; // written to the child's stdin, which is then closed
        bool captureStandardOutput = false;
    };

    explicit ChildProcess(const Options &options);
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    [[nodiscard]] bool started() const { return m_pid > 0; }
    [[nodiscard]] pid_t pid() const { return m_pid; }
    [[nodiscard]] bool running();

    // Reads one line of the child's standard output, waiting at most the timeout; empty on failure.
    [[nodiscard]] std::string readLine(std::chrono::milliseconds timeout);

    // Asks the child to stop (SIGTERM), then kills it if it has not gone within a grace period.
    void stop();

private:
    pid_t m_pid = -1;
    int m_stdout = -1;
    std::string m_buffer;
};

} // namespace orvane::test
