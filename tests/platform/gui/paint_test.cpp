// The paint pass read back as pixels: back-to-front composition, controls
// that show what lies beneath them, damage limited to what changed, and
// the screenshot of a window.
#include <cstdio>

#include "gui_fixture.h"
#include "platform/gfx/picture.h"

namespace {
constexpr TColor32 Red = Color32(255, 0, 0), Green = Color32(0, 255, 0), Blue = Color32(0, 0, 255);

// Shows through: what lies beneath, with a half-transparent blue veil.
class TVeil : public TControl {
public:
    using TControl::TControl;
    int Paints = 0;

protected:
    void Paint(TBitmap32& canvas) override {
        Paints++;
        PaintParentBackground(canvas);
        canvas.FillRectBlend(PaintClip(), Color32(0, 0, 255, 128));
    }
};

void ExpectNear(TColor32 actual, TColor32 expected, const char* where) {
    SCOPED_TRACE(where);
    EXPECT_NEAR(RedOf(actual), RedOf(expected), 2);
    EXPECT_NEAR(GreenOf(actual), GreenOf(expected), 2);
    EXPECT_NEAR(BlueOf(actual), BlueOf(expected), 2);
    EXPECT_EQ(AlphaOf(actual), AlphaOf(expected));
}
}  // namespace

class PaintTest : public GuiTest {
protected:
    TForm* Form = nullptr;
    void SetUp() override {
        Form = MakeForm(120, 80);
        Form->SetColor(0x000000FF);  // red, 0x00BBGGRR
    }
};

TEST_F(PaintTest, ControlsComposeBackToFrontOverTheFormColour) {
    TProbe* lower = AddProbe(Form, "L", Bounds(10, 10, 40, 40));
    lower->Fill = Green;
    TProbe* upper = AddProbe(Form, "U", Bounds(30, 30, 40, 40));
    upper->Fill = Blue;
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(*Form, 5, 5), Red);
    EXPECT_EQ(Host.PixelAt(*Form, 15, 15), Green);
    EXPECT_EQ(Host.PixelAt(*Form, 35, 35), Blue);
    EXPECT_EQ(Host.PixelAt(*Form, 69, 69), Blue);
    EXPECT_EQ(Host.PixelAt(*Form, 70, 70), Red);
}

TEST_F(PaintTest, TransparentControlShowsItsParentAndLowerSiblings) {
    TProbe* sibling = AddProbe(Form, "S", Bounds(0, 0, 40, 80));
    sibling->Fill = Green;
    TVeil* veil = Form->Add<TVeil>();
    veil->SetBounds(20, 10, 60, 20);
    TControl* clear = Form->Add<TControl>();  // paints nothing at all
    clear->SetBounds(90, 10, 20, 20);
    Host.Settle();
    ExpectNear(Host.PixelAt(*Form, 25, 15), Color32(0, 127, 128), "veil over the green sibling");
    ExpectNear(Host.PixelAt(*Form, 60, 15), Color32(127, 0, 128), "veil over the red form");
    EXPECT_EQ(Host.PixelAt(*Form, 95, 15), Red) << "an empty control leaves what is beneath";
}

TEST_F(PaintTest, TransparentChildOfAPanelSeesThePanel) {
    TProbe* panel = AddProbe(Form, "P", Bounds(10, 10, 100, 60));
    panel->Fill = Green;
    TVeil* veil = panel->Add<TVeil>();
    veil->SetBounds(10, 10, 20, 20);
    Host.Settle();
    ExpectNear(Host.PixelAt(*Form, 25, 25), Color32(0, 127, 128), "veil inside the panel");
    EXPECT_EQ(Host.PixelAt(*Form, 45, 25), Green);
}

TEST_F(PaintTest, RepaintingOneControlLeavesOtherPixelsUntouched) {
    TProbe* a = AddProbe(Form, "A", Bounds(10, 10, 30, 30));
    a->Fill = Green;
    TProbe* b = AddProbe(Form, "B", Bounds(60, 10, 30, 30));
    b->Fill = Green;
    Host.Settle();
    int aPaints = a->Paints, presents = Host.WindowOf(*Form)->PresentCount;

    // A changes colour without asking for a repaint; only B asks. A's old
    // pixels must stay: nothing outside B's damage is recomposed.
    a->Fill = Blue;
    b->Fill = Blue;
    b->Invalidate();
    EXPECT_EQ(Host.PixelAt(*Form, 70, 20), Green) << "nothing paints before the pass";
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(*Form, 70, 20), Blue);
    EXPECT_EQ(Host.PixelAt(*Form, 20, 20), Green);
    EXPECT_EQ(a->Paints, aPaints);
    EXPECT_EQ(Host.WindowOf(*Form)->PresentCount, presents + 1);
    EXPECT_EQ(Host.WindowOf(*Form)->LastDamage, Bounds(60, 10, 30, 30));
}

