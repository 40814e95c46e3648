// Repeat rules turned into moments. Days are handled as whole day numbers
// and times of day as whole milliseconds, so that "the time of day is later
// than WakeTime" does not depend on how a double was rounded.
#include "schedule/recurrence.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "schedule/moment.h"

namespace {

constexpr int64_t MsPerDay = 86400000;
constexpr int64_t MsPerHour = 3600000;
constexpr int64_t MsPerMinute = 60000;

// A moment as its day (days since 1899-12-30) and the milliseconds into it.
struct TDayAndTime {
    int64_t Day;
    int64_t Ms;
};

TDayAndTime SplitMoment(TDateTime value) {
    const int64_t ms = MomentMs(value);
    int64_t day = ms / MsPerDay;
    if (ms % MsPerDay < 0) --day;  // floor, for moments before 1899-12-30
    return {day, ms - day * MsPerDay};
}

TDateTime MomentAt(int64_t day, int64_t msOfDay) {
    // The same arithmetic as EncodeDate + EncodeTime, so equal moments are
    // equal doubles.
    return static_cast<double>(day) + static_cast<double>(msOfDay) / MSecsPerDay;
}

// WakeTime holds a time of day only; any date part a damaged file gave it
// is dropped rather than moving the reminder by days.
int64_t WakeMs(const TRmRecordStruct& record) {
    return SplitMoment(record.WakeTime).Ms;
}

bool FlagSet(const TRmRecordStruct& record, int index) {
    return record.RepeatData[static_cast<size_t>(index)] == 1;
}

// What the rules ask about the day of now. It is the same for every reminder
// of a tick, so the last day's answers are kept.
struct TDayFacts {
    int64_t Day = INT64_MIN;
    int Year = 0;
    int Weekday = 0;  // 1 = Monday ... 7 = Sunday
    int DayOfMonth = 0;
    int DaysInMonth = 0;
    int DaysInNextMonth = 0;
};

const TDayFacts& FactsOf(int64_t day) {
    thread_local TDayFacts facts;
    if (facts.Day != day) {
        const TDateParts date = DecodeDate(static_cast<double>(day));
        facts.Day = day;
        facts.Year = date.Year;
        facts.Weekday = DayOfTheWeek(static_cast<double>(day));
        facts.DayOfMonth = date.Day;
        facts.DaysInMonth = DaysInAMonth(date.Year, date.Month);
        facts.DaysInNextMonth =
            date.Month == 12 ? DaysInAMonth(date.Year + 1, 1) : DaysInAMonth(date.Year, date.Month + 1);
    }
    return facts;
}

// Days from today to the first flagged weekday, searching weekday numbers
// from start to 14 (flag index = number mod 7, so 7 and 14 are Sunday).
std::optional<int> WeeklySearch(const TRmRecordStruct& record, int today, int start) {
    for (int i = start; i <= 14; ++i)
        if (FlagSet(record, i % 7)) return i - today;
    return std::nullopt;
}

// Days from today to the first flagged day of the month, searching from day
// start to the end of this month, then the whole of the next month. A day the
// month lacks is skipped, not moved to the month's last day.
std::optional<int> MonthlySearch(const TRmRecordStruct& record, const TDayFacts& today, int start) {
    const int m = today.DayOfMonth;
    const int n = today.DaysInMonth;
    for (int k = start; k <= n; ++k)
        if (FlagSet(record, k - 1)) return k - m;
    for (int k = 1; k <= today.DaysInNextMonth; ++k)
        if (FlagSet(record, k - 1)) return (n - m + 1) + (k - 1);
    return std::nullopt;
}

// WakeDate + WakeTime; none when the stored date is no calendar date at all
// (not a number, or beyond the years 1 to 9999), as only a damaged data file
// can give: decoding such a value would make up a date.
std::optional<TDateTime> WakeMoment(const TRmRecordStruct& record) {
    constexpr double FirstDay = -693593.0;  // 0001-01-01
    constexpr double EndDay = 2958466.0;    // 10000-01-01
    const TDateTime v = record.WakeDate() + record.WakeTime;
    if (!std::isfinite(v) || v < FirstDay || v >= EndDay) return std::nullopt;
    return v;
}

// A yearly reminder's date and time of day, and its moment in a given year:
// always from the original date, so that 29 February, which is 28 February
// in years without it, comes back in leap years.
class TAnniversary {
public:
    explicit TAnniversary(TDateTime moment) : FMoment(moment), FAt(SplitMoment(moment)) {
        FDate = DecodeDate(static_cast<double>(FAt.Day));
    }
    int Year() const { return FDate.Year; }
    TDateTime In(int year) const {
        const int day = std::min(FDate.Day, DaysInAMonth(year, FDate.Month));
        if (!IsValidDate(year, FDate.Month, day)) return FMoment;  // beyond the calendar: no step
        return MomentAt(static_cast<int64_t>(EncodeDate(year, FDate.Month, day)), FAt.Ms);
    }

private:
    TDateTime FMoment;
    TDayAndTime FAt;
    TDateParts FDate;
};

constexpr TMsSpan AnyNow{INT64_MIN, INT64_MAX};

// The first yearly occurrence not earlier than now, and the span of now it
// holds for: the comparisons with the due moment and with the candidate
// give the same answers over it, and so does the year of today.
TOccurrenceSpan NextYearly(const TRmRecordStruct& record, int64_t nowMs, const TDayFacts& today,
                           TMsSpan wholeDay) {
    const std::optional<TDateTime> v = WakeMoment(record);
    if (!v) return {0, AnyNow};
    const int64_t dueMs = MomentMs(*v);
    if (nowMs <= dueMs) return {*v, {INT64_MIN, dueMs}};
    const TAnniversary anniversary(*v);
    const int year = std::max(anniversary.Year() + 1, today.Year);
    const TDateTime candidate = anniversary.In(year);
    const int64_t candidateMs = MomentMs(candidate);
    TMsSpan span{std::max(wholeDay.From, dueMs + 1), wholeDay.To};
    if (nowMs > candidateMs) {
        span.From = std::max(span.From, candidateMs + 1);
        return {anniversary.In(year + 1), span};
    }
    span.To = std::min(span.To, candidateMs);
    return {candidate, span};
}

// This year's anniversary, as Daily uses today; a reminder whose date lies in
// a later year has no anniversary before it.
TDateTime StartupYearly(const TRmRecordStruct& record, const TDayFacts& today) {
    const std::optional<TDateTime> v = WakeMoment(record);
    if (!v) return 0;
    const TAnniversary anniversary(*v);
    return today.Year > anniversary.Year() ? anniversary.In(today.Year) : *v;
}

}  // namespace

