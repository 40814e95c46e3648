// Regional formats: writing and reading date-time text under several
// settings, reading text written under other settings, strftime conversion,
// and the language identifiers.
#include "platform/locale_format.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <optional>
#include <vector>

#include "platform/locale_samples.h"
#include "support/test_support.h"

namespace {

using locale_samples::Pictures;
using locale_samples::Stamp;
using locale_samples::Untouched;

using testing_support::TEnvGuard;

const TFormatSettings Iso = Pictures("yyyy-MM-dd", "HH:mm:ss");
const TFormatSettings Us = Pictures("M/d/yyyy", "h:mm:ss tt");
const TFormatSettings German = Pictures("dd.MM.yyyy", "HH:mm:ss", "", "");
const TFormatSettings Chinese = Pictures("yyyy/M/d", "H:mm:ss", "上午", "下午");
const TFormatSettings ChineseTwelve = Pictures("yyyy/M/d", "tt h:mm:ss", "上午", "下午");
const TFormatSettings British = Pictures("dd/MM/yyyy", "HH:mm:ss", "am", "pm");
const TFormatSettings Japanese = Pictures("yyyy年MM月dd日", "H時mm分ss秒", "午前", "午後");

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return EncodeDateTime(y, mo, d, h, mi, s, ms);
}


struct TRoundTripCase {
    const char* Name;
    const TFormatSettings* Settings;
    TDateTime Value;
    const char* Text;
};

TEST(LocaleFormatTest, DateTimeTextRoundTripsUnderEachSettings) {
    const TRoundTripCase cases[] = {
        {"iso", &Iso, At(2026, 12, 8, 9, 5, 0), "2026-12-08 09:05:00"},
        {"iso midnight", &Iso, At(2026, 12, 8), "2026-12-08"},
        {"iso small year", &Iso, At(987, 1, 2, 3, 4, 5), "0987-01-02 03:04:05"},
        {"us midnight", &Us, At(2026, 12, 8), "12/8/2026"},
        {"us noon", &Us, At(2026, 12, 8, 12, 0, 0), "12/8/2026 12:00:00 PM"},
        {"us half past midnight", &Us, At(2026, 12, 8, 0, 30, 0), "12/8/2026 12:30:00 AM"},
        {"us last second", &Us, At(2026, 12, 8, 23, 59, 59), "12/8/2026 11:59:59 PM"},
        {"us morning", &Us, At(2026, 1, 5, 9, 5, 7), "1/5/2026 9:05:07 AM"},
        {"german", &German, At(2026, 12, 8, 9, 5, 0), "08.12.2026 09:05:00"},
        {"german leap day", &German, At(2028, 2, 29, 23, 59, 59), "29.02.2028 23:59:59"},
        {"chinese", &Chinese, At(2026, 12, 8, 9, 5, 0), "2026/12/8 9:05:00"},
        {"designator first", &ChineseTwelve, At(2026, 12, 8, 13, 0, 1), "2026/12/8 下午 1:00:01"},
        {"japanese", &Japanese, At(2026, 3, 4, 7, 8, 9), "2026年03月04日 7時08分09秒"},
    };
    for (const TRoundTripCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(DateTimeToStr(c.Value, *c.Settings), c.Text);
        TDateTime parsed = Untouched;
        ASSERT_TRUE(TryStrToDateTime(c.Text, parsed, *c.Settings));
        EXPECT_EQ(Stamp(parsed), Stamp(c.Value));
    }
}

TEST(LocaleFormatTest, TimeTextRoundTripsWithDatePartZero) {
    const TRoundTripCase cases[] = {
        {"us midnight", &Us, EncodeTime(0, 0, 0), "12:00:00 AM"},
        {"us noon", &Us, EncodeTime(12, 0, 0), "12:00:00 PM"},
        {"iso", &Iso, EncodeTime(9, 5, 7), "09:05:07"},
        {"chinese", &ChineseTwelve, EncodeTime(0, 15, 0), "上午 12:15:00"},
    };
    for (const TRoundTripCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(TimeToStr(c.Value, *c.Settings), c.Text);
        TDateTime parsed = Untouched;
        ASSERT_TRUE(TryStrToTime(c.Text, parsed, *c.Settings));
        EXPECT_EQ(Stamp(parsed), Stamp(c.Value));
    }
}

