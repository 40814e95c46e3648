// TOrbCheckBox, TOrbLabel, TOrbPanel and TOrbImage on the offscreen host:
// check-box frames per state and radio groups, label fonts, wrapping,
// glyph, glow and the cut-text hint, panel tint and three-part
// backgrounds, image sources and placement.
#include <gtest/gtest.h>

#include <string>

#include "platform/gui/gui_fixture.h"
#include "skin/orb_check_box.h"
#include "skin/orb_image.h"
#include "skin/orb_image_list.h"
#include "skin/orb_label.h"
#include "skin/orb_panel.h"

namespace {

TColor32 FrameColour(int k) { return Color32(uint8_t(25 * k + 10), 90, 30); }

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

class SmallControlsTest : public GuiTest {
protected:
    TForm* Form = nullptr;
    void SetUp() override {
        Form = MakeForm(320, 240);
        Form->SetColor(0xFFFFFF);
    }
    TColor32 At(const TControl* c, int x, int y) {
        Host.Settle();
        const TRect r = c->FormRect();
        return Host.PixelAt(*Form, r.Left + x, r.Top + y);
    }
    TOrbCheckBox* AddBox(TWinControl* parent, int y, bool radio) {
        auto* box = parent->Add<TOrbCheckBox>();
        box->SetBounds(10, y, 120, 20);
        box->SetRadioItem(radio);
        box->SetImgCheckBox(Strip(12, 14, 8));
        box->SetImgRadioBox(Strip(12, 14, 8));
        return box;
    }
};

TEST_F(SmallControlsTest, CheckBoxFramePairsPerState) {
    TOrbCheckBox* box = AddBox(Form, 10, false);
    EXPECT_EQ(box->Height(), 14) << "the height becomes the frame height";
    EXPECT_EQ(box->BoxRect(), Bounds(0, 0, 12, 14));
    EXPECT_EQ(At(box, 5, 5), FrameColour(0));
    box->SetChecked(true);
    EXPECT_EQ(At(box, 5, 5), FrameColour(1));
    Host.MouseMove(*Form, 15, 15);
    EXPECT_EQ(At(box, 5, 5), FrameColour(3));
    Host.MouseDown(*Form, 15, 15);  // toggles to unchecked, pressed pair
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(At(box, 5, 5), FrameColour(4));
    Host.MouseUp(*Form, 15, 15);
    box->SetEnabled(false);
    EXPECT_EQ(At(box, 5, 5), FrameColour(6));

    // The program's four-frame strips: no pressed or disabled pair.
    box->SetEnabled(true);
    box->SetCheckStateCount(4);
    box->SetImgCheckBox(Strip(12, 14, 4));
    Host.MouseDown(*Form, 15, 15);
    EXPECT_EQ(box->DrawFrame(), 3) << "pressed falls back to the hover pair";
    Host.MouseUp(*Form, 15, 15);
    box->SetEnabled(false);
    EXPECT_EQ(box->DrawFrame(), 1);
    EXPECT_EQ(box->CaptionColor(), TColor(0x808080)) << "the caption still greys";
}

TEST_F(SmallControlsTest, RadioItemsUncheckTheirSiblings) {
    TOrbCheckBox* a = AddBox(Form, 10, true);
    TOrbCheckBox* b = AddBox(Form, 40, true);
    TOrbCheckBox* plainBox = AddBox(Form, 70, false);
    auto* panel = Form->Add<TOrbPanel>();
    panel->SetBounds(150, 0, 150, 200);
    TOrbCheckBox* elsewhere = AddBox(panel, 10, true);
    int clicks = 0;
    b->OnClick = [&](TComponent*) { clicks++; };
    a->SetChecked(true);
    plainBox->SetChecked(true);
    elsewhere->SetChecked(true);

    Host.Click(*Form, 15, 45);
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(plainBox->Checked()) << "plain check boxes are not in the group";
    EXPECT_TRUE(elsewhere->Checked()) << "another parent is another group";
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(At(a, 5, 5), FrameColour(0));

    Host.Click(*Form, 15, 45);
    EXPECT_TRUE(b->Checked()) << "pressing a checked radio item leaves it checked";
    EXPECT_EQ(clicks, 2);

    // Setting Checked in code keeps the group too.
    a->SetChecked(true);
    EXPECT_FALSE(b->Checked());
}

TEST_F(SmallControlsTest, RadioChangeMayBeRefused) {
    TOrbCheckBox* a = AddBox(Form, 10, true);
    TOrbCheckBox* b = AddBox(Form, 40, true);
    a->SetChecked(true);
    int asked = 0, clicks = 0;
    b->OnOrbUIRadioChange = [&](TComponent* sender, bool& doChange) {
        EXPECT_EQ(sender, b);
        EXPECT_TRUE(doChange);
        asked++;
        doChange = false;
    };
    b->OnClick = [&](TComponent*) { clicks++; };
    Host.Click(*Form, 15, 45);
    Host.Click(*Form, 15, 45, TMouseButton::Right);
    EXPECT_EQ(asked, 2) << "asked before any press, whatever the button";
    EXPECT_FALSE(b->Checked());
    EXPECT_TRUE(a->Checked());
    EXPECT_EQ(clicks, 0);
}

TEST_F(SmallControlsTest, CheckBoxCaptionAfterTheBoxAndCutHint) {
    TOrbCheckBox* box = AddBox(Form, 10, false);
    box->SetTextOffset(3);
    box->SetCaption("Remind me");
    bool cut = true;
    EXPECT_EQ(box->CaptionRect(cut).Left, 12 + 3 + 2);
    EXPECT_FALSE(cut);
    box->SetWidth(40);
    Host.Settle();
    EXPECT_EQ(box->Hint, "Remind me");
    box->SetWidth(200);
    Host.Settle();
    EXPECT_EQ(box->Hint, "");
}

TEST_F(SmallControlsTest, LabelWrapsWithoutHintingAndHintsWhenCut) {
    auto* label = Form->Add<TOrbLabel>();
    TFont font;
    font.Color = 0x000000;
    label->SetFont(font);
    label->SetBounds(10, 10, 80, 60);
    label->Hint = "own";
    label->SetCaption("one two three four five six seven");
    label->SetWordBreak(true);
    Host.Settle();
    EXPECT_EQ(label->Hint, "own");
    auto inkInRows = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < 80; ++x)
                if (RedOf(At(label, x, y)) < 128) return true;
        return false;
    };
    const int lineHeight = TextHeight(font, "one");
    EXPECT_TRUE(inkInRows(0, lineHeight));
    EXPECT_TRUE(inkInRows(lineHeight, 2 * lineHeight)) << "the caption goes on to a second line";

    label->SetWordBreak(false);
    Host.Settle();
    EXPECT_EQ(label->Hint, "one two three four five six seven");
    label->SetCaption("one");
    Host.Settle();
    EXPECT_EQ(label->Hint, "own");
}

