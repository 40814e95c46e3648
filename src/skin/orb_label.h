// TOrbLabel, the skinned text: a caption aligned left, right or centred,
// optionally wrapped at words, in a font per state (hover, pressed,
// disabled), with an optional glyph before it and an optional glow drawn
// through a Gaussian blur. A caption cut short is shown as the hint.
#pragma once

#include <string>

#include "skin/orb_button_caption.h"
#include "skin/orb_control.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TOrbLabel : public TOrbUIGraphicControl {
public:
    explicit TOrbLabel(TComponent* owner);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool WordBreak() const { return FWordBreak; }
    void SetWordBreak(bool value);
    const TFont& FontOver() const { return FFontOver; }
    void SetFontOver(const TFont& value);
    const TFont& FontDown() const { return FFontDown; }
    void SetFontDown(const TFont& value);
    const TFont& FontDisable() const { return FFontDisable; }
    void SetFontDisable(const TFont& value);
    // Also switches hover tracking on or off.
    bool SupportMouseOverDown() const { return FSupportMouseOverDown; }
    void SetSupportMouseOverDown(bool value);
    const TPngImage& Graph() const { return FGraph; }
    void SetGraph(const TPngImage& value);
    TColor BlurColor() const { return FBlurColor; }
    void SetBlurColor(TColor value);  // clNone: no glow
    float BlurRadius() const { return FBlurRadius; }
    void SetBlurRadius(float value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);

    // The framework's OnClick under the name the label publishes.
    TNotifyEvent& Onclick = OnClick;

    // What is drawn now: the font, the text rectangle and its format, and
    // the glyph's rectangle (empty without one).
    const TFont& DrawFont() const;
    TRect TextRect() const;
    TTextFlags TextFlags() const;
    TRect GlyphRect() const;
    bool TextCut() const;

    void DrawControl(TBitmap32& buffer) override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseUp(TMouseButton button, TShiftState shift, TPoint p) override;

private:
    void GlowText(TBitmap32& buffer, const TRect& rect, const TFont& font, TTextFlags flags) const;

    std::string FCaption;
    TAlignment FAlignment = taLeftJustify;
    bool FWordBreak = false;
    TFont FFontOver, FFontDown, FFontDisable;
    bool FSupportMouseOverDown = true;
    TPngImage FGraph;
    TColor FBlurColor = clNone;
    float FBlurRadius = 2;
    bool FShowAccelChar = true;
    TOrbCutHint FCutHint;
};