TEST(LocaleFormatTest, MillisecondsAreNotWrittenAndDateToStrOmitsTime) {
    TDateTime value = At(2026, 12, 8, 9, 5, 0, 400);
    EXPECT_EQ(DateTimeToStr(value, Iso), "2026-12-08 09:05:00");
    EXPECT_EQ(DateToStr(value, Us), "12/8/2026");
    // Half a second past midnight is not midnight: the time stays.
    EXPECT_EQ(DateTimeToStr(At(2026, 12, 8, 0, 0, 0, 500), Iso), "2026-12-08 00:00:00");
}

TEST(LocaleFormatTest, FormatsPictureLettersAndLiterals) {
    struct {
        const char* Picture;
        TDateTime Value;
        const char* Expected;
    } const cases[] = {
        {"yyyy-MM-dd'T'HH:mm", At(2026, 12, 8, 9, 5), "2026-12-08T09:05"},
        {"\"at\" h tt", At(2026, 12, 8, 9, 5), "at 9 AM"},
        {"hh:mm tt", At(2026, 12, 8, 0, 7), "12:07 AM"},
        {"h t", At(2026, 12, 8, 15, 0), "3 PM"},
        {"H:m:s", At(2026, 12, 8, 9, 5, 7), "9:5:7"},
        {"d/M/yy", At(2026, 12, 8), "8/12/2026"},
        {"HHx", At(2026, 12, 8, 9, 5), "09x"},
        {"ddd MMM", At(2026, 12, 8), "ddd MMM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Picture);
        EXPECT_EQ(FormatDateTimeText(c.Picture, c.Value, Iso), c.Expected);
    }
}

TEST(LocaleFormatTest, ValuesOutsideTheCalendarGiveEmptyText) {
    for (TDateTime value : {std::numeric_limits<double>::quiet_NaN(), 1e9, -1e9})
        EXPECT_EQ(DateTimeToStr(value, Iso), "");
}

TEST(LocaleFormatTest, ParsesTheFreedomsAPictureAllows) {
    struct {
        const char* Picture;
        const char* Text;
        const TFormatSettings* Settings;
        TDateTime Expected;
    } const cases[] = {
        {"d/M/yyyy", "8/12/2026", &Iso, At(2026, 12, 8)},
        {"dd/MM/yyyy", "8/1/2026", &Iso, At(2026, 1, 8)},
        {"yyyy-MM-dd", "  \t2026-12-08   ", &Iso, At(2026, 12, 8)},
        {"M/d/yyyy h:mm:ss tt", "12/8/2026    9:05:00   pm", &Us, At(2026, 12, 8, 21, 5)},
        {"h:mm:ss tt", "12:00:00 am", &Us, EncodeTime(0, 0, 0)},
        {"h:mm:ss tt", "12:30:00 PM", &Us, EncodeTime(12, 30, 0)},
        {"HHmmss", "090507", &Iso, EncodeTime(9, 5, 7)},
        {"yyyyMMdd", "20261208", &Iso, At(2026, 12, 8)},
        {"yyyy/M/d tt h:mm:ss", "2026/12/8 下午 1:00:00", &Chinese, At(2026, 12, 8, 13)},
        {"yyyy/M/d tt h:mm:ss", "2026/12/8 pm 1:00:00", &Chinese, At(2026, 12, 8, 13)},
        {"yyyy年M月d日", "2026年12月8日", &Iso, At(2026, 12, 8)},
        {"H:mm", "7:30", &Iso, EncodeTime(7, 30, 0)},
        {"HH:mm tt", "21:00 PM", &Us, EncodeTime(21, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Picture) + " <- " + c.Text);
        TDateTime parsed = Untouched;
        ASSERT_TRUE(TryParseDateTimeText(c.Text, c.Picture, parsed, *c.Settings));
        EXPECT_EQ(Stamp(parsed), Stamp(c.Expected));
    }
}

TEST(LocaleFormatTest, RejectsTextThatIsNotAPossibleDateOrTime) {
    struct {
        const char* Picture;
        const char* Text;
    } const cases[] = {
        {"yyyy-MM-dd", "2026-02-31"},
        {"yyyy-MM-dd", "2025-02-29"},
        {"yyyy-MM-dd", "2026-13-01"},
        {"yyyy-MM-dd", "26-12-08"},
        {"M/d/yyyy", "12/8/26"},
        {"yyyy-MM-dd", "2026-12-008"},
        {"dd.MM.yyyy", "08/12/2026"},
        {"HH:mm:ss", "25:00:00"},
        {"HH:mm:ss", "09:60:00"},
        {"h:mm:ss tt", "13:00:00 PM"},
        {"h:mm:ss tt", "0:30:00 AM"},
        {"h:mm:ss tt", "9:05:00"},
        {"h:mm:ss tt", "9:05:00AM"},
        {"HH:mm tt", "09:00 PM"},
        {"yyyy-MM-dd HH:mm:ss", "2026-12-08 09:05:00 x"},
        {"yyyy-MM-dd HH:mm:ss", "2026-12-08 09:05"},
        {"yyyy-MM-dd HH:mm:ss", "2026-12-08"},
        {"yyyy-MM-dd", ""},
        {"M/d", "12/8"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Picture) + " <- '" + c.Text + "'");
        TDateTime parsed = Untouched;
        EXPECT_FALSE(TryParseDateTimeText(c.Text, c.Picture, parsed, Us));
        EXPECT_EQ(parsed, Untouched);
    }
}

