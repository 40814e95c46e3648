// The skinned combo box on the offscreen host: the drop-down's size and
// place, choosing with the mouse and the arrow keys and the order of the
// events it fires, the index rules, scrolling beyond ShowitemCount, and
// closing on a second release, on deactivation and on a loss of focus.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/gfx/picture.h"
#include "platform/gui/gui_fixture.h"
#include "skin/orb_combobox.h"
#include "skin/orb_combobox_preset.h"
#include "skin/orb_edit.h"
#include "skin/orb_list_form.h"
#include "skin/skin_presets.h"

namespace {

class ComboboxTest : public GuiTest {
protected:
    TForm* Main = nullptr;
    TOrbCombobox* Combo = nullptr;
    TOrbScrollBarRes* BarRes = nullptr;
    TLog Events;

    void SetUp() override {
        Main = MakeForm(400, 300);
        BarRes = Main->Create<TOrbScrollBarRes>();
        LoadProgramScrollBarSkin(BarRes->Skin);
        Combo = Main->Add<TOrbCombobox>();
        Combo->SetBounds(69, 156, 153, 29);
        LoadProgramComboSkin(*Combo, BarRes);
        Fill({"Once", "Daily", "Weekly"});
        Combo->OnItemClick = [this](TComponent* sender, TOrbCboxItem* item) {
            EXPECT_EQ(sender, Combo);
            Events.push_back("click " + item->Caption + " index " + std::to_string(Combo->index()));
        };
        Combo->OnChange = [this](TComponent* sender) {
            auto* item = dynamic_cast<TOrbCboxItem*>(sender);
            ASSERT_NE(item, nullptr);
            Events.push_back("change " + item->Caption + " index " + std::to_string(Combo->index()));
        };
        Host.Settle();
    }

