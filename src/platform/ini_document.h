// An INI text held in memory: ordered sections, ordered keys, names compared
// without regard to (ASCII) letter case.
//
// The document keeps every line as the text had it, line break included, and
// writes back unchanged every line that no edit touched: comments, blank and
// malformed lines, text after a section's "]", bytes that are not valid
// UTF-8. Lines end in LF, CR LF or CR alone; new lines take the first line
// break of the text (LF in a new document).
//
// Reading rules: "[name]" opens a section; "key=value" holds a key, the value
// being everything after the first "="; blanks around key and value are
// ignored; lines beginning with ";" are comments. When a section or key occurs
// twice, the first one counts.
//
// Unchanged lines are views into the parsed text, so a large file costs
// little more than its own bytes. Parsing finds only the section headers: a
// section's lines are read from the text where it is visited, and kept as
// lines of their own only once it is edited or searched by key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/name_index.h"

// Hashing and comparing names without regard to ASCII case, usable with
// string_view lookups so that finding a key allocates nothing.
struct TAsciiCaseHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const noexcept;
};
struct TAsciiCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept;
};
template <typename T>
using TAsciiCaseMap = std::unordered_map<std::string, T, TAsciiCaseHash, TAsciiCaseEqual>;

// One line of the text, without its line break: a view into the parsed
// text, or text of its own once an edit has replaced it.
class TIniLine {
public:
    enum class TBreak : uint8_t { None, Lf, CrLf, Cr };

    TIniLine() = default;
    // `eq`: where the line's first "=" stands, when the caller knows it.
    TIniLine(std::string_view view, TBreak lineBreak, bool isKey, size_t eq = std::string_view::npos);
    TIniLine(const TIniLine& other);
    TIniLine& operator=(const TIniLine& other);
    TIniLine(TIniLine&& other) noexcept;
    TIniLine& operator=(TIniLine&& other) noexcept;
    ~TIniLine() {
        if (FOwned) Release();
    }

    static TIniLine Owning(std::string_view text, TBreak lineBreak, bool isKey);

    std::string_view Text() const { return {FData, FLength}; }
    TBreak Break() const { return static_cast<TBreak>(FBreak); }
    void SetBreak(TBreak lineBreak) { FBreak = static_cast<uint8_t>(lineBreak) & 3; }
    bool IsKey() const { return FIsKey; }
    // For key lines: the key and the value, blanks around them removed.
    std::string_view Key() const;
    std::string_view Value() const;
    inline void Split(std::string_view& key, std::string_view& value) const;
    // Replaces the value, keeping the key as it was spelled.
    void SetValue(std::string_view value);

private:
    static constexpr uint16_t EqUnknown = UINT16_MAX;
    void Release();
    size_t EqPosition() const;
    void NoteEq(size_t eq) { FEq = eq < EqUnknown ? static_cast<uint16_t>(eq) : EqUnknown; }

    const char* FData = "";
    uint32_t FLength = 0;
    // The first "=" of the line, found when it was read (EqUnknown: to be
    // searched; a line longer than that, or one without "=").
    uint16_t FEq = EqUnknown;
    uint8_t FBreak : 2 = 0;
    uint8_t FIsKey : 1 = 0;
    uint8_t FOwned : 1 = 0;
};

// Inline: parsing moves a header line into every section it opens.
inline TIniLine::TIniLine(TIniLine&& other) noexcept
    : FData(other.FData),
      FLength(other.FLength),
      FEq(other.FEq),
      FBreak(other.FBreak),
      FIsKey(other.FIsKey),
      FOwned(other.FOwned) {
    other.FOwned = false;
    other.FData = "";
    other.FLength = 0;
    other.FEq = EqUnknown;
}

inline TIniLine& TIniLine::operator=(TIniLine&& other) noexcept {
    if (this != &other) {
        if (FOwned) Release();
        FData = other.FData;
        FLength = other.FLength;
        FEq = other.FEq;
        FBreak = other.FBreak;
        FIsKey = other.FIsKey;
        FOwned = other.FOwned;
        other.FOwned = false;
        other.FData = "";
        other.FLength = 0;
        other.FEq = EqUnknown;
    }
    return *this;
}

