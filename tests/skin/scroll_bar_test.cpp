// TOrbScrollBar on the offscreen host: range clamping, the geometry shared
// by drawing and hit test, thumb dragging, auto-repeat on the virtual clock,
// the wheel, focus, the shared resource, and the frames drawn per state
// from strips of known colours.
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/gui/gui_fixture.h"
#include "skin/orb_scroll_bar.h"

namespace {
using TPart = TOrbScrollBar::TPart;

// State colours: frame k of every strip is its base colour with k in green.
TColor32 StateColour(uint8_t base, int state) { return Color32(base, uint8_t(40 * state + 10), 0); }
constexpr uint8_t LtBase = 200, RbBase = 150, BackBase = 100, SliderBase = 50, GripBase = 250;
constexpr TColor32 SliderHead = Color32(1, 2, 3), SliderTail = Color32(4, 5, 6);

// A strip of `count` solid frames, `along` pixels along the bar and `cross`
// across it; frames side by side (SmHor) or stacked (SmVer).
TPngImage Strip(int along, int cross, int count, uint8_t base, TSplitMode mode, bool vertical) {
    const int w = vertical ? cross : along, h = vertical ? along : cross;
    TPngImage strip(mode == SmHor ? w * count : w, mode == SmHor ? h : h * count);
    for (int k = 0; k < count; ++k) {
        const TRect frame = mode == SmHor ? Bounds(k * w, 0, w, h) : Bounds(0, k * h, w, h);
        strip.FillRect(frame, StateColour(base, k));
        if (base != SliderBase) continue;
        // The slider's fixed ends (cut at 3 and 7 of 10) get their own colours.
        const TRect head = vertical ? Bounds(frame.Left, frame.Top, w, 3) : Bounds(frame.Left, frame.Top, 3, h);
        const TRect tail = vertical ? Bounds(frame.Left, frame.Top + 7, w, 3) : Bounds(frame.Left + 7, frame.Top, 3, h);
        strip.FillRect(head, SliderHead);
        strip.FillRect(tail, SliderTail);
    }
    return strip;
}

// Buttons 20 long, track frames 8, slider 10 (ends 3 + 3), grip 4 x 5.
TOrbScrollBarSkin TestSkin(TSplitMode mode = SmHor, bool vertical = true) {
    TOrbScrollBarSkin skin;
    skin.SplitMode = mode;
    skin.ImgBtnLT = Strip(20, 15, 4, LtBase, mode, vertical);
    skin.ImgBtnRB = Strip(20, 15, 4, RbBase, mode, vertical);
    skin.ImgBack = Strip(8, 15, 2, BackBase, mode, vertical);
    skin.ImgSlider = Strip(10, 15, 4, SliderBase, mode, vertical);
    skin.ImgCenter = Strip(4, 5, 4, GripBase, mode, vertical);
    skin.SliderSplit = vertical ? TOrbUIPadding(0, 3, 0, 7) : TOrbUIPadding(3, 0, 7, 0);
    return skin;
}

class ScrollBarTest : public GuiTest {
protected:
    TForm* Form = nullptr;
    TOrbScrollBar* Bar = nullptr;
    std::vector<int> Scrolls;

