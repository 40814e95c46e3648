// Date-times as the program stores them: a double counting days since
// 1899-12-30, the fraction being the time of day, always local time.
// Also the one clock every part of the program reads ("now").
#pragma once

#include <cstdint>
#include <functional>

using TDateTime = double;

constexpr double MSecsPerDay = 86400000.0;
constexpr double OneSecond = 1.0 / 86400.0;
constexpr double OneMinute = 1.0 / 1440.0;
constexpr double OneHour = 1.0 / 24.0;

struct TDateParts {
    int Year = 1899, Month = 12, Day = 30;
};
struct TTimeParts {
    int Hour = 0, Minute = 0, Second = 0, MSec = 0;
};

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);
bool IsValidDate(int year, int month, int day);
bool IsValidTime(int hour, int minute, int second, int msec);

// Encoding an invalid date or time gives 0 rather than a wrong day.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec = 0);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec = 0);

// Decoding rounds to the millisecond; 23:59:59.9996 becomes the next day.
void DecodeDateTime(TDateTime value, TDateParts& date, TTimeParts& time);
TDateParts DecodeDate(TDateTime value);
TTimeParts DecodeTime(TDateTime value);

TDateTime DateOf(TDateTime value);   // midnight of the same day
TDateTime TimeOf(TDateTime value);   // the time of day alone (date part 0)

// 1 = Monday ... 7 = Sunday.
int DayOfTheWeek(TDateTime value);

// Calendar months and years; a day past the end of the target month (31
// January + 1 month, 29 February + 1 year) becomes its last day.
TDateTime IncMonth(TDateTime value, int months);
TDateTime IncYear(TDateTime value, int years);

// The clock. Now() reads local time unless a test installed a source.
TDateTime Now();
TDateTime Date();  // DateOf(Now())
using TClockSource = std::function<TDateTime()>;
void SetClockSource(TClockSource source);  // empty restores the system clock
void SetFixedNow(TDateTime value);         // Now() answers this until reset
void ResetClock();

// Converts a Unix time (seconds, UTC) to a local TDateTime and back.
TDateTime UnixToDateTime(int64_t unixSeconds, int32_t nanoseconds = 0);
