// The program's own look for its edit boxes: the "edit_box" frame strip
// (normal, hover, focused, disabled; cut at x 4 and 8), a 1-pixel inset for
// the text and the extra button, and a pale accent selection. The optional
// extra button is the "edit_extra_btn" strip (a browse "...").
#pragma once

#include "skin/orb_edit.h"

enum class TEditExtraButton { No, Yes };

void LoadProgramEditSkin(TOrbEdit& edit, TEditExtraButton extra = TEditExtraButton::No);
