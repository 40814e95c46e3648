// Pixel-exact checks of TBitmap32: storage precision, fills, frames, lines,
// the draw and combine modes, scaling and copies. Expected values follow
// the arithmetic documented in bitmap32.h.
#include "platform/gfx/bitmap32.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

constexpr TColor32 R = Color32(255, 0, 0);
constexpr TColor32 B = Color32(0, 0, 255);
constexpr TColor32 W = Color32(255, 255, 255);

// The bitmap as rows of characters, one per pixel, so a whole picture can be
// compared at once: '.' transparent, letters from the legend, '?' other.
std::vector<std::string> Picture(const TBitmap32& b, const std::map<TColor32, char>& legend) {
    std::vector<std::string> rows;
    for (int y = 0; y < b.Height(); ++y) {
        std::string row;
        for (int x = 0; x < b.Width(); ++x) {
            TColor32 c = b.Pixel(x, y);
            auto it = legend.find(c);
            row += c == 0 ? '.' : it != legend.end() ? it->second : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

const std::map<TColor32, char> Legend = {{R, 'R'}, {B, 'B'}, {W, 'W'}};

using Rows = std::vector<std::string>;

}  // namespace

TEST(Bitmap32, NewPixelsAreTransparentAndOutsideReadsZero) {
    TBitmap32 b(3, 2);
    EXPECT_EQ(Picture(b, Legend), (Rows{"...", "..."}));
    b.Clear(R);
    EXPECT_EQ(b.Pixel(-1, 0), 0u);
    EXPECT_EQ(b.Pixel(3, 0), 0u);
    EXPECT_EQ(b.Pixel(0, 2), 0u);
    b.SetPixel(3, 0, B);  // ignored, not written past the row
    b.SetPixel(-1, 1, B);
    EXPECT_EQ(Picture(b, Legend), (Rows{"RRR", "RRR"}));
    b.SetSize(2, 2);
    EXPECT_EQ(Picture(b, Legend), (Rows{"..", ".."}));
}

TEST(Bitmap32, StoredColoursReadBackWithinTheirAlphasPrecision) {
    struct TCase {
        TColor32 Set, Read;
    } cases[] = {
        {Color32(12, 34, 56), Color32(12, 34, 56)},
        {Color32(255, 0, 0, 128), Color32(255, 0, 0, 128)},
        {Color32(200, 100, 50, 128), Color32(199, 100, 50, 128)},
        {Color32(90, 180, 45, 200), Color32(91, 180, 45, 200)},
        {Color32(255, 255, 255, 1), Color32(255, 255, 255, 1)},
        {Color32(10, 20, 30, 3), Color32(0, 0, 0, 3)},
        {Color32(10, 20, 30, 0), 0},
    };
    TBitmap32 b(1, 1);
    for (const auto& c : cases) {
        b.SetPixel(0, 0, c.Set);
        EXPECT_EQ(b.Pixel(0, 0), c.Read) << std::hex << c.Set;
    }
}

TEST(Bitmap32, FillRectIsClippedToTheBitmap) {
    TBitmap32 b(4, 3);
    b.FillRect({-2, -2, 2, 1}, R);
    b.FillRect({3, 1, 9, 9}, B);
    b.FillRect({2, 2, 1, 3}, W);  // empty rectangle
    EXPECT_EQ(Picture(b, Legend), (Rows{"RR..", "...B", "...B"}));
}

TEST(Bitmap32, FillRectReplacesAndFillRectBlendComposites) {
    TBitmap32 b(2, 1);
    b.Clear(W);
    b.FillRect({0, 0, 1, 1}, Color32(0, 0, 0, 128));
    b.FillRectBlend({1, 0, 2, 1}, Color32(0, 0, 0, 128));
    EXPECT_EQ(b.Pixel(0, 0), Color32(0, 0, 0, 128));
    EXPECT_EQ(b.Pixel(1, 0), Color32(127, 127, 127));
}

TEST(Bitmap32, FrameRectDrawsOnePixelInsideTheRectangle) {
    TBitmap32 b(6, 5);
    b.FrameRect({0, 0, 5, 4}, R);
    b.FrameRect({4, 3, 8, 8}, B);  // partly outside: only its top-left shows
    EXPECT_EQ(Picture(b, Legend), (Rows{"RRRRR.", "R...R.", "R...R.", "RRRRBB", "....B."}));
    TBitmap32 small(3, 3);
    small.FrameRect({1, 0, 2, 3}, W);  // one pixel wide: a column
    EXPECT_EQ(Picture(small, Legend), (Rows{".W.", ".W.", ".W."}));
}

TEST(Bitmap32, LinesStopBeforeTheirEndPointAndClip) {
    struct TCase {
        int X1, Y1, X2, Y2;
        Rows Expected;
    } cases[] = {
        {0, 1, 4, 1, {".....", "RRRR.", ".....", "....."}},
        {4, 1, 0, 1, {".....", ".RRRR", ".....", "....."}},
        {2, 0, 2, 3, {"..R..", "..R..", "..R..", "....."}},
        {0, 0, 4, 4, {"R....", ".R...", "..R..", "...R."}},
        {-2, -2, 3, 3, {"R....", ".R...", "..R..", "....."}},
        {0, 3, 4, 1, {".....", "...R.", ".RR..", "R...."}},
        {7, 0, 9, 0, {".....", ".....", ".....", "....."}},
        {2, 2, 2, 2, {".....", ".....", ".....", "....."}},
    };
    for (const auto& c : cases) {
        TBitmap32 b(5, 4);
        b.Line(c.X1, c.Y1, c.X2, c.Y2, R);
        EXPECT_EQ(Picture(b, Legend), c.Expected) << c.X1 << "," << c.Y1 << " -> " << c.X2 << "," << c.Y2;
    }
}

TEST(Bitmap32, DrawModesTable) {
    struct TCase {
        TColor32 Source, Target;
        TDrawMode Draw;
        TCombineMode Combine;
        uint8_t Master;
        TColor32 Expected;
    } cases[] = {
        // Opaque copies, alpha included, and ignores the master alpha.
        {Color32(10, 20, 30, 128), W, TDrawMode::Opaque, TCombineMode::Blend, 100, Color32(10, 20, 30, 128)},
        {0, R, TDrawMode::Opaque, TCombineMode::Merge, 255, 0},
        // Blend keeps the target's alpha.
        {Color32(0, 0, 0, 128), W, TDrawMode::Blend, TCombineMode::Blend, 255, Color32(127, 127, 127)},
        {Color32(0, 0, 0), W, TDrawMode::Blend, TCombineMode::Blend, 128, Color32(127, 127, 127)},
        {R, Color32(0, 0, 255, 128), TDrawMode::Blend, TCombineMode::Blend, 255, Color32(255, 0, 0, 128)},
        {Color32(255, 0, 0, 128), Color32(0, 0, 255, 128), TDrawMode::Blend, TCombineMode::Blend, 255,
         Color32(128, 0, 128, 128)},
        {Color32(255, 0, 0, 128), 0, TDrawMode::Blend, TCombineMode::Blend, 255, 0},
        {Color32(200, 100, 50, 64), Color32(10, 20, 30), TDrawMode::Blend, TCombineMode::Blend, 255,
         Color32(57, 40, 36)},
        {Color32(200, 100, 50, 64), Color32(10, 20, 30), TDrawMode::Blend, TCombineMode::Blend, 200,
         Color32(47, 36, 34)},
        {Color32(90, 180, 45, 200), Color32(20, 40, 240, 100), TDrawMode::Blend, TCombineMode::Blend, 77,
         Color32(38, 74, 194, 100)},
        // Merge composites both alphas.
        {Color32(0, 0, 0, 128), W, TDrawMode::Blend, TCombineMode::Merge, 255, Color32(127, 127, 127)},
        {R, Color32(0, 0, 255, 128), TDrawMode::Blend, TCombineMode::Merge, 255, R},
        {Color32(255, 0, 0, 128), 0, TDrawMode::Blend, TCombineMode::Merge, 255, Color32(255, 0, 0, 128)},
        {Color32(255, 0, 0, 128), Color32(0, 0, 255, 128), TDrawMode::Blend, TCombineMode::Merge, 255,
         Color32(170, 0, 85, 192)},
        {Color32(0, 255, 0), W, TDrawMode::Blend, TCombineMode::Merge, 128, Color32(127, 255, 127)},
        {Color32(200, 100, 50, 64), Color32(10, 20, 30), TDrawMode::Blend, TCombineMode::Merge, 255,
         Color32(57, 40, 35)},
        {Color32(90, 180, 45, 200), Color32(20, 40, 240, 100), TDrawMode::Blend, TCombineMode::Merge, 77,
         Color32(51, 103, 156, 136)},
        // Nothing to draw leaves the target as it was.
        {Color32(255, 0, 0, 0), B, TDrawMode::Blend, TCombineMode::Merge, 255, B},
        {R, B, TDrawMode::Blend, TCombineMode::Blend, 0, B},
        {R, B, TDrawMode::Blend, TCombineMode::Merge, 0, B},
    };
    for (const auto& c : cases) {
        TBitmap32 source(1, 1), target(1, 1);
        source.SetPixel(0, 0, c.Source);
        target.SetPixel(0, 0, c.Target);
        source.DrawMode = c.Draw;
        source.CombineMode = c.Combine;
        source.MasterAlpha = c.Master;
        target.Draw(0, 0, source);
        EXPECT_EQ(target.Pixel(0, 0), c.Expected)
            << std::hex << "source " << c.Source << " target " << c.Target << " master " << std::dec
            << int(c.Master) << " combine " << int(c.Combine);
    }
}

TEST(Bitmap32, BlendUsesEachSourcePixelsAlpha) {
    TBitmap32 source(4, 1), target(4, 1);
    source.SetPixel(0, 0, Color32(0, 0, 0, 0));
    source.SetPixel(1, 0, Color32(0, 0, 0, 64));
    source.SetPixel(2, 0, Color32(0, 0, 0, 192));
    source.SetPixel(3, 0, Color32(0, 0, 0, 255));
    source.DrawMode = TDrawMode::Blend;
    target.Clear(W);
    target.Draw(0, 0, source);
    EXPECT_EQ(target.Pixel(0, 0), W);
    EXPECT_EQ(target.Pixel(1, 0), Color32(191, 191, 191));
    EXPECT_EQ(target.Pixel(2, 0), Color32(63, 63, 63));
    EXPECT_EQ(target.Pixel(3, 0), Color32(0, 0, 0));
}

TEST(Bitmap32, DrawClipsToBothBitmapsAndHonoursTheSourceRect) {
    TBitmap32 source(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) source.SetPixel(x, y, (x + y) % 2 ? R : B);
    TBitmap32 target(4, 3);
    target.Draw(-1, -1, source);  // source (1,1) lands on (0,0)
    EXPECT_EQ(Picture(target, Legend), (Rows{"BR..", "RB..", "...."}));
    target.Clear(0);
    target.Draw(2, 2, {1, 0, 3, 1}, source);  // the part {1,0}-{3,1}, cut at the bottom
    EXPECT_EQ(Picture(target, Legend), (Rows{"....", "....", "..RB"}));
    target.Clear(0);
    target.Draw(1, 0, {-1, 0, 2, 1}, source);  // the rect's outside part moves nothing
    EXPECT_EQ(Picture(target, Legend), (Rows{"..BR", "....", "...."}));
}

TEST(Bitmap32, DrawOntoItselfReadsTheOriginalPixels) {
    TBitmap32 b(4, 1);
    b.SetPixel(0, 0, R);
    b.SetPixel(1, 0, B);
    b.SetPixel(2, 0, W);
    b.Draw(1, 0, b);
    EXPECT_EQ(Picture(b, Legend), (Rows{"RRBW"}));
}

TEST(Bitmap32, StretchDrawBilinearTwoToFour) {
    // Grey columns 0 | 255 sampled at -0.25, 0.25, 0.75, 1.25 (clamped).
    TBitmap32 source(2, 2);
    source.FillRect({0, 0, 1, 2}, Color32(0, 0, 0));
    source.FillRect({1, 0, 2, 2}, W);
    TBitmap32 target(4, 4);
    target.StretchDraw({0, 0, 4, 4}, source.BoundsRect(), source);
    const uint8_t expected[] = {0, 64, 191, 255};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(target.Pixel(x, y), Color32(expected[x], expected[x], expected[x])) << x << "," << y;
}

TEST(Bitmap32, StretchDrawBilinearInBothDirections) {
    // One white corner: the weights multiply, (0.75 * 0.75) of 255 at (1,1).
    TBitmap32 source(2, 2);
    source.Clear(Color32(0, 0, 0));
    source.SetPixel(0, 0, W);
    TBitmap32 target(4, 4);
    target.StretchDraw({0, 0, 4, 4}, source.BoundsRect(), source);
    const uint8_t expected[4][4] = {{255, 191, 64, 0}, {191, 143, 48, 0}, {64, 48, 16, 0}, {0, 0, 0, 0}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(RedOf(target.Pixel(x, y)), expected[y][x]) << x << "," << y;
}

TEST(Bitmap32, StretchDrawOfARegionWithClippingAndModes) {
    TBitmap32 source(4, 4);
    source.Clear(R);
    source.FillRect({1, 1, 3, 3}, Color32(0, 0, 255, 128));
    TBitmap32 target(5, 5);
    target.Clear(W);
    source.DrawMode = TDrawMode::Blend;
    source.CombineMode = TCombineMode::Blend;
    // The half-transparent blue centre, scaled to 6x6 and placed at (-1,-1).
    target.StretchDraw({-1, -1, 5, 5}, {1, 1, 3, 3}, source);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) ASSERT_EQ(target.Pixel(x, y), Color32(127, 127, 255)) << x << "," << y;
}

TEST(Bitmap32, StretchDrawAtTheSameSizeCopiesAndHalvingAverages) {
    TBitmap32 source(4, 1);
    const TColor32 px[] = {Color32(0, 0, 0), Color32(100, 100, 100), Color32(200, 0, 0), Color32(0, 0, 200)};
    for (int x = 0; x < 4; ++x) source.SetPixel(x, 0, px[x]);
    TBitmap32 same(4, 1);
    same.StretchDraw({0, 0, 4, 1}, source.BoundsRect(), source);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(same.Pixel(x, 0), px[x]);
    TBitmap32 half(2, 1);
    half.StretchDraw({0, 0, 2, 1}, source.BoundsRect(), source);
    EXPECT_EQ(half.Pixel(0, 0), Color32(50, 50, 50));
    EXPECT_EQ(half.Pixel(1, 0), Color32(100, 0, 100));
}

TEST(Bitmap32, CopyTakesARegionAndLeavesTheOutsideTransparent) {
    TBitmap32 b(3, 2);
    b.FillRect({0, 0, 3, 1}, R);
    b.FillRect({0, 1, 3, 2}, B);
    b.SetPixel(2, 1, W);
    TBitmap32 c = b.Copy({1, 1, 4, 3});
    ASSERT_EQ(c.Width(), 3);
    ASSERT_EQ(c.Height(), 2);
    EXPECT_EQ(Picture(c, Legend), (Rows{"BW.", "..."}));
    TBitmap32 all = b.Copy(b.BoundsRect());
    b.Clear(0);  // the copy is independent
    EXPECT_EQ(Picture(all, Legend), (Rows{"RRR", "BBW"}));
}

TEST(Bitmap32, CopiesAndMovesKeepPixelsAndModes) {
    TBitmap32 a(2, 1);
    a.SetPixel(1, 0, R);
    a.DrawMode = TDrawMode::Blend;
    a.MasterAlpha = 9;
    TBitmap32 copy(a);
    a.SetPixel(1, 0, B);
    EXPECT_EQ(Picture(copy, Legend), (Rows{".R"}));
    EXPECT_EQ(copy.DrawMode, TDrawMode::Blend);
    EXPECT_EQ(copy.MasterAlpha, 9);
    TBitmap32 moved(std::move(copy));
    EXPECT_EQ(Picture(moved, Legend), (Rows{".R"}));
    TBitmap32 assigned;
    assigned = std::move(moved);
    EXPECT_EQ(Picture(assigned, Legend), (Rows{".R"}));
    assigned = a;
    EXPECT_EQ(Picture(assigned, Legend), (Rows{".B"}));
}

TEST(Bitmap32, ScaleOpacityAndResetAlphaKeepTheColour) {
    TBitmap32 b(2, 1);
    b.Clear(R);
    b.ScaleOpacity({1, 0, 2, 1}, 128);
    EXPECT_EQ(b.Pixel(0, 0), R);
    EXPECT_EQ(b.Pixel(1, 0), Color32(255, 0, 0, 128));
    b.ResetAlpha();
    EXPECT_EQ(b.Pixel(1, 0), R);
}

TEST(Bitmap32, ScaleOpacityRoundsEveryStoredValueToNearest) {
    // Every stored channel value against every factor: v * m / 255 rounded
    // (never exactly half, as 2 * v * m is even and 255 odd).
    TBitmap32 b(256, 1);
    for (int m = 0; m < 256; ++m) {
        auto* row = reinterpret_cast<uint32_t*>(b.Data());
        for (uint32_t v = 0; v < 256; ++v) row[v] = v * 0x01010101u;
        b.MarkDirty();
        b.ScaleOpacity(b.BoundsRect(), uint8_t(m));
        row = reinterpret_cast<uint32_t*>(b.Data());
        for (uint32_t v = 0; v < 256; ++v) {
            const auto expected = uint32_t(v * m / 255.0 + 0.5);
            ASSERT_EQ(row[v], expected * 0x01010101u) << "v " << v << " m " << m;
        }
    }
}

TEST(Bitmap32, RoundRectFillsInsideAndFramesTheEdge) {
    TBitmap32 b(12, 10);
    b.RoundRect({1, 1, 11, 9}, 3, R, B);
    EXPECT_EQ(b.Pixel(0, 5), 0u);       // outside
    EXPECT_LT(AlphaOf(b.Pixel(1, 1)), 64);  // mostly cut away by the rounded corner
    EXPECT_EQ(b.Pixel(6, 1), B);        // top edge
    EXPECT_EQ(b.Pixel(1, 5), B);        // left edge
    EXPECT_EQ(b.Pixel(10, 5), B);       // right edge, inside the rectangle
    EXPECT_EQ(b.Pixel(11, 5), 0u);
    EXPECT_EQ(b.Pixel(6, 5), R);        // inside
    EXPECT_EQ(b.Pixel(6, 8), B);        // bottom edge
}

TEST(Bitmap32, PlatformColoursConvert) {
    EXPECT_EQ(Color32FromColor(0x00332211), Color32(0x11, 0x22, 0x33));
    EXPECT_EQ(Color32FromColor(0x000000FF, 128), Color32(255, 0, 0, 128));
    EXPECT_EQ(Color32FromColor(clNone), 0u);
    EXPECT_EQ(Color32FromColor(0x80000005), W);  // window background
}
