// Fonts as the windows describe them: a face name, a size in points, a
// style, a colour and a character set. The character set is one of the
// classic font character-set identifiers (ANSI_CHARSET, GB2312_CHARSET ...);
// text layout turns it into a language hint so that fallback picks glyphs of
// the right script (Simplified rather than Traditional Chinese forms, say).
#pragma once

#include <optional>
#include <string>

#include "platform/gfx/bitmap32.h"

// Character-set identifiers with their standard values.
namespace charset {
constexpr int Ansi = 0;
constexpr int Default = 1;
constexpr int Symbol = 2;
constexpr int Mac = 77;
constexpr int ShiftJis = 128;
constexpr int Hangeul = 129;
constexpr int Johab = 130;
constexpr int Gb2312 = 134;
constexpr int ChineseBig5 = 136;
constexpr int Greek = 161;
constexpr int Turkish = 162;
constexpr int Hebrew = 177;
constexpr int Arabic = 178;
constexpr int Baltic = 186;
constexpr int Russian = 204;
constexpr int Thai = 222;
constexpr int EastEurope = 238;
constexpr int Oem = 255;
}  // namespace charset

// "GB2312_CHARSET" -> 134, compared without regard to case; nullopt for a
// name outside the list.
std::optional<int> CharsetFromName(const std::string& name);
// 134 -> "GB2312_CHARSET"; "" for a value outside the list.
std::string CharsetName(int charset);
// The language hint for text layout: "zh-cn" for GB2312, "zh-tw" for Big5,
// "ja", "ko", "el", "tr", "he", "ar", "lt", "ru", "th", "pl"; "" when the
// character set says nothing about the language (ANSI, DEFAULT, OEM ...).
std::string CharsetLanguage(int charset);

// Screen resolution the point sizes are converted with.
constexpr int ScreenDpi = 96;

// Pixel height of the characters <-> size in points at 96 dpi, rounded.
int PointsToPixels(int points);
int PixelsToPoints(int pixels);

struct TFont {
    std::string Name = "Tahoma";  // a face that is not installed falls back to a sans face
    int Size = 8;                 // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    TColor Color = 0;             // 0x00BBGGRR, black
    int Charset = charset::Default;

    // Character height in pixels, as windows state their fonts ("11 pixels
    // high" is 8 points).
    int PixelHeight() const { return PointsToPixels(Size); }
    void SetPixelHeight(int pixels) { Size = PixelsToPoints(pixels); }

    friend bool operator==(const TFont&, const TFont&) = default;
};
