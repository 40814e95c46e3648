// The program's own skin: which artwork each kind of control of its windows
// takes, with the cut lines and frame counts that belong to it. Windows
// load these once when they are built.
#pragma once

#include "skin/orb_popup_menu.h"
#include "skin/orb_scroll_bar.h"

// The shared scroll bar resource of the program's lists: 15-pixel bars,
// arrow buttons the track overlaps by 8 pixels, a thumb cut at 7 and 15.
// A horizontal bar takes the same artwork turned on its side, its frames
// stacked top to bottom.
void LoadProgramScrollBarSkin(TOrbScrollBarSkin& skin, TOrbUIScrollkind kind = skVer);

// The images, cut lines and spacing of the program's popup menus (rows 25
// pixels high, inset 5 from the shadowed edge, a 40-pixel mark column).
// The minimum width is each menu's own.
void LoadProgramMenuSkin(TOrbPopupMenu& menu);
// The text colour of a menu entry that cannot be chosen (rgb 160, 160, 160).
constexpr TColor DisabledMenuText = 0xA0A0A0;

// The image turned about its main diagonal: column x becomes row x.
TPngImage Transposed(const TPngImage& image);
