// A week of the due check at five-second ticks of the virtual clock, over a
// store of every kind of reminder, with postponements made through the alert
// window's field writes and a restart in the middle of the week. Every
// occurrence must be alerted exactly once, in the five seconds up to it, and
// the data file must hold the right last-alert and completion moments.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "schedule/due_check_fixture.h"
#include "support/test_support.h"

namespace {

using TAlerts = std::vector<std::pair<int64_t, std::string>>;

// The tick whose due window holds the moment: ticks fall on whole
// five-second steps of the day.
int64_t TickOf(TDateTime moment) {
    const int64_t ms = Ms(moment);
    return ms - ms % TDueCheck::TimerInterval;
}

TDateTime MomentOf(int64_t ms) { return static_cast<double>(ms) / MSecsPerDay; }

// "Postpone" chosen on the n-th alert (from 0) of a reminder, two seconds
// after the alert window appeared.
struct TPlannedPostponement {
    int Alert;
    TDateTime By;
};

class WeekSimulationTest : public DueCheckTest {
protected:
    void SetUp() override {
        DueCheckTest::SetUp();
        Watch();
    }

    // After a (re)start: the alert window's part in the simulation.
    void Watch() {
        Windows->OnAlerts = [this](const std::vector<TRmRecordStruct*>& due) {
            for (TRmRecordStruct* r : due) {
                Log.emplace_back(Ms(Now()), r->Description);
                auto plan = Plans.find(r->Description);
                if (plan != Plans.end() && plan->second.Alert == AlertCount[r->Description])
                    Clicks.push_back({r, Now() + 2 * OneSecond, plan->second.By});
                ++AlertCount[r->Description];
            }
        };
    }

    // What the alert window does on "Postpone", at the moment of the click.
    void RunClicks() {
        for (const TClick& click : Clicks) {
            SetFixedNow(click.At);
            click.Record->NextAlert = click.Record->Postponement = click.At + click.By;
            Windows->RefreshReminder(click.Record);
            Windows->SyncListRow(click.Record);
            const std::string text = testing_support::ReadFileBytes(DataPath());
            EXPECT_NE(text.find("NEXTALERT=" + DateTimeToStr(click.At + click.By)), std::string::npos)
                << click.Record->Description;
            ++Postponed;
        }
        Clicks.clear();
    }

    void Restart(TDateTime at) {
        Writes += Windows->Refreshed.size();
        Open();
        Watch();
        StartUp(at);
        Missed += Windows->Missed.size();
    }

