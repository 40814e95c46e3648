// TOrbEdit's focus, mouse and caret blink.
//
//   event                      | where         | action
//   focus gained               |               | blink starts (editable), OnGetFocus,
//                              |               | select all when no caret and no selection
//   focus lost                 |               | blink stops, selection dropped (not while
//                              |               | the popup menu is open), OnLostFocus
//   left press, focus came     | text          | select all
//   with it
//   left press, focused before | text          | caret at the nearest boundary; drag starts
//   second press of a double   | text          | select all
//   move while dragging        | anywhere      | selection extends to the nearest boundary
//   left press / release       | extra button  | pressed / OnBtnExtraClick when still over it
//   left press / release       | picture       | pressed / OnImglistClick when still over it
//   right release              | anywhere      | popup menu at the point when it has items
#include "platform/gui/form.h"
#include "platform/gui/timer.h"
#include "skin/orb_edit.h"
#include "skin/orb_popup_menu.h"

void TOrbEdit::FocusEnter() {
    // The form captures the pressed control before it moves the focus.
    FFocusByPress = Form() && Form()->CaptureControl() == this;
    TOrbUIParentControl::FocusEnter();
    if (Editable()) StartBlink();
    auto alive = Lifetime();
    if (OnGetFocus) OnGetFocus(this);
    if (alive.expired()) return;
    if (FModel.CaretPos < 0 && !FModel.HasSelection()) FModel.SelectAll();
    ScrollCaretIntoView();
    Changed();
}

void TOrbEdit::FocusExit() {
    StopBlink();
    FDragging = false;
    if (!MenuOpen()) FModel.DropSelection();
    FScrollX = 0;
    Changed();
    auto alive = Lifetime();
    TOrbUIParentControl::FocusExit();
    if (!alive.expired() && OnLostFocus) OnLostFocus(this);
}

void TOrbEdit::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    const bool focusCameWithPress = FFocusByPress;
    FFocusByPress = false;
    auto alive = Lifetime();
    TOrbUIParentControl::MouseDown(button, shift, p);
    if (alive.expired() || button != TMouseButton::Left) return;
    switch (PartAt(p)) {
        case TPart::Extra:
            FExtraPressed = true;
            Changed();
            return;
        case TPart::Picture: FPicturePressed = true; return;
        default: break;
    }
    if (focusCameWithPress || (shift & ssDouble)) {
        SelectAll();
        return;
    }
    FModel.PlaceCaret(CharIndexAt(p.X));
    FDragging = true;
    TextEdited(false);
}

void TOrbEdit::MouseMove(TShiftState shift, TPoint p) {
    TOrbUIParentControl::MouseMove(shift, p);
    if (FDragging) {
        const int caret = CharIndexAt(p.X);
        if (caret == FModel.CaretPos) return;
        FModel.ExtendTo(caret);
        TextEdited(false);
        return;
    }
    const TPart part = PartAt(p);
    SetCursor(part == TPart::Picture || part == TPart::Extra ? TCursor::Arrow : TCursor::IBeam);
    UpdatePartHover(part);
}

void TOrbEdit::MouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TOrbUIParentControl::MouseUp(button, shift, p);
    if (alive.expired()) return;
    if (button == TMouseButton::Right) {
        OpenPopupMenu(p);
        return;
    }
    if (button != TMouseButton::Left) return;
    const TPart part = PartAt(p);
    const bool extraClick = FExtraPressed && part == TPart::Extra;
    const bool pictureClick = FPicturePressed && part == TPart::Picture;
    const bool wasPressed = FExtraPressed;
    FDragging = FExtraPressed = FPicturePressed = false;
    UpdatePartHover(part);
    if (wasPressed) Changed();
    if (extraClick && OnBtnExtraClick) OnBtnExtraClick(this);
    if (pictureClick && OnImglistClick) OnImglistClick(this);
}

void TOrbEdit::MouseLeave() {
    TOrbUIParentControl::MouseLeave();
    UpdatePartHover(TPart::None);
}

void TOrbEdit::UpdatePartHover(TPart part) {
    const bool extra = part == TPart::Extra, picture = part == TPart::Picture;
    if (extra == FExtraHover && picture == FPictureHover) return;
    FExtraHover = extra;
    FPictureHover = picture;
    Changed();
}

void TOrbEdit::OpenPopupMenu(TPoint p) {
    if (!FPopupMenu || FPopupMenu->Count() == 0) return;
    FPopupMenu->AssociateHandle = MenuHandle;
    FMenuOpen = true;
    Changed();
    const TPoint screen = ClientToScreen(p);
    FPopupMenu->Popup(screen.X, screen.Y);
}

void TOrbEdit::StartBlink() {
    FCaretOn = true;
    FBlink->SetEnabled(true);
    FBlink->Restart();
}

void TOrbEdit::StopBlink() {
    FBlink->SetEnabled(false);
    FCaretOn = false;
}

void TOrbEdit::BlinkTick() {
    FCaretOn = !FCaretOn;
    Changed();
}

bool TOrbEdit::CaretShown() const {
    return FCaretOn && Focused() && Editable() && FModel.CaretPos >= 0;
}
