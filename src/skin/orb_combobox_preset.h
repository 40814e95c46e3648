// The program's skin for its combo boxes (the editor's repeat period and
// voice prompt): which artwork they take, with the cut lines, frame counts,
// insets and colours that belong to it.
#pragma once

#include "skin/orb_combobox.h"

// `scrollRes` is the window's shared scroll bar resource for lists longer
// than ShowitemCount; null leaves the drop-down without a bar.
void LoadProgramComboSkin(TOrbCombobox& combo, TOrbScrollBarRes* scrollRes = nullptr);
