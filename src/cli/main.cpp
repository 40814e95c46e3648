// olvoctl: Olvo Reminder's reminders from the command line. Reads the
// command line, sets up what the program sets up at start (folders, clock,
// language), runs one command and turns failures into messages on stderr
// and exit codes.
#include <algorithm>
#include <cctype>
#include <csignal>
#include <exception>
#include <iostream>

#include <unistd.h>

#include "app/languages.h"
#include "cli/cli_commands.h"
#include "cli/cli_help.h"
#include "cli/cli_values.h"
#include "common/public_funs.h"
#include "platform/ini_file.h"

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The language of the texts that come from the language files. A name that
// no installed file carries is an error rather than a silent switch to
// English; English itself is always there (built in).
void UseLanguage(const std::optional<std::string>& wanted) {
    if (!wanted) return SetLanguageFile(ChooseLanguage());
    std::vector<std::string> installed;
    ListLanguages(installed);
    for (const std::string& name : installed)
        if (SameName(name, *wanted)) return SetLanguageFile(name);
    if (SameName(*wanted, "English")) return SetLanguageFile("English");
    std::string names;
    for (const std::string& name : installed) names += (names.empty() ? "" : ", ") + name;
    throw UsageError("unknown language '" + *wanted + "' (installed: " + (names.empty() ? "English" : names) + ")");
}

int RunCommand(const TCliRequest& request, const TDataLocation& location) {
    switch (request.Command) {
    case TCommand::List: return RunList(request, location);
    case TCommand::Add: return RunAdd(request, location);
    case TCommand::Done: return RunDone(request, location);
    case TCommand::Delete: return RunDelete(request, location);
    case TCommand::Backup: return RunBackup(request, location);
    case TCommand::Restore: return RunRestore(request, location);
    case TCommand::Due: return RunDue(request, location);
    case TCommand::None:
    case TCommand::Help: break;
    }
    std::cout << HelpText(TCommand::None);
    return ExitOk;
}

int Run(const std::vector<std::string>& args) {
    const TCliRequest request = ParseCommandLine(args);
    if (request.Help) {
        std::cout << HelpText(request.Command);
        return ExitOk;
    }
    InitPublicFuns();
    if (request.NowText) SetFixedNow(ParseIsoMoment(*request.NowText));
    UseLanguage(request.Language);
    return RunCommand(request, LocateDataFile(request.DataFile));
}

// Files that are only read are mapped into memory. Another program that
// cuts such a file short in place while we read it (our own writers always
// replace files whole) would end us with a bus error; a clear message and
// the failure code instead. Nothing was written, so nothing is left half
// done.
extern "C" void FileChangedWhileRead(int) {
    static const char text[] = "\nolvoctl: a file changed size while it was being read; nothing was changed, try again\n";
    (void)!write(STDERR_FILENO, text, sizeof text - 1);
    _exit(ExitFailed);
}

void CatchFilesCutShort() {
    struct sigaction action {};
    action.sa_handler = FileChangedWhileRead;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    CatchFilesCutShort();
    try {
        return Run(args);
    } catch (const TCliError& error) {
        std::cerr << "olvoctl: " << error.what() << '\n';
        if (error.ExitCode == ExitUsage) std::cerr << UsageHint(FirstCommandWord(args)) << '\n';
        return error.ExitCode;
    } catch (const EIniFileError& error) {
        // A data or backup file that cannot be written: the store's own text.
        std::cerr << "olvoctl: " << error.what() << '\n';
        return ExitFailed;
    } catch (const std::exception& error) {
        std::cerr << "olvoctl: " << error.what() << '\n';
        return ExitFailed;
    }
}
