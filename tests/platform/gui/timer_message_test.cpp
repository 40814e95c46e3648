// Timers on the virtual clock, posted messages and deferred calls in order,
// deferred release of forms, free notifications.
#include <cmath>
#include <thread>

#include "gui_fixture.h"
#include "platform/gui/timer.h"

namespace {
class TMessageForm : public TForm {
public:
    using TForm::TForm;
    std::vector<uint32_t> Seen;

protected:
    void HandleMessage(const TMessage& msg) override {
        Seen.push_back(msg.Msg);
        TForm::HandleMessage(msg);
    }
};
}  // namespace

TEST_F(GuiTest, TimersFireInTimeOrderOnTheVirtualClock) {
    TForm* form = MakeForm();
    TTimer* fast = form->Create<TTimer>();
    TTimer* slow = form->Create<TTimer>();
    fast->SetInterval(200);
    slow->SetInterval(300);
    std::vector<std::string> fired;
    TDateTime start = Now();
    auto record = [&](const char* name) {
        return [&, name](TComponent*) {
            long ms = std::lround((Now() - start) * MSecsPerDay);
            EXPECT_EQ(ms, Host.NowMs()) << "Now() and the timers read one clock";
            fired.push_back(std::string(name) + "@" + std::to_string(ms));
        };
    };
    fast->OnTimer = record("fast");
    slow->OnTimer = record("slow");
    Host.Advance(199);
    EXPECT_TRUE(fired.empty());
    Host.Advance(801);
    EXPECT_EQ(fired, (std::vector<std::string>{"fast@200", "slow@300", "fast@400", "slow@600", "fast@600",
                                               "fast@800", "slow@900", "fast@1000"}));
}

TEST_F(GuiTest, TimerStopsWhenDisabledOrFreedInItsOwnHandler) {
    TForm* form = MakeForm();
    TTimer* once = form->Create<TTimer>();
    once->SetInterval(100);
    int onceCount = 0;
    once->OnTimer = [&](TComponent* sender) {
        onceCount++;
        static_cast<TTimer*>(sender)->SetEnabled(false);
    };
    int freedCount = 0;
    TTimer* selfFree = form->Create<TTimer>();
    selfFree->SetInterval(50);
    selfFree->OnTimer = [&](TComponent*) {
        freedCount++;
        App.FreeForm(form);  // frees the form, its timers with it
    };
    Host.Advance(1000);
    EXPECT_EQ(freedCount, 1);
    EXPECT_EQ(onceCount, 0) << "freed with its form before it was due";

    TTimer* again = App.Create<TTimer>();
    again->SetInterval(100);
    int count = 0;
    again->OnTimer = [&](TComponent* sender) {
        if (++count == 3) static_cast<TTimer*>(sender)->SetEnabled(false);
    };
    Host.Advance(1000);
    EXPECT_EQ(count, 3);
}

TEST_F(GuiTest, ReEnablingATimerRestartsItsPeriod) {
    TTimer* timer = App.Create<TTimer>();
    timer->SetInterval(1000);
    int count = 0;
    timer->OnTimer = [&](TComponent*) { count++; };
    Host.Advance(600);
    timer->SetEnabled(false);
    timer->SetEnabled(true);
    Host.Advance(600);
    EXPECT_EQ(count, 0);
    Host.Advance(400);
    EXPECT_EQ(count, 1);
}

TEST_F(GuiTest, PostedMessagesAndDeferredCallsRunInPostingOrder) {
    auto* form = App.CreateForm<TMessageForm>();
    std::vector<std::string> order;
    form->OnMessage = [&](TForm*, const TMessage& m) {
        order.push_back("msg " + std::to_string(m.Msg - WM_USER) + " " + std::to_string(m.WParam) + "," +
                        std::to_string(m.LParam));
    };
    App.PostMessage(form, WM_USER + 1, 10, 20);
    App.Defer([&] { order.push_back("call"); });
    App.PostMessage(form->Handle(), WM_USER + 2);
    EXPECT_TRUE(order.empty()) << "nothing runs before the loop gets to it";
    Host.Settle();
    EXPECT_EQ(order, (std::vector<std::string>{"msg 1 10,20", "call", "msg 2 0,0"}));
    EXPECT_EQ(form->Seen, (std::vector<uint32_t>{WM_USER + 1, WM_USER + 2}));
}

TEST_F(GuiTest, MessagesPostedFromAnotherThreadArriveInOrder) {
    auto* form = App.CreateForm<TMessageForm>();
    std::thread poster([&] {
        for (uint32_t i = 0; i < 50; ++i) App.PostMessage(form, WM_USER + i);
    });
    poster.join();
    Host.Settle();
    ASSERT_EQ(form->Seen.size(), 50u);
    for (uint32_t i = 0; i < 50; ++i) EXPECT_EQ(form->Seen[i], WM_USER + i);
}

TEST_F(GuiTest, MessageToAFreedFormIsDropped) {
    auto* form = App.CreateForm<TMessageForm>();
    int seen = 0;
    form->OnMessage = [&](TForm*, const TMessage&) { seen++; };
    App.PostMessage(form, WM_USER);
    App.FreeForm(form);
    Host.Settle();
    EXPECT_EQ(seen, 0);
}

