// The edit box artwork: the frame strip and the extra button at the sizes
// the edit cuts them by, their frames distinct, the middle columns that a
// wide edit repeats uniform, and the extra button fitting inside the frame.
#include <gtest/gtest.h>

#include "skin/orb_edit_skin.h"
#include "skin/skin_artwork.h"

namespace {

bool SameColumns(const TBitmap32& image, int ax, int bx, int width) {
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < width; ++x)
            if (image.Pixel(ax + x, y) != image.Pixel(bx + x, y)) return false;
    return true;
}

TEST(EditArtwork, StripsHaveTheirSizesAndDistinctFrames) {
    const struct {
        const char* Name;
        int Width, Height, Frames;
    } cases[] = {{"edit_box", 48, 25, 4}, {"edit_extra_btn", 88, 23, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TBitmap32 image = SkinArtwork(c.Name);
        ASSERT_EQ(image.Width(), c.Width);
        ASSERT_EQ(image.Height(), c.Height);
        const int fw = c.Width / c.Frames;
        for (int f = 0; f < c.Frames; ++f)
            for (int g = 0; g < f; ++g) EXPECT_FALSE(SameColumns(image, f * fw, g * fw, fw)) << g << " vs " << f;
    }
}

TEST(EditArtwork, MiddleColumnsAreUniformAndTheFrameIsOpaqueInside) {
    const TBitmap32 box = SkinArtwork("edit_box");
    for (int frame = 0; frame < 4; ++frame) {
        const int left = frame * 12;
        // Columns 4..7 are the stretched band: all alike.
        for (int x = 5; x < 8; ++x) EXPECT_TRUE(SameColumns(box, left + x, left + 4, 1)) << frame << ":" << x;
        // Crisp lines: the band's top and bottom rows are fully opaque lines,
        // the inside opaque fill (the text never sits on the parent).
        for (int y : {0, 12, 24}) EXPECT_EQ(AlphaOf(box.Pixel(left + 6, y)), 255) << frame << ":" << y;
        EXPECT_NE(box.Pixel(left + 6, 0), box.Pixel(left + 6, 12)) << frame;
    }
}

TEST(EditArtwork, TheProgramSkinGivesAFullHeightBoxAndAnInsetButton) {
    TOrbEdit edit(nullptr);
    LoadProgramEditSkin(edit, TEditExtraButton::Yes);
    edit.SetWidth(160);
    EXPECT_EQ(edit.Height(), 25);
    const TRect extra = edit.ExtraRect();
    EXPECT_EQ(extra, Bounds(160 - 1 - 22, 1, 22, 23));
    EXPECT_LE(edit.TextRect().Right, extra.Left);
}

}  // namespace
