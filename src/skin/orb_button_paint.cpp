// TOrbButton's drawing: the state (or fade) image, the glyph and the
// caption, laid out by one function that the tests read back too.
#include <algorithm>

#include "skin/orb_button.h"
#include "skin/orb_image_list.h"

TOrbUIBtnStatus TOrbButton::DrawState() const {
    if (!IsEnabledInTree()) return bsDisable;
    if (FBtnStatus == bsSelect) return bsSelect;
    switch (PushState()) {
        case TPushState::Down: return bsDown;
        case TPushState::Over: return bsOver;
        default: return bsNormal;
    }
}

const TPngImage* TOrbButton::StateImage(TOrbUIBtnStatus state) const {
    if (FStateImages[state]) return &*FStateImages[state];
    if (state == bsSelect && FStateImages[bsDown]) return &*FStateImages[bsDown];
    return nullptr;
}

bool TOrbButton::HasListGlyph() const { return FImagelist && FImgindex >= 0 && FImgindex < FImagelist->Count(); }

int TOrbButton::ListGlyphIndex(TOrbUIBtnStatus state) const {
    if (!FJustUseImgList) return FImgindex;
    switch (state) {
        case bsOver: return FImgindex + 1;
        case bsDown:
        case bsSelect: return FImgindex + 2;
        case bsDisable: return FImgindex + 3;
        default: return FImgindex;
    }
}

TPoint TOrbButton::GlyphSize() const {
    if (HasListGlyph()) {
        const TPngImage& png = FImagelist->Items(FImgindex).Png();
        return {png.Width(), png.Height()};
    }
    return {FGraph.Width(), FGraph.Height()};
}

TRect TOrbButton::GlyphRect(TPoint size, TOrbUIBtnStatus state, const TRect& caption) const {
    const int w = Width(), h = Height(), gw = size.X, gh = size.Y;
    const int down = state == bsDown ? 1 : 0;
    int x = 0, y = 0;
    if (HasListGlyph()) {
        x = FGraphLeftFix + (FJustUseImgList ? 0 : 2);
        y = (h - gh) / 2 + FGraphTopFix;
    } else {
        switch (FLayout) {
            case olGlphyLeft:
                x = FGraphLeftFix + 2;
                y = (h - gh) / 2 + FGraphTopFix + (FRightLimite == 0 ? down : 0);
                break;
            case olGlphyTop:
                x = (w - gw) / 2;
                y = FGraphTopFix + 2 + down;
                break;
            case olGlphyRight:
                x = w + FGraphLeftFix - 2 - gw;
                y = (h - gh) / 2 + down;
                break;
            case olGlphyBottom:
                x = (w - gw) / 2;
                y = h + FGraphTopFix - 2 - gh + down;
                break;
        }
    }
    if (FRightJustify) x = caption.Left - 2 - gw;
    return Bounds(x, y, gw, gh);
}

TRect TOrbButton::CaptionRect(const TRect& leftGlyph, bool& cut) const {
    const TFont& font = FFonts[DrawState()];
    const TPoint extent = TextExtent(font, FCaption, AccelFlags(FShowAccelChar));
    const int w = Width(), h = Height(), tw = extent.X, th = extent.Y;
    int left;
    if (FRightJustify)
        left = w - tw - 2;
    else if (FJustCaptionLeft || FCenterJustify)
        left = FCaptionLeftFix;
    else
        left = ((FRightLimite ? FRightLimite : w) - tw) / 2 + FCaptionLeftFix;
    if (!leftGlyph.IsEmpty()) left = leftGlyph.Right + FCaptionLeftFix + 2;
    if (left <= 0) left = 6;
    const int right = std::min(FCenterJustify ? w - 2 : left + tw, w - 2);
    cut = !FCaption.empty() && left + tw > w - 2;
    const int top = (h - th) / 2 + FCaptionTopFix;
    return {left, top, right, std::min(top + th, h - 2)};
}

TOrbButton::TLayoutResult TOrbButton::LayoutParts() const {
    TLayoutResult r;
    const TOrbUIBtnStatus state = DrawState();
    const TPoint glyph = GlyphSize();
    const bool hasGlyph = glyph.X > 0 && glyph.Y > 0;
    if (FRightJustify) {
        r.Caption = CaptionRect({}, r.CaptionCut);
        if (hasGlyph) r.Glyph = GlyphRect(glyph, state, r.Caption);
        return r;
    }
    if (hasGlyph) r.Glyph = GlyphRect(glyph, state, {});
    const bool leftGlyph = hasGlyph && (HasListGlyph() || FLayout == olGlphyLeft);
    r.Caption = CaptionRect(leftGlyph ? r.Glyph : TRect{}, r.CaptionCut);
    return r;
}

void TOrbButton::DrawBackground(TBitmap32& buffer, TOrbUIBtnStatus state) {
    const TPngImage* image = StateImage(state);
    const bool fading = Push().FadeActive() && (state == bsNormal || state == bsOver) && StateImage(bsOver);
    uint8_t masterAlpha = 255;
    if (fading) {
        image = StateImage(bsOver);
        masterAlpha = uint8_t(std::clamp(Push().FadeLevel(), 0, 255));
    }
    if (!image || image->Empty()) return;
    // The master alpha is the fade: the hover image with every alpha value
    // times level / 255, without copying it at every tick.
    auto& source = const_cast<TPngImage&>(*image);
    const uint8_t saved = source.MasterAlpha;
    source.MasterAlpha = masterAlpha;
    buffer.StretchDraw(ClientRect(), source.BoundsRect(), source);
    source.MasterAlpha = saved;
}

void TOrbButton::DrawGlyph(TBitmap32& buffer, const TRect& rect, TOrbUIBtnStatus state) {
    if (FImgBtnBackList) {
        const int index = state == bsOver ? 1 : state == bsDown || state == bsSelect ? 2 : state == bsDisable ? 3 : 0;
        FImgBtnBackList->Draw(&buffer, 0, 0, true, index);
    }
    if (rect.IsEmpty()) return;
    if (HasListGlyph()) {
        // The state entries of JustUseImgList carry their own disabled look.
        FImagelist->Draw(&buffer, rect.Left, rect.Top, FJustUseImgList || state != bsDisable, ListGlyphIndex(state));
        return;
    }
    buffer.Draw(rect.Left, rect.Top, FGraph);
}

void TOrbButton::DrawCaption(TBitmap32& buffer, const TRect& rect, TOrbUIBtnStatus state) {
    if (FCaption.empty() || rect.IsEmpty()) return;
    const TTextFlags flags =
        tfSingleLine | tfEndEllipsis | (FCenterJustify ? tfCenter : tfLeft) | AccelFlags(FShowAccelChar);
    DrawText(buffer, rect, FFonts[state], FCaption, flags);
}

void TOrbButton::DrawControl(TBitmap32& buffer) {
    const TOrbUIBtnStatus state = DrawState();
    const TLayoutResult parts = LayoutParts();
    DrawBackground(buffer, state);
    if (FRightJustify) {
        DrawCaption(buffer, parts.Caption, state);
        DrawGlyph(buffer, parts.Glyph, state);
    } else {
        DrawGlyph(buffer, parts.Glyph, state);
        DrawCaption(buffer, parts.Caption, state);
    }
    FCutHint.Update(*this, parts.CaptionCut, ShownCaption(FCaption, FShowAccelChar));
    if (OnAfterDraw) OnAfterDraw(this, buffer);
}
