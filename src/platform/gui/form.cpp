// TForm: the native window, window features, showing and closing, modal
// loops and the paint pass. Input dispatch is in form_input.cpp.
#include "platform/gui/form.h"

#include <algorithm>
#include <atomic>

#include "platform/gui/application.h"

namespace {
std::atomic<uint64_t> NextFormHandle{1};
}

TForm::TForm(TComponent* owner) : TWinControl(owner), FHandle(NextFormHandle++) {
    FVisible = false;
    SetColor(0x00F0F0F0);
}

TForm::~TForm() {
    // Children go while this is still a whole form: their destructors clear
    // the hover, capture and focus pointers held here.
    DestroyChildren();
    if (FWindow && Application) Application->Host().DestroyWindow(FWindow);
    FWindow = 0;
}

void TForm::CreateHostWindow() {
    if (FWindow || !Application) return;
    THost& host = Application->Host();
    FWindow = host.CreateWindow(*this);
    host.SetBounds(FWindow, FBounds);
    if (FOpacity != 255) host.SetOpacity(FWindow, FOpacity);
    if (FTransparency != TTransparency::Opaque) host.SetTransparency(FWindow, FTransparency);
    if (FStayOnTop != TStayOnTop::No) host.SetStayOnTop(FWindow, FStayOnTop);
    if (FActivation != TActivation::Normal) host.SetActivation(FWindow, FActivation);
    if (FOwnerForm) {
        FOwnerForm->CreateHostWindow();
        host.SetOwner(FWindow, FOwnerForm->FWindow);
    }
}

void TForm::HandleNeeded() { CreateHostWindow(); }

void TForm::LoadWithoutShowing() {
    if (IsLoading()) LoadComponents();
}

void TForm::SetBounds(int left, int top, int width, int height) {
    TRect bounds = Bounds(left, top, std::max(0, width), std::max(0, height));
    if (bounds == FBounds) return;
    bool resized = bounds.Width() != FBounds.Width() || bounds.Height() != FBounds.Height();
    FBounds = bounds;
    if (FWindow) Application->Host().SetBounds(FWindow, FBounds);
    if (!resized) return;
    InvalidateFormRect(ClientRect());
    Resized();
}

void TForm::HostMoved(const TRect& bounds) {
    bool resized = bounds.Width() != FBounds.Width() || bounds.Height() != FBounds.Height();
    FBounds = bounds;
    if (!resized) return;
    InvalidateFormRect(ClientRect());
    Resized();
}

void TForm::SetVisible(bool value) {
    if (value == FVisible) return;
    THost& host = Application->Host();
    auto alive = Lifetime();
    if (value) {
        if (IsLoading()) LoadComponents();
        if (alive.expired()) return;
        CreateHostWindow();
        FVisible = true;
        // The first frame is ready before the window maps: no blank flash.
        FDamage = ClientRect();
        PaintNow();
        host.SetVisible(FWindow, true);
        if (OnShow) OnShow(this);
        return;
    }
    UpdateHover(nullptr);
    if (alive.expired()) return;
    SetCaptureControl(nullptr);
    FVisible = false;
    if (FWindow) host.SetVisible(FWindow, false);
    if (OnHide) OnHide(this);
}

void TForm::LoadComponents() {
    // A Loaded step may create further components (a frame making its
    // caption buttons): passes repeat over the ones not yet seen until none
    // is left, each component loaded once. Copies, because the list changes.
    std::vector<TComponent*> seen;
    for (;;) {
        std::vector<TComponent*> fresh;
        for (TComponent* c : Components())
            if (std::find(seen.begin(), seen.end(), c) == seen.end()) fresh.push_back(c);
        if (fresh.empty()) break;
        std::vector<std::weak_ptr<void>> lives;
        for (TComponent* c : fresh) lives.push_back(c->Lifetime());
        for (size_t i = 0; i < fresh.size(); ++i) {
            seen.push_back(fresh[i]);
            if (!lives[i].expired() && fresh[i]->IsLoading()) fresh[i]->Loaded();
        }
    }
    Loaded();
}

void TForm::Close() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    if (!canClose) return;
    if (FModal) {
        if (ModalResult == mrNone) ModalResult = mrCancel;
        return;
    }
    TCloseAction action = TCloseAction::Hide;
    auto alive = Lifetime();
    if (OnClose) OnClose(this, action);
    if (alive.expired() || action == TCloseAction::None) return;
    bool isMain = Application && Application->MainForm() == this;
    switch (action) {
        case TCloseAction::Hide: Hide(); break;
        case TCloseAction::Free: Release(); break;
        case TCloseAction::Minimize: SetWindowState(TWindowState::Minimized); break;
        case TCloseAction::None: break;
    }
    if (isMain) Application->Terminate();
}

void TForm::HostCloseRequest() { Close(); }

void TForm::Release() {
    if (Application) Application->ReleaseForm(this);
}

TModalResult TForm::ShowModal() {
    TApplication& app = *Application;
    auto alive = Lifetime();
    // Forms visible now are cut off from input until the loop ends; forms
    // opened from the modal form (drop-downs, message boxes) are not.
    std::vector<uint64_t> blocked;
    for (TForm* f : app.Forms())
        if (f != this && f->Visible()) {
            f->FModalBlock++;
            blocked.push_back(f->Handle());
        }
    ModalResult = mrNone;
    FModal = true;
    Show();
    if (FActivation == TActivation::Normal) Activate();
    app.Host().RunLoop(this, [&] { return alive.expired() || ModalResult != mrNone || app.Terminated(); });
    for (uint64_t handle : blocked)
        if (TForm* f = app.FindForm(handle)) f->FModalBlock--;
    if (alive.expired()) return mrCancel;
    FModal = false;
    TModalResult result = ModalResult;
    Hide();
    return result;
}