TOccurrenceSpan NextOccurrenceSpan(const TRmRecordStruct& record, TDateTime now) {
    if (IsUnreadable(record.WakeTime)) return {0, AnyNow};
    const TDayAndTime at = SplitMoment(now);
    const int64_t wake = WakeMs(record);
    const bool wakePassed = at.Ms > wake;
    // Daily, weekly and monthly answers depend on now only through its day
    // and the side of the wake time it is on.
    const int64_t dayStart = at.Day * MsPerDay;
    const TMsSpan side = wakePassed ? TMsSpan{dayStart + wake + 1, dayStart + MsPerDay - 1}
                                    : TMsSpan{dayStart, dayStart + wake};
    switch (record.Period) {
    case PeriodOnce:
        return {WakeMoment(record).value_or(0), AnyNow};
    case PeriodDaily:
        return {MomentAt(at.Day + (wakePassed ? 1 : 0), wake), side};
    case PeriodWeekly: {
        const int d = FactsOf(at.Day).Weekday;
        const std::optional<int> days = WeeklySearch(record, d, wakePassed ? d + 1 : d);
        return {days ? MomentAt(at.Day + *days, wake) : 0, side};
    }
    case PeriodMonthly: {
        const TDayFacts& today = FactsOf(at.Day);
        const int start = wakePassed ? today.DayOfMonth + 1 : today.DayOfMonth;
        const std::optional<int> days = MonthlySearch(record, today, start);
        return {days ? MomentAt(at.Day + *days, wake) : -1, side};
    }
    case PeriodYearly:
        return NextYearly(record, dayStart + at.Ms, FactsOf(at.Day), {dayStart, dayStart + MsPerDay - 1});
    default:
        return {0, AnyNow};
    }
}

TDateTime NextOccurrence(const TRmRecordStruct& record, TDateTime now) {
    return NextOccurrenceSpan(record, now).Value;
}

std::optional<TDateTime> StartupOccurrence(const TRmRecordStruct& record, TDateTime now) {
    if (IsUnreadable(record.WakeTime)) return std::nullopt;
    const TDayAndTime at = SplitMoment(now);
    const int64_t wake = WakeMs(record);
    switch (record.Period) {
    case PeriodOnce:
        return WakeMoment(record).value_or(0);
    case PeriodDaily:
        return MomentAt(at.Day, wake);
    case PeriodWeekly: {
        const int d = FactsOf(at.Day).Weekday;
        const std::optional<int> days = WeeklySearch(record, d, d);
        return days ? MomentAt(at.Day + *days, wake) : 0;
    }
    case PeriodMonthly: {
        const TDayFacts& today = FactsOf(at.Day);
        const std::optional<int> days = MonthlySearch(record, today, today.DayOfMonth);
        return days ? MomentAt(at.Day + *days, wake) : -1;
    }
    case PeriodYearly:
        return StartupYearly(record, FactsOf(at.Day));
    default:
        return std::nullopt;
    }
}

TDateTime NextOccurrence(const TRmRecordStruct& record) {
    return NextOccurrence(record, Now());
}

std::optional<TDateTime> StartupOccurrence(const TRmRecordStruct& record) {
    return StartupOccurrence(record, Now());
}
