// TOrbListBox on the offscreen host: layout and lazy scroll bars, item
// images and check boxes read back as pixels, clicks, selection anchors,
// the rubber band, hover bookkeeping, the wheel hand-off and the order in
// which the owner's events fire.
#include <gtest/gtest.h>

#include "platform/gui/gui_fixture.h"
#include "skin/orb_image_list.h"
#include "skin/orb_list_box.h"

namespace {

constexpr TColor32 HoverColour = Color32(0, 200, 0), SelectedColour = Color32(0, 0, 200);
constexpr TColor32 BandColour = Color32(200, 0, 200);
constexpr TColor32 CheckColours[4] = {Color32(10, 10, 10), Color32(60, 60, 60), Color32(110, 110, 110),
                                      Color32(160, 160, 160)};
constexpr int ListLeft = 10, ListTop = 10;

// A strip of solid frames of the given colours, side by side.
TPngImage Strip(int frameWidth, int height, std::initializer_list<TColor32> colours) {
    TPngImage strip(frameWidth * int(colours.size()), height);
    int x = 0;
    for (TColor32 c : colours) {
        strip.FillRect(Bounds(x, 0, frameWidth, height), c);
        x += frameWidth;
    }
    return strip;
}

class ListBoxTest : public GuiTest {
protected:
    TForm* Form = nullptr;
    TOrbScrollBarRes* BarRes = nullptr;
    TOrbListBox* List = nullptr;

    void SetUp() override {
        Form = MakeForm(300, 240);
        Form->SetColor(0xFFFFFF);
        BarRes = Form->Create<TOrbScrollBarRes>();
        BarRes->Skin.ImgBack = Strip(15, 8, {Color32(90, 90, 90), Color32(90, 90, 90)});
    }
    TOrbListBox* MakeList(int width, int height, int items, bool withBar = true) {
        List = Form->Add<TOrbListBox>();
        List->SetBounds(ListLeft, ListTop, width, height);
        if (withBar) List->SetVerScrollRes(BarRes);
        for (int i = 0; i < items; ++i) List->AddItem();
        List->UpdateView();
        Host.Settle();
        return List;
    }
    // Form coordinates of a point inside item `index` (rows of 22 + 2 below
    // a one-pixel border), `dx` from the list's left edge.
    TPoint RowPoint(int index, int dx = 100) const { return {ListLeft + dx, ListTop + 1 + index * 24 + 11}; }
    void ClickRow(int index, TShiftState shift = ssNone) {
        TPoint p = RowPoint(index);
        Host.MouseMove(*Form, p.X, p.Y);
        Host.MouseDown(*Form, p.X, p.Y, TMouseButton::Left, shift);
        Host.MouseUp(*Form, p.X, p.Y, TMouseButton::Left, shift);
    }
    // As the bar does it: the position first, then its handler.
    void ScrollTo(int position) {
        TOrbScrollBar* bar = List->VerScrollBar();
        bar->SetPosition(position);
        bar->OnScroll(bar, position);
        Host.Settle();
    }
    std::string Selection() const {
        std::string s;
        for (int i = 0; i < List->Count(); ++i) s += List->GetItem(i)->Selected ? '1' : '0';
        return s;
    }
};

// ---- layout and scroll bars ----

TEST_F(ListBoxTest, ThreeRowsInFiftyPixelsNeedABarOnlyWithAResource) {
    MakeList(120, 50, 3, false);
    EXPECT_EQ(List->ContentHeight(), 72);
    EXPECT_EQ(List->VerScrollBar(), nullptr);
    EXPECT_EQ(List->GetItem(2)->ItemRect, (TRect{2, 49, 118, 71}));

    List->SetVerScrollRes(BarRes);
    List->UpdateView();
    Host.Settle();
    TOrbScrollBar* bar = List->VerScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(bar->Max(), 72);
    EXPECT_EQ(bar->PageSize(), 50);
    EXPECT_EQ(bar->BoundsRect(), Bounds(120 - 15 - 1, 1, 15, 50));
    EXPECT_EQ(List->GetItem(0)->ItemRect.Right, 120 - 2 - 15);  // rows narrowed beside the bar
}

TEST_F(ListBoxTest, ScrolledFarOnlyTheRowsInViewAreLaidOutAndDrawn) {
    MakeList(150, 100, 1000);
    std::vector<int> drawn;
    List->OnBeforeItemDraw = [&](TBitmap32&, int index, TOrbLBoxItem*) { drawn.push_back(index); };
    ScrollTo(500 * 24 + 5);
    // Row 500 starts 5 pixels above the view; 100 pixels show rows 500..504.
    EXPECT_EQ(drawn, (std::vector<int>{500, 501, 502, 503, 504}));
    EXPECT_EQ(List->FirstLaidOut(), 500);
    EXPECT_EQ(List->GetItem(500)->ItemRect.Top, 1 - 5);
    EXPECT_EQ(List->GetItem(0)->ItemRect, NoItemRect);  // scrolled away: no stale rectangle

    // A hover change repaints the two rows it concerns.
    Host.MouseMove(*Form, ListLeft + 50, ListTop + 1 - 5 + 24 + 10);
    drawn.clear();
    Host.MouseMove(*Form, ListLeft + 50, ListTop + 1 - 5 + 24 * 2 + 10);
    EXPECT_EQ(drawn, (std::vector<int>{501, 502}));
    EXPECT_EQ(List->HoverItem(), List->GetItem(502));
}

TEST_F(ListBoxTest, InvisibleItemsTakeNoRoomAndDeletingShrinksTheRange) {
    MakeList(150, 50, 3);
    List->GetItem(1)->SetVisible(false);
    Host.Settle();
    EXPECT_EQ(List->ContentHeight(), 48);
    EXPECT_EQ(List->GetItem(1)->ItemRect, NoItemRect);
    EXPECT_EQ(List->GetItem(2)->ItemRect.Top, 25);
    EXPECT_FALSE(List->VerScrollBar()->Visible());

    List->GetItem(1)->SetVisible(true);
    for (int i = 0; i < 7; ++i) List->AddItem();
    List->UpdateView();
    Host.Settle();
    ScrollTo(190);  // the last rows in view
    while (List->Count() > 3) List->DeleteItem(List->GetItem(List->Count() - 1));
    Host.Settle();
    // The range shrank under the offset: the view follows the bar back.
    EXPECT_EQ(List->VerScrollBar()->Position(), 23);
    EXPECT_EQ(List->TopOffset(), -23);
}

TEST_F(ListBoxTest, WideCaptionsBringTheHorizontalBarAndShortenTheView) {
    MakeList(80, 100, 2);
    List->SetHorScrollRes(BarRes);
    List->GetItem(0)->SetCaption("A caption far wider than eighty pixels, surely");
    Host.Settle();
    TOrbScrollBar* bar = List->HorScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->Visible());
    EXPECT_GT(List->WidestItem(), 78);
    EXPECT_EQ(bar->Max(), List->WidestItem());
    EXPECT_EQ(bar->PageSize(), 78);
    EXPECT_EQ(List->ViewHeight(), 100 - bar->Height());

