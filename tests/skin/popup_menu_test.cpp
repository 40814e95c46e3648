// The skinned popup menu on the offscreen host: placement in the work area,
// submenus on hover, radio groups, closing (second popup, click, shortcut,
// deactivation) and the order of its events, the navigation keys, scrolling
// of a level taller than the work area, and pixels of the composed levels.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/gui/gui_fixture.h"
#include "skin/orb_popup_menu.h"
#include "skin/skin_presets.h"

namespace {

constexpr TColor32 Corner = Color32(255, 0, 0);
constexpr TColor32 Centre = Color32(240, 240, 240);
constexpr TColor32 HoverFrame = Color32(0, 0, 255);
constexpr TColor32 PressedFrame = Color32(0, 160, 0);

TBitmap32 Solid(int width, int height, TColor32 color) {
    TBitmap32 b(width, height);
    b.Clear(color);
    return b;
}

// A background whose top-left corner piece is red with a transparent
// outermost pixel, and a strip of hover / pressed row frames.
TBitmap32 BackImage() {
    TBitmap32 back = Solid(28, 24, Centre);
    back.FillRect(Bounds(0, 0, 8, 8), Corner);
    back.SetPixel(0, 0, 0);
    return back;
}

TBitmap32 ItemStrip() {
    TBitmap32 strip = Solid(20, 25, HoverFrame);
    strip.FillRect(Bounds(10, 0, 10, 25), PressedFrame);
    return strip;
}

class PopupMenuTest : public GuiTest {
protected:
    TForm* Main = nullptr;
    TOrbPopupMenu* Menu = nullptr;
    TOrbMenuItem *Help = nullptr, *Disabled = nullptr, *Language = nullptr, *Exit = nullptr;
    TOrbMenuItem *English = nullptr, *Deutsch = nullptr;
    TLog Events;

    void SetUp() override {
        Main = MakeForm(300, 200);
        Menu = Main->Create<TOrbPopupMenu>();
        Menu->ItemHeight = 25;
        Menu->MinWidth = 180;
        Menu->AlphaWidth = 5;
        Menu->MarginItemX = Menu->MarginItemY = 1;
        Menu->SetImgSplit({8, 8, 20, 16});
        Menu->SetImgBack(BackImage());
        Menu->SetItemStateCount(2);
        Menu->SetImgItem(ItemStrip());
        Menu->SetImgLine(Solid(20, 3, Color32(128, 128, 128)));
        Help = Menu->AddItem("Online Help");
        Help->SetShortCut({vk::F1, ssNone});
        Menu->AddItem("-");
        Disabled = Menu->AddItem("Disabled");
        Disabled->SetEnabled(false);
        Disabled->SetShortCut({'D', ssCtrl});
        Language = Menu->AddItem("Language");
        English = Language->AddSubItem("English");
        Deutsch = Language->AddSubItem("Deutsch");
        for (TOrbMenuItem* item : {English, Deutsch}) {
            item->RadioItem = item->AutoCheck = true;
            item->OnClick = [this](TComponent* sender) {
                Events.push_back("click " + static_cast<TOrbMenuItem*>(sender)->Caption());
            };
        }
        English->SetChecked(true);
        Exit = Menu->AddItem("Exit");
        for (TOrbMenuItem* item : {Help, Disabled, Exit})
            item->OnClick = [this, item](TComponent* sender) {
                EXPECT_EQ(sender, item);
                Events.push_back("click " + item->Caption() + (Menu->Showing() ? " (showing)" : ""));
            };
        Menu->OnMenuClose = [this](TComponent*, bool normal) { Events.push_back(normal ? "close" : "close abnormal"); };
    }