    // A vertical bar at (10, 10), 15 x 200: buttons 0..20 and 180..200,
    // track 20..180. Max 99 and PageSize 20 give a 32-pixel thumb that
    // moves 1.6 pixels per position, 20 + round(1.6 * position).
    void SetUp() override {
        Form = MakeForm(240, 240);
        Bar = Form->Add<TOrbScrollBar>();
        Bar->Skin = TestSkin();
        Bar->SkinChanged();
        Bar->SetBounds(10, 10, 15, 200);
        Bar->SetParams(0, 99, 20, 0);
        Bar->OnScroll = [this](TComponent*, int& pos) { Scrolls.push_back(pos); };
        Host.Settle();
    }
    // Form coordinates of a point in the bar.
    int X(int x = 2) const { return 10 + x; }
    int Y(int y) const { return 10 + y; }
    TColor32 BarPixel(int x, int y) const { return Host.PixelAt(*Form, X(x), Y(y)); }
};

TEST_F(ScrollBarTest, RangeSettersKeepTheInvariants) {
    Bar->SetParams(0, 100, 10, 0);
    Bar->SetPosition(500);
    EXPECT_EQ(Bar->Position(), 91);
    Bar->SetPosition(-4);
    EXPECT_EQ(Bar->Position(), 0);

    Bar->SetPageSize(500);
    EXPECT_EQ(Bar->PageSize(), 101);
    EXPECT_EQ(Bar->Position(), 0);
    Bar->SetPageSize(30);
    Bar->SetPageSize(-5);
    EXPECT_EQ(Bar->PageSize(), 30);

    Bar->SetPosition(71);
    Bar->SetMax(50);  // the page and the position shrink with the range
    EXPECT_EQ(Bar->Max(), 50);
    EXPECT_EQ(Bar->Position(), 21);
    Bar->SetMin(80);  // Max follows a Min above it
    EXPECT_EQ(Bar->Max(), 80);
    EXPECT_EQ(Bar->PageSize(), 1);
    EXPECT_EQ(Bar->Position(), 80);
    Bar->SetMax(-10);  // Min follows a Max below it
    EXPECT_EQ(Bar->Min(), -10);
    EXPECT_EQ(Bar->Position(), -10);
}

TEST_F(ScrollBarTest, GeometryOfAVerticalBar) {
    Bar->SetPosition(50);
    TOrbScrollBar::TGeometry g = Bar->Geometry();
    EXPECT_EQ(g.BtnLT, (TRect{0, 0, 15, 20}));
    EXPECT_EQ(g.BtnRB, (TRect{0, 180, 15, 200}));
    EXPECT_EQ(g.Track, (TRect{0, 20, 15, 180}));
    EXPECT_EQ(g.Thumb, (TRect{0, 100, 15, 132}));
    EXPECT_EQ(g.PageBefore, (TRect{0, 20, 15, 100}));
    EXPECT_EQ(g.PageAfter, (TRect{0, 132, 15, 180}));
    EXPECT_EQ(Bar->PartAt({5, 99}), TPart::PageBefore);
    EXPECT_EQ(Bar->PartAt({5, 100}), TPart::Thumb);
    EXPECT_EQ(Bar->PartAt({5, 199}), TPart::BtnRB);

    Bar->Skin.BtnoffSet = 4;
    EXPECT_EQ(Bar->Geometry().Track, (TRect{0, 16, 15, 184}));
    Bar->Skin.JoinButton = true;
    g = Bar->Geometry();
    EXPECT_EQ(g.BtnLT, (TRect{0, 160, 15, 180}));
    EXPECT_EQ(g.Track, (TRect{0, 0, 15, 164}));
    Bar->Skin.ShowButton = false;
    g = Bar->Geometry();
    EXPECT_TRUE(g.BtnLT.IsEmpty() && g.BtnRB.IsEmpty());
    EXPECT_EQ(g.Track, (TRect{0, 0, 15, 200}));
}

TEST_F(ScrollBarTest, ThumbLengthFollowsPageAndSystemSize) {
    auto thumb = [this] { return Bar->Geometry().Thumb.Height(); };
    Bar->SetPageSize(1);
    EXPECT_EQ(thumb(), 17 * 3 / 2);  // 1.6 pixels would be too small to grab
    Host.ThumbSize = 30;
    EXPECT_EQ(thumb(), 45);
    Bar->SetPageSize(0);
    EXPECT_EQ(thumb(), 30);
    Bar->SetPageSize(100);  // the whole range: nothing to scroll
    EXPECT_EQ(thumb(), 0);
    EXPECT_TRUE(Bar->Geometry().PageAfter.IsEmpty());
}

TEST_F(ScrollBarTest, CoordinatesMapToPositions) {
    const int cases[][2] = {{20, 0}, {84, 40}, {85, 41}, {148, 80}, {400, 80}, {-5, 0}};
    for (auto [coordinate, position] : cases)
        EXPECT_EQ(Bar->PositionFromCoordinate(coordinate), position) << coordinate;
    Bar->SetParams(10, 109, 20, 10);  // the same range shifted by Min
    EXPECT_EQ(Bar->PositionFromCoordinate(84), 50);
}

TEST_F(ScrollBarTest, HorizontalBarLaysOutAlongX) {
    Bar->SetKind(skHor);
    Bar->Skin = TestSkin(SmHor, false);
    Bar->SkinChanged();
    Bar->SetBounds(10, 10, 200, 15);
    Bar->SetPosition(50);
    const TOrbScrollBar::TGeometry g = Bar->Geometry();
    EXPECT_EQ(g.BtnRB, (TRect{180, 0, 200, 15}));
    EXPECT_EQ(g.Thumb, (TRect{100, 0, 132, 15}));
    EXPECT_EQ(g.PageAfter, (TRect{132, 0, 180, 15}));
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(*Form, 10 + 100, 12), SliderHead);
    EXPECT_EQ(Host.PixelAt(*Form, 10 + 131, 12), SliderTail);
}

