// The press behaviour the skinned push controls share (image buttons, check
// boxes, the form frame's caption buttons): hover, press, click on a release
// inside, and the optional hover fade on the application's clock. The
// controls only differ in what they draw and what a click does.
//
// How to use it: derive from TOrbPushControl<TBase>, where TBase is any
// control class (normally TOrbUIGraphicControl), then
//   - draw from PushState() (and, with the fade on, FadeActive() and
//     FadeLevel(): draw the hover image with its alpha times level/255);
//   - react to a click in PushClick() (the default fires OnClick);
//   - override PushChanged() to filter repaints (the default repaints).
// The framework's own Click() is replaced: clicks come only from
// PushClick(), so a control never sees two clicks for one release.
// A control that cannot derive from the template owns a TOrbPushBehaviour
// and forwards its mouse hooks to it the way TOrbPushControl does.
//
//   event                 | state afterwards             | calls
//   mouse enter           | hover; fade in from 180      | PushChanged
//   mouse leave           | no hover; fade out from 180  | PushChanged
//   left press            | pressed (the form captures   | PushChanged
//                         | the mouse until the release) |
//   left release, pressed | not pressed                  | PushChanged, then
//                         |                              | PushClick when the
//                         |                              | point is inside and
//                         |                              | the control enabled
//   fade tick             | level +-5; leaving 150..255  | PushChanged
//                         | ends the fade                |
//   enabled changes       | a disabled control drops     | PushChanged
//                         | its press                    |
#pragma once

#include <functional>
#include <memory>
#include <type_traits>

#include "platform/gui/control.h"

class TTimer;

// What a push control shows, in order of precedence.
enum class TPushState { Normal, Over, Down, Disabled };

class TOrbPushBehaviour {
public:
    explicit TOrbPushBehaviour(TControl& control);
    ~TOrbPushBehaviour();
    TOrbPushBehaviour(const TOrbPushBehaviour&) = delete;
    TOrbPushBehaviour& operator=(const TOrbPushBehaviour&) = delete;

    // Called whenever what the control shows may have changed.
    std::function<void()> OnChange;

    // The hooks to forward. Release answers whether it completes a click.
    void Enter();
    void Leave();
    void Press(TMouseButton button);
    bool Release(TMouseButton button, TPoint p);
    void EnabledChanged();

    bool Hover() const { return FHover; }
    bool Pressed() const { return FPressed; }
    // Disabled, else pressed, else hover, else normal.
    TPushState State() const;

    // The hover fade: on enter the hover image comes in from level 180
    // rising by 5 per tick, on leave from 180 falling by 5; it ends when the
    // level leaves 150..255. The timer is made on the first hover.
    bool FadeEffect() const { return FFadeEffect; }
    void SetFadeEffect(bool value);
    int FadeInterVal() const { return FFadeInterVal; }
    void SetFadeInterVal(int ms);
    bool FadeActive() const { return FFadeActive; }
    int FadeLevel() const { return FFadeLevel; }

    static constexpr int FadeStartLevel = 180;
    static constexpr int FadeStepSize = 5;
    static constexpr int FadeLowLevel = 150;
    static constexpr int FadeHighLevel = 255;

private:
    void StartFade(int step);
    void StopFade();
    void FadeTick();
    void Notify();

    TControl& FControl;
    bool FHover = false;
    bool FPressed = false;
    bool FFadeEffect = false;
    int FFadeInterVal = 50;
    bool FFadeActive = false;
    int FFadeLevel = FadeStartLevel;
    int FFadeStep = 0;
    std::unique_ptr<TTimer> FFadeTimer;
};

template <class TBase>
class TOrbPushControl : public TBase {
    static_assert(std::is_base_of_v<TControl, TBase>, "push controls are controls");

public:
    explicit TOrbPushControl(TComponent* owner) : TBase(owner), FPush(*this) {
        FPush.OnChange = [this] { PushChanged(); };
    }

    TOrbPushBehaviour& Push() { return FPush; }
    const TOrbPushBehaviour& Push() const { return FPush; }
    TPushState PushState() const { return FPush.State(); }

protected:
    // A left release over the enabled control that was pressed on it.
    virtual void PushClick() { TBase::Click(); }
    virtual void PushChanged() {
        if constexpr (requires(TBase& b) { b.Changed(); })
            this->Changed();
        else
            this->Invalidate();
    }

    void MouseEnter() override {
        TBase::MouseEnter();
        FPush.Enter();
    }
    void MouseLeave() override {
        TBase::MouseLeave();
        FPush.Leave();
    }
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override {
        auto alive = this->Lifetime();
        TBase::MouseDown(button, shift, p);
        if (!alive.expired()) FPush.Press(button);
    }
    void MouseUp(TMouseButton button, TShiftState shift, TPoint p) override {
        auto alive = this->Lifetime();
        TBase::MouseUp(button, shift, p);
        if (alive.expired()) return;
        if (FPush.Release(button, p)) PushClick();
    }
    void EnabledChanged() override {
        TBase::EnabledChanged();
        FPush.EnabledChanged();
    }
    void Click() override {}

private:
    TOrbPushBehaviour FPush;
};
