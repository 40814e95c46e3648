// The compiled-in skin images: every image the controls cut up is there at
// its exact size, each state frame shows something of its own, and the
// bands that are repeated when an image is stretched are uniform.
#include "skin/skin_artwork.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

struct TArtworkCase {
    const char* Name;
    int Width, Height, Frames;
};

const TArtworkCase ArtworkCases[] = {
    {"scroll_back", 30, 8, 2},    {"scroll_slider", 60, 22, 4}, {"scroll_btn_lt", 60, 24, 4},
    {"scroll_btn_rb", 60, 24, 4}, {"scroll_center", 60, 8, 4},  {"list_item", 40, 50, 2},
    {"alert_check", 64, 16, 4},   {"menu_back", 28, 40, 1},     {"menu_item", 20, 25, 1},
    {"menu_line", 117, 1, 1},     {"menu_check", 32, 16, 2},    {"menu_radio", 32, 16, 2},
    {"menu_arrow", 48, 16, 3},
};

bool AnyVisible(const TBitmap32& image, int x0, int width) {
    for (int y = 0; y < image.Height(); ++y)
        for (int x = x0; x < x0 + width; ++x)
            if (AlphaOf(image.Pixel(x, y)) != 0) return true;
    return false;
}

bool SameFrames(const TBitmap32& image, int a, int b, int width) {
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < width; ++x)
            if (image.Pixel(a * width + x, y) != image.Pixel(b * width + x, y)) return false;
    return true;
}

// The first column (row) that differs from column (row) `from` inside
// [from, to), or -1 when the band is uniform.
int FirstOddColumn(const TBitmap32& image, int from, int to) {
    for (int x = from + 1; x < to; ++x)
        for (int y = 0; y < image.Height(); ++y)
            if (image.Pixel(x, y) != image.Pixel(from, y)) return x;
    return -1;
}

int FirstOddRow(const TBitmap32& image, int from, int to) {
    for (int y = from + 1; y < to; ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (image.Pixel(x, y) != image.Pixel(x, from)) return y;
    return -1;
}

TEST(SkinArtwork, EveryImageIsThereAtItsSizeWithDistinctVisibleFrames) {
    const auto names = SkinArtworkNames();
    for (const auto& c : ArtworkCases) {
        SCOPED_TRACE(c.Name);
        EXPECT_NE(std::find(names.begin(), names.end(), c.Name), names.end());
        const TBitmap32 image = SkinArtwork(c.Name);
        ASSERT_EQ(image.Width(), c.Width);
        ASSERT_EQ(image.Height(), c.Height);
        const int frameWidth = c.Width / c.Frames;
        for (int f = 0; f < c.Frames; ++f) {
            EXPECT_TRUE(AnyVisible(image, f * frameWidth, frameWidth)) << "frame " << f << " is blank";
            for (int g = 0; g < f; ++g)
                EXPECT_FALSE(SameFrames(image, f, g, frameWidth)) << "frames " << g << " and " << f << " match";
        }
    }
}

TEST(SkinArtwork, RepeatedBandsAreUniform) {
    // Each frame of a strip on its own, as the controls cut them.
    auto frame = [](const char* name, int index, int width) {
        const TBitmap32 strip = SkinArtwork(name);
        return strip.Copy({index * width, 0, (index + 1) * width, strip.Height()});
    };
    for (int f = 0; f < 4; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(FirstOddRow(frame("scroll_slider", f, 15), 7, 15), -1);
    }
    for (int f = 0; f < 2; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(FirstOddRow(frame("scroll_back", f, 15), 0, 8), -1);
        EXPECT_EQ(FirstOddColumn(frame("list_item", f, 20), 5, 15), -1);
        EXPECT_EQ(FirstOddRow(frame("list_item", f, 20), 5, 15), -1);
    }
    const TBitmap32 menu = SkinArtwork("menu_back");
    EXPECT_EQ(FirstOddColumn(menu, 16, 20), -1);
    EXPECT_EQ(FirstOddRow(menu, 6, 15), -1);
    EXPECT_EQ(FirstOddColumn(SkinArtwork("menu_item"), 2, 5), -1);
}

TEST(SkinArtwork, UnknownNameGivesNothing) {
    for (const char* name : {"", "no_such_image", "menu_back.png", "MENU_BACK"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(SkinArtworkBytes(name).empty());
        EXPECT_TRUE(SkinArtwork(name).Empty());
    }
    EXPECT_FALSE(SkinArtworkBytes("menu_back").empty());
}

}  // namespace
