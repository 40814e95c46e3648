#include <gtest/gtest.h>

#include <cmath>
#include <sys/stat.h>

#include "platform/text_codec.h"
#include "store/text_escape.h"
#include "store_fixture.h"

namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return EncodeDateTime(y, mo, d, h, mi, s); }

void ExpectSameMoment(TDateTime expected, TDateTime actual) {
    EXPECT_NEAR(expected, actual, 0.5 * OneSecond) << "expected " << expected << " got " << actual;
}

}  // namespace

TEST_F(StoreTest, MissingFileGivesDefaultsAndCreatesNothing) {
    auto store = Open();
    EXPECT_FALSE(store->Hide);
    EXPECT_TRUE(store->AutoUpdate);
    EXPECT_TRUE(store->CheckNews);
    EXPECT_EQ(store->NewsId, -1);
    EXPECT_EQ(store->Language, "English");
    EXPECT_TRUE(store->Records().empty());
    EXPECT_FALSE(testing_support::PathExists(DataPath()));
}

TEST_F(StoreTest, ConfigRoundTripInKeyOrder) {
    {
        auto store = Open();
        store->Hide = true;
        store->AutoUpdate = false;
        store->CheckNews = false;
        store->NewsId = 42;
        store->Language = "German";
        store->SaveConfig();
    }
    EXPECT_EQ(FileText(), "[CONFIG]\nHIDE=1\nAUTEUPDATE=0\nCHECKNEWS=0\nNEWSID=42\nLanguage=German\n");
    auto store = Open();
    EXPECT_TRUE(store->Hide);
    EXPECT_FALSE(store->AutoUpdate);
    EXPECT_FALSE(store->CheckNews);
    EXPECT_EQ(store->NewsId, 42);
    EXPECT_EQ(store->Language, "German");
}

TEST_F(StoreTest, ConfigValuesThatAreNotNumbersReadAsDefaults) {
    WriteFile("[CONFIG]\nHIDE=yes\nAUTEUPDATE=0x0\nCHECKNEWS=junk\nNEWSID=12abc\n");
    auto store = Open();
    EXPECT_FALSE(store->Hide);
    EXPECT_FALSE(store->AutoUpdate);  // 0x0 is a number: zero
    EXPECT_TRUE(store->CheckNews);
    EXPECT_EQ(store->NewsId, -1);
}

TEST_F(StoreTest, EveryPeriodKindAndFieldRoundTrips) {
    std::vector<TRmRecordStruct> expected;
    {
        auto store = Open();
        for (uint8_t period : {PeriodOnce, PeriodDaily, PeriodWeekly, PeriodMonthly, PeriodYearly}) {
            auto r = MakeRecord("kind " + std::to_string(period), At(2026, 12, 8, 9, 5, period));
            r->WakeTime = EncodeTime(7, 30, 15);
            r->LastTime = At(2026, 12, 9, 7, 31, 15);
            r->Period = period;
            r->Voice = period == PeriodDaily ? "default.mp3" : period == PeriodWeekly ? "/home/u/ring tone.ogg" : "";
            if (period == PeriodWeekly) {
                r->RepeatData[1] = r->RepeatData[3] = r->RepeatData[5] = 1;
            } else if (period == PeriodMonthly) {
                r->RepeatData[0] = r->RepeatData[14] = r->RepeatData[30] = 1;
            } else {
                r->SetWakeDate(At(2026, 12, 24));
            }
            if (period == PeriodYearly) r->EndTime = At(2027, 1, 2, 13, 14, 15);
            expected.push_back(*r);
            store->AddRecord(std::move(r));
        }
    }
    auto store = Open();
    ASSERT_EQ(store->Records().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const TRmRecordStruct& got = *store->Records()[i];
        const TRmRecordStruct& want = expected[i];
        SCOPED_TRACE(want.Description);
        EXPECT_EQ(got.Description, want.Description);
        ExpectSameMoment(want.CreateDateTime, got.CreateDateTime);
        ExpectSameMoment(want.WakeTime, got.WakeTime);
        ExpectSameMoment(want.LastTime, got.LastTime);
        ExpectSameMoment(want.EndTime, got.EndTime);
        EXPECT_EQ(got.Voice, want.Voice);
        EXPECT_EQ(got.Period, want.Period);
        EXPECT_EQ(got.RepeatData, want.RepeatData);
        EXPECT_EQ(got.IsCompleted(), want.Period == PeriodYearly);
        EXPECT_EQ(TRemindFile::SectionOf(got), TRemindFile::SectionOf(want));
    }
}

