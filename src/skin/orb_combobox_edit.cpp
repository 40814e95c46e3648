// The embedded edit that lets the box text be typed (CanInput with an
// ImgEditInput): made once, shown over the text part on a press there,
// forwarding its keys, and handing its text back to the box when it loses
// the focus.
#include "platform/gui/form.h"
#include "skin/orb_combobox.h"
#include "skin/orb_edit.h"

bool TOrbCombobox::EditShown() const { return FEdit && FEdit->Visible(); }

void TOrbCombobox::ShowEdit() {
    if (!FEdit) {
        FEdit = Add<TOrbEdit>();
        FEdit->OnChange = [this](TComponent*) {
            if (EditShown()) SetText(FEdit->Text());
        };
        FEdit->OnKeyDown = [this](TComponent*, int& key, TShiftState shift) {
            if (OnEditkeyDown) OnEditkeyDown(this, key, shift);
        };
        FEdit->OnKeyUp = [this](TComponent*, int& key, TShiftState shift) {
            if (OnEditkeyUp) OnEditkeyUp(this, key, shift);
        };
        FEdit->OnkeyPress = [this](TComponent* sender, std::string& key) {
            if (OnKeyPress) OnKeyPress(sender, key);
        };
        FEdit->OnLostFocus = [this](TComponent*) { EditExit(); };
    }
    // The background is one picture, shown while the edit has the focus
    // (and it is only shown then).
    FEdit->SetEditStateCount(1);
    FEdit->SetImgInput(FImgEditInput);
    FEdit->SetSelColor(EditSelColor);
    TFont font = Font();
    font.Color = FontColorNormal;
    FEdit->SetFont(font);
    FEdit->SetTransparent(true);
    FEdit->SetColor(Color());
    FEdit->SetOutWidth(OutWidth);
    const TRect text = TextRect();
    FEdit->SetBounds(text.Left - 2, 1, text.Right - text.Left + 2, Height() - 2);
    FEdit->SetText(FText);
    FEdit->SetVisible(true);
    FEdit->SetFocus();
    Changed();
}

// The focus has already gone where the user sent it; the box only takes it
// back when it went nowhere, so that a click or Tab elsewhere still lands.
void TOrbCombobox::EditExit() {
    if (!EditShown()) return;
    auto alive = Lifetime();
    SetText(FEdit->Text());
    FEdit->SetVisible(false);
    Changed();
    TForm* form = Form();
    if (form && !form->ActiveControl() && CanFocus()) SetFocus();
    // Focus back in the box is no loss of focus.
    if (alive.expired() || Focused()) return;
    CloseUp();
    if (OnLostFocus) OnLostFocus(this);
}
