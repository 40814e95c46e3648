// Picture strings taken apart: the tokens of a picture, the fields read from
// a text, and the general picture matcher. Shared by the formatter, the
// strftime conversion and the date-time readers; not part of the public
// interface (locale_format.h is).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/locale_format.h"

namespace locale_detail {

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `text` holds `word` at `pos`, ASCII letters compared without case.
bool EqualsIgnoringAsciiCase(std::string_view text, size_t pos, std::string_view word);
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);
inline std::string_view TrimBlanks(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

enum class TTokenKind { Literal, Blank, Year, Month, Day, Hour24, Hour12, Minute, Second, Designator };

struct TToken {
    TTokenKind Kind = TTokenKind::Literal;
    int Width = 0;     // letters in the picture (fields only)
    std::string Text;  // literal or blank text
    size_t End = 0;    // offset just after a field in the picture
};

std::vector<TToken> Tokenize(std::string_view picture);
bool HasKind(const std::vector<TToken>& tokens, TTokenKind kind);
bool HasDateField(const std::vector<TToken>& tokens);
bool HasTimeField(const std::vector<TToken>& tokens);
bool IsNumberKind(TTokenKind kind);

// A picture tokenised for reading (blanks around it dropped, as they are
// around the text), cached per thread: a data file is read with the same
// few pictures tens of thousands of times.
const std::vector<TToken>& ParsingTokens(std::string_view picture);

// Fields read so far; -1 is "not in the picture".
struct TParsedFields {
    int Year = -1, Month = -1, Day = -1;
    int Hour24 = -1, Hour12 = -1, Minute = -1, Second = -1;
    int Pm = -1;  // 0 AM, 1 PM
};

// A field may appear twice in a picture; both must then say the same.
// Inline: the fast reader calls it for every number it reads.
inline bool Assign(int& slot, int value) {
    if (slot >= 0 && slot != value) return false;
    slot = value;
    return true;
}

inline bool AssignField(TParsedFields& f, TTokenKind kind, int value) {
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
// Inline, as the fast reader composes every value a data file holds.
inline bool ComposeValue(const TParsedFields& f, bool hasDate, TDateTime& value) {
    TDateTime date = 0;
    if (hasDate) {
        // A date without its year (or month, or day) cannot be placed.
        if (f.Year < 0 || f.Month < 0 || f.Day < 0) return false;
        // EncodeDate gives 0 for an impossible date; the one real date at 0
        // is told by its fields. Cheaper than validating twice.
        date = EncodeDate(f.Year, f.Month, f.Day);
        if (date == 0 && (f.Year != 1899 || f.Month != 12 || f.Day != 30)) return false;
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
    // Every reader checks the fields' ranges, so this is EncodeTime without
    // its check, written the same way to give the same bits.
    int minute = f.Minute >= 0 ? f.Minute : 0, second = f.Second >= 0 ? f.Second : 0;
    value = date + (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + 0) / MSecsPerDay;
    return true;
}

// The designators a reader accepts for a picture's tt, in the order it tries
// them: the settings' own, then the English ones that text written under
// other settings may carry. Empty ones never match.
struct TDesignatorCandidate {
    std::string_view Text;
    int Pm = 0;
};
constexpr size_t PictureDesignatorCount = 4;
void PictureDesignators(const TFormatSettings& settings, TDesignatorCandidate (&out)[PictureDesignatorCount]);

// The general matcher: backtracks over digit counts and designators, so any
// picture works. `text` must already be trimmed of blanks.
bool MatchPicture(const std::vector<TToken>& tokens, std::string_view text, const TFormatSettings& settings,
                  TDateTime& value);

// Whether `settings` is the object FormatSettings() hands out: the process
// formats or the installed ones, neither of which ever changes or goes away,
// so that its address alone tells it.
bool IsUnchangingSettings(const TFormatSettings& settings);

// DateTimeToStr and TimeToStr the general way, token by token into a
// string: what the compiled writers behind them must match byte for byte.
std::string DateTimeToStrGeneral(TDateTime value, const TFormatSettings& settings);
std::string TimeToStrGeneral(TDateTime value, const TFormatSettings& settings);

// Whether a date picture puts the day before the month (d.M.yyyy, d/M/yyyy).
bool DayBeforeMonth(std::string_view datePicture);

}  // namespace locale_detail
