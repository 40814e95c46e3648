// The level window of the skinned popup menu.
#include "skin/orb_menu_form.h"

#include "skin/orb_popup_menu.h"

TOrbMenuForm::TOrbMenuForm(TComponent* owner, TOrbPopupMenu* menu, int level)
    : TForm(owner), FMenu(menu), FLevel(level) {
    // Nothing of the form's own colour may show through the image's alpha.
    SetColor(clNone);
    SetActivation(TActivation::NoActivate);
    SetStayOnTop(TStayOnTop::Yes);
    SetTransparency(TTransparency::PerPixelAlpha);
}

void TOrbMenuForm::Paint(TBitmap32& canvas) {
    if (!FMenu) return;
    const TBitmap32& image = FMenu->LevelImage(FLevel);
    if (image.Empty()) return;
    // The menu keeps the image in Opaque mode: it is copied with its alpha.
    canvas.Draw(PaintClip().Left, PaintClip().Top, PaintClip(), image);
}

void TOrbMenuForm::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    TForm::MouseDown(button, shift, p);
    if (FMenu) FMenu->LevelMouseDown(FLevel, button, p);
}

void TOrbMenuForm::MouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    TForm::MouseUp(button, shift, p);
    if (FMenu) FMenu->LevelMouseUp(FLevel, button, p);
}

void TOrbMenuForm::MouseMove(TShiftState shift, TPoint p) {
    TForm::MouseMove(shift, p);
    if (FMenu) FMenu->LevelMouseMove(FLevel, p);
}

void TOrbMenuForm::MouseLeave() {
    TForm::MouseLeave();
    if (FMenu) FMenu->LevelMouseLeave(FLevel);
}

TEventResult TOrbMenuForm::MouseWheel(int delta, TShiftState, TPoint) {
    if (FMenu) FMenu->LevelMouseWheel(FLevel, delta);
    return TEventResult::Handled;
}
