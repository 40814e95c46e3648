#include "platform/ini_document.h"

#include <algorithm>
#include <cstring>

#include "platform/text_codec.h"

namespace {

// Blank, tab, line feed, vertical tab, form feed, carriage return.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

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

// Whether a line holds a key: not a comment, an "=" with a key before it.
bool IsKeyLine(std::string_view text) {
    size_t b = 0;
    while (b < text.size() && IsBlank(text[b])) ++b;
    if (b == text.size() || text[b] == ';' || text[b] == '=') return false;
    size_t eq = text.find('=', b);
    // Something other than blanks stands before the "=": text[b] itself.
    return eq != std::string_view::npos;
}

// A section header: "[name]" after optional blanks; text after the "]"
// stays part of the line.
bool HeaderName(std::string_view text, std::string_view& name) {
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

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x == y) continue;
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

// ---------------------------------------------------------------- lines

TIniLine::TIniLine(std::string_view view, TBreak lineBreak, bool isKey)
    : FData(view.data()), FLength(static_cast<uint32_t>(view.size())), FBreak(lineBreak), FIsKey(isKey) {}

TIniLine TIniLine::Owning(std::string_view text, TBreak lineBreak, bool isKey) {
    TIniLine line;
    char* data = new char[text.size() + 1];
    std::memcpy(data, text.data(), text.size());
    data[text.size()] = '\0';
    line.FData = data;
    line.FLength = static_cast<uint32_t>(text.size());
    line.FBreak = lineBreak;
    line.FIsKey = isKey;
    line.FOwned = true;
    return line;
}

TIniLine::TIniLine(const TIniLine& other) : FBreak(other.FBreak), FIsKey(other.FIsKey) {
    if (other.FOwned)
        *this = Owning(other.Text(), other.FBreak, other.FIsKey);
    else {
        FData = other.FData;
        FLength = other.FLength;
    }
}

TIniLine& TIniLine::operator=(const TIniLine& other) {
    if (this != &other) *this = TIniLine(other);
    return *this;
}

TIniLine::TIniLine(TIniLine&& other) noexcept
    : FData(other.FData), FLength(other.FLength), FBreak(other.FBreak), FIsKey(other.FIsKey), FOwned(other.FOwned) {
    other.FOwned = false;
    other.FData = "";
    other.FLength = 0;
}

TIniLine& TIniLine::operator=(TIniLine&& other) noexcept {
    if (this != &other) {
        Release();
        FData = other.FData;
        FLength = other.FLength;
        FBreak = other.FBreak;
        FIsKey = other.FIsKey;
        FOwned = other.FOwned;
        other.FOwned = false;
        other.FData = "";
        other.FLength = 0;
    }
    return *this;
}

TIniLine::~TIniLine() { Release(); }

void TIniLine::Release() {
    if (FOwned) delete[] FData;
    FOwned = false;
}

std::string_view TIniLine::Key() const {
    std::string_view text = Text();
    return TrimBlanks(text.substr(0, text.find('=')));
}

std::string_view TIniLine::Value() const {
    std::string_view key, value;
    Split(key, value);
    return value;
}

void TIniLine::Split(std::string_view& key, std::string_view& value) const {
    std::string_view text = Text();
    size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
        key = TrimBlanks(text);
        value = {};
        return;
    }
    key = TrimBlanks(text.substr(0, eq));
    value = TrimBlanks(text.substr(eq + 1));
}

void TIniLine::SetValue(std::string_view value) {
    std::string_view text = Text();
    size_t start = text.find('=') + 1;
    while (start < text.size() && IsBlank(text[start])) ++start;
    std::string replaced(text.substr(0, start));
    replaced.append(value);
    *this = Owning(replaced, FBreak, true);
}

// ---------------------------------------------------------------- sections

