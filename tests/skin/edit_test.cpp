// TOrbEdit and TOrbRichEdit on the offscreen host: the character and key
// rules with their undo, digits-only and read-only modes, selection with
// Shift and Ctrl, the caret a press places between proportional glyphs,
// the clipboard, UTF-8 text typed through the input method, focus and the
// blink on the virtual clock, the extra button, the frame drawn per state,
// and the rich edit's bars mirrored from the native editor model.
#include <string>
#include <vector>

#include "platform/gfx/text.h"
#include "platform/gui/gui_fixture.h"
#include "skin/orb_edit_skin.h"
#include "skin/orb_rich_edit.h"
#include "skin/orb_scroll_bar.h"

namespace {

bool ValidUtf8(const std::string& s) {
    for (size_t pos = 0; pos < s.size(); pos += Utf8SequenceLength(s, pos))
        if (static_cast<unsigned char>(s[pos]) >= 0x80 && Utf8SequenceLength(s, pos) == 1) return false;
    return true;
}

class EditTest : public GuiTest {
protected:
    TForm* Form = nullptr;
    TOrbEdit* Edit = nullptr;
    TOrbEdit* Other = nullptr;
    int Changes = 0;

    void SetUp() override {
        Form = MakeForm(320, 120);
        Edit = AddEdit(10, 10);
        Other = AddEdit(10, 50);
        Edit->OnChange = [this](TComponent*) { Changes++; };
        Host.Settle();
    }
    TOrbEdit* AddEdit(int left, int top) {
        TOrbEdit* edit = Form->Add<TOrbEdit>();
        LoadProgramEditSkin(*edit);
        TFont font;
        font.Name = "DejaVu Sans";
        font.Size = 10;
        edit->SetFont(font);
        edit->SetBounds(left, top, 220, 25);
        return edit;
    }
    // Focuses the edit by a press (which selects all), then puts the caret at the end.
    void Focus(TOrbEdit* edit) {
        Host.Click(*Form, edit->Left() + 100, edit->Top() + 12);
        Host.PressKey(*Form, vk::Right, ssCtrl);
    }
    void Type(const std::string& text) { Host.TypeText(*Form, text); }
    void Key(int key, TShiftState shift = ssNone) { Host.PressKey(*Form, key, shift); }
};

TEST_F(EditTest, OnlyNumberTakesDigitsAndTheDotOnly) {
    Edit->OnlyNumber = true;
    Focus(Edit);
    Type("a");
    EXPECT_EQ(Edit->Text(), "");
    EXPECT_EQ(Changes, 0);
    Type("5");
    Type(".");
    Type("x2");
    EXPECT_EQ(Edit->Text(), "5.2");
    // Pasting must not smuggle in what typing refuses.
    Host.ClipboardModel.SetText("1a\n3");
    Key('V', ssCtrl);
    EXPECT_EQ(Edit->Text(), "5.213");
}

TEST_F(EditTest, BackspaceAtTheStartChangesNothing) {
    Edit->SetText("abc");
    Focus(Edit);
    Key(vk::Left, ssCtrl);
    ASSERT_EQ(Edit->CaretPos(), 0);
    Changes = 0;
    Key(vk::Back);
    EXPECT_EQ(Edit->Text(), "abc");
    EXPECT_EQ(Changes, 0);
    Key(vk::Right);
    Key(vk::Back);
    EXPECT_EQ(Edit->Text(), "bc");
    EXPECT_EQ(Edit->CaretPos(), 0);
}

TEST_F(EditTest, CtrlZSwapsTextAndUndoTextBothWays) {
    Focus(Edit);
    Type("hello");
    Key(vk::Left, ssShift);
    Key(vk::Left, ssShift);
    Type("p");  // the selection "lo" goes first, saving "hello"
    ASSERT_EQ(Edit->Text(), "help");
    Key('Z', ssCtrl);
    EXPECT_EQ(Edit->Text(), "hello");
    Key('Z', ssCtrl);
    EXPECT_EQ(Edit->Text(), "help");
    // A single-character Backspace keeps the undo copy; Delete replaces it.
    Key(vk::Back);
    EXPECT_EQ(Edit->UndoText(), "hello");
    Key(vk::Left, ssCtrl);
    Key(vk::Delete);
    EXPECT_EQ(Edit->Text(), "el");
    EXPECT_EQ(Edit->UndoText(), "hel");
}

TEST_F(EditTest, ReadOnlyShowsNoCaretAndIgnoresEveryEditingKey) {
    Edit->SetText("fixed");
    Edit->SetOnlyRead(true);
    Host.Click(*Form, 110, 22);
    Host.Click(*Form, 30, 22);
    ASSERT_TRUE(Edit->Focused());
    EXPECT_FALSE(Edit->CaretShown());
    Host.ClipboardModel.SetText("pasted");
    Changes = 0;
    Type("x");
    for (int key : {int(vk::Back), int(vk::Delete)}) Key(key);
    for (int key : {'V', 'X', 'Z'}) Key(key, ssCtrl);
    Key('A', ssCtrl);
    Key(vk::Delete);
    Key(vk::Back);
    EXPECT_EQ(Edit->Text(), "fixed");
    EXPECT_EQ(Changes, 0);
    // Copying is not editing.
    Key('C', ssCtrl);
    EXPECT_EQ(Host.ClipboardModel.Text(), "fixed");
    Host.Advance(TOrbEdit::BlinkInterval * 3);
    EXPECT_FALSE(Edit->CaretShown());
}

TEST_F(EditTest, ShiftAndCtrlArrowsSelectAndJump) {
    Edit->SetText("abcdef");
    Focus(Edit);
    Key(vk::Left);
    Key(vk::Left);
    Key(vk::Left, ssShift);
    Key(vk::Left, ssShift);
    EXPECT_EQ(Edit->SelText(), "cd");
    EXPECT_EQ(Edit->SelAnchor(), 4);
    Key(vk::Right, ssShift);
    EXPECT_EQ(Edit->SelText(), "d");
    Key(vk::Left, ssCtrl | ssShift);
    EXPECT_EQ(Edit->SelText(), "abcd");
    Key(vk::Left, ssShift);  // not below 0
    EXPECT_EQ(Edit->CaretPos(), 0);
    Key(vk::Right, ssCtrl);  // to the end, the selection dropped
    EXPECT_EQ(Edit->CaretPos(), 6);
    EXPECT_EQ(Edit->SelText(), "");
    Key(vk::Right);  // not beyond the length
    EXPECT_EQ(Edit->CaretPos(), 6);
    Key('A', ssCtrl);
    EXPECT_EQ(Edit->SelText(), "abcdef");
}

TEST_F(EditTest, APressPlacesTheCaretBetweenProportionalGlyphs) {
    // Narrow and wide letters: a fixed character width would miss both.
    Edit->SetText("iiiiWWW");
    Focus(Edit);
    const TFont& font = Edit->Font();
    const int origin = Edit->Left() + Edit->TextRect().Left;
    const int narrow = TextWidth(font, "iiii", tfNoPrefix), wide = TextWidth(font, "iiiiW", tfNoPrefix);
    ASSERT_GT(wide - narrow, 2 * TextWidth(font, "i", tfNoPrefix));
    const struct {
        int X, Caret;
    } cases[] = {{origin + narrow - 1, 4}, {origin + narrow + 2, 4}, {origin + wide - 2, 5}, {origin - 5, 0},
                 {origin + 200, 7}};
    for (const auto& c : cases) {
        Host.Click(*Form, c.X, 22);
        EXPECT_EQ(Edit->CaretPos(), c.Caret) << c.X - origin;
    }
    // Dragging extends from the press.
    Host.MouseDown(*Form, origin + narrow, 22);
    Host.MouseMove(*Form, origin + wide + 1, 22);
    Host.MouseUp(*Form, origin + wide + 1, 22);
    EXPECT_EQ(Edit->SelText(), "W");
    // The caret is drawn on that boundary.
    Host.Click(*Form, origin + narrow, 22);
    const int x = Edit->Left() + Edit->CaretX(4);
    EXPECT_EQ(x, origin + narrow);
    EXPECT_EQ(Host.PixelAt(*Form, x, 22) & 0xFFFFFF, 0u);
}

TEST_F(EditTest, CopyAndPasteGoThroughTheClipboard) {
    Edit->SetText("abcde");
    Focus(Edit);
    Key(vk::Left);
    Key(vk::Left, ssShift);
    Key(vk::Left, ssShift);
    Key('C', ssCtrl);
    EXPECT_EQ(Host.ClipboardModel.Text(), "cd");
    Key('X', ssCtrl);
    EXPECT_EQ(Edit->Text(), "abe");
    Focus(Other);
    Key('V', ssCtrl);
    Key('V', ssCtrl);
    EXPECT_EQ(Other->Text(), "cdcd");
    EXPECT_FALSE(Edit->Focused());
    EXPECT_EQ(Edit->SelText(), "");  // the focus loss dropped it
    // A password leaves as stars.
    Other->SetPasswordChar("*");
    Key('A', ssCtrl);
    Key('C', ssCtrl);
    EXPECT_EQ(Host.ClipboardModel.Text(), "****");
}

TEST_F(EditTest, ChineseTypedThroughTheInputMethodIsWholeCharacters) {
    Focus(Edit);
    Type("中文");
    Type("é");
    EXPECT_EQ(Edit->Text(), "中文é");
    EXPECT_EQ(Edit->CaretPos(), 3);
    Key(vk::Back);
    EXPECT_EQ(Edit->Text(), "中文");
    Key(vk::Left);
    Key(vk::Left, ssShift);
    EXPECT_EQ(Edit->SelText(), "中");
    Key(vk::Delete);
    EXPECT_EQ(Edit->Text(), "文");
}

TEST_F(EditTest, TheCaretNeverStandsInsideAMultiByteCharacter) {
    const std::string text = "a中é😀b";
    Edit->SetText(text);
    Focus(Edit);
    const int origin = Edit->Left() + Edit->TextRect().Left;
    const int end = TextWidth(Edit->Font(), text, tfNoPrefix);
    std::vector<int> seen;
    for (int x = origin - 2; x <= origin + end + 2; ++x) {
        Host.Click(*Form, x, 22);
        Key(vk::Left, ssCtrl | ssShift);
        const std::string before = Edit->SelText();
        ASSERT_TRUE(ValidUtf8(before)) << x - origin;
        ASSERT_EQ(text.compare(0, before.size(), before), 0);
        if (seen.empty() || seen.back() != int(before.size())) seen.push_back(int(before.size()));
    }
    // Every boundary and nothing between: 0, a, 中, é, the emoji, b.
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 4, 6, 10, 11}));
}

