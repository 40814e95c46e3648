#include "platform/file_lock.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <random>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/atomic_file.h"

namespace {

std::optional<TLockHolder> ReadHolder(int fd) {
    char buffer[128];
    ssize_t n = pread(fd, buffer, sizeof buffer - 1, 0);
    if (n <= 0) return std::nullopt;
    std::string_view text(buffer, static_cast<size_t>(n));
    text = text.substr(0, text.find('\n'));
    size_t blank = text.rfind(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    TLockHolder holder;
    holder.Name = std::string(text.substr(0, blank));
    std::string_view pid = text.substr(blank + 1);
    auto [end, ec] = std::from_chars(pid.data(), pid.data() + pid.size(), holder.Pid);
    if (ec != std::errc() || end != pid.data() + pid.size()) return std::nullopt;
    return holder;
}

void WriteHolder(int fd, const std::string& name) {
    const std::string text = name + " " + std::to_string(getpid()) + "\n";
    // A failure leaves the name out; the lock itself holds regardless.
    if (ftruncate(fd, 0) == 0 && pwrite(fd, text.data(), text.size(), 0) < 0) return;
}

}  // namespace

std::string LockFileOf(const std::string& dataFile) { return ResolveLinkTarget(dataFile) + ".lock"; }

bool ProcessAlive(long pid) { return pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

std::unique_ptr<TFileLock> TFileLock::Acquire(const std::string& dataFile, const std::string& holderName,
                                              std::chrono::milliseconds wait, TLockOutcome& outcome,
                                              std::optional<TLockHolder>* holder, std::string* error,
                                              bool (*stopWaiting)(const TLockHolder&)) {
    const std::string path = LockFileOf(dataFile);
    outcome = TLockOutcome::Failed;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        if (error) *error = "cannot open the lock file " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::minstd_rand jitter(static_cast<unsigned>(getpid()));
    while (true) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            WriteHolder(fd, holderName);
            outcome = TLockOutcome::Acquired;
            return std::unique_ptr<TFileLock>(new TFileLock(fd, path));
        }
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) {
            if (error) *error = "cannot lock " + path + ": " + std::strerror(errno);
            close(fd);
            return nullptr;
        }
        std::optional<TLockHolder> seen = ReadHolder(fd);
        if (holder) *holder = seen;
        if ((seen && stopWaiting && stopWaiting(*seen)) || std::chrono::steady_clock::now() >= deadline) {
            outcome = TLockOutcome::Busy;
            close(fd);
            return nullptr;
        }
        // Short, uneven pauses: writers hold the lock for one replacement
        // of the file, a few milliseconds.
        std::this_thread::sleep_for(std::chrono::microseconds(500 + jitter() % 4500));
    }
}

TFileLock::~TFileLock() {
    // The name goes before the lock: whoever waits must not take a holder
    // that has left for one still there.
    if (ftruncate(FFd, 0) != 0) {
        // The next holder writes its own name over it.
    }
    close(FFd);
}
