// Eight bytes of a name lower-cased at once: ASCII A..Z become a..z, every
// other byte (UTF-8 ones included) stays. The case-insensitive name
// comparisons and hashes of the INI document and the language tables work
// a word at a time with it instead of a byte loop over a lower-cased copy.
#pragma once

#include <cstdint>

inline uint64_t LowerAsciiWord(uint64_t word) {
    constexpr uint64_t Ones = 0x0101010101010101ull;
    constexpr uint64_t HighBits = 0x8080808080808080ull;
    const uint64_t low7 = word & ~HighBits;
    const uint64_t atLeastA = low7 + Ones * (0x80 - 'A');
    const uint64_t aboveZ = low7 + Ones * (0x80 - 'Z' - 1);
    const uint64_t upper = atLeastA & ~aboveZ & ~word & HighBits;
    return word | (upper >> 2);
}
