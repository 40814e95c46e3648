// An index from names (ASCII letter case ignored) to small numbers: flat and
// open-addressed, so a lookup touches one or two adjacent slots instead of a
// chain of nodes. The names stay with their owner; the index keeps only
// their hashes and asks the owner for a name when a hash matches. Loading a
// large data file looks up every reminder's section through one of these.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

// ASCII letter case ignored (defined with the INI document).
bool SameTextAscii(std::string_view a, std::string_view b);

class TNameIndex {
public:
    static uint32_t HashOf(std::string_view name) {
        // The lower-cased bytes eight at a time (the last word ends with
        // the name; a short name is one zero-padded word), mixed by
        // multiplication: names equal but for ASCII case hash alike.
        const size_t n = name.size();
        uint64_t hash = 0x9E3779B97F4A7C15ull ^ n;
        auto mix = [&hash](uint64_t word) {
            hash = (hash ^ LowerWord(word)) * 0xFF51AFD7ED558CCDull;
            hash ^= hash >> 32;
        };
        if (n >= 8) {
            for (size_t i = 0; i + 8 < n; i += 8) mix(WordAt(name.data() + i));
            mix(WordAt(name.data() + n - 8));
        } else {
            uint64_t word = 0;
            for (size_t i = 0; i < n; ++i) word |= uint64_t(static_cast<unsigned char>(name[i])) << (8 * i);
            mix(word);
        }
        return static_cast<uint32_t>(hash);
    }

    void Clear() {
        FSlots.clear();
        FCount = 0;
    }
    size_t Size() const { return FCount; }
    void Reserve(size_t count) {
        if (count * 2 > FSlots.size()) Rehash(count * 2);
    }

    // Adds the value under the name unless the name is there already (the
    // first one counts). nameOf(value) gives the name a stored value stands for.
    template <typename TNameOf>
    bool Insert(std::string_view name, uint32_t value, TNameOf&& nameOf) {
        Reserve(FCount + 1);
        const uint32_t hash = HashOf(name);
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            TSlot& slot = FSlots[i];
            if (slot.Value == Free) {
                slot = {hash, value};
                ++FCount;
                return true;
            }
            if (slot.Hash == hash && SameName(nameOf(slot.Value), name)) return false;
        }
    }

    template <typename TNameOf>
    std::optional<uint32_t> Find(std::string_view name, TNameOf&& nameOf) const {
        if (FSlots.empty()) return std::nullopt;
        const uint32_t hash = HashOf(name);
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            const TSlot& slot = FSlots[i];
            if (slot.Value == Free) return std::nullopt;
            if (slot.Hash == hash && SameName(nameOf(slot.Value), name)) return slot.Value;
        }
    }

private:
    static uint64_t WordAt(const char* p) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        return word;
    }
    // ASCII A..Z of eight bytes become a..z; other bytes stay.
    static uint64_t LowerWord(uint64_t word) {
        constexpr uint64_t Ones = 0x0101010101010101ull, HighBits = 0x8080808080808080ull;
        const uint64_t low7 = word & ~HighBits;
        const uint64_t atLeastA = low7 + Ones * (0x80 - 'A');
        const uint64_t aboveZ = low7 + Ones * (0x80 - 'Z' - 1);
        return word | ((atLeastA & ~aboveZ & ~word & HighBits) >> 2);
    }

    static constexpr uint32_t Free = UINT32_MAX;
    struct TSlot {
        uint32_t Hash = 0;
        uint32_t Value = Free;
    };

    static bool SameName(std::string_view a, std::string_view b) { return SameTextAscii(a, b); }
    size_t Mask() const { return FSlots.size() - 1; }
    void Rehash(size_t minimum) {
        size_t size = 16;
        while (size < minimum) size *= 2;
        std::vector<TSlot> old(size);
        old.swap(FSlots);
        for (const TSlot& slot : old) {
            if (slot.Value == Free) continue;
            size_t i = slot.Hash & Mask();
            while (FSlots[i].Value != Free) i = (i + 1) & Mask();
            FSlots[i] = slot;
        }
    }

    std::vector<TSlot> FSlots;  // a power of two in size, at most half full
    size_t FCount = 0;
};
