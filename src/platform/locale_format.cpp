// Regional formats from the C library's locale: strftime formats turned into
// pictures, the picture formatter and parser, and the reading fallbacks for
// text written under other settings. The language identifiers are in
// locale_language.cpp.
#include "platform/locale_format.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <forward_list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

constexpr const char* IsoDatePicture = "yyyy-MM-dd";
constexpr const char* IsoTimePicture = "HH:mm:ss";

// 0001-01-01 and the day after 9999-12-31: the years a picture can show.
constexpr double MinDateTime = -693593.0;
constexpr double MaxDateTime = 2958466.0;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringAsciiCase(const std::string& a, size_t pos, const std::string& b) {
    if (a.size() - pos < b.size()) return false;
    for (size_t i = 0; i < b.size(); ++i)
        if (AsciiLower(a[pos + i]) != AsciiLower(b[i])) return false;
    return true;
}

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && EqualsIgnoringAsciiCase(a, 0, b);
}

// ---------------------------------------------------------------- pictures

enum class TTokenKind { Literal, Blank, Year, Month, Day, Hour24, Hour12, Minute, Second, Designator };

struct TToken {
    TTokenKind Kind = TTokenKind::Literal;
    int Width = 0;     // letters in the picture (fields only)
    std::string Text;  // literal or blank text
    size_t End = 0;    // offset just after a field in the picture
};

bool FieldOfLetter(char c, TTokenKind& kind) {
    switch (c) {
        case 'y': kind = TTokenKind::Year; return true;
        case 'M': kind = TTokenKind::Month; return true;
        case 'd': kind = TTokenKind::Day; return true;
        case 'H': kind = TTokenKind::Hour24; return true;
        case 'h': kind = TTokenKind::Hour12; return true;
        case 'm': kind = TTokenKind::Minute; return true;
        case 's': kind = TTokenKind::Second; return true;
        case 't': kind = TTokenKind::Designator; return true;
        default: return false;
    }
}

void AppendText(std::vector<TToken>& tokens, char c) {
    TTokenKind kind = IsBlank(c) ? TTokenKind::Blank : TTokenKind::Literal;
    if (tokens.empty() || tokens.back().Kind != kind) tokens.push_back({kind, 0, {}, 0});
    tokens.back().Text += c;
}

std::vector<TToken> Tokenize(const std::string& picture) {
    std::vector<TToken> tokens;
    size_t i = 0;
    while (i < picture.size()) {
        char c = picture[i];
        if (c == '\'' || c == '"') {
            size_t close = picture.find(c, i + 1);
            size_t stop = close == std::string::npos ? picture.size() : close;
            for (size_t k = i + 1; k < stop; ++k) AppendText(tokens, picture[k]);
            i = close == std::string::npos ? picture.size() : close + 1;
            continue;
        }
        size_t run = i;
        while (run < picture.size() && picture[run] == c) ++run;
        int length = static_cast<int>(run - i);
        TTokenKind kind;
        if (FieldOfLetter(c, kind) && (kind == TTokenKind::Year || length <= 2)) {
            tokens.push_back({kind, kind == TTokenKind::Year ? 4 : length, {}, run});
        } else {
            for (size_t k = i; k < run; ++k) AppendText(tokens, picture[k]);
        }
        i = run;
    }
    return tokens;
}

bool HasKind(const std::vector<TToken>& tokens, TTokenKind kind) {
    for (const TToken& t : tokens)
        if (t.Kind == kind) return true;
    return false;
}

bool HasDateField(const std::vector<TToken>& tokens) {
    return HasKind(tokens, TTokenKind::Year) || HasKind(tokens, TTokenKind::Month) ||
           HasKind(tokens, TTokenKind::Day);
}

bool HasTimeField(const std::vector<TToken>& tokens) {
    return HasKind(tokens, TTokenKind::Hour24) || HasKind(tokens, TTokenKind::Hour12) ||
           HasKind(tokens, TTokenKind::Minute) || HasKind(tokens, TTokenKind::Second) ||
           HasKind(tokens, TTokenKind::Designator);
}

