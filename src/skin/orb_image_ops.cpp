// The image helpers every skinned control uses to prepare and compose its
// skin images. Colour arithmetic is done on straight values, as Pixel() and
// SetPixel() see them, but the loops walk the premultiplied rows directly:
// skin images are cut and tiled at every size change and at every paint.
#include "skin/orb_image_ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

inline uint32_t* RowOf(TBitmap32& b, int y) { return reinterpret_cast<uint32_t*>(b.Data() + y * b.Stride()); }
inline const uint32_t* RowOf(const TBitmap32& b, int y) {
    return reinterpret_cast<const uint32_t*>(b.Data() + y * b.Stride());
}

// x / 255 rounded to nearest; exact for products of two bytes (no ties).
inline uint32_t Div255Round(uint32_t x) { return (x + 127) / 255; }

inline TColor32 WithAlpha(TColor32 c, uint32_t a) { return (c & 0x00FFFFFF) | (a << 24); }

void MakeBlendMerge(TBitmap32& b) {
    b.DrawMode = TDrawMode::Blend;
    b.CombineMode = TCombineMode::Merge;
}

// Applies `op` to the straight colour of every pixel of `rect` (already
// clipped to the bitmap) and stores the result back premultiplied.
template <typename Op>
void ForEachStraight(TBitmap32& bitmap, const TRect& rect, Op op) {
    if (rect.IsEmpty()) return;
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        uint32_t* row = RowOf(bitmap, y);
        for (int x = rect.Left; x < rect.Right; ++x) row[x] = ToPremultiplied(op(FromPremultiplied(row[x]), x));
    }
    bitmap.MarkDirty();
}

// ---- HSL ------------------------------------------------------------------

struct THsl {
    double H = 0, S = 0, L = 0;  // degrees [0, 360); percent [0, 100]
};

THsl ToHsl(TColor32 c) {
    const double r = RedOf(c) / 255.0, g = GreenOf(c) / 255.0, b = BlueOf(c) / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    THsl out;
    out.L = (mx + mn) / 2 * 100;
    const double d = mx - mn;
    // A grey has no hue and no saturation; the formulas would divide 0 by 0
    // for black and white.
    if (d <= 0) return out;
    out.S = std::min((out.L < 50 ? d / (mx + mn) : d / (2 - mx - mn)) * 100, 100.0);
    double h;
    if (mx == r) h = 60 * (g - b) / d;
    else if (mx == g) h = 60 * ((b - r) / d + 2);
    else h = 60 * ((r - g) / d + 4);
    if (h < 0) h += 360;
    if (h >= 360) h -= 360;
    out.H = h;
    return out;
}

// The pure hue on the six-sector wheel, 4.25 steps per degree.
void PureHue(double h, double rgb[3]) {
    const double step = 4.25;
    double r = 0, g = 0, b = 0;
    if (h <= 60) r = 255, g = step * h;
    else if (h <= 120) g = 255, r = 255 - step * (h - 60);
    else if (h <= 180) g = 255, b = step * (h - 120);
    else if (h <= 240) b = 255, g = 255 - step * (h - 180);
    else if (h <= 300) b = 255, r = step * (h - 240);
    else r = 255, b = 255 - step * (h - 300);
    rgb[0] = r, rgb[1] = g, rgb[2] = b;
}

TColor32 FromHsl(const THsl& hsl, uint8_t alpha) {
    if (!(hsl.H >= 0 && hsl.H < 360 && hsl.S >= 0 && hsl.S <= 100 && hsl.L >= 0 && hsl.L <= 100))
        return Color32(0, 0, 0, alpha);
    double rgb[3];
    PureHue(hsl.H, rgb);
    const double toGrey = std::abs(hsl.S - 100) / 100;
    uint8_t out[3];
    for (int i = 0; i < 3; ++i) {
        double c = rgb[i] + (128 - rgb[i]) * toGrey;
        if (hsl.L > 50) c += (255 - c) * (hsl.L - 50) / 50;
        else if (hsl.L < 50) c -= c * (50 - hsl.L) / 50;
        out[i] = uint8_t(std::clamp(std::lround(c), 0L, 255L));
    }
    return Color32(out[0], out[1], out[2], alpha);
}

// The tint's hue and saturation, worked out once per cut.
struct TTint {
    bool Active = false;
    THsl Hsl;
    explicit TTint(TColor tint) : Active(tint != clNone) {
        if (Active) Hsl = ToHsl(Color32FromColor(tint));
    }
    TColor32 Apply(TColor32 pixel) const {
        if (!Active) return pixel;
        return FromHsl({Hsl.H, Hsl.S, ToHsl(pixel).L}, AlphaOf(pixel));
    }
};

// ---- cutting --------------------------------------------------------------

