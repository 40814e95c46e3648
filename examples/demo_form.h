// The demo window: framework controls drawn with the graphics layer (a box
// that counts clicks, a line that ends in an ellipsis, a Chinese caption, a
// semi-transparent rounded panel, a button with a popup window below it)
// next to native controls (text editor, date and time pickers) and a tray
// icon.
#pragma once

#include <memory>

#include "platform/gui/form.h"

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner);
    ~TDemoForm() override;

private:
    void CreateNativeControls();
    void TogglePopup(TControl* button);

    std::unique_ptr<TNativeTextEditor> FEditor;
    std::unique_ptr<TNativeDatePicker> FDate;
    std::unique_ptr<TNativeTimePicker> FTime;
    std::unique_ptr<TTrayIcon> FTray;
    TForm* FPopup = nullptr;
};
