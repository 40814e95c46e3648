// The framework's time and queues on the GLib loop: timers by due time,
// posted messages and deferred calls in posting order (also from a worker
// thread), and a modal loop that keeps all of it running and returns its
// result.
#include <atomic>
#include <chrono>
#include <thread>

#include "desktop_fixture.h"
#include "platform/gui/form.h"
#include "platform/gui/timer.h"

namespace {

// Ends a loop that would otherwise wait forever, so the test fails instead.
class TLoopGuard {
public:
    explicit TLoopGuard(int ms) {
        FSource = g_timeout_add(guint(ms), [](gpointer data) {
            *static_cast<bool*>(data) = true;
            return G_SOURCE_REMOVE;
        }, &Expired);
    }
    ~TLoopGuard() {
        if (!Expired) g_source_remove(FSource);
    }
    bool Expired = false;

private:
    guint FSource = 0;
};

TTimer* OneShot(TComponent* owner, int ms, std::function<void()> action) {
    TTimer* timer = owner->Create<TTimer>();
    timer->SetInterval(ms);
    timer->OnTimer = [timer, action](TComponent*) {
        timer->SetEnabled(false);
        action();
    };
    return timer;
}

}  // namespace

TEST_F(TDesktopTest, TimersAndPostedCallsRunOnTheLoopInOrder) {
    std::vector<std::string> log;
    TForm* form = App->CreateForm<TForm>();
    form->OnMessage = [&](TForm*, const TMessage& msg) { log.push_back("msg" + std::to_string(msg.WParam)); };
    int64_t start = Host->NowMs();
    int64_t lateFired = 0;
    OneShot(App.get(), 60, [&] {
        log.push_back("late");
        lateFired = Host->NowMs();
    });
    OneShot(App.get(), 20, [&] { log.push_back("early"); });
    App->PostMessage(form, WM_USER, 1);
    App->Defer([&] { log.push_back("deferred"); });
    App->PostMessage(form, WM_USER, 2);
    std::thread worker([&] { App->PostMessage(form, WM_USER, 3); });
    worker.join();

    TLoopGuard guard(5000);
    Host->RunLoop(nullptr, [&] { return log.size() >= 6 || guard.Expired; });
    EXPECT_EQ(log, (std::vector<std::string>{"msg1", "deferred", "msg2", "msg3", "early", "late"}));
    EXPECT_GE(lateFired - start, 60);
}

TEST_F(TDesktopTest, WorkerThreadWakesAnIdleLoop) {
    std::atomic<bool> delivered{false};
    TLoopGuard guard(5000);
    std::thread worker([&] {
        // The loop is asleep in poll by now or soon; either way it must wake.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        App->Defer([&] { delivered = true; });
    });
    Host->RunLoop(nullptr, [&] { return delivered.load() || guard.Expired; });
    worker.join();
    EXPECT_TRUE(delivered);
    EXPECT_FALSE(guard.Expired);
}

TEST_F(TDesktopTest, ModalLoopRunsTimersAndMessagesAndReturnsItsResult) {
    TForm* main = App->CreateForm<TForm>();
    main->SetBounds(100, 100, 200, 100);
    main->Show();
    TForm* dialog = App->CreateForm<TForm>();
    dialog->SetBounds(150, 150, 120, 80);
    std::vector<std::string> log;
    main->OnMessage = [&](TForm*, const TMessage&) { log.push_back("message"); };
    dialog->OnShow = [&](TComponent*) { App->PostMessage(main, WM_USER); };
    OneShot(App.get(), 30, [&] {
        log.push_back("timer");
        dialog->ModalResult = mrYes;
    });
    // A loop that never ends fails the test instead of hanging it.
    OneShot(App.get(), 5000, [&] { dialog->ModalResult = mrAbort; });

    TModalResult result = dialog->ShowModal();
    EXPECT_EQ(result, mrYes);
    EXPECT_EQ(log, (std::vector<std::string>{"message", "timer"}));
    EXPECT_FALSE(dialog->Visible());
}
