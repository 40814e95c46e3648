// Taking turns at a data file. Every change to a file is a read, a change
// and a replacement; two writers doing that at once would each replace the
// file with their own copy and lose the other's change. A writer therefore
// holds an exclusive lock (flock) on "<file>.lock" beside the file from
// before it reads until its replacement is on disk. The lock file also
// names its holder ("olvo-reminder 1234"), so that someone waiting can tell
// a short change from a program that holds the file for its whole run.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

struct TLockHolder {
    std::string Name;  // as the holder gave it
    long Pid = 0;
};

enum class TLockOutcome { Acquired, Busy, Failed };

class TFileLock {
public:
    // Waits up to `wait` for the lock of the data file. `holderName` is what
    // others see while it is held. Busy: someone else holds it (described in
    // `holder` when it said who it is); Failed: the lock file cannot be
    // opened (the reason in `error`). `stopWaiting` (when given) is asked
    // about each holder seen; true gives up at once.
    static std::unique_ptr<TFileLock> Acquire(const std::string& dataFile, const std::string& holderName,
                                              std::chrono::milliseconds wait, TLockOutcome& outcome,
                                              std::optional<TLockHolder>* holder = nullptr,
                                              std::string* error = nullptr,
                                              bool (*stopWaiting)(const TLockHolder&) = nullptr);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

    const std::string& Path() const { return FPath; }

private:
    TFileLock(int fd, std::string path) : FFd(fd), FPath(std::move(path)) {}
    int FFd;
    std::string FPath;
};

// The lock file of a data file: beside the file a symbolic link points at,
// so that every path to one file shares one lock.
std::string LockFileOf(const std::string& dataFile);
// Whether a process with that id exists.
bool ProcessAlive(long pid);