    struct TClick {
        TRmRecordStruct* Record;
        TDateTime At;
        TDateTime By;
    };
    std::map<std::string, TPlannedPostponement> Plans;
    std::map<std::string, int> AlertCount;
    std::vector<TClick> Clicks;
    TAlerts Log;
    size_t Writes = 0, Missed = 0, Postponed = 0;
};

// 2026-03-26 is a Thursday; March has 31 days.
TEST_F(WeekSimulationTest, EveryOccurrenceAlertedOnceAndOnTime) {
    TRmRecordStruct finished = DailyRule(9, 0);
    finished.EndTime = At(2026, 3, 1, 12, 0);
    struct TReminder {
        std::string Description;
        TRmRecordStruct Rule;
    };
    const std::vector<TReminder> reminders = {
        {"once Fri 14:20:03", OnceRule(At(2026, 3, 27, 14, 20, 3))},
        {"daily 07:30", DailyRule(7, 30)},
        {"daily 23:59:58", DailyRule(23, 59, 58)},
        {"weekly Mon Wed Sat 12:00:02", WeeklyRule({1, 3, 6}, 12, 0, 2)},
        {"monthly 1 28 31 06:15", MonthlyRule({1, 28, 31}, 6, 15)},
        {"monthly 29 17:45", MonthlyRule({29}, 17, 45)},
        {"yearly 29 March 09:45", YearlyRule(2025, 3, 29, 9, 45)},
        {"once Sat 10:00", OnceRule(At(2026, 3, 28, 10, 0))},
        {"daily 20:00", DailyRule(20, 0)},
        {"once Sun 01:00", OnceRule(At(2026, 3, 29, 1, 0))},
        {"weekly Sun 16:40:04", WeeklyRule({0}, 16, 40, 4)},
        {"once next month", OnceRule(At(2026, 4, 5, 9, 0))},
        {"completed daily", finished},
        {"yearly 2 April 00:00", YearlyRule(2024, 4, 2, 0, 0)},
    };
    std::map<std::string, TDateTime> created;
    for (const TReminder& r : reminders) created[r.Description] = Add(r.Description, r.Rule)->CreateDateTime;
    Plans = {{"once Sat 10:00", {0, OneHour}},
             {"daily 20:00", {2, 4 * OneHour}},  // Saturday's, to just past midnight
             {"once Sun 01:00", {0, 4 * OneHour}},  // pending across the restart
             {"weekly Mon Wed Sat 12:00:02", {1, 5 * OneMinute}},
             {"monthly 1 28 31 06:15", {1, 10 * OneMinute}}};

    const int64_t start = Ms(At(2026, 3, 26)), end = Ms(At(2026, 4, 2)), restart = Ms(At(2026, 3, 29, 3, 0, 0));
    int ticks = 0;
    for (int64_t t = start; t <= end; t += TDueCheck::TimerInterval, ++ticks) {
        TickAt(MomentOf(t));
        RunClicks();
        if (t == restart) Restart(MomentOf(t + 2000));
    }
    EXPECT_EQ(ticks, 7 * 17280 + 1);

    // The occurrences, the postponed moments (click two seconds after the
    // alert tick, plus the delay) among them.
    TAlerts expected;
    auto occurs = [&](const std::string& description, TDateTime moment) {
        expected.emplace_back(TickOf(moment), description);
    };
    for (int day = 26; day <= 32; ++day) {
        const TDateTime date = EncodeDate(2026, 3, 1) + (day - 1);
        occurs("daily 07:30", date + EncodeTime(7, 30, 0));
        occurs("daily 23:59:58", date + EncodeTime(23, 59, 58));
        occurs("daily 20:00", date + EncodeTime(20, 0, 0));
    }
    occurs("once Fri 14:20:03", At(2026, 3, 27, 14, 20, 3));
    for (int day : {28, 30, 32}) occurs("weekly Mon Wed Sat 12:00:02", At(2026, 3, 1, 12, 0, 2) + (day - 1));
    occurs("weekly Mon Wed Sat 12:00:02", At(2026, 3, 30, 12, 5, 2));
    for (int day : {28, 31, 32}) occurs("monthly 1 28 31 06:15", At(2026, 3, 1, 6, 15) + (day - 1));
    occurs("monthly 1 28 31 06:15", At(2026, 3, 31, 6, 25, 2));
    occurs("monthly 29 17:45", At(2026, 3, 29, 17, 45));
    occurs("yearly 29 March 09:45", At(2026, 3, 29, 9, 45));
    occurs("once Sat 10:00", At(2026, 3, 28, 10, 0));
    occurs("once Sat 10:00", At(2026, 3, 28, 11, 0, 2));
    occurs("daily 20:00", At(2026, 3, 29, 0, 0, 2));
    occurs("once Sun 01:00", At(2026, 3, 29, 1, 0));
    occurs("once Sun 01:00", At(2026, 3, 29, 5, 0, 2));
    occurs("weekly Sun 16:40:04", At(2026, 3, 29, 16, 40, 4));
    occurs("yearly 2 April 00:00", At(2026, 4, 2, 0, 0));

    auto sorted = [](TAlerts v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    // Exactly these, each once: no duplicates, none lost, none early.
    EXPECT_EQ(sorted(Log), sorted(expected));
    EXPECT_EQ(Postponed, Plans.size());
    EXPECT_EQ(Missed + Windows->Missed.size(), 0u);

    // Nothing was written but alerts, completions and postponements.
    std::map<std::string, int64_t> lastAlert;
    for (const auto& [tick, description] : Log) lastAlert[description] = std::max(lastAlert[description], tick);
    const size_t completions = 3;
    EXPECT_EQ(Writes + Windows->Refreshed.size(), Log.size() + completions + Postponed);

    // The data file, reopened: LASTTIME one minute after each reminder's
    // last alert, ENDTIME the tick after a once-only reminder's last alert.
    const TRemindFile stored(DataPath(), TConfigOnClose::Keep, TIniAccess::ReadOnly);
    ASSERT_EQ(stored.Records().size(), reminders.size());
    for (const auto& r : stored.Records()) {
        SCOPED_TRACE(r->Description);
        const auto alerted = lastAlert.find(r->Description);
        const bool once = r->Period == PeriodOnce;
        EXPECT_EQ(r->Postponement, 0);
        if (alerted == lastAlert.end()) {
            EXPECT_EQ(Ms(r->LastTime), Ms(created[r->Description]));
            EXPECT_EQ(r->IsCompleted(), r->Description == "completed daily");
        } else {
            EXPECT_EQ(Ms(r->LastTime), alerted->second + 60000);
            EXPECT_EQ(Ms(r->EndTime), once ? alerted->second + TDueCheck::TimerInterval : 0);
        }
        EXPECT_EQ(r->NextAlert, 0);
    }
    EXPECT_EQ(testing_support::ReadFileBytes(DataPath()).find("NEXTALERT"), std::string::npos);
}

}  // namespace
