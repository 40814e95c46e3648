// Fonts of translated windows: the language's font applied to a window's
// font, and the copy that hands it on to the controls. Lives beside the
// base window because TFont belongs to the graphics layer, which the text
// lookup does not link.
#pragma once

#include "platform/gfx/font.h"

// The target takes the source's face, character set and size; its colour
// and style stay, so a white bold title stays white and bold.
void CopyFont(TFont& target, const TFont& source);

// `font` with the language's face, size and character set (LangFontName,
// LangFontSize, LangCharset); colour and style stay.
TFont LangFont(TFont font);

// A default font in `color`, bold when asked: how the windows' captions
// and titles start before the language pass gives them its face.
TFont ColouredFont(TColor color, bool bold = false);
// `font` in another colour.
TFont Recoloured(TFont font, TColor color);
