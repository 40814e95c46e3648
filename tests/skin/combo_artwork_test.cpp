// The combo box artwork: each image is there at the size its cut lines and
// frame counts were chosen for, every frame differs from the others, the
// bands that are repeated when a frame is widened are uniform, and the
// drop-down background is opaque white inside and translucent only in its
// shadow.
#include <gtest/gtest.h>

#include "artwork_checks.h"

namespace {

struct TComboArtwork {
    const char* Name;
    int Width, Height, Frames;
};

const TComboArtwork ComboArtwork[] = {
    {"combo_box", 72, 29, 3},
    {"combo_drop_btn", 54, 18, 3},
    {"combo_list_back", 30, 30, 1},
    {"combo_item", 18, 24, 1},
};

// Columns [from, to) of frame `frame` all equal to column `from`.
bool UniformColumns(const TBitmap32& image, int frameLeft, int from, int to) {
    for (int x = from + 1; x < to; ++x)
        for (int y = 0; y < image.Height(); ++y)
            if (image.Pixel(frameLeft + x, y) != image.Pixel(frameLeft + from, y)) return false;
    return true;
}

bool UniformRows(const TBitmap32& image, int from, int to) {
    for (int y = from + 1; y < to; ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (image.Pixel(x, y) != image.Pixel(x, from)) return false;
    return true;
}

TEST(ComboArtwork, ImagesHaveTheirSizesAndDistinctFrames) {
    for (const TComboArtwork& c : ComboArtwork) {
        SCOPED_TRACE(c.Name);
        const TBitmap32 image = SkinArtwork(c.Name);
        ASSERT_EQ(image.Width(), c.Width);
        ASSERT_EQ(image.Height(), c.Height);
        const int frameWidth = c.Width / c.Frames;
        for (int a = 0; a < c.Frames; ++a)
            for (int b = a + 1; b < c.Frames; ++b) EXPECT_FALSE(SameFrames(image, a, b, frameWidth)) << a << " " << b;
    }
}

TEST(ComboArtwork, WidenedBandsAreUniform) {
    // The box is widened at 9 / 14, the rows at 4 / 14, in every frame.
    const TBitmap32 box = SkinArtwork("combo_box");
    for (int frame = 0; frame < 3; ++frame) EXPECT_TRUE(UniformColumns(box, frame * 24, 9, 14)) << frame;
    EXPECT_TRUE(UniformColumns(SkinArtwork("combo_item"), 0, 4, 14));
    // The drop-down background is cut at 10 / 20 both ways.
    const TBitmap32 back = SkinArtwork("combo_list_back");
    EXPECT_TRUE(UniformColumns(back, 0, 10, 20));
    EXPECT_TRUE(UniformRows(back, 10, 20));
}

TEST(ComboArtwork, DropDownBackgroundIsWhiteInsideWithASoftShadow) {
    const TBitmap32 back = SkinArtwork("combo_list_back");
    // The rows start 6 pixels in (AlphaWidth 4 + 2): white from there.
    EXPECT_EQ(back.Pixel(6, 6), Color32(255, 255, 255));
    EXPECT_EQ(back.Pixel(15, 15), Color32(255, 255, 255));
    EXPECT_EQ(back.Pixel(23, 23), Color32(255, 255, 255));
    // The top edge is the border line, meeting the box above; the outermost
    // pixels of the other sides are shadow: translucent, never opaque.
    EXPECT_EQ(back.Pixel(15, 0), Color32(0xc8, 0xcd, 0xd4));
    for (TPoint p : {TPoint{0, 15}, TPoint{29, 15}, TPoint{15, 29}}) {
        const uint8_t a = AlphaOf(back.Pixel(p.X, p.Y));
        EXPECT_GT(a, 0) << p.X << "," << p.Y;
        EXPECT_LT(a, 64) << p.X << "," << p.Y;
    }
}

TEST(ComboArtwork, DropButtonChevronIsCrispAndCentred) {
    const TBitmap32 btn = SkinArtwork("combo_drop_btn");
    // The chevron's point: two opaque pixels in the middle columns, nothing
    // beside them in the normal frame.
    EXPECT_EQ(AlphaOf(btn.Pixel(8, 10)), 255);
    EXPECT_EQ(AlphaOf(btn.Pixel(9, 10)), 255);
    EXPECT_EQ(AlphaOf(btn.Pixel(7, 10)), 0);
    EXPECT_EQ(AlphaOf(btn.Pixel(10, 10)), 0);
    // Left and right arms mirror each other.
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(btn.Pixel(x, y), btn.Pixel(17 - x, y)) << x << "," << y;
}

}  // namespace
