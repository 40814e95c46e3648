#include "platform/locale_fast_reader.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace locale_detail {

TFastPicture::TFastPicture(std::string_view picture, const TFormatSettings& settings) {
    const std::vector<TToken>& tokens = ParsingTokens(picture);
    if (!HasDateField(tokens) && !HasTimeField(tokens)) {
        FUsable = true;
        FNeverMatches = true;
        return;
    }
    FHasDate = HasDateField(tokens);
    FUsable = Compile(tokens) && (!HasKind(tokens, TTokenKind::Designator) || CompileDesignators(settings));
    if (FUsable && !CompileFixed(tokens)) FFixedLength = 0;
}

namespace {

// The range AssignField allows for each field.
void FieldOf(TTokenKind kind, int TParsedFields::*& slot, int& minValue, int& maxValue) {
    switch (kind) {
        case TTokenKind::Year: slot = &TParsedFields::Year, minValue = 1, maxValue = 9999; break;
        case TTokenKind::Month: slot = &TParsedFields::Month, minValue = 1, maxValue = 12; break;
        case TTokenKind::Day: slot = &TParsedFields::Day, minValue = 1, maxValue = 31; break;
        case TTokenKind::Hour24: slot = &TParsedFields::Hour24, minValue = 0, maxValue = 23; break;
        case TTokenKind::Hour12: slot = &TParsedFields::Hour12, minValue = 1, maxValue = 12; break;
        case TTokenKind::Minute: slot = &TParsedFields::Minute, minValue = 0, maxValue = 59; break;
        default: slot = &TParsedFields::Second, minValue = 0, maxValue = 59; break;
    }
}

}  // namespace

bool TFastPicture::CompileLiteral(const std::string& text, TStep& step) {
    if (FLiterals.size() + text.size() > UINT16_MAX) return false;
    step.Offset = static_cast<uint16_t>(FLiterals.size());
    step.Length = static_cast<uint16_t>(text.size());
    FLiterals += text;
    if (text.size() <= 8) {
        // The bytes in memory order, so that a load of the text compares
        // with them whatever the machine's byte order.
        unsigned char bytes[8] = {}, mask[8] = {};
        for (size_t k = 0; k < text.size(); ++k) {
            bytes[k] = static_cast<unsigned char>(text[k]);
            mask[k] = 0xFF;
        }
        std::memcpy(&step.Word, bytes, 8);
        std::memcpy(&step.Mask, mask, 8);
    }
    return true;
}

bool TFastPicture::Compile(const std::vector<TToken>& tokens) {
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (FStepCount == MaxSteps) return false;
        const TToken& token = tokens[i];
        const TToken* next = i + 1 < tokens.size() ? &tokens[i + 1] : nullptr;
        TStep& step = FSteps[FStepCount++];
        switch (token.Kind) {
            case TTokenKind::Literal:
                step.Op = TOp::Literal;
                step.Byte = token.Text[0];
                if (!CompileLiteral(token.Text, step)) return false;
                break;
            case TTokenKind::Blank: step.Op = TOp::Blank; break;
            case TTokenKind::Designator: step.Op = TOp::Designator; break;
            default:
                // A shorter digit run would leave a digit for the next token;
                // only when that can never match is the longest run the answer.
                if (next && (IsNumberKind(next->Kind) || (next->Kind == TTokenKind::Literal && IsDigit(next->Text[0]))))
                    return false;
                step.Op = token.Kind == TTokenKind::Year ? TOp::Year : TOp::Number;
                FieldOf(token.Kind, step.Slot, step.MinValue, step.MaxValue);
                if (next && next->Kind == TTokenKind::Literal) {
                    step.Op = step.Op == TOp::Year ? TOp::YearThen : TOp::NumberThen;
                    step.Byte = next->Text[0];
                    if (!CompileLiteral(next->Text, step)) return false;
                    ++i;
                }
        }
    }
    return true;
}