namespace ini_detail {
// Blank, tab, line feed, vertical tab, form feed, carriage return.
inline bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Where a line that starts at `pos` ends (Stop, its break excluded) and the
// next one starts; lines end in LF, CR LF or CR. `anyCr`: the text holds a
// CR somewhere (without one, each line needs one search instead of two).
struct TLineEnd {
    size_t Stop, Next;
    TIniLine::TBreak Break;
};
inline TLineEnd NextLine(const char* base, size_t size, size_t pos, bool anyCr) {
    constexpr size_t npos = std::string_view::npos;
    const char* found = static_cast<const char*>(std::memchr(base + pos, '\n', size - pos));
    const size_t lf = found ? static_cast<size_t>(found - base) : npos;
    TLineEnd end{found ? lf : size, found ? lf + 1 : size, found ? TIniLine::TBreak::Lf : TIniLine::TBreak::None};
    if (!anyCr) return end;
    // The first CR of the line, searched within the line only. CR LF is the
    // usual case: the CR is then the byte before the LF.
    const bool pair = found && lf > pos && base[lf - 1] == '\r';
    const size_t searched = (pair ? lf - 1 : end.Stop) - pos;
    const void* inLine = std::memchr(base + pos, '\r', searched);
    const size_t cr = inLine ? static_cast<size_t>(static_cast<const char*>(inLine) - base) : pair ? lf - 1 : npos;
    if (cr != npos && found && cr + 1 == lf)
        end = {cr, lf + 1, TIniLine::TBreak::CrLf};
    else if (cr != npos)
        end = {cr, cr + 1, TIniLine::TBreak::Cr};
    return end;
}

// Where a key line's first "=" stands; npos for a line that holds no key (a
// comment, or no "=" with something other than blanks before it).
inline size_t KeyEq(std::string_view line) {
    size_t b = 0;
    while (b < line.size() && IsBlank(line[b])) ++b;
    if (b == line.size() || line[b] == ';' || line[b] == '=') return std::string_view::npos;
    const void* at = std::memchr(line.data() + b + 1, '=', line.size() - b - 1);
    return at ? static_cast<size_t>(static_cast<const char*>(at) - line.data()) : std::string_view::npos;
}

// A key line's key and value, blanks around both removed; `eq` is KeyEq's
// answer. By pointer: the key is nearly always unpadded and the value too.
inline void SplitKeyLine(const char* data, size_t length, size_t eq, std::string_view& key, std::string_view& value) {
    const char* begin = data;
    const char* keyEnd = data + eq;
    while (begin < keyEnd && IsBlank(*begin)) ++begin;
    while (keyEnd > begin && IsBlank(keyEnd[-1])) --keyEnd;
    key = std::string_view(begin, static_cast<size_t>(keyEnd - begin));
    const char* valueBegin = data + eq + 1;
    const char* end = data + length;
    while (valueBegin < end && IsBlank(*valueBegin)) ++valueBegin;
    while (end > valueBegin && IsBlank(end[-1])) --end;
    value = std::string_view(valueBegin, static_cast<size_t>(end - valueBegin));
}
}  // namespace ini_detail

class TIniDocument {
public:
    TIniDocument();
    ~TIniDocument();
    TIniDocument(const TIniDocument& other);
    TIniDocument& operator=(const TIniDocument& other);
    TIniDocument(TIniDocument&&) noexcept;
    TIniDocument& operator=(TIniDocument&&) noexcept;

    // Parses text (UTF-8, or any bytes: they are kept as they are). The
    // second takes the text over without copying it.
    static TIniDocument Parse(std::string_view text);
    static TIniDocument ParseTaking(std::string&& text);
    // Parses text that stays valid, unchanged, as long as `owner` lives (a
    // file's bytes mapped into memory), without copying it.
    static TIniDocument ParseShared(std::shared_ptr<const void> owner, std::string_view text);
    std::string Serialize() const;
    // The line break new lines get.
    std::string_view LineBreak() const;
    void SetLineBreak(std::string_view lineBreak);

    bool HasSection(std::string_view section) const;
    // Number of keys the (first) section of that name holds; 0 when absent.
    size_t KeyCount(std::string_view section) const;
    // Values as text: bytes that are not valid UTF-8 are read as Latin-1.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string Read(std::string_view section, std::string_view key, std::string_view defaultValue = {}) const;
    // The value's bytes as the text holds them; valid until the next change.
    std::optional<std::string_view> FindRaw(std::string_view section, std::string_view key) const;
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;
    // Calls visit(key, raw value) for every key line of the (first) section
    // of that name, in order, duplicates included; false when it is absent.
    template <typename TVisit>
    bool ForEachKey(std::string_view section, TVisit&& visit) const;
    // The same, for visiting many sections in about the order the text
    // holds them (a reminder list and its reminders' sections): `cursor`
    // (start with 0) remembers where the last one was, so that the next is
    // usually found without a lookup. Any value of `cursor` gives the same
    // answer.
    template <typename TVisit>
    bool ForEachKey(std::string_view section, size_t& cursor, TVisit&& visit) const;

    // The layout a program writes itself, read without the general rules:
    // when the (first) section of that name holds the first n of `keys` and
    // nothing else, one "key=value" line each in that order, spelled as
    // given, with no blank around a value and no CR in the text, the values
    // go to values[0..n) and n is the answer (the general reading gives the
    // same values). Anything else answers NotThatLayout and leaves `cursor`
    // as it was; the caller then reads the section the general way.
    static constexpr size_t NotThatLayout = SIZE_MAX;
    size_t ReadExactLayout(std::string_view section, size_t& cursor, const std::string_view* keys, size_t keyCount,
                           std::string_view* values) const;

