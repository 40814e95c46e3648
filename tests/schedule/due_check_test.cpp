// The due check driven tick by tick on a fixed clock: a simulated day at
// five-second steps over a mix of reminders, postponements, delayed ticks,
// the start-up pass for missed reminders, and what reaches the data file.
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "schedule/due_check_fixture.h"

namespace {

// 2026-12-07 is a Monday.
TEST_F(DueCheckTest, SimulatedDayAlertsEachOccurrenceOnce) {
    TRmRecordStruct completed = DailyRule(9, 0);
    completed.EndTime = At(2026, 12, 1, 12, 0);
    TRmRecordStruct unscheduled = DailyRule(9, 0);
    unscheduled.Period = PeriodNone;

    TRmRecordStruct* daily = Add("daily 09:00", DailyRule(9, 0));
    Add("daily 07:00:02", DailyRule(7, 0, 2));
    Add("weekly Mon Wed 13:30", WeeklyRule({1, 3}, 13, 30));
    Add("weekly Tue 13:30", WeeklyRule({2}, 13, 30));
    Add("monthly 7th 18:45:30", MonthlyRule({7}, 18, 45, 30));
    Add("monthly 8th 10:00", MonthlyRule({8}, 10, 0));
    TRmRecordStruct* once = Add("once 10:15", OnceRule(At(2026, 12, 7, 10, 15)));
    Add("once 11:00:03", OnceRule(At(2026, 12, 7, 11, 0, 3)));
    TRmRecordStruct* longPast = Add("once long past", OnceRule(At(2026, 11, 1, 10, 0)));
    Add("yearly since 2020 20:00", YearlyRule(2020, 12, 7, 20, 0));
    Add("yearly 8 December", YearlyRule(2025, 12, 8, 8, 0));
    TRmRecordStruct* midnight = Add("daily 00:00", DailyRule(0, 0));
    Add("daily 23:59:59", DailyRule(23, 59, 59));
    TRmRecordStruct* done = Add("completed daily", completed);
    Add("no schedule", unscheduled);
    Add("weekly without a day", WeeklyRule({}, 9, 0));

    const int ticks = Ticks(At(2026, 12, 7, 0, 0, 5), At(2026, 12, 8, 0, 0, 0));

    const TAlerts expected = {
        AlertAt(At(2026, 12, 7, 7, 0, 0), "daily 07:00:02"),
        AlertAt(At(2026, 12, 7, 9, 0, 0), "daily 09:00"),
        AlertAt(At(2026, 12, 7, 10, 15, 0), "once 10:15"),
        AlertAt(At(2026, 12, 7, 11, 0, 0), "once 11:00:03"),
        AlertAt(At(2026, 12, 7, 13, 30, 0), "weekly Mon Wed 13:30"),
        AlertAt(At(2026, 12, 7, 18, 45, 30), "monthly 7th 18:45:30"),
        AlertAt(At(2026, 12, 7, 20, 0, 0), "yearly since 2020 20:00"),
        AlertAt(At(2026, 12, 7, 23, 59, 55), "daily 23:59:59"),
        AlertAt(At(2026, 12, 8, 0, 0, 0), "daily 00:00"),
    };
    EXPECT_EQ(Windows->Alerts, expected);
    EXPECT_EQ(Windows->AlertCalls, static_cast<int>(expected.size()));  // no tick had two
    EXPECT_EQ(Windows->Repaints, ticks);

    // Once-only reminders complete on the first tick after their moment,
    // with or without an alert.
    EXPECT_EQ(Ms(once->EndTime), Ms(At(2026, 12, 7, 10, 15, 5)));
    EXPECT_EQ(once->NextAlert, 0);
    EXPECT_FALSE(once->IsActive());
    EXPECT_EQ(Ms(longPast->EndTime), Ms(At(2026, 12, 7, 0, 0, 5)));
    EXPECT_EQ(Windows->Synced, (std::vector<std::string>{"once long past", "once 10:15", "once 11:00:03"}));

    // An alert moves LastTime to the alert plus a minute; the pending moment
    // moves on to the next occurrence and the time left counts down to it.
    EXPECT_EQ(Ms(daily->LastTime), Ms(At(2026, 12, 7, 9, 1, 0)));
    EXPECT_EQ(Ms(daily->NextAlert), Ms(At(2026, 12, 8, 9, 0)));
    EXPECT_EQ(daily->RemainText, "9 Hours  ");
    EXPECT_EQ(Ms(midnight->NextAlert), Ms(At(2026, 12, 8, 0, 0)));
    EXPECT_EQ(Ms(midnight->LastTime), Ms(At(2026, 12, 8, 0, 1, 0)));
    // Completed reminders take no part.
    EXPECT_EQ(done->NextAlert, 0);
    EXPECT_EQ(done->RemainText, "");

    // Every alert and every completion was written, and nothing else.
    EXPECT_EQ(Windows->Refreshed.size(), expected.size() + 3);
    const auto storedDaily = Reloaded(daily);
    ASSERT_TRUE(storedDaily);
    EXPECT_EQ(Ms(storedDaily->LastTime), Ms(At(2026, 12, 7, 9, 1, 0)));
    const auto storedOnce = Reloaded(once);
    ASSERT_TRUE(storedOnce);
    EXPECT_EQ(Ms(storedOnce->EndTime), Ms(At(2026, 12, 7, 10, 15, 5)));
    EXPECT_EQ(Ms(storedOnce->LastTime), Ms(At(2026, 12, 7, 10, 16, 0)));
    const auto storedDone = Reloaded(done);
    ASSERT_TRUE(storedDone);
    EXPECT_EQ(Ms(storedDone->LastTime), Ms(done->CreateDateTime));
}

TEST_F(DueCheckTest, DueWindowIsTheFiveSecondsUpToTheMoment) {
    Add("09:00:00", DailyRule(9, 0, 0));
    TRmRecordStruct edge = DailyRule(9, 0, 0);
    edge.WakeTime = EncodeTime(9, 0, 4, 999);
    Add("09:00:04.999", edge);

    TickAt(At(2026, 12, 7, 8, 59, 55));  // exactly five seconds early: not yet
    EXPECT_TRUE(Windows->Alerts.empty());
    TickAt(At(2026, 12, 7, 9, 0, 0));
    EXPECT_EQ(Windows->Alerts, (TAlerts{AlertAt(At(2026, 12, 7, 9, 0, 0), "09:00:00"),
                                        AlertAt(At(2026, 12, 7, 9, 0, 0), "09:00:04.999")}));
    EXPECT_EQ(Windows->AlertCalls, 1);
}

// A late tick cannot alert in time, but what it passed over is reported as
// missed, once, and written as an alert would be.
TEST_F(DueCheckTest, DelayedTicksReportTheLostAlertAsMissed) {
    TRmRecordStruct* onTime = Add("daily, ticks 08:59:57 and 09:00:02", DailyRule(9, 0));
    TickAt(At(2026, 12, 7, 8, 59, 57));
    TickAt(At(2026, 12, 7, 9, 0, 2));
    EXPECT_EQ(Windows->Alerts, (TAlerts{AlertAt(At(2026, 12, 7, 8, 59, 57), onTime->Description)}));
    EXPECT_EQ(Ms(onTime->NextAlert), Ms(At(2026, 12, 8, 9, 0)));
    Store->DeleteRecord(onTime);

    TRmRecordStruct* daily = Add("daily", DailyRule(9, 0));
    const TDateTime created = daily->LastTime;
    TRmRecordStruct* once = Add("once", OnceRule(At(2026, 12, 7, 9, 0)));
    TickAt(At(2026, 12, 7, 8, 59, 50));
    TickAt(At(2026, 12, 7, 9, 0, 7));  // the tick meant for 08:59:55..09:00:00 came late
    EXPECT_EQ(Windows->Alerts.size(), 1u);
    EXPECT_EQ(Windows->Missed, (std::vector<std::string>{"daily", "once"}));
    EXPECT_EQ(Ms(daily->NextAlert), Ms(At(2026, 12, 8, 9, 0)));
    EXPECT_NE(daily->LastTime, created);
    EXPECT_EQ(Ms(daily->LastTime), Ms(At(2026, 12, 7, 9, 1, 7)));
    EXPECT_EQ(Ms(once->EndTime), Ms(At(2026, 12, 7, 9, 0, 7)));
}

TEST_F(DueCheckTest, PostponementBeforeTheNextOccurrenceWins) {
    TRmRecordStruct* daily = Add("daily", DailyRule(9, 0));
    Ticks(At(2026, 12, 7, 8, 59, 0), At(2026, 12, 7, 9, 0, 0));
    SetFixedNow(At(2026, 12, 7, 9, 0, 2));
    daily->NextAlert = At(2026, 12, 7, 13, 0, 2);  // "Postpone" 4 hours
    Ticks(At(2026, 12, 7, 9, 0, 5), At(2026, 12, 8, 9, 0, 0));
    EXPECT_EQ(Windows->Alerts, (TAlerts{AlertAt(At(2026, 12, 7, 9, 0, 0), "daily"),
                                        AlertAt(At(2026, 12, 7, 13, 0, 0), "daily"),
                                        AlertAt(At(2026, 12, 8, 9, 0, 0), "daily")}));
    EXPECT_EQ(Ms(Reloaded(daily)->LastTime), Ms(At(2026, 12, 8, 9, 1, 0)));
}

TEST_F(DueCheckTest, EarlierOccurrenceWinsOverPostponement) {
    TRmRecordStruct* daily = Add("daily", DailyRule(9, 0));
    TickAt(At(2026, 12, 7, 7, 0, 0));
    daily->NextAlert = At(2026, 12, 7, 10, 0, 0);
    Ticks(At(2026, 12, 7, 7, 0, 5), At(2026, 12, 7, 11, 0, 0));
    EXPECT_EQ(Windows->Alerts, (TAlerts{AlertAt(At(2026, 12, 7, 9, 0, 0), "daily")}));
    EXPECT_EQ(Ms(daily->NextAlert), Ms(At(2026, 12, 8, 9, 0)));
}

TEST_F(DueCheckTest, PostponedOnceOnlyReminderStaysUntilItsNewMoment) {
    TRmRecordStruct* once = Add("once", OnceRule(At(2026, 12, 7, 10, 0)));
    Ticks(At(2026, 12, 7, 9, 59, 0), At(2026, 12, 7, 10, 0, 0));
    once->NextAlert = At(2026, 12, 7, 10, 5, 2);  // postponed 5 minutes at 10:00:02
    Ticks(At(2026, 12, 7, 10, 0, 5), At(2026, 12, 7, 10, 5, 0));
    EXPECT_EQ(once->EndTime, 0);
    EXPECT_EQ(once->RemainText, "");  // under a minute to go
    TickAt(At(2026, 12, 7, 10, 5, 5));
    EXPECT_EQ(Windows->Alerts, (TAlerts{AlertAt(At(2026, 12, 7, 10, 0, 0), "once"),
                                        AlertAt(At(2026, 12, 7, 10, 5, 0), "once")}));
    EXPECT_EQ(Ms(once->EndTime), Ms(At(2026, 12, 7, 10, 5, 5)));
    EXPECT_EQ(Ms(Reloaded(once)->EndTime), Ms(At(2026, 12, 7, 10, 5, 5)));
}

// Completed, but a postponement is pending: alerted once more, then
// finished again. For a once-only reminder the completion moment is renewed;
// a repeating one does not start alerting at every later occurrence.
TEST_F(DueCheckTest, CompletedReminderWithPendingPostponementIsAlertedOnceMore) {
    TRmRecordStruct* once = Add("once", OnceRule(At(2026, 12, 7, 10, 0)));
    TRmRecordStruct* daily = Add("daily", DailyRule(9, 0));
    Ticks(At(2026, 12, 7, 9, 59, 55), At(2026, 12, 7, 10, 0, 5));
    ASSERT_NE(once->EndTime, 0);
    daily->EndTime = At(2026, 12, 7, 10, 0, 6);  // marked finished in the list
    daily->NextAlert = 0;
    once->NextAlert = daily->NextAlert = At(2026, 12, 7, 10, 5, 7);
    Windows->Alerts.clear();
    Windows->Synced.clear();

    Ticks(At(2026, 12, 7, 10, 0, 10), At(2026, 12, 9, 10, 0, 0));
    EXPECT_EQ(Windows->Alerts, (TAlerts{AlertAt(At(2026, 12, 7, 10, 5, 5), "once"),
                                        AlertAt(At(2026, 12, 7, 10, 5, 5), "daily")}));
    EXPECT_EQ(Ms(once->EndTime), Ms(At(2026, 12, 7, 10, 5, 10)));
    EXPECT_EQ(Ms(daily->EndTime), Ms(At(2026, 12, 7, 10, 0, 6)));
    EXPECT_FALSE(once->IsActive());
    EXPECT_FALSE(daily->IsActive());
    EXPECT_EQ(Windows->Synced, (std::vector<std::string>{"once", "daily"}));
}

TEST_F(DueCheckTest, FailedWriteStillShowsTheAlertsThenReportsTheFailure) {
    Add("first", DailyRule(9, 0));
    Add("second", DailyRule(9, 0));
    Windows->FailingWrite = "first";
    SetFixedNow(At(2026, 12, 7, 9, 0, 0));
    EXPECT_THROW(Check->timerTimer(), std::runtime_error);
    EXPECT_EQ(Windows->Alerts, (TAlerts{AlertAt(At(2026, 12, 7, 9, 0, 0), "first"),
                                        AlertAt(At(2026, 12, 7, 9, 0, 0), "second")}));
    EXPECT_EQ(Windows->Repaints, 1);
}

TEST_F(DueCheckTest, StartUpReportsRemindersMissedWhileNotRunning) {
    const TDateTime today = EncodeDate(2026, 12, 7);  // a Monday
    Add("daily, last alert yesterday", DailyRule(9, 0), today - 1 + EncodeTime(9, 1, 0));
    Add("daily, already alerted today", DailyRule(9, 0), today + EncodeTime(9, 1, 0));
    Add("weekly today, last alert a week ago", WeeklyRule({1}, 9, 0), today - 7 + EncodeTime(9, 1, 0));
    Add("weekly tomorrow", WeeklyRule({2}, 9, 0), today - 6 + EncodeTime(9, 1, 0));
    Add("monthly today, last alert a month ago", MonthlyRule({7}, 9, 0), At(2026, 11, 7, 9, 1));
    Add("once yesterday", OnceRule(today - 1 + EncodeTime(15, 0, 0)), today - 2);
    Add("once tomorrow", OnceRule(today + 1 + EncodeTime(9, 0, 0)), today - 2);
    Add("yearly since 2023, last alert a year ago", YearlyRule(2023, 12, 7, 9, 0), At(2025, 12, 7, 9, 1));
    Add("yearly later this year", YearlyRule(2023, 12, 20, 9, 0), At(2025, 12, 20, 9, 1));
    Add("yearly from next year", YearlyRule(2027, 1, 5, 9, 0), At(2026, 1, 10, 9, 0));
    TRmRecordStruct finished = DailyRule(9, 0);
    finished.EndTime = today - 3;
    Add("completed", finished, today - 3);
    TRmRecordStruct unscheduled = DailyRule(9, 0);
    unscheduled.Period = PeriodNone;
    Add("no schedule", unscheduled, today - 3);
    const std::vector<TDateTime> lastTimes = [&] {
        std::vector<TDateTime> v;
        for (const auto& r : Store->Records()) v.push_back(r->LastTime);
        return v;
    }();

    StartUp(today + EncodeTime(10, 0, 0));
    EXPECT_EQ(Windows->MissedCalls, 1);
    EXPECT_EQ(Windows->Missed, (std::vector<std::string>{"daily, last alert yesterday",
                                                         "weekly today, last alert a week ago",
                                                         "monthly today, last alert a month ago", "once yesterday",
                                                         "yearly since 2023, last alert a year ago"}));
    // Reporting changes nothing: the same reminders are reported next time.
    for (size_t i = 0; i < lastTimes.size(); ++i) EXPECT_EQ(Store->Records()[i]->LastTime, lastTimes[i]);
    EXPECT_TRUE(Windows->Refreshed.empty());

    // Started before the wake time, only the once-only reminder is missed.
    Windows->Missed.clear();
    StartUp(today + EncodeTime(8, 0, 0));
    EXPECT_EQ(Windows->Missed, (std::vector<std::string>{"once yesterday"}));
}

TEST_F(DueCheckTest, StartUpFillsAMissingLastTime) {
    TRmRecordStruct* fresh = Add("daily without a last time", DailyRule(9, 0));
    fresh->LastTime = 0;
    Store->UpdateRecord(fresh);
    StartUp(At(2026, 12, 7, 10, 0, 0));
    EXPECT_EQ(Windows->MissedCalls, 0);
    EXPECT_EQ(Ms(fresh->LastTime), Ms(At(2026, 12, 7, 10, 0, 0)));
    EXPECT_EQ(Ms(Reloaded(fresh)->LastTime), Ms(At(2026, 12, 7, 10, 0, 0)));
}

TEST_F(DueCheckTest, MissedOnceOnlyReminderCompletesOnTheFirstTickWithoutAlert) {
    TRmRecordStruct* once = Add("once yesterday", OnceRule(At(2026, 12, 6, 15, 0)), At(2026, 12, 1, 0, 0));
    StartUp(At(2026, 12, 7, 10, 0, 0));
    EXPECT_EQ(Windows->Missed, (std::vector<std::string>{"once yesterday"}));
    TickAt(At(2026, 12, 7, 10, 0, 5));
    EXPECT_TRUE(Windows->Alerts.empty());
    EXPECT_EQ(Ms(Reloaded(once)->EndTime), Ms(At(2026, 12, 7, 10, 0, 5)));
}

// Moments the data file could not read load as NaN. A reminder without a
// readable time of day is left exactly as loaded by the due check, however
// its other fields look; an unreadable end time still means completed.
TEST_F(DueCheckTest, UnreadableMomentsAreNeverAlertedNorCompleted) {
    const double unreadable = std::numeric_limits<double>::quiet_NaN();
    auto withoutTime = [&](TRmRecordStruct rule) {
        rule.WakeTime = unreadable;
        return rule;
    };
    TRmRecordStruct* daily = Add("daily", withoutTime(DailyRule(9, 0)));
    TRmRecordStruct* pastOnce = Add("once long past", withoutTime(OnceRule(At(2026, 11, 1, 10, 0))));
    TRmRecordStruct* postponed = Add("once postponed", withoutTime(OnceRule(At(2026, 12, 7, 10, 0))));
    postponed->NextAlert = At(2026, 12, 7, 10, 5);
    TRmRecordStruct completedOnce = OnceRule(At(2026, 12, 7, 9, 0));
    completedOnce.EndTime = At(2026, 12, 7, 9, 0, 5);
    TRmRecordStruct* finished = Add("completed, postponed", withoutTime(completedOnce));
    finished->NextAlert = At(2026, 12, 7, 11, 0);
    TRmRecordStruct unreadableEnd = DailyRule(9, 0);
    unreadableEnd.EndTime = unreadable;
    TRmRecordStruct* ended = Add("end time unreadable", unreadableEnd);
    Add("weekly", withoutTime(WeeklyRule({1}, 12, 0)));
    Add("monthly", withoutTime(MonthlyRule({7}, 12, 0)));
    Add("yearly", withoutTime(YearlyRule(2020, 12, 7, 12, 0)));
    const std::vector<TRmRecordStruct> before = [&] {
        std::vector<TRmRecordStruct> v;
        for (const auto& r : Store->Records()) v.push_back(*r);
        return v;
    }();

    Ticks(At(2026, 12, 7, 0, 0, 0), At(2026, 12, 8, 0, 0, 0));
    EXPECT_TRUE(Windows->Alerts.empty());
    EXPECT_TRUE(Windows->Refreshed.empty());
    EXPECT_TRUE(Windows->Synced.empty());
    for (size_t i = 0; i < before.size(); ++i) {
        const TRmRecordStruct& now = *Store->Records()[i];
        EXPECT_EQ(Ms(now.NextAlert), Ms(before[i].NextAlert)) << now.Description;
        EXPECT_EQ(now.RemainText, "") << now.Description;
        EXPECT_EQ(Ms(now.LastTime), Ms(before[i].LastTime)) << now.Description;
    }
    EXPECT_EQ(daily->EndTime, 0);
    EXPECT_EQ(pastOnce->EndTime, 0);
    EXPECT_EQ(postponed->EndTime, 0);
    EXPECT_EQ(Ms(finished->EndTime), Ms(At(2026, 12, 7, 9, 0, 5)));
    EXPECT_TRUE(std::isnan(ended->EndTime));
    EXPECT_FALSE(ended->IsActive());

    // Nor are they reported as missed at start-up.
    StartUp(At(2026, 12, 9, 12, 0));
    EXPECT_EQ(Windows->MissedCalls, 0);
}

// An unreadable last alert is filled in and written like a missing one,
// not compared with.
TEST_F(DueCheckTest, StartUpFillsAnUnreadableLastTime) {
    TRmRecordStruct* daily = Add("daily", DailyRule(9, 0));
    daily->LastTime = std::numeric_limits<double>::quiet_NaN();
    TRmRecordStruct* once = Add("once yesterday", OnceRule(At(2026, 12, 6, 15, 0)));
    once->LastTime = std::numeric_limits<double>::quiet_NaN();
    StartUp(At(2026, 12, 7, 10, 0, 0));
    EXPECT_EQ(Windows->MissedCalls, 0);
    EXPECT_EQ(Ms(daily->LastTime), Ms(At(2026, 12, 7, 10, 0, 0)));
    EXPECT_EQ(Ms(once->LastTime), Ms(At(2026, 12, 7, 10, 0, 0)));
    EXPECT_EQ(Ms(Reloaded(daily)->LastTime), Ms(At(2026, 12, 7, 10, 0, 0)));
}

}  // namespace