TEST_F(PaintTest, PartialInvalidateRepaintsOnlyThatPartOfTheControl) {
    TProbe* a = AddProbe(Form, "A", Bounds(10, 10, 40, 40));
    a->Fill = Green;
    Host.Settle();
    a->Fill = Blue;
    a->InvalidateRect(Bounds(0, 0, 10, 10));
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(*Form, 15, 15), Blue);
    EXPECT_EQ(Host.PixelAt(*Form, 25, 25), Green);
}

TEST_F(PaintTest, HidingMovingAndFreeingExposeWhatWasBeneath) {
    TProbe* a = AddProbe(Form, "A", Bounds(10, 10, 20, 20));
    a->Fill = Green;
    Host.Settle();
    a->SetBounds(50, 10, 20, 20);
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(*Form, 15, 15), Red);
    EXPECT_EQ(Host.PixelAt(*Form, 55, 15), Green);
    a->SetVisible(false);
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(*Form, 55, 15), Red);
    a->SetVisible(true);
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(*Form, 55, 15), Green);
    Form->DestroyControl(a);
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(*Form, 55, 15), Red);
}

TEST_F(PaintTest, SettersThatChangeNothingDoNotRepaint) {
    TProbe* a = AddProbe(Form, "A", Bounds(10, 10, 20, 20));
    a->SetColor(0x00FF0000);
    Host.Settle();
    int paints = a->Paints;
    a->SetColor(0x00FF0000);
    a->SetBounds(10, 10, 20, 20);
    a->SetVisible(true);
    Host.Settle();
    EXPECT_EQ(a->Paints, paints);
}

TEST_F(PaintTest, CaptureImageCopiesWhatTheControlShowsWithItsChildren) {
    TProbe* panel = AddProbe(Form, "P", Bounds(10, 10, 60, 40));
    panel->Fill = Green;
    TProbe* child = AddProbe(panel, "C", Bounds(20, 10, 10, 10));
    child->Fill = Blue;
    int resizes = 0;
    panel->OnResize = [&](TComponent*) { resizes++; };
    panel->SetBounds(10, 10, 60, 40);
    panel->SetBounds(5, 10, 60, 40);
    EXPECT_EQ(resizes, 0) << "a move is no resize";
    panel->SetBounds(10, 10, 50, 40);
    EXPECT_EQ(resizes, 1);
    TBitmap32 image = panel->CaptureImage();  // paints the pending damage first
    ASSERT_EQ(image.Width(), 50);
    ASSERT_EQ(image.Height(), 40);
    EXPECT_EQ(image.Pixel(0, 0), Green);
    EXPECT_EQ(image.Pixel(25, 15), Blue);
}

TEST_F(PaintTest, ScreenshotRoundTripsThroughPng) {
    TProbe* a = AddProbe(Form, "A", Bounds(10, 10, 20, 20));
    a->Fill = Green;
    Host.Settle();
    std::string path = testing::TempDir() + "gui_screenshot.png";
    ASSERT_TRUE(Host.SaveScreenshot(*Form, path));
    TBitmap32 back;
    ASSERT_TRUE(ReadPngFile(path, back));
    std::remove(path.c_str());
    ASSERT_EQ(back.Width(), 120);
    ASSERT_EQ(back.Height(), 80);
    EXPECT_EQ(back.Pixel(15, 15), Green);
    EXPECT_EQ(back.Pixel(5, 5), Red);
}

TEST_F(PaintTest, PerPixelAlphaFormKeepsTransparentPixels) {
    TForm* glass = MakeForm(40, 40);
    glass->SetColor(clNone);
    glass->SetTransparency(TTransparency::PerPixelAlpha);
    TProbe* a = AddProbe(glass, "A", Bounds(10, 10, 10, 10));
    a->Fill = Color32(0, 0, 255, 128);
    Host.Settle();
    EXPECT_EQ(AlphaOf(Host.PixelAt(*glass, 2, 2)), 0);
    EXPECT_NEAR(AlphaOf(Host.PixelAt(*glass, 12, 12)), 128, 1);
    EXPECT_EQ(Host.WindowOf(*glass)->Transparency, TTransparency::PerPixelAlpha);
}
