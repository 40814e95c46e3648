// TBitmap32 over a cairo image surface. The pixel operations that must give
// exact, documented results (fills, lines, drawing one bitmap on another,
// scaling) are written here on the premultiplied pixels; cairo draws what
// needs antialiasing (rounded rectangles, text).
#include "platform/gfx/bitmap32.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// x / 255 rounded to nearest, exact for every product of two bytes.
inline uint32_t Div255(uint32_t x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

inline uint32_t PremultiplyPixel(TColor32 c) {
    uint32_t a = AlphaOf(c);
    if (a == 255) return c;
    if (a == 0) return 0;
    return (a << 24) | (Div255(RedOf(c) * a) << 16) | (Div255(GreenOf(c) * a) << 8) | Div255(BlueOf(c) * a);
}

// Clamped: pixels written through Data() may break the premultiplied rule.
inline uint32_t Unpremultiply1(uint32_t p, uint32_t a) { return std::min((p * 255 + a / 2) / a, 255u); }

inline TColor32 UnpremultiplyPixel(uint32_t p) {
    uint32_t a = p >> 24;
    if (a == 255) return p;
    if (a == 0) return 0;
    return (a << 24) | (Unpremultiply1((p >> 16) & 0xFF, a) << 16) | (Unpremultiply1((p >> 8) & 0xFF, a) << 8) |
           Unpremultiply1(p & 0xFF, a);
}

// All four channels of a pixel times m / 255, each rounded as Div255 does;
// two channels at a time in the lanes of one 32-bit word (no lane can carry
// into the next: 255 * 255 + 128 + 255 < 65536).
inline uint32_t ScalePixel(uint32_t p, uint32_t m) {
    if (m == 255) return p;
    uint32_t rb = (p & 0x00FF00FF) * m + 0x00800080;
    rb = ((rb + ((rb >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
    uint32_t ag = ((p >> 8) & 0x00FF00FF) * m + 0x00800080;
    ag = (ag + ((ag >> 8) & 0x00FF00FF)) & 0xFF00FF00;
    return rb | ag;
}

// Porter-Duff "over" of premultiplied pixels; src already carries any
// constant alpha.
inline uint32_t Over(uint32_t src, uint32_t dst) {
    uint32_t inv = 255 - (src >> 24);
    if (inv == 0) return src;
    if (inv == 255) return dst;
    return src + ScalePixel(dst, inv);
}

// Blend + Blend: straight colour mixed by the source's alpha, target alpha kept.
inline uint32_t BlendKeepAlpha(uint32_t src, uint32_t dst, uint32_t master) {
    uint32_t a = Div255((src >> 24) * master);
    if (a == 0) return dst;
    uint32_t ta = dst >> 24;
    if (ta == 0) return dst;  // the colour of an invisible pixel is not stored
    TColor32 s = UnpremultiplyPixel(src), t = UnpremultiplyPixel(dst);
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t c = Div255(((s >> shift) & 0xFF) * a + ((t >> shift) & 0xFF) * (255 - a));
        out |= c << shift;
    }
    return PremultiplyPixel((ta << 24) | out);
}

}  // namespace

uint32_t ToPremultiplied(TColor32 color) { return PremultiplyPixel(color); }
TColor32 FromPremultiplied(uint32_t stored) { return UnpremultiplyPixel(stored); }

TColor32 Color32FromColor(TColor color, uint8_t alpha) {
    if (color == clNone) return 0;
    if (color & 0x80000000u) {
        // A light theme's values for the system colours the controls use.
        switch (color & 0xFF) {
            case 5: case 14: return Color32(255, 255, 255, alpha);          // window, highlight text
            case 13: return Color32(0x33, 0x99, 0xFF, alpha);                // highlight
            case 15: case 22: return Color32(0xF0, 0xF0, 0xF0, alpha);      // button face, 3-D light
            case 16: return Color32(0xA0, 0xA0, 0xA0, alpha);                // button shadow
            case 17: return Color32(0x6D, 0x6D, 0x6D, alpha);                // grey text
            case 20: return Color32(255, 255, 255, alpha);                   // button highlight
            case 21: return Color32(0x69, 0x69, 0x69, alpha);                // 3-D dark shadow
            case 24: return Color32(0xFF, 0xFF, 0xE1, alpha);                // hint background
            default: return Color32(0, 0, 0, alpha);                         // the text colours
        }
    }
    return Color32(uint8_t(color), uint8_t(color >> 8), uint8_t(color >> 16), alpha);
}

struct TBitmap32::TImpl {
    cairo_surface_t* Surface = nullptr;
    ~TImpl() {
        if (Surface) cairo_surface_destroy(Surface);
    }
};

namespace {

cairo_surface_t* Surf(const TBitmap32& b) { return static_cast<cairo_surface_t*>(b.CairoSurface()); }

}  // namespace

TBitmap32::TBitmap32() : FImpl(std::make_unique<TImpl>()) {}

TBitmap32::TBitmap32(int width, int height) : TBitmap32() { SetSize(width, height); }

TBitmap32::~TBitmap32() = default;

TBitmap32::TBitmap32(const TBitmap32& other) : TBitmap32() { *this = other; }

TBitmap32& TBitmap32::operator=(const TBitmap32& other) {
    if (this == &other) return *this;
    SetSize(other.Width(), other.Height());
    for (int y = 0; y < Height(); ++y)
        std::memcpy(Data() + y * Stride(), other.Data() + y * other.Stride(), size_t(Width()) * 4);
    MarkDirty();
    DrawMode = other.DrawMode;
    CombineMode = other.CombineMode;
    MasterAlpha = other.MasterAlpha;
    return *this;
}

TBitmap32::TBitmap32(TBitmap32&& other) noexcept
    : DrawMode(other.DrawMode), CombineMode(other.CombineMode), MasterAlpha(other.MasterAlpha),
      FImpl(std::move(other.FImpl)) {}

TBitmap32& TBitmap32::operator=(TBitmap32&& other) noexcept {
    std::swap(FImpl, other.FImpl);
    DrawMode = other.DrawMode;
    CombineMode = other.CombineMode;
    MasterAlpha = other.MasterAlpha;
    return *this;
}

int TBitmap32::Width() const {
    cairo_surface_t* s = Surf(*this);
    return s ? cairo_image_surface_get_width(s) : 0;
}

int TBitmap32::Height() const {
    cairo_surface_t* s = Surf(*this);
    return s ? cairo_image_surface_get_height(s) : 0;
}

void TBitmap32::SetSize(int width, int height) {
    if (!FImpl) FImpl = std::make_unique<TImpl>();
    if (width == Width() && height == Height()) {
        Clear(0);
        return;
    }
    if (FImpl->Surface) cairo_surface_destroy(FImpl->Surface);
    FImpl->Surface = nullptr;
    if (width <= 0 || height <= 0) return;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);  // out of memory: stay empty rather than crash later
        return;
    }
    FImpl->Surface = s;  // cairo hands out zeroed memory: transparent
}

uint8_t* TBitmap32::Data() {
    cairo_surface_t* s = Surf(*this);
    if (!s) return nullptr;
    cairo_surface_flush(s);
    return cairo_image_surface_get_data(s);
}

const uint8_t* TBitmap32::Data() const { return const_cast<TBitmap32*>(this)->Data(); }

int TBitmap32::Stride() const {
    cairo_surface_t* s = Surf(*this);
    return s ? cairo_image_surface_get_stride(s) : 0;
}

void* TBitmap32::CairoSurface() const { return FImpl ? FImpl->Surface : nullptr; }

void TBitmap32::MarkDirty() {
    if (cairo_surface_t* s = Surf(*this)) cairo_surface_mark_dirty(s);
}

namespace {

inline uint32_t* RowOf(TBitmap32& b, int y) { return reinterpret_cast<uint32_t*>(b.Data() + y * b.Stride()); }
inline const uint32_t* RowOf(const TBitmap32& b, int y) {
    return reinterpret_cast<const uint32_t*>(b.Data() + y * b.Stride());
}

}  // namespace

TColor32 TBitmap32::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    return UnpremultiplyPixel(RowOf(*this, y)[x]);
}

