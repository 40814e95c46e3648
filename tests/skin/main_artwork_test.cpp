// The main window's artwork: the empty-tab pictures, the row hover buttons,
// the sound test buttons, the "new reminder" button, the bottom bar's link
// buttons and the backup menu opener. Each is there at the size the form
// places it at, every state frame is its own, the glyphs sit in the middle
// of their frames and keep off the frames' outer pixels, so neighbouring
// buttons never run together and the link buttons' last row leaves the
// window's border line showing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

#include "artwork_checks.h"

namespace {

const std::initializer_list<TStripCase> MainArtwork = {
    {"main_empty_unfinished", 150, 150, 1}, {"main_empty_note", 110, 80, 1},
    {"main_empty_completed", 160, 130, 1},  {"row_btn_details", 100, 29, 4},
    {"row_btn_finish", 100, 29, 4},         {"row_btn_recover", 100, 29, 4},
    {"row_btn_delete", 100, 29, 4},         {"voice_play", 104, 24, 4},
    {"voice_stop", 104, 24, 4},             {"btn_new", 148, 34, 4},
    {"share_like", 80, 19, 4},              {"share_chat", 80, 19, 4},
    {"share_mail", 80, 19, 4},              {"share_home", 80, 19, 4},
    {"backup_icon", 16, 16, 1},
};

constexpr TColor32 Accent = Color32(22, 149, 230);

int Luminance(TColor32 c) { return (RedOf(c) * 3 + GreenOf(c) * 6 + BlueOf(c)) / 10; }

// The smallest rectangle of a frame holding every pixel the test accepts
// (right and bottom exclusive; empty when none is accepted).
template <typename TAccept>
TRect BoxOf(const TBitmap32& image, int frameLeft, int frameWidth, TAccept accept) {
    TRect box{frameWidth, image.Height(), 0, 0};
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < frameWidth; ++x)
            if (accept(image.Pixel(frameLeft + x, y))) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box;
}

bool Opaque(TColor32 c) { return AlphaOf(c) >= 128; }

// The box's middle lies within 1.5 pixels of (cx, cy) both ways.
void ExpectCentred(const TRect& box, double cx, double cy) {
    ASSERT_LT(box.Left, box.Right) << "nothing drawn";
    EXPECT_NEAR((box.Left + box.Right) / 2.0, cx, 1.5) << box.Left << ".." << box.Right;
    EXPECT_NEAR((box.Top + box.Bottom) / 2.0, cy, 1.5) << box.Top << ".." << box.Bottom;
}

TEST(MainArtwork, ImagesHaveTheirSizesAndDistinctFramesEachDrawnInsideItsOuterPixels) {
    ExpectStripsWithDistinctFrames(MainArtwork);
    for (const TStripCase& c : MainArtwork) {
        SCOPED_TRACE(c.Name);
        const TBitmap32 image = SkinArtwork(c.Name);
        ASSERT_EQ(image.Width(), c.Width);
        const int fw = c.Width / c.Frames;
        for (int f = 0; f < c.Frames; ++f) {
            const TRect box = BoxOf(image, f * fw, fw, [](TColor32 p) { return AlphaOf(p) != 0; });
            ASSERT_LT(box.Left, box.Right) << "frame " << f << " is empty";
            EXPECT_GE(box.Left, 1) << "frame " << f;
            EXPECT_GE(box.Top, 1) << "frame " << f;
            EXPECT_LE(box.Right, fw - 1) << "frame " << f;
            EXPECT_LE(box.Bottom, c.Height - 1) << "frame " << f;
        }
    }
}

TEST(MainArtwork, GlyphsSitInTheMiddleOfTheirFrames) {
    for (const char* name : {"row_btn_details", "row_btn_finish", "row_btn_recover", "row_btn_delete"}) {
        SCOPED_TRACE(name);
        ExpectCentred(BoxOf(SkinArtwork(name), 0, 25, Opaque), 12.5, 14.5);
    }
    // The link buttons' usable rows are 1..17: row 18 lies on the border line.
    for (const char* name : {"share_like", "share_chat", "share_mail", "share_home"}) {
        SCOPED_TRACE(name);
        ExpectCentred(BoxOf(SkinArtwork(name), 0, 20, Opaque), 10, 9.5);
    }
    // The sound buttons' glyphs are the dark pixels on their white face.
    for (const char* name : {"voice_play", "voice_stop"}) {
        SCOPED_TRACE(name);
        ExpectCentred(BoxOf(SkinArtwork(name), 0, 26,
                            [](TColor32 p) { return Opaque(p) && Luminance(p) < 140; }),
                      13, 12);
    }
}

// The colour a strip's frame shows at the first fully opaque pixel of its
// normal frame's glyph (a frame without a background there).
TColor32 GlyphColour(const TBitmap32& strip, int frameWidth, int frame) {
    for (int y = 0; y < strip.Height(); ++y)
        for (int x = 0; x < frameWidth; ++x)
            if (AlphaOf(strip.Pixel(x, y)) == 255) return strip.Pixel(frame * frameWidth + x, y);
    return 0;
}

