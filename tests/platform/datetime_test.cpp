#include <gtest/gtest.h>

#include "platform/datetime.h"

TEST(DateTime, EncodesAndDecodesKnownDays) {
    struct Case { int y, m, d; double serial; int weekday; };
    const Case cases[] = {
        {1899, 12, 30, 0, 6},     {1900, 1, 1, 2, 1},        {2000, 2, 29, 36585, 2},
        {2026, 12, 8, 46364, 2},  {2024, 12, 31, 45657, 2},  {9999, 12, 31, 2958465, 5},
        {1, 1, 1, -693593, 1},    {2026, 12, 13, 46369, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d));
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial);
        TDateParts p = DecodeDate(c.serial);
        EXPECT_EQ(p.Year, c.y);
        EXPECT_EQ(p.Month, c.m);
        EXPECT_EQ(p.Day, c.d);
        EXPECT_EQ(DayOfTheWeek(c.serial + 0.75), c.weekday);
    }
}

// The decoder has no loops and no tables: every day it can meet, and the
// time of day to the millisecond, must come back as encoded.
TEST(DateTime, EveryDayAndTimeDecodesAsEncoded) {
    for (int serial = -693593; serial <= 2958465; ++serial) {
        const TDateParts p = DecodeDate(serial);
        ASSERT_EQ(EncodeDate(p.Year, p.Month, p.Day), serial) << p.Year << "-" << p.Month << "-" << p.Day;
    }
    for (int ms = 0; ms < 86400000; ms += 997) {
        for (double day : {-693593.0, -1.0, 0.0, 46364.0, 2958465.0}) {
            TDateParts d;
            TTimeParts t;
            DecodeDateTime(day + ms / MSecsPerDay, d, t);
            ASSERT_EQ(((t.Hour * 60 + t.Minute) * 60 + t.Second) * 1000 + t.MSec, ms) << day;
            ASSERT_EQ(EncodeDate(d.Year, d.Month, d.Day), day);
        }
    }
}

TEST(DateTime, InvalidPartsEncodeAsZero) {
    EXPECT_EQ(EncodeDate(2026, 2, 29), 0);
    EXPECT_EQ(EncodeDate(2026, 13, 1), 0);
    EXPECT_EQ(EncodeDate(2026, 4, 31), 0);
    EXPECT_EQ(EncodeTime(24, 0, 0), 0);
    EXPECT_EQ(EncodeTime(1, 60, 0), 0);
    EXPECT_EQ(EncodeDateTime(2026, 2, 30, 1, 0, 0), 0);
}

TEST(DateTime, TimeRoundsToTheMillisecondAndCarriesIntoTheDay) {
    TDateTime t = EncodeDateTime(2026, 12, 8, 9, 5, 7, 250);
    TTimeParts parts = DecodeTime(t);
    EXPECT_EQ(parts.Hour, 9);
    EXPECT_EQ(parts.Minute, 5);
    EXPECT_EQ(parts.Second, 7);
    EXPECT_EQ(parts.MSec, 250);

    TDateTime almostMidnight = EncodeDate(2026, 12, 31) + (MSecsPerDay - 0.4) / MSecsPerDay;
    TDateParts d;
    TTimeParts tm;
    DecodeDateTime(almostMidnight, d, tm);
    EXPECT_EQ(d.Year, 2027);
    EXPECT_EQ(d.Month, 1);
    EXPECT_EQ(d.Day, 1);
    EXPECT_EQ(tm.Hour, 0);
    EXPECT_EQ(DateOf(EncodeDateTime(2026, 12, 8, 23, 59, 59)), EncodeDate(2026, 12, 8));
    EXPECT_NEAR(TimeOf(EncodeDateTime(2026, 12, 8, 6, 0, 0)), 0.25, 1e-12);
}

TEST(DateTime, CalendarMonthsAndYearsClampToTheLastDay) {
    struct Case { TDateTime from; int months; TDateTime expected; };
    const Case cases[] = {
        {EncodeDate(2026, 1, 31), 1, EncodeDate(2026, 2, 28)},
        {EncodeDate(2024, 1, 31), 1, EncodeDate(2024, 2, 29)},
        {EncodeDate(2026, 12, 15), 1, EncodeDate(2027, 1, 15)},
        {EncodeDate(2026, 3, 31), -1, EncodeDate(2026, 2, 28)},
        {EncodeDate(2026, 1, 15), -13, EncodeDate(2024, 12, 15)},
        {EncodeDateTime(2026, 5, 31, 8, 30, 0), 1, EncodeDateTime(2026, 6, 30, 8, 30, 0)},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(IncMonth(c.from, c.months), c.expected);
    EXPECT_EQ(IncYear(EncodeDate(2024, 2, 29), 1), EncodeDate(2025, 2, 28));
    EXPECT_EQ(IncYear(EncodeDate(2024, 2, 29), 4), EncodeDate(2028, 2, 29));
    EXPECT_EQ(DaysInAMonth(2100, 2), 28);
    EXPECT_EQ(DaysInAMonth(2000, 2), 29);
}

TEST(DateTime, ClockCanBeSetAndRestored) {
    SetFixedNow(EncodeDateTime(2026, 12, 24, 18, 0, 0));
    EXPECT_EQ(Now(), EncodeDateTime(2026, 12, 24, 18, 0, 0));
    EXPECT_EQ(Date(), EncodeDate(2026, 12, 24));
    ResetClock();
    TDateTime real = Now();
    EXPECT_GT(real, EncodeDate(2020, 1, 1));
    EXPECT_LT(real, EncodeDate(2200, 1, 1));
}

TEST(DateTime, UnixTimeConvertsToLocalTime) {
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_DOUBLE_EQ(UnixToDateTime(0), EncodeDate(1970, 1, 1));
    EXPECT_NEAR(UnixToDateTime(1796721900), EncodeDateTime(2026, 12, 8, 9, 25, 0), 1e-9);
    unsetenv("TZ");
    tzset();
}
