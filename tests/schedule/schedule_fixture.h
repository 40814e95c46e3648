// Shared set-up for the schedule tests: a fixed time zone, fixed ISO
// regional formats (the data file stores date-times in them), a language file
// of our own for the unit words, a temporary data folder, and helpers that
// build reminder rules. The clock, formats and language are put back after
// each test.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ctime>
#include <initializer_list>
#include <optional>
#include <string>

#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "platform/datetime.h"
#include "platform/locale_format.h"
#include "store/rm_record.h"
#include "support/test_support.h"

// Unit words that differ from the built-in English ones, so a test can tell
// that the words come from the active language file.
inline constexpr const char* TestLanguageFile =
    "[Translation]\n"
    "constY=Jahr\nconstYs=Jahre\n"
    "constM=Monat\nconstMs=Monate\n"
    "constD=Tag\nconstDs=Tage\n"
    "constHH=Stunde\nconstHHs=Stunden\n"
    "constMM=Minute\nconstMMs=Minuten\n";

class ScheduleTest : public ::testing::Test {
protected:
    void SetUp() override {
        Zone.emplace("TZ", "UTC");
        tzset();
        TFormatSettings iso;
        iso.ShortDateFormat = "yyyy-MM-dd";
        iso.LongTimeFormat = "HH:mm:ss";
        SetFormatSettings(iso);
        UseBuiltInLanguage();
    }
    void TearDown() override {
        ResetClock();
        ResetFormatSettings();
        LangFilePath.clear();
        ReloadLanguage();
        Zone.reset();
        tzset();
    }

    // No file at the language path: the built-in English texts answer.
    void UseBuiltInLanguage() {
        LangFilePath = Dir / "Languages/None.ini";
        ReloadLanguage();
    }
    void UseTestLanguage() {
        LangFilePath = Dir / "Test.ini";
        testing_support::WriteFileBytes(LangFilePath, TestLanguageFile);
        ReloadLanguage();
    }

    std::optional<testing_support::TEnvGuard> Zone;
    testing_support::TTempDir Dir;
};

// Moments as whole milliseconds, the resolution the program works in.
inline int64_t Ms(TDateTime value) {
    return std::llround(value * MSecsPerDay);
}

inline TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return EncodeDateTime(year, month, day, hour, minute, second);
}

// A moment as text for failure messages; the special results -1 and 0 stay
// numbers.
inline std::string Show(TDateTime value) {
    if (value == 0 || value == -1) return std::to_string(static_cast<int>(value));
    return FormatDateTimeText("yyyy-MM-dd HH:mm:ss", value);
}

inline TRmRecordStruct OnceRule(TDateTime moment) {
    TRmRecordStruct r;
    r.Period = PeriodOnce;
    r.SetWakeDate(std::floor(moment));
    r.WakeTime = moment - std::floor(moment);
    return r;
}

inline TRmRecordStruct DailyRule(int hour, int minute, int second = 0) {
    TRmRecordStruct r;
    r.Period = PeriodDaily;
    r.WakeTime = EncodeTime(hour, minute, second);
    return r;
}

// Weekdays counted from Sunday = 0, as the flag bytes are.
inline TRmRecordStruct WeeklyRule(std::initializer_list<int> weekdays, int hour, int minute, int second = 0) {
    TRmRecordStruct r;
    r.Period = PeriodWeekly;
    r.WakeTime = EncodeTime(hour, minute, second);
    for (int w : weekdays) r.RepeatData[static_cast<size_t>(w)] = 1;
    return r;
}

inline TRmRecordStruct MonthlyRule(std::initializer_list<int> days, int hour, int minute, int second = 0) {
    TRmRecordStruct r;
    r.Period = PeriodMonthly;
    r.WakeTime = EncodeTime(hour, minute, second);
    for (int d : days) r.RepeatData[static_cast<size_t>(d - 1)] = 1;
    return r;
}

inline TRmRecordStruct YearlyRule(int year, int month, int day, int hour, int minute, int second = 0) {
    TRmRecordStruct r;
    r.Period = PeriodYearly;
    r.SetWakeDate(EncodeDate(year, month, day));
    r.WakeTime = EncodeTime(hour, minute, second);
    return r;
}
