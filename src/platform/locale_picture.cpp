// Pictures: tokenising, writing a value with a picture, and the general
// picture matcher behind TryParseDateTimeText and the readers.
#include "platform/locale_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <unordered_map>
#include <utility>

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

std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatText(value, settings, settings.ShortDateFormat, &settings.LongTimeFormat);
}

std::string DateToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatDateTimeText(settings.ShortDateFormat, value, settings);
}

std::string TimeToStr(TDateTime value, const TFormatSettings& settings) {
    return FormatDateTimeText(settings.LongTimeFormat, value, settings);
}
