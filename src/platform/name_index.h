// An index from names (ASCII letter case ignored) to small numbers: flat and
// open-addressed, so a lookup touches one or two adjacent slots instead of a
// chain of nodes. The names stay with their owner; the index keeps only
// their hashes and asks the owner for a name when a hash matches. Loading a
// large data file looks up every reminder's section through one of these.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// ASCII letter case ignored (defined with the INI document).
bool SameTextAscii(std::string_view a, std::string_view b);

class TNameIndex {
public:
    static uint32_t HashOf(std::string_view name) {
        // FNV-1a over the lower-cased bytes.
        uint32_t hash = 2166136261u;
        for (char c : name) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        }
        return hash;
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