    // Sets a value; a new section is added at the end of the document, a new
    // key at the end of its section. Line breaks in any argument would split
    // the line and corrupt the file, so they are replaced by blanks; a key
    // containing "=" or a section name containing "]" is refused (false).
    // A value that reads the same as the stored one leaves the line as it is.
    // `changed` (when given) tells whether the document differs afterwards.
    bool Write(std::string_view section, std::string_view key, std::string_view value, bool* changed = nullptr);
    // Removes every section of that name.
    void EraseSection(std::string_view section);
    // Removes every line of that key in the (first) section of that name.
    void DeleteKey(std::string_view section, std::string_view key);
    void Clear();

private:
    static constexpr uint32_t UnknownKeys = UINT32_MAX;
    struct TSection {
        TIniLine Header;
        // Where the name stands in the header's text.
        uint32_t NameBegin = 0, NameLength = 0;
        // Where the section's lines stand in the parsed text while it has
        // no lines of its own.
        size_t BodyBegin = 0, BodyEnd = 0;
        // Key lines; counted when first asked.
        mutable uint32_t Keys = UnknownKeys;
        // The first section of its name: the one lookups find.
        bool First = true;
        // The lines once the section was edited or searched (LinesOf);
        // until then they are read from the text.
        mutable std::unique_ptr<std::vector<TIniLine>> Lines;
        // Key -> first line holding it; built on demand for large sections
        // (the reminder list holds one key per reminder) and dropped when
        // lines move.
        mutable std::unique_ptr<TNameIndex> KeyIndex;

        std::string_view Name() const { return Header.Text().substr(NameBegin, NameLength); }
    };

    TSection* FindSection(std::string_view section) const;
    // FindSection for callers that visit sections in about the order the
    // text holds them: the section at `cursor` is tried first, and `cursor`
    // is left just after the one found.
    TSection* FindSectionFrom(std::string_view section, size_t& cursor) const;
    // `nameBegin`, `nameLength`: where the name stands in the header's text.
    TSection& AddSection(TIniLine header, size_t nameBegin, size_t nameLength);
    auto SectionName() const {
        return [this](uint32_t i) { return FSections[i].Name(); };
    }
    void Reindex();
    void ParseText();
    TIniLine::TBreak NewLineBreak() const { return FNewBreak; }
    // The section's lines, read from the text on first use.
    std::vector<TIniLine>& LinesOf(const TSection& s) const;
    const TIniLine* FindKey(const TSection& s, std::string_view key) const;
    // visit(line, break, KeyEq(line)) for each line the text holds for a
    // section that has no lines of its own yet.
    template <typename TVisitLine>
    void ScanBody(const TSection& s, TVisitLine&& visit) const;

    // The parsed text, never changed, and what keeps it alive (shared
    // between copies).
    std::shared_ptr<const void> FTextOwner;
    std::string_view FText;
    bool FAnyCr = false;
    std::vector<TIniLine> FPreamble;  // lines before the first section
    // Sections refer to one another by position, never by address, so that
    // they can sit side by side in one block.
    std::vector<TSection> FSections;  // erased ones are removed
    TNameIndex FIndex;  // name -> position of the first section of that name
    TIniLine::TBreak FNewBreak = TIniLine::TBreak::Lf;
};

template <typename TVisitLine>
void TIniDocument::ScanBody(const TSection& s, TVisitLine&& visit) const {
    const char* const base = FText.data();
    const size_t size = FText.size();
    for (size_t pos = s.BodyBegin; pos < s.BodyEnd;) {
        const ini_detail::TLineEnd end = ini_detail::NextLine(base, size, pos, FAnyCr);
        const std::string_view line(base + pos, end.Stop - pos);
        pos = end.Next;
        visit(line, end.Break, ini_detail::KeyEq(line));
    }
}

template <typename TVisit>
bool TIniDocument::ForEachKey(std::string_view section, TVisit&& visit) const {
    size_t cursor = SIZE_MAX;
    return ForEachKey(section, cursor, visit);
}

template <typename TVisit>
bool TIniDocument::ForEachKey(std::string_view section, size_t& cursor, TVisit&& visit) const {
    const TSection* s = FindSectionFrom(section, cursor);
    if (!s) return false;
    std::string_view key, value;
    if (!s->Lines) {
        ScanBody(*s, [&](std::string_view line, TIniLine::TBreak, size_t eq) {
            if (eq == std::string_view::npos) return;
            ini_detail::SplitKeyLine(line.data(), line.size(), eq, key, value);
            visit(key, value);
        });
        return true;
    }
    for (const TIniLine& line : *s->Lines) {
        if (!line.IsKey()) continue;
        line.Split(key, value);
        visit(key, value);
    }
    return true;
}

// ASCII lower case, as section and key names are compared.
std::string AsciiLower(std::string_view text);
bool SameTextAscii(std::string_view a, std::string_view b);

// Inline: every key line read goes through it twice.
inline std::string_view TrimBlanks(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && ini_detail::IsBlank(text[b])) ++b;
    while (e > b && ini_detail::IsBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

inline void TIniLine::Split(std::string_view& key, std::string_view& value) const {
    const size_t eq = FEq != EqUnknown ? FEq : EqPosition();
    if (eq == std::string_view::npos) {
        key = TrimBlanks(Text());
        value = {};
        return;
    }
    ini_detail::SplitKeyLine(FData, FLength, eq, key, value);
}