std::string Padded(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

// ---------------------------------------------------------------- parsing

// Fields read so far; -1 is "not in the picture".
struct TParsedFields {
    int Year = -1, Month = -1, Day = -1;
    int Hour24 = -1, Hour12 = -1, Minute = -1, Second = -1;
    int Pm = -1;  // 0 AM, 1 PM
};

// A field may appear twice in a picture; both must then say the same.
bool Assign(int& slot, int value) {
    if (slot >= 0 && slot != value) return false;
    slot = value;
    return true;
}

bool AssignField(TParsedFields& f, TTokenKind kind, int value) {
    switch (kind) {
        case TTokenKind::Year: return value >= 1 && Assign(f.Year, value);
        case TTokenKind::Month: return value >= 1 && value <= 12 && Assign(f.Month, value);
        case TTokenKind::Day: return value >= 1 && value <= 31 && Assign(f.Day, value);
        case TTokenKind::Hour24: return value <= 23 && Assign(f.Hour24, value);
        case TTokenKind::Hour12: return value >= 1 && value <= 12 && Assign(f.Hour12, value);
        case TTokenKind::Minute: return value <= 59 && Assign(f.Minute, value);
        case TTokenKind::Second: return value <= 59 && Assign(f.Second, value);
        default: return false;
    }
}

// Turns the fields into a value; false for an impossible date or time.
bool ComposeValue(const TParsedFields& f, bool hasDate, TDateTime& value) {
    TDateTime date = 0;
    if (hasDate) {
        // A date without its year (or month, or day) cannot be placed.
        if (f.Year < 0 || f.Month < 0 || f.Day < 0 || !IsValidDate(f.Year, f.Month, f.Day)) return false;
        date = EncodeDate(f.Year, f.Month, f.Day);
    }
    int hour = f.Hour24 >= 0 ? f.Hour24 : 0;
    if (f.Hour12 >= 0) {
        // 12 AM is midnight and 12 PM noon; a 12-hour clock without a
        // designator is read as the morning.
        int fromTwelve = f.Hour12 % 12 + (f.Pm == 1 ? 12 : 0);
        if (f.Hour24 >= 0 && f.Hour24 != fromTwelve) return false;
        hour = fromTwelve;
    } else if (f.Hour24 >= 0 && f.Pm >= 0 && (f.Hour24 >= 12) != (f.Pm == 1)) {
        return false;  // "09:00 PM" under a 24-hour picture contradicts itself
    }
    value = date + EncodeTime(hour, f.Minute >= 0 ? f.Minute : 0, f.Second >= 0 ? f.Second : 0);
    return true;
}

class TPictureMatcher {
public:
    TPictureMatcher(const std::vector<TToken>& tokens, const std::string& text, const TFormatSettings& settings)
        : FTokens(tokens), FText(text), FSettings(settings), FHasDate(HasDateField(tokens)) {}

    bool Match(size_t index, size_t pos, TParsedFields fields, TDateTime& value) const {
        if (index == FTokens.size()) return pos == FText.size() && ComposeValue(fields, FHasDate, value);
        const TToken& token = FTokens[index];
        switch (token.Kind) {
            case TTokenKind::Literal:
                return FText.compare(pos, token.Text.size(), token.Text) == 0 &&
                       Match(index + 1, pos + token.Text.size(), fields, value);
            case TTokenKind::Blank: {
                size_t end = pos;
                while (end < FText.size() && IsBlank(FText[end])) ++end;
                return end > pos && Match(index + 1, end, fields, value);
            }
            case TTokenKind::Designator: return MatchDesignator(index, pos, fields, value);
            default: return MatchNumber(token, index, pos, fields, value);
        }
    }

private:
    // Tries the longest digit run first and falls back to shorter ones, so
    // that "dM" style pictures without separators still find their split.
    bool MatchNumber(const TToken& token, size_t index, size_t pos, const TParsedFields& fields,
                     TDateTime& value) const {
        size_t available = 0;
        while (pos + available < FText.size() && IsDigit(FText[pos + available])) ++available;
        int minDigits = token.Kind == TTokenKind::Year ? 4 : 1;
        int maxDigits = token.Kind == TTokenKind::Year ? 4 : 2;
        for (int digits = std::min<int>(maxDigits, static_cast<int>(available)); digits >= minDigits; --digits) {
            size_t length = static_cast<size_t>(digits);
            int number = 0;
            for (size_t k = 0; k < length; ++k) number = number * 10 + (FText[pos + k] - '0');
            TParsedFields next = fields;
            if (AssignField(next, token.Kind, number) && Match(index + 1, pos + length, next, value)) return true;
        }
        return false;
    }

    // The settings' own designators, and the English ones that text written
    // under other settings may carry.
    bool MatchDesignator(size_t index, size_t pos, const TParsedFields& fields, TDateTime& value) const {
        const std::pair<const std::string*, int> candidates[] = {
            {&FSettings.TimeAMString, 0}, {&FSettings.TimePMString, 1}, {&EnglishAM, 0}, {&EnglishPM, 1}};
        for (const auto& [designator, pm] : candidates) {
            if (designator->empty() || !EqualsIgnoringAsciiCase(FText, pos, *designator)) continue;
            TParsedFields next = fields;
            if (Assign(next.Pm, pm) && Match(index + 1, pos + designator->size(), next, value)) return true;
        }
        return false;
    }

    inline static const std::string EnglishAM = "AM";
    inline static const std::string EnglishPM = "PM";
    const std::vector<TToken>& FTokens;
    const std::string& FText;
    const TFormatSettings& FSettings;
    bool FHasDate;
};

std::string TrimBlanks(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

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

// ---------------------------------------------------------------- text

std::string FormatDateTimeText(const std::string& picture, TDateTime value, const TFormatSettings& settings) {
    if (!std::isfinite(value) || value < MinDateTime || value >= MaxDateTime) return {};
    TDateParts date;
    TTimeParts time;
    DecodeDateTime(value, date, time);
    std::string out;
    for (const TToken& token : Tokenize(picture)) {
        switch (token.Kind) {
            case TTokenKind::Literal:
            case TTokenKind::Blank: out += token.Text; break;
            case TTokenKind::Year: out += Padded(date.Year, 4); break;
            case TTokenKind::Month: out += Padded(date.Month, token.Width); break;
            case TTokenKind::Day: out += Padded(date.Day, token.Width); break;
            case TTokenKind::Hour24: out += Padded(time.Hour, token.Width); break;
            case TTokenKind::Hour12: out += Padded(time.Hour % 12 == 0 ? 12 : time.Hour % 12, token.Width); break;
            case TTokenKind::Minute: out += Padded(time.Minute, token.Width); break;
            case TTokenKind::Second: out += Padded(time.Second, token.Width); break;
            case TTokenKind::Designator: out += time.Hour < 12 ? settings.TimeAMString : settings.TimePMString; break;
        }
    }
    return out;
}

namespace {

// Pictures for parsing, tokenised once: loading a data file parses tens of
// thousands of values with the same few pictures. Blanks around the text are
// trimmed, so blanks around the picture go too.
const std::vector<TToken>& ParsingTokens(const std::string& picture) {
    thread_local std::unordered_map<std::string, std::vector<TToken>> cache;
    auto found = cache.find(picture);
    if (found != cache.end()) return found->second;
    if (cache.size() > 64) cache.clear();
    std::vector<TToken> tokens = Tokenize(picture);
    while (!tokens.empty() && tokens.back().Kind == TTokenKind::Blank) tokens.pop_back();
    if (!tokens.empty() && tokens.front().Kind == TTokenKind::Blank) tokens.erase(tokens.begin());
    return cache.emplace(picture, std::move(tokens)).first->second;
}

}  // namespace

bool TryParseDateTimeText(const std::string& text, const std::string& picture, TDateTime& value,
                          const TFormatSettings& settings) {
    const std::vector<TToken>& tokens = ParsingTokens(picture);
    if (!HasDateField(tokens) && !HasTimeField(tokens)) return false;
    std::string trimmed = TrimBlanks(text);
    TDateTime parsed = 0;
    if (!TPictureMatcher(tokens, trimmed, settings).Match(0, 0, TParsedFields{}, parsed)) return false;
    value = parsed;
    return true;
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
    std::string date = FormatDateTimeText(settings.ShortDateFormat, value, settings);
    TTimeParts time = DecodeTime(value);
    if (date.empty() || (time.Hour == 0 && time.Minute == 0 && time.Second == 0 && time.MSec == 0)) return date;
    return date + " " + FormatDateTimeText(settings.LongTimeFormat, value, settings);
}

std::string DateToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatDateTimeText(settings.ShortDateFormat, value, settings);
}

std::string TimeToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatDateTimeText(settings.LongTimeFormat, value, settings);
}

