// Eight bytes of a name lower-cased at once: ASCII A..Z become a..z, every
// other byte (UTF-8 ones included) stays. The case-insensitive name
// comparisons and hashes of the INI document and the language tables work
// a word at a time with it instead of a byte loop over a lower-cased copy.
#pragma once

#include <cstddef>
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

// Where the first byte `c` stands in [p, end), or end: eight bytes at a time
// (a word holds `c` where word ^ c has a zero byte), for the short values
// of a data file's lines, where a library call costs more than the search.
inline const char* FindByte(const char* p, const char* end, char c) {
    const char* const start = p;
    constexpr uint64_t Ones = 0x0101010101010101ull;
    constexpr uint64_t HighBits = 0x8080808080808080ull;
    const uint64_t pattern = Ones * static_cast<unsigned char>(c);
    for (; end - p >= 8; p += 8) {
        uint64_t word;
        __builtin_memcpy(&word, p, 8);
        const uint64_t x = word ^ pattern;
        const uint64_t zero = (x - Ones) & ~x & HighBits;
        if (zero != 0) {
            // The lowest flagged byte is the first match (the flags above
            // it may be false, never below).
            if constexpr (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__) return p + (__builtin_ctzll(zero) >> 3);
            for (int k = 0; k < 8; ++k)
                if (p[k] == c) return p + k;
        }
    }
    if (p == end) return end;
    if constexpr (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__) {
        // The last bytes as the end of a word that began before them, when
        // the run is that long: the bytes before were searched already and
        // hold no match, so no false flag can come from them either.
        if (end - start >= 8) {
            uint64_t word;
            __builtin_memcpy(&word, end - 8, 8);
            const uint64_t x = word ^ pattern;
            const uint64_t zero = (x - Ones) & ~x & HighBits;
            return zero != 0 ? end - 8 + (__builtin_ctzll(zero) >> 3) : end;
        }
    }
    for (; p < end; ++p)
        if (*p == c) return p;
    return end;
}

// Whether n bytes at a and b are the same, for sizeof(TWord) <= n <= 2 *
// sizeof(TWord): the first and the last word of each, which overlap.
template <typename TWord>
inline bool SameWordEnds(const char* a, const char* b, size_t n) {
    TWord a1, a2, b1, b2;
    __builtin_memcpy(&a1, a, sizeof(TWord));
    __builtin_memcpy(&b1, b, sizeof(TWord));
    __builtin_memcpy(&a2, a + n - sizeof(TWord), sizeof(TWord));
    __builtin_memcpy(&b2, b + n - sizeof(TWord), sizeof(TWord));
    return ((a1 ^ b1) | (a2 ^ b2)) == 0;
}

// Whether n bytes at a and b are the same; for short names (up to 16
// bytes) two word loads each, a library call beyond.
inline bool SameBytes(const char* a, const char* b, size_t n) {
    if (n >= 8 && n <= 16) return SameWordEnds<uint64_t>(a, b, n);
    if (n >= 4 && n < 8) return SameWordEnds<uint32_t>(a, b, n);
    return __builtin_memcmp(a, b, n) == 0;
}

// The two decimal digits of 0..99, written as one copy from a table: every
// moment shown or named is written two digits at a time.
inline char* PutTwoDigits(char* p, unsigned value) {
    static constexpr char Pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    __builtin_memcpy(p, Pairs + 2 * value, 2);
    return p + 2;
}