    TForm& Level(int level) {
        TForm* w = Menu->LevelWindow(level);
        EXPECT_NE(w, nullptr) << "level " << level << " is not open";
        return *w;
    }
    static TPoint Mid(const TOrbMenuItem* item) {
        const TRect& r = item->ItemRect;
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void MoveTo(const TOrbMenuItem* item) {
        Host.MouseMove(Level(item->Level()), Mid(item).X, Mid(item).Y);
    }
    void ClickOn(const TOrbMenuItem* item, TMouseButton button = TMouseButton::Left) {
        Host.Click(Level(item->Level()), Mid(item).X, Mid(item).Y, button);
    }
};

TEST_F(PopupMenuTest, OpensAtThePointOrUpAndLeftNearTheWorkAreaCorner) {
    Menu->Popup(100, 120);
    TForm& top = Level(0);
    EXPECT_EQ(top.BoundsRect().Left, 100);
    EXPECT_EQ(top.BoundsRect().Top, 120);
    EXPECT_EQ(top.Width(), 180) << "MinWidth";
    EXPECT_EQ(top.Height(), 4 * 27 + 3 + 2 + 2 * 5 + 4) << "four rows, one separator, alpha edges";
    const TOffscreenWindow* w = Host.WindowOf(top);
    EXPECT_TRUE(w->Visible);
    EXPECT_EQ(w->Activation, TActivation::NoActivate);
    EXPECT_EQ(w->StayOnTop, TStayOnTop::Yes);
    EXPECT_EQ(w->Transparency, TTransparency::PerPixelAlpha);
    EXPECT_EQ(w->Owner, Main->Window());
    EXPECT_EQ(Host.ActiveForm(), Main) << "the menu never takes the focus";

    Host.WorkAreaRect = {0, 0, 1920, 1040};
    Menu->Popup(1900, 1030);
    TForm& flipped = Level(0);
    EXPECT_EQ(flipped.BoundsRect().Right, 1900);
    EXPECT_EQ(flipped.BoundsRect().Bottom, 1040);

    // Flipped to the left of a point near a narrow work area's left edge,
    // the menu still starts inside it.
    Host.WorkAreaRect = {20, 0, 150, 1040};
    Menu->Popup(100, 100);
    EXPECT_EQ(Level(0).Left(), 20);
}

TEST_F(PopupMenuTest, HoverOpensTheSubmenuAtOnceAndASiblingClosesIt) {
    std::vector<TComponent*> shown;
    Menu->OnSubMenuShow = [&](TComponent* sender) { shown.push_back(sender); };
    Menu->Popup(100, 100);
    MoveTo(Language);
    ASSERT_NE(Menu->LevelWindow(1), nullptr);
    EXPECT_EQ(shown, std::vector<TComponent*>{Language});
    TForm& sub = Level(1);
    EXPECT_EQ(sub.Left(), Level(0).BoundsRect().Right - Menu->AlphaWidth);
    EXPECT_EQ(sub.Top(), 100 + Language->ItemRect.Top);
    EXPECT_TRUE(Host.WindowOf(sub)->Visible);

    // The way into the submenu crosses the gap between rows: it stays.
    Host.MouseMove(Level(0), 2, 2);
    EXPECT_NE(Menu->LevelWindow(1), nullptr);
    MoveTo(English);
    EXPECT_EQ(Menu->HoverItem(1), English);

    TForm* oldSub = &sub;
    MoveTo(Exit);
    EXPECT_EQ(Menu->LevelWindow(1), nullptr);
    EXPECT_FALSE(App.IsForm(oldSub)) << "the submenu's window is freed";
    EXPECT_EQ(Menu->HoverItem(0), Exit);
}

TEST_F(PopupMenuTest, SubmenuOpensToTheLeftAtTheWorkAreaEdge) {
    Host.WorkAreaRect = {0, 0, 500, 1040};
    Menu->Popup(250, 100);
    MoveTo(Language);
    EXPECT_EQ(Level(1).Left(), 250 + Menu->AlphaWidth - Level(1).Width());
}

TEST_F(PopupMenuTest, ClickingARadioItemChecksItAndUnchecksItsGroup) {
    TOrbMenuItem* other = Language->AddSubItem("Other group");
    other->RadioItem = true;
    other->GroupIndex = 1;
    other->SetChecked(true);
    Menu->Popup(100, 100);
    MoveTo(Language);
    ClickOn(Deutsch);
    EXPECT_TRUE(Deutsch->Checked());
    EXPECT_FALSE(English->Checked());
    EXPECT_TRUE(other->Checked()) << "another group is left alone";
    EXPECT_EQ(Events, (TLog{"close", "click Deutsch"}));

    // AutoCheck: the checked language clicked again unchecks itself.
    Menu->Popup(100, 100);
    MoveTo(Language);
    ClickOn(Deutsch);
    EXPECT_FALSE(Deutsch->Checked());
}

TEST_F(PopupMenuTest, ClickClosesTheMenuBeforeOnClickRuns) {
    Menu->Popup(100, 100);
    TForm* top = &Level(0);
    ClickOn(Language);
    EXPECT_TRUE(Menu->Showing()) << "an item with a submenu is never clicked";
    ClickOn(Exit);
    EXPECT_EQ(Events, (TLog{"close", "click Exit"}));
    EXPECT_FALSE(Menu->Showing());
    EXPECT_FALSE(App.IsForm(top));

    // Pressed on one row and released over another: no click.
    Events.clear();
    Menu->Popup(100, 100);
    Host.MouseDown(Level(0), Mid(Help).X, Mid(Help).Y);
    Host.MouseUp(Level(0), Mid(Exit).X, Mid(Exit).Y);
    EXPECT_TRUE(Events.empty());
}

TEST_F(PopupMenuTest, SecondPopupClosesTheFirstAbnormallyBeforeShowing) {
    Menu->OnPopup = [this](TComponent*) { Events.push_back("popup"); };
    Menu->Popup(100, 100);
    TForm* first = &Level(0);
    Menu->Popup(400, 300);
    EXPECT_EQ(Events, (TLog{"popup", "close abnormal", "popup"}));
    Host.Settle();
    EXPECT_FALSE(App.IsForm(first));
    EXPECT_EQ(Level(0).Left(), 400);

    bool allow = false;
    Menu->OnBeforPopup = [&](TComponent*, bool& canShow) { canShow = allow; };
    Menu->CloseMenu(true);
    Menu->Popup(100, 100);
    EXPECT_FALSE(Menu->Showing()) << "OnBeforPopup said no";
}

TEST_F(PopupMenuTest, ShortCutsRunOnlyForReachableItemsWithTheExactShiftState) {
    EXPECT_FALSE(Menu->HandleShortCut(ssCtrl, 'D')) << "disabled";
    EXPECT_FALSE(Menu->HandleShortCut(ssShift, vk::F1)) << "other shift state";
    EXPECT_TRUE(Events.empty());
    EXPECT_TRUE(Menu->HandleShortCut(ssLeft, vk::F1)) << "mouse buttons are no shift state";
    EXPECT_EQ(Events, TLog{"click Online Help"});

    // Under a disabled submenu entry a shortcut is out of reach too.
    English->SetShortCut({'E', ssCtrl});
    Language->SetEnabled(false);
    EXPECT_FALSE(Menu->HandleShortCut(ssCtrl, 'E'));

    // The owner's key hook sees the keys a showing menu does not take.
    App.OnKeyHook = [this](TForm*, int key, TShiftState shift) {
        Menu->HandleShortCut(shift, key);
        return TKeyHookResult::Pass;
    };
    Events.clear();
    Menu->Popup(100, 100);
    Host.KeyDown(*Main, vk::F1);
    EXPECT_EQ(Events, (TLog{"close", "click Online Help"}));
}

TEST_F(PopupMenuTest, ArrowKeysMoveOverUsableRowsAndOpenAndCloseSubmenus) {
    int passed = 0;
    App.OnKeyHook = [&](TForm*, int, TShiftState) {
        passed++;
        return TKeyHookResult::Pass;
    };
    Menu->Popup(100, 100);
    Host.KeyDown(*Main, vk::Down);
    EXPECT_EQ(Menu->HoverItem(0), Help);
    Host.KeyDown(*Main, vk::Down);
    EXPECT_EQ(Menu->HoverItem(0), Language) << "separator and disabled item are skipped";
    EXPECT_EQ(Menu->LevelWindow(1), nullptr) << "the keys open a submenu only with Right";
    Host.KeyDown(*Main, vk::Down);
    Host.KeyDown(*Main, vk::Down);
    EXPECT_EQ(Menu->HoverItem(0), Help) << "wraps";
    Host.KeyDown(*Main, vk::Up);
    EXPECT_EQ(Menu->HoverItem(0), Exit) << "wraps back";
    Host.KeyDown(*Main, vk::Up);
    Host.KeyDown(*Main, vk::Right);
    ASSERT_NE(Menu->LevelWindow(1), nullptr);
    EXPECT_EQ(Menu->HoverItem(1), English);
    Host.KeyDown(*Main, vk::Down);
    EXPECT_EQ(Menu->HoverItem(1), Deutsch);
    Host.KeyDown(*Main, vk::Left);
    EXPECT_EQ(Menu->LevelWindow(1), nullptr);
    EXPECT_EQ(Menu->HoverItem(0), Language);
    EXPECT_EQ(passed, 0) << "navigation keys are the menu's";
    Host.KeyDown(*Main, 'X');
    EXPECT_EQ(passed, 1) << "other keys reach the hook that was there";

    Host.KeyDown(*Main, vk::Down);
    Host.KeyDown(*Main, vk::Return);
    EXPECT_EQ(Events, (TLog{"close", "click Exit"}));
    Host.KeyDown(*Main, vk::Down);
    EXPECT_EQ(passed, 2) << "closed, the previous hook is back";

    Events.clear();
    Menu->Popup(100, 100);
    Host.KeyDown(*Main, vk::Escape);
    EXPECT_EQ(Events, TLog{"close"});
}

TEST_F(PopupMenuTest, LosingActivationClosesTheMenuNormally) {
    int appDeactivations = 0;
    App.OnDeactivate = [&](TComponent*) { appDeactivations++; };
    Menu->Popup(100, 100);
    Host.DeactivateApplication();
    EXPECT_EQ(Events, TLog{"close"});
    EXPECT_EQ(appDeactivations, 1) << "the handler it replaced still runs";

    // A click on another window of the program moves the focus there.
    Host.ActivateForm(*Main);
    TForm* other = MakeForm();
    Host.ActivateForm(*Main);
    Events.clear();
    Menu->Popup(100, 100);
    Host.ActivateForm(*other);
    EXPECT_EQ(Events, TLog{"close"});
    Host.DeactivateApplication();
    EXPECT_EQ(appDeactivations, 2) << "restored after the close";

    // After a right-click handed to the owner the menu stays.
    std::vector<TOrbMenuItem*> rightClicked;
    Menu->OnMenuItemRightClick = [&](TComponent* sender, TOrbMenuItem* item) {
        EXPECT_EQ(sender, Menu);
        rightClicked.push_back(item);
    };
    Host.ActivateForm(*Main);
    Menu->Popup(100, 100);
    ClickOn(Exit, TMouseButton::Right);
    EXPECT_EQ(rightClicked, std::vector<TOrbMenuItem*>{Exit});
    Host.ActivateForm(*other);
    EXPECT_TRUE(Menu->Showing());
}

TEST_F(PopupMenuTest, ComposedImageShowsTheBackgroundPiecesAndTheHoverRow) {
    Menu->Popup(100, 100);
    const TBitmap32& image = Menu->LevelImage(0);
    EXPECT_EQ(AlphaOf(image.Pixel(0, 0)), 0) << "per-pixel alpha of the skin";
    EXPECT_EQ(image.Pixel(3, 3), Corner);
    EXPECT_EQ(image.Pixel(90, 2), Centre) << "top edge repeated";
    const TRect& exitRow = Exit->ItemRect;
    EXPECT_EQ(Host.PixelAt(Level(0), exitRow.Right - 3, exitRow.Top + 3), Centre);

    MoveTo(Exit);
    EXPECT_EQ(Host.PixelAt(Level(0), exitRow.Right - 3, exitRow.Top + 3), HoverFrame);
    EXPECT_EQ(Host.PixelAt(Level(0), exitRow.Left, exitRow.Top), HoverFrame);
    Host.MouseDown(Level(0), Mid(Exit).X, Mid(Exit).Y);
    EXPECT_EQ(Host.PixelAt(Level(0), exitRow.Right - 3, exitRow.Top + 3), PressedFrame);
    Host.MouseMove(Level(0), Mid(Help).X, Mid(Help).Y);
    EXPECT_EQ(Host.PixelAt(Level(0), exitRow.Right - 3, exitRow.Top + 3), Centre);
}

TEST_F(PopupMenuTest, ChangesWhileShowingRepaintTheirLevel) {
    Menu->Popup(100, 100);
    MoveTo(Exit);
    const TRect row = Exit->ItemRect;
    Exit->SetEnabled(false);
    Host.Settle();
    EXPECT_EQ(Menu->HoverItem(0), nullptr) << "a disabled row loses the highlight";
    EXPECT_EQ(Host.PixelAt(Level(0), row.Right - 3, row.Top + 3), Centre);
    const int height = Level(0).Height();
    Help->SetVisible(false);
    EXPECT_EQ(Level(0).Height(), height - 27);
    Menu->Clear();
    EXPECT_FALSE(Menu->Showing());
    EXPECT_EQ(Menu->Count(), 0);
    EXPECT_FALSE(Menu->HandleShortCut(ssNone, vk::F1));
}

TEST_F(PopupMenuTest, ALevelTallerThanTheWorkAreaScrollsWithRepeat) {
    Menu->Clear();
    for (int i = 0; i < 20; ++i) Menu->AddItem("Row " + std::to_string(i));
    Menu->SetImgBtnUpDown(Solid(60, 8, Color32(10, 10, 10)));
    Host.WorkAreaRect = {0, 0, 800, 200};
    Menu->Popup(100, 0);
    TForm& level = Level(0);
    EXPECT_EQ(level.Height(), 196);
    TOrbMenuItem* first = Menu->GetItem(0);
    EXPECT_GE(first->ItemRect.Left, 0);
    const int downX = level.Width() / 2, downY = level.Height() - 5 - 2 - 4;
    Host.MouseMove(level, downX, downY);
    Host.MouseDown(level, downX, downY);
    EXPECT_LT(first->ItemRect.Left, 0) << "one row at once";
    TOrbMenuItem* second = Menu->GetItem(1);
    EXPECT_GE(second->ItemRect.Left, 0);
    Host.Advance(Host.KeyDelayMs - 1);
    EXPECT_GE(second->ItemRect.Left, 0);
    Host.Advance(1);
    EXPECT_LT(second->ItemRect.Left, 0) << "again after the key delay";
    Host.Advance(Host.KeyIntervalMs);
    EXPECT_LT(Menu->GetItem(2)->ItemRect.Left, 0) << "then every interval";
    Host.MouseUp(level, downX, downY);
    Host.Advance(1000);
    EXPECT_GE(Menu->GetItem(3)->ItemRect.Left, 0) << "the repeat stops at the release";
    Host.Wheel(level, 50, 50, 120);
    EXPECT_GE(Menu->GetItem(2)->ItemRect.Left, 0);

    Host.KeyDown(*Main, vk::Up);
    EXPECT_EQ(Menu->HoverItem(0), Menu->GetItem(19));
    EXPECT_GE(Menu->GetItem(19)->ItemRect.Left, 0) << "the highlighted row is scrolled into view";
}

TEST_F(PopupMenuTest, AScrollingLevelNeverGrowsPastTheWorkArea) {
    Menu->Clear();
    for (int i = 0; i < 20; ++i) Menu->AddItem("Row " + std::to_string(i));
    Menu->SetImgBtnUpDown(Solid(60, 16, Color32(10, 10, 10)));  // two buttons taller than the 20-pixel slack
    Host.WorkAreaRect = {0, 0, 800, 200};
    Menu->Popup(100, 0);
    EXPECT_EQ(Level(0).Height(), 200);
    EXPECT_EQ(Level(0).Top(), 0);
}

TEST_F(PopupMenuTest, TreeKeepsToThreeLevelsAndInsertIgnoresIndicesPastTheEnd) {
    TOrbMenuItem* third = English->AddSubItem("Third level");
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->Level(), 2);
    EXPECT_EQ(third->Menu(), Menu);
    EXPECT_EQ(third->AddSubItem("Fourth"), nullptr);
    EXPECT_EQ(Menu->InsertItem(Menu->Count() + 1, std::make_unique<TOrbMenuItem>("late")), nullptr);
    TOrbMenuItem* atEnd = Menu->InsertItem(Menu->Count(), std::make_unique<TOrbMenuItem>("end"));
    EXPECT_EQ(Menu->GetItem(Menu->Count() - 1), atEnd);
    TOrbMenuItem* first = Menu->InsertItem(0, std::make_unique<TOrbMenuItem>("first"));
    EXPECT_EQ(Menu->GetItem(0), first);