bool TFastPicture::CompileFixed(const std::vector<TToken>& tokens) {
    std::string layout, mask;
    for (const TToken& token : tokens) {
        if (token.Kind == TTokenKind::Literal || token.Kind == TTokenKind::Blank) {
            layout += token.Text;
            mask.append(token.Text.size(), '\xFF');
            continue;
        }
        size_t width = 0;
        if (token.Kind == TTokenKind::Designator) {
            // One length for all, and no leading blank a blank run could take.
            for (size_t k = 0; k < FDesignatorCount; ++k)
                if (FDesignators[k].size() != FDesignators[0].size() || IsBlank(FDesignators[k][0])) return false;
            if (FDesignatorCount == 0 || FFixedDesignatorOffset >= 0) return false;
            FFixedDesignatorOffset = static_cast<int>(layout.size());
            width = FDesignators[0].size();
        } else {
            if (token.Width != 2 && token.Kind != TTokenKind::Year) return false;
            if (FFixedFieldCount == MaxFixedFields) return false;
            TStep& field = FFixedFields[FFixedFieldCount++];
            FieldOf(token.Kind, field.Slot, field.MinValue, field.MaxValue);
            field.Offset = static_cast<uint16_t>(layout.size());
            field.Length = static_cast<uint16_t>(token.Kind == TTokenKind::Year ? 4 : 2);
            width = field.Length;
        }
        layout.append(width, '0');
        mask.append(width, '\0');
    }
    if (layout.size() < 8 || layout.size() > 8 * MaxFixedWords) return false;
    for (size_t offset = 0; offset < layout.size(); offset += 8) {
        // The last word ends with the text, overlapping the one before.
        size_t at = std::min(offset, layout.size() - 8);
        uint64_t word = 0, bits = 0;
        std::memcpy(&word, layout.data() + at, 8);
        std::memcpy(&bits, mask.data() + at, 8);
        FFixedWordOffset[FFixedWordCount] = static_cast<uint16_t>(at);
        FFixedWord[FFixedWordCount] = word & bits;
        FFixedMask[FFixedWordCount++] = bits;
    }
    FFixedLength = layout.size();
    FShape = ShapeOfFixed();
    return true;
}

TFastPicture::TShape TFastPicture::ShapeOfFixed() const {
    if (FFixedDesignatorOffset >= 0) return TShape::Other;
    // The literals are the words' business; here only which field stands where.
    auto fieldsAre = [this](std::initializer_list<std::pair<int TParsedFields::*, size_t>> expected) {
        if (FFixedFieldCount != expected.size()) return false;
        size_t k = 0;
        for (const auto& [slot, offset] : expected) {
            if (FFixedFields[k].Slot != slot || FFixedFields[k].Offset != offset) return false;
            ++k;
        }
        return true;
    };
    using F = TParsedFields;
    if (FFixedLength == 10 && fieldsAre({{&F::Year, 0}, {&F::Month, 5}, {&F::Day, 8}})) return TShape::Date;
    if (FFixedLength == 19 &&
        fieldsAre({{&F::Year, 0}, {&F::Month, 5}, {&F::Day, 8}, {&F::Hour24, 11}, {&F::Minute, 14}, {&F::Second, 17}}))
        return TShape::DateTime;
    if (FFixedLength == 8 && fieldsAre({{&F::Hour24, 0}, {&F::Minute, 3}, {&F::Second, 6}})) return TShape::Time;
    return TShape::Other;
}

