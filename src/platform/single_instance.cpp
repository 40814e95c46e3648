// The single-instance lock (flock on <name>.lock) and the wake-up channel (a
// line-based Unix-domain socket, <name>.sock) between a later start and the
// first instance. See single_instance.h for the contract.
//
// Wire format, one request per line, several per connection:
//   FIND <class>                        -> none | hidden | minimized | normal
//   SEND <class> <msg> <wparam> <lparam> -> OK <result> | NONE
//   anything else                        -> ERR
#include "platform/single_instance.h"

#include "platform/folders.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

namespace {

using TClock = std::chrono::steady_clock;

// A first instance serves requests on its user-interface thread, so every
// connection gets a short, bounded slice of it however the client behaves.
constexpr auto KServeTimePerConnection = std::chrono::milliseconds(1000);
constexpr int KMaxRequestsPerConnection = 16;
constexpr int KMaxConnectionsPerCall = 8;
constexpr size_t KMaxLineLength = 1024;
// A later start waits this long in all for its answer.
constexpr auto KClientTimeout = std::chrono::milliseconds(2000);
// Answers are one short word or number.
constexpr size_t KMaxAnswerLength = 64;
// IsInstanceRunning briefly holds a shared lock; a start that collides with
// such a probe tries again a few times before concluding another copy runs.
constexpr int KLockAttempts = 4;
constexpr long KLockRetryNanos = 5'000'000;

// Owns one file descriptor.
class TFd {
public:
    explicit TFd(int fd = -1) : FFd(fd) {}
    ~TFd() { Close(); }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    TFd(TFd&& other) noexcept : FFd(other.FFd) { other.FFd = -1; }
    TFd& operator=(TFd&& other) noexcept {
        if (this != &other) {
            Close();
            FFd = other.FFd;
            other.FFd = -1;
        }
        return *this;
    }
    int Get() const { return FFd; }
    explicit operator bool() const { return FFd >= 0; }
    void Close() {
        if (FFd >= 0) ::close(FFd);
        FFd = -1;
    }

private:
    int FFd;
};

void SetProblem(std::string* problem, const std::string& text) {
    if (problem) *problem = text;
}

std::string ErrnoText(int err) { return std::strerror(err); }

// The mutex name becomes part of file names: it must name a file inside the
// runtime folder, not somewhere else.
bool IsUsableName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// Window class names travel as single protocol tokens.
bool IsClassToken(std::string_view text) {
    if (text.empty()) return false;
    for (unsigned char c : text)
        if (c <= 0x20 || c == 0x7F) return false;
    return true;
}

// Ours alone: a real directory of this user that nobody else may write to,
// so nobody else can plant or swap the lock or the socket inside it.
bool IsPrivateDir(const struct stat& st) {
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool SocketPathFits(const std::string& dir, const std::string& name) {
    return dir.size() + 1 + name.size() + 5 < sizeof(sockaddr_un::sun_path);
}

std::optional<std::string> UsableXdgRuntimeDir(const std::string& name) {
    const char* env = std::getenv("XDG_RUNTIME_DIR");
    if (!env || env[0] != '/') return std::nullopt;
    std::string dir = env;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0 || !IsPrivateDir(st) || !SocketPathFits(dir, name)) return std::nullopt;
    return dir;
}

// Nobody else can rename or replace anything inside these folders: each is
// this user's or root's and writable by nobody else, unless sticky (as /tmp
// is, where others cannot move what is ours).
bool IsSafeAncestor(const struct stat& st) {
    return S_ISDIR(st.st_mode) && (st.st_uid == geteuid() || st.st_uid == 0) &&
           ((st.st_mode & (S_IWGRP | S_IWOTH)) == 0 || (st.st_mode & S_ISVTX) != 0);
}

// The folders above `dir` (an absolute path), symbolic links among them
// resolved: a private folder inside a folder that someone else controls
// could be swapped for theirs after it was checked.
bool AncestorsAreSafe(const std::string& dir, std::string* problem) {
    const size_t slash = dir.rfind('/');
    const std::string parent = slash == 0 ? "/" : dir.substr(0, slash);
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(parent.c_str(), nullptr), &std::free);
    if (!real) {
        SetProblem(problem, "cannot resolve " + parent + ": " + ErrnoText(errno));
        return false;
    }
    for (std::string path = real.get();;) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !IsSafeAncestor(st)) {
            SetProblem(problem, path + " (above " + dir + ") may be changed by another user");
            return false;
        }
        if (path == "/") return true;
        const size_t up = path.rfind('/');
        path = up == 0 ? "/" : path.substr(0, up);
    }
}

