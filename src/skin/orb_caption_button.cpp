// The caption button's frames, drawing and click.
#include "skin/orb_caption_button.h"

#include "skin/orb_image_ops.h"

TDStdFButton::TDStdFButton(TComponent* owner) : TOrbPushControl<TOrbUIGraphicControl>(owner) {
    // The push behaviour repaints on every change of state already.
    TrackHover = false;
    SetTransparent(true);
    ShowHint = true;
}

void TDStdFButton::SetFrames(const TPngImage& strip, int stateCount) {
    auto frame = [&](int index) { return SliceState(strip, stateCount, index).value_or(TPngImage()); };
    BtnNormal = frame(0);
    BtnOver = frame(1);
    BtnDown = frame(2);
    BtnDisable = stateCount >= 4 ? frame(3) : TPngImage();
    SetBounds(Left(), Top(), BtnNormal.Width(), BtnNormal.Height());
    Changed();
}

const TPngImage& TDStdFButton::CurrentFrame() const {
    switch (PushState()) {
        case TPushState::Disabled: return BtnDisable;
        case TPushState::Down: return BtnDown;
        case TPushState::Over: return BtnOver;
        case TPushState::Normal: break;
    }
    return BtnNormal;
}

void TDStdFButton::DrawControl(TBitmap32& buffer) {
    const TPngImage& frame = CurrentFrame();
    if (frame.Empty()) return;
    buffer.StretchDraw(buffer.BoundsRect(), frame.BoundsRect(), frame);
}

void TDStdFButton::MouseEnter() {
    TOrbPushControl<TOrbUIGraphicControl>::MouseEnter();
    // A resize cursor set by the frame beneath must not stay over a button.
    if (TWinControl* frame = Parent()) frame->SetCursor(TCursor::Default);
}

void TDStdFButton::PushClick() {
    if (OnBtnClick) OnBtnClick(this);
}