// ReadFixed's fields for the store's layouts: each field once, so every one
// is only checked against its range (the ranges FieldOf gives).
bool TFastPicture::ReadShaped(const char* p, TDateTime& value) const {
    auto two = [p](size_t at, int& number) {
        const unsigned a = static_cast<unsigned>(p[at] - '0'), b = static_cast<unsigned>(p[at + 1] - '0');
        number = static_cast<int>(a * 10 + b);
        return a <= 9 && b <= 9;
    };
    TParsedFields fields;
    size_t time = 0;
    if (FShape != TShape::Time) {
        int high = 0, low = 0;
        if (!two(0, high) || !two(2, low) || !two(5, fields.Month) || !two(8, fields.Day)) return false;
        fields.Year = high * 100 + low;
        if (fields.Year < 1 || fields.Month < 1 || fields.Month > 12 || fields.Day < 1 || fields.Day > 31)
            return false;
        time = 11;
    }
    if (FShape != TShape::Date) {
        if (!two(time, fields.Hour24) || !two(time + 3, fields.Minute) || !two(time + 6, fields.Second)) return false;
        if (fields.Hour24 > 23 || fields.Minute > 59 || fields.Second > 59) return false;
    }
    return ComposeValue(fields, FHasDate, value);
}

// The general matcher tries the designators in turn and backtracks into the
// next one when the rest of the text fails. With no designator a prefix of
// another, at most one can match at any place, so there is nothing to
// return to.
bool TFastPicture::CompileDesignators(const TFormatSettings& settings) {
    TDesignatorCandidate candidates[PictureDesignatorCount];
    PictureDesignators(settings, candidates);
    for (const TDesignatorCandidate& candidate : candidates) {
        if (candidate.Text.empty()) continue;
        if (IsDigit(candidate.Text[0])) return false;  // a number before it could end early
        bool duplicate = false;
        for (size_t k = 0; k < FDesignatorCount; ++k) {
            std::string_view known = FDesignators[k];
            size_t common = std::min(known.size(), candidate.Text.size());
            if (!SameIgnoringAsciiCase(known.substr(0, common), candidate.Text.substr(0, common))) continue;
            if (known.size() != candidate.Text.size() || FDesignatorPm[k] != candidate.Pm) return false;
            duplicate = true;
        }
        if (duplicate) continue;
        std::string folded(candidate.Text);
        for (char& c : folded) c = AsciiLower(c);
        FDesignators[FDesignatorCount] = folded;
        FDesignatorPm[FDesignatorCount++] = candidate.Pm;
    }
    return true;
}

// The designators are kept with their ASCII letters in lower case, so that
// only the text's side needs folding.
inline bool TFastPicture::ReadDesignator(const char*& p, const char* end, TParsedFields& fields) const {
    for (size_t k = 0; k < FDesignatorCount; ++k) {
        const std::string& designator = FDesignators[k];
        if (static_cast<size_t>(end - p) < designator.size()) continue;
        size_t i = 0;
        while (i < designator.size() && AsciiLower(p[i]) == designator[i]) ++i;
        if (i < designator.size()) continue;
        p += designator.size();
        return Assign(fields.Pm, FDesignatorPm[k]);
    }
    return false;
}

inline bool TFastPicture::ReadLiteral(const char*& p, const char* end, const TStep& step) const {
    if (step.Length == 1) {
        if (p == end || *p != step.Byte) return false;
        ++p;
        return true;
    }
    size_t left = static_cast<size_t>(end - p);
    if (left < step.Length) return false;
    if (step.Mask != 0 && left >= 8) {
        // One load for markers such as 年 or ":", never past the text.
        uint64_t word;
        std::memcpy(&word, p, 8);
        if ((word & step.Mask) != step.Word) return false;
    } else {
        const char* literal = FLiterals.data() + step.Offset;
        for (size_t k = 0; k < step.Length; ++k)
            if (p[k] != literal[k]) return false;
    }
    p += step.Length;
    return true;
}

inline bool TFastPicture::Store(TParsedFields& fields, const TStep& step, int number) {
    // One unsigned compare for both ends of the range.
    return static_cast<unsigned>(number - step.MinValue) <= static_cast<unsigned>(step.MaxValue - step.MinValue) &&
           Assign(fields.*step.Slot, number);
}

// One or two digits, the longest run (see Compile).
inline bool TFastPicture::ReadNumber(const char*& p, const char* end, const TStep& step, TParsedFields& fields) {
    if (p == end || !IsDigit(*p)) return false;
    int number = *p++ - '0';
    if (p != end && IsDigit(*p)) number = number * 10 + (*p++ - '0');
    return Store(fields, step, number);
}

