// The image helpers on small hand-made images: which source pixel lands
// where after cutting and tiling, and the exact channel arithmetic of the
// fading, greying and tinting helpers.
#include "skin/orb_image_ops.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Every pixel tells where it came from: red is x * 10, green y * 10.
TColor32 At(int x, int y) { return Color32(uint8_t(x * 10), uint8_t(y * 10), 77); }

TPngImage MakeImage(int w, int h, const std::function<TColor32(int, int)>& colour = At) {
    TPngImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.SetPixel(x, y, colour(x, y));
    return image;
}

void ExpectBlendMerge(const TBitmap32& b) {
    EXPECT_EQ(b.DrawMode, TDrawMode::Blend);
    EXPECT_EQ(b.CombineMode, TCombineMode::Merge);
}

// Source column (or row) for target position t of a target n long, cut at
// p1, p2 from a source of length len, the middle repeated.
int SourceOf(int t, int n, int p1, int p2, int len) {
    if (t < p1) return t;
    if (t >= n - (len - p2)) return p2 + t - (n - (len - p2));
    return p1 + (t - p1) % (p2 - p1);
}

template <typename TPieces>
std::vector<int> Sizes(const TPieces& pieces, int (TPngImage::*size)() const) {
    std::vector<int> out;
    for (const TPngImage& p : pieces) out.push_back((p.*size)());
    return out;
}

const TColor Blue = 0x00FF0000;   // platform colour 0x00BBGGRR
const TColor Green = 0x00008000;

}  // namespace

TEST(SliceState, FramesOfEqualWidth) {
    const TPngImage strip = MakeImage(90, 2);
    EXPECT_FALSE(SliceState(strip, 4, 0));  // 90 is not a multiple of 4
    EXPECT_FALSE(SliceState(strip, 3, 3));
    EXPECT_FALSE(SliceState(strip, 3, -1));
    EXPECT_FALSE(SliceState(strip, 0, 0));
    EXPECT_FALSE(SliceState(TPngImage(), 1, 0));

    auto frame = SliceState(strip, 3, 2);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->Width(), 30);
    EXPECT_EQ(frame->Height(), 2);
    EXPECT_EQ(frame->Pixel(0, 1), At(60, 1));
    EXPECT_EQ(frame->Pixel(29, 0), At(89, 0));
    ExpectBlendMerge(*frame);
}

TEST(Cut3, PreconditionsAndPieceSizes) {
    const TPngImage image = MakeImage(10, 4);
    EXPECT_FALSE(Cut3H(TPngImage(), 3, 7) || Cut3H(image, 0, 7) || Cut3H(image, 3, 0) || Cut3H(image, 7, 3));
    EXPECT_FALSE(Cut3H(image, 11, 12) || Cut3H(image, 3, 7, 256) || Cut3H(image, 3, 7, -1));
    EXPECT_FALSE(Cut3V(image, 5, 6));  // beyond the height

    auto h = Cut3H(image, 3, 7);
    ASSERT_TRUE(h);
    EXPECT_EQ(Sizes(*h, &TPngImage::Width), (std::vector<int>{3, 4, 3}));
    EXPECT_EQ((*h)[1].Height(), 4);
    EXPECT_EQ((*h)[1].Pixel(0, 2), At(3, 2));
    EXPECT_EQ((*h)[2].Pixel(2, 3), At(9, 3));
    for (const TPngImage& piece : *h) ExpectBlendMerge(piece);

    auto edge = Cut3H(image, 4, 10);  // the right piece has no columns
    ASSERT_TRUE(edge);
    EXPECT_TRUE((*edge)[2].Empty());
    EXPECT_EQ((*edge)[1].Width(), 6);

    auto v = Cut3V(image, 1, 3);
    ASSERT_TRUE(v);
    EXPECT_EQ(Sizes(*v, &TPngImage::Height), (std::vector<int>{1, 2, 1}));
    EXPECT_EQ((*v)[2].Pixel(5, 0), At(5, 3));
}

TEST(Cut3, AlphaAndTintApplyToEveryCopiedPixel) {
    const TPngImage image = MakeImage(4, 1, [](int, int) { return Color32(255, 255, 255, 200); });
    // 200 * 200 / 255 = 156.86: integer division gives 156.
    auto cut = Cut3H(image, 1, 2, 200);
    ASSERT_TRUE(cut);
    for (const TPngImage& piece : *cut) EXPECT_EQ(piece.Pixel(0, 0), Color32(255, 255, 255, 156));
    EXPECT_EQ((*Cut3H(image, 1, 2, 128))[2].Pixel(1, 0), Color32(255, 255, 255, 100));
    EXPECT_EQ((*Cut3H(image, 1, 2, 0))[0].Pixel(0, 0), 0u);

    const TPngImage red = MakeImage(4, 1, [](int, int) { return Color32(255, 0, 0); });
    auto tinted = Cut3H(red, 1, 2, 255, Blue);
    ASSERT_TRUE(tinted);
    EXPECT_EQ((*tinted)[1].Pixel(0, 0), Color32(0, 0, 255));
}