TEST(LocaleFormatTest, TextWrittenUnderOtherSettingsReadsBackTheSameValue) {
    const std::pair<const char*, const TFormatSettings*> writers[] = {
        {"iso", &Iso}, {"us", &Us}, {"german", &German}, {"chinese", &Chinese}, {"british", &British}};
    const std::pair<const char*, const TFormatSettings*> readers[] = {
        {"iso", &Iso},         {"us", &Us},           {"german", &German},    {"chinese", &Chinese},
        {"british", &British}, {"japanese", &Japanese}, {"twelve", &ChineseTwelve}};
    // Midnight on the 25th: a date alone whose day cannot pass for a month.
    const TDateTime values[] = {At(2026, 12, 8, 13, 7, 9), At(2026, 12, 25), At(2026, 3, 4, 0, 30, 15)};
    for (const auto& [writerName, writer] : writers) {
        for (const auto& [readerName, reader] : readers) {
            for (TDateTime value : values) {
                std::string text = DateTimeToStr(value, *writer);
                SCOPED_TRACE(std::string(writerName) + " -> " + readerName + ": " + text);
                TDateTime parsed = Untouched;
                ASSERT_TRUE(TryStrToDateTime(text, parsed, *reader));
                EXPECT_EQ(Stamp(parsed), Stamp(value));
            }
        }
    }
}

TEST(LocaleFormatTest, AmbiguousSlashedDateFollowsTheUsersDayMonthOrder) {
    const std::pair<const TFormatSettings*, TDateTime> cases[] = {
        {&Iso, At(2026, 3, 4)}, {&Us, At(2026, 3, 4)}, {&German, At(2026, 4, 3)}, {&Japanese, At(2026, 3, 4)}};
    for (const auto& [settings, expected] : cases) {
        SCOPED_TRACE(settings->ShortDateFormat);
        TDateTime parsed = Untouched;
        ASSERT_TRUE(TryStrToDateTime("3/4/2026", parsed, *settings));
        EXPECT_EQ(Stamp(parsed), Stamp(expected));
    }
}

