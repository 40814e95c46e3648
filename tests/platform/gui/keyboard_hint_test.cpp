// Keys, focus, tab order and the application's key hook; tooltips after
// their delay on the virtual clock.
#include "gui_fixture.h"

namespace {
struct KeyboardForm {
    TProbe* A;
    TProbe* B;
    TProbe* C;
};
}  // namespace

class KeyboardTest : public GuiTest {
protected:
    KeyboardForm Make(TForm* form) {
        KeyboardForm f{AddProbe(form, "A", Bounds(10, 10, 30, 30)), AddProbe(form, "B", Bounds(50, 10, 30, 30)),
                       AddProbe(form, "C", Bounds(90, 10, 30, 30))};
        f.A->TabStop = f.B->TabStop = f.C->TabStop = true;
        return f;
    }
};

TEST_F(KeyboardTest, KeysAndCharactersGoToTheFocusedControl) {
    TForm* form = MakeForm();
    auto f = Make(form);
    Host.Click(*form, 60, 20);  // focuses B
    ASSERT_TRUE(f.B->Focused());
    Log.clear();
    Host.KeyDown(*form, 'X');
    Host.TypeText(*form, "é");
    EXPECT_EQ(Log, (TLog{"B:keydown 88", "B:char é"}));
}

TEST_F(KeyboardTest, TabFollowsTabOrderSkippingUnavailableControls) {
    TForm* form = MakeForm();
    auto f = Make(form);
    f.A->SetTabOrder(2);
    f.C->SetTabOrder(0);
    f.B->SetTabOrder(1);
    Host.PressKey(*form, vk::Tab);
    EXPECT_TRUE(f.C->Focused());
    Host.PressKey(*form, vk::Tab);
    EXPECT_TRUE(f.B->Focused());
    Host.PressKey(*form, vk::Tab);
    EXPECT_TRUE(f.A->Focused());
    Host.PressKey(*form, vk::Tab);
    EXPECT_TRUE(f.C->Focused()) << "wraps around";
    Host.PressKey(*form, vk::Tab, ssShift);
    EXPECT_TRUE(f.A->Focused()) << "shift+tab goes back";

    f.C->SetEnabled(false);
    f.B->SetVisible(false);
    Host.PressKey(*form, vk::Tab);
    EXPECT_TRUE(f.A->Focused()) << "the only stop left";
}

TEST_F(KeyboardTest, FocusChangesFireExitThenEnter) {
    TForm* form = MakeForm();
    auto f = Make(form);
    f.A->SetFocus();
    Log.clear();
    f.B->SetFocus();
    EXPECT_EQ(Log, (TLog{"A:unfocus", "B:focus"}));
    f.B->SetFocus();  // already focused: nothing
    EXPECT_EQ(Log.size(), 2u);
    f.B->SetVisible(false);
    EXPECT_EQ(form->ActiveControl(), nullptr);
    f.C->SetEnabled(false);
    f.C->SetFocus();
    EXPECT_EQ(form->ActiveControl(), nullptr) << "a disabled control cannot take focus";
}

TEST_F(KeyboardTest, ConsumedTabDoesNotMoveFocus) {
    TForm* form = MakeForm();
    auto f = Make(form);
    f.A->SetFocus();
    f.A->OnKeyDown = [](TComponent*, int& key, TShiftState) {
        if (key == vk::Tab) key = 0;
    };
    Host.PressKey(*form, vk::Tab);
    EXPECT_TRUE(f.A->Focused());
}

TEST_F(KeyboardTest, ApplicationHookSeesEveryKeyDownFirstAndCanSwallowIt) {
    TForm* form = MakeForm();
    auto f = Make(form);
    f.A->SetFocus();
    std::vector<int> seen;
    App.OnKeyHook = [&](TForm* target, int key, TShiftState) {
        EXPECT_EQ(target, form);
        seen.push_back(key);
        Log.push_back("hook " + std::to_string(key));
        return key == vk::F2 ? TKeyHookResult::Swallow : TKeyHookResult::Pass;
    };
    Log.clear();
    Host.KeyDown(*form, vk::F2);
    Host.KeyDown(*form, 'Q');
    EXPECT_EQ(Log, (TLog{"hook 113", "hook 81", "A:keydown 81"}));
}

TEST_F(KeyboardTest, KeyPreviewLetsTheFormSeeAndStopKeysFirst) {
    TForm* form = MakeForm();
    auto f = Make(form);
    f.A->SetFocus();
    form->KeyPreview = true;
    form->OnKeyDown = [&](TComponent*, int& key, TShiftState) {
        Log.push_back("form " + std::to_string(key));
        if (key == vk::Escape) key = 0;
    };
    Log.clear();
    Host.KeyDown(*form, vk::Escape);
    Host.KeyDown(*form, 'W');
    EXPECT_EQ(Log, (TLog{"form 27", "form 87", "A:keydown 87"}));
}

// ---- hints ----

TEST_F(GuiTest, HintShowsAfterItsDelayBelowTheCursorAndGoesOnLeave) {
    TForm* form = MakeForm();
    TProbe* a = AddProbe(form, "A", Bounds(10, 10, 40, 40));
    a->Hint = "Snooze|Postpone the reminder";
    a->ShowHint = true;
    AddProbe(form, "B", Bounds(100, 10, 40, 40));

    Host.MouseMove(*form, 20, 20);
    Host.Advance(App.HintPause - 1);
    EXPECT_EQ(Host.HintShowCount, 0);
    Host.MouseMove(*form, 22, 22);  // moving inside does not restart the wait
    Host.Advance(1);
    EXPECT_EQ(Host.HintShowCount, 1);
    EXPECT_EQ(Host.HintText, "Snooze");
    EXPECT_EQ(Host.HintPoint, (TPoint{100 + 20, 50 + 20 + 20}));

    Host.MouseMove(*form, 110, 20);  // a control without a hint
    EXPECT_EQ(Host.HintText, "");
    Host.Advance(5000);
    EXPECT_EQ(Host.HintShowCount, 1);
}

TEST_F(GuiTest, HintIsCancelledWhenTheMouseLeavesBeforeTheDelay) {
    TForm* form = MakeForm();
    TProbe* a = AddProbe(form, "A", Bounds(10, 10, 40, 40));
    a->Hint = "Delete";
    a->ShowHint = true;
    Host.MouseMove(*form, 20, 20);
    Host.Advance(200);
    Host.MouseLeave(*form);
    Host.Advance(2000);
    EXPECT_EQ(Host.HintShowCount, 0);

    Host.MouseMove(*form, 20, 20);
    Host.MouseDown(*form, 20, 20);  // a press cancels as well
    Host.Advance(2000);
    EXPECT_EQ(Host.HintShowCount, 0);
}

TEST_F(GuiTest, HintHidesItselfAfterTheHidePause) {
    TForm* form = MakeForm();
    TProbe* a = AddProbe(form, "A", Bounds(10, 10, 40, 40));
    a->Hint = "Edit";
    a->ShowHint = true;
    Host.MouseMove(*form, 20, 20);
    Host.Advance(App.HintPause);
    EXPECT_EQ(Host.HintText, "Edit");
    Host.Advance(App.HintHidePause);
    EXPECT_EQ(Host.HintText, "");
}
