// Reading stored date-times and times of day back: the formats in force,
// then the shapes the program writes under other locales, then the pictures
// read before those shapes were known; and the fast path in front of it all
// for the forms the store writes.
#include "platform/locale_reading.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/locale_picture.h"
#include "platform/locale_structural.h"

namespace locale_detail {

namespace {

constexpr std::string_view IsoDatePicture = "yyyy-MM-dd";
constexpr std::string_view IsoDateTimePicture = "yyyy-MM-dd HH:mm:ss";
constexpr std::string_view IsoTimePicture = "HH:mm:ss";

struct TPicturePair {
    std::string DateTime, DateOnly;
};

// Everything the readers derive from the settings, rebuilt only when they
// change: a data file is read under one set of formats.
struct TReadingPictures {
    std::string DateFormat, TimeFormat, AMString, PMString;
    bool Ready = false;
    // Set when built from the settings FormatSettings() hands out: the
    // store's reads then skip comparing the formats.
    const TFormatSettings* Unchanging = nullptr;
    TPicturePair InForce;
    std::vector<TPicturePair> Fallbacks;
    bool DayFirst = false;
    bool UsesDesignator = false;
    TFastPicture FastDateTime, FastDateOnly, FastTime, FastIsoDateTime, FastIsoDateOnly, FastIsoTime;
};

// What the program wrote under the common regional settings before it read
// by shape. The year-first and dotted forms cannot be mistaken for one
// another; the two slashed forms can when the time is left out, so the one
// that agrees with the user's own order of day and month goes first.
std::vector<TPicturePair> FallbackPictures(bool dayFirst) {
    std::vector<std::pair<std::string, std::string>> pairs = {
        {"yyyy-MM-dd", "HH:mm:ss"}, {"yyyy/M/d", "H:mm:ss"}, {"d.M.yyyy", "H:mm:ss"}};
    std::pair<std::string, std::string> monthFirst{"M/d/yyyy", "h:mm:ss tt"};
    std::pair<std::string, std::string> dayFirstPair{"d/M/yyyy", "H:mm:ss"};
    if (dayFirst) std::swap(monthFirst, dayFirstPair);
    pairs.push_back(monthFirst);
    pairs.push_back(dayFirstPair);
    std::vector<TPicturePair> out;
    for (const auto& [date, time] : pairs) out.push_back({date + " " + time, date});
    return out;
}

// Asked on every read: eight bytes at a time costs less than a call to
// memcmp for each of these short strings.
bool SameText(const std::string& a, const std::string& b) {
    size_t n = a.size();
    if (n != b.size()) return false;
    const char* x = a.data();
    const char* y = b.data();
    for (; n >= 8; n -= 8, x += 8, y += 8) {
        uint64_t u, v;
        std::memcpy(&u, x, 8);
        std::memcpy(&v, y, 8);
        if (u != v) return false;
    }
    for (; n > 0; --n)
        if (*x++ != *y++) return false;
    return true;
}

const TReadingPictures& PicturesFor(const TFormatSettings& settings) {
    thread_local TReadingPictures cached;
    if (cached.Ready && cached.Unchanging == &settings) return cached;
    // The designators shape only pictures that show them.
    if (cached.Ready && SameText(cached.DateFormat, settings.ShortDateFormat) &&
        SameText(cached.TimeFormat, settings.LongTimeFormat) &&
        (!cached.UsesDesignator ||
         (SameText(cached.AMString, settings.TimeAMString) && SameText(cached.PMString, settings.TimePMString)))) {
        if (IsUnchangingSettings(settings)) cached.Unchanging = &settings;
        return cached;
    }
    cached.Unchanging = IsUnchangingSettings(settings) ? &settings : nullptr;
    cached.DateFormat = settings.ShortDateFormat;
    cached.TimeFormat = settings.LongTimeFormat;
    cached.AMString = settings.TimeAMString;
    cached.PMString = settings.TimePMString;
    cached.InForce = {settings.ShortDateFormat + " " + settings.LongTimeFormat, settings.ShortDateFormat};
    cached.DayFirst = DayBeforeMonth(settings.ShortDateFormat);
    cached.UsesDesignator = HasKind(Tokenize(cached.InForce.DateTime), TTokenKind::Designator);
    cached.Fallbacks = FallbackPictures(cached.DayFirst);
    cached.FastDateTime = TFastPicture(cached.InForce.DateTime, settings);
    cached.FastDateOnly = TFastPicture(cached.InForce.DateOnly, settings);
    cached.FastTime = TFastPicture(settings.LongTimeFormat, settings);
    cached.FastIsoDateTime = TFastPicture(IsoDateTimePicture, settings);
    cached.FastIsoDateOnly = TFastPicture(IsoDatePicture, settings);
    cached.FastIsoTime = TFastPicture(IsoTimePicture, settings);
    cached.Ready = true;
    return cached;
}

bool ReadPair(std::string_view text, const TPicturePair& pair, TDateTime& value, const TFormatSettings& settings) {
    return TryParseDateTimeText(text, pair.DateTime, value, settings) ||
           TryParseDateTimeText(text, pair.DateOnly, value, settings);
}

bool ReadFallbacks(std::string_view text, TDateTime& value, const TReadingPictures& pictures,
                   const TFormatSettings& settings) {
    for (const TPicturePair& pair : pictures.Fallbacks)
        if (ReadPair(text, pair, value, settings)) return true;
    return false;
}

// Everything after the formats in force.
bool ReadOtherDateTimeForms(std::string_view text, TDateTime& value, const TReadingPictures& pictures,
                            const TFormatSettings& settings) {
    TStructuralReading reading;
    if (!ReadStructuralDateTime(text, settings, reading)) return ReadFallbacks(text, value, pictures, settings);
    if (reading.Ambiguous) {
        // Text the fallback pictures read keeps the day and month they gave
        // it: a data file read before must read the same now.
        if (ReadFallbacks(text, value, pictures, settings)) return true;
        value = pictures.DayFirst ? reading.Value : reading.Alternative;
        return true;
    }
    value = reading.Value;
    return true;
}

bool ReadOtherTimeForms(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
    return ReadStructuralTime(text, settings, value) || TryParseDateTimeText(text, "H:mm:ss", value, settings) ||
           TryParseDateTimeText(text, "h:mm:ss tt", value, settings);
}

TFastResult ReadEither(const TFastPicture& first, const TFastPicture& second, std::string_view text,
                       TDateTime& value) {
    TFastResult result = first.Read(text, value);
    return result == TFastResult::NoMatch ? second.Read(text, value) : result;
}

}  // namespace

bool TryStrToDateTimeGeneral(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
    std::string_view trimmed = TrimBlanks(text);
    const TReadingPictures& pictures = PicturesFor(settings);
    return ReadPair(trimmed, pictures.InForce, value, settings) ||
           ReadOtherDateTimeForms(trimmed, value, pictures, settings);
}

bool TryStrToTimeGeneral(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
    std::string_view trimmed = TrimBlanks(text);
    return TryParseDateTimeText(trimmed, settings.LongTimeFormat, value, settings) ||
           ReadOtherTimeForms(trimmed, value, settings);
}

namespace {

// ISO after the formats in force refused the text: the shape reader comes
// next, and it reads every ISO text as ISO does.
TFastResult ReadDateTimeFastWith(const TReadingPictures& pictures, std::string_view text, TDateTime& value) {
    TFastResult inForce = ReadEither(pictures.FastDateTime, pictures.FastDateOnly, text, value);
    if (inForce != TFastResult::NoMatch) return inForce;
    return ReadEither(pictures.FastIsoDateTime, pictures.FastIsoDateOnly, text, value) == TFastResult::Read
               ? TFastResult::Read
               : TFastResult::NoMatch;
}

TFastResult ReadTimeFastWith(const TReadingPictures& pictures, std::string_view text, TDateTime& value) {
    TFastResult inForce = pictures.FastTime.Read(text, value);
    if (inForce != TFastResult::NoMatch) return inForce;
    return pictures.FastIsoTime.Read(text, value) == TFastResult::Read ? TFastResult::Read : TFastResult::NoMatch;
}

}  // namespace

TFastResult ReadDateTimeFast(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
    return ReadDateTimeFastWith(PicturesFor(settings), text, value);
}

TFastResult ReadTimeFast(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
    return ReadTimeFastWith(PicturesFor(settings), text, value);
}

}  // namespace locale_detail

