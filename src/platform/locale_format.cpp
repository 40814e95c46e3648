// Regional formats from the C library's locale: strftime formats turned into
// pictures and the settings in force. Writing and matching pictures is in
// locale_picture.cpp, reading stored date-times back in locale_reading.cpp,
// the language identifiers in locale_language.cpp.
#include "platform/locale_format.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <forward_list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/locale_picture.h"

using namespace locale_detail;

namespace {

constexpr const char* IsoDatePicture = "yyyy-MM-dd";
constexpr const char* IsoTimePicture = "HH:mm:ss";

// ---------------------------------------------------------------- strftime

// Literal text of a strftime format, quoted where a picture would read it
// as letters or quotes.
std::string QuoteLiteral(const std::string& literal) {
    std::string out;
    bool open = false;
    for (char c : literal) {
        if (IsAsciiLetter(c)) {
            if (!open) out += '\'';
            open = true;
            out += c;
            continue;
        }
        if (open) out += '\'';
        open = false;
        if (c == '\'')
            out += "\"'\"";
        else if (c == '"')
            out += "'\"'";
        else
            out += c;
    }
    if (open) out += '\'';
    return out;
}

// The picture for one conversion; nullptr when a picture cannot express it.
// Blank-padded conversions (%e, %k, %l) and the "-" and "_" flags give the
// unpadded picture letter; "0" asks for the padded one.
const char* PictureOfConversion(char conversion, char flag) {
    bool padded = flag != '-' && flag != '_';
    bool zeroPadded = flag == '0';
    switch (conversion) {
        case 'd': return padded ? "dd" : "d";
        case 'e': return zeroPadded ? "dd" : "d";
        case 'm': return padded ? "MM" : "M";
        case 'Y':
        case 'y': return "yyyy";
        case 'H': return padded ? "HH" : "H";
        case 'k': return zeroPadded ? "HH" : "H";
        case 'I': return padded ? "hh" : "h";
        case 'l': return zeroPadded ? "hh" : "h";
        case 'M': return padded ? "mm" : "m";
        case 'S': return padded ? "ss" : "s";
        case 'p':
        case 'P': return "tt";
        case 'r': return "hh:mm:ss tt";
        case 'T': return "HH:mm:ss";
        case 'R': return "HH:mm";
        case 'D': return "MM/dd/yyyy";
        case 'F': return "yyyy-MM-dd";
        default: return nullptr;
    }
}

// ---------------------------------------------------------------- locales

bool IsCLocaleName(const std::string& name) {
    return name.empty() || name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0 || name.rfind("C@", 0) == 0;
}

bool IsUtf8Codeset(const std::string& codeset) {
    std::string lower;
    for (char c : codeset)
        if (c != '-' && c != '_') lower += AsciiLower(c);
    return lower == "utf8";
}

// Converts text in the locale's codeset to UTF-8; false when it cannot.
bool ToUtf8(const std::string& text, const std::string& codeset, std::string& out) {
    bool ascii = true;
    for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii || IsUtf8Codeset(codeset)) {
        out = text;
        return true;
    }
    iconv_t cd = iconv_open("UTF-8", codeset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string input = text;
    std::string result(text.size() * 4 + 8, '\0');
    char* in = input.data();
    size_t inLeft = input.size();
    char* outPtr = result.data();
    size_t outLeft = result.size();
    size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || inLeft != 0) return false;
    result.resize(result.size() - outLeft);
    out = result;
    return true;
}

// Names to try for a locale: without a codeset, the UTF-8 variant first (its
// strings need no conversion), then the name as given.
std::vector<std::string> CandidateLocaleNames(const std::string& name) {
    size_t at = name.find('@');
    std::string base = name.substr(0, at);
    std::string modifier = at == std::string::npos ? "" : name.substr(at);
    if (base.find('.') != std::string::npos) return {name};
    return {base + ".UTF-8" + modifier, name};
}

bool LoadTimeInfo(const std::string& name, TLocaleTimeInfo& info) {
    locale_t locale = nullptr;
    for (const std::string& candidate : CandidateLocaleNames(name)) {
        // LC_CTYPE comes along to tell the codeset the strings are in.
        locale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, candidate.c_str(), static_cast<locale_t>(nullptr));
        if (locale) break;
    }
    if (!locale) return false;
    std::string codeset = nl_langinfo_l(CODESET, locale);
    auto read = [&](nl_item item, std::string& out) {
        if (!ToUtf8(nl_langinfo_l(item, locale), codeset, out)) out.clear();
    };
    read(D_FMT, info.DateFormat);
    read(T_FMT, info.TimeFormat);
    read(AM_STR, info.AMString);
    read(PM_STR, info.PMString);
    const nl_item days[] = {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4, ABDAY_5, ABDAY_6, ABDAY_7};
    for (size_t i = 0; i < 7; ++i) read(days[i], info.AbbreviatedDayNames[i]);
    freelocale(locale);
    return true;
}

std::string FirstEnvironmentValue(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return {};
}

const TFormatSettings& ProcessFormatSettings() {
    static const TFormatSettings settings =
        FormatSettingsFromLocale(FirstEnvironmentValue({"LC_ALL", "LC_TIME", "LANG"}));
    return settings;
}

