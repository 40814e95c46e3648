// Detached program starts and the shell "open" stand-in; see shell_open.h.
#include "platform/shell_open.h"

#include "platform/folders.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

// Owns the spawn attribute objects so every exit path releases them.
class TSpawnSetup {
public:
    TSpawnSetup() {
        FActionsOk = posix_spawn_file_actions_init(&FActions) == 0;
        FAttrOk = posix_spawnattr_init(&FAttr) == 0;
    }
    ~TSpawnSetup() {
        if (FActionsOk) posix_spawn_file_actions_destroy(&FActions);
        if (FAttrOk) posix_spawnattr_destroy(&FAttr);
    }
    TSpawnSetup(const TSpawnSetup&) = delete;
    TSpawnSetup& operator=(const TSpawnSetup&) = delete;

    // 0 when ready, else the error number.
    int Prepare() {
        if (!FActionsOk || !FAttrOk) return ENOMEM;
        int rc = posix_spawn_file_actions_addopen(&FActions, 0, "/dev/null", O_RDONLY, 0);
        if (rc == 0) rc = posix_spawn_file_actions_addopen(&FActions, 1, "/dev/null", O_WRONLY, 0);
        if (rc == 0) rc = posix_spawn_file_actions_adddup2(&FActions, 1, 2);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        // Descriptors opened without close-on-exec (by us or by a library)
        // would otherwise live on in the browser; the single-instance lock
        // among them would keep the next start of the program from running.
        if (rc == 0) rc = posix_spawn_file_actions_addclosefrom_np(&FActions, 3);
#endif
        if (rc != 0) return rc;

        // The child must not inherit a blocked mask or ignored signals (a
        // program ignoring SIGPIPE for its network code is common); a session
        // of its own keeps it alive and quiet when our terminal goes away.
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        for (int sig : {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGALRM, SIGUSR1, SIGUSR2})
            sigaddset(&defaults, sig);
        rc = posix_spawnattr_setsigmask(&FAttr, &none);
        if (rc == 0) rc = posix_spawnattr_setsigdefault(&FAttr, &defaults);
        if (rc == 0)
            rc = posix_spawnattr_setflags(&FAttr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        return rc;
    }

    const posix_spawn_file_actions_t* Actions() const { return &FActions; }
    const posix_spawnattr_t* Attr() const { return &FAttr; }

private:
    posix_spawn_file_actions_t FActions{};
    posix_spawnattr_t FAttr{};
    bool FActionsOk = false;
    bool FAttrOk = false;
};

void ReapInBackground(pid_t pid) {
    try {
        std::thread([pid] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (...) {
        // No thread to spare: a non-blocking attempt at least collects a
        // child that already failed; otherwise it waits for our own exit.
        int status = 0;
        waitpid(pid, &status, WNOHANG);
    }
}

bool Fail(std::string* error, const std::string& what, int err) {
    if (error) *error = what + ": " + std::strerror(err);
    return false;
}

}  // namespace

bool StartDetached(const std::vector<std::string>& argv, std::string* error) {
    if (argv.empty() || argv[0].empty()) return Fail(error, "no program to start", EINVAL);
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    TSpawnSetup setup;
    int rc = setup.Prepare();
    if (rc != 0) return Fail(error, "cannot prepare the start of " + argv[0], rc);
    pid_t pid = -1;
    rc = posix_spawnp(&pid, args[0], setup.Actions(), setup.Attr(), args.data(), environ);
    if (rc != 0) return Fail(error, "cannot start " + argv[0], rc);
    ReapInBackground(pid);
    return true;
}

namespace {
TShellOpenHook& ShellOpenHook() {
    static TShellOpenHook hook;
    return hook;
}
}  // namespace

TShellOpenHook SetShellOpenHook(TShellOpenHook hook) {
    TShellOpenHook previous = std::move(ShellOpenHook());
    ShellOpenHook() = std::move(hook);
    return previous;
}

bool ShellOpen(const std::string& target, std::string* error) {
    if (const TShellOpenHook& hook = ShellOpenHook()) return hook(target);
    std::string argument = target;
    // xdg-open rejects any argument starting with '-' as an unknown option;
    // a web address never starts so, but a file in the working folder may.
    if (argument.starts_with('-') && (FileExists(argument) || DirectoryExists(argument)))
        argument = "./" + argument;
    return StartDetached({"xdg-open", argument}, error);
}
