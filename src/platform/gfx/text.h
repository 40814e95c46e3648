// Measuring and drawing text with a TFont. Layout and shaping are pango's;
// a face that is not installed, or that lacks a character (Chinese in a
// Latin face), falls back through fontconfig to an installed face, preferring
// the script variant of the font's character set. Text is UTF-8.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/bitmap32.h"
#include "platform/gfx/font.h"
#include "platform/gfx/geometry.h"

// How text sits in its rectangle. Left and Top are the defaults (0).
enum TTextFlag : uint32_t {
    tfLeft = 0,
    tfCenter = 1 << 0,       // horizontally centred
    tfRight = 1 << 1,
    tfTop = 0,
    tfVCenter = 1 << 2,      // vertically centred
    tfBottom = 1 << 3,
    tfSingleLine = 1 << 4,   // line breaks in the text do not start new lines
    tfWordBreak = 1 << 5,    // lines wrap at word boundaries to fit the width
    tfEndEllipsis = 1 << 6,  // text that does not fit ends with "…"
    tfNoPrefix = 1 << 7,     // '&' is an ordinary character
    tfNoClip = 1 << 8,       // may draw outside the rectangle
};
using TTextFlags = uint32_t;

// Unless tfNoPrefix is given, "&x" shows x underlined (the accelerator) and
// "&&" shows a single '&'; the '&' itself is never drawn.
struct TPrefixText {
    std::string Text;        // what is shown
    int AcceleratorPos = -1;  // byte offset of the underlined character in Text, -1 none
};
TPrefixText StripPrefix(const std::string& text);

// The accelerator character of a caption, lower-cased for ASCII letters;
// 0 when it has none or it is not ASCII.
char AcceleratorChar(const std::string& text);

// Size of the text on one line per line break (no wrapping), '&' handled
// as without tfNoPrefix.
TPoint TextExtent(const TFont& font, const std::string& text, TTextFlags flags = 0);
int TextWidth(const TFont& font, const std::string& text, TTextFlags flags = 0);
int TextHeight(const TFont& font, const std::string& text, TTextFlags flags = 0);

// What a layout of the text in a rectangle of the given size came to.
struct TTextMetrics {
    int Width = 0;               // the widest line, pixels (an ellipsized line: the width given)
    int Height = 0;              // all lines
    int LineCount = 0;
    bool Ellipsized = false;     // part of the text was replaced by "…"
    int UnknownGlyphs = 0;       // characters no installed face could show
    std::string ShownText;       // the lines as shown, joined by '\n', "…" where text was left out
};
TTextMetrics MeasureText(const TFont& font, const std::string& text, int width, int height, TTextFlags flags);

// Number of characters of the text that no installed face can show.
int UnknownGlyphCount(const TFont& font, const std::string& text);

// Draws the text in the font's colour, antialiased, blended over the
// bitmap's pixels (transparent pixels take the text's coverage as alpha).
// Clipped to rect unless tfNoClip.
void DrawText(TBitmap32& target, const TRect& rect, const TFont& font, const std::string& text, TTextFlags flags);