// Without a runtime folder the lock and the socket live in the user's own
// cache folder rather than under a fixed name in /tmp, which another user
// could take first and so switch single-instance protection off.
std::optional<std::string> PrivateCacheDir(const std::string& name, bool create, std::string* problem) {
    const std::string cache = XdgCacheHome();
    if (cache.empty()) {
        SetProblem(problem, "no runtime folder and no home folder for the instance lock");
        return std::nullopt;
    }
    const std::string dir = (cache == "/" ? std::string() : cache) + "/olvo-reminder";
    // Too long for sun_path: a shorter name elsewhere would have to be a
    // shared one again, so the lock is unavailable instead.
    if (!SocketPathFits(dir, name)) {
        SetProblem(problem, "socket path in " + dir + " is too long for a Unix-domain socket");
        return std::nullopt;
    }
    if (create && !ForceDirectories(dir, 0700)) {
        SetProblem(problem, "cannot create " + dir + ": " + ErrnoText(errno));
        return std::nullopt;
    }
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0) {
        SetProblem(problem, "cannot inspect " + dir + ": " + ErrnoText(errno));
        return std::nullopt;
    }
    // Refused, never repaired: whoever made it this way may still hold it.
    if (!IsPrivateDir(st)) {
        SetProblem(problem, dir + " is not a private folder of this user");
        return std::nullopt;
    }
    if (!AncestorsAreSafe(dir, problem)) return std::nullopt;
    return dir;
}

// $XDG_RUNTIME_DIR when it is usable, else the private cache folder.
std::optional<std::string> ResolveRuntimeDir(const std::string& name, bool create, std::string* problem) {
    if (!IsUsableName(name)) {
        SetProblem(problem, "instance name \"" + name + "\" cannot name a file");
        return std::nullopt;
    }
    if (auto xdg = UsableXdgRuntimeDir(name)) return xdg;
    return PrivateCacheDir(name, create, problem);
}

std::string LockPath(const std::string& dir, const std::string& name) { return dir + "/" + name + ".lock"; }
std::string SocketPath(const std::string& dir, const std::string& name) { return dir + "/" + name + ".sock"; }

sockaddr_un SocketAddress(const std::string& path) {
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);   // fits: checked by SocketPathFits
    return addr;
}

// 0 when taken, else the errno of the last attempt (EWOULDBLOCK: held).
int TakeExclusiveLock(int fd) {
    for (int attempt = 1;; ++attempt) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
        const int err = errno;
        if (err == EINTR) continue;
        if (err != EWOULDBLOCK || attempt >= KLockAttempts) return err;
        const timespec pause {0, KLockRetryNanos};
        ::nanosleep(&pause, nullptr);
    }
}

// Milliseconds left before the deadline, rounded up; 0 once it has passed.
int RemainingMs(TClock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - TClock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for `events` on a non-blocking socket; false on timeout or error.
bool WaitFor(int fd, short events, TClock::time_point deadline) {
    for (;;) {
        const int ms = RemainingMs(deadline);
        if (ms == 0) return false;
        pollfd p {fd, events, 0};
        const int rc = ::poll(&p, 1, ms);
        if (rc > 0) return true;
        if (rc == 0 || errno != EINTR) return false;
    }
}

// Appends what arrives; false on end of stream, error or timeout.
bool ReadMore(int fd, std::string& buffer, TClock::time_point deadline) {
    char chunk[1024];
    for (;;) {
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n > 0) {
            buffer.append(chunk, static_cast<size_t>(n));
            return true;
        }
        if (n == 0) return false;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (!WaitFor(fd, POLLIN, deadline)) return false;
    }
}

// MSG_NOSIGNAL: a peer that has gone away must not kill us with SIGPIPE.
bool SendAll(int fd, std::string_view data, TClock::time_point deadline) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            data.remove_prefix(static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (!WaitFor(fd, POLLOUT, deadline)) return false;
    }
    return true;
}

// Splits on single blanks; an empty word (doubled or edge blank) is malformed.
std::optional<std::vector<std::string_view>> SplitWords(std::string_view line) {
    std::vector<std::string_view> words;
    for (;;) {
        const size_t blank = line.find(' ');
        const std::string_view word = line.substr(0, blank);
        if (word.empty()) return std::nullopt;
        words.push_back(word);
        if (blank == std::string_view::npos) return words;
        line.remove_prefix(blank + 1);
    }
}

template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
    T value {};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