using namespace locale_detail;

bool TryStrToDateTime(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
    const TReadingPictures& pictures = PicturesFor(settings);
    // The formats in force, in their fixed layout, go first whatever else
    // follows, as below; such a text has no blanks to trim.
    if (pictures.FastDateTime.ReadLaidOut(text, value)) return true;
    std::string_view trimmed = TrimBlanks(text);
    TDateTime parsed = 0;
    switch (ReadDateTimeFastWith(pictures, trimmed, parsed)) {
        case TFastResult::Read: value = parsed; return true;
        case TFastResult::NoMatch: return ReadOtherDateTimeForms(trimmed, value, pictures, settings);
        case TFastResult::Declined: break;
    }
    return TryStrToDateTimeGeneral(trimmed, value, settings);
}

bool TryStrToTime(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
    const TReadingPictures& pictures = PicturesFor(settings);
    if (pictures.FastTime.ReadLaidOut(text, value)) return true;
    std::string_view trimmed = TrimBlanks(text);
    TDateTime parsed = 0;
    switch (ReadTimeFastWith(pictures, trimmed, parsed)) {
        case TFastResult::Read: value = parsed; return true;
        case TFastResult::NoMatch: return ReadOtherTimeForms(trimmed, value, settings);
        case TFastResult::Declined: break;
    }
    return TryStrToTimeGeneral(trimmed, value, settings);
}