TEST_F(ScrollBarTest, DraggingTheThumbKeepsTheGrabOffset) {
    Host.MouseDown(*Form, X(), Y(25));  // 5 pixels into the thumb
    Host.MouseMove(*Form, X(), Y(89), ssLeft);
    EXPECT_EQ(Bar->Position(), 40);
    EXPECT_EQ(Bar->Geometry().Thumb.Top, 84);
    Host.MouseMove(*Form, X(), Y(230), ssLeft);  // past the track: clamped
    EXPECT_EQ(Bar->Position(), 80);
    Host.MouseMove(*Form, X(), Y(35), ssLeft);
    EXPECT_EQ(Bar->Position(), 6);
    Host.MouseUp(*Form, X(), Y(35));
    EXPECT_EQ(Scrolls, (std::vector<int>{40, 80, 6, 6}));  // the release reports again
    EXPECT_FALSE(Bar->PartPressed(TPart::Thumb));
}

TEST_F(ScrollBarTest, HeldButtonRepeatsAtKeyboardTiming) {
    Host.MouseDown(*Form, X(), Y(190));
    EXPECT_EQ(Bar->Position(), 1);  // at once
    Host.Advance(Host.KeyDelayMs - 1);
    EXPECT_EQ(Bar->Position(), 1);
    Host.Advance(1);
    EXPECT_EQ(Bar->Position(), 2);  // after the delay
    Host.Advance(Host.KeyIntervalMs);
    EXPECT_EQ(Bar->Position(), 3);
    Host.Advance(Host.KeyIntervalMs * 3);
    EXPECT_EQ(Bar->Position(), 6);
    Host.MouseUp(*Form, X(), Y(190));
    Host.Advance(1000);
    EXPECT_EQ(Bar->Position(), 6);

    Scrolls.clear();
    Host.MouseDown(*Form, X(), Y(5));  // LT steps back
    EXPECT_EQ(Bar->Position(), 5);
    Host.MouseMove(*Form, 150, 100, ssLeft);  // off the bar: it stops
    EXPECT_FALSE(Bar->PartHovered(TPart::BtnLT));
    Host.Advance(1000);
    EXPECT_EQ(Bar->Position(), 5);
    EXPECT_TRUE(Bar->PartPressed(TPart::BtnLT));
    Host.MouseUp(*Form, 150, 100);
    EXPECT_EQ(Scrolls, (std::vector<int>{5, 5}));
}

TEST_F(ScrollBarTest, FailingTickStopsTheRepeat) {
    int calls = 0;
    Bar->OnScroll = [&](TComponent*, int&) {
        if (++calls == 2) throw std::runtime_error("handler failed");
    };
    Host.MouseDown(*Form, X(), Y(190));
    Host.Advance(Host.KeyDelayMs + Host.KeyIntervalMs * 5);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(Bar->Position(), 1);
}

TEST_F(ScrollBarTest, PageAreaRepeatsUntilTheThumbReachesThePoint) {
    Host.MouseDown(*Form, X(), Y(140));
    EXPECT_EQ(Bar->Position(), 20);
    Host.Advance(Host.KeyDelayMs);
    EXPECT_EQ(Bar->Position(), 40);
    Host.Advance(Host.KeyIntervalMs);
    EXPECT_EQ(Bar->Position(), 60);  // the thumb, 116..148, now covers the point
    Host.Advance(Host.KeyIntervalMs * 5);
    EXPECT_EQ(Bar->Position(), 60);
    Host.MouseUp(*Form, X(), Y(140));

    Bar->SetPageSize(0);  // without a page, LargeChange steps
    Bar->LargeChange = 7;
    Host.MouseDown(*Form, X(), Y(21));
    Host.MouseUp(*Form, X(), Y(21));
    EXPECT_EQ(Bar->Position(), 53);
}

TEST_F(ScrollBarTest, OnScrollMayChangeThePosition) {
    Bar->OnScroll = [](TComponent*, int& pos) { pos = std::min(pos, 10); };
    Host.MouseDown(*Form, X(), Y(140));
    EXPECT_EQ(Bar->Position(), 10);
    Host.MouseUp(*Form, X(), Y(140));
    Bar->OnScroll = [](TComponent*, int& pos) { pos = 7; };
    Host.MouseDown(*Form, X(), Y(190));
    EXPECT_EQ(Bar->Position(), 7);
    Bar->SetFocus();
    Host.Wheel(*Form, X(), Y(100), -120);
    EXPECT_EQ(Bar->Position(), 7);
}

