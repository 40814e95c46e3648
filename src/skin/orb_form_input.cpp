// TOrbForm's mouse handling: resize zones and their cursors, resizing by
// the edges, the logo's hover, hint and click, the caption's double click
// and moving the window by its caption.
//
//   state          | event                     | action
//   idle           | move, resizable, in zone  | zone cursor; nothing else
//   idle           | move over the logo        | logo hover, its hint
//   idle           | move elsewhere            | OnOrbFormMouseMove
//   idle           | left press in a zone      | -> sizing (that zone)
//   idle           | double press in caption   | maximise or restore
//   idle           | left press on the logo    | -> logo pressed
//   idle           | left press elsewhere      | -> pressed
//   pressed        | move, press was in the    | the window manager moves
//                  | caption (or CanMoveAny)   | the window; -> idle
//   sizing         | move                      | the edge follows the mouse
//   any            | left release              | default cursor; a pressed
//                  |                           | logo still under the mouse
//                  |                           | fires OnOrbFormLogoClick
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "skin/orb_form.h"

namespace {

TCursor CursorFor(TOrbResizeZone zone) {
    switch (zone) {
        case TOrbResizeZone::Left:
        case TOrbResizeZone::Right: return TCursor::SizeWE;
        case TOrbResizeZone::Top:
        case TOrbResizeZone::Bottom: return TCursor::SizeNS;
        case TOrbResizeZone::TopLeft:
        case TOrbResizeZone::BottomRight: return TCursor::SizeNWSE;
        case TOrbResizeZone::TopRight:
        case TOrbResizeZone::BottomLeft: return TCursor::SizeNESW;
        case TOrbResizeZone::None: break;
    }
    return TCursor::Default;
}

bool MovesLeft(TOrbResizeZone z) {
    return z == TOrbResizeZone::Left || z == TOrbResizeZone::TopLeft || z == TOrbResizeZone::BottomLeft;
}
bool MovesRight(TOrbResizeZone z) {
    return z == TOrbResizeZone::Right || z == TOrbResizeZone::TopRight || z == TOrbResizeZone::BottomRight;
}
bool MovesTop(TOrbResizeZone z) {
    return z == TOrbResizeZone::Top || z == TOrbResizeZone::TopLeft || z == TOrbResizeZone::TopRight;
}
bool MovesBottom(TOrbResizeZone z) {
    return z == TOrbResizeZone::Bottom || z == TOrbResizeZone::BottomLeft || z == TOrbResizeZone::BottomRight;
}

}  // namespace

bool TOrbForm::CanResizeNow() const { return SupportReSize && FFormState != OisMax && FHostForm; }

TOrbResizeZone TOrbForm::ZoneAt(TPoint p) const {
    if (!CanResizeNow() || !ClientRect().Contains(p)) return TOrbResizeZone::None;
    const bool left = p.X < ResizeBand, right = p.X >= Width() - ResizeBand;
    const bool top = p.Y < ResizeBand, bottom = p.Y >= Height() - ResizeBand;
    if (top && left) return TOrbResizeZone::TopLeft;
    if (top && right) return TOrbResizeZone::TopRight;
    if (bottom && left) return TOrbResizeZone::BottomLeft;
    if (bottom && right) return TOrbResizeZone::BottomRight;
    if (left) return TOrbResizeZone::Left;
    if (right) return TOrbResizeZone::Right;
    if (top) return TOrbResizeZone::Top;
    if (bottom) return TOrbResizeZone::Bottom;
    return TOrbResizeZone::None;
}

void TOrbForm::TrackResizeCursor(TPoint p) {
    FResizeZone = ZoneAt(p);
    SetCursor(CursorFor(FResizeZone));
}

bool TOrbForm::TrackLogo(TPoint p) {
    const bool over = LogoActive && !FLogoRect.IsEmpty() && FLogoRect.Contains(p);
    SetLogoHover(over);
    return over;
}

// The logo is part of the frame, not a control of its own: its hint is the
// frame's hint while the mouse is over it.
void TOrbForm::SetLogoHover(bool value) {
    if (value == FLogoHover) return;
    FLogoHover = value;
    if (value && !LogoHint.empty()) {
        Hint = LogoHint;
        ShowHint = true;
    } else if (!value && !Hint.empty()) {
        Hint.clear();
        if (Application) Application->CancelHint();
    }
}

