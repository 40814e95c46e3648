#include "support/child_process.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace testing_support {

namespace {
using Clock = std::chrono::steady_clock;
Clock::time_point Deadline(double seconds) {
    return Clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
}
}  // namespace

TChildProcess::TChildProcess(const std::vector<std::string>& argv,
                             const std::map<std::string, std::optional<std::string>>& env, TStderr stderrMode) {
    int fds[2];
    int errFds[2] = {-1, -1};
    if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
    if (stderrMode == TStderr::Capture && pipe(errFds) != 0) throw std::runtime_error("pipe failed");
    FPid = fork();
    if (FPid < 0) throw std::runtime_error("fork failed");
    if (FPid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        if (errFds[1] >= 0) {
            dup2(errFds[1], STDERR_FILENO);
            close(errFds[0]);
            close(errFds[1]);
        }
        for (const auto& [name, value] : env) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    FOut = fds[0];
    if (errFds[1] >= 0) {
        close(errFds[1]);
        FErr = errFds[0];
    }
}

TChildProcess::~TChildProcess() {
    if (Running()) {
        kill(FPid, SIGKILL);
        Wait(5);
    }
    if (FOut >= 0) close(FOut);
    if (FErr >= 0) close(FErr);
}

std::optional<int> TChildProcess::Wait(double seconds) {
    auto until = Deadline(seconds);
    while (!FExit) {
        int status = 0;
        pid_t r = waitpid(FPid, &status, WNOHANG);
        if (r == FPid) {
            FExit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (Clock::now() >= until) return std::nullopt;
        ReadSome(10);  // keeps the pipe drained so the child never blocks on it
    }
    return FExit;
}

bool TChildProcess::Running() { return !FExit && !Wait(0).has_value(); }

void TChildProcess::Signal(int sig) {
    if (!FExit) kill(FPid, sig);
}

// Reads from whichever captured stream has data, so that neither pipe can
// fill up and block the child.
bool TChildProcess::ReadSome(int timeoutMs) {
    if (FOut < 0 && FErr < 0) return false;
    pollfd p[2] = {{FOut, POLLIN, 0}, {FErr, POLLIN, 0}};
    if (poll(p, 2, timeoutMs) <= 0) return false;
    bool gotData = false;
    const std::pair<int*, std::string*> streams[2] = {{&FOut, &FOutput}, {&FErr, &FErrorOutput}};
    for (int i = 0; i < 2; ++i) {
        if (!(p[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        auto [fd, text] = streams[i];
        char buf[4096];
        ssize_t n = read(*fd, buf, sizeof buf);
        if (n <= 0) {
            close(*fd);
            *fd = -1;
            continue;
        }
        text->append(buf, static_cast<size_t>(n));
        gotData = true;
    }
    return gotData;
}

bool TChildProcess::WaitForLine(const std::string& line, double seconds) {
    auto until = Deadline(seconds);
    while (true) {
        if (("\n" + FOutput).find("\n" + line + "\n") != std::string::npos) return true;
        if (Clock::now() >= until || (FOut < 0)) return false;
        ReadSome(20);
    }
}

void TChildProcess::DrainAll() {
    auto until = Deadline(5);
    while ((FOut >= 0 || FErr >= 0) && Clock::now() < until) ReadSome(50);
}

const std::string& TChildProcess::Output() {
    DrainAll();
    return FOutput;
}

const std::string& TChildProcess::ErrorOutput() {
    DrainAll();
    return FErrorOutput;
}

bool WaitUntil(double seconds, const std::function<bool()>& condition) {
    auto until = Deadline(seconds);
    while (!condition()) {
        if (Clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace testing_support
