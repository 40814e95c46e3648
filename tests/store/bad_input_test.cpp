// Data files a person or a crash of another program may leave behind: none of
// them may crash the store, and what can be read is read.
#include <gtest/gtest.h>

#include <random>

#include "store_fixture.h"

TEST_F(StoreTest, RandomBytesLoadWithoutCrashingAndStayWritable) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 50; ++round) {
        std::string bytes(static_cast<size_t>(rng() % 20000), '\0');
        for (char& c : bytes) c = static_cast<char>(rng());
        // Some rounds get INI-looking structure among the noise.
        if (round % 2) bytes = "[UNFINISHED]\nR1=x\n" + bytes + "\n[R1]\nPERIOD=3\nREPEAT_DATA=" + bytes.substr(0, 80);
        WriteFile(bytes);
        auto store = Open();
        for (const auto& r : store->Records()) (void)TRemindFile::SectionOf(*r);
        store->AddRecord(MakeRecord("after noise", EncodeDateTime(2026, 1, 1, 0, 0, round)));
        store.reset();
        bool found = false;
        auto reopened = Open();
        for (const auto& r : reopened->Records()) found |= r->Description == "after noise";
        EXPECT_TRUE(found) << "round " << round;
    }
}

TEST_F(StoreTest, TruncatedFileKeepsTheCompleteReminders) {
    {
        auto store = Open();
        for (int i = 0; i < 5; ++i) store->AddRecord(MakeRecord("r" + std::to_string(i), EncodeDateTime(2026, 1, 1, 0, 0, i)));
    }
    std::string full = FileText();
    // Cut in the middle of the last reminder's section.
    WriteFile(full.substr(0, full.size() - 40));
    auto store = Open();
    ASSERT_EQ(store->Records().size(), 5u);
    EXPECT_EQ(store->Records()[3]->Period, PeriodOnce);
    EXPECT_NE(store->Records()[4]->CreateDateTime, 0);
}

TEST_F(StoreTest, HugeValuesAreReadWhole) {
    std::string huge(10 * 1024 * 1024, 'x');
    WriteFile("[UNFINISHED]\nR20260101080000=" + huge + "\n[R20260101080000]\nPERIOD=1\nREPEAT_DATA=" + huge + "\n");
    auto store = Open();
    ASSERT_EQ(store->Records().size(), 1u);
    EXPECT_EQ(store->Records()[0]->Description, huge);
    EXPECT_EQ(store->Records()[0]->RepeatData, (std::array<uint8_t, RepeatDataSize>{}));
}

TEST_F(StoreTest, LongDescriptionSurvivesAChangeToAnotherReminder) {
    std::string chinese;
    for (int i = 0; i < 3000; ++i) chinese += "提";
    WriteFile("[UNFINISHED]\nR20260101080000=" + chinese + "\nR20260101090000=other\n");
    {
        auto store = Open();
        EXPECT_EQ(store->Records()[0]->Description, chinese);
        store->Records()[1]->Description = "changed";
        store->UpdateRecord(store->Records()[1].get());
    }
    EXPECT_EQ(Open()->Records()[0]->Description, chinese);
}
