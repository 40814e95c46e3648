// Worker threads handing work to the user-interface thread, modal loops
// with their results, and window features as the host records them.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>

#include "gui_fixture.h"
#include "platform/gui/thread.h"
#include "platform/gui/timer.h"

namespace {
// Pumps the user-interface side until `done` or a generous deadline; the
// deadline only turns a hang into a failure, it synchronises nothing.
template <class Pred>
bool PumpUntil(TApplication& app, Pred done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::unique_lock lock(app.QueueMutex());
        app.QueueSignal().wait_for(lock, std::chrono::milliseconds(50));
        lock.unlock();
        app.ProcessMessages();
    }
    return true;
}

class TWorker : public TThread {
public:
    ~TWorker() override {
        if (Destroyed) *Destroyed = true;
    }
    bool* Destroyed = nullptr;
    std::thread::id SyncThread, ExecuteThread;
    int SyncResult = 0;
    bool Throw = false;

protected:
    void Execute() override {
        ExecuteThread = std::this_thread::get_id();
        int value = 0;
        Synchronize([&] {
            SyncThread = std::this_thread::get_id();
            value = 42;
        });
        SyncResult = value;  // Synchronize waited: the value is there
        if (Throw) throw std::runtime_error("disk full");
    }
};

// Queues a call, then waits for the test to let it go.
class TQueueWorker : public TThread {
public:
    std::mutex Mutex;
    std::condition_variable Go;
    bool Released = false;
    std::atomic<bool> QueuedCallReturned{false};
    int* Counter = nullptr;
    void Release() {
        {
            std::lock_guard lock(Mutex);
            Released = true;
        }
        Go.notify_all();
    }

protected:
    void Execute() override {
        Queue([this] { ++*Counter; });
        QueuedCallReturned = true;
        std::unique_lock lock(Mutex);
        Go.wait(lock, [this] { return Released; });
    }
};

// Waits without running anything on the user-interface side.
bool WaitUntilFinished(TApplication& app, TThread& thread) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::unique_lock lock(app.QueueMutex());
    while (!thread.Finished())
        if (app.QueueSignal().wait_until(lock, deadline) == std::cv_status::timeout) return thread.Finished();
    return true;
}
}  // namespace

TEST_F(GuiTest, SynchronizeAndTerminationHandlerRunOnTheUserInterfaceThread) {
    TWorker worker;
    std::thread::id terminateThread;
    int terminations = 0;
    worker.OnTerminate = [&](TThread* sender) {
        EXPECT_EQ(sender, &worker);
        terminateThread = std::this_thread::get_id();
        terminations++;
    };
    worker.Start();
    ASSERT_TRUE(PumpUntil(App, [&] { return worker.Finished(); }));
    worker.WaitFor();
    EXPECT_EQ(worker.SyncThread, std::this_thread::get_id());
    EXPECT_NE(worker.ExecuteThread, std::this_thread::get_id());
    EXPECT_EQ(terminateThread, std::this_thread::get_id());
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(worker.SyncResult, 42);
    EXPECT_EQ(worker.FatalMessage(), "");
}

TEST_F(GuiTest, ExceptionInExecuteStaysOnTheWorker) {
    TWorker worker;
    worker.Throw = true;
    bool terminated = false;
    worker.OnTerminate = [&](TThread*) { terminated = true; };
    worker.Start();
    worker.WaitFor();  // runs the Synchronize calls while it waits
    EXPECT_TRUE(terminated);
    EXPECT_EQ(worker.FatalMessage(), "disk full");
}

TEST_F(GuiTest, QueueDoesNotWaitForTheUserInterfaceThread) {
    int counter = 0;
    TQueueWorker worker;
    worker.Counter = &counter;
    worker.Start();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!worker.QueuedCallReturned && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    // The worker got past Queue while this thread ran nothing.
    EXPECT_TRUE(worker.QueuedCallReturned);
    EXPECT_EQ(counter, 0);
    worker.Release();
    ASSERT_TRUE(PumpUntil(App, [&] { return counter == 1; }));
    worker.WaitFor();
}

