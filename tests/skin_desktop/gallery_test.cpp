// The control gallery on a real display: the window opens, and the skinned
// list, bars and menu show on screen what they compose (a few pixels of
// each, read back from the X server).
#include "gallery/gallery_form.h"
#include "platform/desktop/desktop_fixture.h"

namespace {

int Red(uint32_t rgb) { return int(rgb >> 16) & 0xFF; }
int Green(uint32_t rgb) { return int(rgb >> 8) & 0xFF; }
int Blue(uint32_t rgb) { return int(rgb) & 0xFF; }

uint32_t PixelOf(const TControl& control, TPoint p) {
    const TPoint s = control.ClientToScreen(p);
    return ScreenPixel(s.X, s.Y);
}

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

bool IsAccentBlue(uint32_t rgb) { return Blue(rgb) > 200 && Red(rgb) < 80 && Green(rgb) > 110 && Green(rgb) < 190; }

class GalleryTest : public TDesktopTest {
protected:
    TGalleryForm* Form = nullptr;
    void SetUp() override {
        TDesktopTest::SetUp();
        Form = App->CreateForm<TGalleryForm>();
        Form->Show();
        ASSERT_TRUE(WaitShown(*Form));
        SyncX();
    }
};

TEST_F(GalleryTest, ListShowsChecksSelectionAndItsBar) {
    TOrbListBox* list = Form->List;
    TOrbLBoxItem* checked = list->GetItem(0);
    TOrbLBoxItem* selected = list->GetItem(1);
    ASSERT_TRUE(checked->Checked && selected->Selected);
    // Above the tick, inside the box.
    const TPoint inBox{Centre(checked->CheckRect).X, checked->CheckRect.Top + 3};
    EXPECT_TRUE(IsAccentBlue(PixelOf(*list, inBox))) << std::hex << PixelOf(*list, inBox);
    // An unchecked box is white inside; the selected row is tinted blue.
    EXPECT_EQ(PixelOf(*list, Centre(selected->CheckRect)), 0xFFFFFFu);
    const uint32_t tint = PixelOf(*list, {selected->ItemRect.Right - 20, Centre(selected->ItemRect).Y});
    EXPECT_GT(Blue(tint), Red(tint) + 15) << std::hex << tint;
    EXPECT_GT(Red(tint), 200);
    // 200 rows of 50 pixels need the bar; its thumb is darker than its track.
    ASSERT_NE(list->VerScrollBar(), nullptr);
    ASSERT_TRUE(list->VerScrollBar()->Visible());
    const auto bar = list->VerScrollBar()->Geometry();
    const uint32_t thumb = PixelOf(*list->VerScrollBar(), Centre(bar.Thumb));
    const uint32_t track = PixelOf(*list->VerScrollBar(), {Centre(bar.Thumb).X, bar.PageAfter.Bottom - 4});
    EXPECT_LT(Green(thumb) + 20, Green(track)) << std::hex << thumb << " " << track;
}

TEST_F(GalleryTest, MenuOpensWithItsSubmenuBesideIt) {
    Form->ShowMenuWithSubmenu(4);
    TOrbPopupMenu* menu = Form->Menu;
    ASSERT_TRUE(PumpUntil([&] {
        TForm* sub = menu->LevelWindow(1);
        return sub && sub->Visible() && Host->DrawCount(sub->Window()) > 0;
    }));
    SyncX();
    TForm* top = menu->LevelWindow(0);
    TForm* sub = menu->LevelWindow(1);
    EXPECT_GE(sub->Left(), top->Left() + top->Width() - 10);  // opens to the right
    // The hovered entry of the top level and the first entry of the submenu
    // are highlighted; an ordinary entry sits on the white body.
    TOrbMenuItem* language = menu->GetItem(4);
    EXPECT_EQ(menu->HoverItem(0), language);
    const TRect row = language->ItemRect;
    uint32_t hover = 0;
    // The highlight follows the open submenu's first paint.
    PumpUntil([&] {
        hover = ScreenPixel(top->Left() + row.Right - 30, top->Top() + Centre(row).Y);
        return Blue(hover) > Red(hover) + 10;
    }, 2000);
    EXPECT_GT(Blue(hover), Red(hover) + 10) << std::hex << hover;
    const TRect plain = menu->GetItem(0)->ItemRect;
    EXPECT_EQ(ScreenPixel(top->Left() + plain.Right - 4, top->Top() + Centre(plain).Y), 0xFFFFFFu);
    menu->CloseMenu(true);
    EXPECT_FALSE(menu->Showing());
}

}  // namespace

namespace {

TEST_F(GalleryTest, ComboBoxesEditsAndTheRichEditShow) {
    auto* period = dynamic_cast<TControl*>(Form->FindComponent("cbPeriod"));
    ASSERT_NE(period, nullptr);
    // The box's frame line is darker than the page, its inside white.
    EXPECT_LT(Green(PixelOf(*period, {period->Width() / 2, 0})), 235);
    EXPECT_EQ(PixelOf(*period, {period->Width() / 3, period->Height() / 2 - 8}), 0xFFFFFFu);
    // Twelve lines do not fit in the rich edit: its skinned bar is enabled.
    TOrbScrollBar* richBar = nullptr;
    for (int i = 0; i < Form->ControlCount(); ++i)
        if (auto* bar = dynamic_cast<TOrbScrollBar*>(Form->Controls(i)); bar && bar != Form->VerBar && bar != Form->HorBar)
            richBar = bar;
    ASSERT_NE(richBar, nullptr);
    EXPECT_TRUE(richBar->Enabled());
    EXPECT_GT(richBar->Max(), richBar->PageSize());
}

}  // namespace