    List->GetItem(0)->SetCaption("Short");
    Host.Settle();
    EXPECT_FALSE(bar->Visible());
    EXPECT_EQ(List->LeftOffset(), 0);
}

// ---- item images and check boxes ----

TEST_F(ListBoxTest, ItemStripIsWidenedToTheRowAndSetsTheRowHeight) {
    MakeList(200, 150, 2);
    List->SetImgitem(Strip(20, 50, {HoverColour, SelectedColour}));
    List->Setitemsplit(TOrbUIPadding(5, 5, 15, 15));
    List->GetItem(1)->Selected = true;
    List->UpdateView();
    Host.Settle();
    EXPECT_EQ(List->Itemheight(), 50);
    const int row1 = ListTop + 1 + 52 + 25;
    EXPECT_EQ(Host.PixelAt(*Form, ListLeft + 2, row1), SelectedColour);
    EXPECT_EQ(Host.PixelAt(*Form, ListLeft + 197, row1), SelectedColour);  // widened to 196
    EXPECT_EQ(Host.PixelAt(*Form, ListLeft + 198, row1), Color32(255, 255, 255));

    Host.MouseMove(*Form, ListLeft + 100, ListTop + 20);
    EXPECT_EQ(Host.PixelAt(*Form, ListLeft + 150, ListTop + 20), HoverColour);
    Host.MouseLeave(*Form);
    EXPECT_EQ(List->HoverItem(), nullptr);
    EXPECT_EQ(Host.PixelAt(*Form, ListLeft + 150, ListTop + 20), Color32(255, 255, 255));
}

