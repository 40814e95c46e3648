#include <gtest/gtest.h>

#include "store_fixture.h"

namespace {
TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return EncodeDateTime(y, mo, d, h, mi, s); }
}  // namespace

class BackupTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        SetFixedNow(At(2026, 12, 8, 10, 0, 0));
    }
    void TearDown() override {
        ResetClock();
        StoreTest::TearDown();
    }
    std::string BackupPath() const { return Dir / "olvoreminddata.dat"; }
};

TEST_F(BackupTest, BackupHasNoSettingsAndEndsWithItsDateStamp) {
    auto store = Open();
    store->Language = "German";
    store->SaveConfig();
    store->AddRecord(MakeRecord("first", At(2026, 1, 1, 8)));
    const std::string before = FileText();
    store->Backup(BackupPath());
    const std::string backup = testing_support::ReadFileBytes(BackupPath());
    EXPECT_EQ(backup.find("[CONFIG]"), std::string::npos) << backup;
    EXPECT_TRUE(backup.ends_with("[BACKUP]\nBACKTIME=2026-12-08\n")) << backup;
    EXPECT_NE(backup.find("R20260101080000=first"), std::string::npos);
    EXPECT_EQ(FileText(), before) << "a backup leaves the data file alone";
}

TEST_F(BackupTest, RestoringIntoTheSameFileAddsNothing) {
    auto store = Open();
    store->AddRecord(MakeRecord("a", At(2026, 1, 1, 8)));
    store->AddRecord(MakeRecord("b", At(2026, 1, 1, 9)));
    store->Backup(BackupPath());
    const std::string before = FileText();
    store->Restore(BackupPath());
    EXPECT_EQ(store->Records().size(), 2u);
    EXPECT_EQ(FileText(), before);
}

TEST_F(BackupTest, RestoreBringsBackDeletedRemindersAndKeepsNewerOnes) {
    auto store = Open();
    auto finished = MakeRecord("finished\nwith two lines", At(2026, 1, 1, 8));
    finished->EndTime = At(2026, 2, 1, 12);
    finished->Period = PeriodWeekly;
    finished->RepeatData[2] = 1;
    finished->Voice = "/sounds/bell.ogg";
    TRmRecordStruct* deleted = store->AddRecord(std::move(finished));
    store->AddRecord(MakeRecord("kept", At(2026, 1, 1, 9)));
    store->Backup(BackupPath());
    const std::string backupBytes = testing_support::ReadFileBytes(BackupPath());

    store->DeleteRecord(deleted);
    TRmRecordStruct* kept = store->Records()[0].get();
    kept->Description = "kept and edited after the backup";
    store->UpdateRecord(kept);
    store->AddRecord(MakeRecord("newer", At(2026, 6, 1, 9)));
    store->Language = "Chinese";
    store->SaveConfig();

    store->Restore(BackupPath());
    EXPECT_EQ(testing_support::ReadFileBytes(BackupPath()), backupBytes) << "the source is only read";
    auto reloaded = Open();
    ASSERT_EQ(reloaded->Records().size(), 3u);
    EXPECT_EQ(reloaded->Records()[0]->Description, "kept and edited after the backup");
    EXPECT_EQ(reloaded->Records()[1]->Description, "newer");
    const TRmRecordStruct& back = *reloaded->Records()[2];
    EXPECT_EQ(back.Description, "finished\nwith two lines");
    EXPECT_TRUE(back.IsCompleted());
    EXPECT_EQ(back.Period, PeriodWeekly);
    EXPECT_EQ(back.RepeatData[2], 1);
    EXPECT_EQ(back.Voice, "/sounds/bell.ogg");
    EXPECT_EQ(reloaded->Language, "Chinese") << "a restore leaves the settings alone";
}

TEST_F(BackupTest, MissingOrUnreadableSourcesAddNothing) {
    auto store = Open();
    store->AddRecord(MakeRecord("only", At(2026, 1, 1, 8)));
    const std::string before = FileText();
    store->Restore(Dir / "no-such-file.dat");
    store->Restore(Dir.Path());  // a folder cannot be read as a file
    EXPECT_EQ(store->Records().size(), 1u);
    EXPECT_EQ(FileText(), before);
}

TEST_F(BackupTest, AFailingBackupRaisesAndChangesNothing) {
    auto store = Open();
    store->AddRecord(MakeRecord("only", At(2026, 1, 1, 8)));
    const std::string before = FileText();
    const std::string target = Dir / "missing-folder/backup.dat";
    try {
        store->Backup(target);
        FAIL() << "the backup should fail";
    } catch (const EIniFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + target);
    }
    EXPECT_EQ(FileText(), before);
}
