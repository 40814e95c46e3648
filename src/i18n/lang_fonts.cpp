// The language's font settings, read from the active language file.
#include "i18n/lang_fonts.h"

#include <strings.h>

#include <charconv>

#include "i18n/lang_path.h"
#include "i18n/lang_table.h"
#include "platform/atomic_file.h"
#include "platform/folders.h"

namespace {

constexpr const char* Section = "Translation";

// The same names and values the graphics layer knows (CharsetFromName in
// platform/gfx/font.h); kept here as well because the text lookup links
// without the graphics libraries.
struct TCharsetName {
    const char* Name;
    int Value;
};

constexpr TCharsetName CharsetNames[] = {
    {"ANSI_CHARSET", 0},          {"DEFAULT_CHARSET", 1},      {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},          {"SHIFTJIS_CHARSET", 128},   {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},       {"GB2312_CHARSET", 134},     {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},       {"TURKISH_CHARSET", 162},    {"HEBREW_CHARSET", 177},
    {"ARABIC_CHARSET", 178},      {"BALTIC_CHARSET", 186},     {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},        {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
};

// The character set of the system's default font. Fonts here are chosen by
// fontconfig, which has no character set of its own; DEFAULT_CHARSET leaves
// the script to the text itself, which is what the system font means.
constexpr int SystemFontCharset = LangDefaultCharset;

// A whole number, optionally signed, and nothing else.
bool ParseInt(const std::string& text, int& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != last;
}

int SizeFrom(const std::string* text) {
    int size = 0;
    if (!text || !ParseInt(*text, size)) return DefaultLangFontSize;
    if (size < MinLangFontSize || size > MaxLangFontSize) return DefaultLangFontSize;
    return size;
}

int CharsetFrom(const std::string* name) {
    if (!name) return LangAnsiCharset;
    int value = LangCharsetFromName(*name);
    return value < 0 ? SystemFontCharset : value;
}

}  // namespace

int LangCharsetFromName(const std::string& name) {
    for (const TCharsetName& entry : CharsetNames)
        if (strcasecmp(entry.Name, name.c_str()) == 0) return entry.Value;
    return -1;
}

TLangFontSettings LangFontSettings() {
    TLangFontSettings settings;
    settings.Charset = SystemFontCharset;
    std::string bytes;
    if (LangFilePath.empty() || !FileExists(LangFilePath) || !ReadWholeFile(LangFilePath, bytes)) return settings;

    // Keys ignore case, so "DefaultCharSet" and "DefaultCharset" are one key;
    // an empty value counts as not set.
    TLangTable table = TLangTable::FromBytes(bytes);
    if (const std::string* name = table.Find(Section, "DefaultFont")) settings.Name = *name;
    settings.Size = SizeFrom(table.Find(Section, "DefaultFontSize"));
    settings.Charset = CharsetFrom(table.Find(Section, "DefaultCharSet"));
    return settings;
}

std::string LangFontName() { return LangFontSettings().Name; }

int LangFontSize() { return LangFontSettings().Size; }

int LangCharset() { return LangFontSettings().Charset; }