const char* StateWord(TWindowState state) {
    switch (state) {
    case TWindowState::Hidden: return "hidden";
    case TWindowState::Minimized: return "minimized";
    case TWindowState::Normal: return "normal";
    case TWindowState::None: break;
    }
    return "none";
}

TWindowState StateFromWord(std::string_view word) {
    if (word == "hidden") return TWindowState::Hidden;
    if (word == "minimized") return TWindowState::Minimized;
    if (word == "normal") return TWindowState::Normal;
    return TWindowState::None;
}

std::string AnswerSend(const std::vector<std::string_view>& words, const TInstanceServer::TStateQuery& query,
                       const TInstanceServer::TMessageHandler& handler) {
    TWindowMessage message;
    message.ClassName = std::string(words[1]);
    const auto msg = ParseNumber<uint32_t>(words[2]);
    const auto wParam = ParseNumber<intptr_t>(words[3]);
    const auto lParam = ParseNumber<intptr_t>(words[4]);
    if (!msg || !wParam || !lParam) return "ERR\n";
    message.Msg = *msg;
    message.WParam = *wParam;
    message.LParam = *lParam;
    if (!query || query(message.ClassName) == TWindowState::None) return "NONE\n";
    // A window without a handler takes the message and does nothing with it.
    const intptr_t result = handler ? handler(message) : 0;
    return "OK " + std::to_string(result) + "\n";
}

std::string Answer(std::string_view line, const TInstanceServer::TStateQuery& query,
                   const TInstanceServer::TMessageHandler& handler) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const auto words = SplitWords(line);
    if (!words || !IsClassToken(words->size() > 1 ? (*words)[1] : std::string_view())) return "ERR\n";
    // The owner's callbacks run inside its event loop; whatever they throw
    // stays with this request.
    try {
        if ((*words)[0] == "FIND" && words->size() == 2)
            return std::string(StateWord(query ? query(std::string((*words)[1])) : TWindowState::None)) + "\n";
        if ((*words)[0] == "SEND" && words->size() == 5) return AnswerSend(*words, query, handler);
    } catch (...) {
    }
    return "ERR\n";
}

// One line from the client, or nothing when the connection should end.
// An overlong line is answered ERR and ends it: there is no telling where
// the next request would start.
std::optional<std::string> NextLine(int fd, std::string& pending, TClock::time_point deadline) {
    for (;;) {
        const size_t eol = pending.find('\n');
        if (eol != std::string::npos && eol <= KMaxLineLength) {
            std::string line = pending.substr(0, eol);
            pending.erase(0, eol + 1);
            return line;
        }
        if (eol != std::string::npos || pending.size() > KMaxLineLength) {
            SendAll(fd, "ERR\n", deadline);
            return std::nullopt;
        }
        if (!ReadMore(fd, pending, deadline)) return std::nullopt;
    }
}

}  // namespace

struct TInstanceServer::TImpl {
    TFd Lock;
    TFd Listener;
    std::string SocketFile;

    // The socket file goes before the lock is released, so that it can never
    // remove the socket of an instance that starts right after us.
    ~TImpl() {
        Listener.Close();
        ::unlink(SocketFile.c_str());
        Lock.Close();
    }

    void Serve(int fd, const TStateQuery& query, const TMessageHandler& handler) {
        const auto deadline = TClock::now() + KServeTimePerConnection;
        std::string pending;
        for (int served = 0; served < KMaxRequestsPerConnection; ++served) {
            const auto line = NextLine(fd, pending, deadline);
            if (!line || !SendAll(fd, Answer(*line, query, handler), deadline)) return;
        }
    }
};

std::unique_ptr<TInstanceServer> TInstanceServer::Create(const std::string& mutexName) {
    TInstanceLock outcome;
    return Create(mutexName, outcome);
}

std::unique_ptr<TInstanceServer> TInstanceServer::Create(const std::string& mutexName, TInstanceLock& outcome,
                                                         std::string* problem) {
    outcome = TInstanceLock::Unavailable;
    const auto dir = ResolveRuntimeDir(mutexName, true, problem);
    if (!dir) return nullptr;

    // A fresh open file description every time: flock conflicts between
    // descriptions, so a second Create in this same process is refused too.
    const std::string lockPath = LockPath(*dir, mutexName);
    TFd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!lock) {
        SetProblem(problem, "cannot open " + lockPath + ": " + ErrnoText(errno));
        return nullptr;
    }
    if (const int err = TakeExclusiveLock(lock.Get()); err != 0) {
        if (err == EWOULDBLOCK)
            outcome = TInstanceLock::HeldElsewhere;
        else
            SetProblem(problem, "cannot lock " + lockPath + ": " + ErrnoText(err));
        return nullptr;
    }

    // Holding the lock makes any socket file left here a dead one.
    const std::string socketPath = SocketPath(*dir, mutexName);
    ::unlink(socketPath.c_str());
    TFd listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    const sockaddr_un addr = SocketAddress(socketPath);
    if (!listener || ::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listener.Get(), 16) != 0) {
        SetProblem(problem, "cannot listen on " + socketPath + ": " + ErrnoText(errno));
        ::unlink(socketPath.c_str());
        return nullptr;
    }

    std::unique_ptr<TInstanceServer> server(new TInstanceServer());
    server->FImpl = std::make_unique<TImpl>();
    server->FImpl->Lock = std::move(lock);
    server->FImpl->Listener = std::move(listener);
    server->FImpl->SocketFile = socketPath;
    outcome = TInstanceLock::Acquired;
    return server;
}