TEST_F(StoreTest, RecordIsWrittenWithTheDocumentedKeysAndHex) {
    auto store = Open();
    auto r = MakeRecord("Pay rent", At(2026, 12, 8, 9, 5, 0));
    r->Period = PeriodOnce;
    r->WakeTime = EncodeTime(9, 30, 0);
    r->SetWakeDate(At(2026, 12, 8));
    store->AddRecord(std::move(r));
    EXPECT_EQ(FileText(),
              "[UNFINISHED]\nR20261208090500=Pay rent\n"
              "[R20261208090500]\nPERIOD=0\nCREATEDATETIME=2026-12-08 09:05:00\nLASTTIME=2026-12-08 09:05:00\n"
              "WAKETIME=09:30:00\nVOICE=\nENDTIME=\n"
              "REPEAT_DATA=000000000000000000000080A3E640" + std::string(32, '0') + "\n");
}

TEST_F(StoreTest, RepeatDataHexEdgeCases) {
    std::array<uint8_t, RepeatDataSize> weekly{};
    weekly[1] = weekly[3] = weekly[5] = 1;
    EXPECT_EQ(RepeatDataToHex(weekly), "00010001000100" + std::string(48, '0'));

    std::string seventy;
    for (int i = 0; i < 35; ++i) seventy += "a1";
    auto full = RepeatDataFromHex(seventy);
    for (uint8_t b : full) EXPECT_EQ(b, 0xA1);

    EXPECT_EQ(RepeatDataFromHex("0G0101"), (std::array<uint8_t, RepeatDataSize>{}));
    auto partial = RepeatDataFromHex("0102zz03");
    EXPECT_EQ(partial[0], 1);
    EXPECT_EQ(partial[1], 2);
    EXPECT_EQ(partial[2], 0);
    EXPECT_EQ(partial[3], 0);
    auto odd = RepeatDataFromHex("01020");  // the lone last digit is no pair
    EXPECT_EQ(odd[1], 2);
    EXPECT_EQ(odd[2], 0);
}

TEST_F(StoreTest, PartialAndOddSectionsLoadWithDefaults) {
    WriteFile(
        "[UNFINISHED]\nR20260101080000=no period\nR20260101090000=finished\nR20260101100000=empty section\n"
        "[R20260101080000]\nCREATEDATETIME=2026-01-01 08:00:00\nENDTIME=\nREPEAT_DATA=0G\n"
        "[R20260101090000]\nPERIOD=1\nCREATEDATETIME=2026-01-01 09:00:00\nENDTIME=2026-01-05 10:00:00\n"
        "REPEAT_DATA=010\n"
        "[R20260101100000]\n");
    auto store = Open();
    ASSERT_EQ(store->Records().size(), 3u);
    const auto& noPeriod = *store->Records()[0];
    EXPECT_EQ(noPeriod.Period, PeriodNone);
    EXPECT_FALSE(noPeriod.IsCompleted());
    EXPECT_EQ(noPeriod.RepeatData, (std::array<uint8_t, RepeatDataSize>{}));
    const auto& finished = *store->Records()[1];
    EXPECT_TRUE(finished.IsCompleted());
    ExpectSameMoment(At(2026, 1, 5, 10), finished.EndTime);
    EXPECT_EQ(finished.RepeatData[0], 1);
    const auto& empty = *store->Records()[2];
    EXPECT_EQ(empty.Description, "empty section");
    EXPECT_EQ(empty.CreateDateTime, 0);
    EXPECT_FALSE(empty.IsDamaged()) << "a missing value is no unreadable one";
    EXPECT_EQ(empty.Period, PeriodNone);
}