inline bool TFastPicture::ReadYear(const char*& p, const char* end, const TStep& step, TParsedFields& fields) {
    if (end - p < 4 || !IsDigit(p[0]) || !IsDigit(p[1]) || !IsDigit(p[2]) || !IsDigit(p[3])) return false;
    int number = (p[0] - '0') * 1000 + (p[1] - '0') * 100 + (p[2] - '0') * 10 + (p[3] - '0');
    p += 4;
    return Store(fields, step, number);
}

// False hands the text to the steps: a layout that does not fit says
// nothing about the text.
bool TFastPicture::ReadFixed(std::string_view text, TDateTime& value) const {
    if (text.size() != FFixedLength) return false;
    const char* p = text.data();
    for (size_t k = 0; k < FFixedWordCount; ++k) {
        uint64_t word;
        std::memcpy(&word, p + FFixedWordOffset[k], 8);
        if ((word & FFixedMask[k]) != FFixedWord[k]) return false;
    }
    if (FShape != TShape::Other) return ReadShaped(p, value);
    TParsedFields fields;
    for (size_t k = 0; k < FFixedFieldCount; ++k) {
        const TStep& field = FFixedFields[k];
        const char* digits = p + field.Offset;
        unsigned a = static_cast<unsigned>(digits[0] - '0'), b = static_cast<unsigned>(digits[1] - '0');
        if (a > 9 || b > 9) return false;
        unsigned number = a * 10 + b;
        if (field.Length == 4) {
            unsigned c = static_cast<unsigned>(digits[2] - '0'), d = static_cast<unsigned>(digits[3] - '0');
            if (c > 9 || d > 9) return false;
            number = number * 100 + c * 10 + d;
        }
        if (!Store(fields, field, static_cast<int>(number))) return false;
    }
    if (FFixedDesignatorOffset >= 0) {
        const char* at = p + FFixedDesignatorOffset;
        if (!ReadDesignator(at, at + FDesignators[0].size(), fields)) return false;
    }
    return ComposeValue(fields, FHasDate, value);
}

TFastResult TFastPicture::Read(std::string_view text, TDateTime& value) const {
    if (!FUsable) return TFastResult::Declined;
    if (FNeverMatches) return TFastResult::NoMatch;
    if (FFixedLength != 0 && ReadFixed(text, value)) return TFastResult::Read;
    TParsedFields fields;
    const char* p = text.data();
    const char* const end = p + text.size();
    for (const TStep* step = FSteps; step != FSteps + FStepCount; ++step) {
        switch (step->Op) {
            case TOp::Literal:
                if (!ReadLiteral(p, end, *step)) return TFastResult::NoMatch;
                break;
            case TOp::Blank: {
                const char* start = p;
                while (p != end && IsBlank(*p)) ++p;
                if (p == start) return TFastResult::NoMatch;
                break;
            }
            case TOp::Designator:
                if (!ReadDesignator(p, end, fields)) return TFastResult::NoMatch;
                break;
            case TOp::Number:
                if (!ReadNumber(p, end, *step, fields)) return TFastResult::NoMatch;
                break;
            case TOp::Year:
                if (!ReadYear(p, end, *step, fields)) return TFastResult::NoMatch;
                break;
            case TOp::NumberThen:
                if (!ReadNumber(p, end, *step, fields) || !ReadLiteral(p, end, *step)) return TFastResult::NoMatch;
                break;
            case TOp::YearThen:
                if (!ReadYear(p, end, *step, fields) || !ReadLiteral(p, end, *step)) return TFastResult::NoMatch;
                break;
        }
    }
    if (p != end) return TFastResult::NoMatch;
    TDateTime parsed = 0;
    if (!ComposeValue(fields, FHasDate, parsed)) return TFastResult::NoMatch;
    value = parsed;
    return TFastResult::Read;
}

}  // namespace locale_detail