void TBitmap32::SetPixel(int x, int y, TColor32 color) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    RowOf(*this, y)[x] = PremultiplyPixel(color);
    MarkDirty();
}

void TBitmap32::Clear(TColor32 color) { FillRect(BoundsRect(), color); }

void TBitmap32::FillRect(const TRect& rect, TColor32 color) {
    TRect r = Intersect(rect, BoundsRect());
    if (r.IsEmpty()) return;
    uint32_t p = PremultiplyPixel(color);
    for (int y = r.Top; y < r.Bottom; ++y) std::fill(RowOf(*this, y) + r.Left, RowOf(*this, y) + r.Right, p);
    MarkDirty();
}

void TBitmap32::FillRectBlend(const TRect& rect, TColor32 color) {
    TRect r = Intersect(rect, BoundsRect());
    if (r.IsEmpty() || AlphaOf(color) == 0) return;
    uint32_t p = PremultiplyPixel(color);
    for (int y = r.Top; y < r.Bottom; ++y) {
        uint32_t* row = RowOf(*this, y);
        for (int x = r.Left; x < r.Right; ++x) row[x] = Over(p, row[x]);
    }
    MarkDirty();
}

void TBitmap32::FrameRect(const TRect& rect, TColor32 color) {
    if (rect.IsEmpty()) return;
    FillRect({rect.Left, rect.Top, rect.Right, rect.Top + 1}, color);
    FillRect({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, color);
    FillRect({rect.Left, rect.Top + 1, rect.Left + 1, rect.Bottom - 1}, color);
    FillRect({rect.Right - 1, rect.Top + 1, rect.Right, rect.Bottom - 1}, color);
}

void TBitmap32::Line(int x1, int y1, int x2, int y2, TColor32 color) {
    if (Empty()) return;
    // Bresenham; SetPixel clips each point, and lines are short in practice.
    uint32_t p = PremultiplyPixel(color);
    int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    const int w = Width(), h = Height();
    while (x != x2 || y != y2) {
        if (x >= 0 && y >= 0 && x < w && y < h) RowOf(*this, y)[x] = p;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    MarkDirty();
}

namespace {

void SetSource(cairo_t* cr, TColor32 c) {
    cairo_set_source_rgba(cr, RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0, AlphaOf(c) / 255.0);
}

void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    if (r <= 0) {
        cairo_rectangle(cr, x, y, w, h);
        return;
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

}  // namespace

void TBitmap32::RoundRect(const TRect& rect, int radius, TColor32 fill, TColor32 frame) {
    if (Empty() || rect.IsEmpty()) return;
    cairo_t* cr = cairo_create(Surf(*this));
    if (AlphaOf(fill) != 0) {
        RoundRectPath(cr, rect.Left, rect.Top, rect.Width(), rect.Height(), radius);
        SetSource(cr, fill);
        cairo_fill(cr);
    }
    if (AlphaOf(frame) != 0) {
        // Half a pixel in, so the one-pixel line covers whole pixels.
        RoundRectPath(cr, rect.Left + 0.5, rect.Top + 0.5, rect.Width() - 1, rect.Height() - 1, radius - 0.5);
        SetSource(cr, frame);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(Surf(*this));
}

void TBitmap32::ScaleOpacity(const TRect& rect, uint8_t alpha) {
    TRect r = Intersect(rect, BoundsRect());
    for (int y = r.Top; y < r.Bottom; ++y) {
        uint32_t* row = RowOf(*this, y);
        for (int x = r.Left; x < r.Right; ++x) row[x] = ScalePixel(row[x], alpha);
    }
    MarkDirty();
}

void TBitmap32::ResetAlpha(uint8_t alpha) {
    for (int y = 0; y < Height(); ++y) {
        uint32_t* row = RowOf(*this, y);
        for (int x = 0; x < Width(); ++x) row[x] = PremultiplyPixel((UnpremultiplyPixel(row[x]) & 0xFFFFFF) | (uint32_t(alpha) << 24));
    }
    MarkDirty();
}

void TBitmap32::Draw(int dstX, int dstY, const TBitmap32& source) { Draw(dstX, dstY, source.BoundsRect(), source); }

void TBitmap32::Draw(int dstX, int dstY, const TRect& sourceRect, const TBitmap32& source) {
    if (&source == this) {
        TBitmap32 copy(source);  // overlapping rows would read what was just written
        Draw(dstX, dstY, sourceRect, copy);
        return;
    }
    TRect src = Intersect(sourceRect, source.BoundsRect());
    if (src.IsEmpty()) return;
    TRect dst = Intersect(Bounds(dstX + src.Left - sourceRect.Left, dstY + src.Top - sourceRect.Top, src.Width(),
                                 src.Height()),
                          BoundsRect());
    if (dst.IsEmpty()) return;
    // Where the top-left target pixel reads from in the source.
    const int sx0 = src.Left + dst.Left - (dstX + src.Left - sourceRect.Left);
    const int sy0 = src.Top + dst.Top - (dstY + src.Top - sourceRect.Top);
    const uint32_t master = source.MasterAlpha;
    if (source.DrawMode == TDrawMode::Blend && master == 0) return;
    for (int y = 0; y < dst.Height(); ++y) {
        const uint32_t* s = RowOf(source, sy0 + y) + sx0;
        uint32_t* d = RowOf(*this, dst.Top + y) + dst.Left;
        const int n = dst.Width();
        if (source.DrawMode == TDrawMode::Opaque) {
            std::memcpy(d, s, size_t(n) * 4);
        } else if (source.CombineMode == TCombineMode::Merge) {
            for (int x = 0; x < n; ++x) d[x] = Over(ScalePixel(s[x], master), d[x]);
        } else {
            for (int x = 0; x < n; ++x) d[x] = BlendKeepAlpha(s[x], d[x], master);
        }
    }
    MarkDirty();
}

namespace {

// Where one target column (or row) samples the source: two neighbouring
// indices and the weight of the second in 1/256 steps.
struct TSample {
    int I0, I1;
    uint32_t F;
};

std::vector<TSample> Samples(int dstSize, int srcSize, int first, int count) {
    std::vector<TSample> out;
    out.reserve(size_t(count));
    for (int i = first; i < first + count; ++i) {
        double pos = (i + 0.5) * srcSize / dstSize - 0.5;
        pos = std::clamp(pos, 0.0, double(srcSize - 1));
        int i0 = int(std::floor(pos));
        auto f = uint32_t(std::lround((pos - i0) * 256));
        if (f == 256) {
            ++i0;
            f = 0;
        }
        out.push_back({i0, std::min(i0 + 1, srcSize - 1), f});
    }
    return out;
}

inline uint32_t Bilinear(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t fx, uint32_t fy) {
    const uint32_t w00 = (256 - fx) * (256 - fy), w10 = fx * (256 - fy), w01 = (256 - fx) * fy, w11 = fx * fy;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t v = ((p00 >> shift) & 0xFF) * w00 + ((p10 >> shift) & 0xFF) * w10 + ((p01 >> shift) & 0xFF) * w01 +
                     ((p11 >> shift) & 0xFF) * w11;
        out |= ((v + 32768) >> 16) << shift;
    }
    return out;
}

}  // namespace

void TBitmap32::StretchDraw(const TRect& dstRect, const TRect& sourceRect, const TBitmap32& source) {
    TRect src = Intersect(sourceRect, source.BoundsRect());
    TRect visible = Intersect(dstRect, BoundsRect());
    if (src.IsEmpty() || visible.IsEmpty() || dstRect.IsEmpty()) return;
    // Only the visible part of the scaled image is computed.
    const auto xs = Samples(dstRect.Width(), src.Width(), visible.Left - dstRect.Left, visible.Width());
    const auto ys = Samples(dstRect.Height(), src.Height(), visible.Top - dstRect.Top, visible.Height());
    TBitmap32 scaled(visible.Width(), visible.Height());
    for (int y = 0; y < visible.Height(); ++y) {
        const uint32_t* r0 = RowOf(source, src.Top + ys[size_t(y)].I0) + src.Left;
        const uint32_t* r1 = RowOf(source, src.Top + ys[size_t(y)].I1) + src.Left;
        uint32_t* d = RowOf(scaled, y);
        for (int x = 0; x < visible.Width(); ++x) {
            const TSample& sx = xs[size_t(x)];
            d[x] = Bilinear(r0[sx.I0], r0[sx.I1], r1[sx.I0], r1[sx.I1], sx.F, ys[size_t(y)].F);
        }
    }
    scaled.MarkDirty();
    scaled.DrawMode = source.DrawMode;
    scaled.CombineMode = source.CombineMode;
    scaled.MasterAlpha = source.MasterAlpha;
    Draw(visible.Left, visible.Top, scaled);
}

TBitmap32 TBitmap32::Copy(const TRect& rect) const {
    TBitmap32 out(std::max(rect.Width(), 0), std::max(rect.Height(), 0));
    TRect r = Intersect(rect, BoundsRect());
    for (int y = r.Top; y < r.Bottom; ++y)
        std::memcpy(RowOf(out, y - rect.Top) + (r.Left - rect.Left), RowOf(*this, y) + r.Left, size_t(r.Width()) * 4);
    out.MarkDirty();
    out.DrawMode = DrawMode;
    out.CombineMode = CombineMode;
    out.MasterAlpha = MasterAlpha;
    return out;
}
