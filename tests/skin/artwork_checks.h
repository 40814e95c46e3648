// What the artwork tests check of a skin strip: its exact size, its frames
// told apart, and bands that the controls repeat being uniform.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "skin/skin_artwork.h"

// Columns [ax, ax + width) and [bx, bx + width) hold the same pixels.
inline bool SameColumns(const TBitmap32& image, int ax, int bx, int width) {
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < width; ++x)
            if (image.Pixel(ax + x, y) != image.Pixel(bx + x, y)) return false;
    return true;
}

// Frames a and b of a strip of frames `width` wide hold the same pixels.
inline bool SameFrames(const TBitmap32& image, int a, int b, int width) {
    return SameColumns(image, a * width, b * width, width);
}

struct TStripCase {
    const char* Name;
    int Width, Height, Frames;
};

// Each named image has its size, and no two of its frames are alike.
inline void ExpectStripsWithDistinctFrames(std::initializer_list<TStripCase> cases) {
    for (const TStripCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TBitmap32 image = SkinArtwork(c.Name);
        ASSERT_EQ(image.Width(), c.Width);
        ASSERT_EQ(image.Height(), c.Height);
        const int fw = c.Width / c.Frames;
        for (int f = 0; f < c.Frames; ++f)
            for (int g = 0; g < f; ++g) EXPECT_FALSE(SameFrames(image, f, g, fw)) << g << " vs " << f;
    }
}
