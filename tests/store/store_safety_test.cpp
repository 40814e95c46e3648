// The store never loses a reminder: not to a file written under other
// regional settings, another program's change, a duplicated list entry or a
// full calendar.
#include "store/store_fixture.h"

#include <random>

#include "platform/text_codec.h"

namespace {

using testing_support::WriteFileBytes;

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return EncodeDateTime(y, mo, d, h, mi, s); }

std::unique_ptr<TRmRecordStruct> Daily(const std::string& description, TDateTime created) {
    auto r = std::make_unique<TRmRecordStruct>();
    r->Description = description;
    r->CreateDateTime = created;
    r->LastTime = created;
    r->WakeTime = EncodeTime(21, 5, 9);
    r->EndTime = created + 1.5;
    r->Period = PeriodDaily;
    return r;
}

TEST_F(StoreTest, FilesWrittenUnderOneRegionalFormatReadTheSameUnderAnother) {
    std::vector<TFormatSettings> formats = {TFormatSettings{}};
    for (const char* name : {"en_US.UTF-8", "de_DE.UTF-8", "zh_CN.UTF-8", "en_GB.UTF-8"})
        formats.push_back(FormatSettingsFromLocale(name));
    const TDateTime created = At(2026, 12, 9, 10, 0, 0);
    for (const TFormatSettings& writer : formats) {
        SetFormatSettings(writer);
        std::remove(DataPath().c_str());
        Open()->AddRecord(Daily("tea", created));
        for (const TFormatSettings& reader : formats) {
            SetFormatSettings(reader);
            auto store = Open();
            ASSERT_EQ(store->Records().size(), 1u);
            const TRmRecordStruct& r = *store->Records()[0];
            SCOPED_TRACE("written as " + writer.ShortDateFormat + " " + writer.LongTimeFormat + ", read as " +
                         reader.ShortDateFormat + " " + reader.LongTimeFormat + "\n" + FileText());
            EXPECT_FALSE(r.IsDamaged());
            EXPECT_EQ(TRemindFile::SectionOf(r), "R20261209100000");
            EXPECT_NEAR(r.EndTime, created + 1.5, OneSecond / 2);
            EXPECT_NEAR(r.WakeTime, EncodeTime(21, 5, 9), OneSecond / 2);
        }
    }
}

TEST_F(StoreTest, CrOnlyFileKeepsItsRemindersThroughAnAdd) {
    WriteFile("[UNFINISHED]\rR20260101080000=tea\r[R20260101080000]\rPERIOD=1\rCREATEDATETIME=2026-01-01 08:00:00\r");
    {
        auto store = Open();
        ASSERT_EQ(store->Records().size(), 1u);
        store->AddRecord(MakeRecord("coffee", At(2026, 1, 2, 8)));
    }
    auto store = Open();
    ASSERT_EQ(store->Records().size(), 2u);
    EXPECT_EQ(store->Records()[0]->Description, "tea");
    EXPECT_EQ(FileText().find('\n'), std::string::npos) << "the file keeps its CR line breaks";
}

TEST_F(StoreTest, AListedTwiceReminderIsFoundAndDeletedWhole) {
    WriteFile("[UNFINISHED]\nR20260101080000=first\nr20260101080000=second\nR20260101090000=other\n"
              "[R20260101080000]\nPERIOD=1\nCREATEDATETIME=2026-01-01 08:00:00\n"
              "[R20260101090000]\nPERIOD=1\nCREATEDATETIME=2026-01-01 09:00:00\n");
    auto store = Open();
    auto both = store->FindAllBySection("r20260101080000");
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0]->Description, "first");
    store->Update([&] {
        for (auto* r : both) store->DeleteRecord(r);
    });
    EXPECT_TRUE(store->FindAllBySection("R20260101080000").empty());
    auto reopened = Open();
    ASSERT_EQ(reopened->Records().size(), 1u);
    EXPECT_EQ(reopened->Records()[0]->Description, "other");
    EXPECT_EQ(AsciiLower(FileText()).find("r20260101080000"), std::string::npos) << FileText();
}

