// The user's regional formats: short date and long time as picture strings,
// AM/PM designators, abbreviated day names, and the interface language as a
// four-hex-digit identifier. Taken from the C library's locale (LC_TIME,
// LC_MESSAGES, LANG) and overridable for tests.
//
// Picture letters: yyyy (year), M / MM (month), d / dd (day), H / HH (24-hour),
// h / hh (12-hour), mm (minutes), ss (seconds), tt (AM/PM designator).
// Everything else is a literal; text inside single or double quotes is literal.
// Any run of y is the four-digit year (two-digit years cannot be read back
// to the right century); t alone is the whole designator, like tt (one
// letter of it cannot be read back in every language); runs of three or more
// of the other letters are literal text.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/datetime.h"

struct TFormatSettings {
    std::string ShortDateFormat = "yyyy-MM-dd";
    std::string LongTimeFormat = "HH:mm:ss";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    // Sunday first, as the weekday check boxes list them.
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

    bool operator==(const TFormatSettings&) const = default;
};

// The formats in force: computed once from the process locale, or what a
// test installed.
const TFormatSettings& FormatSettings();
void SetFormatSettings(const TFormatSettings& settings);
void ResetFormatSettings();  // back to the process locale

// Reads the formats of a named locale ("en_US.UTF-8", "de_DE.UTF-8", "C").
// The C/POSIX locale, or one that cannot be loaded, gives ISO pictures.
// A long time picture without seconds gets ":ss" after the minutes, so that
// stored date-times keep their seconds.
TFormatSettings FormatSettingsFromLocale(const std::string& localeName);

// The steps of FormatSettingsFromLocale, open so that they can be checked
// without the locale being installed.
//
// What the C library tells about a locale's times, already in UTF-8.
struct TLocaleTimeInfo {
    std::string DateFormat;  // D_FMT, a strftime format
    std::string TimeFormat;  // T_FMT
    std::string AMString, PMString;
    std::array<std::string, 7> AbbreviatedDayNames;  // ABDAY_1..7, Sunday first
};
TFormatSettings FormatSettingsFromTimeInfo(const TLocaleTimeInfo& info);
// A strftime format as a picture; empty when the format uses something a
// picture cannot express (month or day names, eras, time zones, ...).
// %y becomes yyyy: stored dates never carry two-digit years.
std::string PictureFromStrftime(const std::string& format);
// A short date picture that names year, month and day, else ISO yyyy-MM-dd.
std::string DatePictureFromStrftime(const std::string& format);
// A long time picture with hours, minutes and seconds (":ss" is added after
// the minutes when missing; 12-hour clocks without a designator become
// 24-hour), else ISO HH:mm:ss.
std::string TimePictureFromStrftime(const std::string& format);

// Formats a date-time with a picture. A value outside the years 1..9999 (or
// not a number) gives "" rather than text that could not be read back.
std::string FormatDateTimeText(const std::string& picture, TDateTime value,
                               const TFormatSettings& settings = FormatSettings());

// Parses text made by a picture. Numbers may have fewer digits than the
// picture shows (d matches "8" and "08"); blanks around the text are ignored;
// the AM/PM designator is matched without regard to case. Returns false for
// text that does not match or names an impossible date or time.
bool TryParseDateTimeText(std::string_view text, std::string_view picture, TDateTime& value,
                          const TFormatSettings& settings = FormatSettings());

// Date-time text as the data file stores it: short date, one blank, long
// time; a value at exactly midnight is the date alone. Milliseconds are not
// written.
std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
std::string DateToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
std::string TimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());

// The same texts without a string of their own, for lists that format
// thousands: written into the buffer (or, for formats whose text could be
// longer than it, held in its Long string); the view is valid while the
// buffer lives and until it is used again.
struct TMomentText {
    char Bytes[128];
    std::string Long;
};
std::string_view DateTimeToStrIn(TMomentText& buffer, TDateTime value,
                                 const TFormatSettings& settings = FormatSettings());
std::string_view TimeToStrIn(TMomentText& buffer, TDateTime value, const TFormatSettings& settings = FormatSettings());
// DateTimeToStr and TimeToStr appended to `out`.
void AppendDateTimeText(std::string& out, TDateTime value, const TFormatSettings& settings = FormatSettings());
void AppendTimeText(std::string& out, TDateTime value, const TFormatSettings& settings = FormatSettings());

// Reading back, in this order: (1) the formats in force ("date time" or the
// date alone); (2) any form the program writes under another locale: a
// four-digit year with the month and day as numbers, whatever separators or
// markers lie between them (".", "/", "-", 年 月 日, 년 월 일, ...), then the
// hours, minutes and seconds likewise (":", 时 分 秒, "h", ...), with an
// optional AM/PM designator before or after the time (the formats' own, AM
// and PM in any case, a.m./p.m., 上午/下午, 午前/午後, 오전/오후); the date and
// the time are parted by at least one blank. A word it cannot place next to
// the time (a designator of a language it does not know) makes the text
// unreadable rather than read as the morning. (3) The pictures these
// readers accepted before (yyyy-MM-dd HH:mm:ss, yyyy/M/d, d.M.yyyy, M/d/yyyy
// with h:mm:ss tt, d/M/yyyy with H:mm:ss), so that a change of regional
// settings does not silently turn dates into 0.
// Year-first dates are year, month, day. A year-last date that is valid
// only one way round is read that way; one valid both ways is read as the
// pictures of (3) read it, else in the order of day and month of the formats
// in force. The forms the store writes (the formats in force, ISO) are read
// without allocating. On failure value is left as it was.
bool TryStrToDateTime(std::string_view text, TDateTime& value, const TFormatSettings& settings = FormatSettings());
// A time of day alone (date part 0): the long time format, then any time
// the program writes under another locale (three numbers, optional
// designator), then H:mm:ss and h:mm:ss tt.
bool TryStrToTime(std::string_view text, TDateTime& value, const TFormatSettings& settings = FormatSettings());

// The user's interface language as a Windows-style language identifier
// (en_US -> 0x0409, zh_CN -> 0x0804, de_DE -> 0x0407), from LC_ALL,
// LC_MESSAGES or LANG in that order; C, POSIX or unknown gives 0x0409.
uint16_t UserDefaultUILanguage();
uint16_t LanguageIdFromLocaleName(const std::string& localeName);
// Four upper-case hexadecimal digits: "0409".
std::string LanguageIdText(uint16_t id);
