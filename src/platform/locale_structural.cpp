#include "platform/locale_structural.h"

#include "platform/locale_picture.h"

namespace locale_detail {

namespace {

constexpr size_t MaxNumbers = 6;

struct TNumber {
    int Value = 0;
    int Digits = 0;
};

// The text as numbers and the non-digit text around them: Gaps[i] comes
// before Numbers[i], Gaps[Count] after the last number.
struct TShape {
    TNumber Numbers[MaxNumbers];
    std::string_view Gaps[MaxNumbers + 1];
    size_t Count = 0;
};

// False for more numbers than a date-time has, or a number of five digits
// or more (no field has that many).
bool Split(std::string_view text, TShape& shape) {
    size_t pos = 0, gapStart = 0;
    while (pos < text.size()) {
        if (!IsDigit(text[pos])) {
            ++pos;
            continue;
        }
        if (shape.Count == MaxNumbers) return false;
        size_t start = pos;
        int value = 0;
        for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
            if (pos - start == 4) return false;
            value = value * 10 + (text[pos] - '0');
        }
        shape.Gaps[shape.Count] = text.substr(gapStart, start - gapStart);
        shape.Numbers[shape.Count++] = {value, static_cast<int>(pos - start)};
        gapStart = pos;
    }
    shape.Gaps[shape.Count] = text.substr(gapStart);
    return true;
}

struct TDesignator {
    std::string_view Text;
    int Pm;
};

// The 12-hour markers of the languages the program ships, and their
// neighbours; the settings' own designators are tried as well.
constexpr TDesignator FixedDesignators[] = {
    {"AM", 0},     {"PM", 1},     {"A.M.", 0},   {"P.M.", 1},   {"a. m.", 0},  {"p. m.", 1},
    {"上午", 0}, {"下午", 1}, {"午前", 0}, {"午後", 1}, {"오전", 0}, {"오후", 1},
};

bool AllBlank(std::string_view text) {
    for (char c : text)
        if (!IsBlank(c)) return false;
    return true;
}

// The length of the designator at `pos`, 0 when none: the longest that
// matches, the settings' own first among equals.
size_t DesignatorAt(std::string_view text, size_t pos, const TFormatSettings& settings, int& pm) {
    size_t best = 0;
    auto consider = [&](std::string_view designator, int designatorPm) {
        if (designator.size() > best && !AllBlank(designator) && EqualsIgnoringAsciiCase(text, pos, designator)) {
            best = designator.size();
            pm = designatorPm;
        }
    };
    consider(settings.TimeAMString, 0);
    consider(settings.TimePMString, 1);
    for (const TDesignator& designator : FixedDesignators) consider(designator.Text, designator.Pm);
    return best;
}

// The code point of the UTF-8 sequence at `pos` and its length; a stray
// byte counts as itself.
char32_t CodePointAt(std::string_view text, size_t pos, size_t& length) {
    unsigned char lead = static_cast<unsigned char>(text[pos]);
    length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (pos + length > text.size()) length = 1;
    if (length == 1) return lead;
    char32_t cp = lead & (0x3F >> (length - 1));
    for (size_t k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[pos + k]) & 0x3F);
    return cp;
}

// Ideographs, kana and Hangul: the scripts whose clocks mark the seconds
// with a character of their own (秒, 초).
bool IsCjk(char32_t cp) {
    return (cp >= 0x3000 && cp <= 0x9FFF) || (cp >= 0xAC00 && cp <= 0xD7AF) || (cp >= 0xF900 && cp <= 0xFAFF) ||
           (cp >= 0xFF00 && cp <= 0xFFEF);
}

// What a piece of the text between numbers may hold besides blanks and
// punctuation.
struct TPieceRules {
    bool Designator = false;    // an AM/PM designator may stand here
    bool HourMarker = false;    // "h" between hours and minutes (10h05)
    bool CjkMarksOnly = false;  // other letters only as CJK markers
    bool NothingElse = false;   // blanks and a designator only
};

constexpr TPieceRules DatePiece{};
constexpr TPieceRules InnerTimePiece{false, true, false, false};
constexpr TPieceRules TimePrefixPiece{true, false, false, false};
constexpr TPieceRules TimeMarkPiece{true, false, true, false};
constexpr TPieceRules DesignatorPiece{true, false, false, true};

// A word in a language the reader does not know, standing apart from the
// numbers, may be a designator it cannot read: refusing the text is better
// than reading the afternoon as the morning. Hence CjkMarksOnly and
// NothingElse. A known designator where none belongs refuses the text too.
bool ReadPiece(std::string_view piece, const TPieceRules& rules, const TFormatSettings& settings, int& pm) {
    size_t i = 0;
    while (i < piece.size()) {
        char c = piece[i];
        int designatorPm = 0;
        if (size_t length = DesignatorAt(piece, i, settings, designatorPm)) {
            if (!rules.Designator || pm >= 0) return false;
            pm = designatorPm;
            i += length;
        } else if (IsBlank(c)) {
            ++i;
        } else if (IsAsciiLetter(c)) {
            size_t end = i;
            while (end < piece.size() && IsAsciiLetter(piece[end])) ++end;
            if (!rules.HourMarker || end - i != 1 || AsciiLower(c) != 'h') return false;
            i = end;
        } else if (rules.NothingElse) {
            return false;
        } else if (static_cast<unsigned char>(c) < 0x80) {
            ++i;
        } else {
            size_t length = 1;
            char32_t cp = CodePointAt(piece, i, length);
            if (rules.CjkMarksOnly && !IsCjk(cp)) return false;
            i += length;
        }
    }
    return true;
}

// Splits a gap at its first and last blank: what touches the number before,
// what stands apart, what touches the number after.
struct TGapParts {
    std::string_view Before, Apart, After;
    bool HasBlank = false;
};

