// TOrbCheckBox: frames cut once from its strip, the press that toggles it,
// the radio group of its parent, and its drawing.
#include "skin/orb_check_box.h"

#include <algorithm>

#include "skin/orb_image_ops.h"

TOrbCheckBox::TOrbCheckBox(TComponent* owner) : TOrbPushControl<TOrbUIGraphicControl>(owner) {
    SetBounds(0, 0, 80, 20);
}

void TOrbCheckBox::Loaded() {
    TOrbPushControl<TOrbUIGraphicControl>::Loaded();
    PrepareImages();
}

void TOrbCheckBox::PrepareImages() {
    if (IsLoading()) return;
    FFrames.fill(std::nullopt);
    const TPngImage& strip = FRadioItem ? FImgRadioBox : FImgCheckBox;
    for (int k = 0; k < std::min(FCheckStateCount, int(FFrames.size())); ++k) {
        FFrames[size_t(k)] = SliceState(strip, FCheckStateCount, k);
        if (!FFrames[size_t(k)]) continue;
        FFrames[size_t(k)]->DrawMode = TDrawMode::Blend;
        FFrames[size_t(k)]->CombineMode = TCombineMode::Merge;
    }
    for (const auto& frame : FFrames)
        if (frame) {
            SetHeight(frame->Height());
            break;
        }
    Changed();
}

const TPngImage* TOrbCheckBox::Frame(int index) const {
    if (index < 0 || index >= int(FFrames.size()) || !FFrames[size_t(index)]) return nullptr;
    return &*FFrames[size_t(index)];
}

void TOrbCheckBox::SetImgCheckBox(const TPngImage& value) {
    FImgCheckBox = value;
    if (!FRadioItem) PrepareImages();
}

void TOrbCheckBox::SetImgRadioBox(const TPngImage& value) {
    FImgRadioBox = value;
    if (FRadioItem) PrepareImages();
}

void TOrbCheckBox::SetCheckStateCount(int value) {
    if (value < 1 || value == FCheckStateCount) return;
    FCheckStateCount = value;
    PrepareImages();
}

void TOrbCheckBox::SetRadioItem(bool value) {
    if (value == FRadioItem) return;
    FRadioItem = value;
    PrepareImages();
    if (FRadioItem && FChecked) UncheckSiblings();
}

void TOrbCheckBox::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    if (FRadioItem && FChecked) UncheckSiblings();
    Changed();
}

void TOrbCheckBox::UncheckSiblings() {
    if (!Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TOrbCheckBox*>(Parent()->Controls(i));
        if (!other || other == this || !other->FRadioItem || !other->FChecked) continue;
        other->FChecked = false;
        other->Changed();
    }
}

void TOrbCheckBox::SetCaption(const std::string& value) {
    if (value == FCaption) return;
    FCaption = value;
    Changed();
}

void TOrbCheckBox::SetTextOffset(int value) {
    if (value == FTextOffset) return;
    FTextOffset = value;
    Changed();
}

void TOrbCheckBox::SetFontColor(int index, TColor value) {
    if (FFontColors[size_t(index)] == value) return;
    FFontColors[size_t(index)] = value;
    Changed();
}

void TOrbCheckBox::SetShowAccelChar(bool value) {
    if (value == FShowAccelChar) return;
    FShowAccelChar = value;
    Changed();
}

// Any button may toggle the box; the owner can refuse first.
void TOrbCheckBox::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    bool doChange = true;
    if (OnOrbUIRadioChange) {
        auto alive = Lifetime();
        OnOrbUIRadioChange(this, doChange);
        if (alive.expired() || !doChange) return;
    }
    if (IsEnabledInTree() && Push().Hover() && !Push().Pressed() && !(FRadioItem && FChecked)) SetChecked(!FChecked);
    TOrbPushControl<TOrbUIGraphicControl>::MouseDown(button, shift, p);
}

int TOrbCheckBox::DrawFrame() const {
    int pair = 0;
    if (!IsEnabledInTree()) {
        if (Frame(7)) pair = 6;
    } else if (Push().Pressed() && Frame(5)) {
        pair = 4;
    } else if (Push().Hover() && Frame(3)) {
        pair = 2;
    }
    const int frame = pair + (FChecked ? 1 : 0);
    return Frame(frame) ? frame : -1;
}

TColor TOrbCheckBox::CaptionColor() const {
    // By the state itself, so a strip without disabled frames still greys
    // the caption of a disabled box.
    if (!IsEnabledInTree()) return FontColorDisable();
    if (Push().Pressed()) return FontColorDown();
    if (Push().Hover()) return FontColorOver();
    return FontColorNormal();
}

TRect TOrbCheckBox::BoxRect() const {
    const TPngImage* box = Frame(DrawFrame());
    if (!box)
        for (int k = 0; k < int(FFrames.size()) && !box; ++k) box = Frame(k);
    if (!box) return {};
    return Bounds(0, (Height() - box->Height()) / 2, box->Width(), box->Height());
}

TRect TOrbCheckBox::CaptionRect(bool& cut) const {
    const TTextFlags flags = AccelFlags(FShowAccelChar);
    const TPoint extent = TextExtent(Font(), FCaption, flags);
    const int left = BoxRect().Right + FTextOffset + 2;
    const int top = std::max(0, (Height() - extent.Y) / 2);
    cut = !FCaption.empty() && left + extent.X > Width() - 2;
    return {left, top, Width() - 2, std::min(top + extent.Y, Height())};
}

void TOrbCheckBox::DrawControl(TBitmap32& buffer) {
    if (const TPngImage* box = Frame(DrawFrame())) {
        const TRect r = BoxRect();
        buffer.Draw(r.Left, r.Top, *box);
    }
    bool cut = false;
    const TRect caption = CaptionRect(cut);
    if (!FCaption.empty() && !caption.IsEmpty()) {
        TFont font = Font();
        font.Color = CaptionColor();
        DrawText(buffer, caption, font, FCaption, tfSingleLine | tfEndEllipsis | AccelFlags(FShowAccelChar));
    }
    FCutHint.Update(*this, cut, ShownCaption(FCaption, FShowAccelChar));
    if (OnAfterDraw) OnAfterDraw(this, buffer, ClientRect());
}