TEST_F(GuiTest, ReleaseFreesTheFormAfterTheCurrentEvent) {
    TForm* form = MakeForm();
    TProbe* button = AddProbe(form, "B", Bounds(10, 10, 30, 30));
    bool stillThere = false;
    button->OnClick = [&](TComponent* sender) {
        form->Release();
        // The handler and the dispatch after it still run on a whole form.
        stillThere = App.IsForm(form) && static_cast<TControl*>(sender)->Form() == form;
    };
    auto alive = form->Lifetime();
    // Straight to the form, so the state between the event and the next
    // dispatch can be looked at.
    form->HostMouseDown(TMouseButton::Left, ssLeft, {20, 20});
    form->HostMouseUp(TMouseButton::Left, ssNone, {20, 20});
    EXPECT_TRUE(stillThere);
    EXPECT_FALSE(alive.expired());
    EXPECT_EQ(button->Clicks, 1);
    Host.Settle();
    EXPECT_TRUE(alive.expired());
    EXPECT_TRUE(App.Forms().empty());
}

TEST_F(GuiTest, ClosingRunsTheQueryAndTheChosenAction) {
    TForm* main = MakeForm();
    TForm* other = MakeForm();
    bool allow = false;
    other->OnCloseQuery = [&](TComponent*, bool& canClose) { canClose = allow; };
    other->OnClose = [](TComponent*, TCloseAction& action) { action = TCloseAction::Free; };
    auto alive = other->Lifetime();
    Host.CloseRequest(*other);
    EXPECT_TRUE(other->Visible());
    allow = true;
    Host.CloseRequest(*other);
    EXPECT_TRUE(alive.expired());
    EXPECT_FALSE(App.Terminated());
    Host.CloseRequest(*main);  // the main form's close ends the application
    EXPECT_TRUE(App.Terminated());
    EXPECT_FALSE(main->Visible());
}

TEST_F(GuiTest, FreeNotificationTellsReferrersAndOwnersKeepCreationOrder) {
    class TWatcher : public TComponent {
    public:
        using TComponent::TComponent;
        TComponent* Watched = nullptr;

    protected:
        void Notification(TComponent* c, TOperation op) override {
            if (op == TOperation::Remove && c == Watched) Watched = nullptr;
        }
    };
    TForm* form = MakeForm();
    auto* first = AddProbe(form, "First", Bounds(0, 0, 5, 5));
    auto* timer = form->Create<TTimer>();
    timer->Name = "Clock";
    auto* panel = AddProbe(form, "Panel", Bounds(0, 0, 50, 50));
    auto* inner = AddProbe(panel, "Inner", Bounds(0, 0, 5, 5));
    ASSERT_EQ(form->ComponentCount(), 4);
    EXPECT_EQ(form->Components()[0], first);
    EXPECT_EQ(form->Components()[1], timer);
    EXPECT_EQ(form->Components()[3], inner) << "controls on panels belong to the form";
    EXPECT_EQ(form->FindComponent("clock"), timer);

    TWatcher watcher(nullptr);
    watcher.Watched = inner;
    watcher.FreeNotification(inner);
    form->DestroyControl(panel);
    EXPECT_EQ(watcher.Watched, nullptr);
    EXPECT_EQ(form->ComponentCount(), 2);
}

TEST_F(GuiTest, LoadedRunsOnceAtTheFirstShowInCreationOrder) {
    class TLoadProbe : public TControl {
    public:
        TLoadProbe(TComponent* owner, TLog* log) : TControl(owner), FLog(log) {}
        void Loaded() override {
            TControl::Loaded();
            FLog->push_back(Name);
        }

    private:
        TLog* FLog;
    };
    TForm* form = App.CreateForm<TForm>();
    form->SetBounds(0, 0, 50, 50);
    form->Add<TLoadProbe>(&Log)->Name = "First";
    form->Add<TLoadProbe>(&Log)->Name = "Second";
    EXPECT_TRUE(Log.empty());
    EXPECT_TRUE(form->IsLoading());
    form->Show();
    EXPECT_EQ(Log, (TLog{"First", "Second"}));
    EXPECT_FALSE(form->IsLoading());
    form->Hide();
    form->Show();
    EXPECT_EQ(Log.size(), 2u);
    auto* late = form->Add<TLoadProbe>(&Log);
    EXPECT_FALSE(late->IsLoading()) << "added after the show: loaded at once";
    EXPECT_EQ(Log.size(), 3u);
}

TEST_F(GuiTest, ComponentsMadeWhileLoadingAreLoadedToo) {
    // A container that makes its parts in its own Loaded step, as a window
    // frame makes its caption buttons.
    class TMaker : public TWinControl {
    public:
        TMaker(TComponent* owner, TLog* log) : TWinControl(owner), FLog(log) {}
        void Loaded() override {
            TWinControl::Loaded();
            FLog->push_back("maker");
            Part = Add<TControl>();
        }
        TControl* Part = nullptr;

    private:
        TLog* FLog;
    };
    TForm* form = App.CreateForm<TForm>();
    form->SetBounds(0, 0, 50, 50);
    auto* maker = form->Add<TMaker>(&Log);
    form->Show();
    ASSERT_NE(maker->Part, nullptr);
    EXPECT_FALSE(maker->Part->IsLoading());
    EXPECT_EQ(Log, (TLog{"maker"}));
}
