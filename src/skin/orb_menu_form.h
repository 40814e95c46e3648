// TOrbMenuForm: the window of one open level of a TOrbPopupMenu. It shows
// the image the menu composed for the level and hands the mouse to the
// menu; it never takes activation, so the keyboard stays with the window
// the menu was opened from.
#pragma once

#include "platform/gui/form.h"

class TOrbPopupMenu;

class TOrbMenuForm : public TForm {
public:
    TOrbMenuForm(TComponent* owner, TOrbPopupMenu* menu, int level);

    TOrbPopupMenu* Menu() const { return FMenu; }
    int Level() const { return FLevel; }
    // The menu is going away: from here on the window only shows what it has.
    void Detach() { FMenu = nullptr; }

protected:
    void Paint(TBitmap32& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseUp(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseMove(TShiftState shift, TPoint p) override;
    void MouseLeave() override;
    TEventResult MouseWheel(int delta, TShiftState shift, TPoint p) override;

private:
    TOrbPopupMenu* FMenu;
    int FLevel;
};
