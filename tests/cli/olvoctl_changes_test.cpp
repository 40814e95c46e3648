// olvoctl done, delete, backup and restore, and what a failing write does.
#include "cli/olvoctl_fixture.h"

namespace {

constexpr const char* Morning = "2026-12-08 08:00:00";

TEST_F(OlvoctlTest, DoneMovesAReminderToTheCompletedTab) {
    const std::string tea = Add(Morning, {"Tea", "--daily", "09:00"});
    const std::string call = Add(Morning, {"Call", "--once", "2026-12-10", "11:00"});

    TRunResult done = Run({"--now", "2026-12-08 10:15:00", "done", tea});
    EXPECT_EQ(done.Code, 0) << done.Err;
    EXPECT_EQ(IdsOf(ListJson(Morning).at("reminders")), std::vector<std::string>{call});
    const auto completed = ListJson(Morning, true);
    ASSERT_EQ(IdsOf(completed.at("reminders")), std::vector<std::string>{tea});
    const auto entry = completed.at("reminders").at(0);
    EXPECT_EQ(entry.at("completed"), true);
    EXPECT_EQ(entry.at("endTime"), "2026-12-08 10:15:00");
    EXPECT_TRUE(entry.at("next").is_null()) << "a finished reminder has no next alert";
    EXPECT_NE(DataBytes().find("ENDTIME=2026-12-08 10:15:00"), std::string::npos);

    // Again: nothing changes, and the first end time stays.
    const std::string before = DataBytes();
    TRunResult again = Run({"--now", "2026-12-09 10:00:00", "done", tea});
    EXPECT_EQ(again.Code, 0) << again.Err;
    EXPECT_NE(again.Out.find("already completed"), std::string::npos) << again.Out;
    EXPECT_EQ(DataBytes(), before);
}

TEST_F(OlvoctlTest, DeleteRemovesTheReminderFromTheDataFile) {
    const std::string keep = Add(Morning, {"Keep", "--daily", "09:00"});
    const std::string drop = Add(Morning, {"Drop", "--daily", "10:00"});
    RunAt(Morning, {"done", drop});

    TRunResult deleted = Run({"delete", drop});
    EXPECT_EQ(deleted.Code, 0) << deleted.Err;
    EXPECT_EQ(IdsOf(ListJson(Morning).at("reminders")), std::vector<std::string>{keep});
    EXPECT_TRUE(ListJson(Morning, true).at("reminders").empty());
    const std::string data = DataBytes();
    EXPECT_EQ(data.find(drop), std::string::npos) << "neither its list entry nor its section may stay:\n" << data;
    EXPECT_EQ(data.find("[CONFIG]"), std::string::npos) << "olvoctl never writes the settings";
}

TEST_F(OlvoctlTest, UnknownIdsAreRefused) {
    Add(Morning, {"Tea", "--daily", "09:00"});
    const std::string before = DataBytes();
    for (const char* command : {"done", "delete"}) {
        TRunResult r = Run({command, "R20991231235959"});
        EXPECT_EQ(r.Code, 1) << command;
        EXPECT_NE(r.Err.find("no reminder with ID 'R20991231235959'"), std::string::npos) << r.Err;
        EXPECT_EQ(r.Out, "");
    }
    EXPECT_EQ(DataBytes(), before);
}

TEST_F(OlvoctlTest, BackupThenDeleteThenRestoreBringsTheReminderBack) {
    const std::string tea = Add(Morning, {"Tea", "--weekly", "sat,sun", "16:30"});
    const std::string rent = Add(Morning, {"Rent", "--monthly", "1", "10:00", "--voice", "default"});
    RunAt("2026-12-08 12:00:00", {"done", rent});
    const auto before = StoredRecords();

    const std::string backup = Dir / "backup.dat";
    TRunResult made = Run({"--now", "2026-12-20 18:00:00", "backup", backup});
    ASSERT_EQ(made.Code, 0) << made.Err;
    const std::string backupText = testing_support::ReadFileBytes(backup);
    EXPECT_EQ(backupText.find("[CONFIG]"), std::string::npos);
    EXPECT_NE(backupText.find("[BACKUP]\nBACKTIME=2026-12-20"), std::string::npos) << backupText;
    EXPECT_EQ(backupText.rfind('['), backupText.find("[BACKUP]")) << "the stamp is the last section";

    RunAt(Morning, {"delete", tea});
    RunAt(Morning, {"delete", rent});
    const std::string later = Add("2026-12-21 09:00:00", {"Later", "--daily", "07:00"});

    TRunResult restored = Run({"restore", backup});
    ASSERT_EQ(restored.Code, 0) << restored.Err;
    EXPECT_EQ(restored.Out, "Restored 2 reminders from " + backup + "\n");

    const auto after = StoredRecords();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(TRemindFile::SectionOf(after[0]), later) << "reminders made after the backup stay";
    for (size_t i = 0; i < before.size(); ++i) {
        const TRmRecordStruct& was = before[i];
        const TRmRecordStruct& now = after[i + 1];
        SCOPED_TRACE(was.Description);
        EXPECT_EQ(TRemindFile::SectionOf(now), TRemindFile::SectionOf(was));
        EXPECT_EQ(now.Description, was.Description);
        EXPECT_EQ(now.Period, was.Period);
        EXPECT_EQ(now.WakeTime, was.WakeTime);
        EXPECT_EQ(now.LastTime, was.LastTime);
        EXPECT_EQ(now.EndTime, was.EndTime);
        EXPECT_EQ(now.Voice, was.Voice);
        EXPECT_EQ(now.RepeatData, was.RepeatData);
    }

    // A second restore finds everything present.
    TRunResult again = Run({"restore", backup});
    EXPECT_EQ(again.Code, 0);
    EXPECT_EQ(again.Out, "Restored 0 reminders from " + backup + " (2 already present)\n");
}

TEST_F(OlvoctlTest, BackupAndRestoreRefuseFilesThatCannotServe) {
    Add(Morning, {"Tea", "--daily", "09:00"});
    const std::string before = DataBytes();

    TRunResult missing = Run({"restore", Dir / "nowhere.dat"});
    EXPECT_EQ(missing.Code, 1);
    EXPECT_NE(missing.Err.find("no backup file at"), std::string::npos) << missing.Err;

    TRunResult ontoData = Run({"backup", DataFile()});
    EXPECT_EQ(ontoData.Code, 1);
    EXPECT_NE(ontoData.Err.find("must not be the data file"), std::string::npos) << ontoData.Err;

    const std::string unwritable = Dir / "no/such/folder/backup.dat";
    TRunResult failed = Run({"backup", unwritable});
    EXPECT_EQ(failed.Code, 1);
    EXPECT_NE(failed.Err.find("Unable to write to " + unwritable), std::string::npos) << failed.Err;
    EXPECT_EQ(DataBytes(), before);
}

TEST_F(OlvoctlTest, AWriteFailureIsReportedWithTheStoresMessage) {
    const std::string file = Dir / "missing-folder/reminders.dat";
    TRunResult r = Run({"--data", file, "add", "Tea", "--daily", "09:00"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("Unable to write to " + file), std::string::npos) << r.Err;
    EXPECT_EQ(r.Out, "") << "no ID for a reminder that was not stored";
}

TEST_F(OlvoctlTest, DataOptionWorksOnAnotherFile) {
    const std::string other = Dir / "other.dat";
    TRunResult missing = Run({"--data", other, "list"});
    EXPECT_EQ(missing.Code, 1) << "a mistyped --data must not look like an empty list";
    EXPECT_NE(missing.Err.find("no data file at " + other), std::string::npos) << missing.Err;

    const std::string id = Add(Morning, {"Tea", "--daily", "09:00", "--data", other});
    TRunResult list = Run({"list", "--json", "--data=" + other});
    ASSERT_EQ(list.Code, 0) << list.Err;
    EXPECT_EQ(IdsOf(nlohmann::json::parse(list.Out).at("reminders")), std::vector<std::string>{id});
    EXPECT_FALSE(testing_support::PathExists(DataFile())) << "the program's own file is not touched";
}

}  // namespace
