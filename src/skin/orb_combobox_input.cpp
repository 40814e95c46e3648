// What the mouse, the keys and the focus do on the closed box.
//
//   event          | where / state                  | action
//   move           | anywhere                       | drop and extra button hover follow the
//                  |                                | point; the extra button swaps in its hint
//   left press     | extra button                   | extra pressed
//   left press     | drop button                    | drop pressed
//   left press     | elsewhere, CanInput with image | the embedded edit shows and takes focus
//   left release   | extra pressed, still over it   | OnExtraBtnClick
//   left release   | drop pressed, over the box     | OnbtnClick, then toggle the drop-down
//   left release   | elsewhere, no CanInput         | toggle the drop-down
//   Up / Down key  | focused                        | choose the previous / next entry
//   Escape         | drop-down open                 | close it
//   focus lost     | not to the embedded edit       | close the drop-down, OnLostFocus
#include "platform/gui/application.h"
#include "skin/orb_combobox.h"

void TOrbCombobox::MouseMove(TShiftState shift, TPoint p) {
    TOrbUIParentControl::MouseMove(shift, p);
    if (!IsEnabledInTree()) return;
    const bool btn = FBtnRect.Contains(p), extra = FExtraRect.Contains(p);
    if (extra != FExtraHover) {
        if (extra) {
            FOwnHint = Hint;
            Hint = ExtraBtnHint;
        } else {
            Hint = FOwnHint;
        }
    }
    if (btn == FBtnHover && extra == FExtraHover) return;
    FBtnHover = btn;
    FExtraHover = extra;
    Changed();
}

void TOrbCombobox::MouseLeave() {
    if (FExtraHover) Hint = FOwnHint;
    FBtnHover = FExtraHover = false;
    TOrbUIParentControl::MouseLeave();
}

void TOrbCombobox::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TOrbUIParentControl::MouseDown(button, shift, p);
    if (alive.expired() || !IsEnabledInTree() || button != TMouseButton::Left) return;
    if (!Focused() && CanFocus()) SetFocus();
    if (alive.expired()) return;
    if (FExtraRect.Contains(p))
        FExtraDown = true;
    else if (FBtnRect.Contains(p))
        FBtnDown = true;
    else if (CanInput && !FImgEditInput.Empty())
        ShowEdit();
    Changed();
}

void TOrbCombobox::MouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    const bool extraDown = FExtraDown, btnDown = FBtnDown;
    FExtraDown = FBtnDown = false;
    TOrbUIParentControl::MouseUp(button, shift, p);
    if (alive.expired()) return;
    Changed();
    if (!IsEnabledInTree() || button != TMouseButton::Left) return;
    if (extraDown) {
        if (FExtraRect.Contains(p) && OnExtraBtnClick) OnExtraBtnClick(this);
        return;
    }
    if (!ClientRect().Contains(p)) return;
    if (btnDown) {
        if (OnbtnClick) OnbtnClick(this);
        if (alive.expired()) return;
        DropDown();
    } else if (!CanInput) {
        DropDown();
    }
}

void TOrbCombobox::KeyDown(int& key, TShiftState shift) {
    TOrbUIParentControl::KeyDown(key, shift);
    if (key == 0 || !IsEnabledInTree() || (shift & (ssAlt | ssCtrl)) != 0) return;
    if (key == vk::Up || key == vk::Down) {
        const int step = key == vk::Up ? -1 : 1;
        key = 0;
        StepChoice(step);
    } else if (key == vk::Escape && DroppedDown()) {
        key = 0;
        CloseUp();
    }
}

void TOrbCombobox::FocusEnter() {
    auto alive = Lifetime();
    TOrbUIParentControl::FocusEnter();
    if (alive.expired()) return;
    if (OnGetFocus) OnGetFocus(this);
    if (!alive.expired()) Changed();
}

void TOrbCombobox::FocusExit() {
    auto alive = Lifetime();
    TOrbUIParentControl::FocusExit();
    if (alive.expired()) return;
    Changed();
    // The embedded edit is part of the box: focus moving there keeps the
    // drop-down and is no loss of focus.
    if (EditShown()) return;
    // A press on another control of the window is the one click outside
    // the framework lets the box see.
    CloseUp();
    if (OnLostFocus) OnLostFocus(this);
}
