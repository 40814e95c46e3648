// A second process for the single-instance tests.
//   instance_peer serve <mutexName> <none|hidden|minimized|normal>
//     takes the lock (exit 3 when another process holds it, 4 when it cannot
//     be set up), prints READY, answers for a "TfrmORMMain" window in the
//     given state and prints each delivered message as
//     "MSG <class> <msg> <wparam> <lparam>". Ends cleanly on SIGTERM, and on
//     its own after 30 seconds so that a crashed test leaves nothing behind.
//   instance_peer probe <mutexName>
//     prints the state FindWindowState reports for "TfrmORMMain".
#include "platform/single_instance.h"

#include <chrono>
#include <cstdio>
#include <string>

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

const char* const KMainClass = "TfrmORMMain";

const char* StateName(TWindowState state) {
    switch (state) {
    case TWindowState::Hidden: return "hidden";
    case TWindowState::Minimized: return "minimized";
    case TWindowState::Normal: return "normal";
    case TWindowState::None: break;
    }
    return "none";
}

bool ParseState(const std::string& text, TWindowState& state) {
    for (TWindowState s : {TWindowState::None, TWindowState::Hidden, TWindowState::Minimized, TWindowState::Normal})
        if (text == StateName(s)) {
            state = s;
            return true;
        }
    return false;
}

int Serve(const std::string& name, TWindowState state) {
    // SIGTERM arrives through a descriptor so that the loop ends between
    // requests and the server is destroyed normally (socket file removed).
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    prctl(PR_SET_PDEATHSIG, SIGTERM);

    TInstanceLock outcome;
    std::string problem;
    auto server = TInstanceServer::Create(name, outcome, &problem);
    if (!server) {
        std::fprintf(stderr, "instance_peer: %s\n", outcome == TInstanceLock::HeldElsewhere ? "lock held" : problem.c_str());
        return outcome == TInstanceLock::HeldElsewhere ? 3 : 4;
    }
    server->OnQueryWindow = [state](const std::string& className) {
        return className == KMainClass ? state : TWindowState::None;
    };
    server->OnMessage = [](const TWindowMessage& m) -> intptr_t {
        std::printf("MSG %s %u %ld %ld\n", m.ClassName.c_str(), m.Msg, static_cast<long>(m.WParam),
                    static_cast<long>(m.LParam));
        std::fflush(stdout);
        return 0;
    };
    std::printf("READY\n");
    std::fflush(stdout);

    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < giveUp) {
        pollfd fds[2] = {{server->Fd(), POLLIN, 0}, {signalFd, POLLIN, 0}};
        if (poll(fds, 2, 500) < 0) continue;
        if (fds[1].revents) break;
        if (fds[0].revents) server->HandleReady();
    }
    close(signalFd);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    TWindowState state = TWindowState::None;
    if (mode == "serve" && argc == 4 && ParseState(argv[3], state)) return Serve(argv[2], state);
    if (mode == "probe" && argc == 3) {
        std::printf("%s\n", StateName(InstanceClient::FindWindowState(argv[2], KMainClass)));
        return 0;
    }
    std::fprintf(stderr, "usage: instance_peer serve <name> <none|hidden|minimized|normal>\n"
                         "       instance_peer probe <name>\n");
    return 2;
}
