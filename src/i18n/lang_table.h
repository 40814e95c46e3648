// One language file held in memory for fast lookups. Sections and keys are
// compared without regard to (ASCII) letter case, as the files are written
// by hand and the program asks with ".Caption" and ".caption" alike; the
// lookup neither allocates nor copies its arguments, because every caption
// and hint of every window goes through it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TLangTable {
public:
    // File bytes in any accepted encoding: UTF-16LE or UTF-8 with a
    // byte-order mark, or no mark (UTF-8, stray bytes read as Latin-1).
    // The reading rules are TIniDocument's: when a section or key occurs
    // twice, the first one counts.
    static TLangTable FromBytes(std::string_view bytes);

    // The value of (section, key); null when the key is missing or its value
    // is empty, as an empty text counts as no translation.
    const std::string* Find(std::string_view section, std::string_view key) const;

private:
    struct TEntry {
        uint64_t Hash;
        std::string Section;
        std::string Key;
        std::string Value;
    };
    const TEntry* FindEntry(uint64_t hash, std::string_view section, std::string_view key) const;
    void Add(std::string section, std::string key, std::string value);

    // Open addressing over (section, key): FSlots holds indexes into
    // FEntries (or Empty), sized to a power of two at most half full; the
    // stored hash settles almost every mismatch without comparing names.
    static constexpr uint32_t Empty = UINT32_MAX;
    std::vector<TEntry> FEntries;
    std::vector<uint32_t> FSlots;
};
