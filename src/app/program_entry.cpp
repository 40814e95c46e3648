#include "app/program_entry.h"

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>
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

TWindowState InstanceStateOf(TMainWindowShow show) {
    switch (show) {
        case TMainWindowShow::Hidden: return TWindowState::Hidden;
        case TMainWindowShow::Minimized: return TWindowState::Minimized;
        case TMainWindowShow::Normal: return TWindowState::Normal;
        case TMainWindowShow::None: break;
    }
    return TWindowState::None;
}

// While the windows run, a thread of its own waits for a terminating signal
// and for later starts knocking on the instance channel, and hands both to
// the user-interface thread: the windows and the store are never touched
// from here. A knock is answered on the user-interface thread before the
// channel is watched again, so one knock is never handed over twice.
class TEventWatch {
public:
    TEventWatch(TInstanceServer* server, TProgramWindows& windows) : FServer(server), FWindows(windows) {
        if (FServer) {
            FServer->OnQueryWindow = [this](const std::string& className) {
                return className == MainWindowClass ? InstanceStateOf(FWindows.MainWindowShow())
                                                    : TWindowState::None;
            };
            FServer->OnMessage = [this](const TWindowMessage& message) -> intptr_t {
                if (message.ClassName != MainWindowClass || message.Msg != RestoreMessage) return 0;
                FWindows.Restore(message.WParam);
                return 0;
            };
        }
        if (pipe2(FStop, O_CLOEXEC | O_NONBLOCK) == 0) FThread = std::thread([this] { Watch(); });
    }
    ~TEventWatch() {
        if (FThread.joinable()) {
            const char byte = 1;
            [[maybe_unused]] auto n = write(FStop[1], &byte, 1);
            {
                std::lock_guard lock(FKnock->Mutex);
                FKnock->Stopping = true;
            }
            FKnock->Answered.notify_all();
            FThread.join();
        }
        for (int fd : FStop)
            if (fd >= 0) close(fd);
    }

private:
    void Watch() {
        while (true) {
            pollfd fds[3] = {{SignalPipe[0], POLLIN, 0}, {FStop[0], POLLIN, 0}, {FServer ? FServer->Fd() : -1, POLLIN, 0}};
            if (poll(fds, 3, -1) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (fds[1].revents & POLLIN) return;
            if (fds[0].revents & POLLIN) {
                FWindows.Post([this] { FWindows.Quit(); });
                return;
            }
            if (fds[2].revents & POLLIN) {
                // The call may outlive this object when the loop ends first
                // (it then never runs, or runs against a stopped watch).
                std::unique_lock lock(FKnock->Mutex);
                FKnock->Pending = true;
                FWindows.Post([knock = FKnock, server = FServer] {
                    std::lock_guard done(knock->Mutex);
                    if (!knock->Stopping) server->HandleReady();
                    knock->Pending = false;
                    knock->Answered.notify_all();
                });
                FKnock->Answered.wait(lock, [this] { return !FKnock->Pending || FKnock->Stopping; });
                if (FKnock->Stopping) return;
            }
        }
    }

    TInstanceServer* FServer;
    TProgramWindows& FWindows;
    int FStop[2] = {-1, -1};
    std::thread FThread;
    struct TKnock {
        std::mutex Mutex;
        std::condition_variable Answered;
        bool Pending = false;
        bool Stopping = false;
    };
    std::shared_ptr<TKnock> FKnock = std::make_shared<TKnock>();
};

// The desktop program: the main window runs until the program is told to end.
int RunWindows(TProgramWindows& windows, std::unique_ptr<TRemindFile> store, bool logonStart,
               TInstanceServer* server) {
    std::string problem;
    if (!windows.Open(std::move(store), logonStart, problem)) {
        std::fprintf(stderr, "olvo-reminder: %s\n", problem.c_str());
        return 1;
    }
    {
        TEventWatch watch(server, windows);
        windows.Run();
    }
    try {
        windows.Close();
    } catch (const EIniFileError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
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

int RunProgram(int argc, char** argv, TProgramWindows* windows) {
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
    const bool logonStart = argc > 1 && argv[1] && argv[1][0] != '\0';

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
    if (windows) return RunWindows(*windows, std::move(store), logonStart, server.get());
    RunQuietLoop(server.get());

    try {
        store->SaveConfig();
    } catch (const EIniFileError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