// Installed settings stay alive for the whole process so that a reference
// handed out by FormatSettings() never dangles when a test installs another.
std::mutex InstalledMutex;
std::forward_list<std::unique_ptr<TFormatSettings>> InstalledKeepAlive;
std::atomic<const TFormatSettings*> Installed{nullptr};

}  // namespace

// ---------------------------------------------------------------- settings

const TFormatSettings& FormatSettings() {
    const TFormatSettings* installed = Installed.load(std::memory_order_acquire);
    return installed ? *installed : ProcessFormatSettings();
}

bool locale_detail::IsUnchangingSettings(const TFormatSettings& settings) {
    return &settings == Installed.load(std::memory_order_acquire) || &settings == &ProcessFormatSettings();
}

void SetFormatSettings(const TFormatSettings& settings) {
    std::lock_guard lock(InstalledMutex);
    InstalledKeepAlive.push_front(std::make_unique<TFormatSettings>(settings));
    Installed.store(InstalledKeepAlive.front().get(), std::memory_order_release);
}

void ResetFormatSettings() {
    Installed.store(nullptr, std::memory_order_release);
}

std::string PictureFromStrftime(const std::string& format) {
    std::string out, literal;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            literal += format[i];
            continue;
        }
        char flag = 0;
        if (i + 1 < format.size() && format[i + 1] != '\0' && std::strchr("-_0^#", format[i + 1]))
            flag = format[++i];
        if (++i >= format.size()) return {};
        char conversion = format[i];
        // Field widths, eras (%E) and alternative digits (%O) have no picture.
        if (IsDigit(conversion) || conversion == 'E' || conversion == 'O') return {};
        if (conversion == '%') {
            literal += '%';
            continue;
        }
        if (conversion == 'n' || conversion == 't') {
            literal += ' ';
            continue;
        }
        const char* piece = PictureOfConversion(conversion, flag);
        if (!piece) return {};
        out += QuoteLiteral(literal);
        literal.clear();
        out += piece;
    }
    return out + QuoteLiteral(literal);
}

std::string DatePictureFromStrftime(const std::string& format) {
    std::string picture = PictureFromStrftime(format);
    std::vector<TToken> tokens = Tokenize(picture);
    bool complete = HasKind(tokens, TTokenKind::Year) && HasKind(tokens, TTokenKind::Month) &&
                    HasKind(tokens, TTokenKind::Day) && !HasTimeField(tokens);
    return complete ? picture : IsoDatePicture;
}

std::string TimePictureFromStrftime(const std::string& format) {
    std::string picture = PictureFromStrftime(format);
    std::vector<TToken> tokens = Tokenize(picture);
    bool hour12 = HasKind(tokens, TTokenKind::Hour12);
    bool complete = (hour12 || HasKind(tokens, TTokenKind::Hour24)) && HasKind(tokens, TTokenKind::Minute) &&
                    !HasDateField(tokens);
    if (!complete) return IsoTimePicture;
    const TToken* minute = nullptr;
    for (const TToken& token : tokens) {
        // Without a designator a 12-hour clock cannot tell 9:00 from 21:00.
        if (token.Kind == TTokenKind::Hour12 && !HasKind(tokens, TTokenKind::Designator))
            picture.replace(token.End - static_cast<size_t>(token.Width), static_cast<size_t>(token.Width),
                            static_cast<size_t>(token.Width), 'H');
        if (token.Kind == TTokenKind::Minute && !minute) minute = &token;
    }
    // Stored date-times must keep their seconds: they identify a reminder.
    if (!HasKind(tokens, TTokenKind::Second)) picture.insert(minute->End, ":ss");
    return picture;
}

TFormatSettings FormatSettingsFromTimeInfo(const TLocaleTimeInfo& info) {
    TFormatSettings settings;
    settings.ShortDateFormat = DatePictureFromStrftime(info.DateFormat);
    settings.LongTimeFormat = TimePictureFromStrftime(info.TimeFormat);
    settings.TimeAMString = info.AMString;
    settings.TimePMString = info.PMString;
    // A designator that is missing, or the same for morning and afternoon,
    // would make 12-hour times unreadable.
    bool usesDesignator = HasKind(Tokenize(settings.LongTimeFormat), TTokenKind::Designator);
    if (usesDesignator && (info.AMString.empty() || info.PMString.empty() ||
                           SameIgnoringAsciiCase(info.AMString, info.PMString))) {
        settings.TimeAMString = "AM";
        settings.TimePMString = "PM";
    }
    bool allDays = true;
    for (const std::string& day : info.AbbreviatedDayNames) allDays = allDays && !day.empty();
    if (allDays) settings.ShortDayNames = info.AbbreviatedDayNames;
    return settings;
}

TFormatSettings FormatSettingsFromLocale(const std::string& localeName) {
    TLocaleTimeInfo info;
    if (IsCLocaleName(localeName) || !LoadTimeInfo(localeName, info)) return TFormatSettings{};
    return FormatSettingsFromTimeInfo(info);
}
