#include "platform/ini_document.h"

#include <algorithm>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string NoLineBreaks(std::string_view text) {
    std::string out(text);
    std::replace_if(out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return out;
}

// Sections with few keys are searched linearly; larger ones (the reminder
// list holds one key per reminder) keep a hash index.
constexpr size_t IndexThreshold = 16;

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

struct TIniDocument::TSection {
    struct TLine {
        bool IsKey = false;
        bool Deleted = false;
        std::string Key;    // for keys
        std::string Value;  // for keys: the value; else the raw line
    };
    std::string Name;
    std::vector<TLine> Lines;
    size_t Keys = 0;
    TAsciiCaseMap<size_t> KeyIndex;  // key -> first line; kept only for large sections
    bool Indexed = false;
    // The section as text, kept between writes: a change to one reminder
    // then renders one small section instead of the whole file.
    mutable std::string Rendered;
    mutable bool RenderedValid = false;

    const std::string& Render(const std::string& lineBreak) const {
        if (RenderedValid) return Rendered;
        Rendered.clear();
        Rendered.append("[").append(Name).append("]").append(lineBreak);
        for (const auto& l : Lines) {
            if (l.Deleted) continue;
            if (l.IsKey) Rendered.append(l.Key).append("=");
            Rendered.append(l.Value).append(lineBreak);
        }
        RenderedValid = true;
        return Rendered;
    }

    const TLine* FindKey(std::string_view key) const {
        if (Indexed) {
            auto it = KeyIndex.find(key);
            return it == KeyIndex.end() ? nullptr : &Lines[it->second];
        }
        for (const TLine& line : Lines)
            if (line.IsKey && !line.Deleted && SameTextAscii(line.Key, key)) return &line;
        return nullptr;
    }
    TLine* FindKey(std::string_view key) {
        return const_cast<TLine*>(static_cast<const TSection*>(this)->FindKey(key));
    }
    void BuildIndex() {
        KeyIndex.clear();
        for (size_t i = 0; i < Lines.size(); ++i)
            if (Lines[i].IsKey && !Lines[i].Deleted) KeyIndex.try_emplace(Lines[i].Key, i);
        Indexed = true;
    }
    void AddKey(std::string key, std::string value) {
        RenderedValid = false;
        Lines.push_back({true, false, std::move(key), std::move(value)});
        ++Keys;
        if (Indexed)
            KeyIndex.try_emplace(Lines.back().Key, Lines.size() - 1);
        else if (Keys > IndexThreshold)
            BuildIndex();
    }
    void RemoveKey(std::string_view key) {
        TLine* line = FindKey(key);
        if (!line) return;
        RenderedValid = false;
        line->Deleted = true;
        --Keys;
        if (Indexed) {
            // A later duplicate of the key, if any, becomes the one that counts.
            BuildIndex();
        }
    }
};

TIniDocument::TIniDocument() = default;
TIniDocument::~TIniDocument() = default;
TIniDocument::TIniDocument(TIniDocument&&) noexcept = default;
TIniDocument& TIniDocument::operator=(TIniDocument&&) noexcept = default;

TIniDocument::TIniDocument(const TIniDocument& other)
    : FPreamble(other.FPreamble), FLineBreak(other.FLineBreak) {
    for (const auto& s : other.FSections) FSections.push_back(std::make_unique<TSection>(*s));
    Reindex();
}

TIniDocument& TIniDocument::operator=(const TIniDocument& other) {
    if (this != &other) *this = TIniDocument(other);
    return *this;
}

void TIniDocument::Reindex() {
    FIndex.clear();
    for (const auto& s : FSections) FIndex.try_emplace(s->Name, s.get());
}

