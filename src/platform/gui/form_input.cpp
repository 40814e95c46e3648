// TForm's input dispatcher: hit-testing, hover (enter/leave pairs), capture
// from press to release, clicks and double clicks, the wheel, keys, focus
// and tab order.
//
// Mouse state per form:
//   event       | capture set?  | target            | afterwards
//   press       | no            | control under it  | capture = target, focus moves
//   press       | yes           | captured control  | (second button) unchanged
//   move        | either        | capture or under  | hover follows the pointer
//   release     | yes           | captured control  | Click if over it; capture ends
//                                                     when no button is left down
// Every call out may free the target or the form; each is followed by a
// check of the weak lifetime handles taken before it.
#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/form.h"

namespace {
unsigned ButtonBit(TMouseButton button) {
    switch (button) {
        case TMouseButton::Left: return 1;
        case TMouseButton::Right: return 2;
        case TMouseButton::Middle: return 4;
    }
    return 0;
}
}  // namespace

TControl* TForm::HitTarget(TPoint p) {
    if (!ClientRect().Contains(p)) return nullptr;
    TControl* hit = ControlAt(p);
    return hit ? hit : this;
}

TPoint TForm::LocalPoint(TControl& control, TPoint p) const {
    TRect r = control.FormRect();
    return {p.X - r.Left, p.Y - r.Top};
}

void TForm::HostMouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    if (InputBlocked()) return;
    Application->CancelHint();
    auto alive = Lifetime();
    if (Application->OnFormPress) {
        Application->OnFormPress(this);
        if (alive.expired()) return;
    }
    TControl* hit = HitTarget(p);
    UpdateHover(hit);
    if (alive.expired()) return;
    TControl* target = FCapture ? FCapture : (FHover ? FHover : this);
    FButtonsDown |= ButtonBit(button);
    if (!FCapture) SetCaptureControl(target);
    auto targetAlive = target->Lifetime();
    if (TWinControl* focus = FocusTargetFor(target)) SetActiveControl(focus);
    if (alive.expired() || targetAlive.expired()) return;
    FPressWasDouble = (shift & ssDouble) != 0;
    if (FPressWasDouble && button == TMouseButton::Left) {
        target->DblClick();
        if (alive.expired() || targetAlive.expired()) return;
    }
    target->MouseDown(button, shift, LocalPoint(*target, p));
}

void TForm::HostMouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    if (InputBlocked()) return;
    auto alive = Lifetime();
    TControl* target = FCapture ? FCapture : HitTarget(p);
    if (!target) target = this;
    auto targetAlive = target->Lifetime();
    bool hadButton = (FButtonsDown & ButtonBit(button)) != 0;
    FButtonsDown &= ~ButtonBit(button);
    if (FButtonsDown == 0) SetCaptureControl(nullptr);
    TPoint local = LocalPoint(*target, p);
    target->MouseUp(button, shift, local);
    if (alive.expired()) return;
    bool clicked = hadButton && button == TMouseButton::Left && !FPressWasDouble && !targetAlive.expired() &&
                   target->ClientRect().Contains(local) && target->IsEnabledInTree();
    if (clicked) target->Click();
    if (alive.expired()) return;
    UpdateHover(HitTarget(p));
}

void TForm::HostMouseMove(TShiftState shift, TPoint p) {
    if (InputBlocked()) return;
    auto alive = Lifetime();
    TControl* hit = HitTarget(p);
    UpdateHover(hit);
    if (alive.expired()) return;
    TControl* target = FCapture ? FCapture : hit;
    if (!target) return;
    if (!FCapture) Application->HoverChanged(target, ClientToScreen(p));
    target->MouseMove(shift, LocalPoint(*target, p));
}

void TForm::HostMouseLeave() {
    Application->CancelHint();
    // A captured control keeps its hover until the release decides.
    if (!FCapture) UpdateHover(nullptr);
}

void TForm::HostMouseWheel(int delta, TShiftState shift, TPoint p) {
    if (InputBlocked()) return;
    Application->CancelHint();
    auto alive = Lifetime();
    TControl* target = FCapture ? FCapture : HitTarget(p);
    // Unhandled wheel steps travel up to the parents (a list inside a panel).
    while (target) {
        auto targetAlive = target->Lifetime();
        TEventResult result = target->MouseWheel(delta, shift, LocalPoint(*target, p));
        if (alive.expired() || targetAlive.expired() || result == TEventResult::Handled) return;
        target = target->Parent();
    }
}

