#include "app/program_entry.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <unistd.h>

#include "app/data_file_lock.h"
#include "app/instance_wakeup.h"
#include "app/languages.h"
#include "common/public_funs.h"
#include "platform/folders.h"
#include "platform/single_instance.h"
#include "store/remind_file.h"

namespace {

int SignalPipe[2] = {-1, -1};

void OnTerminateSignal(int) {
    const char byte = 1;
    // Nothing else is safe in a signal handler; the loop reads the pipe.
    [[maybe_unused]] auto n = write(SignalPipe[1], &byte, 1);
}

bool InstallTerminateHandlers() {
    if (pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction action {};
    action.sa_handler = OnTerminateSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

// Until the main window exists the program has no window to show: it stays
// in the background (as it does hidden in the tray), answers later starts
// through the instance channel, and ends on SIGTERM or SIGINT.
void RunQuietLoop(TInstanceServer* server) {
    if (server) {
        server->OnQueryWindow = [](const std::string& className) {
            return className == MainWindowClass ? TWindowState::Hidden : TWindowState::None;
        };
        server->OnMessage = [](const TWindowMessage&) -> intptr_t { return 0; };
    }
    while (true) {
        pollfd fds[2] = {{SignalPipe[0], POLLIN, 0}, {server ? server->Fd() : -1, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents & POLLIN) return;
        if (server && (fds[1].revents & POLLIN)) server->HandleReady();
    }
}

}  // namespace

std::string DataFilePath() { return AppDataPath + "Olvo_Reminder/" + DataFileName; }

std::unique_ptr<TRemindFile> OpenReminderStore(const std::string& startupLanguage) {
    AppDataPath += "Olvo_Reminder/";
    ForceDirectories(AppDataPath);
    auto store = std::make_unique<TRemindFile>(AppDataPath + DataFileName);
    store->Language = startupLanguage;
    return store;
}

int RunProgram(int argc, char** argv) {
    InitPublicFuns();
    // Handlers go in first so that a SIGTERM arriving during start-up still
    // ends the program through its normal path.
    if (!InstallTerminateHandlers()) return 1;

    TInstanceLock lock = TInstanceLock::Unavailable;
    std::string problem;
    auto server = TInstanceServer::Create(InstanceMutexName, lock, &problem);
    if (lock == TInstanceLock::HeldElsewhere) {
        WakeFirstInstance();
        return 0;
    }
    if (!server) {
        // A runtime folder that is not safe to use must not keep the program
        // from starting; it runs, but says that it cannot guard against a
        // second copy.
        std::fprintf(stderr, "olvo-reminder: running without single-instance protection: %s\n", problem.c_str());
    }

    const std::string language = ChooseLanguage();
    SetLanguageFile(language);
    [[maybe_unused]] const bool logonStart = argc > 1 && argv[1] && argv[1][0] != '\0';

    ForceDirectories(AppDataPath + "Olvo_Reminder/");
    // The data file is the program's for its whole run: its store holds the
    // file in memory, so a change made behind it would be lost with its next
    // write. olvoctl and a second copy that slipped past the instance lock
    // (no private runtime folder) find the lock taken.
    TLockOutcome outcome;
    std::optional<TLockHolder> holder;
    std::string lockError;
    auto dataLock = TFileLock::Acquire(DataFilePath(), ProgramLockHolder, DataLockWait, outcome, &holder, &lockError,
                                       IsRunningProgram);
    if (!dataLock && outcome == TLockOutcome::Busy) {
        std::fprintf(stderr, "olvo-reminder: the data file %s is in use by %s; not starting a second time\n",
                     DataFilePath().c_str(), holder ? holder->Name.c_str() : "another program");
        return 1;
    }
    if (!dataLock) std::fprintf(stderr, "olvo-reminder: %s\n", lockError.c_str());

    auto store = OpenReminderStore(language);
    RunQuietLoop(server.get());

    try {
        store->SaveConfig();
    } catch (const EIniFileError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