namespace {

struct TPicturePair {
    std::string Date, Time;
};

// Whether a date picture puts the day before the month (d.M.yyyy, d/M/yyyy).
bool DayBeforeMonth(const std::string& datePicture) {
    for (const TToken& token : Tokenize(datePicture)) {
        if (token.Kind == TTokenKind::Day) return true;
        if (token.Kind == TTokenKind::Month) return false;
    }
    return false;
}

// The formats in force, then what the program writes under the common
// regional settings. The year-first and dotted forms cannot be mistaken for
// one another; the two slashed forms can when the time is left out, so the
// one that agrees with the user's own order of day and month goes first.
std::vector<TPicturePair> DateTimeCandidates(const TFormatSettings& settings) {
    std::vector<TPicturePair> pairs = {{settings.ShortDateFormat, settings.LongTimeFormat},
                                       {"yyyy-MM-dd", "HH:mm:ss"},
                                       {"yyyy/M/d", "H:mm:ss"},
                                       {"d.M.yyyy", "H:mm:ss"}};
    TPicturePair monthFirst{"M/d/yyyy", "h:mm:ss tt"};
    TPicturePair dayFirst{"d/M/yyyy", "H:mm:ss"};
    if (DayBeforeMonth(settings.ShortDateFormat)) std::swap(monthFirst, dayFirst);
    pairs.push_back(monthFirst);
    pairs.push_back(dayFirst);
    return pairs;
}

}  // namespace

