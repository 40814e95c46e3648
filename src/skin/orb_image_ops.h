// The library-wide image helpers: cutting skin images into state frames and
// into three or nine pieces, putting nine pieces back together at any size,
// fading, greying and tinting. Empty or unsuitable input is never an error:
// the helpers answer nothing (an empty optional, or no change) and the
// element is skipped.
//
// Every cut copies colour and alpha; when `alpha` is not 255 each copied
// pixel's alpha becomes alpha * a / 255 (integer division); when `tint` is
// not clNone every copied pixel goes through TintHSL. Pieces come out as
// straight-alpha bitmaps drawn in Blend / Merge mode.
#pragma once

#include <array>
#include <optional>

#include "platform/gfx/bitmap32.h"
#include "skin/orb_types.h"

using TPiece3 = std::array<TPngImage, 3>;
// Top-left, top, top-right, left, centre, right, bottom-left, bottom,
// bottom-right.
using TPiece9 = std::array<TPngImage, 9>;

// Frame k of a strip of N frames of equal width: nothing when the strip is
// empty, its width is not a multiple of N, or k is not 0..N-1.
std::optional<TPngImage> SliceState(const TPngImage& strip, int stateCount, int index);

// Columns [0,x1), [x1,x2), [x2,W). Nothing unless the image is non-empty,
// 0 <= alpha <= 255, x1 and x2 are non-zero, x2 >= x1 and W >= x1.
std::optional<TPiece3> Cut3H(const TPngImage& image, int x1, int x2, int alpha = 255, TColor tint = clNone);
// The same cut along rows: [0,y1), [y1,y2), [y2,H).
std::optional<TPiece3> Cut3V(const TPngImage& image, int y1, int y2, int alpha = 255, TColor tint = clNone);
// Nine pieces cut at x1, x2 and y1, y2: nothing unless x1 < x2, y1 < y2 and
// both points lie inside the image.
std::optional<TPiece9> Cut9(const TPngImage& image, TPoint topLeft, TPoint bottomRight, int alpha = 255,
                            TColor tint = clNone);
// Cut9 at a ...Split padding: (Left, Top) and (Right, Bottom).
std::optional<TPiece9> Cut9(const TPngImage& image, const TOrbUIPadding& split, int alpha = 255,
                            TColor tint = clNone);

// Resizes the target to width x height, makes every pixel fully transparent,
// draws the corners at the corners, repeats the top and bottom edges
// horizontally, the left and right edges vertically and the centre both
// ways, each repetition clipped at the end of its area.
void Assemble9(TBitmap32& target, int width, int height, const TPiece9& pieces);

// A new image of the given width: the left part, the middle part repeated
// column by column (column i takes middle column i mod its width), the
// right part at the right end.
std::optional<TPngImage> Stretch3H(const TPngImage& image, int x1, int x2, int alpha, TColor tint, int width);

// Multiplies B, G, R (rounded) and A (truncated) of every pixel in the
// rectangle by alpha / 255.
void ScaleAlpha(TBitmap32& bitmap, const TRect& rect, int alpha);
// Column b of a rectangle w wide is multiplied by (255 - b * 255 / w) / 255
// in all four channels: the rectangle fades out to the right.
void FadeRight(TBitmap32& bitmap, const TRect& rect);
// Every colour replaced by its luminance 0.3 R + 0.59 G + 0.11 B.
TPngImage ToGray(const TPngImage& image);
// The pixel keeps its own HSL lightness and takes the tint's hue and
// saturation (straight ARGB in, straight ARGB out; alpha kept).
TColor32 TintHSL(TColor32 pixel, TColor tint);