const TIniLine* TIniDocument::TSection::FindKey(std::string_view key) const {
    if (Keys > IndexThreshold) {
        auto nameOf = [this](uint32_t i) { return Lines[i].Key(); };
        if (!KeyIndex) {
            KeyIndex = std::make_unique<TNameIndex>();
            KeyIndex->Reserve(Keys);
            for (size_t i = 0; i < Lines.size(); ++i)
                if (Lines[i].IsKey()) KeyIndex->Insert(Lines[i].Key(), static_cast<uint32_t>(i), nameOf);
        }
        auto found = KeyIndex->Find(key, nameOf);
        return found ? &Lines[*found] : nullptr;
    }
    for (const TIniLine& line : Lines)
        if (line.IsKey() && SameTextAscii(line.Key(), key)) return &line;
    return nullptr;
}

TIniLine* TIniDocument::TSection::FindKey(std::string_view key) {
    return const_cast<TIniLine*>(static_cast<const TSection*>(this)->FindKey(key));
}

// ---------------------------------------------------------------- document

TIniDocument::TIniDocument() = default;
TIniDocument::~TIniDocument() = default;
TIniDocument::TIniDocument(TIniDocument&&) noexcept = default;
TIniDocument& TIniDocument::operator=(TIniDocument&&) noexcept = default;

