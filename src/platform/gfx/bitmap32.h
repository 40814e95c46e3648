// A 32-bit ARGB bitmap: the surface every control composes itself in before
// it reaches the screen. Pixels are straight (not premultiplied) ARGB values
// 0xAARRGGBB when read or written one by one. Memory is a cairo image
// surface (premultiplied); antialiased shapes and text are drawn by cairo.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/geometry.h"

using TColor32 = uint32_t;  // 0xAARRGGBB, straight alpha

constexpr TColor32 Color32(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    return (TColor32(a) << 24) | (TColor32(r) << 16) | (TColor32(g) << 8) | TColor32(b);
}
constexpr uint8_t AlphaOf(TColor32 c) { return uint8_t(c >> 24); }
constexpr uint8_t RedOf(TColor32 c) { return uint8_t(c >> 16); }
constexpr uint8_t GreenOf(TColor32 c) { return uint8_t(c >> 8); }
constexpr uint8_t BlueOf(TColor32 c) { return uint8_t(c); }

// Platform colour values are 0x00BBGGRR; clNone means "no colour".
using TColor = uint32_t;
constexpr TColor clNone = 0x1FFFFFFF;
// clNone gives a fully transparent 0; system colours (0x80000000 + index:
// button face, window, highlight ...) give the values of a light desktop
// theme.
TColor32 Color32FromColor(TColor color, uint8_t alpha = 255);

// Conversions between a straight colour and the premultiplied form stored
// in Data() (rules below).
uint32_t ToPremultiplied(TColor32 color);
TColor32 FromPremultiplied(uint32_t stored);

// How a bitmap drawn onto another combines with it: Opaque copies the
// pixels, Blend puts them over the target by their alpha.
enum class TDrawMode { Opaque, Blend };
// How alpha combines in Blend: Blend keeps the target's alpha (drawing on an
// opaque surface), Merge combines both alphas (layers with transparency).
enum class TCombineMode { Blend, Merge };

// Arithmetic of the drawing operations. d(x) = x / 255 rounded to nearest
// in exact integer arithmetic (no ties: 2x is even, 255 odd).
// Colours are stored premultiplied, so every pixel is kept as
//   P = d(C * A) per colour channel C, and A.
// Pixel() gives back C = (P * 255 + A / 2) / A (integer division), 0 when
// A = 0, so colours of fully opaque pixels read back exactly and those of
// translucent pixels within the precision their alpha leaves.
//
// Drawing a source pixel (straight colour S, alpha Sa, as Pixel() reads
// them; stored Sp) over a target pixel (T, Ta; stored Tp) with master alpha
// M, where a = d(Sa * M):
//   Opaque          the source pixel replaces the target; M is not applied.
//   Blend + Blend   colour = d(S * a + T * (255 - a)), alpha = Ta unchanged,
//                   then stored premultiplied. Meant for opaque targets; a
//                   fully transparent target pixel stays as it is.
//   Blend + Merge   Porter-Duff "over" on the stored premultiplied values:
//                   P' = d(Sp * M) + d(Tp * (255 - a)),
//                   alpha = a + d(Ta * (255 - a)).
// FillRectBlend uses the same rules as Blend + Merge with M = 255, which on
// an opaque target gives the same colour as Blend + Blend.

class TBitmap32 {
public:
    TBitmap32();
    TBitmap32(int width, int height);
    ~TBitmap32();
    TBitmap32(const TBitmap32& other);
    TBitmap32& operator=(const TBitmap32& other);
    TBitmap32(TBitmap32&&) noexcept;
    TBitmap32& operator=(TBitmap32&&) noexcept;

    int Width() const;
    int Height() const;
    bool Empty() const { return Width() <= 0 || Height() <= 0; }
    TRect BoundsRect() const { return {0, 0, Width(), Height()}; }
    // Resizing keeps nothing of the old content; new pixels are transparent.
    void SetSize(int width, int height);

    TColor32 Pixel(int x, int y) const;  // 0 outside the bitmap
    void SetPixel(int x, int y, TColor32 color);

    TDrawMode DrawMode = TDrawMode::Opaque;
    TCombineMode CombineMode = TCombineMode::Blend;
    uint8_t MasterAlpha = 255;  // constant alpha applied when this bitmap is drawn

    void Clear(TColor32 color);
    void FillRect(const TRect& rect, TColor32 color);       // replaces the pixels
    void FillRectBlend(const TRect& rect, TColor32 color);  // blends over them
    void FrameRect(const TRect& rect, TColor32 color);      // one pixel wide, inside rect, replaces
    // A one-pixel line from (x1, y1) up to, not including, (x2, y2), as a
    // pen's LineTo draws it; the pixels are replaced; clipped to the bitmap.
    void Line(int x1, int y1, int x2, int y2, TColor32 color);
    // An antialiased rounded rectangle blended over the bitmap: `fill`
    // inside, a one-pixel `frame` along the inside of the edge (either may
    // have alpha 0 to leave it out).
    void RoundRect(const TRect& rect, int radius, TColor32 fill, TColor32 frame);
    // Multiplies the opacity of the pixels in rect by alpha / 255 (all four
    // stored channels, rounded), so their colour stays and they fade.
    void ScaleOpacity(const TRect& rect, uint8_t alpha);
    // Sets the alpha of every pixel to `alpha`, keeping its straight colour
    // (a composed buffer made opaque before it is shown).
    void ResetAlpha(uint8_t alpha = 255);

    // Draws (part of) `source` at dstX, dstY using the source's DrawMode,
    // CombineMode and MasterAlpha (rules above); clipped to both bitmaps.
    void Draw(int dstX, int dstY, const TBitmap32& source);
    void Draw(int dstX, int dstY, const TRect& sourceRect, const TBitmap32& source);
    // Scaled copy of a region (first clipped to the source) into a
    // destination rectangle, then drawn with the source's modes like Draw.
    // Bilinear on premultiplied values: target pixel x samples the region at
    // (x + 0.5) * sw / dw - 0.5, clamped to the region's edge pixels, with
    // weights in 1/256 steps and the sum rounded. Equal sizes sample every
    // pixel exactly.
    void StretchDraw(const TRect& dstRect, const TRect& sourceRect, const TBitmap32& source);
    // A copy of a region as a new bitmap of the region's size, with this
    // bitmap's modes; parts of the region outside this bitmap are transparent.
    TBitmap32 Copy(const TRect& rect) const;

    // Raw access for hosts (cairo ARGB32, premultiplied, stride in bytes).
    uint8_t* Data();
    const uint8_t* Data() const;
    int Stride() const;
    void* CairoSurface() const;  // cairo_surface_t*, owned by the bitmap
    void MarkDirty();            // after writing Data() directly

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};
