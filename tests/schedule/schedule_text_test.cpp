// The repeat rule as text: every kind, the comma rule, midnight, captions
// from the language file, regional formats, and the weekday names.
#include <gtest/gtest.h>

#include <initializer_list>

#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "platform/locale_format.h"
#include "schedule/schedule_text.h"
#include "support/test_support.h"

namespace {

class ScheduleTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        TFormatSettings iso;  // ISO pictures
        // Names that are not the defaults, so a test sees where they come from.
        iso.ShortDayNames = {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};
        SetFormatSettings(iso);
        LangFilePath = Dir / "none.ini";  // no file: the built-in English texts
        ReloadLanguage();
    }
    void TearDown() override {
        SetBuiltInLanguageSource({});
        ResetFormatSettings();
        LangFilePath.clear();
        ReloadLanguage();
    }

    testing_support::TTempDir Dir;
};

TRmRecordStruct Dated(uint8_t period, TDateTime date, TDateTime time) {
    TRmRecordStruct r;
    r.Period = period;
    r.SetWakeDate(date);
    r.WakeTime = time;
    return r;
}

TRmRecordStruct Flagged(uint8_t period, std::initializer_list<int> flagIndexes) {
    TRmRecordStruct r;
    r.Period = period;
    r.WakeTime = EncodeTime(9, 0, 0);
    for (int i : flagIndexes) r.RepeatData[static_cast<size_t>(i)] = 1;
    return r;
}

TEST_F(ScheduleTextTest, EachKindReadsAsTheListShowsIt) {
    struct Case {
        const char* name;
        TRmRecordStruct record;
        const char* expected;
    };
    const Case cases[] = {
        {"once", Dated(PeriodOnce, EncodeDate(2026, 12, 8), EncodeTime(9, 5, 7)), "2026-12-08 09:05:07"},
        {"once at midnight", Dated(PeriodOnce, EncodeDate(2026, 12, 8), 0), "2026-12-08"},
        {"daily", Dated(PeriodDaily, EncodeDate(2020, 1, 1), EncodeTime(21, 30, 0)), "Daily: 21:30:00"},
        {"weekly Monday and Wednesday", Flagged(PeriodWeekly, {1, 3}), "Weekly: Mo ,We "},
        {"weekly Sunday and Saturday", Flagged(PeriodWeekly, {0, 6}), "Weekly: Su ,Sa "},
        {"weekly without a day", Flagged(PeriodWeekly, {}), "Weekly: "},
        {"monthly 1st and 15th", Flagged(PeriodMonthly, {0, 14}), "Monthly: 1 ,15 "},
        {"monthly 31st", Flagged(PeriodMonthly, {30}), "Monthly: 31 "},
        {"yearly", Dated(PeriodYearly, EncodeDate(2024, 2, 29), EncodeTime(8, 0, 0)), "Yearly: 2024-02-29 08:00:00"},
        {"yearly at midnight", Dated(PeriodYearly, EncodeDate(2024, 2, 29), 0), "Yearly: 2024-02-29"},
        {"no schedule", Flagged(PeriodNone, {1, 2}), ""},
        {"unknown code", Flagged(7, {1}), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ScheduleTextOf(c.record), c.expected) << c.name;
}

TEST_F(ScheduleTextTest, OnlyFlagBytesEqualToOneCount) {
    TRmRecordStruct weekly = Flagged(PeriodWeekly, {2});
    weekly.RepeatData[4] = 2;     // Thursday: not exactly 1
    weekly.RepeatData[5] = 0xFF;  // Friday
    EXPECT_EQ(ScheduleTextOf(weekly), "Weekly: Tu ");

    // Bytes past the kind's own (a record edited from another kind) are ignored.
    TRmRecordStruct weeklyWithStaleBytes = Flagged(PeriodWeekly, {1});
    weeklyWithStaleBytes.RepeatData[10] = 1;
    EXPECT_EQ(ScheduleTextOf(weeklyWithStaleBytes), "Weekly: Mo ");
}

TEST_F(ScheduleTextTest, CaptionsFollowTheActiveLanguage) {
    LangFilePath = Dir / "Test.ini";
    testing_support::WriteFileBytes(LangFilePath,
                                    "[Translation]\nTfrmORMMain.cbPeriod.Item2=Täglich\n"
                                    "TfrmORMMain.cbPeriod.Item3=Wöchentlich\n");
    ReloadLanguage();
    EXPECT_EQ(ScheduleTextOf(Flagged(PeriodWeekly, {5})), "Wöchentlich: Fr ");
    EXPECT_EQ(ScheduleTextOf(Dated(PeriodDaily, 0, EncodeTime(7, 0, 0))), "Täglich: 07:00:00");
    // A caption the file lacks comes from the built-in English file.
    EXPECT_EQ(ScheduleTextOf(Flagged(PeriodMonthly, {1})), "Monthly: 2 ");
    EXPECT_EQ(PeriodCaption(PeriodOnce), "Once");
    EXPECT_EQ(PeriodCaption(PeriodNone), "");
}

TEST_F(ScheduleTextTest, CaptionsStayEnglishWithoutAnyLanguageTable) {
    SetBuiltInLanguageSource([](std::string&) { return false; });
    EXPECT_EQ(ScheduleTextOf(Flagged(PeriodMonthly, {0})), "Monthly: 1 ");
    EXPECT_EQ(PeriodCaption(PeriodYearly), "Yearly");
}

TEST_F(ScheduleTextTest, DatesAndTimesUseTheRegionalFormats) {
    TFormatSettings german;
    german.ShortDateFormat = "dd.MM.yyyy";
    german.LongTimeFormat = "HH:mm:ss";
    SetFormatSettings(german);
    EXPECT_EQ(ScheduleTextOf(Dated(PeriodOnce, EncodeDate(2026, 3, 4), EncodeTime(18, 0, 0))), "04.03.2026 18:00:00");

    TFormatSettings american;
    american.ShortDateFormat = "M/d/yyyy";
    american.LongTimeFormat = "h:mm:ss tt";
    SetFormatSettings(american);
    EXPECT_EQ(ScheduleTextOf(Dated(PeriodYearly, EncodeDate(2026, 3, 4), EncodeTime(18, 0, 0))),
              "Yearly: 3/4/2026 6:00:00 PM");
    EXPECT_EQ(ScheduleTextOf(Dated(PeriodDaily, 0, EncodeTime(6, 5, 0))), "Daily: 6:05:00 AM");
}

TEST_F(ScheduleTextTest, DayNamesCountFromSunday) {
    EXPECT_EQ(DayName(1), "Su");
    EXPECT_EQ(DayName(2), "Mo");
    EXPECT_EQ(DayName(7), "Sa");
    EXPECT_EQ(DayName(0), "");
    EXPECT_EQ(DayName(8), "");

    std::vector<std::string> captions = {"kept"};
    EXPECT_EQ(DayName(4, &captions), "We");
    EXPECT_EQ(captions, (std::vector<std::string>{"kept", "Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"}));
}

}  // namespace
