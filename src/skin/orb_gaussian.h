// The Gaussian blur behind glowing text: a one-dimensional kernel applied
// to the rows and then to the columns of a 32-bit bitmap.
#pragma once

#include <vector>

#include "platform/gfx/bitmap32.h"

// A rectangular table of weights. Misuse is a programming error and throws:
// std::invalid_argument for a bad size or too few values, std::out_of_range
// for an index outside the table.
class TOrbUIKernel {
public:
    TOrbUIKernel(int width, int height);  // all weights 0
    // Takes the first width * height values, row by row.
    TOrbUIKernel(int width, int height, const std::vector<double>& values);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    double Value(int x, int y) const;
    void SetValue(int x, int y, double value);
    const std::vector<double>& Values() const { return FValues; }

private:
    int Index(int x, int y) const;

    int FWidth = 0, FHeight = 0;
    std::vector<double> FValues;
};

// What a sample beyond the bitmap's edge reads: the pixel from the other
// side, or the nearest edge pixel.
enum class TOrbUIEdgeMode { Wrap, Clamp };

class TOrbUIGaussianFilter {
public:
    // A radius of 0 or less (or not a number) leaves images as they are:
    // the kernel is the single weight 1.
    explicit TOrbUIGaussianFilter(float radius);

    float Radius() const { return FRadius; }
    const TOrbUIKernel& Kernel() const { return FKernel; }

    TOrbUIEdgeMode EdgeMode = TOrbUIEdgeMode::Wrap;
    // Blur the alpha channel too; off, every pixel comes out opaque.
    bool UseAlpha = true;

    // Blurs the straight ARGB values of the bitmap in place.
    void Apply(TBitmap32& bitmap) const;

private:
    float FRadius;
    TOrbUIKernel FKernel;
};
