// TOrbButton and the shared push behaviour on the offscreen host: the frame
// drawn per state, clicks on release, the hover fade on the virtual clock,
// glyph and caption placement, the cut-caption hint, image-list glyphs and
// tab-button groups.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/gui/gui_fixture.h"
#include "skin/orb_button.h"
#include "skin/orb_image_list.h"

namespace {

constexpr TColor32 Background = Color32(255, 0, 0);  // the button's Color 0x0000FF
TColor32 FrameColour(int k) { return Color32(uint8_t(40 * k + 20), 100, 60); }

TPngImage Strip(int frameWidth, int height, int count) {
    TPngImage strip(frameWidth * count, height);
    for (int k = 0; k < count; ++k) strip.FillRect(Bounds(k * frameWidth, 0, frameWidth, height), FrameColour(k));
    return strip;
}

TPngImage Solid(int w, int h, TColor32 colour) {
    TPngImage image(w, h);
    image.Clear(colour);
    return image;
}

bool Near(TColor32 a, TColor32 b, int tolerance = 1) {
    return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
           std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

class ButtonTest : public GuiTest {
protected:
    TForm* Form = nullptr;
    TOrbButton* Btn = nullptr;
    int Clicks = 0;

    void SetUp() override {
        Form = MakeForm(320, 200);
        Form->SetColor(0xFFFFFF);
        Btn = AddButton(10, 10);
    }
    TOrbButton* AddButton(int x, int y) {
        auto* b = Form->Add<TOrbButton>();
        b->SetAutoSize(false);
        b->SetBounds(x, y, 100, 40);
        b->OnClick = [this](TComponent*) { Clicks++; };
        return b;
    }
    TColor32 At(const TOrbButton* b, int x, int y) {
        Host.Settle();
        return Host.PixelAt(*Form, b->Left() + x, b->Top() + y);
    }
};

TEST_F(ButtonTest, DrawsTheFrameOfEachState) {
    Btn->SetImgBtn(Strip(20, 10, 4));
    EXPECT_EQ(At(Btn, 50, 20), FrameColour(0));
    Host.MouseMove(*Form, 60, 30);
    EXPECT_EQ(At(Btn, 50, 20), FrameColour(1));
    Host.MouseDown(*Form, 60, 30);
    EXPECT_EQ(At(Btn, 50, 20), FrameColour(2));
    Host.MouseUp(*Form, 60, 30);
    EXPECT_EQ(At(Btn, 50, 20), FrameColour(1));
    Btn->SetEnabled(false);
    EXPECT_EQ(At(Btn, 50, 20), FrameColour(3));
}

TEST_F(ButtonTest, SelectedWithoutASelectFrameDrawsTheDownFrame) {
    Btn->SetBtnStateCount(3);
    Btn->SetImgBtn(Strip(20, 10, 3));
    Btn->SetBtnStatus(bsSelect);
    EXPECT_EQ(Btn->DrawState(), bsSelect);
    EXPECT_EQ(At(Btn, 50, 20), FrameColour(2));
    // Hover and press leave a selected button as it is.
    Host.MouseMove(*Form, 60, 30);
    Host.MouseDown(*Form, 60, 30);
    EXPECT_EQ(At(Btn, 50, 20), FrameColour(2));
    Host.MouseUp(*Form, 60, 30);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(ButtonTest, SingleFrameIsTheHoverImageOnly) {
    Btn->SetImgBtn(Strip(20, 10, 1));
    Btn->SetBtnStateCount(1);
    EXPECT_EQ(At(Btn, 50, 20), Background);
    Host.MouseMove(*Form, 60, 30);
    EXPECT_EQ(At(Btn, 50, 20), FrameColour(0));
}

TEST_F(ButtonTest, AutoSizeTakesTheFrameOrItsHeight) {
    Btn->SetImgBtn(Strip(30, 12, 4));
    Btn->SetAutoSize(true);
    EXPECT_EQ(Btn->Width(), 30);
    EXPECT_EQ(Btn->Height(), 12);
    Btn->SetWidth(90);
    Btn->SetBtnSplit(TOrbUIPadding(5, 0, 25, 0));  // widened: only the height follows
    EXPECT_EQ(Btn->Width(), 90);
    EXPECT_EQ(Btn->Height(), 12);
    EXPECT_EQ(At(Btn, 80, 6), FrameColour(0));
    // A strip that does not divide into its frames leaves the size alone.
    Btn->SetImgBtn(Strip(31, 20, 1));
    Btn->SetBtnStateCount(3);
    EXPECT_EQ(Btn->Height(), 12);
}

TEST_F(ButtonTest, ClickOnlyWhenReleasedOverTheButton) {
    Host.Click(*Form, 50, 30);
    EXPECT_EQ(Clicks, 1) << "one release, one click";
    Host.MouseDown(*Form, 50, 30);
    Host.MouseMove(*Form, 250, 150);
    EXPECT_EQ(Btn->DrawState(), bsDown) << "the press holds while the mouse is away";
    Host.MouseUp(*Form, 250, 150);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Btn->DrawState(), bsNormal);
    // Pressed elsewhere and released over the button: not its click.
    Host.MouseDown(*Form, 250, 150);
    Host.MouseMove(*Form, 50, 30);
    Host.MouseUp(*Form, 50, 30);
    EXPECT_EQ(Clicks, 1);
    // Dragged out and back before the release: a click.
    Host.MouseDown(*Form, 50, 30);
    Host.MouseMove(*Form, 250, 150);
    Host.MouseMove(*Form, 50, 30);
    Host.MouseUp(*Form, 50, 30);
    EXPECT_EQ(Clicks, 2);
    Host.Click(*Form, 50, 30, TMouseButton::Right);
    EXPECT_EQ(Clicks, 2);
}

TEST_F(ButtonTest, ClickHandlerMayFreeTheButton) {
    Btn->OnClick = [this](TComponent*) { Form->DestroyControl(Btn); };
    Host.Click(*Form, 50, 30);
    Host.Settle();
    EXPECT_EQ(Form->ControlCount(), 0);
}

TEST_F(ButtonTest, HoverFadeRunsOnTheVirtualClock) {
    Btn->SetImgBtn(Strip(20, 10, 4));
    Btn->SetFadeEffect(true);
    Btn->SetFadeInterVal(50);
    auto& push = Btn->Push();
    auto blended = [](int level) {
        const TColor32 h = FrameColour(1);
        auto mix = [level](int s, int t) { return uint8_t((s * level + t * (255 - level) + 127) / 255); };
        return Color32(mix(RedOf(h), 255), mix(GreenOf(h), 0), mix(BlueOf(h), 0));
    };
    Host.MouseMove(*Form, 60, 30);
    EXPECT_TRUE(push.FadeActive());
    EXPECT_EQ(push.FadeLevel(), 180);
    EXPECT_TRUE(Near(At(Btn, 50, 20), blended(180)));
    Host.Advance(50);
    EXPECT_EQ(push.FadeLevel(), 185);
    EXPECT_TRUE(Near(At(Btn, 50, 20), blended(185)));
    Host.Advance(700);  // 15 ticks: 255, still inside the range
    EXPECT_EQ(push.FadeLevel(), 255);
    EXPECT_TRUE(push.FadeActive());
    Host.Advance(50);
    EXPECT_FALSE(push.FadeActive());
    EXPECT_EQ(At(Btn, 50, 20), FrameColour(1));

    Host.MouseMove(*Form, 250, 150);
    EXPECT_EQ(push.FadeLevel(), 180);
    Host.Advance(300);  // 6 ticks down: 150, the last level shown
    EXPECT_EQ(push.FadeLevel(), 150);
    EXPECT_TRUE(Near(At(Btn, 50, 20), blended(150)));
    Host.Advance(50);
    EXPECT_FALSE(push.FadeActive());
    EXPECT_EQ(At(Btn, 50, 20), FrameColour(0));
}

TEST_F(ButtonTest, PressDuringTheFadeShowsTheDownFrame) {
    Btn->SetImgBtn(Strip(20, 10, 4));
    Btn->SetFadeEffect(true);
    Host.MouseMove(*Form, 60, 30);
    Host.MouseDown(*Form, 60, 30);
    EXPECT_TRUE(Btn->Push().FadeActive());
    EXPECT_EQ(At(Btn, 50, 20), FrameColour(2));
}

struct GlyphCase {
    TOrbUILayout Layout;
    int GraphLeftFix, GraphTopFix, RightLimite;
    TPoint Normal, Pressed;
};

TEST_F(ButtonTest, GlyphPositionPerLayout) {
    // A 100 x 40 button and a 10 x 8 glyph.
    const GlyphCase cases[] = {
        {olGlphyLeft, 0, 0, 0, {2, 16}, {2, 17}},
        {olGlphyLeft, 3, -4, 0, {5, 12}, {5, 13}},
        {olGlphyLeft, 0, 0, 80, {2, 16}, {2, 16}},  // RightLimite stops the shift
        {olGlphyTop, 0, 3, 0, {45, 5}, {45, 6}},
        {olGlphyRight, -3, 0, 0, {85, 16}, {85, 17}},
        {olGlphyBottom, 0, -2, 0, {45, 28}, {45, 29}},
    };
    Btn->SetGraph(Solid(10, 8, Color32(0, 0, 250)));
    Btn->SetImgBtn(Strip(20, 10, 4));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "layout " << c.Layout << " fix " << c.GraphLeftFix << "," << c.GraphTopFix);
        Btn->SetLayout(c.Layout);
        Btn->SetGraphLeftFix(c.GraphLeftFix);
        Btn->SetGraphTopFix(c.GraphTopFix);
        Btn->SetRightLimite(c.RightLimite);
        EXPECT_EQ(Btn->LayoutParts().Glyph, Bounds(c.Normal.X, c.Normal.Y, 10, 8));
        EXPECT_EQ(At(Btn, c.Normal.X, c.Normal.Y), Color32(0, 0, 250));
        EXPECT_EQ(At(Btn, c.Normal.X - 1, c.Normal.Y), FrameColour(0));
        Host.MouseDown(*Form, 10 + 99, 10 + 39);
        EXPECT_EQ(Btn->LayoutParts().Glyph.Left, c.Pressed.X);
        EXPECT_EQ(Btn->LayoutParts().Glyph.Top, c.Pressed.Y);
        Host.MouseUp(*Form, 10 + 99, 10 + 39);
        Host.MouseMove(*Form, 300, 190);
    }
}