// A copy of `rect` of the image with the cut's alpha and tint applied. A
// rectangle of no width or height gives an empty bitmap.
TPngImage CutPiece(const TPngImage& image, const TRect& rect, int alpha, const TTint& tint) {
    TPngImage piece = image.Copy(rect);
    MakeBlendMerge(piece);
    piece.MasterAlpha = 255;
    if (piece.Empty() || (alpha == 255 && !tint.Active)) return piece;
    const auto a = uint32_t(alpha);
    ForEachStraight(piece, piece.BoundsRect(), [&](TColor32 c, int) {
        c = tint.Apply(c);
        return alpha == 255 ? c : WithAlpha(c, a * AlphaOf(c) / 255);
    });
    return piece;
}

bool ValidCut3(const TPngImage& image, int p1, int p2, int extent, int alpha) {
    return !image.Empty() && alpha >= 0 && alpha <= 255 && p1 != 0 && p2 != 0 && p2 >= p1 && extent >= p1;
}

// A bitmap `width` wide holding the piece's columns repeated from its left
// edge (column i is column i mod the piece's width). Filled by doubling the
// copied run, so a one-pixel edge costs a few copies per row, not one per
// pixel.
TBitmap32 RepeatColumns(const TBitmap32& piece, int width) {
    TBitmap32 strip(width, piece.Height());
    const int pw = piece.Width();
    for (int y = 0; y < strip.Height(); ++y) {
        uint32_t* row = RowOf(strip, y);
        int filled = std::min(pw, width);
        std::memcpy(row, RowOf(piece, y), size_t(filled) * 4);
        while (filled < width) {
            const int n = std::min(filled, width - filled);
            std::memcpy(row + filled, row, size_t(n) * 4);
            filled += n;
        }
    }
    strip.MarkDirty();
    strip.DrawMode = piece.DrawMode;
    strip.CombineMode = piece.CombineMode;
    strip.MasterAlpha = piece.MasterAlpha;
    return strip;
}

// Repeats the piece over `area` of the target, left to right and top to
// bottom, the last repetition in each direction clipped at the area's end.
void TileArea(TBitmap32& target, const TRect& area, const TBitmap32& piece) {
    if (area.IsEmpty() || piece.Empty()) return;
    TBitmap32 strip;
    const TBitmap32* band = &piece;
    if (area.Width() > piece.Width()) {
        strip = RepeatColumns(piece, area.Width());
        band = &strip;
    }
    const int ph = piece.Height();
    for (int y = area.Top; y < area.Bottom; y += ph)
        target.Draw(area.Left, y, Bounds(0, 0, area.Width(), std::min(ph, area.Bottom - y)), *band);
}

}  // namespace

std::optional<TPngImage> SliceState(const TPngImage& strip, int stateCount, int index) {
    if (strip.Empty() || stateCount <= 0 || strip.Width() % stateCount != 0) return std::nullopt;
    if (index < 0 || index >= stateCount) return std::nullopt;
    const int frameWidth = strip.Width() / stateCount;
    TPngImage frame = strip.Copy(Bounds(index * frameWidth, 0, frameWidth, strip.Height()));
    MakeBlendMerge(frame);
    return frame;
}

std::optional<TPiece3> Cut3H(const TPngImage& image, int x1, int x2, int alpha, TColor tint) {
    if (!ValidCut3(image, x1, x2, image.Width(), alpha)) return std::nullopt;
    const TTint t(tint);
    const int w = image.Width(), h = image.Height();
    return TPiece3{CutPiece(image, {0, 0, x1, h}, alpha, t), CutPiece(image, {x1, 0, x2, h}, alpha, t),
                   CutPiece(image, {x2, 0, w, h}, alpha, t)};
}

std::optional<TPiece3> Cut3V(const TPngImage& image, int y1, int y2, int alpha, TColor tint) {
    if (!ValidCut3(image, y1, y2, image.Height(), alpha)) return std::nullopt;
    const TTint t(tint);
    const int w = image.Width(), h = image.Height();
    return TPiece3{CutPiece(image, {0, 0, w, y1}, alpha, t), CutPiece(image, {0, y1, w, y2}, alpha, t),
                   CutPiece(image, {0, y2, w, h}, alpha, t)};
}

std::optional<TPiece9> Cut9(const TPngImage& image, TPoint topLeft, TPoint bottomRight, int alpha, TColor tint) {
    // The alpha range is checked as for the three-piece cuts: a value above
    // 255 would push the pieces' alpha past a byte.
    if (alpha < 0 || alpha > 255) return std::nullopt;
    if (topLeft.X >= bottomRight.X || topLeft.Y >= bottomRight.Y) return std::nullopt;
    const TRect bounds = image.BoundsRect();
    if (!bounds.Contains(topLeft) || !bounds.Contains(bottomRight)) return std::nullopt;
    const TTint t(tint);
    const int xs[4] = {0, topLeft.X, bottomRight.X, image.Width()};
    const int ys[4] = {0, topLeft.Y, bottomRight.Y, image.Height()};
    TPiece9 pieces;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            pieces[size_t(row * 3 + col)] = CutPiece(image, {xs[col], ys[row], xs[col + 1], ys[row + 1]}, alpha, t);
    return pieces;
}

