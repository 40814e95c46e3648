#include "i18n/lang_table.h"

#include <cstring>

#include "platform/ascii_word.h"
#include "platform/ini_document.h"
#include "platform/text_codec.h"

namespace {

// Names are hashed and compared eight bytes at a time, each word
// lower-cased in place, instead of a byte loop over a lower-cased copy.
// The lower-cased word at `offset`; bytes past the end read as zero. A
// short tail is taken from the file's last eight bytes (or built byte by
// byte in a register) rather than copied into a zeroed word: reading back
// a partly written word stalls the processor for longer than the hash takes.
inline uint64_t LowerWordAt(std::string_view text, size_t offset) {
    uint64_t word = 0;
    const size_t left = text.size() - offset;
    if (left >= 8) {
        std::memcpy(&word, text.data() + offset, 8);
    } else if (text.size() >= 8) {
        std::memcpy(&word, text.data() + text.size() - 8, 8);
        word >>= 8 * (8 - left);  // little-endian: the wanted bytes are the high ones
    } else {
        for (size_t i = 0; i < left; ++i) word |= uint64_t(static_cast<unsigned char>(text[offset + i])) << (8 * i);
    }
    return LowerAsciiWord(word);
}

inline uint64_t Mix(uint64_t hash, uint64_t word) {
    hash ^= word;
    hash *= 0xFF51AFD7ED558CCDull;
    return hash ^ (hash >> 29);
}

uint64_t HashName(uint64_t seed, std::string_view name) {
    uint64_t hash = Mix(seed, name.size());
    for (size_t offset = 0; offset < name.size(); offset += 8) hash = Mix(hash, LowerWordAt(name, offset));
    return hash;
}

uint64_t HashPair(std::string_view section, std::string_view key) {
    return HashName(HashName(0x9E3779B97F4A7C15ull, section), key);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t offset = 0; offset < a.size(); offset += 8)
        if (LowerWordAt(a, offset) != LowerWordAt(b, offset)) return false;
    return true;
}

}  // namespace

TLangTable TLangTable::FromBytes(std::string_view bytes) {
    // The document parser owns the line rules (comments, blanks, the first
    // of two equal sections or keys counts); the table indexes what it found.
    const TIniDocument document = TIniDocument::Parse(DecodeText(bytes).Text);
    TLangTable table;
    size_t count = 0;
    for (const std::string& section : document.SectionNames()) count += document.KeyCount(section);
    size_t slots = 16;
    while (slots < 2 * count) slots *= 2;
    table.FSlots.assign(slots, Empty);
    table.FEntries.reserve(count);
    for (const std::string& section : document.SectionNames())
        for (const std::string& key : document.KeyNames(section))
            table.Add(section, key, document.Read(section, key));
    return table;
}

void TLangTable::Add(std::string section, std::string key, std::string value) {
    const uint64_t hash = HashPair(section, key);
    if (FindEntry(hash, section, key)) return;  // already there: the first one counts
    const size_t mask = FSlots.size() - 1;
    size_t slot = hash & mask;
    while (FSlots[slot] != Empty) slot = (slot + 1) & mask;
    FSlots[slot] = static_cast<uint32_t>(FEntries.size());
    FEntries.push_back({hash, std::move(section), std::move(key), std::move(value)});
}

const TLangTable::TEntry* TLangTable::FindEntry(uint64_t hash, std::string_view section, std::string_view key) const {
    if (FSlots.empty()) return nullptr;
    const size_t mask = FSlots.size() - 1;
    for (size_t slot = hash & mask; FSlots[slot] != Empty; slot = (slot + 1) & mask) {
        const TEntry& entry = FEntries[FSlots[slot]];
        if (entry.Hash == hash && SameName(entry.Key, key) && SameName(entry.Section, section)) return &entry;
    }
    return nullptr;
}

const std::string* TLangTable::Find(std::string_view section, std::string_view key) const {
    const TEntry* entry = FindEntry(HashPair(section, key), section, key);
    return entry && !entry->Value.empty() ? &entry->Value : nullptr;
}
