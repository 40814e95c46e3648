// TOrbListForm: the drop-down window of a TOrbCombobox. It shows the image
// the combo box composed (background, rows) with its alpha, holds the
// drop-down's scroll bar as a child, and hands the mouse on its rows to the
// combo box. It never takes activation, so the keyboard and the active
// caption stay with the window the combo box sits on.
#pragma once

#include "platform/gui/form.h"

class TOrbCombobox;

class TOrbListForm : public TForm {
public:
    TOrbListForm(TComponent* owner, TOrbCombobox* combo);

    TOrbCombobox* Combo() const { return FCombo; }
    // The combo box is going away: from here on the window only shows what
    // it has.
    void Detach() { FCombo = nullptr; }

protected:
    void Paint(TBitmap32& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseUp(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseMove(TShiftState shift, TPoint p) override;
    void MouseLeave() override;
    TEventResult MouseWheel(int delta, TShiftState shift, TPoint p) override;

private:
    TOrbCombobox* FCombo;
};
