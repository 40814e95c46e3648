// olvoctl add and list: each kind of reminder is stored as the editor
// stores it and listed as the main list shows it.
#include "cli/olvoctl_fixture.h"

#include <sstream>

#include "i18n/lang_path.h"
#include "i18n/lang_text.h"

namespace {

constexpr const char* Tuesday8 = "2026-12-08 08:00:00";  // a Tuesday

const TRmRecordStruct* Find(const std::vector<TRmRecordStruct>& records, const std::string& id) {
    for (const auto& r : records)
        if (TRemindFile::SectionOf(r) == id) return &r;
    return nullptr;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(OlvoctlTest, EachKindIsStoredAsTheEditorStoresIt) {
    const std::string once = Add(Tuesday8, {"Dentist", "--once", "2026-12-09", "14:15:30"});
    const std::string daily = Add(Tuesday8, {"Water the plants", "--daily", "09:00"});
    const std::string weekly = Add(Tuesday8, {"Meeting", "--weekly", "mon,Wed,FRI", "09:30"});
    const std::string monthly = Add(Tuesday8, {"Rent", "--monthly", "1,15,28-31", "10:00:05"});
    const std::string yearly = Add(Tuesday8, {"Anna's birthday", "--yearly", "2024-02-29", "08:00"});
    // One second apart: reminders made within one second still get their own ID.
    EXPECT_EQ((std::vector<std::string>{once, daily, weekly, monthly, yearly}),
              (std::vector<std::string>{"R20261208080000", "R20261208080001", "R20261208080002", "R20261208080003",
                                        "R20261208080004"}));

    const auto records = StoredRecords();
    ASSERT_EQ(records.size(), 5u);
    const TDateTime now = EncodeDateTime(2026, 12, 8, 8, 0, 0);
    for (const auto& r : records) {
        EXPECT_EQ(r.LastTime, now) << r.Description;
        EXPECT_EQ(r.EndTime, 0) << r.Description;
        EXPECT_EQ(r.Voice, "") << r.Description;
    }
    const TRmRecordStruct* r = Find(records, once);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Period, PeriodOnce);
    EXPECT_EQ(r->WakeDate(), EncodeDate(2026, 12, 9));
    EXPECT_EQ(r->WakeTime, EncodeTime(14, 15, 30));

    r = Find(records, daily);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Description, "Water the plants");
    EXPECT_EQ(r->Period, PeriodDaily);
    EXPECT_EQ(r->WakeDate(), EncodeDate(2026, 12, 8)) << "a daily reminder keeps today's date, as the editor does";
    EXPECT_EQ(r->WakeTime, EncodeTime(9, 0, 0));

    r = Find(records, weekly);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Period, PeriodWeekly);
    EXPECT_EQ(RepeatDataToHex(r->RepeatData).substr(0, 14), "00010001000100");  // Sunday first
    EXPECT_EQ(RepeatDataToHex(r->RepeatData).substr(14), std::string(48, '0'));

    r = Find(records, monthly);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Period, PeriodMonthly);
    EXPECT_EQ(r->WakeTime, EncodeTime(10, 0, 5));
    for (int day = 1; day <= 31; ++day) {
        const bool chosen = day == 1 || day == 15 || day >= 28;
        EXPECT_EQ(r->RepeatData[static_cast<size_t>(day - 1)], chosen ? 1 : 0) << "day " << day;
    }

    r = Find(records, yearly);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Period, PeriodYearly);
    EXPECT_EQ(r->WakeDate(), EncodeDate(2024, 2, 29));
}

