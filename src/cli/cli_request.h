// What one run of olvoctl was asked to do, as read from its command line,
// and the failures that end a run with a given exit code.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Exit codes: scripts tell a refused change from a mistyped command line
// and from a change that had to wait for the program to end.
constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;   // refused input, unknown reminder, file errors
constexpr int ExitUsage = 2;    // the command line itself is wrong
constexpr int ExitLocked = 3;   // the program runs and owns the data file

// Ends the run: main prints the message to stderr and exits with the code.
class TCliError : public std::runtime_error {
public:
    TCliError(int exitCode, const std::string& message) : std::runtime_error(message), ExitCode(exitCode) {}
    int ExitCode;
};

inline TCliError UsageError(const std::string& message) { return TCliError(ExitUsage, message); }
inline TCliError Failure(const std::string& message) { return TCliError(ExitFailed, message); }

enum class TCommand { None, Help, List, Add, Done, Delete, Backup, Restore, Due };

// The schedule option of `add` with its raw values (checked later).
struct TScheduleOption {
    std::string Name;  // "--weekly"
    uint8_t Period = 0;
    std::vector<std::string> Values;
};

struct TCliRequest {
    TCommand Command = TCommand::None;
    bool Help = false;  // --help given: explain Command (or everything)

    // Global options.
    std::optional<std::string> DataFile;
    std::optional<std::string> NowText;
    std::optional<std::string> Language;

    // Command options.
    bool Completed = false;
    bool Json = false;
    std::optional<TScheduleOption> Schedule;
    std::optional<std::string> Voice;

    // Description, ID, file or help topic, by command.
    std::vector<std::string> Arguments;
};

// The command's name as typed ("list"); empty for None.
std::string CommandName(TCommand command);
// None for a word that names no command.
TCommand CommandFromName(const std::string& name);

// The command a command line is about even when it does not parse (for
// help and hints): the first word that names a command.
TCommand FirstCommandWord(const std::vector<std::string>& args);

// Reads the command line (without the program name). Options may come
// before or after the command; "--" ends the options. Raises a usage error
// for unknown commands and options, missing values and stray arguments;
// --help anywhere wins over such errors.
TCliRequest ParseCommandLine(const std::vector<std::string>& args);
