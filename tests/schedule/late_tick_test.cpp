// Ticks that come late: the computer slept, the loop was blocked or the
// clock jumped. What passed unalerted between two ticks is reported as
// missed on the later one; nothing alerted is ever reported, and a clock
// that went back looks back at nothing.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "schedule/due_check_fixture.h"

namespace {

using TStrings = std::vector<std::string>;

// 2026-12-07 is a Monday.
TEST_F(DueCheckTest, TwoHourGapReportsWhatItPassedOverOnce) {
    TRmRecordStruct* once = Add("once 10:30", OnceRule(At(2026, 12, 7, 10, 30)));
    TRmRecordStruct* daily = Add("daily 11:00", DailyRule(11, 0));
    TRmRecordStruct* before = Add("daily 09:57", DailyRule(9, 57));
    TRmRecordStruct* after = Add("daily 12:00:03", DailyRule(12, 0, 3));
    Ticks(At(2026, 12, 7, 9, 55, 0), At(2026, 12, 7, 10, 0, 0));
    ASSERT_EQ(Windows->Alerts, (TAlerts{AlertAt(At(2026, 12, 7, 9, 57, 0), "daily 09:57")}));

    TickAt(At(2026, 12, 7, 12, 0, 0));  // two hours later
    EXPECT_EQ(Windows->MissedCalls, 1);
    EXPECT_EQ(Windows->MissedAt, (TAlerts{AlertAt(At(2026, 12, 7, 12, 0, 0), "once 10:30"),
                                          AlertAt(At(2026, 12, 7, 12, 0, 0), "daily 11:00")}));
    // Due in this tick's own window: alerted, not missed, and shown first.
    EXPECT_EQ(Windows->Alerts.back(), AlertAt(At(2026, 12, 7, 12, 0, 0), "daily 12:00:03"));
    EXPECT_EQ(Windows->Calls, (TStrings{"ShowAlerts", "ShowAlerts", "ShowMissed"}));

    EXPECT_EQ(Ms(once->EndTime), Ms(At(2026, 12, 7, 12, 0, 0)));
    EXPECT_FALSE(once->IsActive());
    EXPECT_EQ(Ms(daily->NextAlert), Ms(At(2026, 12, 8, 11, 0)));
    for (TRmRecordStruct* r : {once, daily}) {
        SCOPED_TRACE(r->Description);
        EXPECT_EQ(Ms(r->LastTime), Ms(At(2026, 12, 7, 12, 1, 0)));
        EXPECT_EQ(Ms(Reloaded(r)->LastTime), Ms(At(2026, 12, 7, 12, 1, 0)));
    }
    EXPECT_EQ(Ms(Reloaded(once)->EndTime), Ms(At(2026, 12, 7, 12, 0, 0)));
    EXPECT_EQ(Ms(before->LastTime), Ms(At(2026, 12, 7, 9, 58, 0)));
    EXPECT_EQ(Ms(after->LastTime), Ms(At(2026, 12, 7, 12, 1, 0)));

    Ticks(At(2026, 12, 7, 12, 0, 5), At(2026, 12, 7, 12, 30, 0));
    EXPECT_EQ(Windows->MissedCalls, 1);
    // The written LastTime keeps the next start from reporting them again.
    Windows->Missed.clear();
    StartUp(At(2026, 12, 7, 12, 30, 5));
    EXPECT_TRUE(Windows->Missed.empty());
}

TEST_F(DueCheckTest, FirstTickAndBackwardClockLookBackAtNothing) {
    TRmRecordStruct* daily = Add("daily 09:00", DailyRule(9, 0));
    Add("once 09:30", OnceRule(At(2026, 12, 7, 9, 30)));
    // The first tick of a run has no previous tick to look back to.
    TickAt(At(2026, 12, 7, 10, 0, 0));
    EXPECT_EQ(Windows->MissedCalls, 0);

    // Back two hours: the pending moments lie ahead again, nothing is missed,
    // and the occurrence is alerted in its window.
    TickAt(At(2026, 12, 7, 8, 0, 0));
    EXPECT_EQ(Windows->MissedCalls, 0);
    Ticks(At(2026, 12, 7, 8, 59, 55), At(2026, 12, 7, 9, 0, 5));
    EXPECT_EQ(Windows->Alerts, (TAlerts{AlertAt(At(2026, 12, 7, 9, 0, 0), "daily 09:00")}));
    EXPECT_EQ(Windows->MissedCalls, 0);

    // Forward again past a moment already alerted: still nothing missed.
    TickAt(At(2026, 12, 7, 8, 0, 0));
    TickAt(At(2026, 12, 7, 9, 10, 0));
    EXPECT_EQ(Windows->MissedCalls, 0);
    EXPECT_EQ(Ms(daily->NextAlert), Ms(At(2026, 12, 8, 9, 0)));
}

// A postponement whose moment passed during the gap is reported, and a
// postponement is replaced (not kept) once it passed.
TEST_F(DueCheckTest, PostponedMomentPassedInAGapIsReported) {
    TRmRecordStruct* daily = Add("daily 09:00", DailyRule(9, 0));
    Ticks(At(2026, 12, 7, 8, 59, 55), At(2026, 12, 7, 9, 0, 0));
    daily->NextAlert = daily->Postponement = At(2026, 12, 7, 9, 30, 2);
    Store->UpdateRecord(daily);
    TickAt(At(2026, 12, 7, 9, 0, 5));
    TickAt(At(2026, 12, 7, 14, 0, 0));
    EXPECT_EQ(Windows->Missed, (TStrings{"daily 09:00"}));
    EXPECT_EQ(daily->Postponement, 0);
    EXPECT_EQ(Ms(daily->NextAlert), Ms(At(2026, 12, 8, 9, 0)));
    EXPECT_EQ(Reloaded(daily)->Postponement, 0);
}

// Timers run late by a few milliseconds at every tick, so the ticks drift.
// Moments sit at the edges of the due windows: the first and the last
// millisecond of a window, and the few milliseconds a late tick leaves
// between two windows. Each is alerted by the tick whose window holds it or
// reported missed by the first tick after it: exactly once, never both.
TEST_F(DueCheckTest, JitteredTicksNeitherLoseNorRepeatAnOccurrence) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> lateMs(2, 40);
    std::vector<int64_t> ticks{Ms(At(2026, 12, 7, 8, 59, 0))};
    while (ticks.back() < Ms(At(2026, 12, 7, 9, 2, 0))) ticks.push_back(ticks.back() + 5000 + lateMs(rng));

