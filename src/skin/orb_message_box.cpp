// TOrbMessageBox's call: the showing guard, the window made once and reused,
// its placement, and the modal run that answers the result.
#include "skin/orb_message_box.h"

#include <algorithm>

#include "platform/gui/application.h"

TOrbMessageBox::TOrbMessageBox(TComponent* owner) : TComponent(owner) {}

TOrbMessageBox::~TOrbMessageBox() {
    // The window belongs to the application; it must not call back into a
    // box that is gone.
    if (TOrbUIMessageForm* form = MessageForm()) {
        form->Detach();
        if (Application) Application->ReleaseForm(form);
    }
}

TOrbUIMessageForm* TOrbMessageBox::MessageForm() const { return FFormAlive.expired() ? nullptr : FForm; }

TOrbUIMessageForm* TOrbMessageBox::EnsureForm() {
    if (TOrbUIMessageForm* form = MessageForm()) return form;
    FForm = Application->CreateForm<TOrbUIMessageForm>(this);
    FFormAlive = FForm->Lifetime();
    return FForm;
}

TForm* TOrbMessageBox::PlacementForm(const TOrbMsgOwnerInfo* ownerInfo, TForm* overForm) const {
    if (ownerInfo && ownerInfo->Form) return ownerInfo->Form;
    if (overForm) return overForm;
    return dynamic_cast<TForm*>(Owner());
}

TRect TOrbMessageBox::Placement(TForm* form, bool centerOnScreen) const {
    const int w = FLayout.Width, h = FLayout.Height;
    if (centerOnScreen || !form) {
        // Centred on the work area itself, wherever it starts: a panel at
        // the top or a second monitor must not push the box off centre.
        const TRect work = Application->Host().WorkArea();
        return Bounds(work.Left + (work.Width() - w) / 2, work.Top + (work.Height() - h) / 2, w, h);
    }
    const TRect over = form->BoundsRect();
    return Bounds(over.Left + (over.Width() - w) / 2, over.Top + (over.Height() - h) / 2, w, h);
}

int TOrbMessageBox::ShowMsg(const std::string& Title, const std::string& Message, const TOrbMsgOwnerInfo* OwnerInfo,
                            bool CenterOnScreen, TForm* OverForm, int Buttons, int Icon) {
    // Callers take anything but 6 as a refusal, so "not asked" is safe.
    if (FShowing || !Application) return mrNone;
    // A box without its picture would be a modal window nobody can see or
    // answer: nothing is shown instead.
    if (!Compose(Title, Message, Buttons, Icon)) return mrNone;
    FShowing = true;
    FResult = mrOk;
    TOrbUIMessageForm* form = EnsureForm();
    TForm* over = PlacementForm(OwnerInfo, OverForm);
    form->SetOwnerForm(over);
    const TRect bounds = Placement(over, CenterOnScreen);
    form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    form->SetOpacity(uint8_t(std::clamp(Alpha, 0, 255)));
    Refresh();

    auto alive = Lifetime();
    TModalResult modal = form->ShowModal();
    if (alive.expired()) return mrNone;
    FShowing = false;
    FHover = FPressed = TMsgPart::None;
    if (modal == mrOk || modal == mrYes || modal == mrNo) return modal;
    // Closed some other way (the window manager): the result stands when it
    // is OK or Yes, else it counts as No.
    return FResult == mrOk || FResult == mrYes ? FResult : mrNo;
}

void TOrbMessageBox::Finish(int result) {
    FResult = result;
    if (TOrbUIMessageForm* form = MessageForm()) form->ModalResult = result;
}

bool TOrbMessageBox::PartHover(TMsgPart part) const { return part != TMsgPart::None && FHover == part; }

bool TOrbMessageBox::PartPressed(TMsgPart part) const { return part != TMsgPart::None && FPressed == part; }

// ---- the window ----

TOrbUIMessageForm::TOrbUIMessageForm(TComponent* owner, TOrbMessageBox* box) : TForm(owner), FBox(box) {
    // Nothing of the form's own colour may show through the picture's alpha.
    SetColor(clNone);
    SetTransparency(TTransparency::PerPixelAlpha);
    KeyPreview = true;
    // Activation stays normal: a window that takes no activation gets no
    // keyboard on the desktop, and the box answers Enter and Escape.
}

void TOrbUIMessageForm::Paint(TBitmap32& canvas) {
    if (!FBox || FBox->Shown().Empty()) return;
    // The shown picture is in Opaque mode: copied with its alpha.
    canvas.Draw(PaintClip().Left, PaintClip().Top, PaintClip(), FBox->Shown());
}

void TOrbUIMessageForm::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TForm::MouseDown(button, shift, p);
    if (!alive.expired() && FBox) FBox->FormMouseDown(button, p);
}

void TOrbUIMessageForm::MouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TForm::MouseUp(button, shift, p);
    if (!alive.expired() && FBox) FBox->FormMouseUp(button, p);
}

void TOrbUIMessageForm::MouseMove(TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TForm::MouseMove(shift, p);
    if (!alive.expired() && FBox) FBox->FormMouseMove(shift, p);
}

void TOrbUIMessageForm::MouseLeave() {
    auto alive = Lifetime();
    TForm::MouseLeave();
    if (!alive.expired() && FBox) FBox->FormMouseLeave();
}

void TOrbUIMessageForm::KeyDown(int& key, TShiftState shift) {
    if (FBox) FBox->FormKeyDown(key);
    if (key != 0) TForm::KeyDown(key, shift);
}
