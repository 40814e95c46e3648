// The drop-down window of the skinned combo box.
#include "skin/orb_list_form.h"

#include "skin/orb_combobox.h"

TOrbListForm::TOrbListForm(TComponent* owner, TOrbCombobox* combo) : TForm(owner), FCombo(combo) {
    // Nothing of the form's own colour may show through the image's alpha.
    SetColor(clNone);
    SetActivation(TActivation::NoActivate);
    SetStayOnTop(TStayOnTop::Yes);
}

void TOrbListForm::Paint(TBitmap32& canvas) {
    if (!FCombo) return;
    const TBitmap32& image = FCombo->ListImage();
    if (image.Empty()) return;
    // The image is kept in Opaque mode: it is copied with its alpha.
    canvas.Draw(PaintClip().Left, PaintClip().Top, PaintClip(), image);
}

void TOrbListForm::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TForm::MouseDown(button, shift, p);
    if (!alive.expired() && FCombo) FCombo->ListMouseDown(button, p);
}

void TOrbListForm::MouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    auto alive = Lifetime();
    TForm::MouseUp(button, shift, p);
    if (!alive.expired() && FCombo) FCombo->ListMouseUp(button, p);
}

void TOrbListForm::MouseMove(TShiftState shift, TPoint p) {
    TForm::MouseMove(shift, p);
    if (FCombo) FCombo->ListMouseMove(p);
}

void TOrbListForm::MouseLeave() {
    TForm::MouseLeave();
    if (FCombo) FCombo->ListMouseLeave();
}

TEventResult TOrbListForm::MouseWheel(int delta, TShiftState, TPoint) {
    if (FCombo) FCombo->ListMouseWheel(delta);
    return TEventResult::Handled;
}