TIniDocument TIniDocument::Parse(std::string_view text) {
    TIniDocument doc;
    size_t firstLf = text.find('\n');
    if (firstLf != std::string_view::npos && firstLf > 0 && text[firstLf - 1] == '\r') doc.FLineBreak = "\r\n";

    TSection* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        std::string_view trimmed = TrimBlanks(line);
        if (trimmed.size() >= 2 && trimmed.front() == '[') {
            size_t close = trimmed.find(']');
            if (close != std::string_view::npos) {
                current = &doc.AddSection(TrimBlanks(trimmed.substr(1, close - 1)));
                continue;
            }
        }
        if (!current) {
            doc.FPreamble.emplace_back(line);
            continue;
        }
        size_t eq = trimmed.find('=');
        std::string_view key = eq == std::string_view::npos ? std::string_view{} : TrimBlanks(trimmed.substr(0, eq));
        if (trimmed.empty() || trimmed.front() == ';' || key.empty()) {
            current->RenderedValid = false;
            current->Lines.push_back({false, false, {}, std::string(line)});
            continue;
        }
        current->AddKey(std::string(key), std::string(TrimBlanks(trimmed.substr(eq + 1))));
    }
    return doc;
}

std::string TIniDocument::Serialize() const {
    size_t size = 0;
    for (const std::string& line : FPreamble) size += line.size() + FLineBreak.size();
    for (const auto& s : FSections) size += s->Render(FLineBreak).size();
    std::string out;
    out.reserve(size);
    for (const std::string& line : FPreamble) out.append(line).append(FLineBreak);
    for (const auto& s : FSections) out.append(s->Rendered);
    return out;
}

void TIniDocument::SetLineBreak(std::string lineBreak) {
    FLineBreak = std::move(lineBreak);
    for (const auto& s : FSections) s->RenderedValid = false;
}

TIniDocument::TSection* TIniDocument::FindSection(std::string_view section) const {
    auto it = FIndex.find(section);
    return it == FIndex.end() ? nullptr : it->second;
}

TIniDocument::TSection& TIniDocument::AddSection(std::string_view name) {
    FSections.push_back(std::make_unique<TSection>());
    TSection& s = *FSections.back();
    s.Name = std::string(name);
    FIndex.try_emplace(s.Name, &s);
    return s;
}

bool TIniDocument::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

size_t TIniDocument::KeyCount(std::string_view section) const {
    const TSection* s = FindSection(section);
    return s ? s->Keys : 0;
}

std::optional<std::string> TIniDocument::Find(std::string_view section, std::string_view key) const {
    const TSection* s = FindSection(section);
    if (!s) return std::nullopt;
    const TSection::TLine* line = s->FindKey(key);
    if (!line) return std::nullopt;
    return line->Value;
}

std::string TIniDocument::Read(std::string_view section, std::string_view key, std::string_view defaultValue) const {
    auto value = Find(section, key);
    return value ? *value : std::string(defaultValue);
}

std::vector<std::string> TIniDocument::SectionNames() const {
    std::vector<std::string> names;
    names.reserve(FSections.size());
    for (const auto& s : FSections) names.push_back(s->Name);
    return names;
}

std::vector<std::string> TIniDocument::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    const TSection* s = FindSection(section);
    if (!s) return names;
    names.reserve(s->Keys);
    for (const auto& l : s->Lines)
        if (l.IsKey && !l.Deleted) names.push_back(l.Key);
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
    if (!s) s = &AddSection(cleanSection);
    if (TSection::TLine* line = s->FindKey(cleanKey)) {
        if (line->Value == cleanValue) return true;
        line->Value = std::move(cleanValue);
        s->RenderedValid = false;
    } else {
        s->AddKey(std::move(cleanKey), std::move(cleanValue));
    }
    if (changed) *changed = true;
    return true;
}

void TIniDocument::EraseSection(std::string_view section) {
    // Every section of that name goes, as a later duplicate would otherwise
    // come back to life.
    if (!FindSection(section)) return;
    std::erase_if(FSections, [&](const auto& s) { return SameTextAscii(s->Name, section); });
    FIndex.erase(FIndex.find(section));
}

void TIniDocument::DeleteKey(std::string_view section, std::string_view key) {
    if (TSection* s = FindSection(section)) s->RemoveKey(key);
}

void TIniDocument::Clear() {
    FPreamble.clear();
    FSections.clear();
    FIndex.clear();
}
