// TOrbScrollBar's input: hover per part, presses that drag the thumb or
// step the position with auto-repeat, the release, the wheel and focus.
//
//   state         | event              | action
//   idle          | move               | hover flags follow the point
//   idle          | press on a button  | pressed; one step now; timer at the
//                 |  or a page area    |  keyboard delay
//   idle          | press on the thumb | pressed; grab offset = point - thumb start
//   repeating     | tick               | step when the part is still hovered
//                 |                    |  (buttons: their flag, kept until the
//                 |                    |  mouse leaves the bar; page areas:
//                 |                    |  hit test at the last point); the
//                 |                    |  first tick switches to the repeat rate
//   dragging      | move               | thumb start = point - grab offset,
//                 |                    |  position from it, OnScroll, set
//   any           | leave              | hover flags cleared
//   any           | release            | presses cleared, timer stopped,
//                 |                    |  position passed through OnScroll
#include <algorithm>

#include "skin/orb_scroll_bar_impl.h"

namespace {
bool IsRepeating(TOrbScrollBar::TPart part) {
    return part == TOrbScrollBar::TPart::BtnLT || part == TOrbScrollBar::TPart::BtnRB ||
           part == TOrbScrollBar::TPart::PageBefore || part == TOrbScrollBar::TPart::PageAfter;
}

bool IsButton(TOrbScrollBar::TPart part) {
    return part == TOrbScrollBar::TPart::BtnLT || part == TOrbScrollBar::TPart::BtnRB;
}

TOrbScrollBar::TPart PressedPart(const std::array<bool, 6>& pressed) {
    for (size_t i = 1; i < pressed.size(); ++i)
        if (pressed[i]) return TOrbScrollBar::TPart(i);
    return TOrbScrollBar::TPart::None;
}
}  // namespace

void TOrbScrollBar::SetHoverPart(TPart part) {
    std::array<bool, 6> hover{};
    if (part != TPart::None) hover[size_t(part)] = true;
    if (hover == FImpl->Hover) return;
    FImpl->Hover = hover;
    Changed();
}

void TOrbScrollBar::MouseMove(TShiftState shift, TPoint p) {
    TOrbUIParentControl::MouseMove(shift, p);
    FImpl->LastPoint = p;
    if (FImpl->Pressed[size_t(TPart::Thumb)]) {
        DragThumb(p);
        return;
    }
    if (Pressed() || (shift & ssLeft)) return;
    SetHoverPart(PartAt(p));
}

void TOrbScrollBar::MouseLeave() {
    TOrbUIParentControl::MouseLeave();
    if (FImpl->Hover == std::array<bool, 6>{}) return;
    FImpl->Hover = {};
    Changed();
}

void TOrbScrollBar::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TOrbUIParentControl::MouseDown(button, shift, p);
    if (alive.expired() || button != TMouseButton::Left) return;
    TImpl& s = *FImpl;
    s.LastPoint = p;
    // The press may come without a move before it: the part is taken from
    // the point itself, and hover follows it.
    const TPart part = PartAt(p);
    SetHoverPart(part);
    if (part == TPart::None) return;
    s.Pressed[size_t(part)] = true;
    if (part == TPart::Thumb) {
        const TRect thumb = Geometry().Thumb;
        s.GrabOffset = Along(p) - (FKind == skVer ? thumb.Top : thumb.Left);
    }
    Changed();
    if (IsRepeating(part)) StartRepeat();
}

void TOrbScrollBar::MouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TOrbUIParentControl::MouseUp(button, shift, p);
    if (alive.expired() || button != TMouseButton::Left) return;
    TImpl& s = *FImpl;
    const bool wasPressed = PressedPart(s.Pressed) != TPart::None;
    s.Pressed = {};
    StopRepeat();
    s.GrabOffset = 0;
    int position = FPosition;
    if (OnScroll) OnScroll(this, position);
    if (alive.expired()) return;
    SetPosition(position);
    if (wasPressed) Changed();
    SetHoverPart(ClientRect().Contains(p) ? PartAt(p) : TPart::None);
}

