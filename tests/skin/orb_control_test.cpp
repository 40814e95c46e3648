// The skinned bases composed on the offscreen host (darkened and see-through
// backgrounds, repaint routing, hover tracking, style references), and the
// small containers every control shares: paddings, image lists, storages.
#include <gtest/gtest.h>

#include "platform/gfx/picture.h"
#include "platform/gui/gui_fixture.h"
#include "skin/orb_control.h"
#include "skin/orb_image_list.h"
#include "skin/orb_style.h"

namespace {

constexpr TColor White = 0xFFFFFF;

// Draws a small blue square at the top left and counts its paints.
class TSample : public TOrbUIGraphicControl {
public:
    using TOrbUIGraphicControl::TOrbUIGraphicControl;
    int Paints = 0;
    int Styles = 0;
    void DrawControl(TBitmap32& buffer) override {
        Paints++;
        buffer.FillRect(Bounds(0, 0, 4, 4), Color32(0, 0, 255));
    }
    void ApplyStyle() override { Styles++; }
};

class TSamplePanel : public TOrbUIParentControl {
public:
    using TOrbUIParentControl::TOrbUIParentControl;
    TColor Frame = clNone;

protected:
    TColor FrameColor() const override { return Frame; }
};

class OrbControlTest : public GuiTest {
protected:
    TForm* Form = nullptr;
    void SetUp() override {
        Form = MakeForm(100, 80);
        Form->SetColor(White);
    }
    TSample* AddSample(TRect bounds) {
        auto* s = Form->Add<TSample>();
        s->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        s->SetColor(0x00FF00);  // green, 0x00BBGGRR
        Host.Settle();
        return s;
    }
};

TEST_F(OrbControlTest, BackgroundFollowsAlphaTransparentAndColour) {
    TSample* s = AddSample(Bounds(10, 10, 30, 30));
    EXPECT_EQ(Host.PixelAt(*Form, 20, 20), Color32(0, 255, 0));
    EXPECT_EQ(Host.PixelAt(*Form, 11, 11), Color32(0, 0, 255));  // the content over it

    // Half opacity over white: the parent shows at half intensity, opaque.
    s->SetAlpha(128);
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(*Form, 20, 20), Color32(128, 128, 128));
    EXPECT_EQ(Host.PixelAt(*Form, 11, 11), Color32(0, 0, 255));

    // See-through at full opacity: the parent unchanged.
    s->SetAlpha(255);
    s->SetTransparent(true);
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(*Form, 20, 20), Color32(255, 255, 255));
    EXPECT_EQ(Host.PixelAt(*Form, 5, 5), Color32(255, 255, 255));
}

TEST_F(OrbControlTest, SeeThroughControlShowsTheSiblingsBelowIt) {
    TSample* below = AddSample(Bounds(0, 0, 50, 80));
    TSample* over = AddSample(Bounds(40, 0, 30, 30));
    over->SetTransparent(true);
    over->SetAlpha(51);  // a fifth
    Host.Settle();
    (void)below;
    EXPECT_EQ(Host.PixelAt(*Form, 45, 20), Color32(0, 51, 0));      // green below, darkened
    EXPECT_EQ(Host.PixelAt(*Form, 60, 20), Color32(51, 51, 51));    // white form, darkened
}

TEST_F(OrbControlTest, ChangedRoutesThroughOnRedrawAndStaysQuietWhileLoading) {
    auto* loading = new TSample(nullptr);  // never loaded: changes ask for nothing
    int redraws = 0;
    loading->OnRedraw = [&](TComponent*) { redraws++; };
    loading->SetAlpha(10);
    EXPECT_EQ(redraws, 0);
    delete loading;

    TSample* s = AddSample(Bounds(10, 10, 30, 30));
    const int paints = s->Paints;
    s->OnRedraw = [&](TComponent* sender) {
        EXPECT_EQ(sender, s);
        redraws++;
    };
    s->SetAlpha(100);
    s->SetAlpha(100);  // unchanged: nothing
    s->SetTransparent(true);
    s->SetOwnerStyle(true);  // stored only
    Host.Settle();
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(s->Paints, paints);  // OnRedraw replaced the invalidation
}

TEST_F(OrbControlTest, HoverAndPressFollowTheMouse) {
    TSample* s = AddSample(Bounds(10, 10, 30, 30));
    int paints = s->Paints;
    Host.MouseMove(*Form, 20, 20);
    Host.Settle();
    EXPECT_TRUE(s->Hover());
    EXPECT_GT(s->Paints, paints);
    Host.MouseDown(*Form, 20, 20);
    EXPECT_TRUE(s->Pressed());
    Host.MouseUp(*Form, 20, 20);
    EXPECT_FALSE(s->Pressed());
    Host.MouseMove(*Form, 80, 70);
    Host.Settle();
    EXPECT_FALSE(s->Hover());

    s->TrackHover = false;
    paints = s->Paints;
    Host.MouseMove(*Form, 20, 20);
    Host.Settle();
    EXPECT_TRUE(s->Hover());
    EXPECT_EQ(s->Paints, paints);
}

