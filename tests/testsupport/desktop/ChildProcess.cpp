#include "testsupport/desktop/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

extern char **environ;

namespace orvane::test {
namespace {

std::vector<std::string> mergedEnvironment(const std::map<std::string, std::string> &extra)
{
    std::map<std::string, std::string> merged;
    for (char **entry = environ; entry && *entry; ++entry) {
        const std::string text(*entry);
        const auto eq = text.find('=');
        if (eq != std::string::npos)
            merged[text.substr(0, eq)] = text.substr(eq + 1);
    }
    for (const auto &[name, value] : extra)
        merged[name] = value;
    std::vector<std::string> result;
    result.reserve(merged.size());
    for (const auto &[name, value] : merged)
        result.push_back(name + '=' + value);
    return result;
}

} // namespace

ChildProcess::ChildProcess(const Options &options)
{
    if (options.arguments.empty())
        return;
    // Everything the child needs is prepared before fork: only async-signal-safe calls after it.
    const std::vector<std::string> env = mergedEnvironment(options.environment);
    std::vector<char *> argv;
    for (const std::string &argument : options.arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char *> envp;
    for (const std::string &entry : env)
        envp.push_back(const_cast<char *>(entry.c_str()));
    envp.push_back(nullptr);

    int in[2] = { -1, -1 };
    int out[2] = { -1, -1 };
    if (pipe2(in, O_CLOEXEC) != 0)
        return;
    if (options.captureStandardOutput && pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // Die with the test process, however it ends.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(in[0], STDIN_FILENO);
        dup2(options.captureStandardOutput ? out[1] : devnull, STDOUT_FILENO);
        dup2(devnull, STDERR_FILENO);
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(in[0]);
    if (options.captureStandardOutput)
        close(out[1]);
    if (pid < 0) {
        close(in[1]);
        if (options.captureStandardOutput)
            close(out[0]);
        return;
    }
    m_pid = pid;
    m_stdout = options.captureStandardOutput ? out[0] : -1;
    const std::string &input = options.standardInput;
    std::size_t written = 0;
    while (written < input.size()) {
        const ssize_t n = write(in[1], input.data() + written, input.size() - written);
        if (n <= 0 && errno != EINTR)
            break;
        if (n > 0)
            written += std::size_t(n);
    }
    close(in[1]);
}

ChildProcess::~ChildProcess()
{
    stop();
    if (m_stdout >= 0)
        close(m_stdout);
}

bool ChildProcess::running()
{
    if (m_pid <= 0)
        return false;
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_pid = -1;
        return false;
    }
    return true;
}

std::string ChildProcess::readLine(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (m_stdout >= 0) {
        const auto newline = m_buffer.find('\n');
        if (newline != std::string::npos) {
            std::string line = m_buffer.substr(0, newline);
            m_buffer.erase(0, newline + 1);
            return line;
        }
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd fd { m_stdout, POLLIN, 0 };
        if (poll(&fd, 1, int(left.count())) <= 0)
            continue;
        char chunk[512];
        const ssize_t n = read(m_stdout, chunk, sizeof chunk);
        if (n <= 0)
            break;
        m_buffer.append(chunk, std::size_t(n));
    }
    return {};
}

void ChildProcess::stop()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        int status = 0;
        const pid_t done = waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid || (done < 0 && errno == ECHILD)) {
            m_pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

} // namespace orvane::test
