// The single-instance lock and wake-up channel: the lock between servers in
// one process and across processes, the runtime folder and its private
// fallback in the user's cache folder, the request
// protocol against well-formed and hostile clients, and a real second process
// (tests/tools/instance_peer) as the first instance that is stopped or killed.
#include "platform/single_instance.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace testing_support;
using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

const std::string KMain = "TfrmORMMain";
constexpr uint32_t KShowMessage = 0x117D;

std::string UniqueName() {
    static int counter = 0;
    return "olvo-si-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

int MsLeft(TClock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Reads a descriptor until end of stream (or one line); bounded by a deadline.
std::string ReadFd(int fd, bool oneLine, std::chrono::seconds limit, bool* ended = nullptr) {
    const auto deadline = TClock::now() + limit;
    std::string got;
    while (!(oneLine && got.find('\n') != std::string::npos)) {
        pollfd p {fd, POLLIN, 0};
        if (poll(&p, 1, MsLeft(deadline)) <= 0) break;
        char c;
        const ssize_t n = read(fd, &c, oneLine ? 1 : sizeof c);
        if (n <= 0) {
            if (ended) *ended = true;
            break;
        }
        got += c;
    }
    return got;
}

// Runs `call` on a thread while this thread answers for the server, as the
// first instance's event loop would; a pipe reports the call's end.
template <typename F>
auto CallWhileServing(TInstanceServer& server, F call) {
    int done[2];
    EXPECT_EQ(pipe2(done, O_CLOEXEC), 0);
    decltype(call()) result {};
    std::thread worker([&] {
        result = call();
        const char c = 1;
        EXPECT_EQ(write(done[1], &c, 1), 1);
    });
    const auto deadline = TClock::now() + 20s;
    for (;;) {
        pollfd fds[2] = {{server.Fd(), POLLIN, 0}, {done[0], POLLIN, 0}};
        if (poll(fds, 2, MsLeft(deadline)) == 0) {
            ADD_FAILURE() << "client call did not finish";
            break;
        }
        if (fds[0].revents & POLLIN) server.HandleReady();
        if (fds[1].revents) break;
    }
    worker.join();   // the client's own timeout bounds this
    close(done[0]);
    close(done[1]);
    return result;
}

// A client that speaks the socket protocol by hand.
class TRawClient {
public:
    explicit TRawClient(const std::string& socketPath) : FFd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_un addr {};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, socketPath.c_str(), sizeof addr.sun_path - 1);
        EXPECT_EQ(connect(FFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0) << std::strerror(errno);
    }
    ~TRawClient() { Close(); }
    void Send(const std::string& text, bool finished = true) {
        EXPECT_EQ(send(FFd, text.data(), text.size(), MSG_NOSIGNAL), static_cast<ssize_t>(text.size()));
        if (finished) shutdown(FFd, SHUT_WR);
    }
    // Everything the server wrote, and whether it then closed the connection.
    std::string ReadAll(bool& closed) { return ReadFd(FFd, false, 10s, &closed); }
    void Close() {
        if (FFd >= 0) close(FFd);
        FFd = -1;
    }

private:
    int FFd;
};

// instance_peer in another process, its stdout read through a pipe.
class TPeer {
public:
    explicit TPeer(std::vector<std::string> args) {
        args.insert(args.begin(), BinDir() + "/instance_peer");
        int out[2];
        EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const int rc = posix_spawn(&FPid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        FOut = out[0];
        EXPECT_EQ(rc, 0) << "cannot start " << argv[0] << " (build the instance_peer target)";
        if (rc != 0) FPid = -1;
    }
    ~TPeer() {
        if (FPid > 0) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
        close(FOut);
    }
    std::string ReadLine() { return ReadFd(FOut, true, 10s); }
    void Signal(int sig) { kill(FPid, sig); }
    // Exit code, or 128 + signal; -1 when it did not end in time.
    int Wait() {
        bool ended = false;
        ReadFd(FOut, false, 10s, &ended);
        if (!ended || FPid <= 0) return -1;
        int status = 0;
        waitpid(FPid, &status, 0);
        FPid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    pid_t FPid = -1;
    int FOut = -1;
};

class SingleInstanceTest : public ::testing::Test {
protected:
    // A home of the test's own, so that no fallback ever reaches the real one.
    TTempDir Home;
    TEnvGuard HomeEnv {"HOME", Home.Path()};
    TEnvGuard CacheEnv {"XDG_CACHE_HOME", std::nullopt};
    TTempDir Runtime;
    TEnvGuard Xdg {"XDG_RUNTIME_DIR", Runtime.Path()};
    std::string Name = UniqueName();

    std::string SocketFile() const { return Runtime / (Name + ".sock"); }
    std::string LockFile() const { return Runtime / (Name + ".lock"); }

    std::unique_ptr<TInstanceServer> StartServer(TWindowState mainState) {
        auto server = TInstanceServer::Create(Name);
        EXPECT_TRUE(server);
        if (server)
            server->OnQueryWindow = [mainState](const std::string& c) {
                return c == KMain ? mainState : TWindowState::None;
            };
        return server;
    }
};

// --- the lock ---------------------------------------------------------------

TEST_F(SingleInstanceTest, LockIsExclusiveInOneProcessAndFreedByDestruction) {
    EXPECT_FALSE(IsInstanceRunning(Name));
    EXPECT_EQ(InstanceRuntimeDir(Name), Runtime.Path());

    TInstanceLock outcome = TInstanceLock::Unavailable;
    auto first = TInstanceServer::Create(Name, outcome);
    ASSERT_TRUE(first);
    EXPECT_EQ(outcome, TInstanceLock::Acquired);
    EXPECT_TRUE(PathExists(SocketFile()));
    EXPECT_TRUE(IsInstanceRunning(Name));
    EXPECT_TRUE(IsInstanceRunning(Name)) << "probing must not take the lock away";

    EXPECT_FALSE(TInstanceServer::Create(Name, outcome));
    EXPECT_EQ(outcome, TInstanceLock::HeldElsewhere);
    EXPECT_TRUE(PathExists(SocketFile())) << "a refused start must leave the running socket alone";

    first.reset();
    EXPECT_FALSE(PathExists(SocketFile()));
    EXPECT_TRUE(PathExists(LockFile()));
    EXPECT_FALSE(IsInstanceRunning(Name));
    EXPECT_TRUE(TInstanceServer::Create(Name, outcome));
    EXPECT_EQ(outcome, TInstanceLock::Acquired);
}

TEST_F(SingleInstanceTest, NothingRunningAnswersNothing) {
    EXPECT_EQ(InstanceClient::FindWindowState(Name, KMain), TWindowState::None);
    EXPECT_FALSE(InstanceClient::SendMessage(Name, {KMain, KShowMessage, 1, 0}));
    EXPECT_FALSE(PathExists(LockFile())) << "asking must not create the lock";

    // Another process asking at the same moment holds the lock shared for an
    // instant; that is not a running instance.
    const int probe = open(LockFile().c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(probe, 0);
    ASSERT_EQ(flock(probe, LOCK_SH | LOCK_NB), 0);
    EXPECT_FALSE(IsInstanceRunning(Name));
    close(probe);
}

// --- the runtime folder and its private fallback ------------------------------

// The fixed /tmp name the lock once fell back to, planted by a test as
// another user might, and removed afterwards.
struct TPlantedTmpName {
    std::string Path;
    explicit TPlantedTmpName(const std::string& name) : Path("/tmp/" + name + "-" + std::to_string(getuid())) {}
    ~TPlantedTmpName() {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
};

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st.st_mode;
}

TEST_F(SingleInstanceTest, UnusableRuntimeFolderFallsBackToPrivateCacheFolder) {
    const std::string groupWritable = Runtime / "shared";
    ASSERT_EQ(mkdir(groupWritable.c_str(), 0700), 0);
    ASSERT_EQ(chmod(groupWritable.c_str(), 0770), 0);
    const std::string tooLong = Runtime / std::string(100, 'd');
    ASSERT_EQ(mkdir(tooLong.c_str(), 0700), 0);

    for (const std::optional<std::string>& xdg : std::vector<std::optional<std::string>> {
             std::nullopt, "relative/dir", groupWritable, Runtime / "missing", tooLong}) {
        SCOPED_TRACE(xdg.value_or("(unset)"));
        TTempDir home;   // no cache folder yet
        TEnvGuard homeEnv("HOME", home.Path());
        TEnvGuard env("XDG_RUNTIME_DIR", xdg);
        const std::string name = UniqueName();
        const std::string folder = home / ".cache/olvo-reminder";
        EXPECT_EQ(InstanceRuntimeDir(name), folder);
        EXPECT_EQ(ModeOf(home / ".cache"), S_IFDIR | 0700);
        EXPECT_EQ(ModeOf(folder), S_IFDIR | 0700);
        auto server = TInstanceServer::Create(name);
        EXPECT_TRUE(server);
        EXPECT_TRUE(IsInstanceRunning(name));
        EXPECT_TRUE(PathExists(folder + "/" + name + ".lock"));
        EXPECT_TRUE(PathExists(folder + "/" + name + ".sock"));
        EXPECT_FALSE(PathExists("/tmp/" + name + "-" + std::to_string(getuid())));
    }
}

TEST_F(SingleInstanceTest, CacheFolderFollowsXdgCacheHomeOnlyWhenAbsolute) {
    TEnvGuard runtime("XDG_RUNTIME_DIR", std::nullopt);
    TTempDir cache;
    {
        TEnvGuard env("XDG_CACHE_HOME", cache / "deep/er/");
        EXPECT_EQ(InstanceRuntimeDir(Name), cache / "deep/er/olvo-reminder");
        EXPECT_EQ(ModeOf(cache / "deep"), S_IFDIR | 0700);
        EXPECT_EQ(ModeOf(cache / "deep/er/olvo-reminder"), S_IFDIR | 0700);
    }
    {
        TEnvGuard env("XDG_CACHE_HOME", "relative/cache");
        EXPECT_EQ(InstanceRuntimeDir(Name), Home / ".cache/olvo-reminder");
    }
}

TEST_F(SingleInstanceTest, NamePlantedInTmpByOthersChangesNothing) {
    TEnvGuard runtime("XDG_RUNTIME_DIR", std::nullopt);
    TTempDir target;
    auto check = [&](const TPlantedTmpName& planted) {
        TInstanceLock outcome = TInstanceLock::Unavailable;
        auto server = TInstanceServer::Create(Name, outcome);
        ASSERT_TRUE(server);
        EXPECT_EQ(outcome, TInstanceLock::Acquired);
        EXPECT_EQ(InstanceRuntimeDir(Name), Home / ".cache/olvo-reminder");
        EXPECT_TRUE(IsInstanceRunning(Name));
        EXPECT_FALSE(TInstanceServer::Create(Name, outcome));
        EXPECT_EQ(outcome, TInstanceLock::HeldElsewhere);
        std::vector<std::string> inside;
        for (const auto& entry : std::filesystem::directory_iterator(target.Path())) inside.push_back(entry.path());
        EXPECT_TRUE(inside.empty()) << "nothing may be created in the planted folder";
        EXPECT_TRUE(PathExists(planted.Path)) << "nor is it removed";
    };
    {
        SCOPED_TRACE("symlink");
        TPlantedTmpName planted(Name);
        ASSERT_EQ(symlink(target.Path().c_str(), planted.Path.c_str()), 0);
        check(planted);
    }
    {
        SCOPED_TRACE("folder writable by everyone");
        TPlantedTmpName planted(Name);
        ASSERT_EQ(mkdir(planted.Path.c_str(), 0700), 0);
        ASSERT_EQ(chmod(planted.Path.c_str(), 0777), 0);
        check(planted);
        EXPECT_FALSE(PathExists(planted.Path + "/" + Name + ".lock"));
    }
    if (geteuid() == 0) {
        SCOPED_TRACE("folder of another user");
        TPlantedTmpName planted(Name);
        ASSERT_EQ(mkdir(planted.Path.c_str(), 0700), 0);
        ASSERT_EQ(chown(planted.Path.c_str(), 65534, 65534), 0);
        check(planted);
        EXPECT_FALSE(PathExists(planted.Path + "/" + Name + ".lock"));
    }
}

TEST_F(SingleInstanceTest, CacheFolderNotProvablyOursIsNeverUsed) {
    TEnvGuard runtime("XDG_RUNTIME_DIR", std::nullopt);
    const std::string cache = Home / ".cache";
    const std::string folder = cache + "/olvo-reminder";
    ASSERT_EQ(mkdir(cache.c_str(), 0700), 0);
    TTempDir target;
    auto check = [&](const std::string& expectedInProblem) {
        EXPECT_EQ(InstanceRuntimeDir(Name), "");
        TInstanceLock outcome = TInstanceLock::Acquired;
        std::string problem;
        EXPECT_FALSE(TInstanceServer::Create(Name, outcome, &problem));
        EXPECT_EQ(outcome, TInstanceLock::Unavailable);
        EXPECT_NE(problem.find(expectedInProblem), std::string::npos) << problem;
        EXPECT_FALSE(IsInstanceRunning(Name));
        EXPECT_EQ(InstanceClient::FindWindowState(Name, KMain), TWindowState::None);
    };
    {
        SCOPED_TRACE("symlink");
        ASSERT_EQ(symlink(target.Path().c_str(), folder.c_str()), 0);
        check(folder);
        EXPECT_FALSE(PathExists(target / (Name + ".lock"))) << "nothing may be created through the link";
        ASSERT_EQ(unlink(folder.c_str()), 0);
    }
    {
        SCOPED_TRACE("writable by others");
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
        ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
        check(folder);
        EXPECT_EQ(ModeOf(folder), S_IFDIR | 0777) << "refused, never repaired";
        ASSERT_EQ(rmdir(folder.c_str()), 0);
    }
    if (geteuid() == 0) {
        SCOPED_TRACE("owned by another user");
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
        ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
        check(folder);
        ASSERT_EQ(rmdir(folder.c_str()), 0);
    }
    {
        SCOPED_TRACE("inside a folder others may change");
        ASSERT_EQ(chmod(cache.c_str(), 0777), 0);
        check(cache);
        ASSERT_EQ(chmod(cache.c_str(), 0700), 0);
    }
    EXPECT_EQ(InstanceRuntimeDir(Name), folder) << "usable again once it is private";
}

TEST_F(SingleInstanceTest, CacheFolderTooDeepForASocketPathIsUnavailable) {
    TEnvGuard runtime("XDG_RUNTIME_DIR", std::nullopt);
    const std::string deep = Home / std::string(100 - Home.Path().size(), 'c');
    TEnvGuard cache("XDG_CACHE_HOME", deep);
    TInstanceLock outcome = TInstanceLock::Acquired;
    std::string problem;
    EXPECT_FALSE(TInstanceServer::Create(Name, outcome, &problem));
    EXPECT_EQ(outcome, TInstanceLock::Unavailable);
    EXPECT_NE(problem.find("too long"), std::string::npos) << problem;
    EXPECT_FALSE(PathExists(deep)) << "nothing is created for a folder that cannot be used";
}

TEST_F(SingleInstanceTest, NamesThatCannotNameAFileAreUnavailable) {
    for (const std::string& name : {std::string(), std::string("a/b"), std::string(".."), std::string(120, 'n')}) {
        SCOPED_TRACE(name);
        TInstanceLock outcome = TInstanceLock::Acquired;
        EXPECT_FALSE(TInstanceServer::Create(name, outcome));
        EXPECT_EQ(outcome, TInstanceLock::Unavailable);
        EXPECT_FALSE(IsInstanceRunning(name));
    }
}

// --- requests through the client --------------------------------------------

TEST_F(SingleInstanceTest, FindReportsEachWindowState) {
    for (TWindowState state : {TWindowState::None, TWindowState::Hidden, TWindowState::Minimized,
                               TWindowState::Normal}) {
        auto server = StartServer(state);
        ASSERT_TRUE(server);
        EXPECT_EQ(CallWhileServing(*server, [&] { return InstanceClient::FindWindowState(Name, KMain); }), state);
        EXPECT_EQ(CallWhileServing(*server, [&] { return InstanceClient::FindWindowState(Name, "TOther"); }),
                  TWindowState::None);
    }
    auto unset = TInstanceServer::Create(Name);
    ASSERT_TRUE(unset);
    EXPECT_EQ(CallWhileServing(*unset, [&] { return InstanceClient::FindWindowState(Name, KMain); }),
              TWindowState::None);
}

TEST_F(SingleInstanceTest, SendReachesOnlyExistingWindowsWithValuesIntact) {
    auto server = StartServer(TWindowState::Hidden);
    ASSERT_TRUE(server);
    std::vector<TWindowMessage> received;
    server->OnMessage = [&](const TWindowMessage& m) -> intptr_t {
        received.push_back(m);
        return m.WParam == 1 ? 7 : INTPTR_MIN;
    };
    auto send = [&](TWindowMessage m) {
        return CallWhileServing(*server, [&] { return InstanceClient::SendMessage(Name, m); });
    };

    EXPECT_EQ(send({KMain, KShowMessage, 1, 0}), std::optional<intptr_t>(7));
    EXPECT_EQ(send({KMain, UINT32_MAX, INTPTR_MIN, INTPTR_MAX}), std::optional<intptr_t>(INTPTR_MIN));
    EXPECT_EQ(send({"TOther", KShowMessage, 1, 0}), std::nullopt);
    // A class name carrying a line break must not smuggle in a second request.
    EXPECT_EQ(send({"TOther 1 1 1\nSEND " + KMain + " 4477 9 9\nFIND X", KShowMessage, 1, 0}), std::nullopt);
    EXPECT_EQ(send({"", KShowMessage, 1, 0}), std::nullopt);

    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].ClassName, KMain);
    EXPECT_EQ(received[0].Msg, KShowMessage);
    EXPECT_EQ(received[0].WParam, 1);
    EXPECT_EQ(received[0].LParam, 0);
    EXPECT_EQ(received[1].Msg, UINT32_MAX);
    EXPECT_EQ(received[1].WParam, INTPTR_MIN);
    EXPECT_EQ(received[1].LParam, INTPTR_MAX);

    server->OnMessage = nullptr;
    EXPECT_EQ(send({KMain, KShowMessage, 2, 0}), std::optional<intptr_t>(0));
}

TEST_F(SingleInstanceTest, UnresponsiveInstanceGivesUpInsteadOfHanging) {
    // A listener that never accepts: the request sits in its backlog.
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, SocketFile().c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(listen(fd, 4), 0);
    EXPECT_EQ(InstanceClient::SendMessage(Name, {KMain, KShowMessage, 1, 0}), std::nullopt);
    close(fd);
}

// --- the protocol against hand-written clients --------------------------------

TEST_F(SingleInstanceTest, OneConnectionCarriesSeveralRequests) {
    auto server = StartServer(TWindowState::Normal);
    ASSERT_TRUE(server);
    server->OnMessage = [](const TWindowMessage&) -> intptr_t { return 5; };
    TRawClient client(SocketFile());
    client.Send("FIND TfrmORMMain\nSEND TfrmORMMain 4477 1 0\nFIND TOther\nFIND TfrmORMMain\r\n");
    server->HandleReady();
    bool closed = false;
    EXPECT_EQ(client.ReadAll(closed), "normal\nOK 5\nnone\nnormal\n");
    EXPECT_TRUE(closed);
}

TEST_F(SingleInstanceTest, MalformedLinesAreRefusedWithoutEndingTheConnection) {
    auto server = StartServer(TWindowState::Normal);
    ASSERT_TRUE(server);
    int delivered = 0;
    server->OnMessage = [&](const TWindowMessage&) -> intptr_t { return ++delivered; };
    const std::vector<std::string> bad = {
        "", "HELLO", "FIND", "FIND TfrmORMMain extra", "FIND  TfrmORMMain", "find TfrmORMMain",
        "SEND TfrmORMMain 4477 1", "SEND TfrmORMMain 4477 1 0 0", "SEND TfrmORMMain x 1 0",
        "SEND TfrmORMMain -1 1 0", "SEND TfrmORMMain 4294967296 1 0", "SEND TfrmORMMain 4477 0x1 0",
        "SEND TfrmORMMain 4477 1 99999999999999999999", "FIND Tfrm\x01Main"};
    std::string request, expected;
    for (const auto& line : bad) {
        request += line + "\n";
        expected += "ERR\n";
    }
    TRawClient client(SocketFile());
    client.Send(request + "FIND TfrmORMMain\n");
    server->HandleReady();
    bool closed = false;
    EXPECT_EQ(client.ReadAll(closed), expected + "normal\n");
    EXPECT_EQ(delivered, 0);
}

TEST_F(SingleInstanceTest, OverlongLineEndsOnlyThatConnection) {
    auto server = StartServer(TWindowState::Normal);
    ASSERT_TRUE(server);
    for (size_t length : {1100, 5000}) {
        TRawClient client(SocketFile());
        client.Send("FIND " + std::string(length, 'A') + "\nFIND TfrmORMMain\n");
        server->HandleReady();
        bool closed = false;
        EXPECT_EQ(client.ReadAll(closed), "ERR\n") << length;
        EXPECT_TRUE(closed);
    }
    EXPECT_EQ(CallWhileServing(*server, [&] { return InstanceClient::FindWindowState(Name, KMain); }),
              TWindowState::Normal);
}

TEST_F(SingleInstanceTest, EndlessRequestsOnOneConnectionAreCutOff) {
    auto server = StartServer(TWindowState::Normal);
    ASSERT_TRUE(server);
    std::string request;
    for (int i = 0; i < 200; ++i) request += "FIND TfrmORMMain\n";
    TRawClient client(SocketFile());
    client.Send(request);
    server->HandleReady();
    bool closed = false;
    const std::string answers = client.ReadAll(closed);
    EXPECT_TRUE(closed);
    EXPECT_GT(answers.size(), 0u);
    EXPECT_LT(answers.size(), 200 * std::string("normal\n").size());
    EXPECT_EQ(answers.find_first_not_of("normal\n"), std::string::npos);
}

TEST_F(SingleInstanceTest, SilentOrVanishedClientsDoNotBreakTheServer) {
    auto server = StartServer(TWindowState::Minimized);
    ASSERT_TRUE(server);
    server->HandleReady();   // nothing pending: returns at once

    TRawClient silent(SocketFile());
    server->HandleReady();   // waits out the silent client, then drops it
    bool closed = false;
    EXPECT_EQ(silent.ReadAll(closed), "");
    EXPECT_TRUE(closed);

    // Gone before the answer: writing to it must not raise SIGPIPE here.
    TRawClient vanished(SocketFile());
    vanished.Send("FIND TfrmORMMain\n");
    vanished.Close();
    server->HandleReady();

    EXPECT_EQ(CallWhileServing(*server, [&] { return InstanceClient::FindWindowState(Name, KMain); }),
              TWindowState::Minimized);
}

TEST_F(SingleInstanceTest, FailingHandlerAnswersErrAndServerCarriesOn) {
    auto server = StartServer(TWindowState::Normal);
    ASSERT_TRUE(server);
    server->OnMessage = [](const TWindowMessage&) -> intptr_t { throw std::runtime_error("handler failed"); };
    TRawClient client(SocketFile());
    client.Send("SEND TfrmORMMain 4477 1 0\nFIND TfrmORMMain\n");
    server->HandleReady();
    bool closed = false;
    EXPECT_EQ(client.ReadAll(closed), "ERR\nnormal\n");
}

TEST_F(SingleInstanceTest, OneCallServesEveryPendingConnection) {
    auto server = StartServer(TWindowState::Hidden);
    ASSERT_TRUE(server);
    std::vector<std::unique_ptr<TRawClient>> clients;
    for (int i = 0; i < 3; ++i) {
        clients.push_back(std::make_unique<TRawClient>(SocketFile()));
        clients.back()->Send("FIND TfrmORMMain\n");
    }
    server->HandleReady();
    for (auto& client : clients) {
        bool closed = false;
        EXPECT_EQ(client->ReadAll(closed), "hidden\n");
    }
}

// --- two processes ------------------------------------------------------------

TEST_F(SingleInstanceTest, SecondProcessFindsAndWakesTheFirst) {
    TPeer peer({"serve", Name, "hidden"});
    ASSERT_EQ(peer.ReadLine(), "READY\n");

    EXPECT_TRUE(IsInstanceRunning(Name));
    TInstanceLock outcome = TInstanceLock::Acquired;
    EXPECT_FALSE(TInstanceServer::Create(Name, outcome));
    EXPECT_EQ(outcome, TInstanceLock::HeldElsewhere);
    EXPECT_EQ(TPeer({"serve", Name, "normal"}).Wait(), 3);

    EXPECT_EQ(InstanceClient::FindWindowState(Name, KMain), TWindowState::Hidden);
    EXPECT_EQ(InstanceClient::FindWindowState(Name, "TOther"), TWindowState::None);
    EXPECT_EQ(InstanceClient::SendMessage(Name, {KMain, KShowMessage, 1, 0}), std::optional<intptr_t>(0));
    EXPECT_EQ(peer.ReadLine(), "MSG TfrmORMMain 4477 1 0\n");
    EXPECT_EQ(InstanceClient::SendMessage(Name, {"TOther", KShowMessage, 1, 0}), std::nullopt);
    EXPECT_EQ(InstanceClient::SendMessage(Name, {KMain, KShowMessage, 2, 0}), std::optional<intptr_t>(0));
    EXPECT_EQ(peer.ReadLine(), "MSG TfrmORMMain 4477 2 0\n") << "the message for TOther must not arrive";

    peer.Signal(SIGTERM);
    EXPECT_EQ(peer.Wait(), 0);
    EXPECT_FALSE(PathExists(SocketFile()));
    EXPECT_FALSE(IsInstanceRunning(Name));
    EXPECT_TRUE(TInstanceServer::Create(Name));
}

TEST_F(SingleInstanceTest, LockHoldsBetweenProcessesWithoutRuntimeFolder) {
    TEnvGuard runtime("XDG_RUNTIME_DIR", std::nullopt);
    TPeer peer({"serve", Name, "minimized"});
    ASSERT_EQ(peer.ReadLine(), "READY\n");
    EXPECT_TRUE(PathExists(Home / (".cache/olvo-reminder/" + Name + ".sock")));

    EXPECT_TRUE(IsInstanceRunning(Name));
    TInstanceLock outcome = TInstanceLock::Acquired;
    EXPECT_FALSE(TInstanceServer::Create(Name, outcome));
    EXPECT_EQ(outcome, TInstanceLock::HeldElsewhere);
    EXPECT_EQ(TPeer({"serve", Name, "normal"}).Wait(), 3);
    EXPECT_EQ(InstanceClient::FindWindowState(Name, KMain), TWindowState::Minimized);
    EXPECT_EQ(InstanceClient::SendMessage(Name, {KMain, KShowMessage, 1, 0}), std::optional<intptr_t>(0));
    EXPECT_EQ(peer.ReadLine(), "MSG TfrmORMMain 4477 1 0\n");

    peer.Signal(SIGTERM);
    EXPECT_EQ(peer.Wait(), 0);
    EXPECT_FALSE(IsInstanceRunning(Name));
    EXPECT_TRUE(TInstanceServer::Create(Name));
}

TEST_F(SingleInstanceTest, KilledFirstProcessNeitherBlocksNorHangsLaterStarts) {
    TPeer peer({"serve", Name, "normal"});
    ASSERT_EQ(peer.ReadLine(), "READY\n");
    peer.Signal(SIGKILL);
    EXPECT_EQ(peer.Wait(), 128 + SIGKILL);
    ASSERT_TRUE(PathExists(SocketFile())) << "a killed process leaves its socket file";

    EXPECT_FALSE(IsInstanceRunning(Name));
    EXPECT_EQ(InstanceClient::FindWindowState(Name, KMain), TWindowState::None);
    EXPECT_EQ(InstanceClient::SendMessage(Name, {KMain, KShowMessage, 1, 0}), std::nullopt);

    auto server = StartServer(TWindowState::Minimized);
    ASSERT_TRUE(server);
    // The later start, in its own process, reaches the new first instance.
    EXPECT_EQ(CallWhileServing(*server, [&] {
                  TPeer probe({"probe", Name});
                  const std::string line = probe.ReadLine();
                  probe.Wait();
                  return line;
              }),
              "minimized\n");
}

}  // namespace
