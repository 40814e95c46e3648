// TOrbCheckBox, the skinned check box and radio button: a strip of frames
// in unchecked / checked pairs (normal, hover, pressed, disabled) at the
// left, the caption after it in a colour per state. A press toggles it
// (the owner may refuse through OnOrbUIRadioChange); a radio item that
// becomes checked unchecks the checked radio items of its parent.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "skin/orb_button_caption.h"
#include "skin/orb_control.h"
#include "skin/orb_push_behaviour.h"

using TOrbRadioChangeEvent = std::function<void(TComponent* Sender, bool& Dochange)>;
using TOrbCheckAfterDrawEvent = std::function<void(TComponent* Sender, TBitmap32& ACanvas, const TRect& Arect)>;

class TOrbCheckBox : public TOrbPushControl<TOrbUIGraphicControl> {
public:
    explicit TOrbCheckBox(TComponent* owner);

    const TPngImage& ImgCheckBox() const { return FImgCheckBox; }
    void SetImgCheckBox(const TPngImage& value);
    const TPngImage& ImgRadioBox() const { return FImgRadioBox; }
    void SetImgRadioBox(const TPngImage& value);
    int CheckStateCount() const { return FCheckStateCount; }
    void SetCheckStateCount(int value);  // below 1 ignored
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    int TextOffset() const { return FTextOffset; }
    void SetTextOffset(int value);
    TColor FontColorNormal() const { return FFontColors[0]; }
    TColor FontColorOver() const { return FFontColors[1]; }
    TColor FontColorDown() const { return FFontColors[2]; }
    TColor FontColorDisable() const { return FFontColors[3]; }
    void SetFontColorNormal(TColor value) { SetFontColor(0, value); }
    void SetFontColorOver(TColor value) { SetFontColor(1, value); }
    void SetFontColorDown(TColor value) { SetFontColor(2, value); }
    void SetFontColorDisable(TColor value) { SetFontColor(3, value); }
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);

    TOrbRadioChangeEvent OnOrbUIRadioChange;
    TOrbCheckAfterDrawEvent OnAfterDraw;

    // The strip frame drawn now (0..7), -1 when that frame is absent; where
    // the box and the caption go (client coordinates).
    int DrawFrame() const;
    TRect BoxRect() const;
    TRect CaptionRect(bool& cut) const;
    TColor CaptionColor() const;

    void Loaded() override;
    void DrawControl(TBitmap32& buffer) override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override;

private:
    void PrepareImages();
    void UncheckSiblings();
    void SetFontColor(int index, TColor value);
    const TPngImage* Frame(int index) const;

    TPngImage FImgCheckBox, FImgRadioBox;
    int FCheckStateCount = 8;
    bool FChecked = false;
    bool FRadioItem = false;
    std::string FCaption;
    int FTextOffset = 0;
    std::array<TColor, 4> FFontColors{0x000000, 0xFF0000, 0x800000, 0x808080};
    bool FShowAccelChar = true;
    std::array<std::optional<TPngImage>, 8> FFrames;
    TOrbCutHint FCutHint;
};
