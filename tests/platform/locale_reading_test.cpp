// Reading date-times written under other regional formats: every locale
// shape against every other, designators in each place the program puts
// them, the order of an ambiguous day and month, refusals, and texts the
// readers took before still reading to the same value.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/locale_format.h"
#include "platform/locale_picture.h"
#include "platform/locale_samples.h"
#include "platform/locale_text_mutations.h"

namespace {

using locale_samples::Pictures;
using locale_samples::Stamp;
using locale_samples::Untouched;

using locale_samples::TNamedSettings;

const TFormatSettings Iso;
const TFormatSettings Us = Pictures("M/d/yyyy", "h:mm:ss tt");
const TFormatSettings German = Pictures("dd.MM.yyyy", "HH:mm:ss", "", "");

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return EncodeDateTime(y, mo, d, h, mi, s); }


// The samples and the locales installed here.
std::vector<TNamedSettings> AllSettings() {
    std::vector<TNamedSettings> all = locale_samples::SampleSettings();
    for (const char* name : {"en_US.UTF-8", "de_DE.UTF-8", "zh_CN.UTF-8", "en_GB.UTF-8", "C"})
        all.push_back({std::string("installed ") + name, FormatSettingsFromLocale(name)});
    return all;
}

bool UsesDesignator(const TFormatSettings& s) {
    return locale_detail::HasKind(locale_detail::Tokenize(s.LongTimeFormat), locale_detail::TTokenKind::Designator);
}

// Whether a reader can know the writer's designators: its own, or those of
// the shipped languages and their neighbours.
bool KnownDesignators(const TFormatSettings& writer, const TFormatSettings& reader) {
    static const char* const known[] = {"AM", "PM", "a.m.", "p.m.", "a. m.", "p. m.", "上午", "下午", "午前", "午後", "오전", "오후"};
    auto isKnown = [&](const std::string& d) {
        for (const char* k : known)
            if (locale_detail::SameIgnoringAsciiCase(d, k)) return true;
        return locale_detail::SameIgnoringAsciiCase(d, reader.TimeAMString) ||
               locale_detail::SameIgnoringAsciiCase(d, reader.TimePMString);
    };
    return !UsesDesignator(writer) || (isKnown(writer.TimeAMString) && isKnown(writer.TimePMString));
}

// Days past the 12th, so that the day cannot pass for a month; the 12 AM
// and 12 PM edges, midnight (the date alone), single digits, years 1 and 9999.
const TDateTime CrossValues[] = {At(2026, 12, 25, 13, 7, 9), At(2026, 1, 13, 0, 30, 15), At(2026, 3, 28, 12, 0, 0),
                                 At(2026, 12, 25),          At(1, 1, 13, 9, 5, 7),       At(9999, 12, 31, 23, 59, 59),
                                 At(2026, 7, 19, 11, 59, 59), At(2028, 2, 29, 12, 59, 1)};

// Date-times and times of day alike.
TEST(LocaleReadingTest, WrittenUnderAnyLocaleReadsUnderAnyOther) {
    const std::vector<TNamedSettings> all = AllSettings();
    for (const TNamedSettings& writer : all) {
        for (const TNamedSettings& reader : all) {
            bool known = KnownDesignators(writer.Settings, reader.Settings);
            for (TDateTime value : CrossValues) {
                std::string text = DateTimeToStr(value, writer.Settings);
                SCOPED_TRACE(writer.Name + " -> " + reader.Name + ": " + text);
                TDateTime parsed = Untouched;
                bool read = TryStrToDateTime(text, parsed, reader.Settings);
                if (known || value == DateOf(value)) {
                    ASSERT_TRUE(read);
                    EXPECT_EQ(Stamp(parsed), Stamp(value));
                } else {
                    // A designator the reader cannot tell apart is refused, never guessed.
                    EXPECT_FALSE(read);
                    EXPECT_EQ(parsed, Untouched);
                }
                const std::string time = TimeToStr(value, writer.Settings);
                TDateTime parsedTime = Untouched;
                EXPECT_EQ(TryStrToTime(time, parsedTime, reader.Settings), known) << time;
                EXPECT_EQ(Stamp(parsedTime), Stamp(known ? TimeOf(value) : Untouched)) << time;
            }
        }
    }
}

struct TReadCase {
    const char* Text;
    TDateTime Expected;
};