TEST_F(ButtonTest, CaptionPlacement) {
    Btn->SetCaption("Save");
    const int tw = TextWidth(Btn->FontNormal(), "Save", tfNoPrefix);
    const int th = TextHeight(Btn->FontNormal(), "Save", tfNoPrefix);
    TRect r = Btn->LayoutParts().Caption;
    EXPECT_EQ(r.Left, (100 - tw) / 2);
    EXPECT_EQ(r.Top, (40 - th) / 2);
    Btn->SetCaptionLeftFix(4);
    Btn->SetRightLimite(60);
    EXPECT_EQ(Btn->LayoutParts().Caption.Left, (60 - tw) / 2 + 4);
    Btn->SetJustCaptionLeft(true);
    EXPECT_EQ(Btn->LayoutParts().Caption.Left, 4);
    Btn->SetJustCaptionLeft(false);
    Btn->SetRightLimite(0);
    // After a left glyph.
    Btn->SetGraph(Solid(10, 8, Color32(0, 0, 250)));
    EXPECT_EQ(Btn->LayoutParts().Caption.Left, 2 + 10 + 4 + 2);
    // Right-justified: caption at the right, the glyph left of it.
    Btn->SetRightJustify(true);
    r = Btn->LayoutParts().Caption;
    EXPECT_EQ(r.Left, 100 - tw - 2);
    EXPECT_EQ(Btn->LayoutParts().Glyph.Right, r.Left - 2);
    Btn->SetRightJustify(false);
    Btn->SetCenterJustify(true);
    r = Btn->LayoutParts().Caption;
    EXPECT_EQ(r.Right, 98);
}

