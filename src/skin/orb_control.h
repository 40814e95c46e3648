// The two bases of every skinned control: TOrbUIParentControl (windowed, may
// hold children, may take focus) and TOrbUIGraphicControl (windowless). Both
// compose themselves in the buffer the form's paint pass hands them, in one
// fixed order:
//   1. nothing when the control has no area;
//   2. the background: with Alpha below 255 what lies beneath, darkened by
//      Alpha; else with Transparent what lies beneath as it is;
//      else the control's Color (controls with a background image draw it
//      instead, by overriding PaintBackground);
//   3. DrawControl, the control's own content;
//   4. a one-pixel frame in FrameColor unless that is clNone;
//   5. the buffer reaches the screen as one copy: where the background was
//      darkened, opaquely (the darkened parent is the picture, not a veil).
// They also track hover and press for their skins, and route repaint
// requests through OnRedraw when a parent composes them itself.
#pragma once

#include <memory>

#include "platform/gui/control.h"
#include "skin/orb_types.h"

class TOrbStyle;

template <class TBase>
class TOrbUIControl : public TBase {
public:
    explicit TOrbUIControl(TComponent* owner);
    ~TOrbUIControl() override;

    int Alpha() const { return FAlpha; }
    void SetAlpha(int value);  // 0..255, clamped
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // Take images and fonts from the assigned style (stored only).
    bool OwnerStyle() const { return FOwnerStyle; }
    void SetOwnerStyle(bool value) { FOwnerStyle = value; }
    TOrbStyle* Style() const { return FStyle; }
    // Stores the shared style (not owned) and, when it changed and the
    // control is not loading, applies it.
    virtual void SetStyle(TOrbStyle* value);

    bool Hover() const { return FHover; }
    bool Pressed() const { return FPressed; }
    // Repaint when hover changes (panels turn it off).
    bool TrackHover = true;
    // Called instead of invalidating when the control asks to be repainted.
    TNotifyEvent OnRedraw;

    // Asks for a repaint: nothing while loading; OnRedraw when assigned,
    // else the control invalidates itself.
    virtual void Changed();
    virtual void ApplyStyle() {}
    // The content, drawn into the control's buffer after the background.
    virtual void DrawControl(TBitmap32& /*buffer*/) {}

    // For a parent that composes its children itself into its own buffer:
    // the region of that buffer under the control (its bounds in the parent)
    // serves as what lies beneath.
    // CopyParentBackground keeps a copy of that region as the background
    // snapshot (created on first use); without a buffer it does nothing.
    virtual void CopyParentBackground(const TBitmap32* parentBuffer);
    // Composes the control into ComposedBuffer() over that region: darkened
    // copy, plain copy or Color, then DrawControl, then fully opaque.
    virtual void PaintBuffer(const TBitmap32& parentBuffer);
    const TBitmap32& ComposedBuffer() const { return FComposedBuffer; }
    const TBitmap32* BackgroundSnapshot() const { return FSnapshot.get(); }

protected:
    void Paint(TBitmap32& canvas) override;
    // Step 2 of the composition; the default follows Alpha, Transparent and
    // Color as above.
    virtual void PaintBackground(TBitmap32& canvas);
    // The outer frame's colour; clNone (the default) draws none.
    virtual TColor FrameColor() const { return clNone; }

    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseUp(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseMove(TShiftState shift, TPoint p) override;
    void EnabledChanged() override;
    void Notification(TComponent* component, TOperation operation) override;

    // For controls that keep their own hover (an item, a part of the bar).
    void SetHoverState(bool value) { FHover = value; }
    void SetPressedState(bool value) { FPressed = value; }

private:
    int FAlpha = 255;
    bool FTransparent = false;
    bool FOwnerStyle = false;
    TOrbStyle* FStyle = nullptr;
    bool FHover = false;
    bool FPressed = false;
    TBitmap32 FComposedBuffer;
    std::unique_ptr<TBitmap32> FSnapshot;
};

class TOrbUIParentControl : public TOrbUIControl<TWinControl> {
public:
    using TOrbUIControl<TWinControl>::TOrbUIControl;
};

class TOrbUIGraphicControl : public TOrbUIControl<TControl> {
public:
    using TOrbUIControl<TControl>::TOrbUIControl;
};

// What lies beneath the control (its parent and the siblings below it),
// painted into the canvas.
void PaintParentBackground(const TControl& control, TBitmap32& canvas);

// The auto-repeat timing of held buttons, from the desktop's keyboard
// settings: the delay before the second step and the interval after it, in
// milliseconds.
int KeyRepeatDelay();
int KeyRepeatInterval();
// Where the desktop states its keyboard settings as steps rather than
// milliseconds: delay step d (0..3) and speed step s (0..31).
int KeyRepeatDelayForSetting(int d);
int KeyRepeatIntervalForSetting(int s);