TEST_F(SmallControlsTest, LabelFontFollowsTheState) {
    auto* label = Form->Add<TOrbLabel>();
    label->SetBounds(10, 10, 100, 25);
    label->SetCaption("hover me");
    TFont over, down;
    over.Color = 0x0000FF;
    down.Color = 0x00FF00;
    label->SetFontOver(over);
    label->SetFontDown(down);
    EXPECT_EQ(label->DrawFont(), label->Font());
    Host.MouseMove(*Form, 20, 20);
    EXPECT_EQ(label->DrawFont(), over);
    Host.MouseDown(*Form, 20, 20);
    EXPECT_EQ(label->DrawFont(), down);
    Host.MouseUp(*Form, 20, 20);
    label->SetSupportMouseOverDown(false);
    EXPECT_EQ(label->DrawFont(), label->Font());
    label->SetEnabled(false);
    EXPECT_EQ(label->DrawFont().Color, TColor(0x808080));
}

TEST_F(SmallControlsTest, LabelGlyphAndAlignment) {
    auto* label = Form->Add<TOrbLabel>();
    label->SetBounds(10, 10, 100, 25);
    label->SetCaption("text");
    label->SetGraph(Solid(8, 9, Color32(0, 0, 200)));
    EXPECT_EQ(label->GlyphRect(), Bounds(2, 8, 8, 9));
    EXPECT_EQ(label->TextRect().Left, 12);
    EXPECT_EQ(label->TextRect().Right, 98);
    EXPECT_EQ(At(label, 3, 10), Color32(0, 0, 200));
    label->SetAlignment(taRightJustify);
    EXPECT_TRUE(label->GlyphRect().IsEmpty());
    EXPECT_EQ(label->TextRect().Left, 0);
    EXPECT_EQ(label->TextRect().Right, 100);
    EXPECT_NE(label->TextFlags() & tfRight, 0u);
}

