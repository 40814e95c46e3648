// Starting the program (or a test tool) as a real child process, with its
// own environment, reading its output and waiting for it with a deadline.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testing_support {

// What happens to the child's standard error: shared with the test's own,
// or captured like standard output (for tests that check messages).
enum class TStderr { Inherit, Capture };

class TChildProcess {
public:
    // Starts argv[0] (a path) with the current environment plus `env`
    // (a value of nullopt removes the variable). Standard output is captured.
    TChildProcess(const std::vector<std::string>& argv,
                  const std::map<std::string, std::optional<std::string>>& env = {},
                  TStderr stderrMode = TStderr::Inherit);
    ~TChildProcess();  // kills the child if it still runs
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    pid_t Pid() const { return FPid; }
    // Waits for the exit; the exit code, 128 + signal for a signal, or
    // nullopt when the deadline passed first.
    std::optional<int> Wait(double seconds);
    bool Running();
    void Signal(int sig);
    // Reads output until a line equal to `line` arrives or the deadline
    // passes; everything read so far is kept in Output().
    bool WaitForLine(const std::string& line, double seconds);
    // Reads whatever is left until end of output (after the child ended).
    const std::string& Output();
    // The same for standard error; empty unless it was captured.
    const std::string& ErrorOutput();

private:
    bool ReadSome(int timeoutMs);
    void DrainAll();
    pid_t FPid = -1;
    int FOut = -1;
    int FErr = -1;
    std::optional<int> FExit;
    std::string FOutput;
    std::string FErrorOutput;
};

// Polls a condition every 10 ms until it holds or the deadline passes.
bool WaitUntil(double seconds, const std::function<bool()>& condition);

}  // namespace testing_support