std::optional<TPiece9> Cut9(const TPngImage& image, const TOrbUIPadding& split, int alpha, TColor tint) {
    return Cut9(image, TPoint{split.Left(), split.Top()}, TPoint{split.Right(), split.Bottom()}, alpha, tint);
}

void Assemble9(TBitmap32& target, int width, int height, const TPiece9& pieces) {
    target.SetSize(width, height);  // fresh pixels are fully transparent
    MakeBlendMerge(target);
    if (target.Empty()) return;
    const TPngImage &tl = pieces[0], &top = pieces[1], &tr = pieces[2];
    const TPngImage &left = pieces[3], &centre = pieces[4], &right = pieces[5];
    const TPngImage &bl = pieces[6], &bottom = pieces[7], &br = pieces[8];
    // Corners first: when the target is smaller than they are, they overlap
    // and the areas between them are empty, so nothing is repeated.
    target.Draw(0, 0, tl);
    target.Draw(width - tr.Width(), 0, tr);
    target.Draw(0, height - bl.Height(), bl);
    target.Draw(width - br.Width(), height - br.Height(), br);
    TileArea(target, {tl.Width(), 0, width - tr.Width(), top.Height()}, top);
    TileArea(target, {bl.Width(), height - bottom.Height(), width - br.Width(), height}, bottom);
    TileArea(target, {0, tl.Height(), left.Width(), height - bl.Height()}, left);
    TileArea(target, {width - right.Width(), tr.Height(), width, height - br.Height()}, right);
    TileArea(target, {left.Width(), top.Height(), width - right.Width(), height - bottom.Height()}, centre);
}

std::optional<TPngImage> Stretch3H(const TPngImage& image, int x1, int x2, int alpha, TColor tint, int width) {
    if (width <= 0) return std::nullopt;
    std::optional<TPiece3> parts = Cut3H(image, x1, x2, alpha, tint);
    if (!parts) return std::nullopt;
    auto& [leftPart, middle, rightPart] = *parts;
    TPngImage out(width, image.Height());
    // The parts are laid side by side as they are; where a narrow target
    // makes them overlap, the right part wins.
    leftPart.DrawMode = middle.DrawMode = rightPart.DrawMode = TDrawMode::Opaque;
    out.Draw(0, 0, leftPart);
    const int middleWidth = width - leftPart.Width() - rightPart.Width();
    // A middle of no columns has nothing to repeat: that stretch stays
    // transparent.
    if (middleWidth > 0 && !middle.Empty()) out.Draw(leftPart.Width(), 0, RepeatColumns(middle, middleWidth));
    out.Draw(width - rightPart.Width(), 0, rightPart);
    MakeBlendMerge(out);
    return out;
}

void ScaleAlpha(TBitmap32& bitmap, const TRect& rect, int alpha) {
    const auto m = uint32_t(std::clamp(alpha, 0, 255));
    if (m == 255) return;
    ForEachStraight(bitmap, Intersect(rect, bitmap.BoundsRect()), [m](TColor32 c, int) {
        return Color32(uint8_t(Div255Round(RedOf(c) * m)), uint8_t(Div255Round(GreenOf(c) * m)),
                       uint8_t(Div255Round(BlueOf(c) * m)), uint8_t(AlphaOf(c) * m / 255));
    });
}

void FadeRight(TBitmap32& bitmap, const TRect& rect) {
    const int w = rect.Width();
    if (w <= 0) return;
    ForEachStraight(bitmap, Intersect(rect, bitmap.BoundsRect()), [&](TColor32 c, int x) {
        const auto m = uint32_t(255 - (x - rect.Left) * 255 / w);
        return Color32(uint8_t(Div255Round(RedOf(c) * m)), uint8_t(Div255Round(GreenOf(c) * m)),
                       uint8_t(Div255Round(BlueOf(c) * m)), uint8_t(Div255Round(AlphaOf(c) * m)));
    });
}

TPngImage ToGray(const TPngImage& image) {
    TPngImage out(image);
    MakeBlendMerge(out);
    ForEachStraight(out, out.BoundsRect(), [](TColor32 c, int) {
        // 0.3 R + 0.59 G + 0.11 B in hundredths, rounded.
        const auto y = uint8_t((30 * RedOf(c) + 59 * GreenOf(c) + 11 * BlueOf(c) + 50) / 100);
        return Color32(y, y, y, AlphaOf(c));
    });
    return out;
}

TColor32 TintHSL(TColor32 pixel, TColor tint) { return TTint(tint).Apply(pixel); }