    int lastShown = 0;
    Menu->OnLastMenuShow = [&](TComponent* sender) {
        EXPECT_EQ(sender, Menu);
        lastShown++;
    };
    Menu->Popup(100, 100);
    MoveTo(Language);
    MoveTo(English);
    EXPECT_NE(Menu->LevelWindow(2), nullptr);
    EXPECT_EQ(lastShown, 1);
}

TEST(ShortCutText, NamesModifiersAndKeys) {
    EXPECT_EQ(ShortCutToText({vk::F1, ssNone}), "F1");
    EXPECT_EQ(ShortCutToText({'S', ssCtrl | ssShift}), "Shift+Ctrl+S");
    EXPECT_EQ(ShortCutToText({vk::Delete, ssAlt}), "Alt+Del");
    EXPECT_EQ(ShortCutToText({}), "");
}

}  // namespace

// With the program's skin an entry that cannot be chosen is drawn in grey,
// lighter than the darkest ink of an entry that can.
TEST_F(PopupMenuTest, TheProgramsSkinGreysEntriesThatCannotBeChosen) {
    LoadProgramMenuSkin(*Menu);
    Menu->Popup(100, 100);
    const TBitmap32& image = Menu->LevelImage(0);
    auto darkest = [&](const TOrbMenuItem* item) {
        int least = 255 * 3;
        const TRect& r = item->ItemRect;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const TColor32 p = image.Pixel(x, y);
                least = std::min(least, int(RedOf(p)) + GreenOf(p) + BlueOf(p));
            }
        return least;
    };
    EXPECT_LT(darkest(Exit), 3 * 100) << "enabled text is dark";
    EXPECT_GE(darkest(Disabled), 3 * 140) << "disabled text is grey";
}

// A press in another window of the program closes the menu although the
// application stays active; a press inside the menu does not.
TEST_F(PopupMenuTest, APressInAnotherWindowOfTheProgramClosesTheMenu) {
    Host.ActivateForm(*Main);
    Menu->Popup(100, 100);
    Host.MouseDown(Level(0), 2, 2);
    EXPECT_TRUE(Menu->Showing()) << "a press on the menu's own frame";
    Host.MouseUp(Level(0), 2, 2);
    Host.MouseDown(*Main, 10, 10);
    EXPECT_FALSE(Menu->Showing());
    EXPECT_EQ(Events.back(), "close");
}
