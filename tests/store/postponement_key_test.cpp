// The NEXTALERT key: a pending postponement stored with its reminder, present
// only while there is one, so files without postponements keep their bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "store_fixture.h"

namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return EncodeDateTime(y, mo, d, h, mi, s); }

int64_t Ms(TDateTime value) { return std::llround(value * MSecsPerDay); }

const std::string OnceSection =
    "[UNFINISHED]\nR20261208090500=Pay rent\n"
    "[R20261208090500]\nPERIOD=0\nCREATEDATETIME=2026-12-08 09:05:00\nLASTTIME=2026-12-08 09:31:00\n"
    "WAKETIME=09:30:00\nVOICE=\nENDTIME=\n"
    "REPEAT_DATA=000000000000000000000080A3E640" + std::string(32, '0') + "\n";

std::unique_ptr<TRmRecordStruct> OnceRecord() {
    auto r = std::make_unique<TRmRecordStruct>();
    r->Description = "Pay rent";
    r->CreateDateTime = At(2026, 12, 8, 9, 5, 0);
    r->LastTime = At(2026, 12, 8, 9, 31, 0);
    r->Period = PeriodOnce;
    r->WakeTime = EncodeTime(9, 30, 0);
    r->SetWakeDate(At(2026, 12, 8));
    return r;
}

}  // namespace

// Stores that leave the settings alone, so the file holds the reminders only.
class PostponementKeyTest : public StoreTest {
protected:
    std::unique_ptr<TRemindFile> Open() const {
        return std::make_unique<TRemindFile>(DataPath(), TConfigOnClose::Keep);
    }
};

TEST_F(PostponementKeyTest, PostponementIsStoredWhilePendingAndRemovedAfter) {
    {
        auto store = Open();
        TRmRecordStruct* r = store->AddRecord(OnceRecord());
        EXPECT_EQ(FileText(), OnceSection);
        r->NextAlert = r->Postponement = At(2026, 12, 8, 13, 30, 2);
        store->UpdateRecord(r);
        EXPECT_EQ(FileText(), OnceSection + "NEXTALERT=2026-12-08 13:30:02\n");
    }
    {
        auto store = Open();
        TRmRecordStruct* r = store->Records().front().get();
        EXPECT_EQ(Ms(r->Postponement), Ms(At(2026, 12, 8, 13, 30, 2)));
        EXPECT_EQ(Ms(r->NextAlert), Ms(At(2026, 12, 8, 13, 30, 2)));
        EXPECT_TRUE(r->HasPostponement());
        EXPECT_FALSE(r->IsDamaged());
        // Postponed again: the key keeps its place.
        r->NextAlert = r->Postponement = At(2026, 12, 8, 14, 0, 0);
        store->UpdateRecord(r);
        EXPECT_NE(FileText().find("ENDTIME=\nREPEAT_DATA=000000000000000000000080A3E640" + std::string(32, '0') +
                                  "\nNEXTALERT=2026-12-08 14:00:00\n"),
                  std::string::npos)
            << FileText();
        r->Postponement = 0;
        store->UpdateRecord(r);
    }
    // Gone, and the reminder's section is as if it had never been postponed.
    EXPECT_EQ(FileText(), OnceSection);
    EXPECT_EQ(Open()->Records().front()->NextAlert, 0);
}

TEST_F(PostponementKeyTest, FilesWithoutPostponementsKeepTheirBytes) {
    // Odd but valid: CR LF breaks, blanks around '=', a key the store does
    // not know; rewriting the unchanged records changes no byte.
    const std::string text =
        "[CONFIG]\r\nHIDE=0\r\n[UNFINISHED]\r\nR20260101080000=a\r\nR20260101090000=b\r\n"
        "[R20260101080000]\r\nPERIOD = 1\r\nCREATEDATETIME=2026-01-01 08:00:00\r\nLASTTIME=2026-01-02 08:01:00\r\n"
        "WAKETIME=08:00:00\r\nVOICE=\r\nENDTIME=\r\nREPEAT_DATA=" + std::string(62, '0') + "\r\nOTHER=kept\r\n"
        "[R20260101090000]\r\nPERIOD=1\r\nCREATEDATETIME=2026-01-01 09:00:00\r\nLASTTIME=2026-01-01 09:00:00\r\n"
        "WAKETIME=09:00:00\r\nVOICE=default.mp3\r\nENDTIME=2026-01-03 10:00:00\r\nREPEAT_DATA=" +
        std::string(62, '0') + "\r\n";
    WriteFile(text);
    {
        auto store = Open();
        for (const auto& r : store->Records()) {
            EXPECT_EQ(r->Postponement, 0);
            EXPECT_EQ(r->NextAlert, 0);
            store->UpdateRecord(r.get());
        }
    }
    EXPECT_EQ(FileText(), text);
}

// Marking a reminder finished clears NextAlert; a Postponement left behind
// is then no postponement and is not written.
TEST_F(PostponementKeyTest, PostponementWithoutAlertMomentIsNotStored) {
    auto store = Open();
    TRmRecordStruct* r = store->AddRecord(OnceRecord());
    r->NextAlert = r->Postponement = At(2026, 12, 8, 13, 30, 2);
    store->UpdateRecord(r);
    r->EndTime = At(2026, 12, 8, 10, 0, 0);
    r->NextAlert = 0;
    EXPECT_FALSE(r->HasPostponement());
    store->UpdateRecord(r);
    EXPECT_EQ(FileText().find("NEXTALERT"), std::string::npos) << FileText();
    EXPECT_FALSE(Open()->Records().front()->IsActive());
}

TEST_F(PostponementKeyTest, UnreadablePostponementIsNoneAndItsTextStays) {
    WriteFile(OnceSection + "NEXTALERT=next tuesday\n");
    {
        auto store = Open();
        TRmRecordStruct* r = store->Records().front().get();
        EXPECT_EQ(r->NextAlert, 0);
        EXPECT_FALSE(r->HasPostponement());
        EXPECT_FALSE(r->IsDamaged()) << "the schedule itself reads";
        r->Description = "Pay the rent";
        store->UpdateRecord(r);
        EXPECT_NE(FileText().find("NEXTALERT=next tuesday\n"), std::string::npos) << FileText();
        // A postponement set anew replaces the text.
        r->NextAlert = r->Postponement = At(2026, 12, 8, 13, 30, 2);
        store->UpdateRecord(r);
    }
    EXPECT_EQ(FileText().find("next tuesday"), std::string::npos);
    EXPECT_NE(FileText().find("NEXTALERT=2026-12-08 13:30:02\n"), std::string::npos);

    // An empty value is no postponement either.
    WriteFile(OnceSection + "NEXTALERT=\n");
    EXPECT_EQ(Open()->Records().front()->NextAlert, 0);
}
