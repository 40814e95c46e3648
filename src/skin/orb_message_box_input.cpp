// What the mouse and the keys do on a showing TOrbMessageBox.
//
//   event          | where / state                     | action
//   move           | onto another part, or off all     | hover follows, refresh
//   move, left held| nothing hovered, nothing pressed  | the window manager moves the box
//   left press     | on a part                         | pressed := part; a button also
//                  |                                   | takes the focus; refresh
//   left release   | over the pressed part             | close 1 (OK set) / 7 (Yes/No),
//                  |                                   | button 1 1 / 7, button 2 6; ends
//   left release   | elsewhere                         | pressed cleared, refresh
//   leave          |                                   | hover cleared, refresh
//   Escape         |                                   | 1, ends
//   Enter          | a button has the focus            | that button's result, ends
//   arrows         | Yes/No set                        | the focus goes to the other button
#include "platform/gui/application.h"
#include "skin/orb_message_box.h"

bool TOrbMessageBox::UpdateHover(TPoint p) {
    const TMsgPart part = PartAt(p);
    if (part == FHover) return false;
    FHover = part;
    return true;
}

void TOrbMessageBox::FormMouseMove(TShiftState shift, TPoint p) {
    if (!FShowing) return;
    if (UpdateHover(p)) Refresh();
    // Only with the button held: a move handed over without it would leave
    // the window manager holding a pointer nobody pressed.
    if (FHover == TMsgPart::None && FPressed == TMsgPart::None && (shift & ssLeft))
        if (TOrbUIMessageForm* form = MessageForm()) form->BeginSystemMove();
}

void TOrbMessageBox::FormMouseDown(TMouseButton button, TPoint p) {
    if (!FShowing || button != TMouseButton::Left) return;
    // The press counts where it happens, even when no move came before it.
    UpdateHover(p);
    FPressed = FHover;
    if (FPressed == TMsgPart::Button1 || FPressed == TMsgPart::Button2) FFocus = FPressed;
    Refresh();
}

void TOrbMessageBox::FormMouseUp(TMouseButton button, TPoint p) {
    if (!FShowing || button != TMouseButton::Left) return;
    const TMsgPart pressed = FPressed;
    FPressed = TMsgPart::None;
    if (pressed != TMsgPart::None && PartAt(p) == pressed) {
        Finish(PartResult(pressed));
        return;
    }
    UpdateHover(p);
    Refresh();
}

void TOrbMessageBox::FormMouseLeave() {
    if (!FShowing || FHover == TMsgPart::None) return;
    FHover = TMsgPart::None;
    Refresh();
}

void TOrbMessageBox::FormKeyDown(int& key) {
    if (!FShowing) return;
    switch (key) {
        case vk::Escape:
            key = 0;
            Finish(mrOk);
            break;
        case vk::Return:
            if (FFocus == TMsgPart::None) return;
            key = 0;
            Finish(PartResult(FFocus));
            break;
        case vk::Left:
        case vk::Up:
        case vk::Right:
        case vk::Down:
            if (FButtonSet != BtnSetYesNo) return;
            key = 0;
            FFocus = FFocus == TMsgPart::Button2 ? TMsgPart::Button1 : TMsgPart::Button2;
            Refresh();
            break;
        default: break;
    }
}

int TOrbMessageBox::PartResult(TMsgPart part) const {
    const bool yesNo = FButtonSet == BtnSetYesNo;
    switch (part) {
        case TMsgPart::Button2: return mrYes;
        case TMsgPart::Close:
        case TMsgPart::Button1: return yesNo ? mrNo : mrOk;
        case TMsgPart::None: break;
    }
    return mrOk;
}