TEST(LocaleFormatTest, UnreadableTextFailsAndLeavesTheValue) {
    for (const char* text : {"next Tuesday", "2026-12-08 25:00:00", "31/31/2026", "2026-12-08T09:05:00", "", "0"}) {
        SCOPED_TRACE(text);
        TDateTime parsed = Untouched;
        EXPECT_FALSE(TryStrToDateTime(text, parsed, Us));
        EXPECT_FALSE(TryStrToTime(text, parsed, Us));
        EXPECT_EQ(parsed, Untouched);
    }
}

TEST(LocaleFormatTest, TimeOfDayFallsBackToOtherClocks) {
    const struct {
        const TFormatSettings* Settings;
        const char* Text;
        bool Readable;
    } cases[] = {
        {&Us, "13:07:09", true},         {&Iso, "1:07:09 PM", true},
        {&German, "1:07:09 pm", true},   {&ChineseTwelve, "13:07:09", true},
        {&Us, "2026-12-08 13:07:09", false}, {&Iso, "13:07", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        TDateTime parsed = Untouched;
        EXPECT_EQ(TryStrToTime(c.Text, parsed, *c.Settings), c.Readable);
        EXPECT_EQ(Stamp(parsed), Stamp(c.Readable ? EncodeTime(13, 7, 9) : Untouched));
    }
}

TEST(LocaleFormatTest, ConvertsStrftimeFormatsToPictures) {
    const std::pair<const char*, const char*> cases[] = {
        {"%m/%d/%Y", "MM/dd/yyyy"}, {"%d.%m.%y", "dd.MM.yyyy"}, {"%e/%-m/%Y", "d/M/yyyy"},
        {"%r", "hh:mm:ss tt"},      {"%D", "MM/dd/yyyy"},       {"%k:%M", "H:mm"},
        {"%l:%M %p", "h:mm tt"},    {"%-I:%M %P", "h:mm tt"},   {"%Hh%M", "HH'h'mm"},
        // Nothing a picture cannot say survives as a wrong picture.
        {"%b %d %Y", ""}, {"%x", ""}, {"%a %F", ""}, {"%Od", ""}, {"%Ey", ""}, {"%H:%M %Z", ""}, {"%10d", ""},
        {"%", ""}, {"%G-%m-%d", ""},
    };
    for (const auto& [format, picture] : cases) {
        SCOPED_TRACE(format);
        EXPECT_EQ(PictureFromStrftime(format), picture);
    }
}

// Where the picture keeps strftime's padding, both must write the same text,
// literal letters and quotes included.
TEST(LocaleFormatTest, ConvertedPictureWritesWhatStrftimeWrites) {
    std::tm tm{};
    tm.tm_year = 2026 - 1900;
    tm.tm_mon = 2;
    tm.tm_mday = 4;
    tm.tm_hour = 15;
    tm.tm_min = 7;
    tm.tm_sec = 9;
    TDateTime value = At(2026, 3, 4, 15, 7, 9);
    for (const char* format : {"%m/%d/%Y", "%Y年%m月%d日", "%T", "%R", "%F", "%I:%M:%S %p", "%r", "%Hh%M",
                               "%H 'Uhr' \"x\" yy", "%-d.%-m.%Y %-H:%M", "at %H o'clock"}) {
        SCOPED_TRACE(format);
        char expected[128];
        ASSERT_GT(std::strftime(expected, sizeof expected, format, &tm), 0u);
        EXPECT_EQ(FormatDateTimeText(PictureFromStrftime(format), value, Iso), expected);
    }
}

TEST(LocaleFormatTest, BuildsSettingsFromLocaleTimeInfo) {
    const std::array<std::string, 7> german{"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    const std::array<std::string, 7> english = TFormatSettings{}.ShortDayNames;
    struct {
        TLocaleTimeInfo Info;
        TFormatSettings Expected;
    } const cases[] = {
        {{"%m/%d/%Y", "%r", "AM", "PM", english}, Pictures("MM/dd/yyyy", "hh:mm:ss tt")},
        {{"%d.%m.%Y", "%T", "", "", german}, Pictures("dd.MM.yyyy", "HH:mm:ss", "", "")},
        {{"%d/%m/%y", "%T", "am", "pm", english}, Pictures("dd/MM/yyyy", "HH:mm:ss", "am", "pm")},
        {{"%Y年%m月%d日", "%H時%M分%S秒", "午前", "午後", english},
         Pictures("yyyy年MM月dd日", "HH時mm分ss秒", "午前", "午後")},
        {{"%F", "%H:%M", "", "", english}, Pictures("yyyy-MM-dd", "HH:mm:ss", "", "")},
        {{"%F", "%H時%M分", "", "", english}, Pictures("yyyy-MM-dd", "HH時mm:ss分", "", "")},
        {{"%F", "%l:%M:%S", "am", "pm", english}, Pictures("yyyy-MM-dd", "H:mm:ss", "am", "pm")},
        {{"%F", "%I:%M %p", "", "", english}, Pictures("yyyy-MM-dd", "hh:mm:ss tt")},
        {{"%F", "%I:%M:%S %p", "x", "X", english}, Pictures("yyyy-MM-dd", "hh:mm:ss tt")},
        {{"%a %d %b %Y", "%H:%M:%S %Z", "", "", english}, Pictures("yyyy-MM-dd", "HH:mm:ss", "", "")},
        {{"%d.%m.", "%F %T", "", "", english}, Pictures("yyyy-MM-dd", "HH:mm:ss", "", "")},
        {{"%F %T", "%M:%S", "", "", english}, Pictures("yyyy-MM-dd", "HH:mm:ss", "", "")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Info.DateFormat + " | " + c.Info.TimeFormat);
        TFormatSettings expected = c.Expected;
        expected.ShortDayNames = c.Info.AbbreviatedDayNames;
        EXPECT_EQ(FormatSettingsFromTimeInfo(c.Info), expected);
    }
    TLocaleTimeInfo missingDay{"%F", "%T", "", "", german};
    missingDay.AbbreviatedDayNames[3].clear();
    EXPECT_EQ(FormatSettingsFromTimeInfo(missingDay).ShortDayNames, english);
}

TEST(LocaleFormatTest, CLocaleAndUnknownLocalesGiveIsoFormats) {
    for (const char* name : {"C", "POSIX", "C.UTF-8", "C.utf8", "", "xx_NOWHERE.UTF-8", "qq_QQ"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(FormatSettingsFromLocale(name), TFormatSettings{});
    }
}

bool LocaleInstalled(const char* name) {
    locale_t locale = newlocale(LC_TIME_MASK, name, static_cast<locale_t>(nullptr));
    if (locale) freelocale(locale);
    return locale != nullptr;
}

TEST(LocaleFormatTest, ReadsInstalledLocales) {
    bool any = false;
    if (LocaleInstalled("en_US.UTF-8")) {
        any = true;
        TFormatSettings us = FormatSettingsFromLocale("en_US");  // no codeset: the UTF-8 one is found
        EXPECT_EQ(us.ShortDateFormat, "MM/dd/yyyy");
        EXPECT_EQ(us.LongTimeFormat, "hh:mm:ss tt");
        EXPECT_EQ(us.TimePMString, "PM");
        EXPECT_EQ(us.ShortDayNames[0], "Sun");
    }
    if (LocaleInstalled("de_DE.UTF-8")) {
        any = true;
        TFormatSettings de = FormatSettingsFromLocale("de_DE.UTF-8");
        EXPECT_EQ(de.ShortDateFormat, "dd.MM.yyyy");
        EXPECT_EQ(de.LongTimeFormat, "HH:mm:ss");
        EXPECT_EQ(de.ShortDayNames[1], "Mo");
    }
    if (!any) GTEST_SKIP() << "neither en_US.UTF-8 nor de_DE.UTF-8 is installed";
}

TEST(LocaleFormatTest, InstalledSettingsReplaceTheProcessOnesUntilReset) {
    const TFormatSettings before = FormatSettings();
    SetFormatSettings(Us);
    const TFormatSettings& installed = FormatSettings();
    EXPECT_EQ(DateTimeToStr(At(2026, 12, 8, 13)), "12/8/2026 1:00:00 PM");
    SetFormatSettings(German);
    // A reference handed out earlier stays valid and unchanged.
    EXPECT_EQ(installed, Us);
    EXPECT_EQ(DateTimeToStr(At(2026, 12, 8, 13)), "08.12.2026 13:00:00");
    ResetFormatSettings();
    EXPECT_EQ(FormatSettings(), before);
}

TEST(LocaleFormatTest, MapsLocaleNamesToLanguageIds) {
    const std::pair<const char*, uint16_t> cases[] = {
        {"en_US.UTF-8", 0x0409}, {"en_GB", 0x0809},         {"en_AU.utf8", 0x0C09},  {"en_IN", 0x4009},
        {"zh_CN.GB18030", 0x0804}, {"zh_TW.UTF-8", 0x0404}, {"zh_HK", 0x0C04},       {"zh", 0x0804},
        {"de_DE@euro", 0x0407},  {"de_AT.ISO-8859-15@euro", 0x0C07}, {"de_CH", 0x0807}, {"de_BE", 0x0407},
        {"fr", 0x040C},          {"fr_CA.UTF-8", 0x0C0C},    {"es_ES", 0x0C0A},       {"es_MX", 0x080A},
        {"es_AR", 0x2C0A},       {"es", 0x0C0A},             {"pt_BR", 0x0416},       {"pt_PT", 0x0816},
        {"nb_NO.UTF-8", 0x0414}, {"no_NO", 0x0414},          {"ja_JP.eucJP", 0x0411}, {"ko_KR.UTF-8", 0x0412},
        {"ar_EG", 0x0C01},       {"ar", 0x0401},             {"sr_RS@latin", 0x241A}, {"sr_RS.UTF-8@latin", 0x241A},
        {"sr_RS", 0x281A},       {"EN_us", 0x0409},          {"en-GB", 0x0809},       {"C", 0x0409},
        {"POSIX", 0x0409},       {"C.UTF-8", 0x0409},        {"", 0x0409},            {"xx_YY", 0x0409},
        {"tlh", 0x0409},
    };
    for (const auto& [name, id] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(LanguageIdText(LanguageIdFromLocaleName(name)), LanguageIdText(id));
    }
}

TEST(LocaleFormatTest, UiLanguageTakesLcAllThenLcMessagesThenLang) {
    using TValue = std::optional<std::string>;
    const struct {
        TValue All, Messages, Lang;
        uint16_t Expected;
    } cases[] = {
        {"de_DE.UTF-8", "fr_FR.UTF-8", "ja_JP.UTF-8", 0x0407},
        {"", "fr_FR.UTF-8", "ja_JP.UTF-8", 0x040C},
        {std::nullopt, std::nullopt, "zh_TW.UTF-8", 0x0404},
        {std::nullopt, "C", "de_DE.UTF-8", 0x0409},
        {std::nullopt, std::nullopt, std::nullopt, 0x0409},
    };
    for (const auto& c : cases) {
        TEnvGuard all("LC_ALL", c.All), messages("LC_MESSAGES", c.Messages), lang("LANG", c.Lang);
        EXPECT_EQ(LanguageIdText(UserDefaultUILanguage()), LanguageIdText(c.Expected));
    }
}

TEST(LocaleFormatTest, LanguageIdTextIsFourUpperCaseHexDigits) {
    const std::pair<uint16_t, const char*> cases[] = {
        {0x0409, "0409"}, {0x0C09, "0C09"}, {0x040C, "040C"}, {0x0000, "0000"}, {0xFFFF, "FFFF"}};
    for (const auto& [id, text] : cases) EXPECT_EQ(LanguageIdText(id), text);
}

}  // namespace