TEST_F(EditTest, FocusSelectsAllAndTheCaretBlinksOnTheVirtualClock) {
    Edit->SetText("blink");
    int gets = 0, losts = 0;
    Edit->OnGetFocus = [&](TComponent*) { gets++; };
    Edit->OnLostFocus = [&](TComponent*) { losts++; };
    Host.Click(*Form, 100, 22);
    EXPECT_EQ(gets, 1);
    EXPECT_EQ(Edit->SelText(), "blink");
    EXPECT_TRUE(Edit->CaretShown());
    Host.Advance(TOrbEdit::BlinkInterval);
    EXPECT_FALSE(Edit->CaretShown());
    Host.Advance(TOrbEdit::BlinkInterval);
    EXPECT_TRUE(Edit->CaretShown());
    Host.Click(*Form, 40, 22);
    EXPECT_EQ(Edit->SelText(), "");
    Host.DoubleClick(*Form, 40, 22);
    EXPECT_EQ(Edit->SelText(), "blink");
    Host.Click(*Form, 100, 62);
    EXPECT_EQ(losts, 1);
    EXPECT_FALSE(Edit->CaretShown());
    EXPECT_EQ(Edit->SelText(), "");
    Host.Advance(TOrbEdit::BlinkInterval);
    EXPECT_FALSE(Edit->CaretShown());
}

