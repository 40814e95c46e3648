// The interface language as a Windows-style language identifier, read from
// the locale names in the environment (LC_ALL, LC_MESSAGES, LANG).
#include "platform/locale_format.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

struct TLanguageEntry {
    const char* Language;
    const char* Country;  // may carry an "@modifier"
    uint16_t Id;
};

// Windows language identifiers by language and country. The first entry of
// each language is the one used for a country not listed here.
constexpr TLanguageEntry LanguageTable[] = {
    {"en", "US", 0x0409}, {"en", "GB", 0x0809}, {"en", "AU", 0x0C09}, {"en", "CA", 0x1009},
    {"en", "NZ", 0x1409}, {"en", "IE", 0x1809}, {"en", "ZA", 0x1C09}, {"en", "JM", 0x2009},
    {"en", "BZ", 0x2809}, {"en", "TT", 0x2C09}, {"en", "ZW", 0x3009}, {"en", "PH", 0x3409},
    {"en", "IN", 0x4009}, {"en", "MY", 0x4409}, {"en", "SG", 0x4809},
    {"zh", "CN", 0x0804}, {"zh", "TW", 0x0404}, {"zh", "HK", 0x0C04}, {"zh", "SG", 0x1004},
    {"zh", "MO", 0x1404},
    {"de", "DE", 0x0407}, {"de", "CH", 0x0807}, {"de", "AT", 0x0C07}, {"de", "LU", 0x1007},
    {"de", "LI", 0x1407},
    {"fr", "FR", 0x040C}, {"fr", "BE", 0x080C}, {"fr", "CA", 0x0C0C}, {"fr", "CH", 0x100C},
    {"fr", "LU", 0x140C}, {"fr", "MC", 0x180C},
    {"es", "ES", 0x0C0A}, {"es", "MX", 0x080A}, {"es", "GT", 0x100A}, {"es", "CR", 0x140A},
    {"es", "PA", 0x180A}, {"es", "DO", 0x1C0A}, {"es", "VE", 0x200A}, {"es", "CO", 0x240A},
    {"es", "PE", 0x280A}, {"es", "AR", 0x2C0A}, {"es", "EC", 0x300A}, {"es", "CL", 0x340A},
    {"es", "UY", 0x380A}, {"es", "PY", 0x3C0A}, {"es", "BO", 0x400A}, {"es", "SV", 0x440A},
    {"es", "HN", 0x480A}, {"es", "NI", 0x4C0A}, {"es", "PR", 0x500A}, {"es", "US", 0x540A},
    {"it", "IT", 0x0410}, {"it", "CH", 0x0810},
    {"nl", "NL", 0x0413}, {"nl", "BE", 0x0813},
    {"pt", "BR", 0x0416}, {"pt", "PT", 0x0816},
    {"ar", "SA", 0x0401}, {"ar", "IQ", 0x0801}, {"ar", "EG", 0x0C01}, {"ar", "LY", 0x1001},
    {"ar", "DZ", 0x1401}, {"ar", "MA", 0x1801}, {"ar", "TN", 0x1C01}, {"ar", "OM", 0x2001},
    {"ar", "YE", 0x2401}, {"ar", "SY", 0x2801}, {"ar", "JO", 0x2C01}, {"ar", "LB", 0x3001},
    {"ar", "KW", 0x3401}, {"ar", "AE", 0x3801}, {"ar", "BH", 0x3C01}, {"ar", "QA", 0x4001},
    {"sv", "SE", 0x041D}, {"sv", "FI", 0x081D},
    {"ru", "RU", 0x0419}, {"ru", "MD", 0x0819},
    {"ro", "RO", 0x0418}, {"ro", "MD", 0x0818},
    {"ms", "MY", 0x043E}, {"ms", "BN", 0x083E},
    {"bn", "IN", 0x0445}, {"bn", "BD", 0x0845},
    {"hr", "HR", 0x041A}, {"hr", "BA", 0x101A},
    // glibc's sr_RS and sr_ME are Cyrillic; "@latin" picks the Latin script.
    {"sr", "RS", 0x281A}, {"sr", "RS@latin", 0x241A}, {"sr", "ME", 0x301A}, {"sr", "ME@latin", 0x2C1A},
    {"bs", "BA", 0x141A},
    {"nb", "NO", 0x0414}, {"no", "NO", 0x0414}, {"nn", "NO", 0x0814},
    {"ja", "JP", 0x0411}, {"ko", "KR", 0x0412}, {"pl", "PL", 0x0415}, {"cs", "CZ", 0x0405},
    {"da", "DK", 0x0406}, {"fi", "FI", 0x040B}, {"tr", "TR", 0x041F}, {"el", "GR", 0x0408},
    {"hu", "HU", 0x040E}, {"uk", "UA", 0x0422}, {"he", "IL", 0x040D}, {"iw", "IL", 0x040D},
    {"th", "TH", 0x041E}, {"vi", "VN", 0x042A}, {"id", "ID", 0x0421}, {"in", "ID", 0x0421},
    {"sk", "SK", 0x041B}, {"bg", "BG", 0x0402}, {"ca", "ES", 0x0403}, {"is", "IS", 0x040F},
    {"sq", "AL", 0x041C}, {"ur", "PK", 0x0420}, {"be", "BY", 0x0423}, {"sl", "SI", 0x0424},
    {"et", "EE", 0x0425}, {"lv", "LV", 0x0426}, {"lt", "LT", 0x0427}, {"fa", "IR", 0x0429},
    {"hy", "AM", 0x042B}, {"az", "AZ", 0x042C}, {"eu", "ES", 0x042D}, {"mk", "MK", 0x042F},
    {"af", "ZA", 0x0436}, {"ka", "GE", 0x0437}, {"fo", "FO", 0x0438}, {"hi", "IN", 0x0439},
    {"mt", "MT", 0x043A}, {"ga", "IE", 0x083C}, {"kk", "KZ", 0x043F}, {"ky", "KG", 0x0440},
    {"sw", "KE", 0x0441}, {"uz", "UZ", 0x0443}, {"tt", "RU", 0x0444}, {"pa", "IN", 0x0446},
    {"gu", "IN", 0x0447}, {"ta", "IN", 0x0449}, {"te", "IN", 0x044A}, {"kn", "IN", 0x044B},
    {"ml", "IN", 0x044C}, {"mr", "IN", 0x044E}, {"mn", "MN", 0x0450}, {"cy", "GB", 0x0452},
    {"km", "KH", 0x0453}, {"lo", "LA", 0x0454}, {"gl", "ES", 0x0456}, {"kok", "IN", 0x0457},
    {"si", "LK", 0x045B}, {"am", "ET", 0x045E}, {"ne", "NP", 0x0461}, {"fil", "PH", 0x0464},
};