TEST(Cut9, PiecesAndPreconditions) {
    const TPngImage image = MakeImage(9, 8);
    auto pieces = Cut9(image, TPoint{3, 2}, TPoint{6, 5});
    ASSERT_TRUE(pieces);
    EXPECT_EQ(Sizes(*pieces, &TPngImage::Width), (std::vector<int>{3, 3, 3, 3, 3, 3, 3, 3, 3}));
    EXPECT_EQ(Sizes(*pieces, &TPngImage::Height), (std::vector<int>{2, 2, 2, 3, 3, 3, 3, 3, 3}));
    for (const TPngImage& piece : *pieces) ExpectBlendMerge(piece);
    EXPECT_EQ((*pieces)[4].Pixel(0, 0), At(3, 2));
    EXPECT_EQ((*pieces)[5].Pixel(1, 2), At(7, 4));
    EXPECT_EQ((*pieces)[8].Pixel(2, 2), At(8, 7));

    auto padded = Cut9(image, TOrbUIPadding(3, 2, 6, 5), 128);
    ASSERT_TRUE(padded);
    EXPECT_EQ(AlphaOf((*padded)[7].Pixel(1, 1)), 128);

    auto zeroCorner = Cut9(image, TPoint{0, 0}, TPoint{6, 5});
    ASSERT_TRUE(zeroCorner);
    EXPECT_TRUE((*zeroCorner)[0].Empty());

    EXPECT_FALSE(Cut9(image, TPoint{3, 2}, TPoint{3, 5}) || Cut9(image, TPoint{3, 5}, TPoint{6, 5}));
    EXPECT_FALSE(Cut9(image, TPoint{3, 2}, TPoint{9, 5}));  // x2 on the right edge is outside
    EXPECT_FALSE(Cut9(image, TPoint{-1, 2}, TPoint{6, 5}) || Cut9(image, TPoint{3, 2}, TPoint{6, 5}, 300));
    EXPECT_FALSE(Cut9(TPngImage(), TOrbUIPadding(0, 0, 1, 1)));
}

TEST(Assemble9, TilesEdgesAndCentreClippingTheLastRepetition) {
    // Cut at x 1 and 3 of 5, y 2 and 4 of 6: middles two wide and two high,
    // so 8 x 7 repeats each two and a half times.
    TPngImage image = MakeImage(5, 6);
    image.SetPixel(2, 2, 0);  // a hole in the centre piece
    auto pieces = Cut9(image, TPoint{1, 2}, TPoint{3, 4});
    ASSERT_TRUE(pieces);

    TBitmap32 target(8, 7);
    target.Clear(Color32(255, 0, 0));  // stale content must go
    Assemble9(target, 8, 7, *pieces);
    ASSERT_EQ(target.Width(), 8);
    ASSERT_EQ(target.Height(), 7);
    ExpectBlendMerge(target);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(target.Pixel(x, y), image.Pixel(SourceOf(x, 8, 1, 3, 5), SourceOf(y, 7, 2, 4, 6)))
                << x << "," << y;

    Assemble9(target, 0, 7, *pieces);
    EXPECT_TRUE(target.Empty());
}

TEST(Assemble9, SmallerThanTheCornersOverlapsThem) {
    const TPngImage image = MakeImage(6, 6);
    auto pieces = Cut9(image, TPoint{2, 2}, TPoint{4, 4});
    ASSERT_TRUE(pieces);
    TBitmap32 target;
    Assemble9(target, 3, 3, *pieces);
    // Top-left, top-right, bottom-left, bottom-right drawn in that order,
    // each over the one before; no edge or centre pixel shows.
    const TColor32 expected[3][3] = {
        {At(0, 0), At(4, 0), At(5, 0)},
        {At(0, 4), At(4, 4), At(5, 4)},
        {At(0, 5), At(4, 5), At(5, 5)},
    };
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(target.Pixel(x, y), expected[y][x]) << x << "," << y;
}

TEST(Stretch3H, RepeatsTheMiddleColumnByColumn) {
    const TPngImage image = MakeImage(6, 2);
    auto wide = Stretch3H(image, 2, 5, 255, clNone, 10);
    ASSERT_TRUE(wide);
    ASSERT_EQ(wide->Width(), 10);
    ExpectBlendMerge(*wide);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(wide->Pixel(x, y), At(SourceOf(x, 10, 2, 5, 6), y)) << x;

    EXPECT_FALSE(Stretch3H(image, 2, 5, 255, clNone, 0));
    EXPECT_FALSE(Stretch3H(image, 0, 5, 255, clNone, 10));

    // No middle column to repeat: the stretch between the parts stays clear.
    auto gap = Stretch3H(image, 3, 3, 255, clNone, 8);
    ASSERT_TRUE(gap);
    EXPECT_EQ(gap->Pixel(2, 0), At(2, 0));
    EXPECT_EQ(gap->Pixel(3, 0), 0u);
    EXPECT_EQ(gap->Pixel(4, 0), 0u);
    EXPECT_EQ(gap->Pixel(5, 0), At(3, 0));
}