bool TryStrToDateTime(const std::string& text, TDateTime& value, const TFormatSettings& settings) {
    // The candidate pictures depend only on the settings' two formats.
    struct TCandidates {
        std::string DateFormat, TimeFormat;
        std::vector<std::pair<std::string, std::string>> Pictures;  // date + time, date alone
    };
    thread_local TCandidates cached;
    if (cached.Pictures.empty() || cached.DateFormat != settings.ShortDateFormat ||
        cached.TimeFormat != settings.LongTimeFormat) {
        cached.DateFormat = settings.ShortDateFormat;
        cached.TimeFormat = settings.LongTimeFormat;
        cached.Pictures.clear();
        for (const TPicturePair& pair : DateTimeCandidates(settings))
            cached.Pictures.emplace_back(pair.Date + " " + pair.Time, pair.Date);
    }
    for (const auto& [dateTime, dateOnly] : cached.Pictures) {
        if (TryParseDateTimeText(text, dateTime, value, settings) || TryParseDateTimeText(text, dateOnly, value, settings))
            return true;
    }
    return false;
}

bool TryStrToTime(const std::string& text, TDateTime& value, const TFormatSettings& settings) {
    static const std::string fallbacks[] = {"H:mm:ss", "h:mm:ss tt"};
    if (TryParseDateTimeText(text, settings.LongTimeFormat, value, settings)) return true;
    for (const std::string& picture : fallbacks)
        if (TryParseDateTimeText(text, picture, value, settings)) return true;
    return false;
}
