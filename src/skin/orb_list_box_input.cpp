// TOrbListBox's mouse handling: hover and check-box hover, press and
// release with the selection anchors, the rubber band, double clicks, the
// truncation hint and the hand-off of wheel steps to the scroll bar.
//
// Press (left, or right with SupportRightSelect while at most one item is
// selected); the row under the pointer is hit first:
//   over              | action
//   a check box       | CheckDownItem = item
//   an item           | DownItem = item, selection rule (below)
//   empty space       | selection and hover cleared, OnItemClick(none) now
// Release (any button):
//   band dragged      | band reset, repaint, OnItemClick(none), nothing else
//   CheckDownItem set | over the same check box: Checked toggles and
//                     | OnItemCheck; elsewhere the pending press is dropped
//   DownItem set      | over an item: OnItemClick(that item, which may
//                     | differ from the pressed one); DownItem cleared
//
// Selection rule with MultiSelect, by modifier and anchors:
//   Ctrl              | the item is added (never toggled off)
//   no Shift          | only the item; it becomes the anchor
//   Shift, no anchor  | the item is selected and becomes the anchor
//   Shift, anchor     | second anchor; anchor..item selected (either way)
//   Shift, both       | only the item; it becomes the only anchor
// Without MultiSelect a press selects only the item.
#include <algorithm>

#include "platform/gfx/text.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "skin/orb_list_box.h"

namespace {

// The form hands wheel steps to the control under the pointer, not to the
// focused one; the list passes each step on to the bar it gave the focus.
struct TWheelRelay : TControl {
    static TEventResult Send(TControl& target, int delta, TShiftState shift, TPoint p) {
        return (target.*(&TWheelRelay::MouseWheel))(delta, shift, p);
    }
};

}  // namespace

TOrbLBoxItem* TOrbListBox::ItemAt(TPoint p) {
    EnsureLayout();
    for (int index : FLaidOut) {
        TOrbLBoxItem* item = FItems[size_t(index)].get();
        if (item->Visible() && item->Enabled && item->ItemRect.Top < FViewHeight && item->ItemRect.Contains(p))
            return item;
    }
    return nullptr;
}

void TOrbListBox::RepaintItem(const TOrbLBoxItem* item) {
    if (!item || IsLoading()) return;
    if (OnRedraw) {
        OnRedraw(this);
        return;
    }
    const TRect r = Intersect(item->ItemRect, ClientRect());
    if (!r.IsEmpty()) InvalidateRect(r);
}

// ---- hover ----

void TOrbListBox::MouseMove(TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TOrbUIParentControl::MouseMove(shift, p);
    if (alive.expired()) return;
    if (Pressed() && MultiSelect && FBandStart.X >= 0) {
        FBandEnd = p;
        if (BandDragged()) {
            if (!FImgSelBox.Empty()) SelectByBand();
            UpdateView();
        }
        return;
    }
    TrackHoverAt(p);
}

void TOrbListBox::TrackHoverAt(TPoint p) {
    TOrbLBoxItem* hit = ItemAt(p);
    if (hit != FHoverItem) {
        CancelTruncationHint();
        TOrbLBoxItem* old = FHoverItem;
        FHoverItem = hit;
        if (FHotTrack) {
            RepaintItem(old);
            RepaintItem(hit);
        }
        UpdateTruncationHint(hit);
    }
    if (FShowCheckBox) TrackCheckHover(hit, p);
}

void TOrbListBox::TrackCheckHover(TOrbLBoxItem* hit, TPoint p) {
    TOrbLBoxItem* over = hit && hit->CheckRect.Contains(p) ? hit : nullptr;
    if (over == FCheckHoverItem) return;
    TOrbLBoxItem* old = FCheckHoverItem;
    FCheckHoverItem = over;
    RepaintItem(old);
    RepaintItem(over);
}

void TOrbListBox::MouseLeave() {
    TOrbUIParentControl::MouseLeave();
    CancelTruncationHint();
    FHoverItem = FCheckHoverItem = nullptr;
    UpdateView();
}

// ---- press and release ----

void TOrbListBox::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TOrbUIParentControl::MouseDown(button, shift, p);
    if (alive.expired()) return;
    if (button == TMouseButton::Left) {
        PressAt(shift, p);
    } else if (button == TMouseButton::Right && SupportRightSelect && SelectedCount() <= 1) {
        PressAt(shift, p);
    }
}

void TOrbListBox::PressAt(TShiftState shift, TPoint p) {
    // The press acts on what is under it, moved onto or not.
    TrackHoverAt(p);
    if (MultiSelect) {
        FBandStart = p;
        FBandEnd = {-1, -1};
    }
    if (FCheckHoverItem) {
        FCheckDownItem = FCheckHoverItem;
    } else if (FHoverItem) {
        FDownItem = FHoverItem;
        SelectOnPress(FDownItem, shift);
    } else {
        ClearSelection();
        CancelTruncationHint();
        FHoverItem = FCheckHoverItem = nullptr;
        auto alive = Lifetime();
        if (OnItemClick) OnItemClick(this, nullptr);
        if (alive.expired()) return;
    }
    UpdateView();
    SetFocus();
}