void TOrbScrollBar::DragThumb(TPoint p) {
    const TGeometry g = Geometry();
    if (g.Thumb.IsEmpty()) return;
    const bool ver = FKind == skVer;
    const int trackStart = ver ? g.Track.Top : g.Track.Left;
    const int trackEnd = ver ? g.Track.Bottom : g.Track.Right;
    const int thumb = ver ? g.Thumb.Height() : g.Thumb.Width();
    const int start = std::clamp(Along(p) - FImpl->GrabOffset, trackStart, std::max(trackStart, trackEnd - thumb));
    int position = PositionFromCoordinate(start);
    auto alive = Lifetime();
    if (OnScroll) OnScroll(this, position);
    if (alive.expired()) return;
    SetPosition(position);
}

// One step of a button or page area: clamped, offered to OnScroll, set.
void TOrbScrollBar::Step(TPart part) {
    const long long page = FPageSize < 1 ? LargeChange : FPageSize;
    long long delta = 0;
    switch (part) {
        case TPart::BtnLT: delta = -(long long)SmallChange; break;
        case TPart::BtnRB: delta = SmallChange; break;
        case TPart::PageBefore: delta = -page; break;
        case TPart::PageAfter: delta = page; break;
        default: return;
    }
    int position = ClampPosition(FPosition + delta);
    auto alive = Lifetime();
    if (OnScroll) OnScroll(this, position);
    if (alive.expired()) return;
    SetPosition(position);
}

void TOrbScrollBar::StartRepeat() {
    auto alive = Lifetime();
    Step(PressedPart(FImpl->Pressed));
    // OnScroll may have freed the bar or released the button (a modal box).
    if (alive.expired() || !IsRepeating(PressedPart(FImpl->Pressed))) return;
    TImpl& s = *FImpl;
    if (!s.Timer) {
        s.Timer = std::make_unique<TTimer>(nullptr);
        s.Timer->SetEnabled(false);
        s.Timer->OnTimer = [this](TComponent*) { RepeatTick(); };
    }
    s.WaitingForDelay = true;
    s.Timer->SetInterval(KeyRepeatDelay());
    s.Timer->SetEnabled(true);
    s.Timer->Restart();
}

void TOrbScrollBar::StopRepeat() {
    if (FImpl->Timer) FImpl->Timer->SetEnabled(false);
    FImpl->WaitingForDelay = false;
}

void TOrbScrollBar::RepeatTick() {
    TImpl& s = *FImpl;
    const TPart part = PressedPart(s.Pressed);
    if (!IsRepeating(part)) {
        StopRepeat();
        return;
    }
    if (s.WaitingForDelay) {
        s.WaitingForDelay = false;
        s.Timer->SetInterval(KeyRepeatInterval());
    }
    const bool stillHovered = IsButton(part) ? s.Hover[size_t(part)] : PartAt(s.LastPoint) == part;
    if (!stillHovered) return;
    auto alive = Lifetime();
    try {
        Step(part);
    } catch (...) {
        // A failing handler must not keep firing every interval.
        if (!alive.expired()) StopRepeat();
    }
}

TEventResult TOrbScrollBar::MouseWheel(int delta, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    if (TOrbUIParentControl::MouseWheel(delta, shift, p) == TEventResult::Handled || alive.expired())
        return TEventResult::Handled;
    if (!Focused() || delta == 0) return TEventResult::Ignored;
    // Up never goes below Min (not merely 0: a range may start above 0).
    int position = ClampPosition((long long)FPosition + (delta < 0 ? SmallChange : -(long long)SmallChange));
    if (position == FPosition) return TEventResult::Handled;
    SetPosition(position);
    if (OnScroll) OnScroll(this, position);
    if (alive.expired()) return TEventResult::Handled;
    // The handler's answer counts here as it does for every other step.
    SetPosition(position);
    return TEventResult::Handled;
}

void TOrbScrollBar::FocusExit() {
    auto alive = Lifetime();
    TOrbUIParentControl::FocusExit();
    if (alive.expired()) return;
    if (OnLostFocus) OnLostFocus(this);
}

void TOrbScrollBar::EnabledChanged() {
    TOrbUIParentControl::EnabledChanged();
    if (Enabled()) return;
    // A disabled bar neither repeats nor drags.
    FImpl->Pressed = {};
    FImpl->Hover = {};
    StopRepeat();
}