TEST_F(StoreTest, NoIdentityPastYear9999) {
    const TDateTime last = At(9999, 12, 31, 23, 59, 58);
    {
        auto store = Open();
        store->AddRecord(MakeRecord("a", last));
        store->AddRecord(MakeRecord("b", last));  // moves to the very last second
        EXPECT_EQ(TRemindFile::SectionOf(*store->Records()[1]), "R99991231235959");
    }
    const std::string before = FileText();
    auto store = Open();
    EXPECT_THROW(store->AddRecord(MakeRecord("c", last)), ENoFreeIdentity);
    EXPECT_EQ(store->Records().size(), 2u);
    EXPECT_EQ(FileText(), before);
}

TEST_F(StoreTest, AWriteThatWouldDropAnotherProgramsReminderIsRefused) {
    Open()->AddRecord(MakeRecord("mine", At(2026, 1, 1, 8)));
    auto store = Open();
    // Someone who does not take the lock adds a reminder meanwhile.
    {
        TRemindFile other(DataPath(), TConfigOnClose::Keep);
        other.AddRecord(MakeRecord("theirs", At(2026, 1, 1, 9)));
    }
    const std::string theirs = FileText();
    try {
        store->AddRecord(MakeRecord("late", At(2026, 1, 1, 10)));
        ADD_FAILURE() << "the write went through";
    } catch (const EIniFileError& e) {
        EXPECT_NE(std::string(e.what()).find("R20260101090000"), std::string::npos) << e.what();
    }
    EXPECT_EQ(FileText(), theirs);

    // A change that removes nothing of theirs goes through; what they
    // deleted behind its back comes back rather than anything being lost.
    auto fresh = Open();
    {
        TRemindFile other(DataPath(), TConfigOnClose::Keep);
        other.DeleteRecord(other.Records()[1].get());
    }
    fresh->AddRecord(MakeRecord("late", At(2026, 1, 1, 10)));
    EXPECT_EQ(Open()->Records().size(), 3u);
}

TEST_F(StoreTest, ReadOnlyStoreKeepsItsChangesInMemory) {
    Open()->AddRecord(MakeRecord("tea", At(2026, 1, 1, 8)));
    const std::string before = FileText();
    {
        TRemindFile store(DataPath(), TConfigOnClose::Save, TIniAccess::ReadOnly);
        store.Records()[0]->Description = "changed";
        store.UpdateRecord(store.Records()[0].get());
        store.AddRecord(MakeRecord("coffee", At(2026, 1, 1, 9)));
        store.SaveConfig();
        EXPECT_EQ(store.Records().size(), 2u);
    }
    EXPECT_EQ(FileText(), before);
}

}  // namespace

namespace {

TEST(SectionName, QuickCheckAgreesWithTheNameItself) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> day(-693593.0, 2958465.9999);
    TRmRecordStruct r;
    for (int i = 0; i < 20000; ++i) {
        r.CreateDateTime = i % 4 == 0 ? std::floor(day(rng)) + (rng() % 86400) * OneSecond : day(rng);
        const std::string name = TRemindFile::SectionOf(r);
        ASSERT_TRUE(TRemindFile::SectionNameIs(r, name)) << name << " " << r.CreateDateTime;
        std::string other = name;
        other[14] = other[14] == '0' ? '1' : '0';
        EXPECT_FALSE(TRemindFile::SectionNameIs(r, other)) << other;
        other = name;
        other[0] = 'r';
        EXPECT_FALSE(TRemindFile::SectionNameIs(r, other)) << "the name is matched exactly";
    }
    r.CreateDateTime = UnreadableMoment;
    EXPECT_TRUE(TRemindFile::SectionNameIs(r, TRemindFile::SectionOf(r)));
}

}  // namespace
