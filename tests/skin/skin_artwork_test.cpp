// The compiled-in skin images: every image the controls cut up is there at
// its exact size, each state frame shows something of its own, and the
// bands that are repeated when an image is stretched are uniform.
#include "artwork_checks.h"

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
    {"main_skin", 660, 455, 1},   {"alert_skin", 440, 181, 1},  {"about_skin", 500, 289, 1},
    {"news_skin", 100, 100, 1},   {"btn_close", 135, 20, 3},    {"main_btn_min", 78, 20, 3},
    {"main_btn_menu", 78, 20, 3}, {"news_btn_close", 123, 20, 3}, {"logo", 16, 16, 1},
    {"tab_button", 970, 39, 5},   {"button", 320, 28, 4},       {"check_box", 64, 16, 4},
    {"radio_box", 64, 16, 4},     {"icon_16", 16, 16, 1},       {"icon_22", 22, 22, 1},
    {"icon_24", 24, 24, 1},       {"icon_32", 32, 32, 1},       {"icon_48", 48, 48, 1},
    {"icon_64", 64, 64, 1},       {"icon_128", 128, 128, 1},    {"icon_256", 256, 256, 1},
};

bool AnyVisible(const TBitmap32& image, int x0, int width) {
    for (int y = 0; y < image.Height(); ++y)
        for (int x = x0; x < x0 + width; ++x)
            if (AlphaOf(image.Pixel(x, y)) != 0) return true;
    return false;
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
    for (int f = 0; f < 5; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(FirstOddColumn(frame("tab_button", f, 194), 6, 188), -1);
        EXPECT_EQ(FirstOddRow(frame("tab_button", f, 194), 6, 33), -1);
    }
    for (int f = 0; f < 4; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(FirstOddColumn(frame("button", f, 80), 5, 75), -1);
        EXPECT_EQ(FirstOddRow(frame("button", f, 80), 5, 23), -1);
    }
    const TBitmap32 alert = SkinArtwork("alert_skin");
    EXPECT_EQ(FirstOddColumn(alert, 15, 35), -1);
    EXPECT_EQ(FirstOddRow(alert, 30, 52), -1);
    const TBitmap32 news = SkinArtwork("news_skin");
    EXPECT_EQ(FirstOddColumn(news, 30, 70), -1);
    EXPECT_EQ(FirstOddRow(news, 26, 70), -1);
    const TBitmap32 menu = SkinArtwork("menu_back");
    EXPECT_EQ(FirstOddColumn(menu, 16, 20), -1);
    EXPECT_EQ(FirstOddRow(menu, 6, 15), -1);
    EXPECT_EQ(FirstOddColumn(SkinArtwork("menu_item"), 2, 5), -1);
}

// The frame draws the caption text in white over the band and the main
// window's border lines over the edge: a band one row short, or border
// colours that differ from the frame's, would show at once.
TEST(SkinArtwork, WindowSkinsHaveTheSlateCaptionBandAndTheBorderLines) {
    const TColor32 outer = Color32(42, 45, 50), inner = Color32(64, 70, 79), white = Color32(255, 255, 255);
    const struct {
        const char* Name;
        int CaptionHeight;
    } skins[] = {{"main_skin", 30}, {"alert_skin", 30}, {"about_skin", 30}, {"news_skin", 26}};
    for (const auto& s : skins) {
        SCOPED_TRACE(s.Name);
        const TBitmap32 image = SkinArtwork(s.Name);
        const int middle = image.Width() / 2;
        EXPECT_EQ(image.Pixel(middle, 0), outer);
        EXPECT_EQ(image.Pixel(middle, 1), inner);
        EXPECT_EQ(image.Pixel(0, image.Height() / 2), outer);
        EXPECT_EQ(image.Pixel(image.Width() - 2, image.Height() / 2), inner);
        EXPECT_EQ(image.Pixel(middle, image.Height() - 1), outer);
        const TColor32 band = image.Pixel(middle, s.CaptionHeight - 1);
        EXPECT_LT(RedOf(band) + GreenOf(band) + BlueOf(band), 3 * 80) << "caption band not dark";
        EXPECT_EQ(image.Pixel(image.Width() * 3 / 4, s.CaptionHeight), white);
    }
}

// Caption buttons hang from the window's top edge; their top two rows stay
// clear so the border lines run on above a hovered button. The news
// window's close button also covers the inner border column with its last.
TEST(SkinArtwork, CaptionButtonsLeaveTheBorderLinesVisible) {
    for (const char* name : {"btn_close", "main_btn_min", "main_btn_menu", "news_btn_close"}) {
        SCOPED_TRACE(name);
        const TBitmap32 strip = SkinArtwork(name);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < strip.Width(); ++x) ASSERT_EQ(AlphaOf(strip.Pixel(x, y)), 0) << x << "," << y;
    }
    const TBitmap32 news = SkinArtwork("news_btn_close");
    for (int f = 0; f < 3; ++f)
        for (int y = 0; y < news.Height(); ++y) ASSERT_EQ(AlphaOf(news.Pixel(f * 41 + 40, y)), 0) << f << "," << y;
    // The hover frame is filled behind the glyph, so it shows as a button.
    EXPECT_EQ(AlphaOf(SkinArtwork("btn_close").Pixel(45 + 2, 10)), 255);
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
