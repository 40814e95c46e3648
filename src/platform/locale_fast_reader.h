// A picture compiled for reading in one pass: no allocation, no
// backtracking. It takes only pictures whose every choice the general
// matcher could make is forced (each number followed by something that
// cannot start with a digit, designators none of which is a prefix of
// another), and on those gives exactly the general matcher's answer. Any
// other picture is declined as a whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/locale_picture.h"

namespace locale_detail {

enum class TFastResult {
    Read,      // the text reads with the picture; value is set
    NoMatch,   // the general matcher would refuse the text with this picture too
    Declined,  // the picture needs the general matcher
};

class TFastPicture {
public:
    TFastPicture() = default;  // declines every text
    TFastPicture(std::string_view picture, const TFormatSettings& settings);

    // `text` must already be trimmed of blanks.
    TFastResult Read(std::string_view text, TDateTime& value) const;
    // Read for a text of exactly the fixed layout (what the store writes),
    // without trimming first: false hands the text to the usual readers.
    bool ReadLaidOut(std::string_view text, TDateTime& value) const {
        return FUsable && FFixedLength != 0 && text.size() == FFixedLength && !IsBlank(text.front()) &&
               !IsBlank(text.back()) && ReadFixed(text, value);
    }
    bool Usable() const { return FUsable; }
    bool HasFixedLayout() const { return FFixedLength != 0; }

private:
    static constexpr size_t MaxSteps = 24;
    // NumberThen and YearThen are a number and the literal after it, the
    // commonest pair ("12/", "2026年"), in one step.
    enum class TOp : uint8_t { Literal, Blank, Designator, Number, Year, NumberThen, YearThen };
    struct TStep {
        TOp Op = TOp::Literal;
        char Byte = 0;                       // the first byte of the literal
        uint16_t Offset = 0, Length = 0;     // Literal, ...Then: the text in FLiterals
        uint64_t Word = 0, Mask = 0;         // the same, up to 8 bytes, as one load compares it
        int TParsedFields::*Slot = nullptr;  // Number, Year, ...Then: the field and its range
        int MinValue = 0, MaxValue = 0;
    };
    // Where every field is padded (yyyy MM dd HH mm ss) and the designators
    // are of one length, the text the store writes has each byte at a fixed
    // place: its literals are checked a word at a time and its fields read
    // where they stand. A text of another length or layout goes through the
    // steps, which give the same answer, only slower.
    static constexpr size_t MaxFixedWords = 8;  // texts up to 64 bytes
    static constexpr size_t MaxFixedFields = 8;
    bool CompileFixed(const std::vector<TToken>& tokens);
    bool ReadFixed(std::string_view text, TDateTime& value) const;
    // The layouts the store writes (yyyy-MM-dd, the same with HH:mm:ss, and
    // HH:mm:ss alone), whose fields are read straight from where they stand.
    enum class TShape : uint8_t { Other, Date, DateTime, Time };
    TShape ShapeOfFixed() const;
    bool ReadShaped(const char* p, TDateTime& value) const;
    bool Compile(const std::vector<TToken>& tokens);
    bool CompileLiteral(const std::string& text, TStep& step);
    bool CompileDesignators(const TFormatSettings& settings);
    bool ReadDesignator(const char*& p, const char* end, TParsedFields& fields) const;
    bool ReadLiteral(const char*& p, const char* end, const TStep& step) const;
    static bool Store(TParsedFields& fields, const TStep& step, int number);
    static bool ReadNumber(const char*& p, const char* end, const TStep& step, TParsedFields& fields);
    static bool ReadYear(const char*& p, const char* end, const TStep& step, TParsedFields& fields);

    std::string FLiterals;
    TStep FSteps[MaxSteps];
    size_t FStepCount = 0;
    std::string FDesignators[PictureDesignatorCount];
    int FDesignatorPm[PictureDesignatorCount] = {};
    size_t FDesignatorCount = 0;
    size_t FFixedLength = 0;  // 0: no fixed layout
    size_t FFixedWordCount = 0, FFixedFieldCount = 0;
    uint16_t FFixedWordOffset[MaxFixedWords] = {};
    uint64_t FFixedWord[MaxFixedWords] = {}, FFixedMask[MaxFixedWords] = {};
    TStep FFixedFields[MaxFixedFields];  // Offset and Length: where the digits stand
    int FFixedDesignatorOffset = -1;
    TShape FShape = TShape::Other;
    bool FUsable = false;
    bool FNeverMatches = false;  // no field at all: the general reader refuses every text
    bool FHasDate = false;
};

}  // namespace locale_detail
