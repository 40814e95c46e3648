// One running copy per user: a lock file held for the life of the first
// instance (the stand-in for a named mutex), and a Unix-domain socket beside
// it through which a later start finds the first instance's window by class
// name and sends it a message (the stand-in for FindWindow + SendMessage).
//
// Both live in the user's runtime folder, named after the mutex: <name>.lock,
// <name>.sock. That is $XDG_RUNTIME_DIR when it is usable, else a private
// folder in the user's own cache folder, $XDG_CACHE_HOME/olvo-reminder
// (~/.cache/olvo-reminder), created 0700 with any missing parents; never a
// fixed name in /tmp, which another user could take first. A folder that is
// not provably ours (a symlink, someone else's, writable by others, or inside
// a folder that someone else may change) is never used and never repaired,
// and neither is one whose socket path would not fit a Unix-domain address:
// the lock is then "unavailable" rather than "held".
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

enum class TWindowState { None, Hidden, Minimized, Normal };

struct TWindowMessage {
    std::string ClassName;
    uint32_t Msg = 0;
    intptr_t WParam = 0;
    intptr_t LParam = 0;
};

// Why Create() gave no server. HeldElsewhere is the "mutex already existed"
// case: another copy runs. Unavailable means the lock could not be set up
// safely (unusable runtime folder, name not usable as a file name, socket
// error); nobody is known to run, so the caller should start anyway and say
// that single-instance protection is off, rather than refuse to start.
enum class TInstanceLock { Acquired, HeldElsewhere, Unavailable };

// The first instance's side. Create() takes the lock; when another process
// holds it the result is empty. The owner watches Fd() in its event loop and
// calls HandleReady() when it is readable; requests are answered there, on
// the owner's thread.
class TInstanceServer {
public:
    using TStateQuery = std::function<TWindowState(const std::string& className)>;
    using TMessageHandler = std::function<intptr_t(const TWindowMessage& message)>;

    static std::unique_ptr<TInstanceServer> Create(const std::string& mutexName);
    // As above, telling why there is no server; `problem` (if given) receives
    // a one-line reason for Unavailable, fit for a log line.
    static std::unique_ptr<TInstanceServer> Create(const std::string& mutexName, TInstanceLock& outcome,
                                                   std::string* problem = nullptr);
    ~TInstanceServer();

    int Fd() const;
    // Accepts the pending connections (a bounded number per call; the rest
    // keep Fd() readable) and answers each one completely. A silent or slow
    // client costs at most about a second before it is dropped.
    void HandleReady();

    // Which windows exist and how they are shown; unset answers None.
    TStateQuery OnQueryWindow;
    // Delivery of a message sent to a window that OnQueryWindow reported.
    TMessageHandler OnMessage;

private:
    TInstanceServer() = default;
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
    friend struct TInstanceServerAccess;
};

// A later start's side. Each call connects, asks, and gives up after a short
// timeout, so a hung first instance never hangs the caller.
namespace InstanceClient {
// State of the first instance's window with that class; None when there is
// no first instance, no such window, or no answer.
TWindowState FindWindowState(const std::string& mutexName, const std::string& className);
// Sends a message and waits for it to be handled; empty when it went nowhere.
std::optional<intptr_t> SendMessage(const std::string& mutexName, const TWindowMessage& message);
}  // namespace InstanceClient

// True while some process holds the lock (does not take it).
bool IsInstanceRunning(const std::string& mutexName);

// The folder used for the lock and the socket (the private fallback is
// created 0700 if needed); empty when no safe folder is available for that
// name.
std::string InstanceRuntimeDir(const std::string& mutexName);