TGapParts PartGap(std::string_view gap) {
    size_t first = 0;
    while (first < gap.size() && !IsBlank(gap[first])) ++first;
    if (first == gap.size()) return {gap, {}, {}, false};
    size_t last = gap.size();
    while (!IsBlank(gap[last - 1])) --last;
    return {gap.substr(0, first), gap.substr(first, last - first), gap.substr(last), true};
}

bool ReadDate(const TShape& shape, size_t first, TParsedFields& dayFirst, TParsedFields& monthFirst) {
    const TNumber* n = shape.Numbers + first;
    if (n[1].Digits > 2) return false;
    if (n[0].Digits == 4 && n[2].Digits <= 2) {
        dayFirst.Year = monthFirst.Year = n[0].Value;
        dayFirst.Month = monthFirst.Month = n[1].Value;
        dayFirst.Day = monthFirst.Day = n[2].Value;
        return true;
    }
    if (n[2].Digits != 4 || n[0].Digits > 2) return false;
    dayFirst.Year = monthFirst.Year = n[2].Value;
    dayFirst.Day = monthFirst.Month = n[0].Value;
    dayFirst.Month = monthFirst.Day = n[1].Value;
    return true;
}

// Hours with a designator are a 12-hour clock; 0 and 13 to 23 are taken
// too when the designator agrees with them (ComposeValue checks).
bool ReadTime(const TShape& shape, size_t first, int pm, TParsedFields& fields) {
    const TNumber* n = shape.Numbers + first;
    for (size_t k = 0; k < 3; ++k)
        if (n[k].Digits > 2) return false;
    if (n[0].Value > 23 || n[1].Value > 59 || n[2].Value > 59) return false;
    fields.Pm = pm;
    if (pm >= 0 && n[0].Value >= 1 && n[0].Value <= 12)
        fields.Hour12 = n[0].Value;
    else
        fields.Hour24 = n[0].Value;
    fields.Minute = n[1].Value;
    fields.Second = n[2].Value;
    return true;
}

bool ReadTimeSuffix(std::string_view gap, const TFormatSettings& settings, int& pm) {
    TGapParts parts = PartGap(gap);
    return ReadPiece(parts.Before, TimeMarkPiece, settings, pm) &&
           ReadPiece(gap.substr(parts.Before.size()), DesignatorPiece, settings, pm);
}

}  // namespace

bool ReadStructuralDateTime(std::string_view text, const TFormatSettings& settings, TStructuralReading& reading) {
    TShape shape;
    if (!Split(text, shape) || (shape.Count != 3 && shape.Count != 6)) return false;
    bool hasTime = shape.Count == 6;
    int pm = -1;
    for (size_t k = 0; k < 3; ++k)
        if (!ReadPiece(shape.Gaps[k], DatePiece, settings, pm)) return false;
    if (hasTime) {
        TGapParts between = PartGap(shape.Gaps[3]);
        if (!between.HasBlank || !ReadPiece(between.Before, DatePiece, settings, pm) ||
            !ReadPiece(between.Apart, DesignatorPiece, settings, pm) ||
            !ReadPiece(between.After, TimePrefixPiece, settings, pm) ||
            !ReadPiece(shape.Gaps[4], InnerTimePiece, settings, pm) ||
            !ReadPiece(shape.Gaps[5], InnerTimePiece, settings, pm) || !ReadTimeSuffix(shape.Gaps[6], settings, pm))
            return false;
    } else if (!ReadPiece(shape.Gaps[3], DatePiece, settings, pm)) {
        return false;
    }
    TParsedFields dayFirst, monthFirst;
    if (!ReadDate(shape, 0, dayFirst, monthFirst)) return false;
    if (hasTime) {
        if (!ReadTime(shape, 3, pm, dayFirst)) return false;
        ReadTime(shape, 3, pm, monthFirst);
    }
    TDateTime dayFirstValue = 0, monthFirstValue = 0;
    bool dayFirstValid = ComposeValue(dayFirst, true, dayFirstValue);
    bool monthFirstValid = ComposeValue(monthFirst, true, monthFirstValue);
    if (!dayFirstValid && !monthFirstValid) return false;
    reading.Value = dayFirstValid ? dayFirstValue : monthFirstValue;
    reading.Alternative = monthFirstValid ? monthFirstValue : dayFirstValue;
    reading.Ambiguous = dayFirstValid && monthFirstValid && dayFirstValue != monthFirstValue;
    return true;
}

bool ReadStructuralTime(std::string_view text, const TFormatSettings& settings, TDateTime& value) {
    TShape shape;
    if (!Split(text, shape) || shape.Count != 3) return false;
    int pm = -1;
    // Before the hours: a designator standing apart, then what touches them.
    TGapParts lead = PartGap(shape.Gaps[0]);
    std::string_view touching = lead.HasBlank ? lead.After : shape.Gaps[0];
    std::string_view apart = shape.Gaps[0].substr(0, shape.Gaps[0].size() - touching.size());
    if (!ReadPiece(apart, DesignatorPiece, settings, pm) || !ReadPiece(touching, TimePrefixPiece, settings, pm) ||
        !ReadPiece(shape.Gaps[1], InnerTimePiece, settings, pm) ||
        !ReadPiece(shape.Gaps[2], InnerTimePiece, settings, pm) || !ReadTimeSuffix(shape.Gaps[3], settings, pm))
        return false;
    TParsedFields fields;
    TDateTime parsed = 0;
    if (!ReadTime(shape, 0, pm, fields) || !ComposeValue(fields, false, parsed)) return false;
    value = parsed;
    return true;
}

}  // namespace locale_detail
