// The cut-caption hint of the captioned skinned controls.
#include "skin/orb_button_caption.h"

std::string ShownCaption(const std::string& caption, bool showAccelChar) {
    return showAccelChar ? caption : StripPrefix(caption).Text;
}

void TOrbCutHint::Update(TControl& control, bool cut, const std::string& shownCaption) {
    if (cut) {
        if (!FActive) {
            FSavedHint = control.Hint;
            FSavedShowHint = control.ShowHint;
            FActive = true;
        }
        // Kept current: the caption may change while it stays cut.
        control.Hint = shownCaption;
        control.ShowHint = true;
        return;
    }
    if (!FActive) return;
    control.Hint = FSavedHint;
    control.ShowHint = FSavedShowHint;
    FActive = false;
}
