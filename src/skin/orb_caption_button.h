// TDStdFButton: one caption button of the skinned window frame (close,
// maximise, restore, minimise, menu, skin). It shows one frame of its strip
// per state over what lies beneath it, stretched to its size, and reports a
// click through OnBtnClick. Hover, press and click-on-release come from the
// push behaviour every skinned button shares.
#pragma once

#include "skin/orb_control.h"
#include "skin/orb_push_behaviour.h"

class TDStdFButton : public TOrbPushControl<TOrbUIGraphicControl> {
public:
    explicit TDStdFButton(TComponent* owner);

    // The frames of the strip: 0, 1, 2 and, with four frames, 3, drawn with
    // their own draw and combine modes (SliceState gives blend / merge). A
    // state whose frame is empty shows only the background.
    TPngImage BtnNormal, BtnOver, BtnDown, BtnDisable;
    TNotifyEvent OnBtnClick;

    // Takes the frames from a strip of `stateCount` frames and sizes the
    // button to one frame (0 x 0 when the strip yields none).
    void SetFrames(const TPngImage& strip, int stateCount);
    const TPngImage& CurrentFrame() const;

    void DrawControl(TBitmap32& buffer) override;

protected:
    void MouseEnter() override;
    void PushClick() override;
};
