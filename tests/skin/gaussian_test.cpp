// The blur kernel's weights and misuse errors, and the two-pass blur on
// small bitmaps whose results were worked out by hand.
#include "skin/orb_gaussian.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <stdexcept>
#include <string>

namespace {

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no exception)";
}

const TColor32 Black = Color32(0, 0, 0);
const TColor32 White = Color32(255, 255, 255);

TBitmap32 OnePixel(int w, int h, int x, int y, TColor32 background, TColor32 dot) {
    TBitmap32 b(w, h);
    b.Clear(background);
    b.SetPixel(x, y, dot);
    return b;
}

}  // namespace

TEST(OrbUIKernel, RejectsMisuseWithItsMessages) {
    EXPECT_EQ(ErrorOf([] { TOrbUIKernel(0, 1); }), "Kenel width is less than or equal to zero.");
    EXPECT_EQ(ErrorOf([] { TOrbUIKernel(1, 0); }), "Kernel height is less than or equal to zero.");
    EXPECT_EQ(ErrorOf([] { TOrbUIKernel(2, 2, {1, 2, 3}); }),
              "The length of the data array is less than the kernel size.");
    EXPECT_THROW(TOrbUIKernel(0, 1), std::invalid_argument);

    TOrbUIKernel k(2, 2, {1, 2, 3, 4, 5});
    EXPECT_EQ(k.Value(1, 1), 4);  // row by row; the extra value is not used
    EXPECT_EQ(ErrorOf([&] { k.Value(2, 0); }), "The index is out of the range");
    EXPECT_EQ(ErrorOf([&] { k.SetValue(0, 2, 1); }), "The index is out of the range");
    EXPECT_THROW(k.Value(-1, 0), std::out_of_range);
}

TEST(OrbUIGaussianFilter, KernelWeights) {
    struct TCase {
        float Radius;
        std::vector<double> Weights;
    };
    const TCase cases[] = {
        {1.0f, {0.0108675416, 0.9782649169, 0.0108675416}},
        {2.5f, {0, 0.0269131564, 0.2333676837, 0.4794383198, 0.2333676837, 0.0269131564, 0}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Radius);
        const TOrbUIGaussianFilter filter(c.Radius);
        const TOrbUIKernel& k = filter.Kernel();
        ASSERT_EQ(k.Width(), int(c.Weights.size()));
        EXPECT_EQ(k.Height(), 1);
        for (int i = 0; i < k.Width(); ++i) {
            EXPECT_NEAR(k.Value(i, 0), c.Weights[size_t(i)], 1e-9) << i;
            EXPECT_DOUBLE_EQ(k.Value(i, 0), k.Value(k.Width() - 1 - i, 0));
        }
        EXPECT_NEAR(std::accumulate(k.Values().begin(), k.Values().end(), 0.0), 1.0, 1e-12);
    }
}

TEST(OrbUIGaussianFilter, NoRadiusLeavesTheImageAlone) {
    for (float radius : {0.0f, -2.0f}) {
        TOrbUIGaussianFilter filter(radius);
        ASSERT_EQ(filter.Kernel().Width(), 1);
        EXPECT_EQ(filter.Kernel().Value(0, 0), 1.0);
        TBitmap32 b = OnePixel(5, 5, 2, 2, Black, White);
        filter.Apply(b);
        EXPECT_EQ(b.Pixel(2, 2), White);
        EXPECT_EQ(b.Pixel(1, 2), Black);
    }
}

TEST(OrbUIGaussianFilter, WhitePixelSpreadsSymmetrically) {
    TBitmap32 b = OnePixel(7, 7, 3, 3, Black, White);
    TOrbUIGaussianFilter(1.0f).Apply(b);
    // Rows: 255 * 0.97826 = 249.46 -> 249 at the centre, 2.77 -> 3 beside it;
    // columns: 249 -> 244, 249 * 0.01087 -> 3, 3 * 0.01087 -> 0 diagonally.
    EXPECT_EQ(b.Pixel(3, 3), Color32(244, 244, 244));
    for (TPoint p : {TPoint{2, 3}, TPoint{4, 3}, TPoint{3, 2}, TPoint{3, 4}})
        EXPECT_EQ(b.Pixel(p.X, p.Y), Color32(3, 3, 3)) << p.X << "," << p.Y;
    for (TPoint p : {TPoint{2, 2}, TPoint{4, 4}, TPoint{1, 3}, TPoint{3, 5}, TPoint{0, 0}})
        EXPECT_EQ(b.Pixel(p.X, p.Y), Black) << p.X << "," << p.Y;

    TBitmap32 wide = OnePixel(9, 9, 4, 4, Black, White);
    TOrbUIGaussianFilter(2.5f).Apply(wide);
    // Each pass rounds, so the row (255 -> 7, 60, 122 -> 3, 29, 58) and the
    // column (122 -> 3, 28, 58) through the centre differ by one step.
    const uint8_t row[] = {0, 3, 29, 58, 29, 3, 0}, column[] = {0, 3, 28, 58, 28, 3, 0};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(wide.Pixel(1 + i, 4), Color32(row[i], row[i], row[i])) << i;
        EXPECT_EQ(wide.Pixel(4, 1 + i), Color32(column[i], column[i], column[i])) << i;
    }
    EXPECT_EQ(wide.Pixel(5, 5), Color32(14, 14, 14));
}

TEST(OrbUIGaussianFilter, EdgeModes) {
    TBitmap32 wrapped = OnePixel(7, 7, 0, 3, Black, White);
    TOrbUIGaussianFilter(1.0f).Apply(wrapped);
    EXPECT_EQ(wrapped.Pixel(0, 3), Color32(244, 244, 244));
    EXPECT_EQ(wrapped.Pixel(6, 3), Color32(3, 3, 3));  // came round from the left edge
    EXPECT_EQ(wrapped.Pixel(1, 3), Color32(3, 3, 3));

    TBitmap32 clamped = OnePixel(7, 7, 0, 3, Black, White);
    TOrbUIGaussianFilter filter(1.0f);
    filter.EdgeMode = TOrbUIEdgeMode::Clamp;
    filter.Apply(clamped);
    // The sample left of the edge is the white pixel itself: 252, then 247.
    EXPECT_EQ(clamped.Pixel(0, 3), Color32(247, 247, 247));
    EXPECT_EQ(clamped.Pixel(6, 3), Black);

    // A kernel wider than the image wraps more than once; an even image
    // must stay even.
    TBitmap32 small(3, 2);
    small.Clear(Color32(100, 100, 100));
    TOrbUIGaussianFilter(2.5f).Apply(small);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(small.Pixel(x, y), Color32(100, 100, 100));
}

TEST(OrbUIGaussianFilter, AlphaOption) {
    TBitmap32 b = OnePixel(5, 5, 2, 2, 0, White);
    TOrbUIGaussianFilter filter(1.0f);
    filter.Apply(b);
    EXPECT_EQ(AlphaOf(b.Pixel(2, 2)), 244);
    EXPECT_EQ(AlphaOf(b.Pixel(1, 2)), 3);
    EXPECT_EQ(AlphaOf(b.Pixel(0, 0)), 0);

    TBitmap32 opaque = OnePixel(5, 5, 2, 2, 0, White);
    filter.UseAlpha = false;
    filter.Apply(opaque);
    EXPECT_EQ(opaque.Pixel(0, 0), Black);
    EXPECT_EQ(opaque.Pixel(2, 2), Color32(244, 244, 244));
}
