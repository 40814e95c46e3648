// TControl and TWinControl: geometry, visibility, invalidation, the child
// list and focus. Input dispatch and composition live in the form.
#include "platform/gui/control.h"

#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/form.h"

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
    if (TForm* form = Form()) {
        if (FVisible) InvalidateFormArea(FormRect());
        form->ControlRemoving(this);
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    TRect bounds = Bounds(left, top, std::max(0, width), std::max(0, height));
    if (bounds == FBounds) return;
    bool resized = bounds.Width() != FBounds.Width() || bounds.Height() != FBounds.Height();
    if (FVisible) InvalidateFormArea(FormRect());
    FBounds = bounds;
    if (FVisible) InvalidateFormArea(FormRect());
    if (resized) Resized();
    NotifyPlacement();
}

void TControl::NotifyPlacement() {
    PlacementChanged();
    if (TWinControl* win = AsWinControl())
        for (size_t i = 0; i < win->FControls.size(); ++i) win->FControls[i]->NotifyPlacement();
}

TRect TControl::FormRect() const {
    if (!FParent) return ClientRect();
    TRect r = FBounds;
    for (const TControl* p = FParent; p && p->FParent; p = p->FParent) r = r.Offset(p->Left(), p->Top());
    return r;
}

TPoint TControl::ClientToScreen(TPoint p) const {
    TRect r = FormRect();
    TForm* form = Form();
    TPoint origin = form ? TPoint{form->Left(), form->Top()} : TPoint{};
    if (!FParent) return {p.X + Left(), p.Y + Top()};
    return {p.X + r.Left + origin.X, p.Y + r.Top + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    TPoint zero = ClientToScreen({0, 0});
    return {p.X - zero.X, p.Y - zero.Y};
}

void TControl::SetVisible(bool value) {
    if (value == FVisible) return;
    if (FVisible) InvalidateFormArea(FormRect());
    FVisible = value;
    if (TForm* form = Form(); form && !value) form->ControlRemoving(this);
    if (FVisible) InvalidateFormArea(FormRect());
    NotifyPlacement();
}

bool TControl::IsShowing() const {
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FVisible) return false;
    return true;
}

void TControl::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    if (TForm* form = Form(); form && !value) form->ControlRemoving(this);
    EnabledChanged();
}

bool TControl::IsEnabledInTree() const {
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FEnabled) return false;
    return true;
}

void TControl::SetFont(const TFont& value) {
    if (value == FFont) return;
    FFont = value;
    Invalidate();
}

void TControl::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Invalidate();
}

void TControl::SetCursor(TCursor value) {
    if (value == FCursor) return;
    FCursor = value;
    TForm* form = Form();
    if (form && FMouseInControl && form->Window()) Application->Host().SetCursor(form->Window(), value);
}

TForm* TControl::Form() const {
    for (TControl* c = const_cast<TControl*>(this); c; c = c->FParent)
        if (TForm* f = c->AsForm()) return f;
    return nullptr;
}

bool TControl::Contains(const TControl* other) const {
    for (const TControl* c = other; c; c = c->FParent)
        if (c == this) return true;
    return false;
}

void TControl::Invalidate() { InvalidateRect(ClientRect()); }

void TControl::InvalidateRect(const TRect& rect) {
    if (!IsShowing()) return;
    TRect r = Intersect(rect, ClientRect());
    TRect f = FormRect();
    InvalidateFormArea(r.Offset(f.Left, f.Top));
}

void TControl::InvalidateFormArea(const TRect& formRect) {
    if (FParent && !FParent->IsShowing()) return;
    if (TForm* form = Form()) form->InvalidateFormRect(formRect);
}

void TControl::Update() {
    if (TForm* form = Form()) form->PaintNow();
}

void TControl::BringToFront() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    auto it = std::find_if(list.begin(), list.end(), [this](auto& c) { return c.get() == this; });
    if (it == list.end() || it + 1 == list.end()) return;
    std::rotate(it, it + 1, list.end());
    Invalidate();
}

void TControl::SendToBack() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    auto it = std::find_if(list.begin(), list.end(), [this](auto& c) { return c.get() == this; });
    if (it == list.end() || it == list.begin()) return;
    std::rotate(list.begin(), it, it + 1);
    Invalidate();
}

void TControl::PaintParentBackground(TBitmap32& canvas) const {
    TForm* form = Form();
    if (!form || !FParent || canvas.Empty()) return;
    // The form composes back to front, so inside the paint clip its image
    // holds exactly the parent and the lower siblings at this moment.
    TRect f = FormRect();
    TRect area = Intersect(FPaintClip.IsEmpty() ? ClientRect() : FPaintClip, canvas.BoundsRect());
    canvas.Draw(area.Left, area.Top, area.Offset(f.Left, f.Top), form->Composed());
}