TEST_F(EditTest, KeyPressHandlerMayDropACharacter) {
    Edit->OnkeyPress = [](TComponent*, std::string& key) {
        if (key == "x" || key == "\x01") key.clear();
    };
    Focus(Edit);
    Type("axb");
    Key('A', ssCtrl);
    EXPECT_EQ(Edit->Text(), "ab");
    EXPECT_EQ(Edit->SelText(), "");
}

TEST_F(EditTest, TheExtraButtonClicksAndTakesTheArrowCursor) {
    LoadProgramEditSkin(*Edit, TEditExtraButton::Yes);
    Edit->SetText("path");
    int clicks = 0;
    Edit->OnBtnExtraClick = [&](TComponent*) { clicks++; };
    const TRect extra = Edit->ExtraRect();
    const int x = Edit->Left() + extra.Left + 5, y = Edit->Top() + 12;
    Host.MouseMove(*Form, x, y);
    EXPECT_EQ(Host.WindowOf(*Form)->Cursor, TCursor::Arrow);
    EXPECT_EQ(Edit->ExtraFrame(), 1);
    Host.Click(*Form, x, y);
    EXPECT_EQ(clicks, 1);
    // A press there is no press on the text: the caret did not move there.
    EXPECT_LE(Edit->CaretPos(), 4);
    Host.MouseMove(*Form, Edit->Left() + 20, y);
    EXPECT_EQ(Host.WindowOf(*Form)->Cursor, TCursor::IBeam);
}

TEST_F(EditTest, TheFrameFollowsTheState) {
    const TColor32 normal = Color32(180, 186, 194), hover = Color32(111, 182, 234), focused = Color32(22, 149, 230),
                   disabled = Color32(213, 217, 222);
    auto edge = [&] { return Host.PixelAt(*Form, Edit->Left() + 100, Edit->Top()) | 0xFF000000u; };
    EXPECT_EQ(edge(), normal);
    Host.MouseMove(*Form, 100, 20);
    EXPECT_EQ(edge(), hover);
    Host.Click(*Form, 100, 20);
    EXPECT_EQ(edge(), focused);
    Host.Click(*Form, 100, 62);
    Host.MouseMove(*Form, 300, 100);
    EXPECT_EQ(edge(), normal);
    Edit->SetEnabled(false);
    Host.Settle();
    EXPECT_EQ(edge(), disabled);
}