constexpr uint16_t DefaultLanguageId = 0x0409;

}  // namespace

uint16_t LanguageIdFromLocaleName(const std::string& localeName) {
    // "ll_CC.codeset@modifier": the codeset says nothing about the language.
    size_t at = localeName.find('@');
    std::string modifier = at == std::string::npos ? "" : localeName.substr(at);
    std::string name = localeName.substr(0, std::min(at, localeName.find('.')));
    if (name.empty() || name == "C" || name == "POSIX") return DefaultLanguageId;
    size_t separator = name.find_first_of("_-");
    std::string language, country;
    for (char c : name.substr(0, separator)) language += AsciiLower(c);
    if (separator != std::string::npos)
        for (char c : name.substr(separator + 1)) country += AsciiUpper(c);
    const TLanguageEntry* primary = nullptr;
    const TLanguageEntry* byCountry = nullptr;
    for (const TLanguageEntry& entry : LanguageTable) {
        if (language != entry.Language) continue;
        if (!primary) primary = &entry;
        if (!country.empty() && country + modifier == entry.Country) return entry.Id;
        if (!byCountry && !country.empty() && country == entry.Country) byCountry = &entry;
    }
    if (byCountry) return byCountry->Id;
    return primary ? primary->Id : DefaultLanguageId;
}

uint16_t UserDefaultUILanguage() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return LanguageIdFromLocaleName(value);
    }
    return DefaultLanguageId;
}

std::string LanguageIdText(uint16_t id) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04X", static_cast<unsigned>(id));
    return buffer;
}
