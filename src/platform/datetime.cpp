#include "platform/datetime.h"

#include <cmath>
#include <ctime>
#include <mutex>

namespace {

// Days from 0001-01-01 (proleptic Gregorian) to 1899-12-30.
constexpr int64_t DeltaToEpoch = 693593;

// Days before each month, in a common year and in a leap year.
constexpr int DaysBeforeMonth[2][12] = {{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
                                        {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335}};
constexpr int DaysOfMonth[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// For years 1..9999: unsigned steps, cheaper than signed ones.
bool LeapYearOf(unsigned year) { return (year & 3) == 0 && (year % 100 != 0 || year % 400 == 0); }

int64_t DaysFromCivilOrigin(int year, int month, int day) {
    // Days since 0001-01-01 for a valid date.
    const unsigned y = static_cast<unsigned>(year - 1);
    const unsigned days = y * 365 + y / 4 - y / 100 + y / 400;
    return days + DaysBeforeMonth[LeapYearOf(static_cast<unsigned>(year))][month - 1] + day - 1;
}

void CivilFromDays(int64_t daysSinceOrigin, TDateParts& out) {
    // Inverse of DaysFromCivilOrigin without loops or divisions (every
    // moment shown or written is decoded through here), in unsigned 32-bit
    // steps after Neri and Schneider's calendar algorithm: years counted
    // from 1 March, so the leap day is the last day of its year, and the
    // day count shifted by 82 whole 400-year cycles so that it is positive
    // for every year from 1 on.
    constexpr uint32_t Cycles = 82;
    constexpr uint32_t Shift = 306 + 146097 * Cycles;  // from 0000-03-01, cycles earlier
    const uint32_t n = static_cast<uint32_t>(daysSinceOrigin) + Shift;
    const uint32_t n1 = 4 * n + 3;
    const uint32_t century = n1 / 146097;
    const uint32_t n2 = (n1 % 146097) | 3;  // 4 * day of the century + 3
    const uint64_t p2 = uint64_t{2939745} * n2;
    const uint32_t yearOfCentury = static_cast<uint32_t>(p2 >> 32);
    const uint32_t dayOfYear = static_cast<uint32_t>(p2) / 2939745 / 4;
    const uint32_t n3 = 2141 * dayOfYear + 197913;
    const uint32_t month = n3 >> 16;  // 3..14, March first
    const uint32_t day = (n3 & 0xFFFF) / 2141;
    const bool januaryOrFebruary = dayOfYear >= 306;
    out.Year = static_cast<int>(100 * century + yearOfCentury) - static_cast<int>(400 * Cycles) +
               (januaryOrFebruary ? 1 : 0);
    out.Month = static_cast<int>(januaryOrFebruary ? month - 12 : month);
    out.Day = static_cast<int>(day + 1);
}

std::mutex ClockMutex;
TClockSource ClockSource;

TDateTime SystemNow() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return UnixToDateTime(ts.tv_sec, static_cast<int32_t>(ts.tv_nsec));
}

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInAMonth(int year, int month) {
    if (month < 1 || month > 12) return 0;
    return DaysOfMonth[IsLeapYear(year)][month - 1];
}

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysOfMonth[LeapYearOf(static_cast<unsigned>(year))][month - 1];
}

bool IsValidTime(int hour, int minute, int second, int msec) {
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
           msec >= 0 && msec < 1000;
}

TDateTime EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) return 0;
    return static_cast<double>(DaysFromCivilOrigin(year, month, day) - DeltaToEpoch);
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
    if (!IsValidTime(hour, minute, second, msec)) return 0;
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / MSecsPerDay;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
    if (!IsValidDate(year, month, day) || !IsValidTime(hour, minute, second, msec)) return 0;
    return EncodeDate(year, month, day) + EncodeTime(hour, minute, second, msec);
}

