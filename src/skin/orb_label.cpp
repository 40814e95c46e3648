// TOrbLabel: state fonts, text layout by alignment, the glyph and the
// glowing text.
#include "skin/orb_label.h"

#include <algorithm>

#include "skin/orb_gaussian.h"

TOrbLabel::TOrbLabel(TComponent* owner) : TOrbUIGraphicControl(owner) {
    FFontDisable.Color = 0x808080;
    SetBounds(0, 0, 100, 25);
}

void TOrbLabel::SetCaption(const std::string& value) {
    if (value == FCaption) return;
    FCaption = value;
    Changed();
}

void TOrbLabel::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    Changed();
}

void TOrbLabel::SetWordBreak(bool value) {
    if (value == FWordBreak) return;
    FWordBreak = value;
    Changed();
}

void TOrbLabel::SetFontOver(const TFont& value) {
    if (value == FFontOver) return;
    FFontOver = value;
    Changed();
}

void TOrbLabel::SetFontDown(const TFont& value) {
    if (value == FFontDown) return;
    FFontDown = value;
    Changed();
}

void TOrbLabel::SetFontDisable(const TFont& value) {
    if (value == FFontDisable) return;
    FFontDisable = value;
    Changed();
}

void TOrbLabel::SetSupportMouseOverDown(bool value) {
    if (value == FSupportMouseOverDown) return;
    FSupportMouseOverDown = value;
    TrackHover = value;
    Changed();
}

void TOrbLabel::SetGraph(const TPngImage& value) {
    FGraph = value;
    FGraph.DrawMode = TDrawMode::Blend;
    FGraph.CombineMode = TCombineMode::Merge;
    Changed();
}

void TOrbLabel::SetBlurColor(TColor value) {
    if (value == FBlurColor) return;
    FBlurColor = value;
    Changed();
}

void TOrbLabel::SetBlurRadius(float value) {
    if (value == FBlurRadius) return;
    FBlurRadius = value;
    Changed();
}

void TOrbLabel::SetShowAccelChar(bool value) {
    if (value == FShowAccelChar) return;
    FShowAccelChar = value;
    Changed();
}

// The base tracks the press but repaints only on hover; the down font
// needs both edges of the press.
void TOrbLabel::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TOrbUIGraphicControl::MouseDown(button, shift, p);
    if (!alive.expired() && FSupportMouseOverDown && button == TMouseButton::Left) Changed();
}

void TOrbLabel::MouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TOrbUIGraphicControl::MouseUp(button, shift, p);
    if (!alive.expired() && FSupportMouseOverDown && button == TMouseButton::Left) Changed();
}

const TFont& TOrbLabel::DrawFont() const {
    if (!IsEnabledInTree()) return FFontDisable;
    if (FSupportMouseOverDown) {
        if (Pressed()) return FFontDown;
        if (Hover()) return FFontOver;
    }
    return Font();
}

TTextFlags TOrbLabel::TextFlags() const {
    TTextFlags flags = tfEndEllipsis | AccelFlags(FShowAccelChar);
    switch (FAlignment) {
        case taRightJustify: return flags | tfRight | tfSingleLine;
        case taCenter: return flags | tfCenter | tfSingleLine;
        default: return flags | tfLeft | (FWordBreak ? tfWordBreak : tfSingleLine);
    }
}

TRect TOrbLabel::GlyphRect() const {
    if (FAlignment != taLeftJustify || FGraph.Empty()) return {};
    return Bounds(2, (Height() - FGraph.Height()) / 2, FGraph.Width(), FGraph.Height());
}

TRect TOrbLabel::TextRect() const {
    TRect r{0, 0, Width(), Height()};
    if (FAlignment == taLeftJustify) {
        const TRect glyph = GlyphRect();
        r.Left = glyph.IsEmpty() ? 2 : glyph.Right + 2;
        r.Right = std::max(r.Left, Width() - 2);
    }
    if (!FWordBreak) {
        const int textHeight = TextHeight(DrawFont(), FCaption, AccelFlags(FShowAccelChar));
        r.Top = std::max(0, (Height() - textHeight) / 2);
        r.Bottom = std::min(Height(), r.Top + textHeight);
    }
    return r;
}

bool TOrbLabel::TextCut() const {
    if (FWordBreak || FCaption.empty()) return false;
    return TextWidth(DrawFont(), FCaption, AccelFlags(FShowAccelChar)) > TextRect().Width();
}

void TOrbLabel::GlowText(TBitmap32& buffer, const TRect& rect, const TFont& font, TTextFlags flags) const {
    const TRect area = Intersect(rect, buffer.BoundsRect());
    if (area.IsEmpty()) return;
    const TRect local = rect.Offset(-area.Left, -area.Top);
    TBitmap32 work = buffer.Copy(area);
    TFont glow = font;
    glow.Color = FBlurColor;
    DrawText(work, local, glow, FCaption, flags);
    TOrbUIGaussianFilter filter(FBlurRadius);
    // Wrapping would bleed the glow of one edge into the opposite one.
    filter.EdgeMode = TOrbUIEdgeMode::Clamp;
    filter.Apply(work);
    DrawText(work, local, font, FCaption, flags);
    TBitmap32 mask(area.Width(), area.Height());
    DrawText(mask, local, font, FCaption, flags);
    for (int y = 0; y < work.Height(); ++y)
        for (int x = 0; x < work.Width(); ++x)
            if (AlphaOf(mask.Pixel(x, y))) work.SetPixel(x, y, work.Pixel(x, y) | 0xFF000000u);
    work.DrawMode = TDrawMode::Opaque;
    buffer.Draw(area.Left, area.Top, work);
}

void TOrbLabel::DrawControl(TBitmap32& buffer) {
    const TRect glyph = GlyphRect();
    if (!glyph.IsEmpty()) buffer.Draw(glyph.Left, glyph.Top, FGraph);
    if (!FCaption.empty()) {
        const TRect rect = TextRect();
        if (FBlurColor != clNone)
            GlowText(buffer, rect, DrawFont(), TextFlags());
        else
            DrawText(buffer, rect, DrawFont(), FCaption, TextFlags());
    }
    FCutHint.Update(*this, TextCut(), ShownCaption(FCaption, FShowAccelChar));
}
