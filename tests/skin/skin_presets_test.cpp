// The program's skin settings: bars built from the shared resource have the
// program's size in both directions, and a horizontal bar shows the
// vertical artwork turned on its side.
#include <gtest/gtest.h>

#include "platform/gui/gui_fixture.h"
#include "skin/skin_presets.h"

namespace {

TEST(SkinPresetsTest, TransposedTurnsColumnsIntoRows) {
    TPngImage image(3, 2);
    image.SetPixel(2, 0, Color32(255, 0, 0));
    image.SetPixel(0, 1, Color32(0, 0, 255, 128));
    const TPngImage out = Transposed(image);
    ASSERT_EQ(out.Width(), 2);
    ASSERT_EQ(out.Height(), 3);
    EXPECT_EQ(out.Pixel(0, 2), Color32(255, 0, 0));
    EXPECT_EQ(out.Pixel(1, 0), image.Pixel(0, 1));
    EXPECT_EQ(AlphaOf(out.Pixel(1, 1)), 0);
}

class SkinPresetsBarTest : public GuiTest {};

TEST_F(SkinPresetsBarTest, BothBarsAreFifteenPixelsAcrossAndDrawTheSameThumb) {
    TForm* form = MakeForm(300, 300);
    TOrbScrollBarRes verRes, horRes;
    LoadProgramScrollBarSkin(verRes.Skin, skVer);
    LoadProgramScrollBarSkin(horRes.Skin, skHor);
    ASSERT_EQ(verRes.Skin.ImgSlider.Width(), 60);
    ASSERT_EQ(horRes.Skin.ImgSlider.Height(), 60);

    // Placed too thick: the artwork decides the thickness.
    auto* ver = form->Add<TOrbScrollBar>();
    ver->SetBounds(10, 10, 40, 200);
    ver->SetScrollRes(&verRes);
    auto* hor = form->Add<TOrbScrollBar>();
    hor->SetKind(skHor);
    hor->SetBounds(60, 10, 200, 40);
    hor->SetScrollRes(&horRes);
    for (TOrbScrollBar* bar : {ver, hor}) bar->SetParams(0, 99, 20, 0);
    Host.Settle();
    EXPECT_EQ(ver->Width(), 15);
    EXPECT_EQ(hor->Height(), 15);

    // The same thumb, once standing and once lying: the pixel across the
    // thumb's middle at the same distance along it matches.
    const TRect vt = ver->Geometry().Thumb, ht = hor->Geometry().Thumb;
    ASSERT_FALSE(vt.IsEmpty());
    ASSERT_EQ(vt.Height(), ht.Width());
    const int along = vt.Height() / 2;
    for (int across = 0; across < 15; ++across)
        EXPECT_EQ(Host.PixelAt(*form, 10 + across, 10 + vt.Top + along),
                  Host.PixelAt(*form, 60 + ht.Left + along, 10 + across))
            << "across " << across;
}

}  // namespace
