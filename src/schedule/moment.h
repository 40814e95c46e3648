// Comparing moments as whole milliseconds. Date-times are doubles, so one
// moment computed two ways (today + 09:00 against an encoded 09:00:00) may
// differ in the last bits; rounding both to the millisecond, as the clock's
// decoder does, makes "later than" and the due window exact.
#pragma once

#include <cmath>
#include <cstdint>

#include "platform/datetime.h"

// Moments beyond the calendar's years 1 to 9999 (or not numbers, as a damaged
// data file can hold) are held at its ends so the arithmetic cannot overflow.
inline int64_t MomentMs(TDateTime value) {
    constexpr double FirstDay = -693594.0;   // 0001-01-01
    constexpr double LastDay = 2958466.0;    // 10000-01-01
    if (std::isnan(value)) return 0;
    if (value < FirstDay) value = FirstDay;
    if (value > LastDay) value = LastDay;
    // Rounds half away from zero like llround, without its library call
    // (the due check converts several moments per reminder per tick).
    const double ms = value * MSecsPerDay;
    return ms >= 0 ? static_cast<int64_t>(ms + 0.5) : -static_cast<int64_t>(-ms + 0.5);
}

inline bool IsLaterThan(TDateTime a, TDateTime b) {
    return MomentMs(a) > MomentMs(b);
}

// A span of "now" in whole milliseconds, both ends included, over which an
// answer of the schedule stays the same; empty when From > To.
struct TMsSpan {
    int64_t From;
    int64_t To;
    bool Holds(int64_t ms) const { return From <= ms && ms <= To; }
};
