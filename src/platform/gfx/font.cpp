// Character-set names and values, their language hints, and the point /
// pixel conversion of font sizes.
#include "platform/gfx/font.h"

#include <cmath>
#include <strings.h>

namespace {

struct TCharsetEntry {
    const char* Name;
    int Value;
    const char* Language;
};

// The language tells the text layout which script variant to prefer when a
// face lacks a character; character sets that say nothing about a language
// (ANSI covers all of Western Europe) give none.
constexpr TCharsetEntry Charsets[] = {
    {"ANSI_CHARSET", charset::Ansi, ""},
    {"DEFAULT_CHARSET", charset::Default, ""},
    {"SYMBOL_CHARSET", charset::Symbol, ""},
    {"MAC_CHARSET", charset::Mac, ""},
    {"SHIFTJIS_CHARSET", charset::ShiftJis, "ja"},
    {"HANGEUL_CHARSET", charset::Hangeul, "ko"},
    {"JOHAB_CHARSET", charset::Johab, "ko"},
    {"GB2312_CHARSET", charset::Gb2312, "zh-cn"},
    {"CHINESEBIG5_CHARSET", charset::ChineseBig5, "zh-tw"},
    {"GREEK_CHARSET", charset::Greek, "el"},
    {"TURKISH_CHARSET", charset::Turkish, "tr"},
    {"HEBREW_CHARSET", charset::Hebrew, "he"},
    {"ARABIC_CHARSET", charset::Arabic, "ar"},
    {"BALTIC_CHARSET", charset::Baltic, "lt"},
    {"RUSSIAN_CHARSET", charset::Russian, "ru"},
    {"THAI_CHARSET", charset::Thai, "th"},
    {"EASTEUROPE_CHARSET", charset::EastEurope, "pl"},
    {"OEM_CHARSET", charset::Oem, ""},
};

}  // namespace

std::optional<int> CharsetFromName(const std::string& name) {
    for (const auto& e : Charsets)
        if (strcasecmp(e.Name, name.c_str()) == 0) return e.Value;
    return std::nullopt;
}

std::string CharsetName(int value) {
    for (const auto& e : Charsets)
        if (e.Value == value) return e.Name;
    return "";
}

std::string CharsetLanguage(int value) {
    for (const auto& e : Charsets)
        if (e.Value == value) return e.Language;
    return "";
}

int PointsToPixels(int points) { return int(std::lround(points * double(ScreenDpi) / 72.0)); }

int PixelsToPoints(int pixels) { return int(std::lround(pixels * 72.0 / ScreenDpi)); }