TEST(LocaleReadingTest, ReadsDesignatorsAndMarkersWhereverTheProgramPutsThem) {
    const TReadCase cases[] = {
        {"2026/12/8 下午 1:00:01", At(2026, 12, 8, 13, 0, 1)},
        {"2026年12月25日 午後01時07分09秒", At(2026, 12, 25, 13, 7, 9)},
        {"2026. 12. 25. 오전 12시 30분 00초", At(2026, 12, 25, 0, 30, 0)},
        {"12/25/2026 1:00:01 p.m.", At(2026, 12, 25, 13, 0, 1)},
        {"25/12/2026 1:00:01 P. M.", At(2026, 12, 25, 13, 0, 1)},
        {"25.12.2026 12:00:01 AM", At(2026, 12, 25, 0, 0, 1)},
        {"25.12.2026 12:30:00 pm", At(2026, 12, 25, 12, 30, 0)},
        {"25.12.2026 00:30:00 AM", At(2026, 12, 25, 0, 30, 0)},
        {"25.12.2026 21:00:00 PM", At(2026, 12, 25, 21, 0, 0)},
        {"25.12.2026 9:00:00PM", At(2026, 12, 25, 21, 0, 0)},
        {"2026-12-25 10h05:00", At(2026, 12, 25, 10, 5, 0)},
        {"25.12.2026. 10:05:00", At(2026, 12, 25, 10, 5, 0)},
        {"25/12-2026 10:05:00", At(2026, 12, 25, 10, 5, 0)},
        {"25-12-2026 10.05.00", At(2026, 12, 25, 10, 5, 0)},
        {"2026년 12월 25일 10시 05분 00초", At(2026, 12, 25, 10, 5, 0)},
        {"པསྱི་ལོ2026ཟལ12ཚེས25 ཆུ་ཚོད10ཀསར་མ05ཀསར་ཆ00", At(2026, 12, 25, 10, 5, 0)},
        {"  2026-12-25 \t 10:05:00  ", At(2026, 12, 25, 10, 5, 0)},
    };
    for (const TReadCase& c : cases) {
        SCOPED_TRACE(c.Text);
        TDateTime parsed = Untouched;
        ASSERT_TRUE(TryStrToDateTime(c.Text, parsed, German));
        EXPECT_EQ(Stamp(parsed), Stamp(c.Expected));
    }
    TDateTime parsed = Untouched;
    ASSERT_TRUE(TryStrToTime("오후 1시 07분 09초", parsed, German));
    EXPECT_EQ(Stamp(parsed), Stamp(EncodeTime(13, 7, 9)));
}

TEST(LocaleReadingTest, YearLastDateValidBothWaysFollowsTheFallbacksThenTheReadersOrder) {
    const struct {
        const char* Text;
        const TFormatSettings* Reader;
        TDateTime Expected;
    } cases[] = {
        // No fallback picture reads dashes: the reader's own order decides.
        {"03-04-2026", &Us, At(2026, 3, 4)},
        {"03-04-2026", &German, At(2026, 4, 3)},
        {"03-04-2026 10:00:00", &Iso, At(2026, 3, 4, 10)},
        // Dotted dates were always read day first, slashed ones with a
        // 12-hour clock month first and with a 24-hour clock day first.
        {"03.04.2026 13:00:00", &Us, At(2026, 4, 3, 13)},
        {"3/4/2026 1:00:00 PM", &German, At(2026, 3, 4, 13)},
        {"3/4/2026 13:00:00", &Us, At(2026, 4, 3, 13)},
        {"3/4/2026", &German, At(2026, 4, 3)},
        // Only one order gives a date: that one, whatever the reader's order.
        {"13-04-2026", &Us, At(2026, 4, 13)},
        {"04-13-2026", &German, At(2026, 4, 13)},
        {"04-04-2026", &Us, At(2026, 4, 4)},
        // Year first is year, month, day.
        {"2026.03.04", &German, At(2026, 3, 4)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Text) + " under " + c.Reader->ShortDateFormat);
        TDateTime parsed = Untouched;
        ASSERT_TRUE(TryStrToDateTime(c.Text, parsed, *c.Reader));
        EXPECT_EQ(Stamp(parsed), Stamp(c.Expected));
    }
}

