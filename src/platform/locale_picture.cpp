// Pictures: tokenising, writing a value with a picture, and the general
// picture matcher behind TryParseDateTimeText and the readers.
#include "platform/locale_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <unordered_map>
#include <utility>

#include "platform/ascii_word.h"

namespace locale_detail {

bool EqualsIgnoringAsciiCase(std::string_view text, size_t pos, std::string_view word) {
    if (pos > text.size() || text.size() - pos < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (AsciiLower(text[pos + i]) != AsciiLower(word[i])) return false;
    return true;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && EqualsIgnoringAsciiCase(a, 0, b);
}

namespace {

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

}  // namespace

std::vector<TToken> Tokenize(std::string_view picture) {
    std::vector<TToken> tokens;
    size_t i = 0;
    while (i < picture.size()) {
        char c = picture[i];
        if (c == '\'' || c == '"') {
            size_t close = picture.find(c, i + 1);
            size_t stop = close == std::string_view::npos ? picture.size() : close;
            for (size_t k = i + 1; k < stop; ++k) AppendText(tokens, picture[k]);
            i = close == std::string_view::npos ? picture.size() : close + 1;
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

bool IsNumberKind(TTokenKind kind) {
    return kind != TTokenKind::Literal && kind != TTokenKind::Blank && kind != TTokenKind::Designator;
}

namespace {

struct TViewHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

}  // namespace

const std::vector<TToken>& ParsingTokens(std::string_view picture) {
    thread_local std::unordered_map<std::string, std::vector<TToken>, TViewHash, std::equal_to<>> cache;
    auto found = cache.find(picture);
    if (found != cache.end()) return found->second;
    if (cache.size() > 64) cache.clear();
    std::vector<TToken> tokens = Tokenize(picture);
    while (!tokens.empty() && tokens.back().Kind == TTokenKind::Blank) tokens.pop_back();
    if (!tokens.empty() && tokens.front().Kind == TTokenKind::Blank) tokens.erase(tokens.begin());
    return cache.emplace(std::string(picture), std::move(tokens)).first->second;
}

void PictureDesignators(const TFormatSettings& settings, TDesignatorCandidate (&out)[PictureDesignatorCount]) {
    out[0] = {settings.TimeAMString, 0};
    out[1] = {settings.TimePMString, 1};
    out[2] = {"AM", 0};
    out[3] = {"PM", 1};
}

namespace {

class TPictureMatcher {
public:
    TPictureMatcher(const std::vector<TToken>& tokens, std::string_view text, const TFormatSettings& settings)
        : FTokens(tokens), FText(text), FHasDate(HasDateField(tokens)) {
        PictureDesignators(settings, FDesignators);
    }

    bool Match(size_t index, size_t pos, TParsedFields fields, TDateTime& value) const {
        if (index == FTokens.size()) return pos == FText.size() && ComposeValue(fields, FHasDate, value);
        const TToken& token = FTokens[index];
        switch (token.Kind) {
            case TTokenKind::Literal:
                return FText.substr(pos).starts_with(token.Text) &&
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

    bool MatchDesignator(size_t index, size_t pos, const TParsedFields& fields, TDateTime& value) const {
        for (const TDesignatorCandidate& candidate : FDesignators) {
            if (candidate.Text.empty() || !EqualsIgnoringAsciiCase(FText, pos, candidate.Text)) continue;
            TParsedFields next = fields;
            if (Assign(next.Pm, candidate.Pm) && Match(index + 1, pos + candidate.Text.size(), next, value))
                return true;
        }
        return false;
    }

    const std::vector<TToken>& FTokens;
    std::string_view FText;
    TDesignatorCandidate FDesignators[PictureDesignatorCount];
    bool FHasDate;
};

}  // namespace

bool MatchPicture(const std::vector<TToken>& tokens, std::string_view text, const TFormatSettings& settings,
                  TDateTime& value) {
    return TPictureMatcher(tokens, text, settings).Match(0, 0, TParsedFields{}, value);
}

bool DayBeforeMonth(std::string_view datePicture) {
    for (const TToken& token : Tokenize(datePicture)) {
        if (token.Kind == TTokenKind::Day) return true;
        if (token.Kind == TTokenKind::Month) return false;
    }
    return false;
}

}  // namespace locale_detail

using namespace locale_detail;

namespace {

// 0001-01-01 and the day after 9999-12-31: the years a picture can show.
constexpr double MinDateTime = -693593.0;
constexpr double MaxDateTime = 2958466.0;

// Digits by hand: a list of thousands of reminders formats several moments
// each, and printf's machinery costs more than the rest of the formatting.
void AppendPadded(std::string& out, int value, int width) {
    // Calendar fields are never negative; two and four digits are the rule.
    if (value >= 0 && value < 100 && width <= 2) {
        if (width == 2 || value >= 10) out += static_cast<char>('0' + value / 10);
        out += static_cast<char>('0' + value % 10);
        return;
    }
    char buffer[16];
    int length = 0;
    unsigned v = static_cast<unsigned>(value < 0 ? -value : value);
    do {
        buffer[sizeof buffer - 1 - length++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0 && length < 15);
    while (length < width && length < 15) buffer[sizeof buffer - 1 - length++] = '0';
    if (value < 0) out += '-';
    out.append(buffer + sizeof buffer - length, static_cast<size_t>(length));
}

// Pictures for formatting, tokenised once per picture: a date-time text
// alternates between the date and the time picture, so a few are kept.
const std::vector<TToken>& FormattingTokens(const std::string& picture) {
    struct TEntry {
        std::string Picture;
        std::vector<TToken> Tokens;
    };
    thread_local TEntry entries[4];
    thread_local size_t used = 0, next = 0;
    for (size_t i = 0; i < used; ++i)
        if (entries[i].Picture == picture) return entries[i].Tokens;
    TEntry& slot = entries[used < 4 ? used++ : next++ % 4];
    slot.Picture = picture;
    slot.Tokens = Tokenize(picture);
    return slot.Tokens;
}

}  // namespace

namespace {

bool Formattable(TDateTime value) { return std::isfinite(value) && value >= MinDateTime && value < MaxDateTime; }

void AppendFormatted(std::string& out, const std::vector<TToken>& tokens, const TDateParts& date,
                     const TTimeParts& time, const TFormatSettings& settings) {
    for (const TToken& token : tokens) {
        switch (token.Kind) {
            case TTokenKind::Literal:
            case TTokenKind::Blank: out += token.Text; break;
            case TTokenKind::Year: AppendPadded(out, date.Year, 4); break;
            case TTokenKind::Month: AppendPadded(out, date.Month, token.Width); break;
            case TTokenKind::Day: AppendPadded(out, date.Day, token.Width); break;
            case TTokenKind::Hour24: AppendPadded(out, time.Hour, token.Width); break;
            case TTokenKind::Hour12: AppendPadded(out, time.Hour % 12 == 0 ? 12 : time.Hour % 12, token.Width); break;
            case TTokenKind::Minute: AppendPadded(out, time.Minute, token.Width); break;
            case TTokenKind::Second: AppendPadded(out, time.Second, token.Width); break;
            case TTokenKind::Designator: out += time.Hour < 12 ? settings.TimeAMString : settings.TimePMString; break;
        }
    }
}

// The value in one picture, or in a date picture followed by a blank and a
// time picture unless it falls on midnight: one decoding and one string for
// both parts, as lists format thousands.
std::string FormatText(TDateTime value, const TFormatSettings& settings, const std::string& picture,
                       const std::string* timePicture) {
    if (!Formattable(value)) return {};
    TDateParts date;
    TTimeParts time;
    DecodeDateTime(value, date, time);
    std::string out;
    out.reserve(40);
    AppendFormatted(out, FormattingTokens(picture), date, time, settings);
    const bool midnight = time.Hour == 0 && time.Minute == 0 && time.Second == 0 && time.MSec == 0;
    if (!timePicture || out.empty() || midnight) return out;
    out += ' ';
    AppendFormatted(out, FormattingTokens(*timePicture), date, time, settings);
    return out;
}

}  // namespace

std::string FormatDateTimeText(const std::string& picture, TDateTime value, const TFormatSettings& settings) {
    return FormatText(value, settings, picture, nullptr);
}

bool TryParseDateTimeText(std::string_view text, std::string_view picture, TDateTime& value,
                          const TFormatSettings& settings) {
    const std::vector<TToken>& tokens = ParsingTokens(picture);
    if (!HasDateField(tokens) && !HasTimeField(tokens)) return false;
    TDateTime parsed = 0;
    if (!MatchPicture(tokens, TrimBlanks(text), settings, parsed)) return false;
    value = parsed;
    return true;
}

// ---------------------------------------------------------------- fast writing

namespace {

// AppendPadded, written at p (at most 16 bytes).
inline char* PutPadded(char* p, int value, int width) {
    if (value >= 0 && value < 100 && width <= 2) {
        if (width == 2 || value >= 10) *p++ = static_cast<char>('0' + value / 10);
        *p++ = static_cast<char>('0' + value % 10);
        return p;
    }
    if (value >= 1000 && value < 10000 && width <= 4) {
        p[0] = static_cast<char>('0' + value / 1000);
        p[1] = static_cast<char>('0' + value / 100 % 10);
        p[2] = static_cast<char>('0' + value / 10 % 10);
        p[3] = static_cast<char>('0' + value % 10);
        return p + 4;
    }
    char buffer[16];
    int length = 0;
    unsigned v = static_cast<unsigned>(value < 0 ? -value : value);
    do {
        buffer[sizeof buffer - 1 - length++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0 && length < 15);
    while (length < width && length < 15) buffer[sizeof buffer - 1 - length++] = '0';
    if (value < 0) *p++ = '-';
    std::memcpy(p, buffer + sizeof buffer - length, static_cast<size_t>(length));
    return p + length;
}

// One step of a compiled picture: literal bytes, or a field and its width.
struct TWriteStep {
    TTokenKind Kind;
    int Width;
    uint32_t Offset, Length;  // literals: the bytes in TWritingPicture::Literals
};

// A picture compiled for writing into a buffer: what AppendFormatted does
// token by token, without growing a string one character at a time.
struct TWritingPicture {
    std::vector<TWriteStep> Steps;
    std::string Literals;
    size_t MaxLength = 0;  // the most bytes any value can take
    // yyyy-MM-dd and HH:mm:ss, the forms the list shows most, written
    // without going through the steps (what the steps would write).
    enum class TShape : uint8_t { Other, IsoDate, IsoTime };
    TShape Shape = TShape::Other;

    bool StepsAre(std::initializer_list<std::pair<TTokenKind, int>> fields, char separator) const {
        if (Steps.size() != fields.size() * 2 - 1) return false;
        size_t k = 0;
        for (const auto& [kind, width] : fields) {
            if (k > 0) {
                const TWriteStep& literal = Steps[k++];
                if (literal.Kind != TTokenKind::Literal || literal.Length != 1 || Literals[literal.Offset] != separator)
                    return false;
            }
            if (Steps[k].Kind != kind || Steps[k].Width != width) return false;
            ++k;
        }
        return true;
    }

    TShape ShapeOfSteps() const {
        using K = TTokenKind;
        if (StepsAre({{K::Year, 4}, {K::Month, 2}, {K::Day, 2}}, '-')) return TShape::IsoDate;
        if (StepsAre({{K::Hour24, 2}, {K::Minute, 2}, {K::Second, 2}}, ':')) return TShape::IsoTime;
        return TShape::Other;
    }

    static char* PutTwo(char* p, int value) { return PutTwoDigits(p, static_cast<unsigned>(value)); }

    void Compile(const std::vector<TToken>& tokens, const TFormatSettings& settings) {
        Steps.clear();
        Literals.clear();
        MaxLength = 0;
        for (const TToken& token : tokens) {
            TWriteStep step{token.Kind, token.Width, 0, 0};
            if (token.Kind == TTokenKind::Literal || token.Kind == TTokenKind::Blank) {
                // Neighbouring literal and blank runs are written as one.
                if (!Steps.empty() && (Steps.back().Kind == TTokenKind::Literal)) {
                    Literals += token.Text;
                    Steps.back().Length += static_cast<uint32_t>(token.Text.size());
                    MaxLength += token.Text.size();
                    continue;
                }
                step.Kind = TTokenKind::Literal;
                step.Offset = static_cast<uint32_t>(Literals.size());
                step.Length = static_cast<uint32_t>(token.Text.size());
                Literals += token.Text;
                MaxLength += token.Text.size();
            } else if (token.Kind == TTokenKind::Designator) {
                MaxLength += std::max(settings.TimeAMString.size(), settings.TimePMString.size());
            } else {
                // Decoded years run from 1 to 10000 (a value rounded up into
                // it); every other field has at most two digits.
                MaxLength += token.Kind == TTokenKind::Year ? 5 : 2;
            }
            Steps.push_back(step);
        }
        Shape = ShapeOfSteps();
    }

    // Decoded fields are in range (months 1..12, hours 0..23, ...); only a
    // year of other than four digits needs the steps.
    static bool IsoWritable(const TDateParts& date) { return date.Year >= 1000 && date.Year <= 9999; }
    static char* WriteIsoDate(char* p, const TDateParts& date) {
        p = PutTwo(PutTwo(p, date.Year / 100), date.Year % 100);
        *p++ = '-';
        p = PutTwo(p, date.Month);
        *p++ = '-';
        return PutTwo(p, date.Day);
    }
    static char* WriteIsoTime(char* p, const TTimeParts& time) {
        p = PutTwo(p, time.Hour);
        *p++ = ':';
        p = PutTwo(p, time.Minute);
        *p++ = ':';
        return PutTwo(p, time.Second);
    }

    char* Write(char* p, const TDateParts& date, const TTimeParts& time, const TFormatSettings& settings) const {
        if (Shape == TShape::IsoDate && IsoWritable(date)) return WriteIsoDate(p, date);
        if (Shape == TShape::IsoTime) return WriteIsoTime(p, time);
        for (const TWriteStep& step : Steps) {
            switch (step.Kind) {
                case TTokenKind::Literal:
                case TTokenKind::Blank:
                    if (step.Length == 1) {
                        *p++ = Literals[step.Offset];
                        break;
                    }
                    std::memcpy(p, Literals.data() + step.Offset, step.Length);
                    p += step.Length;
                    break;
                case TTokenKind::Year: p = PutPadded(p, date.Year, 4); break;
                case TTokenKind::Month: p = PutPadded(p, date.Month, step.Width); break;
                case TTokenKind::Day: p = PutPadded(p, date.Day, step.Width); break;
                case TTokenKind::Hour24: p = PutPadded(p, time.Hour, step.Width); break;
                case TTokenKind::Hour12:
                    p = PutPadded(p, time.Hour % 12 == 0 ? 12 : time.Hour % 12, step.Width);
                    break;
                case TTokenKind::Minute: p = PutPadded(p, time.Minute, step.Width); break;
                case TTokenKind::Second: p = PutPadded(p, time.Second, step.Width); break;
                case TTokenKind::Designator: {
                    const std::string& text = time.Hour < 12 ? settings.TimeAMString : settings.TimePMString;
                    std::memcpy(p, text.data(), text.size());
                    p += text.size();
                    break;
                }
            }
        }
        return p;
    }
};

// The date and the time picture of the formats in force, compiled once:
// rebuilt only when the settings change (see PicturesFor in
// locale_reading.cpp, which keeps its reading pictures the same way).
struct TWritingPictures {
    bool Ready = false;
    const TFormatSettings* Unchanging = nullptr;
    std::string DateFormat, TimeFormat, AMString, PMString;
    TWritingPicture Date, Time;
    bool IsoPair = false;  // yyyy-MM-dd and HH:mm:ss
};

const TWritingPictures& WritingPicturesFor(const TFormatSettings& settings) {
    thread_local TWritingPictures cached;
    if (cached.Ready && cached.Unchanging == &settings) return cached;
    if (cached.Ready && cached.DateFormat == settings.ShortDateFormat && cached.TimeFormat == settings.LongTimeFormat &&
        cached.AMString == settings.TimeAMString && cached.PMString == settings.TimePMString) {
        cached.Unchanging = IsUnchangingSettings(settings) ? &settings : nullptr;
        return cached;
    }
    cached.Unchanging = IsUnchangingSettings(settings) ? &settings : nullptr;
    cached.DateFormat = settings.ShortDateFormat;
    cached.TimeFormat = settings.LongTimeFormat;
    cached.AMString = settings.TimeAMString;
    cached.PMString = settings.TimePMString;
    cached.Date.Compile(Tokenize(settings.ShortDateFormat), settings);
    cached.Time.Compile(Tokenize(settings.LongTimeFormat), settings);
    cached.IsoPair = cached.Date.Shape == TWritingPicture::TShape::IsoDate &&
                     cached.Time.Shape == TWritingPicture::TShape::IsoTime;
    cached.Ready = true;
    return cached;
}

enum class TWhich { DateTime, Date, Time };

// FormatText for the formats in force, into the buffer: the length written,
// or SIZE_MAX when the text could be longer than the buffer (the caller
// then takes the general way).
size_t WriteInForce(char* out, size_t capacity, TDateTime value, const TFormatSettings& settings, TWhich which) {
    const TWritingPictures& pictures = WritingPicturesFor(settings);
    const size_t most = which == TWhich::DateTime ? pictures.Date.MaxLength + 1 + pictures.Time.MaxLength
                        : which == TWhich::Date   ? pictures.Date.MaxLength
                                                  : pictures.Time.MaxLength;
    if (most > capacity) return SIZE_MAX;
    if (!Formattable(value)) return 0;
    TDateParts date;
    TTimeParts time;
    DecodeDateTime(value, date, time);
    if (which == TWhich::Time) return static_cast<size_t>(pictures.Time.Write(out, date, time, settings) - out);
    const bool midnight = time.Hour == 0 && time.Minute == 0 && time.Second == 0 && time.MSec == 0;
    // The ISO pair, the commonest, written in one go.
    if (pictures.IsoPair && which == TWhich::DateTime && TWritingPicture::IsoWritable(date)) {
        char* p = TWritingPicture::WriteIsoDate(out, date);
        if (midnight) return static_cast<size_t>(p - out);
        *p++ = ' ';
        return static_cast<size_t>(TWritingPicture::WriteIsoTime(p, time) - out);
    }
    char* p = pictures.Date.Write(out, date, time, settings);
    if (which == TWhich::Date || p == out || midnight) return static_cast<size_t>(p - out);
    *p++ = ' ';
    return static_cast<size_t>(pictures.Time.Write(p, date, time, settings) - out);
}

std::string_view TextIn(TMomentText& buffer, TDateTime value, const TFormatSettings& settings, TWhich which) {
    const size_t length = WriteInForce(buffer.Bytes, sizeof buffer.Bytes, value, settings, which);
    if (length != SIZE_MAX) return {buffer.Bytes, length};
    buffer.Long = which == TWhich::DateTime ? DateTimeToStrGeneral(value, settings)
                  : which == TWhich::Date   ? FormatText(value, settings, settings.ShortDateFormat, nullptr)
                                            : TimeToStrGeneral(value, settings);
    return buffer.Long;
}

}  // namespace

std::string locale_detail::DateTimeToStrGeneral(TDateTime value, const TFormatSettings& settings) {
    return FormatText(value, settings, settings.ShortDateFormat, &settings.LongTimeFormat);
}

std::string locale_detail::TimeToStrGeneral(TDateTime value, const TFormatSettings& settings) {
    return FormatText(value, settings, settings.LongTimeFormat, nullptr);
}

std::string_view DateTimeToStrIn(TMomentText& buffer, TDateTime value, const TFormatSettings& settings) {
    return TextIn(buffer, value, settings, TWhich::DateTime);
}

std::string_view TimeToStrIn(TMomentText& buffer, TDateTime value, const TFormatSettings& settings) {
    return TextIn(buffer, value, settings, TWhich::Time);
}

void AppendDateTimeText(std::string& out, TDateTime value, const TFormatSettings& settings) {
    TMomentText buffer;
    out.append(DateTimeToStrIn(buffer, value, settings));
}

void AppendTimeText(std::string& out, TDateTime value, const TFormatSettings& settings) {
    TMomentText buffer;
    out.append(TimeToStrIn(buffer, value, settings));
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
    TMomentText buffer;
    return std::string(DateTimeToStrIn(buffer, value, settings));
}

std::string DateToStr(TDateTime value, const TFormatSettings& settings) {
    TMomentText buffer;
    return std::string(TextIn(buffer, value, settings, TWhich::Date));
}

std::string TimeToStr(TDateTime value, const TFormatSettings& settings) {
    TMomentText buffer;
    return std::string(TimeToStrIn(buffer, value, settings));
}