TEST_F(SmallControlsTest, GlowingTextHasAHaloOfTheBlurColour) {
    auto* label = Form->Add<TOrbLabel>();
    label->SetBounds(10, 10, 100, 30);
    TFont font;
    font.Size = 14;
    font.Bold = true;
    label->SetFont(font);
    label->SetCaption("II");
    const TRect text = label->TextRect();
    label->SetBlurColor(0xFF0000);  // blue
    label->SetBlurRadius(3);
    Host.Settle();
    // Some background pixel next to the text turned blue, and none of the
    // drawing leaked out to the label's far right.
    bool halo = false;
    for (int y = text.Top; y < text.Bottom; ++y)
        for (int x = 0; x < 40; ++x) {
            const TColor32 c = At(label, x, y);
            halo |= BlueOf(c) > RedOf(c) + 20 && RedOf(c) > 60;
        }
    EXPECT_TRUE(halo);
    EXPECT_EQ(At(label, 95, 15), Color32(255, 255, 255));
}

TEST_F(SmallControlsTest, PanelTintsWhatLiesBeneath) {
    auto* panel = Form->Add<TOrbPanel>();
    panel->SetBounds(10, 10, 100, 80);
    EXPECT_EQ(At(panel, 50, 40), Color32(255, 0, 0));
    panel->SetAlpha(128);
    // Red at 128 over white.
    const TColor32 c = At(panel, 50, 40);
    EXPECT_EQ(RedOf(c), 255);
    EXPECT_NEAR(GreenOf(c), 127, 1);
    EXPECT_NEAR(BlueOf(c), 127, 1);
    panel->SetColor(clNone);
    EXPECT_NEAR(GreenOf(At(panel, 50, 40)), 128, 1) << "without a colour the background darkens";
}

TEST_F(SmallControlsTest, PanelThreePartBackgrounds) {
    auto* panel = Form->Add<TOrbPanel>();
    panel->SetBounds(10, 10, 100, 60);
    TPngImage back(30, 30);
    back.FillRect(Bounds(0, 0, 10, 30), FrameColour(1));
    back.FillRect(Bounds(10, 0, 10, 30), FrameColour(2));
    back.FillRect(Bounds(20, 0, 10, 30), FrameColour(3));
    panel->SetImgBack(back);
    panel->SetImgSplit(TOrbUIPadding(10, 0, 20, 0));
    EXPECT_EQ(At(panel, 9, 30), FrameColour(1));
    EXPECT_EQ(At(panel, 50, 59), FrameColour(2));
    EXPECT_EQ(At(panel, 90, 0), FrameColour(3));
    // Rows: the same picture turned on its side.
    TPngImage rows(30, 30);
    rows.FillRect(Bounds(0, 0, 30, 10), FrameColour(4));
    rows.FillRect(Bounds(0, 10, 30, 10), FrameColour(5));
    rows.FillRect(Bounds(0, 20, 30, 10), FrameColour(6));
    panel->SetImgBack(rows);
    panel->SetImgSplit(TOrbUIPadding(0, 10, 0, 20));
    EXPECT_EQ(At(panel, 99, 9), FrameColour(4));
    EXPECT_EQ(At(panel, 0, 30), FrameColour(5));
    EXPECT_EQ(At(panel, 50, 50), FrameColour(6));
}

TEST_F(SmallControlsTest, ImageFromPictureOrStorage) {
    auto* storage = Form->Create<TOrbImageStorage>();
    TPicture picture;
    picture.Assign(Solid(20, 10, Color32(0, 0, 220)));
    storage->Add().SetPicture(picture);
    auto* image = Form->Add<TOrbImage>();
    image->SetBounds(10, 10, 100, 100);
    image->SetImgStorage(storage);
    image->Setimageindex(1);  // beyond the storage
    EXPECT_EQ(image->ShownPicture(), nullptr);
    EXPECT_EQ(At(image, 0, 0), Color32(255, 0, 0)) << "only the background";
    image->Setimageindex(0);
    EXPECT_EQ(At(image, 0, 0), Color32(0, 0, 220));
    EXPECT_EQ(At(image, 25, 5), Color32(255, 0, 0));
    image->SetCenter(true);
    EXPECT_EQ(At(image, 40, 45), Color32(0, 0, 220));
    EXPECT_EQ(At(image, 39, 45), Color32(255, 0, 0));
    image->SetCenter(false);
    image->SetStretch(true);
    EXPECT_EQ(At(image, 99, 99), Color32(0, 0, 220));
    int after = 0;
    image->OnAfterDrawPaint = [&](TComponent*, TBitmap32&) { after++; };
    image->AutoImageSize = true;
    TPicture own;
    own.Assign(Solid(30, 40, Color32(0, 200, 0)));
    image->SetPicture(own);  // its own picture goes before the storage's
    EXPECT_EQ(image->Width(), 30);
    EXPECT_EQ(image->Height(), 40);
    EXPECT_EQ(At(image, 29, 39), Color32(0, 200, 0));
    EXPECT_GT(after, 0);
}

}  // namespace