void TOrbForm::MouseMove(TShiftState shift, TPoint p) {
    TOrbUIParentControl::MouseMove(shift, p);
    if (FSizing != TOrbResizeZone::None) {
        ResizeTo(ClientToScreen(p));
        return;
    }
    if (CanResizeNow() && !Pressed()) {
        TrackResizeCursor(p);
        if (FResizeZone != TOrbResizeZone::None) {
            SetLogoHover(false);
            return;
        }
    }
    if (TrackLogo(p)) return;
    auto alive = Lifetime();
    if (OnOrbFormMouseMove) OnOrbFormMouseMove(this, shift, p.X, p.Y);
    if (alive.expired() || !FHostForm) return;
    const bool fromCaption = CanMoveAny || FCaptionRect.Contains(FPressPoint);
    if (Pressed() && CanMove && FFormState != OisMax && !FLogoPressed && fromCaption) {
        // The window manager has the pointer until the button is up; no
        // release may reach the frame to end this press.
        SetPressedState(false);
        FPressPoint = {-1, -1};
        FHostForm->BeginSystemMove();
    }
}

void TOrbForm::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    TOrbUIParentControl::MouseDown(button, shift, p);
    if (button != TMouseButton::Left || !FHostForm) return;
    FPressPoint = p;
    const TOrbResizeZone zone = ZoneAt(p);
    if (zone != TOrbResizeZone::None) {
        FSizing = zone;
        FSizeStartPoint = ClientToScreen(p);
        FSizeStartBounds = FHostForm->BoundsRect();
        return;
    }
    if ((shift & ssDouble) && FCaptionRect.Contains(p) && FormBtns.Contains(ObiMaximize)) {
        SetPressedState(false);
        FPressPoint = {-1, -1};
        if (FFormState == OisMax)
            Restore();
        else
            Maximize();
        return;
    }
    if (FLogoHover) FLogoPressed = true;
}

void TOrbForm::MouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    TOrbUIParentControl::MouseUp(button, shift, p);
    if (button != TMouseButton::Left) return;
    EndResize();
    SetCursor(TCursor::Default);
    const bool logoClick = FLogoPressed && LogoActive && FLogoRect.Contains(p);
    FLogoPressed = false;
    FPressPoint = {-1, -1};
    if (logoClick && OnOrbFormLogoClick) OnOrbFormLogoClick(this);
}

void TOrbForm::MouseLeave() {
    TOrbUIParentControl::MouseLeave();
    SetLogoHover(false);
    if (Application) Application->CancelHint();
    FResizeZone = TOrbResizeZone::None;
    SetCursor(TCursor::Default);
    if (OnOrbFormLeave) OnOrbFormLeave(this);
}

void TOrbForm::Click() {
    auto alive = Lifetime();
    TOrbUIParentControl::Click();
    if (!alive.expired() && OnOrbFormClick) OnOrbFormClick(this);
}

// The dragged edges follow the mouse from where the press was; a size
// outside the limits is not taken at all.
void TOrbForm::ResizeTo(TPoint screenPoint) {
    if (!FHostForm || !Application) return;
    const int dx = screenPoint.X - FSizeStartPoint.X, dy = screenPoint.Y - FSizeStartPoint.Y;
    TRect bounds = FSizeStartBounds;
    if (MovesLeft(FSizing)) bounds.Left += dx;
    if (MovesRight(FSizing)) bounds.Right += dx;
    if (MovesTop(FSizing)) bounds.Top += dy;
    if (MovesBottom(FSizing)) bounds.Bottom += dy;
    const TRect work = Application->Host().WorkArea();
    const int maxW = Constraints.MaxWidth > 0 ? Constraints.MaxWidth : work.Width();
    const int maxH = Constraints.MaxHeight > 0 ? Constraints.MaxHeight : work.Height();
    const int minW = std::max(MinFrameSize, Constraints.MinWidth);
    const int minH = std::max(MinFrameSize, Constraints.MinHeight);
    if (bounds.Width() < minW || bounds.Width() > maxW || bounds.Height() < minH || bounds.Height() > maxH) return;
    if (bounds == FHostForm->BoundsRect()) return;
    auto alive = Lifetime();
    SetWindowBounds(bounds);
    if (alive.expired()) return;
    if (OnOrbFormUserChangeSize) OnOrbFormUserChangeSize(this);
}

void TOrbForm::EndResize() { FSizing = TOrbResizeZone::None; }