// A report visits the reminders one at a time in one reused record: each
// must read exactly as the loaded one, nothing carried over from the one
// before (a postponement, a longer description, a damaged moment).
TEST_F(StoreTest, VisitedRemindersReadAsLoadedOnes) {
    WriteFile(
        "[UNFINISHED]\nR20260101080000=a long description that needs the heap\nR20260101090000=b\n"
        "r20260101100000=c\nR20260101110000=d\n"
        "[R20260101080000]\nPERIOD=2\nCREATEDATETIME=2026-01-01 08:00:00\nLASTTIME=2026-01-02 08:01:00\n"
        "WAKETIME=08:00:00\nVOICE=default.mp3\nENDTIME=\n"
        "REPEAT_DATA=00010100000100000000000000000000000000000000000000000000000000\n"
        "NEXTALERT=2026-01-03 08:10:00\n"
        "[R20260101090000]\nPERIOD=1\nCREATEDATETIME=2026-01-01 09:00:00\nWAKETIME=not a time\nNEXTALERT=soon\n"
        "[R20260101100000]\nperiod = 3\n; hand-edited\nCREATEDATETIME=2026-01-01 10:00:00\n"
        "[R20260101110000]\nPERIOD=0\nCREATEDATETIME=2026-01-01 11:00:00\nENDTIME=2026-01-04 11:00:00\n");
    auto loaded = Open();
    TRemindFile visited(DataPath(), TConfigOnClose::Keep, TIniAccess::ReadOnly, TRecordLoading::OnVisit);
    EXPECT_TRUE(visited.Records().empty());
    size_t index = 0;
    visited.VisitRecords([&](const TRmRecordStruct& r) {
        ASSERT_LT(index, loaded->Records().size());
        const TRmRecordStruct& e = *loaded->Records()[index++];
        SCOPED_TRACE(e.Description);
        EXPECT_EQ(r.Description, e.Description);
        EXPECT_EQ(r.Period, e.Period);
        EXPECT_EQ(r.RepeatData, e.RepeatData);
        EXPECT_EQ(r.Voice, e.Voice);
        for (auto moment : {&TRmRecordStruct::CreateDateTime, &TRmRecordStruct::WakeTime, &TRmRecordStruct::EndTime,
                            &TRmRecordStruct::LastTime, &TRmRecordStruct::NextAlert, &TRmRecordStruct::Postponement}) {
            EXPECT_EQ(std::isnan(r.*moment), std::isnan(e.*moment));
            if (!std::isnan(e.*moment)) {
                EXPECT_EQ(r.*moment, e.*moment);
            }
        }
    });
    EXPECT_EQ(index, 4u);
    // The first one's postponement was read, and not carried into the next.
    EXPECT_NE(loaded->Records()[0]->NextAlert, 0);
    EXPECT_EQ(loaded->Records()[1]->NextAlert, 0);
    EXPECT_TRUE(loaded->Records()[1]->IsDamaged());
}

TEST_F(StoreTest, EmptyVoiceIsWrittenAsEmptyValueAndReloadsMute) {
    {
        auto store = Open();
        auto r = MakeRecord("ring", At(2026, 3, 1, 10));
        r->Voice = "default.mp3";
        TRmRecordStruct* stored = store->AddRecord(std::move(r));
        stored->Voice.clear();
        store->UpdateRecord(stored);
    }
    EXPECT_NE(FileText().find("VOICE=\n"), std::string::npos);
    EXPECT_EQ(Open()->Records()[0]->Voice, "");
}

TEST_F(StoreTest, DeleteRemovesListKeyAndWholeSection) {
    auto store = Open();
    TRmRecordStruct* a = store->AddRecord(MakeRecord("a", At(2026, 1, 1, 1)));
    store->AddRecord(MakeRecord("b", At(2026, 1, 1, 2)));
    store->DeleteRecord(a);
    std::string text = FileText();
    EXPECT_EQ(text.find("R20260101010000"), std::string::npos) << text;
    EXPECT_NE(text.find("R20260101020000=b"), std::string::npos);
    ASSERT_EQ(Open()->Records().size(), 1u);
    EXPECT_EQ(Open()->Records()[0]->Description, "b");
}