TInstanceServer::~TInstanceServer() = default;

int TInstanceServer::Fd() const { return FImpl->Listener.Get(); }

void TInstanceServer::HandleReady() {
    for (int accepted = 0; accepted < KMaxConnectionsPerCall;) {
        const int fd = ::accept4(FImpl->Listener.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return;   // EAGAIN: nothing more pending
        }
        ++accepted;
        TFd connection(fd);
        FImpl->Serve(connection.Get(), OnQueryWindow, OnMessage);
    }
}

namespace {

// Connects to the first instance; retries while its backlog is full (it is
// busy, not gone) until the deadline.
TFd Connect(const std::string& mutexName, TClock::time_point deadline) {
    const auto dir = ResolveRuntimeDir(mutexName, false, nullptr);
    if (!dir) return TFd();
    const sockaddr_un addr = SocketAddress(SocketPath(*dir, mutexName));
    for (;;) {
        TFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        if (!fd) return TFd();
        if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) return fd;
        if (errno == EINPROGRESS) {
            int err = 0;
            socklen_t len = sizeof err;
            if (WaitFor(fd.Get(), POLLOUT, deadline) &&
                ::getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0)
                return fd;
            return TFd();
        }
        if (errno != EAGAIN && errno != EINTR) return TFd();   // no listener: nobody runs
        if (RemainingMs(deadline) == 0) return TFd();
        ::poll(nullptr, 0, std::min(20, RemainingMs(deadline)));
    }
}

// Sends one request line and returns the answer line without its newline.
std::optional<std::string> Ask(const std::string& mutexName, const std::string& request) {
    const auto deadline = TClock::now() + KClientTimeout;
    const TFd fd = Connect(mutexName, deadline);
    if (!fd || !SendAll(fd.Get(), request, deadline)) return std::nullopt;
    std::string answer;
    for (;;) {
        const size_t eol = answer.find('\n');
        if (eol != std::string::npos) return answer.substr(0, eol);
        if (answer.size() > KMaxAnswerLength || !ReadMore(fd.Get(), answer, deadline)) return std::nullopt;
    }
}

}  // namespace

namespace InstanceClient {

TWindowState FindWindowState(const std::string& mutexName, const std::string& className) {
    if (!IsClassToken(className)) return TWindowState::None;
    const auto answer = Ask(mutexName, "FIND " + className + "\n");
    return answer ? StateFromWord(*answer) : TWindowState::None;
}

std::optional<intptr_t> SendMessage(const std::string& mutexName, const TWindowMessage& message) {
    if (!IsClassToken(message.ClassName)) return std::nullopt;
    const auto answer = Ask(mutexName, "SEND " + message.ClassName + " " + std::to_string(message.Msg) + " " +
                                           std::to_string(message.WParam) + " " + std::to_string(message.LParam) +
                                           "\n");
    if (!answer || answer->rfind("OK ", 0) != 0) return std::nullopt;
    return ParseNumber<intptr_t>(std::string_view(*answer).substr(3));
}

}  // namespace InstanceClient

bool IsInstanceRunning(const std::string& mutexName) {
    const auto dir = ResolveRuntimeDir(mutexName, false, nullptr);
    if (!dir) return false;
    TFd fd(::open(LockPath(*dir, mutexName).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd) return false;
    // Shared, so that two probes at once do not see each other as a runner.
    int rc;
    do rc = ::flock(fd.Get(), LOCK_SH | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        ::flock(fd.Get(), LOCK_UN);
        return false;
    }
    return errno == EWOULDBLOCK;
}

std::string InstanceRuntimeDir(const std::string& mutexName) {
    return ResolveRuntimeDir(mutexName, true, nullptr).value_or(std::string());
}