void TForm::UpdateHover(TControl* target) {
    if (target == FHover) return;
    std::vector<TControl*> oldChain, newChain;
    for (TControl* c = FHover; c; c = c->Parent()) oldChain.push_back(c);
    for (TControl* c = target; c; c = c->Parent()) newChain.push_back(c);
    FHover = target;
    auto inChain = [](const std::vector<TControl*>& chain, TControl* c) {
        return std::find(chain.begin(), chain.end(), c) != chain.end();
    };
    std::vector<std::pair<TControl*, std::weak_ptr<void>>> leaving, entering;
    for (TControl* c : oldChain)
        if (!inChain(newChain, c)) leaving.push_back({c, c->Lifetime()});
    for (auto it = newChain.rbegin(); it != newChain.rend(); ++it)
        if (!inChain(oldChain, *it)) entering.push_back({*it, (*it)->Lifetime()});
    TCursor cursor = TCursor::Default;
    for (TControl* c : newChain)
        if (c->Cursor() != TCursor::Default) {
            cursor = c->Cursor();
            break;
        }
    if (FWindow) Application->Host().SetCursor(FWindow, cursor);
    if (!target) Application->CancelHint();
    auto alive = Lifetime();
    for (auto& [c, life] : leaving) {
        if (life.expired()) continue;
        c->FMouseInControl = false;
        c->MouseLeave();
        if (alive.expired()) return;
    }
    for (auto& [c, life] : entering) {
        if (life.expired()) continue;
        c->FMouseInControl = true;
        c->MouseEnter();
        if (alive.expired()) return;
    }
}

void TForm::SetCaptureControl(TControl* control) {
    if (control == FCapture) return;
    FCapture = control;
    if (FWindow) Application->Host().SetCapture(FWindow, control != nullptr);
}

void TForm::ControlRemoving(TControl* control) {
    if (control == this) return;
    if (FHover && control->Contains(FHover)) {
        for (TControl* c = FHover; c && c != control->Parent(); c = c->Parent()) c->FMouseInControl = false;
        FHover = control->Parent();
    }
    if (FCapture && control->Contains(FCapture)) SetCaptureControl(nullptr);
    if (FActiveControl && control->Contains(FActiveControl)) FActiveControl = nullptr;
    if (Application) Application->ControlRemoving(control);
}

// ---- keyboard and focus ----

void TForm::HostKeyDown(int key, TShiftState shift) {
    if (InputBlocked()) return;
    Application->CancelHint();
    if (Application->OnKeyHook && Application->OnKeyHook(this, key, shift) == TKeyHookResult::Swallow) return;
    auto alive = Lifetime();
    TWinControl* target = FActiveControl ? FActiveControl : this;
    if (KeyPreview && target != this) {
        KeyDown(key, shift);
        if (alive.expired() || key == 0) return;
        target = FActiveControl ? FActiveControl : this;
    }
    target->KeyDown(key, shift);
    if (alive.expired()) return;
    if (key == vk::Tab && (shift & (ssCtrl | ssAlt)) == 0)
        SelectNext(FActiveControl, (shift & ssShift) ? TTabDirection::Backward : TTabDirection::Forward);
}

void TForm::HostKeyUp(int key, TShiftState shift) {
    if (InputBlocked()) return;
    auto alive = Lifetime();
    TWinControl* target = FActiveControl ? FActiveControl : this;
    if (KeyPreview && target != this) {
        KeyUp(key, shift);
        if (alive.expired() || key == 0) return;
        target = FActiveControl ? FActiveControl : this;
    }
    target->KeyUp(key, shift);
}

void TForm::HostKeyPress(const std::string& text) {
    if (InputBlocked() || text.empty()) return;
    TWinControl* target = FActiveControl ? FActiveControl : this;
    target->KeyPress(text);
}

TWinControl* TForm::FocusTargetFor(TControl* control) {
    for (TControl* c = control; c && c != this; c = c->Parent()) {
        TWinControl* win = c->AsWinControl();
        if (win && win->FocusOnClick() && win->CanFocus()) return win;
    }
    return nullptr;
}

void TForm::SetActiveControl(TWinControl* control) {
    if (control == FActiveControl) return;
    if (control && (control == this || control->Form() != this || !control->CanFocus())) return;
    TWinControl* old = FActiveControl;
    FActiveControl = control;
    auto alive = Lifetime();
    if (old) {
        old->FocusExit();
        if (alive.expired() || FActiveControl != control) return;
    }
    if (control) control->FocusEnter();
}

void TForm::CollectTabStops(TWinControl& parent, std::vector<TWinControl*>& out) {
    std::vector<TWinControl*> children;
    for (auto& c : parent.FControls)
        if (TWinControl* win = c->AsWinControl()) children.push_back(win);
    std::stable_sort(children.begin(), children.end(),
                     [](TWinControl* a, TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (TWinControl* win : children) {
        if (!win->Visible() || !win->Enabled()) continue;
        if (win->TabStop) out.push_back(win);
        CollectTabStops(*win, out);
    }
}

void TForm::SelectNext(TWinControl* from, TTabDirection direction) {
    std::vector<TWinControl*> stops;
    CollectTabStops(*this, stops);
    if (stops.empty()) return;
    auto it = std::find(stops.begin(), stops.end(), from);
    int n = int(stops.size());
    int index;
    if (it == stops.end())
        index = direction == TTabDirection::Forward ? 0 : n - 1;
    else
        index = (int(it - stops.begin()) + (direction == TTabDirection::Forward ? 1 : n - 1)) % n;
    SetActiveControl(stops[size_t(index)]);
}