TEST_F(StoreTest, UpdateAndDeleteIgnoreRecordsTheStoreDoesNotOwn) {
    auto store = Open();
    store->AddRecord(MakeRecord("kept", At(2026, 1, 1, 1)));
    std::string before = FileText();
    TRmRecordStruct stranger = *MakeRecord("stranger", At(2026, 1, 1, 1));
    store->UpdateRecord(&stranger);
    store->DeleteRecord(&stranger);
    EXPECT_EQ(FileText(), before);
    EXPECT_EQ(store->Records().size(), 1u);
}

TEST_F(StoreTest, AddingTheSameRecordTwiceKeepsOneCopy) {
    auto store = Open();
    TRmRecordStruct* r = store->AddRecord(MakeRecord("once", At(2026, 1, 1, 1)));
    EXPECT_EQ(store->AddRecord(std::unique_ptr<TRmRecordStruct>(r)), r);
    EXPECT_EQ(store->Records().size(), 1u);
}

TEST_F(StoreTest, RemindersCreatedInTheSameSecondGetTheirOwnSections) {
    TDateTime created = At(2026, 12, 8, 9, 5, 0) + 0.3 * OneSecond;
    {
        auto store = Open();
        store->AddRecord(MakeRecord("first", created));
        store->AddRecord(MakeRecord("second", created));
        store->AddRecord(MakeRecord("third", created));
    }
    auto store = Open();
    ASSERT_EQ(store->Records().size(), 3u);
    EXPECT_EQ(TRemindFile::SectionOf(*store->Records()[0]), "R20261208090500");
    EXPECT_EQ(TRemindFile::SectionOf(*store->Records()[1]), "R20261208090501");
    EXPECT_EQ(TRemindFile::SectionOf(*store->Records()[2]), "R20261208090502");
    EXPECT_EQ(store->Records()[1]->Description, "second");
    EXPECT_EQ(store->Records()[2]->Description, "third");
}

TEST_F(StoreTest, AddingBesideAnOrphanSectionDoesNotOverwriteIt) {
    WriteFile("[R20261208090500]\nPERIOD=1\nCREATEDATETIME=2026-12-08 09:05:00\n");
    auto store = Open();
    TRmRecordStruct* r = store->AddRecord(MakeRecord("new", At(2026, 12, 8, 9, 5, 0)));
    EXPECT_EQ(TRemindFile::SectionOf(*r), "R20261208090501");
}

TEST_F(StoreTest, DescriptionsKeepLineBreaksAndEdgeBlanks) {
    const std::vector<std::string> samples = {
        "line one\nline two", "crlf\r\nend", " leading and trailing ", "\tindented", "back\\slash\\n literal",
        std::string(EscapedValueMarker) + "looks escaped", "plain text stays plain", "", "中文 提醒"};
    {
        auto store = Open();
        int second = 0;
        for (const auto& s : samples) store->AddRecord(MakeRecord(s, At(2026, 5, 5, 5, 5, second++)));
    }
    auto store = Open();
    ASSERT_EQ(store->Records().size(), samples.size());
    for (size_t i = 0; i < samples.size(); ++i) EXPECT_EQ(store->Records()[i]->Description, samples[i]);
    // The data file keeps one line per value, and plain text is stored as typed.
    EXPECT_NE(FileText().find("=plain text stays plain\n"), std::string::npos);
    EXPECT_NE(FileText().find("=back\\slash\\n literal\n"), std::string::npos);
}

TEST_F(StoreTest, PlainValuesFromOlderFilesReadUnchanged) {
    EXPECT_EQ(DecodeIniValue("C:\\new\\temp"), "C:\\new\\temp");
    EXPECT_EQ(DecodeIniValue("~es"), "~es");
    EXPECT_EQ(DecodeIniValue(EncodeIniValue("ends in backslash\\")), "ends in backslash\\");
    // A value cut in the middle of an escape keeps the lone backslash.
    EXPECT_EQ(DecodeIniValue(std::string(EscapedValueMarker) + "a\\"), "a\\");
}