TEST(LocaleReadingTest, RefusesWhatNoLocaleWritesAndLeavesTheValue) {
    const char* const dateTimes[] = {
        "2026-12-08T09:05:00",        "25.12.2026 13:00:00 AM",     "25.12.2026 0:30:00 PM",
        "25/12/2026 1:00:00 PM 1",    "2026-12-25 09:05",           "12/25/26 1:00:00",
        "2026-25-12",                 "1:00:00 PM 25/12/2026",      "PM 25/12/2026 1:00:00",
        "25/12/2026 1:00 PM:00",      "25/12/2026 1:00:00 AM PM",   "2026-12-25 09:05:00 next",
        "on 2026-12-25",              "12026-12-25",                "2026-12-25 009:05:00",
        "25/12/2026下午 1:00:00",     "2026-12-25 09:05:00 μμ",     "2026-12-25 μμ 09:05:00",
        "25/12/2026 1:00:00፡ምሴት",     "31/31/2026",                 "2026-02-30 10:00:00",
        "2026-12-25 24:00:00",        "2026-12-25 10:60:00",        "2026-12-25 13:00:00 下午 PM",
        "2026-12-25 10:05:00 hh",     "0000-01-01",                 "",
    };
    const TFormatSettings* readers[] = {&Iso, &Us, &German};
    for (const TFormatSettings* reader : readers) {
        for (const char* text : dateTimes) {
            SCOPED_TRACE(std::string(text) + " under " + reader->ShortDateFormat);
            TDateTime parsed = Untouched;
            EXPECT_FALSE(TryStrToDateTime(text, parsed, *reader));
            EXPECT_EQ(parsed, Untouched);
        }
        for (const char* text : {"13:00:00 AM", "1:00 PM:00", "下午 1:00:00 PM", "10:05", "10:05:00:01", "25:00:00",
                                 "at 10:05:00", "10:05:00 μμ"}) {
            SCOPED_TRACE(std::string(text) + " as a time under " + reader->LongTimeFormat);
            TDateTime parsed = Untouched;
            EXPECT_FALSE(TryStrToTime(text, parsed, *reader));
            EXPECT_EQ(parsed, Untouched);
        }
    }
}

// The readers as they were before reading by shape: the formats in force,
// then a fixed list of pictures.
bool ReadAsBefore(const std::string& text, TDateTime& value, const TFormatSettings& s) {
    std::vector<std::pair<std::string, std::string>> pairs = {{s.ShortDateFormat, s.LongTimeFormat},
                                                              {"yyyy-MM-dd", "HH:mm:ss"},
                                                              {"yyyy/M/d", "H:mm:ss"},
                                                              {"d.M.yyyy", "H:mm:ss"}};
    std::pair<std::string, std::string> monthFirst{"M/d/yyyy", "h:mm:ss tt"}, dayFirst{"d/M/yyyy", "H:mm:ss"};
    if (locale_detail::DayBeforeMonth(s.ShortDateFormat)) std::swap(monthFirst, dayFirst);
    pairs.push_back(monthFirst);
    pairs.push_back(dayFirst);
    for (const auto& [date, time] : pairs)
        if (TryParseDateTimeText(text, date + " " + time, value, s) || TryParseDateTimeText(text, date, value, s))
            return true;
    return false;
}

bool ReadTimeAsBefore(const std::string& text, TDateTime& value, const TFormatSettings& s) {
    return TryParseDateTimeText(text, s.LongTimeFormat, value, s) || TryParseDateTimeText(text, "H:mm:ss", value, s) ||
           TryParseDateTimeText(text, "h:mm:ss tt", value, s);
}

TEST(LocaleReadingTest, TextThatReadBeforeReadsToTheSameValue) {
    const std::vector<TNamedSettings> all = AllSettings();
    std::mt19937 random(20261209);
    const TDateTime moments[] = {At(2026, 3, 4, 13, 7, 9), At(2026, 12, 8, 0, 30, 0), At(2026, 11, 5),
                                 At(2026, 1, 2, 12, 0, 1), At(2026, 12, 25, 9, 5, 7)};
    int readBefore = 0;
    for (const TNamedSettings& writer : all) {
        for (TDateTime moment : moments) {
            std::string written = DateTimeToStr(moment, writer.Settings);
            for (const std::string& text : locale_mutations::Mutations(written, random, 12)) {
                for (const TNamedSettings& reader : all) {
                    TDateTime before = Untouched, now = Untouched;
                    if (ReadAsBefore(text, before, reader.Settings)) {
                        ++readBefore;
                        SCOPED_TRACE(writer.Name + " -> " + reader.Name + ": '" + text + "'");
                        ASSERT_TRUE(TryStrToDateTime(text, now, reader.Settings));
                        EXPECT_EQ(Stamp(now), Stamp(before));
                    }
                    before = now = Untouched;
                    if (ReadTimeAsBefore(text, before, reader.Settings)) {
                        SCOPED_TRACE(writer.Name + " -> " + reader.Name + " as a time: '" + text + "'");
                        ASSERT_TRUE(TryStrToTime(text, now, reader.Settings));
                        EXPECT_EQ(Stamp(now), Stamp(before));
                    }
                }
            }
        }
    }
    // The mutations must leave enough readable text for the check to mean something.
    EXPECT_GT(readBefore, 1000);
}

}  // namespace