TEST_F(GuiTest, QueuedCallsOfAFreedThreadAreDropped) {
    int counter = 0;
    auto* worker = new TQueueWorker;
    worker->Counter = &counter;
    worker->Release();
    worker->Start();
    ASSERT_TRUE(WaitUntilFinished(App, *worker));
    EXPECT_TRUE(App.HasQueuedCalls());
    delete worker;
    Host.Settle();
    EXPECT_EQ(counter, 0);
}

TEST_F(GuiTest, FreeOnTerminateFreesTheThreadOnTheUserInterfaceThread) {
    auto* worker = new TWorker;
    worker->FreeOnTerminate = true;
    bool terminated = false;
    worker->OnTerminate = [&](TThread*) { terminated = true; };
    bool destroyed = false;
    worker->Destroyed = &destroyed;
    worker->Start();
    ASSERT_TRUE(PumpUntil(App, [&] { return destroyed; }));
    EXPECT_TRUE(terminated);
}

// ---- modal loops ----

TEST_F(GuiTest, ModalLoopReturnsTheResultSetFromInsideIt) {
    TForm* main = MakeForm();
    TForm* dialog = App.CreateForm<TForm>();
    dialog->SetBounds(150, 80, 100, 60);
    TProbe* ok = AddProbe(dialog, "OK", Bounds(10, 10, 30, 20));
    ok->OnClick = [&](TComponent*) { dialog->ModalResult = mrOk; };
    TProbe* behind = AddProbe(main, "Behind", Bounds(0, 0, 200, 150));
    int loopStarts = 0;
    Host.OnLoopStart = [&](TForm* modal) {
        loopStarts++;
        EXPECT_EQ(modal, dialog);
        EXPECT_TRUE(dialog->Visible());
        Host.Click(*main, 50, 50);  // blocked while the dialog is modal
        Host.Click(*dialog, 20, 20);
    };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(loopStarts, 1);
    EXPECT_EQ(behind->Clicks, 0);
    EXPECT_FALSE(dialog->Visible());
    Host.OnLoopStart = nullptr;
    Host.Click(*main, 50, 50);
    EXPECT_EQ(behind->Clicks, 1) << "input flows again after the loop";
}

TEST_F(GuiTest, ModalLoopsNestAndAnswerFromQueuedActions) {
    TForm* outer = App.CreateForm<TForm>();
    TForm* inner = App.CreateForm<TForm>();
    outer->SetBounds(0, 0, 50, 50);
    inner->SetBounds(0, 0, 50, 50);
    TModalResult innerResult = mrNone;
    Host.QueueAction([&] { innerResult = inner->ShowModal(); });
    Host.QueueAction([&] { Host.CloseRequest(*inner); });  // runs in the inner loop
    Host.QueueAction([&] { outer->ModalResult = mrYes; });
    EXPECT_EQ(outer->ShowModal(), mrYes);
    EXPECT_EQ(innerResult, mrCancel) << "closing a modal form cancels it";
    EXPECT_EQ(Host.MaxLoopDepth(), 2);
}

TEST_F(GuiTest, ModalLoopWaitsOnTheVirtualClockForATimer) {
    TForm* box = App.CreateForm<TForm>();
    box->SetBounds(0, 0, 50, 50);
    TTimer* timeout = box->Create<TTimer>();
    timeout->SetInterval(30000);
    timeout->OnTimer = [&](TComponent*) { box->ModalResult = mrIgnore; };
    int64_t start = Host.NowMs();
    EXPECT_EQ(box->ShowModal(), mrIgnore);
    EXPECT_EQ(Host.NowMs() - start, 30000);
}

TEST_F(GuiTest, ModalLoopRunsCallsDeferredFromInsideIt) {
    TForm* box = App.CreateForm<TForm>();
    box->SetBounds(0, 0, 50, 50);
    Host.QueueAction([&] { App.Defer([&] { box->ModalResult = mrOk; }); });
    EXPECT_EQ(box->ShowModal(), mrOk);
}

TEST_F(GuiTest, ModalLoopWithNothingToEndItFailsInsteadOfHanging) {
    TForm* box = App.CreateForm<TForm>();
    box->SetBounds(0, 0, 50, 50);
    Host.IdleWaitLimitMs = 20;  // only a worker thread could still end it
    EXPECT_THROW(box->ShowModal(), std::runtime_error);
}

