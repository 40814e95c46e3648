// Copying and filling the short runs of bytes a text table is made of
// (cells of a few dozen bytes, their padding) sixteen bytes at a time,
// without a library call per run. Both may touch up to RunSlack bytes past
// the run: the caller keeps that much room after the source and the target.
#pragma once

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

inline constexpr size_t RunSlack = 16;

// Copies n bytes; reads and writes whole blocks of sixteen.
inline void CopyRun(char* to, const char* from, size_t n) {
    for (size_t done = 0; done < n; done += 16) std::memcpy(to + done, from + done, 16);
}

// Writes n blanks; writes whole blocks of sixteen.
inline void FillBlanks(char* to, size_t n) {
    for (size_t done = 0; done < n; done += 16) std::memset(to + done, ' ', 16);
}

// Whether all n bytes are printable ASCII (0x20 .. 0x7E); reads whole
// blocks of sixteen.
inline bool PrintableRun(const char* p, size_t n) {
#if defined(__SSE2__)
    const __m128i below = _mm_set1_epi8(0x20), del = _mm_set1_epi8(0x7F);
    for (size_t done = 0; done < n; done += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + done));
        // Bytes from 0x80 up are negative, so below 0x20 as well.
        const __m128i bad = _mm_or_si128(_mm_cmplt_epi8(v, below), _mm_cmpeq_epi8(v, del));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(bad));
        if (n - done < 16) mask &= (1u << (n - done)) - 1;
        if (mask != 0) return false;
    }
    return true;
#else
    for (size_t i = 0; i < n; ++i)
        if (p[i] < 0x20 || p[i] >= 0x7F) return false;
    return true;
#endif
}