TEST_F(StoreTest, UsFormatsWriteAndReadBack) {
    TFormatSettings us;
    us.ShortDateFormat = "M/d/yyyy";
    us.LongTimeFormat = "h:mm:ss tt";
    SetFormatSettings(us);
    {
        auto store = Open();
        auto r = MakeRecord("us", At(2026, 12, 8, 21, 5, 7));
        r->WakeTime = EncodeTime(0, 15, 0);
        r->LastTime = At(2026, 12, 8);  // midnight: the date alone
        r->EndTime = At(2026, 12, 9, 12, 0, 1);
        store->AddRecord(std::move(r));
    }
    std::string text = FileText();
    EXPECT_NE(text.find("CREATEDATETIME=12/8/2026 9:05:07 PM\n"), std::string::npos) << text;
    EXPECT_NE(text.find("LASTTIME=12/8/2026\n"), std::string::npos) << text;
    EXPECT_NE(text.find("WAKETIME=12:15:00 AM\n"), std::string::npos) << text;
    EXPECT_NE(text.find("ENDTIME=12/9/2026 12:00:01 PM\n"), std::string::npos) << text;
    auto store = Open();
    const auto& r = *store->Records()[0];
    ExpectSameMoment(At(2026, 12, 8, 21, 5, 7), r.CreateDateTime);
    ExpectSameMoment(EncodeTime(0, 15, 0), r.WakeTime);
    ExpectSameMoment(At(2026, 12, 8), r.LastTime);
    ExpectSameMoment(At(2026, 12, 9, 12, 0, 1), r.EndTime);
    EXPECT_EQ(TRemindFile::SectionOf(r), "R20261208210507");
}

TEST_F(StoreTest, DatesSurviveAChangeOfRegionalFormat) {
    TFormatSettings german;
    german.ShortDateFormat = "dd.MM.yyyy";
    german.LongTimeFormat = "HH:mm:ss";
    SetFormatSettings(german);
    Open()->AddRecord(MakeRecord("written in German format", At(2026, 7, 4, 18, 30, 0)));

    TFormatSettings us;
    us.ShortDateFormat = "M/d/yyyy";
    us.LongTimeFormat = "h:mm:ss tt";
    SetFormatSettings(us);
    auto store = Open();
    ASSERT_EQ(store->Records().size(), 1u);
    ExpectSameMoment(At(2026, 7, 4, 18, 30, 0), store->Records()[0]->CreateDateTime);
    EXPECT_EQ(TRemindFile::SectionOf(*store->Records()[0]), "R20260704183000");
}

TEST_F(StoreTest, UnreadableMomentsKeepTheirTextUntilSetAnew) {
    WriteFile("[UNFINISHED]\nR20260101080000=x\n[R20260101080000]\nPERIOD=1\nCREATEDATETIME=not a date\n"
              "LASTTIME=2026-13-45 99:00:00\nWAKETIME=25:61:00\nENDTIME=yesterday\n");
    {
        auto store = Open();
        auto& r = *store->Records()[0];
        // The identity comes from the section name, the rest is marked.
        EXPECT_EQ(TRemindFile::SectionOf(r), "R20260101080000");
        EXPECT_TRUE(IsUnreadable(r.LastTime));
        EXPECT_TRUE(IsUnreadable(r.WakeTime));
        EXPECT_TRUE(IsUnreadable(r.EndTime));
        EXPECT_TRUE(r.IsDamaged());
        EXPECT_TRUE(r.IsCompleted()) << "an end time was written, even if it cannot be read";
        r.Description = "edited";
        r.LastTime = At(2026, 2, 1, 9);
        store->UpdateRecord(&r);
    }
    const std::string text = FileText();
    // The creation moment is repaired from the identity; the rest is kept.
    for (const char* kept : {"CREATEDATETIME=2026-01-01 08:00:00", "WAKETIME=25:61:00", "ENDTIME=yesterday"})
        EXPECT_NE(text.find(kept), std::string::npos) << kept << "\n" << text;
    EXPECT_EQ(text.find("2026-13-45"), std::string::npos) << "a moment set anew is written";
    EXPECT_NE(text.find("R20260101080000=edited"), std::string::npos);
}