void TForm::DeliverMessage(const TMessage& msg) { HandleMessage(msg); }

void TForm::HandleMessage(const TMessage& msg) {
    if (OnMessage) OnMessage(this, msg);
}

void TForm::SetOpacity(uint8_t value) {
    if (value == FOpacity) return;
    FOpacity = value;
    if (FWindow) Application->Host().SetOpacity(FWindow, value);
}

void TForm::SetTransparency(TTransparency value) {
    if (value == FTransparency) return;
    FTransparency = value;
    if (FWindow) Application->Host().SetTransparency(FWindow, value);
    InvalidateFormRect(ClientRect());
}

void TForm::SetShape(const TWindowShape& shape) {
    CreateHostWindow();
    Application->Host().SetShape(FWindow, shape);
}

void TForm::SetStayOnTop(TStayOnTop value) {
    if (value == FStayOnTop) return;
    FStayOnTop = value;
    if (FWindow) Application->Host().SetStayOnTop(FWindow, value);
}

void TForm::SetOwnerForm(TForm* value) {
    if (value == FOwnerForm || value == this) return;
    if (FOwnerForm) RemoveFreeNotification(FOwnerForm);
    FOwnerForm = value;
    if (FOwnerForm) FreeNotification(FOwnerForm);
    if (!FWindow) return;
    if (FOwnerForm) FOwnerForm->CreateHostWindow();
    Application->Host().SetOwner(FWindow, FOwnerForm ? FOwnerForm->FWindow : 0);
}

void TForm::SetActivation(TActivation value) {
    if (value == FActivation) return;
    FActivation = value;
    if (FWindow) Application->Host().SetActivation(FWindow, value);
}

void TForm::SetWindowState(TWindowState value) {
    if (value == FWindowState) return;
    FWindowState = value;
    if (value == TWindowState::Minimized) {
        UpdateHover(nullptr);
        SetCaptureControl(nullptr);
    }
    if (FWindow) Application->Host().SetWindowState(FWindow, value);
}

void TForm::SlideIn(const TRect& finalBounds, int durationMs) {
    CreateHostWindow();
    bool wasVisible = FVisible;
    bool resized = finalBounds.Width() != FBounds.Width() || finalBounds.Height() != FBounds.Height();
    FBounds = finalBounds;
    FVisible = true;
    if (resized || !wasVisible) FDamage = ClientRect();
    PaintNow();
    Application->Host().SlideIn(FWindow, finalBounds, durationMs);
    if (!wasVisible && OnShow) OnShow(this);
}

void TForm::BeginSystemMove() {
    if (!FWindow) return;
    // The window manager owns the pointer from here until the button is up.
    SetCaptureControl(nullptr);
    FButtonsDown = 0;
    THost& host = Application->Host();
    host.BeginSystemMove(FWindow, host.CursorPos());
}

void TForm::Activate() {
    if (FWindow && FVisible) Application->Host().Activate(FWindow);
}

void TForm::HostActivated(bool active) {
    if (active == FActive) return;
    FActive = active;
    auto alive = Lifetime();
    if (active && OnActivate) OnActivate(this);
    if (!active && OnDeactivate) OnDeactivate(this);
    if (alive.expired()) return;
    if (Application) Application->Defer([] {
        if (!Application) return;
        bool any = false;
        for (TForm* f : Application->Forms()) any = any || f->Active();
        Application->HostActivated(any);
    });
}

void TForm::InvalidateFormRect(const TRect& rect) {
    TRect r = Intersect(rect, ClientRect());
    if (r.IsEmpty()) return;
    bool wasEmpty = FDamage.IsEmpty();
    FDamage = Union(FDamage, r);
    if (wasEmpty && Application) Application->RequestPaint(*this);
}

void TForm::PaintNow() {
    if (!FWindow || !FVisible || FDamage.IsEmpty()) return;
    TRect damage = Intersect(FDamage, ClientRect());
    FDamage = {};
    if (FComposed.Width() != Width() || FComposed.Height() != Height()) {
        FComposed.SetSize(Width(), Height());
        damage = ClientRect();
    }
    if (damage.IsEmpty()) return;
    FComposed.DrawMode = TDrawMode::Opaque;
    FComposed.FillRect(damage, 0);
    ComposeControl(*this, {0, 0}, damage);
    Application->Host().Present(FWindow, FComposed, damage);
}

void TForm::ComposeControl(TControl& control, TPoint origin, const TRect& clip) {
    TRect rect = Bounds(origin.X, origin.Y, control.Width(), control.Height());
    TRect area = Intersect(rect, clip);
    if (area.IsEmpty()) return;
    TBitmap32& buffer = control.FBuffer;
    TRect local = area.Offset(-origin.X, -origin.Y);
    if (buffer.Width() != control.Width() || buffer.Height() != control.Height())
        buffer.SetSize(control.Width(), control.Height());
    else
        buffer.FillRect(local, 0);
    buffer.DrawMode = TDrawMode::Blend;
    buffer.CombineMode = TCombineMode::Merge;
    control.FPaintClip = local;
    control.Paint(buffer);
    control.FPaintClip = {};
    FComposed.Draw(area.Left, area.Top, local, buffer);
    TWinControl* win = control.AsWinControl();
    if (!win) return;
    for (size_t i = 0; i < win->FControls.size(); ++i) {
        TControl& child = *win->FControls[i];
        if (child.FVisible) ComposeControl(child, {origin.X + child.Left(), origin.Y + child.Top()}, area);
    }
}