TEST_F(ButtonTest, AmpersandIsLiteralUnlessItMarksTheAccelerator) {
    TFont font;
    Btn->SetCaption("&Open");
    const int literal = Btn->LayoutParts().Caption.Width();
    Btn->SetShowAccelChar(false);
    const int marked = Btn->LayoutParts().Caption.Width();
    EXPECT_EQ(literal, TextWidth(font, "&Open", tfNoPrefix));
    EXPECT_EQ(marked, TextWidth(font, "Open", tfNoPrefix));
    EXPECT_LT(marked, literal);
}

TEST_F(ButtonTest, CutCaptionBecomesTheHintUntilItFits) {
    TFont font;
    font.Color = 0xFFFFFF;
    Btn->SetAllFonts(font);
    std::string caption;
    while (TextWidth(font, caption, tfNoPrefix) < 250) caption += "W";
    Btn->SetBounds(10, 10, 199, 40);
    Btn->Hint = "own hint";
    Btn->SetCaption(caption);
    Host.Settle();
    const auto parts = Btn->LayoutParts();
    EXPECT_TRUE(parts.CaptionCut);
    EXPECT_EQ(parts.Caption.Left, 6);
    EXPECT_EQ(parts.Caption.Right, 197);
    EXPECT_EQ(Btn->Hint, caption);
    EXPECT_TRUE(Btn->ShowHint);
    // Text reaches close to the cut and never past it.
    bool inkBeforeCut = false, inkAfterCut = false;
    for (int y = parts.Caption.Top; y < parts.Caption.Bottom; ++y) {
        for (int x = 185; x < 197; ++x) inkBeforeCut |= At(Btn, x, y) != Background;
        for (int x = 197; x < 199; ++x) inkAfterCut |= At(Btn, x, y) != Background;
    }
    EXPECT_TRUE(inkBeforeCut);
    EXPECT_FALSE(inkAfterCut);

    Btn->SetCaption("OK");
    Host.Settle();
    EXPECT_EQ(Btn->Hint, "own hint");
    EXPECT_FALSE(Btn->ShowHint);
}