TEST_F(OlvoctlTest, ListJsonShowsScheduleNextOccurrenceAndTimeLeft) {
    const std::string once = Add(Tuesday8, {"Dentist", "--once", "2026-12-09", "14:15:30"});
    const std::string daily = Add(Tuesday8, {"Water the plants", "--daily", "09:00"});
    const std::string weekly = Add(Tuesday8, {"Meeting", "--weekly", "mon,wed,fri", "09:30"});
    const std::string monthly = Add(Tuesday8, {"Rent", "--monthly", "1,15", "10:00"});
    const std::string yearly = Add(Tuesday8, {"Anna's birthday", "--yearly", "2025-12-24", "00:00"});
    const std::string midnight = Add(Tuesday8, {"New year", "--once", "2027-01-01", "00:00"});

    const auto document = ListJson("2026-12-08 08:30:00");
    EXPECT_EQ(document.at("tab"), "unfinished");
    EXPECT_EQ(document.at("now"), "2026-12-08 08:30:00");
    EXPECT_EQ(IdsOf(document.at("reminders")), (std::vector<std::string>{once, daily, weekly, monthly, yearly, midnight}))
        << "store order";

    struct Expected {
        std::string id;
        int period;
        const char* periodName;
        const char* schedule;
        const char* next;
        const char* remaining;
    };
    const Expected expected[] = {
        {once, 0, "Once", "2026-12-09 14:15:30", "2026-12-09 14:15:30", "1 Day  5 Hours  45 Minutes"},
        {daily, 1, "Daily", "Daily: 09:00:00", "2026-12-08 09:00:00", "30 Minutes"},
        {weekly, 2, "Weekly", "Weekly: Mon ,Wed ,Fri", "2026-12-09 09:30:00", "1 Day  1 Hour"},
        {monthly, 3, "Monthly", "Monthly: 1 ,15", "2026-12-15 10:00:00", "7 Days  1 Hour  30 Minutes"},
        {yearly, 4, "Yearly", "Yearly: 2025-12-24", "2026-12-24 00:00:00", "15 Days  15 Hours  30 Minutes"},
        {midnight, 0, "Once", "2027-01-01", "2027-01-01 00:00:00", "23 Days  15 Hours  30 Minutes"},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.schedule);
        const auto entry = EntryWithId(document, e.id);
        ASSERT_FALSE(entry.is_null());
        EXPECT_EQ(entry.at("period"), e.period);
        EXPECT_EQ(entry.at("periodName"), e.periodName);
        EXPECT_EQ(entry.at("schedule"), e.schedule);
        EXPECT_EQ(entry.at("next"), e.next);
        EXPECT_EQ(entry.at("remaining"), e.remaining);
        EXPECT_EQ(entry.at("overdue"), false);
        EXPECT_EQ(entry.at("completed"), false);
        EXPECT_TRUE(entry.at("endTime").is_null());
    }
}

TEST_F(OlvoctlTest, ListSaysHonestlyWhenThereIsNoOccurrenceOrItHasPassed) {
    // A monthly reminder on the 31st, seen on 31 March after its time: April
    // has no 31st, so the rule finds no day.
    const std::string monthly = Add("2027-03-01 08:00:00", {"Report", "--monthly", "31", "09:00"});
    const std::string once = Add("2027-03-01 08:00:00", {"Call", "--once", "2027-03-31", "09:00"});
    const auto document = ListJson("2027-03-31 12:00:00");

    const auto entry = EntryWithId(document, monthly);
    EXPECT_TRUE(entry.at("next").is_null());
    EXPECT_EQ(entry.at("remaining"), "");

    const auto passed = EntryWithId(document, once);
    EXPECT_EQ(passed.at("next"), "2027-03-31 09:00:00");
    EXPECT_EQ(passed.at("overdue"), true);
    EXPECT_EQ(passed.at("remaining"), "3 Hours");

    const std::string table = RunAt("2027-03-31 12:00:00", {"list"});
    EXPECT_NE(table.find("none"), std::string::npos) << table;
    EXPECT_NE(table.find("overdue 3 Hours"), std::string::npos) << table;
}

TEST_F(OlvoctlTest, TableKeepsItsColumnsWithLineBreaksAndWideCharacters) {
    const std::string first = Add(Tuesday8, {"Buy\nmilk\r\nand bread", "--daily", "09:00"});
    const std::string second = Add(Tuesday8, {"看牙医", "--daily", "10:00"});
    const auto lines = Lines(RunAt(Tuesday8, {"list"}));
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0].find("ID"), 0u);
    const size_t descriptionColumn = lines[0].find("Description");
    const size_t periodColumn = lines[0].find("Period");
    ASSERT_NE(descriptionColumn, std::string::npos);

    // Row 1 takes three lines; the continuation lines hold only the description.
    EXPECT_EQ(lines[2].find(first), 0u);
    EXPECT_EQ(lines[2].find("Buy"), descriptionColumn);
    EXPECT_EQ(lines[3], std::string(descriptionColumn, ' ') + "milk");
    EXPECT_EQ(lines[4], std::string(descriptionColumn, ' ') + "and bread");
    EXPECT_EQ(lines[2].find("Daily"), periodColumn);

    // Each Chinese character takes two columns: the period starts where the
    // header's does, counted in columns rather than bytes.
    EXPECT_EQ(lines[5].find(second), 0u);
    const size_t bytesBefore = lines[5].find("Daily");
    ASSERT_NE(bytesBefore, std::string::npos);
    EXPECT_EQ(bytesBefore - std::string("看牙医").size() + 6, periodColumn);

    // The description survives the data file unchanged.
    EXPECT_EQ(EntryWithId(ListJson(Tuesday8), first).at("description"), "Buy\nmilk\r\nand bread");
}