void TControl::Paint(TBitmap32& canvas) {
    if (FColor != clNone) canvas.FillRect(FPaintClip, Color32FromColor(FColor));
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    if (OnMouseDown) OnMouseDown(this, button, shift, p.X, p.Y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    if (OnMouseUp) OnMouseUp(this, button, shift, p.X, p.Y);
}
void TControl::MouseMove(TShiftState shift, TPoint p) {
    if (OnMouseMove) OnMouseMove(this, shift, p.X, p.Y);
}
void TControl::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}
void TControl::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}
void TControl::Click() {
    if (OnClick) OnClick(this);
}
void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}
TEventResult TControl::MouseWheel(int delta, TShiftState shift, TPoint p) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, delta, p, handled);
    return handled ? TEventResult::Handled : TEventResult::Ignored;
}
bool TControl::HitTest(TPoint) const { return true; }
void TControl::EnabledChanged() { Invalidate(); }
void TControl::Resized() {
    if (OnResize) OnResize(this);
}

TBitmap32 TControl::CaptureImage() const {
    TForm* form = Form();
    if (!form || !IsShowing()) return TBitmap32();
    form->PaintNow();
    TRect area = Intersect(FormRect(), form->ClientRect());
    if (area.IsEmpty() || form->Composed().Empty()) return TBitmap32();
    return form->Composed().Copy(area);
}

// ---- TWinControl ----

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() { DestroyChildren(); }

void TWinControl::DestroyChildren() {
    // Top first, so no child ever sees a sibling above it half gone.
    while (!FControls.empty()) {
        auto last = std::move(FControls.back());
        FControls.pop_back();
        last.reset();
    }
}

TComponent* TWinControl::ChildOwner() {
    if (TForm* form = Form()) return form;
    return this;
}

void TWinControl::LoadIfFormLoaded(TControl& child) {
    TForm* form = Form();
    if (form && !form->IsLoading() && child.IsLoading()) child.Loaded();
}

void TWinControl::InsertControl(std::unique_ptr<TControl> child) {
    if (!child) return;
    TControl* raw = child.get();
    if (TWinControl* win = raw->AsWinControl()) {
        int order = 0;
        for (auto& c : FControls)
            if (c->AsWinControl()) order = std::max(order, c->AsWinControl()->FTabOrder + 1);
        win->FTabOrder = order;
    }
    raw->FParent = this;
    FControls.push_back(std::move(child));
    if (raw->FVisible) raw->Invalidate();
}

std::unique_ptr<TControl> TWinControl::RemoveControl(TControl* child) {
    auto it = std::find_if(FControls.begin(), FControls.end(), [child](auto& c) { return c.get() == child; });
    if (it == FControls.end()) return nullptr;
    if (TForm* form = Form()) {
        if (child->FVisible) child->InvalidateFormArea(child->FormRect());
        form->ControlRemoving(child);
    }
    auto owned = std::move(*it);
    FControls.erase(it);
    owned->FParent = nullptr;
    return owned;
}

void TWinControl::DestroyControl(TControl* child) { RemoveControl(child).reset(); }

int TWinControl::IndexOf(const TControl* child) const {
    for (size_t i = 0; i < FControls.size(); ++i)
        if (FControls[i].get() == child) return int(i);
    return -1;
}

TControl* TWinControl::ControlAt(TPoint p) {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = it->get();
        if (!c->FVisible || !c->FEnabled || !c->FBounds.Contains(p)) continue;
        TPoint local{p.X - c->Left(), p.Y - c->Top()};
        if (!c->HitTest(local)) continue;
        if (TWinControl* win = c->AsWinControl())
            if (TControl* deeper = win->ControlAt(local)) return deeper;
        return c;
    }
    return nullptr;
}

void TWinControl::SetTabOrder(int value) { FTabOrder = value; }

bool TWinControl::CanFocus() const {
    // The form itself may still be hidden: a window picks its first focused
    // control before it shows.
    const TForm* form = Form();
    if (!form) return false;
    for (const TControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return form->Enabled();
}

bool TWinControl::Focused() const {
    const TForm* form = Form();
    return form && form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
    if (TForm* form = Form(); form && form != this) form->SetActiveControl(this);
}

void TWinControl::KeyDown(int& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(int& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(const std::string& text) {
    if (OnKeyPress) OnKeyPress(this, text);
}
void TWinControl::FocusEnter() {
    if (OnEnter) OnEnter(this);
}
void TWinControl::FocusExit() {
    if (OnExit) OnExit(this);
}
