// The shared hover / press / click / fade behaviour of push controls.
#include "skin/orb_push_behaviour.h"

#include <algorithm>

#include "platform/gui/timer.h"

TOrbPushBehaviour::TOrbPushBehaviour(TControl& control) : FControl(control) {}

TOrbPushBehaviour::~TOrbPushBehaviour() = default;

TPushState TOrbPushBehaviour::State() const {
    if (!FControl.IsEnabledInTree()) return TPushState::Disabled;
    if (FPressed) return TPushState::Down;
    if (FHover) return TPushState::Over;
    return TPushState::Normal;
}

void TOrbPushBehaviour::Notify() {
    if (OnChange) OnChange();
}

void TOrbPushBehaviour::Enter() {
    if (FHover) return;
    FHover = true;
    if (FFadeEffect) StartFade(+FadeStepSize);
    Notify();
}

void TOrbPushBehaviour::Leave() {
    if (!FHover) return;
    FHover = false;
    if (FFadeEffect) StartFade(-FadeStepSize);
    Notify();
}

void TOrbPushBehaviour::Press(TMouseButton button) {
    if (button != TMouseButton::Left || FPressed || !FControl.IsEnabledInTree()) return;
    FPressed = true;
    Notify();
}

bool TOrbPushBehaviour::Release(TMouseButton button, TPoint p) {
    if (button != TMouseButton::Left || !FPressed) return false;
    FPressed = false;
    // Before the click: its handler may free the control.
    Notify();
    return FControl.ClientRect().Contains(p) && FControl.IsEnabledInTree();
}

void TOrbPushBehaviour::EnabledChanged() {
    if (!FControl.IsEnabledInTree()) FPressed = false;
    Notify();
}

void TOrbPushBehaviour::SetFadeEffect(bool value) {
    if (value == FFadeEffect) return;
    FFadeEffect = value;
    if (!value && FFadeActive) {
        StopFade();
        Notify();
    }
}

void TOrbPushBehaviour::SetFadeInterVal(int ms) {
    ms = std::max(ms, 1);
    if (ms == FFadeInterVal) return;
    FFadeInterVal = ms;
    if (FFadeTimer) FFadeTimer->SetInterval(ms);
}

void TOrbPushBehaviour::StartFade(int step) {
    if (!FFadeTimer) {
        FFadeTimer = std::make_unique<TTimer>(nullptr);
        FFadeTimer->SetEnabled(false);
        FFadeTimer->SetInterval(FFadeInterVal);
        FFadeTimer->OnTimer = [this](TComponent*) { FadeTick(); };
    }
    FFadeLevel = FadeStartLevel;
    FFadeStep = step;
    FFadeActive = true;
    FFadeTimer->SetEnabled(true);
    FFadeTimer->Restart();
}

void TOrbPushBehaviour::StopFade() {
    FFadeActive = false;
    if (FFadeTimer) FFadeTimer->SetEnabled(false);
}

void TOrbPushBehaviour::FadeTick() {
    FFadeLevel += FFadeStep;
    if (FFadeLevel < FadeLowLevel || FFadeLevel > FadeHighLevel) StopFade();
    Notify();
}
