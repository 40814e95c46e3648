// TOrbForm's caption buttons: which are made from which strip, where they
// sit (right to left from the close button), and what each one does.
#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "skin/orb_caption_button.h"
#include "skin/orb_form.h"
#include "skin/orb_popup_menu.h"

void TOrbForm::CreateCaptionButtons() {
    // A window that wants nothing but close gets the single-close look.
    const bool closeOnly =
        !FormBtns.Contains(ObiMaximize) && !FormBtns.Contains(ObiMinimize) && !FormBtns.Contains(ObiMenu);
    if (!ImgBtnClose.Empty() || !ImgBtnSingleClose.Empty()) {
        FBtnClose = MakeButton("BtnClose", closeOnly ? ImgBtnSingleClose : ImgBtnClose, FBtnCloseHint);
        FBtnClose->OnBtnClick = [this](TComponent*) { CloseClick(); };
    }
    if (FormBtns.Contains(ObiMaximize) && !ImgBtnMax.Empty()) {
        FBtnMax = MakeButton("BtnMax", ImgBtnMax, FBtnMaxHint);
        FBtnMax->OnBtnClick = [this](TComponent*) { Maximize(); };
    }
    if (FormBtns.Contains(ObiMaximize) && !ImgBtnRestore.Empty()) {
        FBtnRestore = MakeButton("BtnRestore", ImgBtnRestore, FBtnRestoreHint);
        FBtnRestore->OnBtnClick = [this](TComponent*) { Restore(); };
    }
    if (FormBtns.Contains(ObiMinimize)) {
        const bool single = !FormBtns.Contains(ObiMenu) && !ImgBtnSingleMin.Empty();
        const TPngImage& strip = single ? ImgBtnSingleMin : ImgBtnMin;
        if (!strip.Empty()) {
            FBtnMin = MakeButton("BtnMin", strip, FBtnMinHint);
            FBtnMin->OnBtnClick = [this](TComponent*) { MinimizeClick(); };
        }
    }
    if (FormBtns.Contains(ObiMenu) && !ImgBtnMenu.Empty()) {
        FBtnMenu = MakeButton("BtnMenu", ImgBtnMenu, FBtnMenuHint);
        FBtnMenu->OnBtnClick = [this](TComponent*) { MenuClick(); };
    }
    if (FormBtns.Contains(ObiSkin) && !ImgBtnSkin.Empty()) {
        FBtnSkin = MakeButton("BtnSkin", ImgBtnSkin, FBtnSkinHint);
        FBtnSkin->OnBtnClick = [this](TComponent*) { SkinClick(); };
    }
    ShowStateButtons();
}

TDStdFButton* TOrbForm::MakeButton(const char* name, const TPngImage& strip, const std::string& hint) {
    auto* button = Add<TDStdFButton>();
    button->Name = name;
    button->Hint = hint;
    button->SetFrames(strip, BtnCaptionStateCount);
    // Made while the host form itself is still loading: the framework loads
    // only the components that existed when loading began.
    if (button->IsLoading()) button->Loaded();
    return button;
}

void TOrbForm::LayoutCaptionButtons() {
    const int top = FBtnTopFix + (FBorderColor != clNone ? 3 : 0);
    int right = Width() + FBtnRightFix - 4;  // where the close button ends
    auto place = [&](TDStdFButton* button, int end) {
        if (button) button->SetBounds(end - button->Width(), top, button->Width(), button->Height());
    };
    auto next = [&](TDStdFButton* a, TDStdFButton* b = nullptr) {
        int left = right;
        if (a) left = std::min(left, a->Left());
        if (b) left = std::min(left, b->Left());
        if (a || b) right = left - FBtnMargin;
    };
    place(FBtnClose, right);
    next(FBtnClose);
    // Maximise and restore share one place; the state shows one of them.
    place(FBtnMax, right);
    place(FBtnRestore, right);
    next(FBtnMax, FBtnRestore);
    place(FBtnMin, right);
    next(FBtnMin);
    place(FBtnMenu, right);
    next(FBtnMenu);
    place(FBtnSkin, right);
}

void TOrbForm::ShowStateButtons() {
    if (FBtnMax) FBtnMax->SetVisible(FFormState != OisMax);
    if (FBtnRestore) FBtnRestore->SetVisible(FFormState == OisMax);
}

TDStdFButton* TOrbForm::LeftmostButton() const {
    for (TDStdFButton* b : {FBtnSkin, FBtnMenu, FBtnMin, FBtnMax, FBtnRestore, FBtnClose})
        if (b) return b;
    return nullptr;
}

void TOrbForm::SetButtonHint(TDStdFButton* button, std::string& slot, const std::string& value) {
    slot = value;
    if (button) button->Hint = value;
}

void TOrbForm::SetBtnMinHint(const std::string& value) { SetButtonHint(FBtnMin, FBtnMinHint, value); }
void TOrbForm::SetBtnMaxHint(const std::string& value) { SetButtonHint(FBtnMax, FBtnMaxHint, value); }
void TOrbForm::SetBtnRestoreHint(const std::string& value) { SetButtonHint(FBtnRestore, FBtnRestoreHint, value); }
void TOrbForm::SetBtnCloseHint(const std::string& value) { SetButtonHint(FBtnClose, FBtnCloseHint, value); }
void TOrbForm::SetBtnMenuHint(const std::string& value) { SetButtonHint(FBtnMenu, FBtnMenuHint, value); }
void TOrbForm::SetBtnSkinHint(const std::string& value) { SetButtonHint(FBtnSkin, FBtnSkinHint, value); }

// ---- actions ----

// Only the main window asks its owner: closing it ends the program (the
// framework terminates the application when its main form closes).
void TOrbForm::CloseClick() {
    TForm* host = FHostForm;
    if (!host || !Application) return;
    if (Application->MainForm() != host) {
        host->Close();
        return;
    }
    bool canClose = true;
    auto alive = Lifetime();
    if (OnOrbFormCloseQuery) OnOrbFormCloseQuery(this, canClose);
    if (alive.expired() || !canClose) return;
    host->Close();
}

// A secondary window has no way back from the minimised state of its own
// (the program's windows are restored through the main window), so its
// minimise button closes it.
void TOrbForm::MinimizeClick() {
    if (!FHostForm || !Application) return;
    // The flag normally ends when the window is activated again; a window
    // put back without activation (the window manager may refuse it) must
    // not keep a dead minimise button.
    if (FMinimizing && FHostForm->WindowState() == TWindowState::Minimized) return;
    FMinimizing = false;
    if (Application->MainForm() != FHostForm) {
        FHostForm->Close();
        return;
    }
    FMinimizing = true;
    auto alive = Lifetime();
    Application->Minimize();
    if (!alive.expired() && OnOrbFormMinimize) OnOrbFormMinimize(this);
}

void TOrbForm::MenuClick() {
    TDStdFButton* button = FBtnMenu;
    auto alive = Lifetime();
    if (OnOrbFormBtnMenuClick) OnOrbFormBtnMenuClick(button ? static_cast<TComponent*>(button) : this);
    if (alive.expired() || !FBtnPopupMenu) return;
    TPoint at = button ? button->ClientToScreen({0, button->Height()}) : ClientToScreen({0, FCaptionHeight});
    FBtnPopupMenu->Popup(at.X, at.Y);
}

void TOrbForm::SkinClick() {
    if (OnOrbFormBtnSkinClick) OnOrbFormBtnSkinClick(FBtnSkin ? static_cast<TComponent*>(FBtnSkin) : this);
}
