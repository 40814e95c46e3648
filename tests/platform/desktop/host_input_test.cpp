// Real input from the X server (xdotool): pointer presses, double clicks and
// wheel steps reach the control under the pointer in its own coordinates;
// typed keys and characters, non-ASCII ones too, reach the focused control.
#include "desktop_fixture.h"
#include "platform/gui/form.h"

// X11 last: its macros (None, Status ...) clash with the names above.
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#undef KeyPress  // an X event type; here the framework hook
#undef KeyRelease

namespace {

class TInputProbe : public TWinControl {
public:
    explicit TInputProbe(TComponent* owner) : TWinControl(owner) { TabStop = true; }
    std::vector<TPoint> Downs;
    std::vector<TShiftState> DownShifts;
    int Clicks = 0, DblClicks = 0, Ups = 0, Wheel = 0;
    std::vector<int> KeysDown;
    std::string Typed;

protected:
    void Paint(TBitmap32& canvas) override { canvas.FillRect(ClientRect(), Color32(200, 200, 255)); }
    void MouseDown(TMouseButton, TShiftState shift, TPoint p) override {
        Downs.push_back(p);
        DownShifts.push_back(shift);
    }
    void MouseUp(TMouseButton, TShiftState, TPoint) override { Ups++; }
    void Click() override { Clicks++; }
    void DblClick() override { DblClicks++; }
    TEventResult MouseWheel(int delta, TShiftState, TPoint) override {
        Wheel += delta;
        return TEventResult::Handled;
    }
    void KeyDown(int& key, TShiftState) override { KeysDown.push_back(key); }
    void KeyPress(const std::string& text) override { Typed += text; }
};

class HostInputTest : public TDesktopTest {
protected:
    void ShowForm() {
        Form = App->CreateForm<TForm>();
        Form->SetBounds(200, 200, 300, 200);
        Probe = Form->Add<TInputProbe>();
        Probe->SetBounds(50, 40, 200, 120);
        Form->Show();
        ASSERT_TRUE(WaitShown(*Form));
    }
    TForm* Form = nullptr;
    TInputProbe* Probe = nullptr;
};

// Gives unused key codes the key symbols the test types, so that xdotool
// finds them on the keyboard instead of remapping a key while it types
// (the remapping races with the client reading the key); undone at the end.
class TExtraKeys {
public:
    explicit TExtraKeys(const std::vector<KeySym>& symbols) : FDisplay(GDK_DISPLAY_XDISPLAY(gdk_display_get_default())) {
        int minCode = 0, maxCode = 0, perCode = 0;
        XDisplayKeycodes(FDisplay, &minCode, &maxCode);
        KeySym* map = XGetKeyboardMapping(FDisplay, KeyCode(minCode), maxCode - minCode + 1, &perCode);
        size_t next = 0;
        for (int code = maxCode; code >= minCode && next < symbols.size(); --code) {
            bool unused = true;
            for (int i = 0; i < perCode; ++i) unused = unused && map[(code - minCode) * perCode + i] == NoSymbol;
            if (!unused) continue;
            KeySym pair[2] = {symbols[next], symbols[next]};
            XChangeKeyboardMapping(FDisplay, code, 2, pair, 1);
            FCodes.push_back(code);
            ++next;
        }
        XFree(map);
        XSync(FDisplay, False);
    }
    ~TExtraKeys() {
        KeySym none[2] = {NoSymbol, NoSymbol};
        for (int code : FCodes) XChangeKeyboardMapping(FDisplay, code, 2, none, 1);
        XSync(FDisplay, False);
    }
    size_t Count() const { return FCodes.size(); }

private:
    Display* FDisplay;
    std::vector<int> FCodes;
};

bool KeymapHas(guint keyval) {
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    bool found = gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_display_get_default()), keyval, &keys,
                                                   &count);
    g_free(keys);
    return found && count > 0;
}

}  // namespace

TEST_F(HostInputTest, ClickReachesTheControlInItsOwnCoordinates) {
    ShowForm();
    ASSERT_EQ(RunTool({"xdotool", "mousemove", "262", "247", "click", "1"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return Probe->Clicks == 1; }));
    ASSERT_EQ(Probe->Downs.size(), 1u);
    EXPECT_EQ(Probe->Downs[0], (TPoint{12, 7}));
    EXPECT_EQ(Probe->DownShifts[0] & ssDouble, 0u);
    EXPECT_EQ(Probe->Ups, 1);
}

TEST_F(HostInputTest, DoubleClickMarksTheSecondPress) {
    ShowForm();
    ASSERT_EQ(RunTool({"xdotool", "mousemove", "300", "290", "click", "--repeat", "2", "--delay", "60", "1"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return Probe->DblClicks == 1 && Probe->Ups == 2; }));
    ASSERT_EQ(Probe->Downs.size(), 2u);
    EXPECT_EQ(Probe->DownShifts[0] & ssDouble, 0u);
    EXPECT_NE(Probe->DownShifts[1] & ssDouble, 0u);
    EXPECT_EQ(Probe->Downs[1], (TPoint{50, 50}));
    EXPECT_EQ(Probe->Clicks, 1);  // the second press of a pair makes no click
}

TEST_F(HostInputTest, WheelStepsArriveAsWholeNotches) {
    ShowForm();
    ASSERT_EQ(RunTool({"xdotool", "mousemove", "320", "300", "click", "4"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return Probe->Wheel == 120; }));
    ASSERT_EQ(RunTool({"xdotool", "click", "--repeat", "3", "--delay", "10", "5"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return Probe->Wheel == 120 - 360; }));
    EXPECT_TRUE(Probe->Downs.empty());  // wheel buttons are not presses
}

TEST_F(HostInputTest, TypedKeysAndCharactersReachTheFocusedControl) {
    ShowForm();
    TExtraKeys extra({XK_eacute, 0x1004E2D /* U+4E2D */});
    ASSERT_EQ(extra.Count(), 2u);
    ASSERT_TRUE(PumpUntil([] { return KeymapHas(GDK_KEY_eacute) && KeymapHas(0x1004E2D); }));
    Probe->SetFocus();
    Form->Activate();
    ASSERT_TRUE(PumpUntil([&] { return Form->Active(); }));

    ASSERT_EQ(RunTool({"xdotool", "type", "--delay", "30", "a\xC3\xA9\xE4\xB8\xAD" "B"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return Probe->Typed.size() >= 7; }));
    EXPECT_EQ(Probe->Typed, "a\xC3\xA9\xE4\xB8\xAD" "B");
    ASSERT_FALSE(Probe->KeysDown.empty());
    EXPECT_EQ(Probe->KeysDown.front(), 'A');

    ASSERT_EQ(RunTool({"xdotool", "key", "Return"}), 0);
    EXPECT_TRUE(PumpUntil([&] { return Probe->KeysDown.back() == vk::Return; }));
}
