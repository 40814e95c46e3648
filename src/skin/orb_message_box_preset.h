// The program's own message box skin: its artwork, cut lines, insets and
// fonts, loaded once by the window that places the box.
#pragma once

#include "skin/orb_message_box.h"

void LoadProgramMessageBoxSkin(TOrbMessageBox& box);