TEST_F(ListBoxTest, PictureComesFromTheImageListCentredInTheRow) {
    MakeList(150, 100, 2);
    auto images = std::make_unique<TOrbImageList>();
    images->Add(Strip(16, 16, {BandColour}));
    List->SetImagelist(images.get());
    List->GetItem(1)->ImageIndex = 0;
    List->GetItem(0)->ImageIndex = 1;  // beyond the last image: none
    List->UpdateView();
    Host.Settle();
    // Row 1 is 22 high at y 25: the 16-pixel picture starts 3 below, 2 in.
    EXPECT_EQ(Host.PixelAt(*Form, ListLeft + 4, ListTop + 28), BandColour);
    EXPECT_EQ(Host.PixelAt(*Form, ListLeft + 19, ListTop + 43), BandColour);
    EXPECT_EQ(Host.PixelAt(*Form, ListLeft + 20, ListTop + 28), Color32(255, 255, 255));
    EXPECT_EQ(Host.PixelAt(*Form, ListLeft + 10, ListTop + 10), Color32(255, 255, 255));

    images.reset();  // freed: the list lets go of it
    EXPECT_EQ(List->Imagelist(), nullptr);
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(*Form, ListLeft + 10, ListTop + 35), Color32(255, 255, 255));
}

TEST_F(ListBoxTest, CheckBoxNeedsFourFrames) {
    MakeList(150, 100, 2);
    List->SetShowCheckBox(true);
    int checks = 0;
    List->OnItemCheck = [&](TComponent*, TOrbLBoxItem*) { checks++; };
    const TPoint box{ListLeft + 2 + 2 + 8, ListTop + 1 + 11};  // centre of row 0's 16 x 16 box

    List->SetCheckStateCount(3);
    List->SetImgCheck(Strip(16, 16, {CheckColours[0], CheckColours[1], CheckColours[2]}));
    Host.Settle();
    EXPECT_EQ(List->GetItem(0)->CheckRect, NoItemRect);
    EXPECT_EQ(Host.PixelAt(*Form, box.X, box.Y), Color32(255, 255, 255));
    Host.Click(*Form, box.X, box.Y);
    EXPECT_FALSE(List->GetItem(0)->Checked);
    EXPECT_EQ(checks, 0);

    List->SetCheckStateCount(4);
    List->SetImgCheck(Strip(16, 16, {CheckColours[0], CheckColours[1], CheckColours[2], CheckColours[3]}));
    Host.Settle();
    EXPECT_EQ(List->GetItem(0)->CheckRect, Bounds(4, 4, 16, 16));
    EXPECT_EQ(Host.PixelAt(*Form, box.X, box.Y + 24), CheckColours[0]);
    Host.Click(*Form, box.X, box.Y);
    EXPECT_TRUE(List->GetItem(0)->Checked);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(Host.PixelAt(*Form, box.X, box.Y), CheckColours[3]);  // checked, under the mouse

    // Pressed on the box, released elsewhere: the press is dropped, and a
    // later bare release over the box does not complete it.
    Host.MouseMove(*Form, box.X, box.Y);
    Host.MouseDown(*Form, box.X, box.Y);
    Host.MouseUp(*Form, box.X + 60, box.Y);
    Host.MouseUp(*Form, box.X, box.Y);
    EXPECT_TRUE(List->GetItem(0)->Checked);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(List->CheckDownItem(), nullptr);
}

// ---- clicks, hover, wheel ----

TEST_F(ListBoxTest, ClickGoesToTheItemUnderTheReleaseAndEmptySpaceFiresAtOnce) {
    MakeList(150, 100, 3);
    TLog events;
    List->OnItemClick = [&](TComponent* sender, TOrbLBoxItem* item) {
        EXPECT_EQ(sender, List);
        events.push_back("click " + std::to_string(List->IndexOf(item)));
    };
    List->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { events.push_back("down"); };
    List->OnMouseUp = [&](TComponent*, TMouseButton, TShiftState, int, int) { events.push_back("up"); };

    Host.MouseMove(*Form, RowPoint(1).X, RowPoint(1).Y);
    Host.MouseDown(*Form, RowPoint(1).X, RowPoint(1).Y);
    Host.MouseUp(*Form, RowPoint(2).X, RowPoint(2).Y);
    EXPECT_EQ(events, (TLog{"down", "up", "click 2"}));
    EXPECT_EQ(List->DownItem(), nullptr);
    EXPECT_TRUE(Form->ActiveControl() == List);

    events.clear();
    List->GetItem(0)->Selected = true;
    Host.MouseMove(*Form, ListLeft + 50, ListTop + 90);
    Host.MouseDown(*Form, ListLeft + 50, ListTop + 90);
    EXPECT_EQ(events, (TLog{"down", "click -1"}));
    EXPECT_EQ(List->SelectedCount(), 0);
    Host.MouseUp(*Form, ListLeft + 50, ListTop + 90);
    EXPECT_EQ(events, (TLog{"down", "click -1", "up"}));

    std::vector<TOrbLBoxItem*> doubles;
    List->OnItemDbClick = [&](TComponent*, TOrbLBoxItem* item) { doubles.push_back(item); };
    Host.DoubleClick(*Form, ListLeft + 50, ListTop + 90);
    Host.DoubleClick(*Form, RowPoint(0).X, RowPoint(0).Y);
    EXPECT_EQ(doubles, (std::vector<TOrbLBoxItem*>{List->GetItem(0)}));
}