// ---- window features ----

TEST_F(GuiTest, WindowFeaturesReachTheHost) {
    TForm* main = MakeForm();
    TForm* popup = App.CreateForm<TForm>();
    popup->SetBounds(10, 10, 80, 40);
    popup->SetActivation(TActivation::NoActivate);
    popup->SetStayOnTop(TStayOnTop::Yes);
    popup->SetOwnerForm(main);
    popup->SetOpacity(200);
    popup->Show();
    const TOffscreenWindow* w = Host.WindowOf(*popup);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Activation, TActivation::NoActivate);
    EXPECT_EQ(w->StayOnTop, TStayOnTop::Yes);
    EXPECT_EQ(w->Owner, main->Window());
    EXPECT_EQ(w->Opacity, 200);
    EXPECT_EQ(Host.ActiveForm(), main) << "a no-activate popup leaves the focus where it was";

    TWindowShape shape;
    shape.Kind = TShapeKind::RoundRect;
    shape.Radius = 6;
    popup->SetShape(shape);
    EXPECT_EQ(w->Shape.Kind, TShapeKind::RoundRect);
    EXPECT_EQ(w->Shape.Radius, 6);

    main->SetWindowState(TWindowState::Minimized);
    EXPECT_EQ(Host.WindowOf(*main)->State, TWindowState::Minimized);
    main->BeginSystemMove();
    EXPECT_EQ(Host.WindowOf(*main)->SystemMoveCount, 1);
}

TEST_F(GuiTest, SlideInShowsTheFormAtItsFinalPlace) {
    TForm* alert = App.CreateForm<TForm>();
    alert->SetBounds(1500, 1040, 300, 120);
    int shows = 0;
    alert->OnShow = [&](TComponent*) { shows++; };
    alert->SlideIn(Bounds(1500, 920, 300, 120), 400);
    const TOffscreenWindow* w = Host.WindowOf(*alert);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Visible);
    EXPECT_EQ(w->Bounds, Bounds(1500, 920, 300, 120));
    EXPECT_EQ(w->SlideDurationMs, 400);
    EXPECT_EQ(alert->Top(), 920);
    EXPECT_EQ(shows, 1);
}

TEST_F(GuiTest, ApplicationDeactivatesOnlyWhenNoFormIsActive) {
    TForm* a = MakeForm();
    TForm* b = MakeForm();
    int activations = 0, deactivations = 0;
    App.OnActivate = [&](TComponent*) { activations++; };
    App.OnDeactivate = [&](TComponent*) { deactivations++; };
    Host.ActivateForm(*a);
    Host.ActivateForm(*b);
    EXPECT_EQ(deactivations, 0) << "switching between our own forms";
    Host.DeactivateApplication();
    EXPECT_EQ(deactivations, 1);
    Host.ActivateForm(*a);
    EXPECT_EQ(activations, 1);
}

TEST_F(GuiTest, RunEndsWhenTheMainFormClosesAndMinimizeReachesEveryWindow) {
    TForm* main = App.CreateForm<TForm>();
    main->SetBounds(0, 0, 100, 100);
    TForm* other = MakeForm();
    int minimized = 0;
    App.OnMinimize = [&](TComponent*) { minimized++; };
    Host.QueueAction([&] { App.Minimize(); });
    Host.QueueAction([&] { Host.CloseRequest(*main); });
    App.Run();
    EXPECT_TRUE(App.Terminated());
    EXPECT_EQ(minimized, 1);
    EXPECT_EQ(Host.WindowOf(*other)->State, TWindowState::Minimized);
    EXPECT_EQ(Host.WindowOf(*main)->State, TWindowState::Minimized);
}

TEST_F(GuiTest, FocusCanBeChosenBeforeTheFormShows) {
    TForm* form = App.CreateForm<TForm>();
    form->SetBounds(0, 0, 100, 100);
    TProbe* edit = AddProbe(form, "E", Bounds(0, 0, 20, 20));
    edit->TabStop = true;
    edit->SetFocus();
    EXPECT_EQ(form->ActiveControl(), edit);
    form->Show();
    Host.KeyDown(*form, 'K');
    EXPECT_EQ(Log.back(), "E:keydown 75");
}
