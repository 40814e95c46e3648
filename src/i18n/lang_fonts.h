// The font a language prescribes for every window: face, size and
// character set from section "Translation" of the active language file.
// These are read from the active file alone and afresh on each request:
// the built-in English file never decides the font of another language,
// and a file edited while the program runs takes effect with the next
// window that opens.
#pragma once

#include <string>

// Used when the active file is missing or does not set the value.
inline constexpr const char* DefaultLangFontName = "Tahoma";
inline constexpr int DefaultLangFontSize = 8;

// Sizes outside this range make windows unreadable or unusable (a zero or
// negative size draws nothing, a huge one overflows every control); such a
// DefaultFontSize counts as not set.
inline constexpr int MinLangFontSize = 6;
inline constexpr int MaxLangFontSize = 72;

// Character-set values as the language files name them (ANSI_CHARSET 0,
// DEFAULT_CHARSET 1, ...).
inline constexpr int LangAnsiCharset = 0;
inline constexpr int LangDefaultCharset = 1;

struct TLangFontSettings {
    std::string Name = DefaultLangFontName;
    int Size = DefaultLangFontSize;  // points
    int Charset = LangDefaultCharset;
};

// All three settings from one reading of the active file.
TLangFontSettings LangFontSettings();

// Key DefaultFont; "Tahoma" without the file or the key.
std::string LangFontName();
// Key DefaultFontSize in points; 8 without the file or the key, and for a
// value that is not a whole number within [MinLangFontSize, MaxLangFontSize].
int LangFontSize();
// Key DefaultCharset (any letter case): ANSI_CHARSET without the key;
// DEFAULT_CHARSET without the file or for a name outside the list.
int LangCharset();

// "GB2312_CHARSET" -> 134, compared without regard to case; -1 for a name
// outside the list.
int LangCharsetFromName(const std::string& name);