TEST_F(ListBoxTest, DeletingTheHoverItemLeavesNoHoverUntilTheNextMove) {
    MakeList(150, 100, 3);
    Host.MouseMove(*Form, RowPoint(1).X, RowPoint(1).Y);
    ASSERT_EQ(List->HoverItem(), List->GetItem(1));
    List->DeleteItem(List->GetItem(1));
    Host.Settle();
    EXPECT_EQ(List->HoverItem(), nullptr);
    EXPECT_EQ(List->Count(), 2);
    Host.MouseMove(*Form, RowPoint(1).X, RowPoint(1).Y + 1);
    EXPECT_EQ(List->HoverItem(), List->GetItem(1));  // the former third row

    TOrbLBoxItem stranger(nullptr);
    List->DeleteItem(&stranger);  // not in the list: ignored
    EXPECT_EQ(List->Count(), 2);
}

TEST_F(ListBoxTest, WheelStepsGoToTheBarAndScrollByOneRow) {
    MakeList(150, 100, 10);
    ClickRow(0);
    Host.Wheel(*Form, RowPoint(1).X, RowPoint(1).Y, -120);
    EXPECT_EQ(List->TopOffset(), -24);
    EXPECT_TRUE(Form->ActiveControl() == List->VerScrollBar());
    Host.Wheel(*Form, RowPoint(1).X, RowPoint(1).Y, -120);
    EXPECT_EQ(List->TopOffset(), -48);
    Host.Wheel(*Form, RowPoint(1).X, RowPoint(1).Y, 120);
    EXPECT_EQ(List->TopOffset(), -24);
    EXPECT_EQ(List->GetItem(1)->ItemRect.Top, 1);
}

TEST_F(ListBoxTest, TruncatedCaptionShowsAsHintAndTheListsOwnHintComesBack) {
    MakeList(80, 100, 2);
    List->Hint = "own";
    const std::string caption = "A caption far too long for a list eighty pixels wide";
    List->GetItem(0)->SetCaption(caption);
    List->GetItem(1)->SetCaption("Short");
    Host.Settle();
    Host.MouseMove(*Form, RowPoint(0, 30).X, RowPoint(0).Y);
    EXPECT_EQ(List->Hint, caption);
    Host.MouseMove(*Form, RowPoint(0, 31).X, RowPoint(0).Y);
    Host.Advance(App.HintPause + 10);
    EXPECT_EQ(Host.HintText, caption);
    Host.MouseMove(*Form, RowPoint(1, 30).X, RowPoint(1).Y);
    EXPECT_EQ(List->Hint, "own");
    EXPECT_FALSE(List->ShowHint);
}

// ---- selection ----

TEST_F(ListBoxTest, ShiftAndCtrlFollowTheAnchors) {
    MakeList(150, 160, 6);
    List->MultiSelect = true;
    ClickRow(0);
    EXPECT_EQ(Selection(), "100000");
    ClickRow(2, ssCtrl);
    ClickRow(2, ssCtrl);  // never toggled off
    EXPECT_EQ(Selection(), "101000");
    ClickRow(4, ssShift);  // second anchor: the run from the first
    EXPECT_EQ(Selection(), "111110");
    ClickRow(1, ssShift);  // both anchors set: starts over
    EXPECT_EQ(Selection(), "010000");
    ClickRow(3, ssShift);
    EXPECT_EQ(Selection(), "011100");

    List->MultiSelect = false;
    ClickRow(5, ssCtrl);
    EXPECT_EQ(Selection(), "000001");
}

TEST_F(ListBoxTest, RightPressSelectsWhileAtMostOneItemIsSelected) {
    MakeList(150, 160, 4);
    List->SupportRightSelect = true;
    Host.Click(*Form, RowPoint(2).X, RowPoint(2).Y, TMouseButton::Right);
    EXPECT_EQ(Selection(), "0010");
    List->GetItem(0)->Selected = true;
    Host.Click(*Form, RowPoint(3).X, RowPoint(3).Y, TMouseButton::Right);
    EXPECT_EQ(Selection(), "1010");
}