TEST(MainArtwork, RowButtonsLightUpInTheColourOfTheirAction) {
    const TBitmap32 finish = SkinArtwork("row_btn_finish"), remove = SkinArtwork("row_btn_delete");
    const TColor32 green = GlyphColour(finish, 25, 1), red = GlyphColour(remove, 25, 1);
    EXPECT_GT(GreenOf(green), RedOf(green) + 60);
    EXPECT_GT(GreenOf(green), BlueOf(green) + 40);
    EXPECT_GT(RedOf(red), GreenOf(red) + 100);
    EXPECT_GT(RedOf(red), BlueOf(red) + 100);
    EXPECT_EQ(GlyphColour(SkinArtwork("row_btn_details"), 25, 1), Accent);
    EXPECT_EQ(GlyphColour(SkinArtwork("row_btn_recover"), 25, 1), Accent);
    // The square behind the glyph: none at rest or disabled, light under the
    // mouse and darker while pressed.
    for (const char* name : {"row_btn_details", "row_btn_finish", "row_btn_recover", "row_btn_delete"}) {
        SCOPED_TRACE(name);
        const TBitmap32 strip = SkinArtwork(name);
        EXPECT_EQ(AlphaOf(strip.Pixel(3, 14)), 0);
        EXPECT_EQ(AlphaOf(strip.Pixel(75 + 3, 14)), 0);
        const TColor32 hover = strip.Pixel(25 + 3, 14), pressed = strip.Pixel(50 + 3, 14);
        EXPECT_EQ(AlphaOf(hover), 255);
        EXPECT_GT(Luminance(hover), 215);
        EXPECT_LT(Luminance(pressed), Luminance(hover));
    }
}

TEST(MainArtwork, NewButtonIsAnAccentCircleWithAPlusOnWholePixels) {
    const TBitmap32 btn = SkinArtwork("btn_new");
    const TColor32 white = Color32(255, 255, 255);
    // Vertical bar in columns 17..19, horizontal bar in rows 15..17: no
    // blended column or row on either side.
    const struct {
        int X, Y;
        TColor32 Colour;
    } points[] = {{8, 16, Accent},  {18, 16, white}, {16, 12, Accent}, {17, 12, white}, {19, 12, white},
                  {20, 12, Accent}, {14, 14, Accent}, {14, 15, white}, {14, 17, white}, {14, 18, Accent}};
    for (const auto& p : points) EXPECT_EQ(btn.Pixel(p.X, p.Y), p.Colour) << p.X << "," << p.Y;
    // Hover and pressed deepen the blue; disabled turns grey.
    EXPECT_LT(Luminance(btn.Pixel(37 + 8, 16)), Luminance(Accent));
    EXPECT_LT(Luminance(btn.Pixel(74 + 8, 16)), Luminance(btn.Pixel(37 + 8, 16)));
    const TColor32 off = btn.Pixel(111 + 8, 16);
    EXPECT_LE(BlueOf(off) - RedOf(off), 12);
}

TEST(MainArtwork, PicturesKeepTheirPalettes) {
    // The empty Unfinished pictures are soft blue, the Completed one grey.
    int blue = 0, coloured = 0;
    const TBitmap32 clock = SkinArtwork("main_empty_unfinished");
    for (int y = 0; y < clock.Height(); ++y)
        for (int x = 0; x < clock.Width(); ++x) {
            const TColor32 p = clock.Pixel(x, y);
            if (AlphaOf(p) < 128 || Luminance(p) > 245) continue;
            ++coloured;
            if (BlueOf(p) > RedOf(p) + 30) ++blue;
        }
    EXPECT_GT(blue * 10, coloured * 7) << blue << " of " << coloured;
    const TBitmap32 arrow = SkinArtwork("main_empty_note");
    for (int y = 0; y < arrow.Height(); ++y)
        for (int x = 0; x < arrow.Width(); ++x)
            if (Opaque(arrow.Pixel(x, y))) {
                ASSERT_GT(BlueOf(arrow.Pixel(x, y)), RedOf(arrow.Pixel(x, y)) + 60) << x << "," << y;
            }
    const TBitmap32 tray = SkinArtwork("main_empty_completed");
    for (int y = 0; y < tray.Height(); ++y)
        for (int x = 0; x < tray.Width(); ++x) {
            const TColor32 p = tray.Pixel(x, y);
            if (AlphaOf(p) < 128) continue;
            ASSERT_LE(std::abs(RedOf(p) - GreenOf(p)) + std::abs(GreenOf(p) - BlueOf(p)), 4) << x << "," << y;
        }
    // The backup opener is light on the dark caption bar.
    const TBitmap32 box = SkinArtwork("backup_icon");
    for (int y = 0; y < box.Height(); ++y)
        for (int x = 0; x < box.Width(); ++x)
            if (Opaque(box.Pixel(x, y))) {
                ASSERT_GT(Luminance(box.Pixel(x, y)), 180) << x << "," << y;
            }
}

}  // namespace