TEST_F(OlvoctlTest, EmptyTabsShowTheProgramsNotices) {
    EXPECT_EQ(RunAt(Tuesday8, {"list"}), "You have not set any reminder!\n");
    EXPECT_EQ(RunAt(Tuesday8, {"list", "--completed"}), "You have no completed reminder!\n");
    EXPECT_FALSE(testing_support::PathExists(DataFile())) << "listing must not create the data file";
    EXPECT_EQ(ListJson(Tuesday8).at("reminders"), nlohmann::json::array());
}

TEST_F(OlvoctlTest, VoiceIsStoredAsTheEditorStoresIt) {
    testing_support::WriteFileBytes(Dir / "bell.ogg", "sound");
    const std::string mute = Add(Tuesday8, {"a", "--daily", "09:00", "--voice", "mute"});
    const std::string standard = Add(Tuesday8, {"b", "--voice", "default", "--daily", "09:00"});
    // A path with a detour is stored plain and absolute.
    const std::string file = Add(Tuesday8, {"c", "--daily", "09:00", "--voice", Dir / "home/../bell.ogg"});
    const auto document = ListJson(Tuesday8);
    EXPECT_EQ(EntryWithId(document, mute).at("voice"), "");
    EXPECT_EQ(EntryWithId(document, standard).at("voice"), "default.mp3");
    EXPECT_EQ(EntryWithId(document, file).at("voice"), Dir / "bell.ogg");

    const std::string before = DataBytes();
    TRunResult missing = Run({"--now", Tuesday8, "add", "d", "--daily", "09:00", "--voice", Dir / "nowhere.mp3"});
    EXPECT_EQ(missing.Code, 2);
    EXPECT_NE(missing.Err.find("no sound file"), std::string::npos) << missing.Err;
    EXPECT_EQ(DataBytes(), before);
}

TEST_F(OlvoctlTest, DataFileUsesTheUsersRegionalFormats) {
    if (FormatSettingsFromLocale("de_DE.UTF-8").ShortDateFormat != "dd.MM.yyyy")
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    const TEnv german = {{"LANG", "de_DE.UTF-8"}};
    TRunResult added = Run({"--now", Tuesday8, "add", "Zahnarzt", "--once", "2026-12-24", "18:00"}, german);
    ASSERT_EQ(added.Code, 0) << added.Err;
    const std::string data = DataBytes();
    EXPECT_NE(data.find("CREATEDATETIME=08.12.2026 08:00:00"), std::string::npos) << data;
    EXPECT_NE(data.find("WAKETIME=18:00:00"), std::string::npos) << data;

    // German day abbreviations are accepted beside the English ones.
    TRunResult weekly = Run({"--now", Tuesday8, "add", "Sport", "--weekly", "Mo,thu", "18:00"}, german);
    ASSERT_EQ(weekly.Code, 0) << weekly.Err;

    TRunResult list = Run({"--now", Tuesday8, "--lang", "English", "list"}, german);
    EXPECT_NE(list.Out.find("24.12.2026 18:00:00"), std::string::npos) << list.Out;
    EXPECT_NE(list.Out.find("Weekly: Mo ,Do"), std::string::npos) << list.Out;
}

TEST_F(OlvoctlTest, LangChoosesTheLanguageOfTheTexts) {
    Add(Tuesday8, {"Sport", "--weekly", "mon", "18:00"});
    const std::string germanFile = testing_support::BinDir() + "/Languages/German.ini";
    if (!testing_support::PathExists(germanFile)) GTEST_SKIP() << "no German language file beside olvoctl";
    LangFilePath = germanFile;
    ReloadLanguage();
    const std::string weekly = LangText("Translation", "TfrmORMMain.cbPeriod.Item3");
    LangFilePath.clear();
    ReloadLanguage();
    ASSERT_FALSE(weekly.empty());
    ASSERT_NE(weekly, "Weekly");

    const auto document = nlohmann::json::parse(RunAt(Tuesday8, {"list", "--json", "--lang", "german"}));
    EXPECT_EQ(document.at("reminders").at(0).at("periodName"), weekly);
    EXPECT_EQ(document.at("reminders").at(0).at("schedule"), weekly + ": Mon");

    TRunResult unknown = Run({"list", "--lang", "Klingon"});
    EXPECT_EQ(unknown.Code, 2);
    EXPECT_NE(unknown.Err.find("unknown language 'Klingon'"), std::string::npos) << unknown.Err;
}

}  // namespace
