// What the captioned skinned controls (buttons, check boxes, labels) share
// about their text: the accelerator flag and the cut-caption hint, which
// shows a caption that did not fit as the control's tooltip and gives the
// control its own hint back once the caption fits again.
#pragma once

#include <string>

#include "platform/gfx/text.h"
#include "platform/gui/control.h"

// ShowAccelChar true draws "&" as it stands; false makes it mark the
// accelerator.
inline TTextFlags AccelFlags(bool showAccelChar) { return showAccelChar ? TTextFlags(tfNoPrefix) : TTextFlags(0); }

// The caption as it reads on screen (without accelerator marks).
std::string ShownCaption(const std::string& caption, bool showAccelChar);

class TOrbCutHint {
public:
    // Called at every drawing with whether the caption had to be cut.
    void Update(TControl& control, bool cut, const std::string& shownCaption);
    bool Active() const { return FActive; }

private:
    bool FActive = false;
    std::string FSavedHint;
    bool FSavedShowHint = false;
};
