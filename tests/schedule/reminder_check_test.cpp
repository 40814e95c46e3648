// The save checks: which input is refused, in which order, and with which
// message.
#include <gtest/gtest.h>

#include <cmath>

#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "schedule/reminder_check.h"
#include "store/rm_record.h"
#include "support/test_support.h"

namespace {

const TDateTime Now10 = EncodeDateTime(2026, 12, 8, 10, 0, 0);

TReminderInput Input(const char* description, uint8_t period, TDateTime date = 0, TDateTime time = 0) {
    TReminderInput input;
    input.Description = description;
    input.Period = period;
    input.Date = date;
    input.Time = time;
    return input;
}

TReminderInput Once(const char* description, TDateTime moment) {
    // The boxes hold full date-times; only the date of one and the time of
    // the other count. Give each the other's part wrong to prove it.
    return Input(description, PeriodOnce, std::floor(moment) + 0.75, moment - std::floor(moment) + 100);
}

TEST(ReminderCheckTest, RefusesInTheEditorsOrder) {
    TReminderInput weeklyNoDay = Input("Meeting", PeriodWeekly);
    TReminderInput weeklySaturday = weeklyNoDay;
    weeklySaturday.WeekDays[6] = true;
    TReminderInput weeklyWithMonthDays = weeklyNoDay;
    weeklyWithMonthDays.MonthDays[3] = true;
    TReminderInput monthlyNoDay = Input("Rent", PeriodMonthly);
    TReminderInput monthly31 = monthlyNoDay;
    monthly31.MonthDays[30] = true;
    TReminderInput emptyWeekly = Input("", PeriodWeekly);

    struct Case {
        const char* name;
        TReminderInput input;
        TReminderRefusal expected;
    };
    const Case cases[] = {
        {"empty description", Once("", Now10 + 1), TReminderRefusal::RemindNameNULL},
        {"empty description wins over a past moment", Once("", Now10 - 1), TReminderRefusal::RemindNameNULL},
        {"empty description wins over no day", emptyWeekly, TReminderRefusal::RemindNameNULL},
        {"a blank is a description", Once(" ", Now10 + 1), TReminderRefusal::None},
        {"once a second ago", Once("Call", Now10 - OneSecond), TReminderRefusal::TimeOver},
        {"once a minute ago", Once("Call", Now10 - OneMinute), TReminderRefusal::TimeOver},
        {"once exactly now", Once("Call", Now10), TReminderRefusal::None},
        {"once tomorrow, an hour earlier", Once("Call", Now10 + 1 - OneHour), TReminderRefusal::None},
        {"once at midnight today", Once("Call", EncodeDate(2026, 12, 8)), TReminderRefusal::TimeOver},
        {"daily at a passed time", Input("Tea", PeriodDaily, Now10 - 5, EncodeTime(6, 0, 0)), TReminderRefusal::None},
        {"yearly on a passed date", Input("Anna", PeriodYearly, EncodeDate(1990, 5, 1), 0), TReminderRefusal::None},
        {"weekly without a day", weeklyNoDay, TReminderRefusal::NoneSelected},
        {"weekly on Saturday", weeklySaturday, TReminderRefusal::None},
        {"weekly with only month days", weeklyWithMonthDays, TReminderRefusal::NoneSelected},
        {"monthly without a day", monthlyNoDay, TReminderRefusal::NoneSelected},
        {"monthly on the 31st", monthly31, TReminderRefusal::None},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckReminderInput(c.input, Now10), c.expected) << c.name;
}

TEST(ReminderCheckTest, TheClockDecidesWithoutAGivenMoment) {
    SetFixedNow(Now10);
    EXPECT_EQ(CheckReminderInput(Once("Call", Now10 - OneSecond)), TReminderRefusal::TimeOver);
    EXPECT_EQ(CheckReminderInput(Once("Call", Now10)), TReminderRefusal::None);
    ResetClock();
}

class RefusalTextTest : public ::testing::Test {
protected:
    void SetUp() override { UseLanguageFile(Dir / "none.ini"); }
    void TearDown() override {
        SetBuiltInLanguageSource({});
        LangFilePath.clear();
        ReloadLanguage();
    }
    void UseLanguageFile(const std::string& path) {
        LangFilePath = path;
        ReloadLanguage();
    }
    testing_support::TTempDir Dir;
};

TEST_F(RefusalTextTest, KeysAndBuiltInEnglishTexts) {
    const struct {
        TReminderRefusal refusal;
        const char* key;
        const char* text;
    } cases[] = {
        {TReminderRefusal::RemindNameNULL, "RemindNameNULL", "Please fill the description of the reminder!"},
        {TReminderRefusal::TimeOver, "TimeOver", "You have set a time earlier than the current time!"},
        {TReminderRefusal::NoneSelected, "NoneSelected", "Please select at least one item!"},
        {TReminderRefusal::None, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RefusalKey(c.refusal), c.key);
        EXPECT_EQ(RefusalText(c.refusal), c.text) << c.key;
    }
}

TEST_F(RefusalTextTest, TheActiveLanguageComesFirstAndTheDefaultsLast) {
    testing_support::WriteFileBytes(Dir / "Test.ini", "[Messages]\nTimeOver=Zu spät!\n");
    UseLanguageFile(Dir / "Test.ini");
    EXPECT_EQ(RefusalText(TReminderRefusal::TimeOver), "Zu spät!");
    EXPECT_EQ(RefusalText(TReminderRefusal::RemindNameNULL), "Please fill the description of the reminder!");

    SetBuiltInLanguageSource([](std::string&) { return false; });
    EXPECT_EQ(RefusalText(TReminderRefusal::TimeOver), "Zu spät!");
    EXPECT_EQ(RefusalText(TReminderRefusal::NoneSelected), "请至少选择一项");
    EXPECT_EQ(RefusalText(TReminderRefusal::RemindNameNULL), "");
}

}  // namespace