// ---- the rich edit ----

class RichEditTest : public GuiTest {
protected:
    TForm* Form = nullptr;
    TOrbRichEdit* Rich = nullptr;
    TOrbScrollBar* Bar = nullptr;

    // Built before the form shows, as a window's constructor does.
    void SetUp() override {
        Form = App.CreateForm<TForm>();
        Form->SetBounds(100, 50, 300, 200);
        Rich = Form->Add<TOrbRichEdit>();
        Rich->SetBounds(10, 10, 200, 80);  // the model: 5 lines of 16 pixels
        Bar = Form->Add<TOrbScrollBar>();
        Bar->SetBounds(212, 10, 15, 80);
        Rich->SetVerScrollBar(Bar);
        Form->Show();
        Host.Settle();
    }
    TOffscreenTextEditor* Model() const { return Host.TextEditors.Last(); }
};

TEST_F(RichEditTest, TheEditorExistsBeforeTheFirstShowAndSitsOverTheControl) {
    TForm* later = App.CreateForm<TForm>();
    later->SetBounds(0, 0, 100, 100);
    TOrbRichEdit* rich = later->Add<TOrbRichEdit>();
    rich->SetText("early");
    ASSERT_NE(rich->Editor(), nullptr);
    EXPECT_NE(later->Window(), 0u);
    EXPECT_FALSE(later->Visible());
    ASSERT_NE(Model(), nullptr);
    EXPECT_EQ(Model()->Text(), "early");
    ASSERT_EQ(Host.TextEditors.Items.size(), 2u);
    EXPECT_EQ(Host.TextEditors.Items[0]->Bounds, Bounds(10, 10, 200, 80));
    EXPECT_TRUE(Host.TextEditors.Items[0]->IsVisible);
}

TEST_F(RichEditTest, AFittingTextDisablesTheBarAndALongOneEnablesIt) {
    Rich->SetText("one\ntwo");
    EXPECT_FALSE(Bar->Enabled());
    Rich->SetText("1\n2\n3\n4\n5\n6\n7\n8\n9\n10");
    EXPECT_TRUE(Bar->Enabled());
    EXPECT_EQ(Bar->Max(), 9);
    EXPECT_EQ(Bar->PageSize(), 5);
    Rich->SetText("short");
    EXPECT_FALSE(Bar->Enabled());
    // A direction left out of ScrollBars never enables its bar.
    Rich->SetScrollBars(TScrollStyle::Horizontal);
    Rich->SetText("1\n2\n3\n4\n5\n6\n7\n8\n9\n10");
    EXPECT_FALSE(Bar->Enabled());
}

TEST_F(RichEditTest, ScrollingTheSkinnedBarScrollsTheTextAndBack) {
    Rich->SetText("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12");
    ASSERT_TRUE(Bar->Enabled());
    // A click on the bar's lower page area steps the bar and the text.
    Host.Click(*Form, 212 + 7, 10 + 75);
    const int pos = Model()->Scroll(TScrollDirection::Vertical).Pos;
    EXPECT_GT(pos, 0);
    EXPECT_EQ(Bar->Position(), pos);
    // The user scrolling the text moves the bar.
    Model()->UserScroll(TScrollDirection::Vertical, 7);
    EXPECT_EQ(Bar->Position(), 7);
    Model()->UserType("\n13\n14");
    EXPECT_EQ(Bar->Max(), 13);
    EXPECT_EQ(Rich->Lines().size(), 14u);
}

TEST_F(RichEditTest, AFreedBarIsReleased) {
    Form->DestroyControl(Bar);
    Rich->SetText("1\n2\n3\n4\n5\n6\n7\n8\n9\n10");
    EXPECT_EQ(Rich->VerScrollBar(), nullptr);
}

}  // namespace

namespace {

// A page that slides or hides takes the native editor inside it along.
TEST_F(RichEditTest, TheEditorFollowsItsPanelWhenItMovesOrHides) {
    auto* page = Form->Add<TWinControl>();
    page->SetBounds(0, 100, 250, 90);
    auto* inner = page->Add<TOrbRichEdit>();
    inner->SetBounds(5, 5, 100, 60);
    inner->SetText("on the page");
    Host.Settle();
    TOffscreenTextEditor* model = Host.TextEditors.Last();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->Bounds, Bounds(5, 105, 100, 60));
    page->SetLeft(30);
    EXPECT_EQ(model->Bounds, Bounds(35, 105, 100, 60));
    page->SetVisible(false);
    EXPECT_FALSE(model->IsVisible);
    page->SetVisible(true);
    EXPECT_TRUE(model->IsVisible);
}

}  // namespace