TEST_F(StoreTest, AReminderLoadedUnderAnotherSectionMovesWithoutLeavingADuplicate) {
    // The creation moment no longer names the section it was loaded from.
    WriteFile("[UNFINISHED]\nR20260101080000=moved\nR20260101090000=other\n"
              "[R20260101080000]\nPERIOD=1\n"
              "[R20260101090000]\nPERIOD=1\nCREATEDATETIME=2026-01-01 09:00:00\n");
    {
        auto store = Open();
        TRmRecordStruct* moved = store->Records()[0].get();
        moved->Description = "moved and edited";
        store->UpdateRecord(moved);
    }
    auto store = Open();
    ASSERT_EQ(store->Records().size(), 2u);
    EXPECT_EQ(store->Records()[0]->Description, "other");
    EXPECT_EQ(store->Records()[1]->Description, "moved and edited");
    EXPECT_EQ(FileText().find("R20260101080000"), std::string::npos);

    store->DeleteRecord(store->Records()[1].get());
    EXPECT_EQ(Open()->Records().size(), 1u);
}

TEST_F(StoreTest, Utf16DataFileWithBomIsReadAndKeepsItsEncoding) {
    std::string text =
        "[CONFIG]\r\nLanguage=Chinese\r\n[UNFINISHED]\r\nR20261208090500=买牛奶\r\n"
        "[R20261208090500]\r\nPERIOD=1\r\nCREATEDATETIME=2026-12-08 09:05:00\r\nWAKETIME=08:00:00\r\n";
    WriteFile(EncodeText(text, TTextEncoding::Utf16LeBom));
    {
        auto store = Open();
        EXPECT_EQ(store->Language, "Chinese");
        ASSERT_EQ(store->Records().size(), 1u);
        EXPECT_EQ(store->Records()[0]->Description, "买牛奶");
        EXPECT_EQ(store->Records()[0]->Period, PeriodDaily);
        store->Records()[0]->Description = "买牛奶和面包";
        store->UpdateRecord(store->Records()[0].get());
    }
    TDecodedText written = DecodeText(FileText());
    EXPECT_EQ(written.Encoding, TTextEncoding::Utf16LeBom);
    EXPECT_NE(written.Text.find("R20261208090500=买牛奶和面包\r\n"), std::string::npos);
}

TEST_F(StoreTest, FailingWriteRaisesTheErrorAndKeepsTheRecordInMemory) {
    if (geteuid() == 0) {
        // root writes into read-only folders: use a path whose folder is missing.
        TRemindFile store(Dir / "missing-folder/" + DataFileName);
        auto r = MakeRecord("kept", At(2026, 1, 1, 1));
        try {
            store.AddRecord(std::move(r));
            FAIL() << "the write should fail";
        } catch (const EIniFileError& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + Dir / "missing-folder/" + DataFileName);
        }
        ASSERT_EQ(store.Records().size(), 1u);
        EXPECT_EQ(store.Records()[0]->Description, "kept");
        return;
    }
    chmod(Dir.Path().c_str(), 0500);
    TRemindFile store(DataPath());
    EXPECT_THROW(store.AddRecord(MakeRecord("kept", At(2026, 1, 1, 1))), EIniFileError);
    chmod(Dir.Path().c_str(), 0700);
    EXPECT_EQ(store.Records().size(), 1u);
}

TEST_F(StoreTest, AnExistingFileThatCannotBeReadIsNeverReplaced) {
    // A folder in place of the file cannot be read, and must not be clobbered
    // by an empty store's writes either.
    ASSERT_EQ(mkdir(DataPath().c_str(), 0700), 0);
    TRemindFile store(DataPath());
    EXPECT_TRUE(store.Records().empty());
    EXPECT_THROW(store.SaveConfig(), EIniFileError);
    struct stat st {};
    ASSERT_EQ(stat(DataPath().c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(StoreTest, AStoreToldToKeepTheSettingsLeavesThemAlone) {
    WriteFile("[UNFINISHED]\n");
    {
        TRemindFile store(DataPath(), TConfigOnClose::Keep);
        store.AddRecord(MakeRecord("added by a tool", EncodeDateTime(2026, 1, 1, 8, 0, 0)));
    }
    EXPECT_EQ(FileText().find("[CONFIG]"), std::string::npos) << FileText();
    EXPECT_EQ(Open()->Records().size(), 1u);
}