TIniDocument::TIniDocument(const TIniDocument& other)
    : FText(other.FText), FPreamble(other.FPreamble), FNewBreak(other.FNewBreak) {
    for (const TSection& s : other.FSections) {
        TSection& copy = FSections.emplace_back();
        copy.Name = s.Name;
        copy.Header = s.Header;
        copy.Lines = s.Lines;
        copy.Keys = s.Keys;
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
    for (size_t i = 0; i < FSections.size(); ++i) FIndex.Insert(FSections[i].Name, static_cast<uint32_t>(i), SectionName());
}

TIniDocument TIniDocument::Parse(std::string_view text) { return ParseTaking(std::string(text)); }

TIniDocument TIniDocument::ParseTaking(std::string&& text) {
    TIniDocument doc;
    doc.FText = std::make_shared<const std::string>(std::move(text));
    doc.ParseText();
    return doc;
}

void TIniDocument::ParseText() {
    const std::string& text = *FText;
    bool breakSeen = false;
    // Most files hold no CR at all (or only in CR LF pairs), so each line
    // then needs one search instead of two.
    const bool anyCr = text.find('\r') != std::string::npos;
    // A section's lines gather here and move into an exactly sized vector
    // when the section ends: a large file then costs one allocation per
    // section rather than several.
    std::vector<TIniLine> pending;
    TSection* current = nullptr;
    auto closeSection = [&] {
        if (!current) return;
        current->Lines.reserve(pending.size());
        std::move(pending.begin(), pending.end(), std::back_inserter(current->Lines));
        pending.clear();
    };
    FIndex.Reserve(text.size() / 256);
    const std::string_view all(text);
    for (size_t pos = 0; pos < all.size();) {
        const size_t lf = all.find('\n', pos);
        size_t stop = lf == std::string_view::npos ? all.size() : lf;
        size_t cr = std::string_view::npos;
        if (anyCr) {
            // The first CR of the line, searched within the line only. CR LF
            // is the usual case: the CR is then the byte before the LF.
            const bool pair = lf != std::string_view::npos && lf > pos && all[lf - 1] == '\r';
            const size_t inLine = all.substr(pos, (pair ? lf - 1 : stop) - pos).find('\r');
            cr = inLine != std::string_view::npos ? pos + inLine : pair ? lf - 1 : std::string_view::npos;
        }
        TIniLine::TBreak lineBreak = TIniLine::TBreak::None;
        size_t next = all.size();
        if (cr != std::string_view::npos && lf != std::string_view::npos && cr + 1 == lf) {
            stop = cr;
            lineBreak = TIniLine::TBreak::CrLf;
            next = lf + 1;
        } else if (cr != std::string_view::npos) {
            stop = cr;
            lineBreak = TIniLine::TBreak::Cr;
            next = cr + 1;
        } else if (lf != std::string_view::npos) {
            lineBreak = TIniLine::TBreak::Lf;
            next = lf + 1;
        }
        if (!breakSeen && lineBreak != TIniLine::TBreak::None) {
            FNewBreak = lineBreak;
            breakSeen = true;
        }
        const std::string_view line = all.substr(pos, stop - pos);
        pos = next;

        std::string_view name;
        if (HeaderName(line, name)) {
            closeSection();
            current = &AddSection(name, TIniLine(line, lineBreak, false));
            continue;
        }
        if (!current) {
            FPreamble.emplace_back(line, lineBreak, false);
            continue;
        }
        const bool isKey = IsKeyLine(line);
        pending.emplace_back(line, lineBreak, isKey);
        if (isKey) ++current->Keys;
    }
    closeSection();
}

std::string TIniDocument::Serialize() const {
    size_t size = 0;
    auto measure = [&](const TIniLine& line) { size += line.Text().size() + 2; };
    for (const TIniLine& line : FPreamble) measure(line);
    for (const TSection& s : FSections) {
        measure(s.Header);
        for (const TIniLine& line : s.Lines) measure(line);
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
        for (const TIniLine& line : s.Lines) put(line);
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

TIniDocument::TSection& TIniDocument::AddSection(std::string_view name, TIniLine header) {
    TSection& s = FSections.emplace_back();
    s.Name = std::string(name);
    s.Header = std::move(header);
    FIndex.Insert(s.Name, static_cast<uint32_t>(FSections.size() - 1), SectionName());
    return s;
}

bool TIniDocument::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

size_t TIniDocument::KeyCount(std::string_view section) const {
    const TSection* s = FindSection(section);
    return s ? s->Keys : 0;
}

std::optional<std::string_view> TIniDocument::FindRaw(std::string_view section, std::string_view key) const {
    const TSection* s = FindSection(section);
    if (!s) return std::nullopt;
    const TIniLine* line = s->FindKey(key);
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
    for (const TSection& s : FSections) names.push_back(s.Name);
    return names;
}

std::vector<std::string> TIniDocument::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    const TSection* s = FindSection(section);
    if (!s) return names;
    names.reserve(s->Keys);
    for (const TIniLine& line : s->Lines)
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
    if (!s) s = &AddSection(cleanSection, TIniLine::Owning("[" + cleanSection + "]", FNewBreak, false));
    if (TIniLine* line = s->FindKey(cleanKey)) {
        // A value that reads as the new one keeps its bytes (a description
        // in a legacy code page must not be re-encoded by an unrelated write).
        std::string_view stored = line->Value();
        if (stored == cleanValue || (!IsValidUtf8(stored) && SanitizeUtf8(stored) == cleanValue)) return true;
        line->SetValue(cleanValue);
    } else {
        s->Lines.push_back(TIniLine::Owning(cleanKey + "=" + cleanValue, FNewBreak, true));
        ++s->Keys;
        if (s->KeyIndex)
            s->KeyIndex->Insert(cleanKey, static_cast<uint32_t>(s->Lines.size() - 1),
                                [s](uint32_t i) { return s->Lines[i].Key(); });
    }
    if (changed) *changed = true;
    return true;
}

void TIniDocument::EraseSection(std::string_view section) {
    // Every section of that name goes, as a later duplicate would otherwise
    // come back to life.
    if (!FindSection(section)) return;
    std::erase_if(FSections, [&](const TSection& s) { return SameTextAscii(s.Name, section); });
    Reindex();
}

void TIniDocument::DeleteKey(std::string_view section, std::string_view key) {
    TSection* s = FindSection(section);
    if (!s || !s->FindKey(key)) return;
    // Every line of the key goes: a duplicate left behind would become the
    // value that counts.
    const size_t before = s->Lines.size();
    std::erase_if(s->Lines, [&](const TIniLine& line) { return line.IsKey() && SameTextAscii(line.Key(), key); });
    s->Keys -= before - s->Lines.size();
    s->KeyIndex.reset();
}

void TIniDocument::Clear() {
    FPreamble.clear();
    FSections.clear();
    FIndex.Clear();
    FText.reset();
}
