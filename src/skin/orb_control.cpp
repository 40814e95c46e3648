// The shared composition, hover tracking and repaint routing of the
// skinned controls' two bases.
#include "skin/orb_control.h"

#include <algorithm>
#include <cmath>

#include "platform/gui/application.h"
#include "skin/orb_style.h"

namespace {

// What ScaleAlpha followed by making the pixels opaque shows, computed
// without the round trip through a translucent pixel (whose stored colour
// keeps only the precision its alpha leaves): each straight colour channel
// times alpha / 255, rounded, at full opacity.
void DarkenOpaque(TBitmap32& bitmap, int alpha) {
    uint8_t* row = bitmap.Data();
    for (int y = 0; y < bitmap.Height(); ++y, row += bitmap.Stride()) {
        auto* pixels = reinterpret_cast<uint32_t*>(row);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor32 c = FromPremultiplied(pixels[x]);
            auto scale = [alpha](uint8_t v) { return uint8_t((v * alpha + 127) / 255); };
            pixels[x] = ToPremultiplied(Color32(scale(RedOf(c)), scale(GreenOf(c)), scale(BlueOf(c))));
        }
    }
    bitmap.MarkDirty();
}

}  // namespace

template <class TBase>
TOrbUIControl<TBase>::TOrbUIControl(TComponent* owner) : TBase(owner) {}

template <class TBase>
TOrbUIControl<TBase>::~TOrbUIControl() {
    if (FStyle) this->RemoveFreeNotification(FStyle);
}

template <class TBase>
void TOrbUIControl<TBase>::SetAlpha(int value) {
    value = std::clamp(value, 0, 255);
    if (value == FAlpha) return;
    FAlpha = value;
    Changed();
}

template <class TBase>
void TOrbUIControl<TBase>::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    Changed();
}

template <class TBase>
void TOrbUIControl<TBase>::SetStyle(TOrbStyle* value) {
    if (value == FStyle) return;
    if (FStyle) this->RemoveFreeNotification(FStyle);
    FStyle = value;
    if (FStyle) this->FreeNotification(FStyle);
    if (!this->IsLoading()) ApplyStyle();
}

template <class TBase>
void TOrbUIControl<TBase>::Notification(TComponent* component, TOperation operation) {
    TBase::Notification(component, operation);
    if (operation == TOperation::Remove && component == FStyle) FStyle = nullptr;
}

template <class TBase>
void TOrbUIControl<TBase>::Changed() {
    if (this->IsLoading()) return;
    if (OnRedraw) {
        OnRedraw(this);
        return;
    }
    this->Invalidate();
}

template <class TBase>
void TOrbUIControl<TBase>::PaintBackground(TBitmap32& canvas) {
    if (FAlpha != 255) {
        PaintParentBackground(*this, canvas);
        DarkenOpaque(canvas, FAlpha);
    } else if (FTransparent) {
        PaintParentBackground(*this, canvas);
    } else if (this->Color() != clNone) {
        canvas.FillRect(this->PaintClip(), Color32FromColor(this->Color()));
    }
}

template <class TBase>
void TOrbUIControl<TBase>::Paint(TBitmap32& canvas) {
    if (this->Width() <= 0 || this->Height() <= 0) return;
    PaintBackground(canvas);
    DrawControl(canvas);
    const TColor frame = FrameColor();
    if (frame != clNone) canvas.FrameRect(canvas.BoundsRect(), Color32FromColor(frame));
    // The darkened background is the picture itself: it must not be blended
    // over the parent a second time when the form composes this buffer.
    if (FAlpha != 255) canvas.ResetAlpha(255);
}

template <class TBase>
void TOrbUIControl<TBase>::CopyParentBackground(const TBitmap32* parentBuffer) {
    if (!parentBuffer) return;
    if (!FSnapshot) FSnapshot = std::make_unique<TBitmap32>();
    *FSnapshot = parentBuffer->Copy(this->BoundsRect());
}

template <class TBase>
void TOrbUIControl<TBase>::PaintBuffer(const TBitmap32& parentBuffer) {
    const int w = this->Width(), h = this->Height();
    if (w <= 0 || h <= 0) return;
    if (FAlpha != 255 || FTransparent) {
        FComposedBuffer = parentBuffer.Copy(this->BoundsRect());
        if (FAlpha != 255) DarkenOpaque(FComposedBuffer, FAlpha);
    } else {
        FComposedBuffer.SetSize(w, h);
        FComposedBuffer.Clear(Color32FromColor(this->Color()));
    }
    FComposedBuffer.DrawMode = TDrawMode::Blend;
    FComposedBuffer.CombineMode = TCombineMode::Merge;
    DrawControl(FComposedBuffer);
    FComposedBuffer.ResetAlpha(255);
}

template <class TBase>
void TOrbUIControl<TBase>::MouseEnter() {
    TBase::MouseEnter();
    if (FHover) return;
    FHover = true;
    if (TrackHover) Changed();
}

template <class TBase>
void TOrbUIControl<TBase>::MouseLeave() {
    TBase::MouseLeave();
    FHover = false;
    if (TrackHover) Changed();
}

template <class TBase>
void TOrbUIControl<TBase>::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    TBase::MouseDown(button, shift, p);
    if (button == TMouseButton::Left) FPressed = true;
}

template <class TBase>
void TOrbUIControl<TBase>::MouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    TBase::MouseUp(button, shift, p);
    if (button == TMouseButton::Left) FPressed = false;
}

template <class TBase>
void TOrbUIControl<TBase>::MouseMove(TShiftState shift, TPoint p) {
    TBase::MouseMove(shift, p);
    // The windowed base marks hover on any move: a child that covered the
    // control may have just gone away without an enter.
    if constexpr (std::is_base_of_v<TWinControl, TBase>) {
        if (TrackHover && !FHover && this->ClientRect().Contains(p)) {
            FHover = true;
            Changed();
        }
    }
}

template <class TBase>
void TOrbUIControl<TBase>::EnabledChanged() {
    TBase::EnabledChanged();
    Changed();
}

template class TOrbUIControl<TControl>;
template class TOrbUIControl<TWinControl>;

void PaintParentBackground(const TControl& control, TBitmap32& canvas) {
    if (!control.Parent() || control.Width() <= 0 || control.Height() <= 0) return;
    control.PaintParentBackground(canvas);
}

int KeyRepeatDelay() { return Application ? Application->Host().KeyRepeatDelayMs() : KeyRepeatDelayForSetting(1); }

int KeyRepeatInterval() {
    return Application ? Application->Host().KeyRepeatIntervalMs() : KeyRepeatIntervalForSetting(31);
}

int KeyRepeatDelayForSetting(int d) { return 200 * d + 200; }

int KeyRepeatIntervalForSetting(int s) { return int(std::lround(1000.0 / ((s + 1) * 2.3))); }