    const int64_t day = Ms(At(2026, 12, 7));
    struct TExpected {
        int64_t Moment;
        int64_t Tick;
        bool Alerted;
    };
    std::vector<TExpected> expected;
    for (size_t k = 3; k + 1 < ticks.size(); k += 3) {
        const int64_t window = ticks[k] + TDueCheck::TimerInterval;
        expected.push_back({ticks[k], ticks[k], true});
        expected.push_back({window - 1, ticks[k], true});
        expected.push_back({window, ticks[k + 1], false});
        expected.push_back({ticks[k + 1] - 1, ticks[k + 1], false});
        expected.push_back({ticks[k + 1], ticks[k + 1], true});
    }
    for (size_t i = 0; i < expected.size(); ++i) {
        TRmRecordStruct rule = DailyRule(0, 0);
        rule.WakeTime = static_cast<double>(expected[i].Moment - day) / MSecsPerDay;
        Add("r" + std::to_string(i), rule);
    }
    for (int64_t t : ticks) TickAt(static_cast<double>(t) / MSecsPerDay);

    TAlerts alerts, missed;
    for (size_t i = 0; i < expected.size(); ++i)
        (expected[i].Alerted ? alerts : missed).emplace_back(expected[i].Tick, "r" + std::to_string(i));
    auto sorted = [](TAlerts v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(sorted(Windows->Alerts), sorted(alerts));
    EXPECT_EQ(sorted(Windows->MissedAt), sorted(missed));
}

}  // namespace

// Started two seconds before a daily moment, the first tick comes three
// seconds after it: the start-up pass leaves the reminder waiting for that
// moment, so the first tick reports it instead of passing over it.
TEST_F(DueCheckTest, MomentBetweenStartUpAndFirstTickIsReported) {
    TRmRecordStruct* daily = Add("daily 09:00", DailyRule(9, 0));
    daily->LastTime = At(2026, 12, 6, 9, 1);
    StartUp(At(2026, 12, 7, 8, 59, 58));
    EXPECT_TRUE(Windows->Missed.empty());
    TickAt(At(2026, 12, 7, 9, 0, 3));
    EXPECT_EQ(Windows->MissedAt, (TAlerts{AlertAt(At(2026, 12, 7, 9, 0, 3), "daily 09:00")}));
    EXPECT_EQ(Ms(daily->NextAlert), Ms(At(2026, 12, 8, 9, 0)));
    TickAt(At(2026, 12, 7, 9, 0, 8));
    EXPECT_EQ(Windows->MissedCalls, 1);
}

// The list shows each reminder's time left from the start, before the
// first tick has run.
TEST_F(DueCheckTest, StartUpGivesEveryWaitingReminderItsTimeLeft) {
    TRmRecordStruct* daily = Add("daily 09:00", DailyRule(9, 0));
    daily->LastTime = At(2026, 12, 6, 9, 1);
    StartUp(At(2026, 12, 7, 8, 0, 0));
    EXPECT_EQ(Ms(daily->NextAlert), Ms(At(2026, 12, 7, 9, 0)));
    EXPECT_EQ(daily->RemainText, RemainingText(At(2026, 12, 7, 8, 0, 0), daily->NextAlert, CurrentTimeUnitWords()));
    EXPECT_FALSE(daily->RemainText.empty());
}