void TOrbListBox::ClearSelection() {
    for (auto& item : FItems) item->Selected = false;
}

void TOrbListBox::SelectOnPress(TOrbLBoxItem* item, TShiftState shift) {
    const bool ctrl = (shift & ssCtrl) != 0, shiftHeld = (shift & ssShift) != 0;
    if (MultiSelect && ctrl) {
        item->Selected = true;
        return;
    }
    if (MultiSelect && shiftHeld && !FAnchor) {
        FAnchor = item;
        item->Selected = true;
        return;
    }
    if (MultiSelect && shiftHeld && !FAnchor2) {
        FAnchor2 = item;
        const int from = IndexOf(FAnchor), to = IndexOf(item);
        for (int i = std::min(from, to); i <= std::max(from, to); ++i)
            if (i >= 0) FItems[size_t(i)]->Selected = true;
        return;
    }
    ClearSelection();
    item->Selected = true;
    if (MultiSelect) {
        FAnchor = item;
        FAnchor2 = nullptr;
    }
}

void TOrbListBox::MouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TOrbUIParentControl::MouseUp(button, shift, p);
    if (alive.expired()) return;
    ReleaseAt(p);
}

void TOrbListBox::ReleaseAt(TPoint p) {
    auto alive = Lifetime();
    if (MultiSelect) {
        const bool dragged = BandDragged();
        FBandStart = FBandEnd = {-1, -1};
        if (dragged) {
            // A band ends the press: nothing may click later on its behalf.
            FDownItem = FCheckDownItem = nullptr;
            UpdateView();
            if (OnItemClick) OnItemClick(this, nullptr);
            return;
        }
    }
    if (FCheckDownItem) {
        TOrbLBoxItem* item = FCheckDownItem;
        FCheckDownItem = nullptr;
        if (ItemAt(p) != item || !item->CheckRect.Contains(p)) return;
        item->Checked = !item->Checked;
        RepaintItem(item);
        if (OnItemCheck) OnItemCheck(this, item);
        return;
    }
    if (!FDownItem) return;
    TOrbLBoxItem* clicked = ItemAt(p);
    if (!clicked) {
        FDownItem = nullptr;
        UpdateView();
        return;
    }
    UpdateView();
    if (OnItemClick) OnItemClick(this, clicked);
    if (alive.expired()) return;
    FDownItem = nullptr;
}

void TOrbListBox::DblClick() {
    auto alive = Lifetime();
    TOrbUIParentControl::DblClick();
    if (alive.expired()) return;
    if (FHoverItem && OnItemDbClick) OnItemDbClick(this, FHoverItem);
}

// ---- rubber band ----

void TOrbListBox::SelectByBand() {
    EnsureLayout();
    const TRect band = BandRect();
    // Rows before the view have no rectangle and so lie outside the band;
    // the scan ends with the first row below the view.
    for (int i = 0; i < Count() && (FLastLaid < 0 || i <= FLastLaid); ++i) {
        TOrbLBoxItem& item = *FItems[size_t(i)];
        if (!item.Visible() || !item.Enabled) continue;
        item.Selected = item.ItemRect != NoItemRect && !Intersect(item.ItemRect, band).IsEmpty();
    }
}

// ---- wheel ----

TEventResult TOrbListBox::MouseWheel(int delta, TShiftState shift, TPoint p) {
    if (TOrbUIParentControl::MouseWheel(delta, shift, p) == TEventResult::Handled) return TEventResult::Handled;
    TOrbScrollBar* bar = FVerBar && FVerBar->Visible() ? FVerBar : FHorBar && FHorBar->Visible() ? FHorBar : nullptr;
    if (!bar) return TEventResult::Ignored;
    // Only while the focus is the list's (or nobody's): a wheel over the
    // list must not take the focus from an edit box being typed in.
    TForm* form = Form();
    TWinControl* focus = form ? form->ActiveControl() : nullptr;
    if (focus && !Contains(focus)) return TEventResult::Ignored;
    bar->SetFocus();
    return TWheelRelay::Send(*bar, delta, shift, {p.X - bar->Left(), p.Y - bar->Top()});
}

// ---- truncation hint ----

void TOrbListBox::UpdateTruncationHint(TOrbLBoxItem* item) {
    if (!item || item->Caption().empty() || item->TextRect == NoItemRect) return;
    if (TextWidth(Font(), item->Caption(), tfNoPrefix) <= item->TextRect.Width()) return;
    FSavedHint = Hint;
    FSavedShowHint = ShowHint;
    FHintItem = item;
    Hint = item->Caption();
    ShowHint = true;
    // Drops a hint already on its way so that the caption is picked up.
    if (Application) Application->CancelHint();
}

void TOrbListBox::CancelTruncationHint() {
    if (!FHintItem) return;
    FHintItem = nullptr;
    Hint = FSavedHint;
    ShowHint = FSavedShowHint;
    if (Application) Application->CancelHint();
}
