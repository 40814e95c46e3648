// TThread: the worker thread and its hand-over to the user-interface thread.
#include "platform/gui/thread.h"

#include <condition_variable>
#include <exception>

#include "platform/gui/application.h"

namespace {
// Signals a waiting Synchronize when the queued call is gone, whether it
// ran or the queue was dropped with the application.
struct TSyncState {
    std::mutex Mutex;
    std::condition_variable Done;
    bool Finished = false;
};
struct TSyncTicket {
    std::shared_ptr<TSyncState> State;
    ~TSyncTicket() {
        if (!State) return;
        {
            std::lock_guard lock(State->Mutex);
            State->Finished = true;
        }
        State->Done.notify_all();
    }
};

std::string MessageOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown exception";
    }
}
}  // namespace

TThread::TThread() = default;

TThread::~TThread() {
    *FAlive = false;
    if (!FStarted) return;
    if (FThread.get_id() == std::this_thread::get_id()) {
        FThread.detach();  // freed from inside its own Execute: nothing to wait for
        return;
    }
    Terminate();
    WaitFor();
    if (FThread.joinable()) FThread.join();
}

void TThread::Start() {
    if (FStarted) return;
    FStarted = true;
    FThread = std::thread([this] { Run(); });
}

void TThread::Run() {
    try {
        Execute();
    } catch (...) {
        std::lock_guard lock(FFatalMutex);
        FFatalMessage = MessageOf(std::current_exception());
    }
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
    TApplication* app = Application;
    if (app) {
        std::lock_guard lock(app->FQueueMutex);
        FFinished = true;
    } else {
        FFinished = true;
    }
    if (app) {
        app->FQueueSignal.notify_all();
        app->Host().WakeUp();
        if (FreeOnTerminate) {
            auto alive = FAlive;
            app->Defer([this, alive] {
                if (*alive) delete this;
            });
        }
    }
}

void TThread::WaitFor() {
    if (!FStarted) return;
    TApplication* app = Application;
    if (!app || !app->IsUIThread()) {
        if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id()) FThread.join();
        return;
    }
    // The worker may be inside Synchronize: keep running the queue until it
    // is through, or it would wait for us while we wait for it.
    while (!FFinished) {
        app->RunQueuedCalls();
        std::unique_lock lock(app->FQueueMutex);
        app->FQueueSignal.wait(lock, [&] { return FFinished || !app->FQueue.empty(); });
    }
    if (FThread.joinable()) FThread.join();
}

std::string TThread::FatalMessage() const {
    std::lock_guard lock(FFatalMutex);
    return FFatalMessage;
}

void TThread::Synchronize(std::function<void()> call) {
    TApplication* app = Application;
    if (!app || app->IsUIThread()) {
        if (call) call();
        return;
    }
    auto state = std::make_shared<TSyncState>();
    auto ticket = std::make_shared<TSyncTicket>();  // built in place: a copy's end would signal
    ticket->State = state;
    app->Defer([ticket, call = std::move(call)] {
        try {
            if (call) call();
        } catch (...) {
            // Stays on this thread: the worker carries on.
        }
    });
    ticket.reset();
    std::unique_lock lock(state->Mutex);
    state->Done.wait(lock, [&] { return state->Finished; });
}

void TThread::Queue(std::function<void()> call) {
    TApplication* app = Application;
    if (!app || !call) return;
    auto alive = FAlive;
    app->Defer([alive, call = std::move(call)] {
        if (!*alive) return;
        try {
            call();
        } catch (...) {
        }
    });
}
