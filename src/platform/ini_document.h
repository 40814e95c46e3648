// An INI text held in memory: ordered sections, ordered keys, names compared
// without regard to (ASCII) letter case. Lines it does not understand
// (comments, blank lines, text before the first section) are kept and written
// back unchanged, so a round trip does not lose what a person typed.
//
// Reading rules: "[name]" opens a section; "key=value" holds a key, the value
// being everything after the first "="; blanks around key and value are
// ignored; lines beginning with ";" are comments. When a section or key occurs
// twice, the first one counts.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

class TIniDocument {
public:
    TIniDocument();
    ~TIniDocument();
    TIniDocument(const TIniDocument& other);
    TIniDocument& operator=(const TIniDocument& other);
    TIniDocument(TIniDocument&&) noexcept;
    TIniDocument& operator=(TIniDocument&&) noexcept;

    // Parses UTF-8 text (see text_codec for decoding file bytes); remembers
    // whether lines ended in CR LF so that writing keeps the file's style.
    static TIniDocument Parse(std::string_view text);
    std::string Serialize() const;
    const std::string& LineBreak() const { return FLineBreak; }
    void SetLineBreak(std::string lineBreak);

    bool HasSection(std::string_view section) const;
    // Number of keys the (first) section of that name holds; 0 when absent.
    size_t KeyCount(std::string_view section) const;
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string Read(std::string_view section, std::string_view key, std::string_view defaultValue = {}) const;
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

    // Sets a value; a new section is added at the end of the document, a new
    // key at the end of its section. Line breaks in any argument would split
    // the line and corrupt the file, so they are replaced by blanks; a key
    // containing "=" or a section name containing "]" is refused (false).
    // `changed` (when given) tells whether the document differs afterwards.
    bool Write(std::string_view section, std::string_view key, std::string_view value, bool* changed = nullptr);
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view key);
    void Clear();

private:
    struct TSection;
    TSection* FindSection(std::string_view section) const;
    TSection& AddSection(std::string_view name);
    void Reindex();

    std::vector<std::string> FPreamble;                // lines before the first section
    std::vector<std::unique_ptr<TSection>> FSections;  // erased ones are removed
    TAsciiCaseMap<TSection*> FIndex;                   // name -> first section of that name
    std::string FLineBreak = "\n";
};

// ASCII lower case, as section and key names are compared.
std::string AsciiLower(std::string_view text);
bool SameTextAscii(std::string_view a, std::string_view b);
std::string_view TrimBlanks(std::string_view text);