TEST_F(ButtonTest, ImageListGlyphFollowsTheState) {
    auto* list = Form->Create<TOrbImageList>();
    for (int k = 0; k < 4; ++k) list->Add(Solid(8, 8, FrameColour(k + 2)));
    Btn->SetImagelist(list);
    Btn->SetImgindex(0);
    Btn->SetGraph(Solid(10, 8, Color32(0, 0, 250)));  // not drawn beside a list glyph
    EXPECT_EQ(Btn->LayoutParts().Glyph, Bounds(2, 16, 8, 8));
    EXPECT_EQ(At(Btn, 3, 17), FrameColour(2));
    Btn->SetJustUseImgList(true);
    EXPECT_EQ(Btn->LayoutParts().Glyph.Left, 0);
    Host.MouseMove(*Form, 60, 30);
    EXPECT_EQ(At(Btn, 1, 17), FrameColour(3));
    Host.MouseDown(*Form, 60, 30);
    EXPECT_EQ(At(Btn, 1, 17), FrameColour(4));
    Host.MouseUp(*Form, 60, 30);
    Btn->SetEnabled(false);
    EXPECT_EQ(At(Btn, 1, 17), FrameColour(5));
}

TEST_F(ButtonTest, BackgroundListPictureByState) {
    auto* list = Form->Create<TOrbImageList>();
    for (int k = 0; k < 4; ++k) list->Add(Solid(6, 6, FrameColour(k + 1)));
    Btn->SetImgBtnBackList(list);
    EXPECT_EQ(At(Btn, 2, 2), FrameColour(1));
    Btn->SetBtnStatus(bsSelect);
    EXPECT_EQ(At(Btn, 2, 2), FrameColour(3));
    Btn->SetEnabled(false);
    EXPECT_EQ(At(Btn, 2, 2), FrameColour(4));
}

TEST_F(ButtonTest, SelectingATabButtonDeselectsItsGroup) {
    TOrbButton* second = AddButton(120, 10);
    TOrbButton* third = AddButton(10, 60);
    TOrbButton* otherGroup = AddButton(120, 60);
    TOrbButton* plain = AddButton(10, 110);
    for (TOrbButton* b : {Btn, second, third, otherGroup}) {
        b->SetButtonTab(true);
        b->SetBtnStateCount(5);
        b->SetImgBtn(Strip(20, 10, 5));
        b->SetGroupIndex(b == otherGroup ? 2 : 1);
    }
    plain->SetBtnStateCount(5);
    plain->SetImgBtn(Strip(20, 10, 5));
    Btn->SetBtnStatus(bsSelect);
    otherGroup->SetBtnStatus(bsSelect);
    plain->SetBtnStatus(bsSelect);
    second->SetBtnStatus(bsSelect);
    EXPECT_EQ(Btn->BtnStatus(), bsNormal);
    EXPECT_EQ(second->BtnStatus(), bsSelect);
    EXPECT_EQ(third->BtnStatus(), bsNormal);
    EXPECT_EQ(otherGroup->BtnStatus(), bsSelect);
    EXPECT_EQ(plain->BtnStatus(), bsSelect);
    EXPECT_EQ(At(Btn, 50, 20), FrameColour(0)) << "the deselected button is repainted";
    EXPECT_EQ(At(second, 50, 20), FrameColour(4));
}

TEST_F(ButtonTest, AfterDrawSeesTheFinishedButton) {
    Btn->SetImgBtn(Strip(20, 10, 4));
    TColor32 seen = 0;
    Btn->OnAfterDraw = [&](TComponent* sender, TBitmap32& canvas) {
        EXPECT_EQ(sender, Btn);
        seen = canvas.Pixel(50, 20);
        canvas.SetPixel(0, 0, Color32(1, 2, 3));
    };
    EXPECT_EQ(At(Btn, 0, 0), Color32(1, 2, 3));
    EXPECT_EQ(seen, FrameColour(0));
}

}  // namespace