void DecodeDateTime(TDateTime value, TDateParts& date, TTimeParts& time) {
    // Values no calendar can hold (NaN, infinity, beyond the years 1 to
    // 9999) decode as the zero date rather than overflow.
    if (!std::isfinite(value) || value < -693594.0 || value > 2958466.0) {
        date = TDateParts{};
        time = TTimeParts{};
        return;
    }
    // Work in whole milliseconds so that rounding carries into the day.
    // In this range (|ms| < 2^48) a double holds every whole millisecond
    // exactly, so the integer steps below give what std::round and
    // std::floor over doubles give, without their library calls: rounding
    // half away from zero from the exact truncation and fraction, and the
    // floor of the exact quotient (which no day's end comes close enough
    // to for a double quotient to round across it).
    const double scaled = value * MSecsPerDay;
    int64_t totalMs = static_cast<int64_t>(scaled);  // toward zero
    const double fraction = scaled - static_cast<double>(totalMs);  // exact
    if (fraction >= 0.5)
        ++totalMs;
    else if (fraction <= -0.5)
        --totalMs;
    constexpr int64_t DayMs = 86400000;
    int64_t days = totalMs / DayMs;
    int64_t msOfDay = totalMs - days * DayMs;
    if (msOfDay < 0) {
        --days;
        msOfDay += DayMs;
    }
    CivilFromDays(days + DeltaToEpoch, date);
    // Below 86,400,000: unsigned 32-bit steps from here.
    const uint32_t ms = static_cast<uint32_t>(msOfDay);
    const uint32_t secs = ms / 1000;
    const uint32_t minutes = secs / 60;
    time.MSec = static_cast<int>(ms - secs * 1000);
    time.Second = static_cast<int>(secs - minutes * 60);
    time.Minute = static_cast<int>(minutes % 60);
    time.Hour = static_cast<int>(minutes / 60);
}

TDateParts DecodeDate(TDateTime value) {
    TDateParts d;
    TTimeParts t;
    DecodeDateTime(value, d, t);
    return d;
}

TTimeParts DecodeTime(TDateTime value) {
    TDateParts d;
    TTimeParts t;
    DecodeDateTime(value, d, t);
    return t;
}

TDateTime DateOf(TDateTime value) {
    TDateParts d = DecodeDate(value);
    return EncodeDate(d.Year, d.Month, d.Day);
}

TDateTime TimeOf(TDateTime value) {
    TTimeParts t = DecodeTime(value);
    return EncodeTime(t.Hour, t.Minute, t.Second, t.MSec);
}

int DayOfTheWeek(TDateTime value) {
    // 1899-12-30 was a Saturday (6).
    int64_t days = static_cast<int64_t>(std::floor(DateOf(value)));
    int64_t w = ((days + 5) % 7 + 7) % 7;  // 0 = Monday
    return static_cast<int>(w) + 1;
}

TDateTime IncMonth(TDateTime value, int months) {
    TDateParts d;
    TTimeParts t;
    DecodeDateTime(value, d, t);
    int64_t index = static_cast<int64_t>(d.Year) * 12 + (d.Month - 1) + months;
    int year = static_cast<int>(index / 12);
    int month = static_cast<int>(index % 12) + 1;
    int day = std::min(d.Day, DaysInAMonth(year, month));
    if (!IsValidDate(year, month, day)) return value;
    return EncodeDate(year, month, day) + EncodeTime(t.Hour, t.Minute, t.Second, t.MSec);
}

TDateTime IncYear(TDateTime value, int years) {
    return IncMonth(value, years * 12);
}

TDateTime Now() {
    {
        std::lock_guard lock(ClockMutex);
        if (ClockSource) return ClockSource();
    }
    return SystemNow();
}

TDateTime Date() {
    return DateOf(Now());
}

void SetClockSource(TClockSource source) {
    std::lock_guard lock(ClockMutex);
    ClockSource = std::move(source);
}

void SetFixedNow(TDateTime value) {
    SetClockSource([value] { return value; });
}

void ResetClock() {
    SetClockSource(nullptr);
}

TDateTime UnixToDateTime(int64_t unixSeconds, int32_t nanoseconds) {
    time_t t = static_cast<time_t>(unixSeconds);
    tm local{};
    localtime_r(&t, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           (local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + nanoseconds / 1e9) / 86400.0;
}
