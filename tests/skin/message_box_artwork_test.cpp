// The message box artwork: each strip at the size the box cuts it by, its
// frames distinct, the bands a grown box repeats uniform, and the close
// button clear of the border lines it hangs over.
#include <gtest/gtest.h>

#include "artwork_checks.h"

namespace {

TEST(MessageBoxArtwork, StripsHaveTheirSizesAndDistinctFrames) {
    ExpectStripsWithDistinctFrames({{"msgbox_skin", 280, 154, 1},
                 {"msgbox_close", 90, 20, 3},
                 {"msgbox_buttons", 392, 24, 4},
                 {"msgbox_icons", 140, 35, 4}});
}

TEST(MessageBoxArtwork, GrownBandsAreUniformAndTheFrameHasItsLines) {
    const TBitmap32 skin = SkinArtwork("msgbox_skin");
    for (int y = 0; y < skin.Height(); ++y)
        for (int x = 6; x < 25; ++x) ASSERT_EQ(skin.Pixel(x, y), skin.Pixel(5, y)) << x << "," << y;
    for (int y = 31; y < 35; ++y)
        for (int x = 0; x < skin.Width(); ++x) ASSERT_EQ(skin.Pixel(x, y), skin.Pixel(x, 30)) << x << "," << y;
    // Shadow outside the 3-pixel inset, border lines inside it, a dark
    // caption band down to row 22 and white content under it.
    EXPECT_GT(AlphaOf(skin.Pixel(140, 0)), 0);
    EXPECT_LT(AlphaOf(skin.Pixel(140, 0)), 64);
    EXPECT_EQ(skin.Pixel(140, 3), Color32(42, 45, 50));
    EXPECT_EQ(skin.Pixel(140, 4), Color32(64, 70, 79));
    EXPECT_EQ(skin.Pixel(276, 80), Color32(42, 45, 50));
    const TColor32 band = skin.Pixel(140, 22);
    EXPECT_LT(RedOf(band) + GreenOf(band) + BlueOf(band), 3 * 80);
    EXPECT_EQ(skin.Pixel(140, 23), Color32(255, 255, 255));
}

TEST(MessageBoxArtwork, CloseButtonLeavesTheBorderLinesVisible) {
    const TBitmap32 strip = SkinArtwork("msgbox_close");
    for (int f = 0; f < 3; ++f)
        for (int y = 0; y < strip.Height(); ++y)
            for (int x = 0; x < strip.Width() / 3; ++x)
                if (y < 2 || x >= 28) {
                    ASSERT_EQ(AlphaOf(strip.Pixel(f * 30 + x, y)), 0) << f << ":" << x << "," << y;
                }
    EXPECT_EQ(AlphaOf(strip.Pixel(30 + 3, 10)), 255) << "the hover frame is filled";
}

TEST(MessageBoxArtwork, IconsTakeTheirColours) {
    const TBitmap32 icons = SkinArtwork("msgbox_icons");
    // A point of each shape's face away from its white mark.
    const TColor32 warning = icons.Pixel(10, 26), error = icons.Pixel(35 + 6, 17);
    const TColor32 info = icons.Pixel(70 + 8, 17), question = icons.Pixel(105 + 8, 17);
    EXPECT_GT(RedOf(warning), 200);
    EXPECT_GT(GreenOf(warning), 120);
    EXPECT_LT(BlueOf(warning), 80);
    EXPECT_GT(RedOf(error), 200);
    EXPECT_LT(GreenOf(error), 100);
    EXPECT_EQ(info, Color32(22, 149, 230));
    EXPECT_GT(BlueOf(question), RedOf(question) + 60);
}

}  // namespace
