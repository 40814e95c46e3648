#include "platform/ini_document.h"

#include <algorithm>
#include <cstring>

#include "platform/ascii_word.h"
#include "platform/text_codec.h"

namespace {

using ini_detail::IsBlank;

std::string NoLineBreaks(std::string_view text) {
    std::string out(text);
    std::replace_if(out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return out;
}

// Sections with few keys are searched linearly; larger ones (the reminder
// list holds one key per reminder) get a hash index on first lookup.
constexpr size_t IndexThreshold = 16;

std::string_view BreakText(TIniLine::TBreak b) {
    switch (b) {
        case TIniLine::TBreak::Lf: return "\n";
        case TIniLine::TBreak::CrLf: return "\r\n";
        case TIniLine::TBreak::Cr: return "\r";
        case TIniLine::TBreak::None: break;
    }
    return {};
}

// A section header: "[name]" after optional blanks; text after the "]"
// stays part of the line.
bool HeaderName(std::string_view text, std::string_view& name) {
    // As a program writes it: "[name]", nothing around the name.
    if (text.size() > 2 && text[0] == '[' && text.back() == ']' && !IsBlank(text[1]) &&
        !IsBlank(text[text.size() - 2])) {
        const void* close = std::memchr(text.data() + 1, ']', text.size() - 1);
        if (close == text.data() + text.size() - 1) {
            name = text.substr(1, text.size() - 2);
            return true;
        }
    }
    if (!text.empty() && text[0] != '[' && !IsBlank(text[0])) return false;
    std::string_view trimmed = TrimBlanks(text);
    if (trimmed.size() < 2 || trimmed.front() != '[') return false;
    size_t close = trimmed.find(']');
    if (close == std::string_view::npos) return false;
    name = TrimBlanks(trimmed.substr(1, close - 1));
    return true;
}

}  // namespace

size_t TAsciiCaseHash::operator()(std::string_view text) const noexcept {
    // FNV-1a over the lower-cased bytes.
    size_t hash = 1469598103934665603ull;
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return hash;
}

bool TAsciiCaseEqual::operator()(std::string_view a, std::string_view b) const noexcept { return SameTextAscii(a, b); }

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

namespace {

inline bool SameWordAscii(const char* x, const char* y) {
    uint64_t u, v;
    std::memcpy(&u, x, 8);
    std::memcpy(&v, y, 8);
    return u == v || LowerAsciiWord(u) == LowerAsciiWord(v);
}

}  // namespace

bool SameTextAscii(std::string_view a, std::string_view b) {
    const size_t n = a.size();
    if (n != b.size()) return false;
    if (n >= 8) {
        // Eight bytes at a time, the last word ending with the text.
        for (size_t i = 0; i + 8 < n; i += 8)
            if (!SameWordAscii(a.data() + i, b.data() + i)) return false;
        return SameWordAscii(a.data() + n - 8, b.data() + n - 8);
    }
    for (size_t i = 0; i < n; ++i) {
        char x = a[i], y = b[i];
        if (x == y) continue;
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// ---------------------------------------------------------------- lines

TIniLine::TIniLine(std::string_view view, TBreak lineBreak, bool isKey, size_t eq)
    : FData(view.data()),
      FLength(static_cast<uint32_t>(view.size())),
      FBreak(static_cast<uint8_t>(lineBreak) & 3),
      FIsKey(isKey) {
    NoteEq(eq);
}

TIniLine TIniLine::Owning(std::string_view text, TBreak lineBreak, bool isKey) {
    TIniLine line;
    char* data = new char[text.size() + 1];
    std::memcpy(data, text.data(), text.size());
    data[text.size()] = '\0';
    line.FData = data;
    line.FLength = static_cast<uint32_t>(text.size());
    line.FBreak = static_cast<uint8_t>(lineBreak) & 3;
    line.FIsKey = isKey;
    line.FOwned = true;
    line.NoteEq(text.find('='));
    return line;
}

TIniLine::TIniLine(const TIniLine& other) : FEq(other.FEq), FBreak(other.FBreak), FIsKey(other.FIsKey) {
    if (other.FOwned)
        *this = Owning(other.Text(), other.Break(), other.FIsKey);
    else {
        FData = other.FData;
        FLength = other.FLength;
    }
}

TIniLine& TIniLine::operator=(const TIniLine& other) {
    if (this != &other) *this = TIniLine(other);
    return *this;
}

void TIniLine::Release() {
    if (FOwned) delete[] FData;
    FOwned = false;
}

size_t TIniLine::EqPosition() const { return Text().find('='); }

std::string_view TIniLine::Key() const {
    std::string_view key, value;
    Split(key, value);
    return key;
}

std::string_view TIniLine::Value() const {
    std::string_view key, value;
    Split(key, value);
    return value;
}

void TIniLine::SetValue(std::string_view value) {
    std::string_view text = Text();
    size_t start = text.find('=') + 1;
    while (start < text.size() && IsBlank(text[start])) ++start;
    std::string replaced(text.substr(0, start));
    replaced.append(value);
    *this = Owning(replaced, Break(), true);
}

// ---------------------------------------------------------------- sections

std::vector<TIniLine>& TIniDocument::LinesOf(const TSection& s) const {
    if (!s.Lines) {
        auto lines = std::make_unique<std::vector<TIniLine>>();
        uint32_t keys = 0;
        ScanBody(s, [&](std::string_view line, TIniLine::TBreak lineBreak, size_t eq) {
            lines->emplace_back(line, lineBreak, eq != std::string_view::npos, eq);
            keys += eq != std::string_view::npos;
        });
        s.Keys = keys;
        s.Lines = std::move(lines);
    }
    return *s.Lines;
}

const TIniLine* TIniDocument::FindKey(const TSection& s, std::string_view key) const {
    const std::vector<TIniLine>& lines = LinesOf(s);
    if (s.Keys > IndexThreshold) {
        auto nameOf = [&lines](uint32_t i) { return lines[i].Key(); };
        if (!s.KeyIndex) {
            s.KeyIndex = std::make_unique<TNameIndex>();
            s.KeyIndex->Reserve(s.Keys);
            for (size_t i = 0; i < lines.size(); ++i)
                if (lines[i].IsKey()) s.KeyIndex->Insert(lines[i].Key(), static_cast<uint32_t>(i), nameOf);
        }
        auto found = s.KeyIndex->Find(key, nameOf);
        return found ? &lines[*found] : nullptr;
    }
    for (const TIniLine& line : lines)
        if (line.IsKey() && SameTextAscii(line.Key(), key)) return &line;
    return nullptr;
}

// ---------------------------------------------------------------- document

TIniDocument::TIniDocument() = default;
TIniDocument::~TIniDocument() = default;
TIniDocument::TIniDocument(TIniDocument&&) noexcept = default;
TIniDocument& TIniDocument::operator=(TIniDocument&&) noexcept = default;

TIniDocument::TIniDocument(const TIniDocument& other)
    : FTextOwner(other.FTextOwner),
      FText(other.FText),
      FAnyCr(other.FAnyCr),
      FPreamble(other.FPreamble),
      FNewBreak(other.FNewBreak) {
    FSections.reserve(other.FSections.size());
    for (const TSection& s : other.FSections) {
        TSection& copy = FSections.emplace_back();
        copy.Header = s.Header;
        copy.NameBegin = s.NameBegin;
        copy.NameLength = s.NameLength;
        copy.BodyBegin = s.BodyBegin;
        copy.BodyEnd = s.BodyEnd;
        copy.Keys = s.Keys;
        if (s.Lines) copy.Lines = std::make_unique<std::vector<TIniLine>>(*s.Lines);
    }
    Reindex();
}

TIniDocument& TIniDocument::operator=(const TIniDocument& other) {
    if (this != &other) *this = TIniDocument(other);
    return *this;
}

void TIniDocument::Reindex() {
    FIndex.Clear();
    FIndex.Reserve(FSections.size());
    for (size_t i = 0; i < FSections.size(); ++i)
        FSections[i].First = FIndex.Insert(FSections[i].Name(), static_cast<uint32_t>(i), SectionName());
}

TIniDocument TIniDocument::Parse(std::string_view text) { return ParseTaking(std::string(text)); }

TIniDocument TIniDocument::ParseTaking(std::string&& text) {
    auto owned = std::make_shared<const std::string>(std::move(text));
    const std::string_view view(*owned);
    return ParseShared(std::move(owned), view);
}

TIniDocument TIniDocument::ParseShared(std::shared_ptr<const void> owner, std::string_view text) {
    TIniDocument doc;
    doc.FTextOwner = std::move(owner);
    doc.FText = text;
    doc.ParseText();
    return doc;
}

void TIniDocument::ParseText() {
    const char* const base = FText.data();
    const size_t size = FText.size();
    FAnyCr = std::memchr(base, '\r', size) != nullptr;
    // Only the last line can lack a break: the first line has the text's
    // first break, if it has any.
    if (size > 0) {
        const TIniLine::TBreak first = ini_detail::NextLine(base, size, 0, FAnyCr).Break;
        if (first != TIniLine::TBreak::None) FNewBreak = first;
    }
    // Room for about as many sections as a data file of that size holds (a
    // reminder's section and list entry take some 250 bytes): a large
    // file's room sits on huge pages, where what is reserved costs as if it
    // were used, and one that holds more only grows the block once.
    FSections.reserve(size / 192 + 16);
    FIndex.Reserve(size / 256);
    // Opens a section when the line at `begin` is a header.
    auto openSection = [&](size_t begin, const ini_detail::TLineEnd& end) {
        const std::string_view line(base + begin, end.Stop - begin);
        const char first = line.empty() ? '\0' : line[0];
        std::string_view name;
        if ((first != '[' && !IsBlank(first)) || !HeaderName(line, name)) return false;
        if (!FSections.empty()) FSections.back().BodyEnd = begin;
        TSection& s = AddSection(TIniLine(line, end.Break, false), static_cast<size_t>(name.data() - line.data()),
                                 name.size());
        s.BodyBegin = s.BodyEnd = end.Next;
        return true;
    };
    size_t pos = 0;
    while (pos < size && FSections.empty()) {
        const ini_detail::TLineEnd end = ini_detail::NextLine(base, size, pos, FAnyCr);
        if (!openSection(pos, end)) FPreamble.emplace_back(std::string_view(base + pos, end.Stop - pos), end.Break, false);
        pos = end.Next;
    }
    // Within sections only the headers are looked for: a header's "[" is
    // the first byte of its line but for blanks, and every CR and LF ends a
    // line, so the lines in between need not be split here.
    auto inLineBlank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
    while (pos < size) {
        const void* found = std::memchr(base + pos, '[', size - pos);
        if (!found) break;
        const size_t bracket = static_cast<size_t>(static_cast<const char*>(found) - base);
        size_t begin = bracket;
        while (begin > 0 && inLineBlank(base[begin - 1])) --begin;
        pos = bracket + 1;
        if (begin > 0 && base[begin - 1] != '\n' && base[begin - 1] != '\r') continue;
        const ini_detail::TLineEnd end = ini_detail::NextLine(base, size, begin, FAnyCr);
        if (openSection(begin, end)) pos = end.Next;
    }
    if (!FSections.empty()) FSections.back().BodyEnd = size;
}

std::string TIniDocument::Serialize() const {
    size_t size = 0;
    auto measure = [&](const TIniLine& line) { size += line.Text().size() + 2; };
    for (const TIniLine& line : FPreamble) measure(line);
    for (const TSection& s : FSections) {
        measure(s.Header);
        if (s.Lines)
            for (const TIniLine& line : *s.Lines) measure(line);
        else
            size += s.BodyEnd - s.BodyBegin + 2;
    }
    std::string out;
    out.reserve(size);
    const std::string_view newBreak = BreakText(FNewBreak);
    // Only the very last line may lack its break; a line that had none
    // (the end of the parsed text) gets one when lines now follow it.
    bool needsBreak = false;
    auto put = [&](const TIniLine& line) {
        if (needsBreak) out.append(newBreak);
        out.append(line.Text());
        out.append(BreakText(line.Break()));
        needsBreak = line.Break() == TIniLine::TBreak::None;
    };
    for (const TIniLine& line : FPreamble) put(line);
    for (const TSection& s : FSections) {
        put(s.Header);
        if (s.Lines) {
            for (const TIniLine& line : *s.Lines) put(line);
            continue;
        }
        // Lines read from the text are the text: the bytes go as they are.
        // Its last line lacks a break only where the text ends without one.
        if (s.BodyEnd == s.BodyBegin) continue;
        if (needsBreak) out.append(newBreak);
        out.append(FText.substr(s.BodyBegin, s.BodyEnd - s.BodyBegin));
        const char last = FText[s.BodyEnd - 1];
        needsBreak = last != '\n' && last != '\r';
    }
    return out;
}

std::string_view TIniDocument::LineBreak() const { return BreakText(FNewBreak); }

void TIniDocument::SetLineBreak(std::string_view lineBreak) {
    FNewBreak = lineBreak == "\r\n" ? TIniLine::TBreak::CrLf
                : lineBreak == "\r" ? TIniLine::TBreak::Cr
                                    : TIniLine::TBreak::Lf;
}

TIniDocument::TSection* TIniDocument::FindSection(std::string_view section) const {
    auto found = FIndex.Find(section, SectionName());
    return found ? const_cast<TSection*>(&FSections[*found]) : nullptr;
}

TIniDocument::TSection* TIniDocument::FindSectionFrom(std::string_view section, size_t& cursor) const {
    // The first section of a name is the one every lookup finds, so the
    // section at the cursor is the answer when it has that name and is
    // the first of it.
    if (cursor < FSections.size()) {
        const TSection& guess = FSections[cursor];
        const std::string_view name = guess.Name();
        // Spelled as the list spells it, nearly always: the bytes first.
        const bool same = name.size() == section.size() &&
                          (SameBytes(name.data(), section.data(), name.size()) || SameTextAscii(name, section));
        if (guess.First && same) {
            ++cursor;
            return const_cast<TSection*>(&guess);
        }
    }
    auto found = FIndex.Find(section, SectionName());
    if (!found) return nullptr;
    cursor = *found + 1;
    return const_cast<TSection*>(&FSections[*found]);
}

TIniDocument::TSection& TIniDocument::AddSection(TIniLine header, size_t nameBegin, size_t nameLength) {
    TSection& s = FSections.emplace_back(std::move(header), static_cast<uint32_t>(nameBegin),
                                         static_cast<uint32_t>(nameLength));
    s.First = FIndex.Insert(s.Name(), static_cast<uint32_t>(FSections.size() - 1), SectionName());
    return s;
}

bool TIniDocument::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

size_t TIniDocument::ReadExactLayout(std::string_view section, size_t& cursor, const std::string_view* keys,
                                     size_t keyCount, std::string_view* values) const {
    if (FAnyCr) return NotThatLayout;
    const size_t start = cursor;
    const TSection* s = FindSectionFrom(section, cursor);
    if (!s || s->Lines) {
        cursor = start;
        return NotThatLayout;
    }
    const char* p = FText.data() + s->BodyBegin;
    const char* const end = FText.data() + s->BodyEnd;
    // The general reading trims blanks around the value: none may be there
    // (every blank is a byte up to ' ').
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' ' && IsBlank(c); };
    size_t n = 0;
    for (; p < end && n < keyCount; ++n) {
        const std::string_view key = keys[n];
        const char* const value = p + key.size() + 1;
        if (value > end || value[-1] != '=' || !SameBytes(p, key.data(), key.size())) break;
        const char* const lf = FindByte(value, end, '\n');
        if (lf > value && (blank(*value) || blank(lf[-1]))) break;
        values[n] = std::string_view(value, static_cast<size_t>(lf - value));
        p = lf < end ? lf + 1 : lf;
    }
    if (p != end) {
        cursor = start;
        return NotThatLayout;
    }
    return n;
}

size_t TIniDocument::KeyCount(std::string_view section) const {
    const TSection* s = FindSection(section);
    if (!s) return 0;
    if (s->Keys == UnknownKeys) {
        uint32_t keys = 0;
        ScanBody(*s, [&](std::string_view, TIniLine::TBreak, size_t eq) { keys += eq != std::string_view::npos; });
        s->Keys = keys;
    }
    return s->Keys;
}

std::optional<std::string_view> TIniDocument::FindRaw(std::string_view section, std::string_view key) const {
    const TSection* s = FindSection(section);
    if (!s) return std::nullopt;
    const TIniLine* line = FindKey(*s, key);
    if (!line) return std::nullopt;
    return line->Value();
}

std::optional<std::string> TIniDocument::Find(std::string_view section, std::string_view key) const {
    auto raw = FindRaw(section, key);
    if (!raw) return std::nullopt;
    return SanitizeUtf8(*raw);
}

std::string TIniDocument::Read(std::string_view section, std::string_view key, std::string_view defaultValue) const {
    auto value = Find(section, key);
    return value ? *value : std::string(defaultValue);
}

std::vector<std::string> TIniDocument::SectionNames() const {
    std::vector<std::string> names;
    names.reserve(FSections.size());
    for (const TSection& s : FSections) names.emplace_back(s.Name());
    return names;
}

std::vector<std::string> TIniDocument::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    const TSection* s = FindSection(section);
    if (!s) return names;
    const std::vector<TIniLine>& lines = LinesOf(*s);
    names.reserve(s->Keys);
    for (const TIniLine& line : lines)
        if (line.IsKey()) names.emplace_back(line.Key());
    return names;
}

bool TIniDocument::Write(std::string_view section, std::string_view key, std::string_view value, bool* changed) {
    if (changed) *changed = false;
    std::string cleanSection = NoLineBreaks(TrimBlanks(section));
    std::string cleanKey = NoLineBreaks(TrimBlanks(key));
    if (cleanSection.empty() || cleanKey.empty() || cleanSection.find(']') != std::string::npos ||
        cleanKey.find('=') != std::string::npos || cleanKey.front() == ';' || cleanKey.front() == '[')
        return false;
    // Stored trimmed, as it will read back from the file.
    std::string cleanValue = NoLineBreaks(TrimBlanks(value));
    TSection* s = FindSection(cleanSection);
    if (!s) {
        s = &AddSection(TIniLine::Owning("[" + cleanSection + "]", FNewBreak, false), 1, cleanSection.size());
        s->Lines = std::make_unique<std::vector<TIniLine>>();
        s->Keys = 0;
    }
    if (TIniLine* line = const_cast<TIniLine*>(FindKey(*s, cleanKey))) {
        // A value that reads as the new one keeps its bytes (a description
        // in a legacy code page must not be re-encoded by an unrelated write).
        std::string_view stored = line->Value();
        if (stored == cleanValue || (!IsValidUtf8(stored) && SanitizeUtf8(stored) == cleanValue)) return true;
        line->SetValue(cleanValue);
    } else {
        std::vector<TIniLine>& lines = LinesOf(*s);
        lines.push_back(TIniLine::Owning(cleanKey + "=" + cleanValue, FNewBreak, true));
        ++s->Keys;
        if (s->KeyIndex)
            s->KeyIndex->Insert(cleanKey, static_cast<uint32_t>(lines.size() - 1),
                                [&lines](uint32_t i) { return lines[i].Key(); });
    }
    if (changed) *changed = true;
    return true;
}

void TIniDocument::EraseSection(std::string_view section) {
    // Every section of that name goes, as a later duplicate would otherwise
    // come back to life.
    if (!FindSection(section)) return;
    std::erase_if(FSections, [&](const TSection& s) { return SameTextAscii(s.Name(), section); });
    Reindex();
}

void TIniDocument::DeleteKey(std::string_view section, std::string_view key) {
    TSection* s = FindSection(section);
    if (!s || !FindKey(*s, key)) return;
    // Every line of the key goes: a duplicate left behind would become the
    // value that counts.
    std::vector<TIniLine>& lines = LinesOf(*s);
    const size_t before = lines.size();
    std::erase_if(lines, [&](const TIniLine& line) { return line.IsKey() && SameTextAscii(line.Key(), key); });
    s->Keys -= static_cast<uint32_t>(before - lines.size());
    s->KeyIndex.reset();
}

void TIniDocument::Clear() {
    FPreamble.clear();
    FSections.clear();
    FIndex.Clear();
    FTextOwner.reset();
    FText = {};
    FAnyCr = false;
}
