// Postponements across a restart: the alert window's field writes reach the
// data file, the reopened store restores the pending moment, and the due
// check alerts it, reports it missed when it passed while the program was
// not running, and removes it from the file once it has ended.
#include <string>
#include <vector>

#include "schedule/due_check_fixture.h"
#include "support/test_support.h"

namespace {

using TStrings = std::vector<std::string>;

class PostponementTest : public DueCheckTest {
protected:
    // What the alert window does on "Postpone": both fields, then the
    // record written and its row synced.
    void Postpone(TRmRecordStruct* record, TDateTime at, TDateTime by) {
        SetFixedNow(at);
        record->NextAlert = record->Postponement = at + by;
        Windows->RefreshReminder(record);
        Windows->SyncListRow(record);
    }
    TRmRecordStruct* Only() const { return Store->Records().front().get(); }
    std::string FileText() const { return testing_support::ReadFileBytes(DataPath()); }
    bool FileHasPostponement() const { return FileText().find("NEXTALERT=") != std::string::npos; }

    // A once-only reminder at 10:00, alerted, then postponed 4 hours at
    // 10:00:02 (to 14:00:02); the tick after it leaves it unfinished.
    TRmRecordStruct* PostponedOnce() {
        TRmRecordStruct* once = Add("once", OnceRule(At(2026, 12, 7, 10, 0)));
        Ticks(At(2026, 12, 7, 9, 59, 55), At(2026, 12, 7, 10, 0, 0));
        Postpone(once, At(2026, 12, 7, 10, 0, 2), 4 * OneHour);
        TickAt(At(2026, 12, 7, 10, 0, 5));
        EXPECT_EQ(once->EndTime, 0);
        return once;
    }
};

// 2026-12-07 is a Monday.
TEST_F(PostponementTest, RestoredAfterARestartAndAlertedAtItsMoment) {
    PostponedOnce();
    EXPECT_NE(FileText().find("NEXTALERT=2026-12-07 14:00:02\n"), std::string::npos) << FileText();

    Open();
    TRmRecordStruct* once = Only();
    EXPECT_EQ(Ms(once->NextAlert), Ms(At(2026, 12, 7, 14, 0, 2)));
    EXPECT_EQ(Ms(once->Postponement), Ms(At(2026, 12, 7, 14, 0, 2)));
    EXPECT_TRUE(once->IsActive());
    StartUp(At(2026, 12, 7, 11, 0, 0));
    EXPECT_EQ(Windows->MissedCalls, 0);

    Ticks(At(2026, 12, 7, 11, 0, 5), At(2026, 12, 7, 13, 59, 55));
    EXPECT_TRUE(FileHasPostponement()) << "pending until it is alerted";
    Ticks(At(2026, 12, 7, 14, 0, 0), At(2026, 12, 7, 15, 0, 0));
    EXPECT_EQ(Windows->Alerts, (TAlerts{AlertAt(At(2026, 12, 7, 14, 0, 0), "once")}));
    EXPECT_EQ(Windows->MissedCalls, 0);
    EXPECT_EQ(Ms(once->EndTime), Ms(At(2026, 12, 7, 14, 0, 5)));
    EXPECT_FALSE(once->IsActive());

    EXPECT_FALSE(FileHasPostponement()) << FileText();
    const auto stored = Reloaded(once);
    EXPECT_EQ(Ms(stored->EndTime), Ms(At(2026, 12, 7, 14, 0, 5)));
    EXPECT_EQ(Ms(stored->LastTime), Ms(At(2026, 12, 7, 14, 1, 0)));
    EXPECT_EQ(stored->NextAlert, 0);
    EXPECT_FALSE(stored->IsActive());
}

TEST_F(PostponementTest, PassedWhileNotRunningIsReportedMissedAtStartUp) {
    PostponedOnce();
    Open();
    StartUp(At(2026, 12, 7, 15, 0, 0));
    EXPECT_EQ(Windows->Missed, (TStrings{"once"}));

    // The first tick completes it as usual, without an alert or a second report.
    TickAt(At(2026, 12, 7, 15, 0, 5));
    TRmRecordStruct* once = Only();
    EXPECT_TRUE(Windows->Alerts.empty());
    EXPECT_EQ(Windows->MissedCalls, 1);
    EXPECT_EQ(Ms(once->EndTime), Ms(At(2026, 12, 7, 15, 0, 5)));
    EXPECT_EQ(once->Postponement, 0);
    EXPECT_FALSE(FileHasPostponement()) << FileText();

    // Nothing left to report at the next start.
    Open();
    StartUp(At(2026, 12, 7, 16, 0, 0));
    EXPECT_EQ(Windows->MissedCalls, 0);
    EXPECT_FALSE(Only()->IsActive());
}

// Completed reminders kept active only by their postponement: reported
// too, then finished again by the first tick.
TEST_F(PostponementTest, CompletedReminderWithPassedPostponementIsReportedAtStartUp) {
    TRmRecordStruct* once = Add("once", OnceRule(At(2026, 12, 7, 10, 0)));
    TRmRecordStruct* daily = Add("daily", DailyRule(9, 0));
    Ticks(At(2026, 12, 7, 9, 59, 55), At(2026, 12, 7, 10, 0, 5));
    ASSERT_NE(once->EndTime, 0);
    daily->EndTime = At(2026, 12, 7, 10, 0, 6);  // marked finished in the list
    Postpone(once, At(2026, 12, 7, 10, 0, 7), 30 * OneMinute);
    Postpone(daily, At(2026, 12, 7, 10, 0, 7), 30 * OneMinute);
    TRmRecordStruct* plain = Add("completed, never postponed", DailyRule(9, 0));
    plain->EndTime = At(2026, 12, 7, 8, 0);
    Store->UpdateRecord(plain);

    Open();
    StartUp(At(2026, 12, 7, 12, 0, 0));
    EXPECT_EQ(Windows->Missed, (TStrings{"once", "daily"}));
    TickAt(At(2026, 12, 7, 12, 0, 5));
    EXPECT_TRUE(Windows->Alerts.empty());
    for (const auto& r : Store->Records()) {
        SCOPED_TRACE(r->Description);
        EXPECT_FALSE(r->IsActive());
        EXPECT_EQ(r->Postponement, 0);
    }
    EXPECT_EQ(Ms(Store->Records()[1]->EndTime), Ms(At(2026, 12, 7, 10, 0, 6)));
    EXPECT_FALSE(FileHasPostponement()) << FileText();
}

// A regular occurrence that comes before the postponed moment wins; the
// postponement is then gone from the file as well.
TEST_F(PostponementTest, ReplacedByAnEarlierOccurrenceLeavesTheFile) {
    TRmRecordStruct* daily = Add("daily", DailyRule(9, 0));
    Ticks(At(2026, 12, 7, 8, 59, 55), At(2026, 12, 7, 9, 0, 0));
    Postpone(daily, At(2026, 12, 7, 9, 0, 2), 4 * OneHour);
    TickAt(At(2026, 12, 7, 9, 0, 5));
    ASSERT_TRUE(FileHasPostponement());
    const size_t writes = Windows->Refreshed.size();

    daily->WakeTime = EncodeTime(11, 0, 0);  // edited to an earlier time of day
    Store->UpdateRecord(daily);
    TickAt(At(2026, 12, 7, 9, 0, 10));
    EXPECT_EQ(Ms(daily->NextAlert), Ms(At(2026, 12, 7, 11, 0)));
    EXPECT_EQ(daily->Postponement, 0);
    EXPECT_FALSE(FileHasPostponement()) << FileText();
    EXPECT_EQ(Windows->Refreshed.size(), writes + 1);

    // Written once, when it ended: the ticks after it write nothing.
    Ticks(At(2026, 12, 7, 9, 0, 15), At(2026, 12, 7, 10, 0, 0));
    EXPECT_EQ(Windows->Refreshed.size(), writes + 1);
}

}  // namespace