TEST_F(ListBoxTest, RubberBandSelectsTheRowsItCrossesAndEndsWithoutAnItem) {
    MakeList(150, 160, 6);
    List->MultiSelect = true;
    List->SetImgSelBox(Strip(4, 4, {BandColour}));
    std::vector<int> clicks;
    List->OnItemClick = [&](TComponent*, TOrbLBoxItem* item) { clicks.push_back(List->IndexOf(item)); };

    TPoint from = RowPoint(1, 20), to = RowPoint(3, 60);
    Host.MouseMove(*Form, from.X, from.Y);
    Host.MouseDown(*Form, from.X, from.Y);
    Host.MouseMove(*Form, to.X, to.Y, ssLeft);
    EXPECT_EQ(Selection(), "011100");
    EXPECT_EQ(Host.PixelAt(*Form, from.X + 20, from.Y + 20), BandColour);
    Host.MouseUp(*Form, to.X, to.Y);
    EXPECT_EQ(clicks, (std::vector<int>{-1}));
    EXPECT_EQ(List->DownItem(), nullptr);
    EXPECT_NE(Host.PixelAt(*Form, from.X + 20, from.Y + 20), BandColour);

    // A jitter of a few pixels is still a click on the row.
    clicks.clear();
    Host.MouseDown(*Form, from.X, from.Y);
    Host.MouseMove(*Form, from.X + 3, from.Y + 2, ssLeft);
    Host.MouseUp(*Form, from.X + 3, from.Y + 2);
    EXPECT_EQ(clicks, (std::vector<int>{1}));
}

// ---- events for the owner's drawing ----

TEST_F(ListBoxTest, DrawEventsComeInOrderAndOwnerDrawSkipsTheBuiltInDrawing) {
    MakeList(150, 60, 5);
    List->SetImgitem(Strip(10, 22, {HoverColour, SelectedColour}));
    List->GetItem(1)->Selected = true;
    TLog events;
    List->OnDrawBackGround = [&](TBitmap32&, const TRect& r) {
        EXPECT_EQ(r, List->ClientRect());
        events.push_back("background");
    };
    List->OnMeasureItem = [&](TOrbLBoxItem*, int index, int& height) {
        EXPECT_EQ(height, 22);
        if (index == 0) events.push_back("measure");
    };
    List->OnBeforeItemDraw = [&](TBitmap32&, int i, TOrbLBoxItem*) { events.push_back("before " + std::to_string(i)); };
    List->OnItemOwnerDraw = [&](TBitmap32&, int i, TOrbLBoxItem*, bool& defaultDraw) {
        EXPECT_TRUE(defaultDraw);
        defaultDraw = i != 1;
        events.push_back("owner " + std::to_string(i));
    };
    List->OnAfterItemDraw = [&](TBitmap32& canvas, int i, TOrbLBoxItem* item) {
        EXPECT_EQ(&canvas, &List->Buffer());
        EXPECT_EQ(item, List->GetItem(i));
        events.push_back("after " + std::to_string(i));
    };
    List->UpdateView();
    Host.Settle();
    ASSERT_GE(events.size(), 11u);
    EXPECT_EQ(TLog(events.begin(), events.begin() + 11),
              (TLog{"background", "measure", "before 0", "owner 0", "after 0", "before 1", "owner 1", "after 1",
                    "before 2", "owner 2", "after 2"}));
    EXPECT_EQ(Host.PixelAt(*Form, ListLeft + 5, RowPoint(1).Y), Color32(255, 255, 255));
}

TEST_F(ListBoxTest, ClearFreesTheBarsAndTheItems) {
    MakeList(150, 50, 5);
    ASSERT_NE(List->VerScrollBar(), nullptr);
    Host.MouseMove(*Form, RowPoint(0).X, RowPoint(0).Y);
    List->Clear();
    EXPECT_EQ(List->Count(), 0);
    EXPECT_EQ(List->VerScrollBar(), nullptr);
    EXPECT_EQ(List->HoverItem(), nullptr);
    EXPECT_EQ(List->ContentHeight(), 0);
    EXPECT_EQ(List->GetItem(0), nullptr);
    List->UpdateView();
    Host.Settle();
    Host.MouseMove(*Form, RowPoint(0).X, RowPoint(0).Y + 1);
    EXPECT_EQ(List->HoverItem(), nullptr);
}

}  // namespace
