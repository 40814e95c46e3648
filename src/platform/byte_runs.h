// Copying and filling the short runs of bytes a text table is made of
// (cells of a few dozen bytes, their padding) sixteen bytes at a time,
// without a library call per run. Both may touch up to RunSlack bytes past
// the run: the caller keeps that much room after the source and the target.
#pragma once

#include <cstddef>
#include <cstring>

inline constexpr size_t RunSlack = 16;

// Copies n bytes; reads and writes whole blocks of sixteen.
inline void CopyRun(char* to, const char* from, size_t n) {
    for (size_t done = 0; done < n; done += 16) std::memcpy(to + done, from + done, 16);
}

// Writes n blanks; writes whole blocks of sixteen.
inline void FillBlanks(char* to, size_t n) {
    for (size_t done = 0; done < n; done += 16) std::memset(to + done, ' ', 16);
}
