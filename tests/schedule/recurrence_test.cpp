// Repeat rules: the documented edge cases, then sweeps over many (rule, now)
// pairs across month ends, leap years and both sides of the wake time,
// checked against searches that walk the calendar minute by minute (day by
// day for yearly rules) instead of reasoning about it; then the time-left
// text.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "schedule/recurrence.h"
#include "schedule/schedule_fixture.h"

namespace {

class RecurrenceTest : public ScheduleTest {};

struct TRuleCase {
    const char* What;
    TRmRecordStruct Rule;
    TDateTime Now;
    TDateTime Expected;
};

void ExpectNext(const std::vector<TRuleCase>& cases) {
    for (const TRuleCase& c : cases) {
        const TDateTime next = NextOccurrence(c.Rule, c.Now);
        EXPECT_EQ(Ms(next), Ms(c.Expected))
            << c.What << ": at " << Show(c.Now) << " got " << Show(next) << ", expected " << Show(c.Expected);
    }
}

TEST_F(RecurrenceTest, DocumentedEdgeCases) {
    const TRmRecordStruct daily9 = DailyRule(9, 0);
    const TRmRecordStruct sundayOnly = WeeklyRule({0}, 9, 0);
    std::vector<TRuleCase> cases = {
        {"daily, a second early", daily9, At(2026, 12, 8, 8, 59, 59), At(2026, 12, 8, 9, 0)},
        {"daily, exactly at the wake time", daily9, At(2026, 12, 8, 9, 0, 0), At(2026, 12, 8, 9, 0)},
        {"daily, a second late", daily9, At(2026, 12, 8, 9, 0, 1), At(2026, 12, 9, 9, 0)},
        {"daily, across the year end", daily9, At(2026, 12, 31, 23, 0), At(2027, 1, 1, 9, 0)},
        {"weekly Sunday, on a Sunday after the wake time", sundayOnly, At(2026, 12, 6, 10, 0), At(2026, 12, 13, 9, 0)},
        {"weekly Sunday, on a Sunday before the wake time", sundayOnly, At(2026, 12, 6, 8, 0), At(2026, 12, 6, 9, 0)},
        {"weekly Sunday, on the Saturday before", sundayOnly, At(2026, 12, 5, 23, 0), At(2026, 12, 6, 9, 0)},
        {"weekly without a day", WeeklyRule({}, 9, 0), At(2026, 12, 8, 8, 0), 0},
        {"monthly 10th, on the 10th after the wake time", MonthlyRule({10}, 9, 0), At(2026, 12, 10, 9, 30),
         At(2027, 1, 10, 9, 0)},
        {"monthly 12th, on the 10th after the wake time", MonthlyRule({12}, 9, 0), At(2026, 12, 10, 9, 30),
         At(2026, 12, 12, 9, 0)},
        {"monthly 31st, on 31 March after the wake time", MonthlyRule({31}, 9, 0), At(2026, 3, 31, 10, 0), -1},
        {"monthly 31st, on 1 April", MonthlyRule({31}, 9, 0), At(2026, 4, 1, 10, 0), At(2026, 5, 31, 9, 0)},
        {"monthly 30th, on 30 January after the wake time: February lacks it and March is not searched",
         MonthlyRule({30}, 9, 0), At(2026, 1, 30, 10, 0), -1},
        {"monthly 30th, on 1 February", MonthlyRule({30}, 9, 0), At(2026, 2, 1, 10, 0), At(2026, 3, 30, 9, 0)},
        {"monthly without a day", MonthlyRule({}, 9, 0), At(2026, 12, 8, 8, 0), -1},
        {"yearly 29 February, in March of the leap year", YearlyRule(2024, 2, 29, 8, 0), At(2024, 3, 10, 12, 0),
         At(2025, 2, 28, 8, 0)},
        {"once in the past", OnceRule(At(2026, 1, 2, 3, 4, 5)), At(2026, 12, 8, 9, 0), At(2026, 1, 2, 3, 4, 5)},
        {"once in the future", OnceRule(At(2027, 1, 2, 3, 4, 5)), At(2026, 12, 8, 9, 0), At(2027, 1, 2, 3, 4, 5)},
        {"wake time with seconds, a second before", DailyRule(7, 0, 2), At(2026, 12, 8, 7, 0, 1),
         At(2026, 12, 8, 7, 0, 2)},
        {"wake time with seconds, a second after", DailyRule(7, 0, 2), At(2026, 12, 8, 7, 0, 3),
         At(2026, 12, 9, 7, 0, 2)},
    };
    ExpectNext(cases);
}

TEST_F(RecurrenceTest, YearlyAdvancesAsManyYearsAsNeeded) {
    const TRmRecordStruct leapDay = YearlyRule(2024, 2, 29, 8, 0);
    std::vector<TRuleCase> cases = {
        {"before the first occurrence", leapDay, At(2024, 1, 5, 12, 0), At(2024, 2, 29, 8, 0)},
        {"exactly at the first occurrence", leapDay, At(2024, 2, 29, 8, 0), At(2024, 2, 29, 8, 0)},
        {"two years on, before the anniversary", leapDay, At(2026, 2, 1, 0, 0), At(2026, 2, 28, 8, 0)},
        {"two years on, at the anniversary", leapDay, At(2026, 2, 28, 8, 0, 0), At(2026, 2, 28, 8, 0)},
        {"two years on, a second after", leapDay, At(2026, 2, 28, 8, 0, 1), At(2027, 2, 28, 8, 0)},
        {"the 29th comes back in the next leap year", leapDay, At(2027, 3, 1, 0, 0), At(2028, 2, 29, 8, 0)},
        {"ten years on", leapDay, At(2034, 6, 1, 0, 0), At(2035, 2, 28, 8, 0)},
        {"year end, late in the following year", YearlyRule(2020, 12, 31, 23, 59), At(2026, 12, 31, 23, 59, 30),
         At(2027, 12, 31, 23, 59)},
        {"a date in a later year", YearlyRule(2028, 6, 15, 12, 0), At(2026, 7, 1, 0, 0), At(2028, 6, 15, 12, 0)},
    };
    ExpectNext(cases);
}

// "Later than WakeTime" must not depend on how the two doubles were made:
// today + a minute count and an encoded time of the same minute are equal.
TEST_F(RecurrenceTest, WakeTimeComparedAtMillisecondResolution) {
    const TDateTime today = EncodeDate(2026, 12, 8);
    int wrong = 0;
    for (int minute = 0; minute < 1440; ++minute) {
        TRmRecordStruct daily = DailyRule(minute / 60, minute % 60);
        const TDateTime now = today + minute / 1440.0;
        if (Ms(NextOccurrence(daily, now)) != Ms(today + daily.WakeTime)) ++wrong;
        daily.WakeTime = minute * 60.0 / 86400.0;
        if (Ms(NextOccurrence(daily, today + EncodeTime(minute / 60, minute % 60, 0))) != Ms(today + daily.WakeTime))
            ++wrong;
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(RecurrenceTest, OnlyFlagBytesEqualToOneCount) {
    TRmRecordStruct weekly = WeeklyRule({3}, 9, 0);  // Wednesday
    weekly.RepeatData[2] = 2;                         // Tuesday: not a flag
    weekly.RepeatData[4] = 0xFF;
    EXPECT_EQ(Ms(NextOccurrence(weekly, At(2026, 12, 8, 8, 0))), Ms(At(2026, 12, 9, 9, 0)));

    TRmRecordStruct monthly = MonthlyRule({20}, 9, 0);
    monthly.RepeatData[9] = 3;  // day 10
    EXPECT_EQ(Ms(NextOccurrence(monthly, At(2026, 12, 8, 8, 0))), Ms(At(2026, 12, 20, 9, 0)));
}

TEST_F(RecurrenceTest, UnknownKindsAndDamagedDatesGiveMomentsLongPast) {
    TRmRecordStruct none = DailyRule(9, 0);
    none.Period = PeriodNone;
    EXPECT_EQ(NextOccurrence(none, At(2026, 12, 8, 8, 0)), 0);
    EXPECT_FALSE(StartupOccurrence(none, At(2026, 12, 8, 8, 0)).has_value());
    none.Period = 7;
    EXPECT_EQ(NextOccurrence(none, At(2026, 12, 8, 8, 0)), 0);

    // Bytes that are no date at all (not a number, or far beyond year 9999)
    // must not be turned into a made-up date.
    for (double damaged : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300}) {
        for (uint8_t kind : {PeriodOnce, PeriodYearly}) {
            TRmRecordStruct r = YearlyRule(2026, 1, 1, 9, 0);
            r.Period = kind;
            r.SetWakeDate(damaged);
            EXPECT_EQ(NextOccurrence(r, At(2026, 12, 8, 8, 0)), 0) << "kind " << int(kind) << " date " << damaged;
            EXPECT_EQ(StartupOccurrence(r, At(2026, 12, 8, 8, 0)).value_or(-7), 0);
        }
    }
}

// A time of day the data file could not give is no schedule: no kind turns
// it into a moment (it is not midnight).
TEST_F(RecurrenceTest, UnreadableWakeTimeHasNoOccurrences) {
    const TDateTime now = At(2026, 12, 8, 8, 0);
    const std::vector<TRmRecordStruct> rules = {OnceRule(At(2026, 12, 9, 9, 0)), DailyRule(9, 0),
                                                WeeklyRule({0, 1, 2, 3, 4, 5, 6}, 9, 0),
                                                MonthlyRule({8, 9}, 9, 0), YearlyRule(2020, 12, 9, 9, 0)};
    for (TRmRecordStruct r : rules) {
        r.WakeTime = std::numeric_limits<double>::quiet_NaN();
        EXPECT_EQ(NextOccurrence(r, now), 0) << "kind " << int(r.Period);
        EXPECT_FALSE(StartupOccurrence(r, now).has_value()) << "kind " << int(r.Period);
        const TOccurrenceSpan span = NextOccurrenceSpan(r, now);
        EXPECT_EQ(span.Value, 0);
        EXPECT_TRUE(span.Span.Holds(Ms(now + 400)));
    }
}

TEST_F(RecurrenceTest, StartupOccurrence) {
    struct TCase {
        const char* What;
        TRmRecordStruct Rule;
        TDateTime Now;
        TDateTime Expected;
    };
    const TRmRecordStruct leapDay = YearlyRule(2024, 2, 29, 8, 0);
    std::vector<TCase> cases = {
        {"once", OnceRule(At(2025, 5, 6, 7, 8, 9)), At(2026, 12, 8, 10, 0), At(2025, 5, 6, 7, 8, 9)},
        {"daily, after the wake time: today", DailyRule(9, 0), At(2026, 12, 8, 10, 0), At(2026, 12, 8, 9, 0)},
        {"daily, before the wake time: still today", DailyRule(9, 0), At(2026, 12, 8, 8, 0), At(2026, 12, 8, 9, 0)},
        {"weekly today, after the wake time: today", WeeklyRule({2}, 9, 0), At(2026, 12, 8, 10, 0),
         At(2026, 12, 8, 9, 0)},
        {"weekly, next on Friday", WeeklyRule({5}, 9, 0), At(2026, 12, 8, 10, 0), At(2026, 12, 11, 9, 0)},
        {"weekly without a day", WeeklyRule({}, 9, 0), At(2026, 12, 8, 10, 0), 0},
        {"monthly today, after the wake time: today", MonthlyRule({8}, 9, 0), At(2026, 12, 8, 10, 0),
         At(2026, 12, 8, 9, 0)},
        {"monthly 31st on 31 March after the wake time: today", MonthlyRule({31}, 9, 0), At(2026, 3, 31, 10, 0),
         At(2026, 3, 31, 9, 0)},
        {"monthly without a day", MonthlyRule({}, 9, 0), At(2026, 12, 8, 10, 0), -1},
        {"yearly, this year's anniversary two years on", leapDay, At(2026, 3, 5, 10, 0), At(2026, 2, 28, 8, 0)},
        {"yearly, this year's anniversary still ahead", leapDay, At(2026, 1, 5, 10, 0), At(2026, 2, 28, 8, 0)},
        {"yearly, 29 February in a leap year", leapDay, At(2028, 3, 1, 0, 0), At(2028, 2, 29, 8, 0)},
        {"yearly, in its own year", leapDay, At(2024, 12, 1, 0, 0), At(2024, 2, 29, 8, 0)},
        {"yearly, a date in a later year has no earlier anniversary", YearlyRule(2027, 6, 15, 12, 0),
         At(2026, 7, 1, 0, 0), At(2027, 6, 15, 12, 0)},
    };
    for (const TCase& c : cases) {
        const std::optional<TDateTime> s = StartupOccurrence(c.Rule, c.Now);
        ASSERT_TRUE(s.has_value()) << c.What;
        EXPECT_EQ(Ms(*s), Ms(c.Expected)) << c.What << ": got " << Show(*s) << ", expected " << Show(c.Expected);
    }
}

// ---------------------------------------------------------------------------
// Sweeps against calendar walks.

// Sunday = 0, counted from a Sunday known from the calendar.
int WeekdayFromSunday(int64_t day) {
    const int64_t knownSunday = static_cast<int64_t>(EncodeDate(2026, 12, 6));
    return static_cast<int>(((day - knownSunday) % 7 + 7) % 7);
}

// The first whole minute at or after now, within 62 days, that is the wake
// time on a day the rule picks. Monthly rules only look as far as the end of
// next month; when nothing is found a weekly rule answers 0 and a monthly
// rule -1.
TDateTime WalkMinutes(const TRmRecordStruct& rule, TDateTime now) {
    const int64_t wakeMinute = Ms(rule.WakeTime) / 60000;
    const int64_t nowMs = Ms(now);
    int64_t minute = nowMs / 60000 + (nowMs % 60000 != 0 ? 1 : 0);
    const TDateParts today = DecodeDate(now);
    const int lastMonth = today.Year * 12 + today.Month + 1;
    for (const int64_t end = minute + 62 * 1440; minute < end; ++minute) {
        const int64_t day = minute / 1440;
        if (minute - day * 1440 != wakeMinute) continue;
        const TDateParts date = DecodeDate(static_cast<double>(day));
        bool picked = false;
        switch (rule.Period) {
        case PeriodDaily: picked = true; break;
        case PeriodWeekly: picked = rule.RepeatData[static_cast<size_t>(WeekdayFromSunday(day))] == 1; break;
        case PeriodMonthly:
            if (date.Year * 12 + date.Month > lastMonth) return -1;
            picked = rule.RepeatData[static_cast<size_t>(date.Day - 1)] == 1;
            break;
        }
        if (picked) return static_cast<double>(minute) / 1440.0;
    }
    return rule.Period == PeriodWeekly ? 0 : -1;
}

// The first anniversary not earlier than now, walking day by day: the wake
// date itself, then the same month and day of each later year, 28 February
// standing in for the 29th in years without it.
TDateTime WalkYears(const TRmRecordStruct& rule, TDateTime now) {
    const TDateParts wake = DecodeDate(rule.WakeDate());
    const int64_t wakeMs = Ms(rule.WakeTime);
    const int64_t first = static_cast<int64_t>(std::max(std::floor(now), rule.WakeDate()));
    for (int64_t day = first; day < first + 1500; ++day) {
        const TDateParts date = DecodeDate(static_cast<double>(day));
        if (date.Year < wake.Year || date.Month != wake.Month) continue;
        const int anniversary = wake.Day == 29 && wake.Month == 2 && !IsLeapYear(date.Year) ? 28 : wake.Day;
        if (date.Day == anniversary && day * 86400000 + wakeMs >= Ms(now))
            return static_cast<double>(day) + static_cast<double>(wakeMs) / MSecsPerDay;
    }
    return 0;
}

std::vector<TDateTime> SweepDays() {
    return {EncodeDate(2024, 1, 31), EncodeDate(2024, 2, 28),  EncodeDate(2024, 2, 29), EncodeDate(2024, 3, 1),
            EncodeDate(2024, 3, 31), EncodeDate(2024, 4, 30),  EncodeDate(2024, 12, 31), EncodeDate(2025, 2, 28),
            EncodeDate(2025, 6, 30), EncodeDate(2025, 12, 31), EncodeDate(2026, 12, 6),  EncodeDate(2026, 12, 8),
            EncodeDate(2100, 2, 28), EncodeDate(2000, 2, 29),  EncodeDate(2027, 1, 1)};
}

// Moments on both sides of the rule's wake time and at the day's edges.
std::vector<TDateTime> SweepMoments(const TRmRecordStruct& rule) {
    std::vector<TDateTime> moments;
    const int64_t wakeMs = Ms(rule.WakeTime);
    for (TDateTime day : SweepDays()) {
        const int64_t dayMs = Ms(day);
        for (int64_t offset : {wakeMs - 1000, wakeMs, wakeMs + 1000, wakeMs + 59000, int64_t{0}, int64_t{86399000},
                               int64_t{45296000}})
            moments.push_back(static_cast<double>(dayMs + offset) / MSecsPerDay);
    }
    return moments;
}

std::vector<TRmRecordStruct> SweepRules() {
    std::vector<TRmRecordStruct> rules;
    for (int hour : {0, 9, 23}) {
        const int minute = hour == 23 ? 59 : 0;
        rules.push_back(DailyRule(hour, minute));
        for (int w = 0; w < 7; ++w) rules.push_back(WeeklyRule({w}, hour, minute));
        rules.push_back(WeeklyRule({1, 3, 5}, hour, minute));
        rules.push_back(WeeklyRule({0, 6}, hour, minute));
        rules.push_back(WeeklyRule({0, 1, 2, 3, 4, 5, 6}, hour, minute));
        rules.push_back(WeeklyRule({}, hour, minute));
        for (int d : {1, 15, 28, 29, 30, 31}) rules.push_back(MonthlyRule({d}, hour, minute));
        rules.push_back(MonthlyRule({29, 31}, hour, minute));
        rules.push_back(MonthlyRule({1, 31}, hour, minute));
        rules.push_back(MonthlyRule({}, hour, minute));
    }
    // Bytes other than 1 in unpicked places are not flags.
    TRmRecordStruct noisyWeekly = WeeklyRule({4}, 9, 0);
    noisyWeekly.RepeatData[1] = 2;
    noisyWeekly.RepeatData[6] = 0xFF;
    rules.push_back(noisyWeekly);
    TRmRecordStruct noisyMonthly = MonthlyRule({2}, 9, 0);
    for (size_t i = 2; i < RepeatDataSize; ++i) noisyMonthly.RepeatData[i] = 2;
    rules.push_back(noisyMonthly);
    return rules;
}

std::string RuleText(const TRmRecordStruct& rule) {
    std::string text = "kind " + std::to_string(rule.Period) + " at " + FormatDateTimeText("HH:mm", rule.WakeTime) +
                       " flags ";
    for (size_t i = 0; i < RepeatDataSize; ++i)
        if (rule.RepeatData[i] != 0) text += std::to_string(i) + "=" + std::to_string(rule.RepeatData[i]) + " ";
    return text;
}

// Reports at most the first few mismatches of a sweep.
class TMismatches {
public:
    void Check(const TRmRecordStruct& rule, TDateTime now, TDateTime got, TDateTime expected) {
        ++FChecked;
        if (Ms(got) == Ms(expected)) return;
        if (FList.size() < 10)
            FList.push_back(RuleText(rule) + "at " + Show(now) + ": got " + Show(got) + ", expected " + Show(expected));
        ++FCount;
    }
    void Expect(int atLeastChecked) const {
        EXPECT_GE(FChecked, atLeastChecked);
        std::string all;
        for (const std::string& line : FList) all += line + "\n";
        EXPECT_EQ(FCount, 0) << all;
    }

private:
    std::vector<std::string> FList;
    int FCount = 0;
    int FChecked = 0;
};

TEST_F(RecurrenceTest, NextOccurrenceMatchesMinuteByMinuteWalk) {
    TMismatches mismatches;
    for (const TRmRecordStruct& rule : SweepRules())
        for (TDateTime now : SweepMoments(rule))
            mismatches.Check(rule, now, NextOccurrence(rule, now), WalkMinutes(rule, now));
    mismatches.Expect(5000);
}

// The start-up moment is the search started at today's midnight, whatever
// the time of day: the walk from midnight gives it.
TEST_F(RecurrenceTest, StartupOccurrenceMatchesWalkFromMidnight) {
    TMismatches mismatches;
    for (const TRmRecordStruct& rule : SweepRules())
        for (TDateTime now : SweepMoments(rule)) {
            const std::optional<TDateTime> s = StartupOccurrence(rule, now);
            const TDateTime midnight = static_cast<double>(Ms(now) / 86400000);
            mismatches.Check(rule, now, s.value_or(-7), WalkMinutes(rule, midnight));
        }
    mismatches.Expect(5000);
}

// Next: the first anniversary not earlier than now. Start-up: this year's.
TEST_F(RecurrenceTest, YearlyMatchesDayByDayWalk) {
    const std::vector<TRmRecordStruct> rules = {
        YearlyRule(2024, 2, 29, 8, 0),  YearlyRule(2020, 2, 29, 8, 0), YearlyRule(2023, 12, 31, 23, 59),
        YearlyRule(2025, 1, 1, 0, 0),   YearlyRule(2027, 6, 15, 12, 0), YearlyRule(2019, 3, 1, 9, 0),
        YearlyRule(1996, 2, 28, 9, 30), YearlyRule(2024, 3, 31, 0, 0),
    };
    TMismatches next, startup;
    for (const TRmRecordStruct& rule : rules)
        for (TDateTime now : SweepMoments(rule)) {
            next.Check(rule, now, NextOccurrence(rule, now), WalkYears(rule, now));
            // This year's anniversary is the first one from New Year on.
            const TDateTime newYear = EncodeDate(DecodeDate(now).Year, 1, 1);
            startup.Check(rule, now, StartupOccurrence(rule, now).value_or(-7), WalkYears(rule, newYear));
        }
    next.Expect(800);
    startup.Expect(800);
}

TEST_F(RecurrenceTest, OneArgumentFormsReadTheClock) {
    SetFixedNow(At(2026, 12, 8, 9, 0, 1));
    EXPECT_EQ(Ms(NextOccurrence(DailyRule(9, 0))), Ms(At(2026, 12, 9, 9, 0)));
    EXPECT_EQ(Ms(StartupOccurrence(DailyRule(9, 0)).value_or(0)), Ms(At(2026, 12, 8, 9, 0)));
}

// ---------------------------------------------------------------------------
// Time-left text.

TEST_F(RecurrenceTest, RemainingTextSplitsTheSpan) {
    UseTestLanguage();
    struct TCase {
        TDateTime Now, Target;
        std::string Expected;
    };
    const TDateTime example = At(2026, 12, 8, 9, 0, 0);
    const std::vector<TCase> cases = {
        {example, At(2026, 12, 9, 10, 30, 20), "1 Tag  1 Stunde  30 Minuten  "},
        {At(2026, 12, 9, 10, 30, 20), example, "1 Tag  1 Stunde  30 Minuten  "},  // elapsed time, same form
        {example, At(2026, 12, 8, 9, 0, 59), ""},
        {At(2026, 12, 8, 9, 0, 59), example, ""},
        {example, example, ""},
        {example, At(2026, 12, 8, 9, 1, 0), "1 Minute  "},
        {example, At(2026, 12, 8, 11, 0, 59), "2 Stunden  "},
        {At(2026, 1, 15, 10, 0), At(2028, 3, 20, 12, 5), "2 Jahre  2 Monate  5 Tage  2 Stunden  5 Minuten  "},
        {At(2025, 1, 1, 0, 0), At(2026, 2, 2, 1, 1), "1 Jahr  1 Monat  1 Tag  1 Stunde  1 Minute  "},
        // Backwards by a calendar month from 31 March lands on 28 February.
        {At(2026, 3, 31, 12, 0), At(2026, 1, 31, 12, 0), "1 Monat  28 Tage  "},
        {At(2026, 1, 31, 12, 0), At(2026, 3, 31, 12, 0), "1 Monat  31 Tage  "},
        {At(2024, 2, 29, 8, 0), At(2025, 2, 28, 8, 0), "11 Monate  30 Tage  "},
        {At(2024, 2, 29, 8, 0), At(2028, 2, 29, 8, 0), "4 Jahre  "},
        // A weekly rule without days aims at day 0.
        {example, 0, "126 Jahre  11 Monate  9 Tage  9 Stunden  "},
        {example, std::numeric_limits<double>::quiet_NaN(), ""},
    };
    const TTimeUnitWords words = CurrentTimeUnitWords();
    for (const TCase& c : cases) {
        EXPECT_EQ(RemainingText(c.Now, c.Target), c.Expected) << Show(c.Now) << " to " << Show(c.Target);
        EXPECT_EQ(RemainingText(c.Now, c.Target, words), c.Expected) << Show(c.Now) << " to " << Show(c.Target);
        std::string reused = "text of an earlier tick, longer than any here";
        RemainingTextInto(reused, c.Now, c.Target, words);
        EXPECT_EQ(reused, c.Expected) << Show(c.Now) << " to " << Show(c.Target);
    }
}

// An hour added as a double is still a whole hour, not 59 minutes.
TEST_F(RecurrenceTest, RemainingTextSurvivesRoundingOfTheSpan) {
    UseTestLanguage();
    const TDateTime today = EncodeDate(2026, 12, 8);
    int wrong = 0;
    for (int minute = 0; minute < 1440; ++minute) {
        const TDateTime now = today + minute / 1440.0;
        if (RemainingText(now, now + OneHour) != "1 Stunde  ") ++wrong;
        if (RemainingText(now, now + 3 * OneMinute) != "3 Minuten  ") ++wrong;
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(RecurrenceTest, RemainingTextUsesTheBuiltInEnglishWords) {
    UseBuiltInLanguage();
    const TDateTime now = At(2026, 12, 8, 9, 0, 0);
    EXPECT_EQ(RemainingText(now, At(2026, 12, 9, 10, 30, 20)), "1 Day  1 Hour  30 Minutes  ");
    EXPECT_EQ(RemainingText(now, At(2028, 2, 9, 10, 31, 0)), "1 Year  2 Months  1 Day  1 Hour  31 Minutes  ");
    const TTimeUnitWords words = CurrentTimeUnitWords();
    EXPECT_EQ(RemainingText(now, At(2026, 12, 8, 11, 1, 0), words), "2 Hours  1 Minute  ");
}

}  // namespace
