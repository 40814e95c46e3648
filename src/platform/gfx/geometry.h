// Points and rectangles in pixels; a rectangle includes Left/Top and
// excludes Right/Bottom.
#pragma once

#include <algorithm>

struct TPoint {
    int X = 0, Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    TRect Inflate(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

inline TRect Intersect(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
}

inline TRect Union(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}