TEST_F(ScrollBarTest, WheelStepsOnlyWhileFocused) {
    Bar->SmallChange = 5;
    Bar->SetPosition(3);
    Host.Wheel(*Form, X(), Y(100), 120);
    EXPECT_EQ(Bar->Position(), 3);  // not focused
    Bar->SetFocus();
    Host.Wheel(*Form, X(), Y(100), 120);
    EXPECT_EQ(Bar->Position(), 0);
    Bar->SetPosition(78);
    Host.Wheel(*Form, X(), Y(100), -120);
    EXPECT_EQ(Bar->Position(), 80);
    Bar->SetParams(2, 101, 20, 4);  // up stops at Min, not at 0
    Host.Wheel(*Form, X(), Y(100), 120);
    EXPECT_EQ(Bar->Position(), 2);
    EXPECT_EQ(Scrolls, (std::vector<int>{0, 80, 2}));
}

TEST_F(ScrollBarTest, PressFocusesAndLosingFocusIsReported) {
    TProbe* other = AddProbe(Form, "Other", {100, 10, 150, 60});
    other->TabStop = true;
    int lost = 0;
    Bar->OnLostFocus = [&](TComponent*) { lost++; };
    Host.Click(*Form, X(), Y(100));
    EXPECT_TRUE(Bar->Focused());
    other->SetFocus();
    EXPECT_EQ(lost, 1);
}

TEST_F(ScrollBarTest, ResourceIsCopiedAndDroppedWhenFreed) {
    auto res = std::make_unique<TOrbScrollBarRes>();
    res->Skin = TestSkin();
    res->Skin.ImgBack = Strip(8, 13, 2, BackBase, SmHor, true);
    Bar->SetScrollRes(res.get());
    EXPECT_EQ(Bar->Width(), 13);  // the track frame decides the width
    EXPECT_EQ(Bar->Skin.ImgBack.Width(), 26);
    res.reset();
    EXPECT_EQ(Bar->ScrollRes(), nullptr);
    Host.Settle();
    EXPECT_EQ(BarPixel(2, 100), StateColour(BackBase, 0));
}

// The same strips side by side and stacked must draw the same.
class ScrollBarFrames : public ScrollBarTest, public testing::WithParamInterface<TSplitMode> {
protected:
    void SetUp() override {
        ScrollBarTest::SetUp();
        Bar->Skin = TestSkin(GetParam());
        Bar->SkinChanged();
        Host.Settle();
    }
};

TEST_P(ScrollBarFrames, EachStateDrawsItsFrame) {
    EXPECT_EQ(BarPixel(2, 5), StateColour(LtBase, 0));
    EXPECT_EQ(BarPixel(2, 195), StateColour(RbBase, 0));
    EXPECT_EQ(BarPixel(2, 100), StateColour(BackBase, 0));
    // The thumb, 20..52, stretched: fixed ends, repeated middle, grip centred.
    EXPECT_EQ(BarPixel(2, 22), SliderHead);
    EXPECT_EQ(BarPixel(2, 40), StateColour(SliderBase, 0));
    EXPECT_EQ(BarPixel(2, 49), SliderTail);
    EXPECT_EQ(BarPixel(7, 36), StateColour(GripBase, 0));

    Host.MouseMove(*Form, X(), Y(195));
    EXPECT_EQ(BarPixel(2, 195), StateColour(RbBase, 1));
    Host.MouseMove(*Form, X(), Y(40));
    EXPECT_EQ(BarPixel(2, 195), StateColour(RbBase, 0));
    EXPECT_EQ(BarPixel(2, 40), StateColour(SliderBase, 1));
    Host.MouseDown(*Form, X(), Y(40));
    EXPECT_EQ(BarPixel(2, 40), StateColour(SliderBase, 2));
    EXPECT_EQ(BarPixel(7, 36), StateColour(GripBase, 2));
    Host.MouseUp(*Form, X(), Y(40));
    Host.MouseMove(*Form, 150, 150);  // leaving clears the hover
    EXPECT_EQ(BarPixel(2, 40), StateColour(SliderBase, 0));

    Bar->SetEnabled(false);
    Host.Settle();
    EXPECT_EQ(BarPixel(2, 5), StateColour(LtBase, 3));
    EXPECT_EQ(BarPixel(2, 100), StateColour(BackBase, 1));
    EXPECT_EQ(BarPixel(2, 40), StateColour(SliderBase, 3));
}

INSTANTIATE_TEST_SUITE_P(SplitModes, ScrollBarFrames, testing::Values(SmHor, SmVer));
}  // namespace