TEST(ScaleAlpha, RoundsColourAndTruncatesAlpha) {
    TBitmap32 b(3, 1);
    b.SetPixel(0, 0, Color32(200, 100, 51));
    b.SetPixel(1, 0, Color32(255, 255, 255, 200));
    b.SetPixel(2, 0, Color32(10, 20, 30));
    ScaleAlpha(b, {0, 0, 2, 1}, 128);
    // 200 -> 100.39, 100 -> 50.2, 51 -> 25.6 (rounded up), 255 -> 128.
    EXPECT_EQ(b.Pixel(0, 0), Color32(100, 50, 26, 128));
    EXPECT_EQ(AlphaOf(b.Pixel(1, 0)), 100);  // 200 * 128 / 255 = 100.39
    EXPECT_EQ(b.Pixel(2, 0), Color32(10, 20, 30));  // outside the rectangle

    TBitmap32 t(1, 1);
    t.SetPixel(0, 0, Color32(0, 0, 0, 200));
    ScaleAlpha(t, t.BoundsRect(), 200);
    EXPECT_EQ(AlphaOf(t.Pixel(0, 0)), 156);  // 156.86 truncated
}

TEST(FadeRight, ColumnsFadeByTheirPosition) {
    TBitmap32 b(6, 1);
    b.Clear(Color32(0, 0, 0));
    b.SetPixel(5, 0, Color32(255, 255, 255));
    FadeRight(b, {1, 0, 5, 1});
    // w = 4: b * 255 / 4 = 0, 63, 127, 191 -> factors 255, 192, 128, 64.
    EXPECT_EQ(b.Pixel(0, 0), Color32(0, 0, 0));
    const uint8_t alphas[] = {255, 192, 128, 64};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(b.Pixel(1 + i, 0), Color32(0, 0, 0, alphas[i])) << i;
    EXPECT_EQ(b.Pixel(5, 0), Color32(255, 255, 255));

    TBitmap32 white(2, 1);
    white.Clear(Color32(255, 255, 255));
    FadeRight(white, white.BoundsRect());
    // The colour darkens with the alpha (128 each); read back through the
    // premultiplied store within one step.
    const TColor32 faded = white.Pixel(1, 0);
    EXPECT_EQ(AlphaOf(faded), 128);
    EXPECT_NEAR(RedOf(faded), 128, 1);
}

TEST(ToGray, LuminanceRoundedAlphaKept) {
    const TColor32 colours[] = {Color32(255, 0, 0), Color32(0, 255, 0), Color32(0, 0, 255), Color32(10, 20, 30),
                                Color32(255, 255, 255, 128)};
    const uint8_t greys[] = {77, 150, 28, 18, 255};  // 76.5, 150.45, 28.05, 18.1, 255
    TPngImage image = MakeImage(5, 1, [&](int x, int) { return colours[x]; });
    image.DrawMode = TDrawMode::Opaque;
    const TPngImage gray = ToGray(image);
    ExpectBlendMerge(gray);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(gray.Pixel(x, 0), Color32(greys[x], greys[x], greys[x], AlphaOf(colours[x]))) << x;
    EXPECT_EQ(image.Pixel(0, 0), colours[0]);
}

TEST(TintHSL, KeepsLightnessTakesHueAndSaturation) {
    struct TCase {
        TColor32 Pixel;
        TColor Tint;
        TColor32 Expected;
    };
    const TCase cases[] = {
        {Color32(255, 0, 0), Blue, Color32(0, 0, 255)},
        {Color32(255, 0, 0), Green, Color32(0, 255, 0)},
        {Color32(255, 0, 0), 0x000080FF, Color32(255, 128, 0)},  // orange, hue 30.1
        {Color32(255, 0, 0, 100), Blue, Color32(0, 0, 255, 100)},
        // Grey 128 has lightness 50.2: pulled 1/255 of the way to white.
        {Color32(128, 128, 128), 0x000000FF, Color32(255, 1, 1)},
        // Grey 64 (lightness 25.1) halves the pure blue.
        {Color32(64, 64, 64), Blue, Color32(0, 0, 128)},
        // A grey tint has no saturation: everything is pulled to 128.
        {Color32(255, 0, 0), 0x00808080, Color32(128, 128, 128)},
        {Color32(255, 255, 255), Blue, Color32(255, 255, 255)},
        {Color32(0, 0, 0), Blue, Color32(0, 0, 0)},
        {Color32(12, 34, 56, 78), clNone, Color32(12, 34, 56, 78)},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(TintHSL(c.Pixel, c.Tint), c.Expected) << std::hex << c.Pixel << " " << c.Tint;
}