TEST_F(OrbControlTest, FrameColourOutlinesTheWholeControl) {
    auto* panel = Form->Add<TSamplePanel>();
    panel->SetBounds(50, 10, 20, 20);
    panel->SetColor(White);
    panel->Frame = 0x0000FF;  // red
    panel->Invalidate();
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(*Form, 50, 10), Color32(255, 0, 0));
    EXPECT_EQ(Host.PixelAt(*Form, 69, 29), Color32(255, 0, 0));
    EXPECT_EQ(Host.PixelAt(*Form, 60, 20), Color32(255, 255, 255));
}

TEST_F(OrbControlTest, StyleIsAppliedWhenItChangesAndDroppedWhenFreed) {
    TSample* s = AddSample(Bounds(10, 10, 30, 30));
    auto style = std::make_unique<TOrbStyle>();
    s->SetStyle(style.get());
    s->SetStyle(style.get());
    EXPECT_EQ(s->Styles, 1);
    style.reset();
    EXPECT_EQ(s->Style(), nullptr);
}

TEST_F(OrbControlTest, PaintBufferComposesOverTheParentsBuffer) {
    TSample* s = AddSample(Bounds(10, 10, 30, 30));
    TBitmap32 parent(100, 80);
    parent.Clear(Color32(200, 100, 50));
    s->SetAlpha(128);
    s->PaintBuffer(parent);
    const TBitmap32& out = s->ComposedBuffer();
    ASSERT_EQ(out.Width(), 30);
    EXPECT_EQ(out.Pixel(20, 20), Color32(100, 50, 25));  // 200*128/255 rounded ...
    EXPECT_EQ(out.Pixel(1, 1), Color32(0, 0, 255));

    s->CopyParentBackground(nullptr);
    EXPECT_EQ(s->BackgroundSnapshot(), nullptr);
    s->CopyParentBackground(&parent);
    ASSERT_NE(s->BackgroundSnapshot(), nullptr);
    EXPECT_EQ(s->BackgroundSnapshot()->Pixel(0, 0), Color32(200, 100, 50));
}

TEST(OrbPaddingTest, SetterByIndexIgnoresUnknownIndexes) {
    TOrbUIPadding p;
    EXPECT_TRUE(p.SetValue(2, 7));
    EXPECT_FALSE(p.SetValue(2, 7));
    EXPECT_FALSE(p.SetValue(4, 9));
    EXPECT_FALSE(p.SetValue(-1, 9));
    EXPECT_EQ(p, TOrbUIPadding(0, 0, 7, 0));
    TOrbUIPadding q(1, 2, 3, 4);
    p.Assign(q);
    EXPECT_EQ(p.Bottom(), 4);
}

TEST(OrbImageListTest, ItemsAreNamedByIndexAndDrawnOnlyInRange) {
    TOrbImageList list;
    TBitmap32 red(2, 2);
    red.Clear(Color32(255, 0, 0));
    list.Add(red);
    EXPECT_EQ(list.Add().Name, "PngImage1");
    EXPECT_EQ(list.Items(0).Name, "PngImage0");

    TBitmap32 canvas(4, 4);
    canvas.Clear(Color32(0, 0, 0));
    list.Draw(&canvas, 0, 0, true, list.Count());  // one past the end
    list.Draw(nullptr, 0, 0, true, 0);
    EXPECT_EQ(canvas.Pixel(0, 0), Color32(0, 0, 0));
    list.Draw(&canvas, 1, 1, true, 0);
    EXPECT_EQ(canvas.Pixel(1, 1), Color32(255, 0, 0));
    list.Draw(&canvas, 0, 0, false, 0);  // greyed: 0.3 * 255
    EXPECT_EQ(RedOf(canvas.Pixel(0, 0)), GreenOf(canvas.Pixel(0, 0)));
    EXPECT_NEAR(RedOf(canvas.Pixel(0, 0)), 76, 1);
}

TEST(OrbImageStorageTest, FormatIsRecordedFromKnownPicturesOnly) {
    TOrbImageStorage storage;
    TOrbImageItem& item = storage.Add();
    EXPECT_EQ(item.Format(), OrbUnknown);
    TBitmap32 image(3, 2);
    image.Clear(Color32(1, 2, 3));
    std::string png;
    ASSERT_TRUE(WritePng(image, png));
    TPicture picture;
    ASSERT_TRUE(picture.LoadFromMemory(png));
    item.SetPicture(picture);
    EXPECT_EQ(item.Format(), OrbPNG);
    EXPECT_EQ(item.Width(), 3);
    item.SetPicture(TPicture());  // empty: nothing recorded
    EXPECT_EQ(item.Format(), OrbPNG);
    EXPECT_EQ(item.Width(), 0);
    EXPECT_EQ(storage.Find(1), nullptr);
}

TEST(OrbKeyRepeatTest, DesktopStepsMapToMilliseconds) {
    EXPECT_EQ(KeyRepeatDelayForSetting(0), 200);
    EXPECT_EQ(KeyRepeatDelayForSetting(3), 800);
    EXPECT_EQ(KeyRepeatIntervalForSetting(0), 435);
    EXPECT_EQ(KeyRepeatIntervalForSetting(31), 14);
}

}  // namespace