    void Fill(std::initializer_list<const char*> captions) {
        Combo->Clear();
        for (const char* caption : captions) {
            TOrbCboxItem* item = Combo->AddItem();
            item->Caption = caption;
            item->OnItemChosen = [this](TOrbCboxItem* chosen) { Events.push_back("chosen " + chosen->Caption); };
        }
    }
    void ClickBox() { Host.Click(*Main, Combo->Left() + 40, Combo->Top() + 14); }
    TOrbListForm& List() { return *Combo->ListForm(); }
    TPoint RowCentre(int index) {
        const TRect& r = Combo->GetItem(index)->ItemRect;
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void ClickRow(int index) {
        const TPoint p = RowCentre(index);
        Host.Click(List(), p.X, p.Y);
    }
};

TEST_F(ComboboxTest, ProgramSkinSizesTheBoxAndPlacesTheDropButton) {
    EXPECT_EQ(Combo->Height(), 29);
    EXPECT_EQ(Combo->ItemHeight(), 24);  // the row image's height, not the default 22
    // Right edge 153 - BtnOffSet 6 - 1, the 18-pixel frame centred.
    EXPECT_EQ(Combo->BtnRect(), Bounds(128, 5, 18, 18));
    EXPECT_TRUE(Combo->ExtraBtnRect().IsEmpty());  // wanted, but there is no image
    EXPECT_EQ(Combo->TextRect().Left, 12);
    EXPECT_EQ(Combo->TextRect().Right, 126);
}

TEST_F(ComboboxTest, ThreeItemsGiveADropDownBelowTheBoxWithoutABar) {
    ClickBox();
    ASSERT_TRUE(Combo->DroppedDown());
    const TOffscreenWindow* w = Host.WindowOf(List());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Visible);
    EXPECT_EQ(w->Bounds.Height(), 3 * (Combo->ItemHeight() + 2) + 2 * Combo->AlphaWidth + 2);
    EXPECT_EQ(w->Bounds.Width(), Combo->Width());
    const TPoint box = Combo->ClientToScreen({0, 0});
    EXPECT_EQ(w->Bounds.Left, box.X);
    EXPECT_EQ(w->Bounds.Top, box.Y + Combo->Height());
    EXPECT_FALSE(Combo->OpenedUpward());
    EXPECT_EQ(w->Transparency, TTransparency::PerPixelAlpha);
    EXPECT_EQ(w->Activation, TActivation::NoActivate);
    EXPECT_EQ(w->Owner, Main->Window());
    EXPECT_TRUE(Combo->ScrollBar() == nullptr || !Combo->ScrollBar()->Visible());
    EXPECT_EQ(Host.ActiveForm(), Main);
    // Rows from AlphaWidth + 2, two pixels apart, the last inside the window.
    EXPECT_EQ(Combo->GetItem(0)->ItemRect, TRect(6, 6, 153 - 4 - 2, 30));
    EXPECT_EQ(Combo->GetItem(2)->ItemRect.Top, 6 + 2 * 26);
}

TEST_F(ComboboxTest, NearTheBottomOfTheWorkAreaItOpensAbove) {
    const TPoint box = Combo->ClientToScreen({0, 0});
    Host.WorkAreaRect = {0, 0, 1920, box.Y + Combo->Height() + 40};
    ClickBox();
    ASSERT_TRUE(Combo->DroppedDown());
    const TRect bounds = Host.WindowOf(List())->Bounds;
    EXPECT_TRUE(Combo->OpenedUpward());
    EXPECT_EQ(bounds.Bottom, box.Y);
    EXPECT_EQ(bounds.Top, box.Y - (3 * 26 + 10));
    // With room again the next opening goes below.
    ClickBox();
    Host.WorkAreaRect = {0, 0, 1920, 1040};
    ClickBox();
    EXPECT_FALSE(Combo->OpenedUpward());
    EXPECT_EQ(Host.WindowOf(List())->Bounds.Top, box.Y + Combo->Height());
}

TEST_F(ComboboxTest, AReleaseOnTheBoxClosesWithoutChoosing) {
    ClickBox();
    const TPoint p = RowCentre(1);
    Host.MouseMove(List(), p.X, p.Y);
    EXPECT_EQ(Combo->HoverItem(), Combo->GetItem(1));
    ClickBox();
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_FALSE(Host.WindowOf(List())->Visible);
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(Combo->index(), -1);
    EXPECT_EQ(Combo->Text(), "");
}

TEST_F(ComboboxTest, TheDropButtonFiresOnbtnClickThenToggles) {
    int clicks = 0;
    Combo->OnbtnClick = [&](TComponent* sender) {
        EXPECT_EQ(sender, Combo);
        EXPECT_FALSE(Combo->DroppedDown());
        clicks++;
    };
    const TRect btn = Combo->BtnRect();
    Host.Click(*Main, Combo->Left() + btn.Left + 4, Combo->Top() + btn.Top + 4);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(Combo->DroppedDown());
    // A click on the text part does not count as the button.
    ClickBox();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(Combo->DroppedDown());
}

TEST_F(ComboboxTest, ChoosingFiresItemClickBeforeTheIndexChangesAndOnlyANewChoiceFiresChange) {
    ClickBox();
    ClickRow(1);
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(Events, (TLog{"click Daily index -1", "change Daily index 1", "chosen Daily"}));
    EXPECT_EQ(Combo->Text(), "Daily");
    EXPECT_EQ(Combo->index(), 1);
    Events.clear();
    ClickBox();
    ClickRow(1);
    EXPECT_EQ(Events, (TLog{"click Daily index 1", "chosen Daily"}));
    Events.clear();
    ClickBox();
    ClickRow(2);
    EXPECT_EQ(Events, (TLog{"click Weekly index 1", "change Weekly index 2", "chosen Weekly"}));
}

TEST_F(ComboboxTest, APressOnOneRowAndAReleaseOnAnotherChoosesTheOneUnderTheMouse) {
    ClickBox();
    const TPoint from = RowCentre(0), to = RowCentre(2);
    Host.MouseMove(List(), from.X, from.Y);
    Host.MouseDown(List(), from.X, from.Y);
    EXPECT_EQ(Combo->DownItem(), Combo->GetItem(0));
    Host.MouseMove(List(), to.X, to.Y, ssLeft);
    Host.MouseUp(List(), to.X, to.Y);
    EXPECT_EQ(Combo->index(), 2);
    // Released between rows nothing is chosen and the drop-down stays.
    ClickBox();
    Host.MouseDown(List(), from.X, from.Y);
    Host.MouseUp(List(), from.X, Combo->GetItem(0)->ItemRect.Bottom);
    EXPECT_TRUE(Combo->DroppedDown());
    EXPECT_EQ(Combo->index(), 2);
}

TEST_F(ComboboxTest, DisabledAndHiddenItemsCannotBeChosen) {
    Combo->GetItem(1)->Enabled = false;
    Combo->GetItem(2)->Visible = false;
    ClickBox();
    EXPECT_EQ(Host.WindowOf(List())->Bounds.Height(), 3 * 26 + 10);
    EXPECT_EQ(Combo->GetItem(2)->ItemRect, TRect(-1, -1, -1, -1));
    ClickRow(1);
    EXPECT_TRUE(Combo->DroppedDown());
    EXPECT_TRUE(Events.empty());
}

TEST_F(ComboboxTest, IndexRules) {
    Combo->Setindex(1);
    EXPECT_EQ(Combo->Text(), "Daily");
    EXPECT_EQ(Events, (TLog{"change Daily index 1"}));
    Combo->Setindex(1);  // the same item
    Combo->Setindex(3);  // beyond the last
    Combo->Setindex(-5);
    EXPECT_EQ(Events.size(), 1u);
    EXPECT_EQ(Combo->index(), 1);
    Combo->Setindex(-1);
    EXPECT_EQ(Combo->index(), -1);
    EXPECT_EQ(Combo->SelectedItem(), nullptr);
    EXPECT_EQ(Combo->Text(), "Daily");
    EXPECT_EQ(Events.size(), 1u);
    EXPECT_EQ(Combo->GetItem(3), nullptr);
    EXPECT_EQ(Combo->GetItem(-1), nullptr);
    EXPECT_EQ(Combo->GetItem(2)->Index(), 2);
}

TEST_F(ComboboxTest, ABarScrollsTheRowsBeyondShowitemCount) {
    Fill({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"});
    Combo->ShowitemCount = 5;
    ClickBox();
    TOrbScrollBar* bar = Combo->ScrollBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->Visible());
    EXPECT_EQ(Host.WindowOf(List())->Bounds.Height(), 5 * 26 + 10);
    EXPECT_EQ(bar->Max(), 11);
    EXPECT_EQ(bar->PageSize(), 5);
    EXPECT_EQ(bar->Width(), 15);
    EXPECT_EQ(bar->BoundsRect(), Bounds(153 - 4 - 15, 5, 15, 5 * 26 + 10 - 10));
    // Rows leave room for the bar.
    EXPECT_EQ(Combo->GetItem(0)->ItemRect.Right, 153 - 4 - (15 + 4 + 1));
    EXPECT_EQ(Combo->GetItem(5)->ItemRect, TRect(-1, -1, -1, -1));

    const TRect down = bar->Geometry().BtnRB.Offset(bar->Left(), bar->Top());
    Host.Click(List(), (down.Left + down.Right) / 2, (down.Top + down.Bottom) / 2);
    EXPECT_EQ(Combo->FirstShownItem(), 1);
    EXPECT_EQ(Combo->GetItem(0)->ItemRect, TRect(-1, -1, -1, -1));
    EXPECT_EQ(Combo->GetItem(1)->ItemRect.Top, 6);
    // The wheel scrolls too, never past the last page.
    Host.Wheel(List(), 40, 20, -120 * 20);
    EXPECT_EQ(Combo->FirstShownItem(), 7);
    EXPECT_EQ(bar->Position(), 7);
    ClickRow(11);
    EXPECT_EQ(Combo->Text(), "l");
    EXPECT_EQ(Combo->index(), 11);

    // Few items again: no bar at the next opening.
    Fill({"x", "y"});
    ClickBox();
    EXPECT_FALSE(bar->Visible());
    EXPECT_EQ(Combo->FirstShownItem(), 0);
    EXPECT_EQ(Combo->GetItem(0)->ItemRect.Right, 153 - 4 - 2);
}

TEST_F(ComboboxTest, ArrowKeysChooseTheNeighbourAndFireTheClickEvents) {
    Combo->SetFocus();
    Combo->GetItem(1)->Enabled = false;
    Host.PressKey(*Main, vk::Down);
    EXPECT_EQ(Combo->index(), 0);
    EXPECT_EQ(Combo->Text(), "Once");
    Host.PressKey(*Main, vk::Down);  // past the disabled entry
    EXPECT_EQ(Combo->index(), 2);
    Host.PressKey(*Main, vk::Down);  // at the end: nothing
    Host.PressKey(*Main, vk::Up);
    EXPECT_EQ(Combo->index(), 0);
    Host.PressKey(*Main, vk::Up);
    EXPECT_EQ(Events, (TLog{"click Once index -1", "change Once index 0", "chosen Once", "click Weekly index 0",
                            "change Weekly index 2", "chosen Weekly", "click Once index 2", "change Once index 0",
                            "chosen Once"}));
    // Not without the focus, not while disabled.
    Combo->SetEnabled(false);
    Host.PressKey(*Main, vk::Down);
    EXPECT_EQ(Combo->index(), 0);
}

TEST_F(ComboboxTest, ApplicationDeactivationClosesAndRestoresTheHandler) {
    int previous = 0;
    App.OnDeactivate = [&](TComponent*) { previous++; };
    ClickBox();
    ASSERT_TRUE(Combo->DroppedDown());
    Host.DeactivateApplication();
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(previous, 1);
    Host.ActivateForm(*Main);
    Host.DeactivateApplication();
    EXPECT_EQ(previous, 2);
    EXPECT_TRUE(Events.empty());
}

TEST_F(ComboboxTest, AnotherWindowOrControlTakingOverCloses) {
    TProbe* other = AddProbe(Main, "other", Bounds(10, 10, 40, 20));
    other->TabStop = true;
    ClickBox();
    Host.Click(*Main, 20, 20);
    EXPECT_FALSE(Combo->DroppedDown());

    ClickBox();
    TForm* second = App.CreateForm<TForm>();
    second->SetBounds(600, 400, 100, 100);
    Host.Cursor = {650, 450};
    second->Show();
    Host.Settle();
    EXPECT_FALSE(Combo->DroppedDown());
}

TEST_F(ComboboxTest, TheBoxWindowLosingActivationWithTheMouseOnTheBoxKeepsIt) {
    ClickBox();
    // The press that will toggle it is on its way: the release decides.
    TForm* second = App.CreateForm<TForm>();
    second->SetBounds(600, 400, 100, 100);
    second->Show();
    Host.Settle();
    ASSERT_EQ(Host.ActiveForm(), second);
    EXPECT_TRUE(Combo->DroppedDown());
}

TEST_F(ComboboxTest, AHandlerMayFreeTheComboBox) {
    Combo->OnItemClick = [this](TComponent*, TOrbCboxItem*) {
        Main->DestroyControl(Combo);
        Combo = nullptr;
    };
    ClickBox();
    TOrbListForm* list = Combo->ListForm();
    const TPoint p = RowCentre(0);
    Host.Click(*list, p.X, p.Y);
    EXPECT_EQ(Combo, nullptr);
    Host.DeactivateApplication();  // no hook left pointing at it
    Host.Settle();
}

TEST_F(ComboboxTest, TheDropDownPictureMarksTheChosenAndTheHoverRow) {
    Combo->Setindex(2);
    ClickBox();
    const TBitmap32& image = Combo->ListImage();
    const TColor32 highlight = Color32(0xdd, 0xee, 0xfb);
    const TRect chosen = Combo->GetItem(2)->ItemRect;
    EXPECT_EQ(image.Pixel(chosen.Right - 3, chosen.Top + 3), highlight);
    const TRect plain = Combo->GetItem(0)->ItemRect;
    EXPECT_EQ(image.Pixel(plain.Right - 3, plain.Top + 3), Color32(255, 255, 255));
    Host.MouseMove(List(), RowCentre(0).X, RowCentre(0).Y);
    EXPECT_EQ(Combo->ListImage().Pixel(plain.Right - 3, plain.Top + 3), highlight);
    // The shadow edge stays translucent on screen.
    const uint8_t edge = AlphaOf(Host.PixelAt(List(), 0, 40));
    EXPECT_GT(edge, 0);
    EXPECT_LT(edge, 64);
    EXPECT_EQ(Host.PixelAt(List(), 100, 6 + 26 + 3), Color32(255, 255, 255));
}

TEST_F(ComboboxTest, WithCanInputThePressShowsTheEditAndItsTextBecomesTheBoxText) {
    TBitmap32 input(20, 27);
    input.Clear(Color32(250, 250, 250));
    Combo->CanInput = true;
    Combo->SetImgEditInput(input);
    Combo->Setindex(0);
    TLog keys;
    Combo->OnEditkeyDown = [&](TComponent* sender, int& key, TShiftState) {
        EXPECT_EQ(sender, Combo);
        keys.push_back("down " + std::to_string(key));
    };
    int lost = 0;
    Combo->OnLostFocus = [&](TComponent*) { lost++; };
    TProbe* other = AddProbe(Main, "other", Bounds(10, 10, 40, 20));
    other->TabStop = true;

    ClickBox();
    EXPECT_FALSE(Combo->DroppedDown());  // only the drop button opens it now
    ASSERT_NE(Combo->Edit(), nullptr);
    EXPECT_TRUE(Combo->Edit()->Visible());
    EXPECT_EQ(Main->ActiveControl(), Combo->Edit());
    EXPECT_EQ(Combo->Edit()->BoundsRect(), TRect(10, 1, 126, 28));
    EXPECT_EQ(Combo->Edit()->Text(), "Once");
    EXPECT_EQ(lost, 0);
    Host.KeyDown(*Main, vk::Right, ssCtrl);
    Host.TypeText(*Main, "!");
    EXPECT_EQ(Combo->Text(), "Once!");
    EXPECT_EQ(keys, (TLog{"down " + std::to_string(vk::Right)}));

    const TRect btn = Combo->BtnRect();
    Host.Click(*Main, Combo->Left() + btn.Left + 4, Combo->Top() + btn.Top + 4);
    EXPECT_TRUE(Combo->DroppedDown());
    Host.Click(*Main, 20, 20);
    EXPECT_FALSE(Combo->Edit()->Visible());
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(Main->ActiveControl(), other);
    EXPECT_EQ(Combo->Text(), "Once!");
    EXPECT_EQ(lost, 1);
}

TEST_F(ComboboxTest, ACheckBoxInTheDropDownTogglesWithoutChoosing) {
    TBitmap32 checks(64, 16);
    for (int k = 0; k < 4; ++k) checks.FillRect(Bounds(k * 16, 0, 16, 16), Color32(uint8_t(60 * k), 0, 0));
    Combo->SetImgCheck(checks);
    Combo->ShowCheckBox = true;
    TOrbCboxItem* checked = nullptr;
    Combo->OnItemCheck = [&](TComponent* sender, TOrbCboxItem* item) {
        EXPECT_EQ(sender, Combo);
        checked = item;
    };
    ClickBox();
    const TRect box = Combo->GetItem(1)->CheckRect;
    EXPECT_EQ(box, Bounds(12, 32 + 4, 16, 16));
    Host.Click(List(), box.Left + 8, box.Top + 8);
    EXPECT_EQ(checked, Combo->GetItem(1));
    EXPECT_TRUE(Combo->GetItem(1)->Checked);
    EXPECT_TRUE(Combo->DroppedDown());
    EXPECT_TRUE(Events.empty());
    // Checked and under the mouse: frame 3.
    EXPECT_EQ(Combo->ListImage().Pixel(box.Left + 8, box.Top + 8), Color32(180, 0, 0));
}

TEST_F(ComboboxTest, TheExtraButtonClicksAndShowsItsHint) {
    TBitmap32 extra(48, 16);
    extra.Clear(Color32(0, 128, 0));
    Combo->SetImgExtraBtn(extra);
    Combo->ExtraBtnHint = "Browse";
    Combo->Hint = "Repeat";
    int clicks = 0;
    Combo->OnExtraBtnClick = [&](TComponent*) { clicks++; };
    // Just left of the drop button, the text ending before it.
    EXPECT_EQ(Combo->ExtraBtnRect(), Bounds(128 - 16, 6, 16, 16));
    EXPECT_EQ(Combo->TextRect().Right, 128 - 16 - 2);
    const TPoint at{Combo->Left() + 120, Combo->Top() + 14};
    Host.MouseMove(*Main, at.X, at.Y);
    EXPECT_EQ(Combo->Hint, "Browse");
    Host.Click(*Main, at.X, at.Y);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(Combo->DroppedDown());
    Host.MouseMove(*Main, Combo->Left() + 30, at.Y);
    EXPECT_EQ(Combo->Hint, "Repeat");
    // On the left it sits after BtnOffSet + 2 and the text follows it.
    Combo->SetExtraBtnLeft(true);
    EXPECT_EQ(Combo->ExtraBtnRect(), Bounds(8, 6, 16, 16));
    EXPECT_EQ(Combo->TextRect().Left, 8 + 16 + 2);
}

// The editor's two combo boxes on a white page, the first one open: the
// box frames follow hover and focus, and the drop-down's shadow lets the
// page show through. With OLVO_COMBO_SHOT set the picture is written there.
TEST_F(ComboboxTest, TheEditorsCombosOnTheirPage) {
    Main->SetColor(0xFFFFFF);
    TOrbCombobox* voice = Main->Add<TOrbCombobox>();
    voice->SetBounds(72, 279, 153, 29);
    LoadProgramComboSkin(*voice, BarRes);
    for (const char* caption : {"Mute", "Default", "Custom"}) voice->AddItem()->Caption = caption;
    voice->Setindex(0);
    Combo->Setindex(2);
    Host.MouseMove(*Main, voice->Left() + 40, voice->Top() + 10);
    const TColor32 hoverLine = Host.PixelAt(*Main, voice->Left() + 60, voice->Top());
    EXPECT_EQ(hoverLine, Color32(0x8c, 0xc3, 0xec));
    ClickBox();
    ASSERT_TRUE(Combo->DroppedDown());
    const TColor32 focusLine = Host.PixelAt(*Main, Combo->Left() + 60, Combo->Top());
    EXPECT_EQ(focusLine, Color32(0x16, 0x95, 0xe6));
    Host.MouseMove(List(), RowCentre(0).X, RowCentre(0).Y);

    TBitmap32 shot = Host.Screenshot(*Main);
    TBitmap32 list = Host.Screenshot(List());
    list.DrawMode = TDrawMode::Blend;
    const TRect at = Host.WindowOf(List())->Bounds;
    shot.Draw(at.Left - Main->Left(), at.Top - Main->Top(), list);
    // Right of the box the page shows through the shadow, a shade darker.
    const TColor32 shadow = shot.Pixel(at.Left - Main->Left(), at.Top - Main->Top() + 40);
    EXPECT_LT(RedOf(shadow), 255);
    EXPECT_GT(RedOf(shadow), 200);
    if (const char* dir = std::getenv("OLVO_COMBO_SHOT")) {
        EXPECT_TRUE(WritePngFile(shot, std::string(dir) + "/combo_editor.png"));
    }
}

}  // namespace
