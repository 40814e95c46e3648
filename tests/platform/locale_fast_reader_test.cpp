// The fast path against the general reader: it reads every form the store
// writes, and on any text either gives the general reader's value or
// declines; pictures it cannot read without backtracking go to the
// general reader whole.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/locale_fast_reader.h"
#include "platform/locale_format.h"
#include "platform/locale_reading.h"
#include "platform/locale_samples.h"
#include "platform/locale_text_mutations.h"

namespace {

using locale_samples::Pictures;
using locale_samples::Stamp;
using locale_samples::Untouched;

using locale_detail::TFastResult;
using locale_samples::TNamedSettings;

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return EncodeDateTime(y, mo, d, h, mi, s); }


// The test locales (the settings the other tests use, the installed ones)
// and the sample of locale shapes.
std::vector<TNamedSettings> TestSettings() {
    std::vector<TNamedSettings> all = locale_samples::SampleSettings();
    all.push_back({"iso", TFormatSettings{}});
    all.push_back({"us", Pictures("M/d/yyyy", "h:mm:ss tt")});
    all.push_back({"german", Pictures("dd.MM.yyyy", "HH:mm:ss", "", "")});
    all.push_back({"chinese", Pictures("yyyy/M/d", "H:mm:ss", "上午", "下午")});
    all.push_back({"chinese twelve", Pictures("yyyy/M/d", "tt h:mm:ss", "上午", "下午")});
    all.push_back({"british", Pictures("dd/MM/yyyy", "HH:mm:ss", "am", "pm")});
    for (const char* name : {"en_US.UTF-8", "de_DE.UTF-8", "zh_CN.UTF-8", "en_GB.UTF-8", "C"})
        all.push_back({std::string("installed ") + name, FormatSettingsFromLocale(name)});
    return all;
}

std::vector<TDateTime> Moments() {
    std::vector<TDateTime> out = {At(2026, 12, 8),           At(2026, 12, 8, 12, 0, 0),   At(2026, 12, 8, 0, 0, 1),
                                  At(2026, 12, 8, 0, 59, 59), At(2026, 12, 8, 12, 59, 59), At(2026, 12, 8, 11, 59, 59),
                                  At(2026, 12, 8, 23, 59, 59), At(2026, 1, 2, 3, 4, 5),    At(1, 1, 1, 1, 1, 1),
                                  At(1, 1, 1),               At(9999, 12, 31, 23, 59, 59), At(2028, 2, 29, 13, 7, 9)};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> second(0, 86399), day(-693593, 2958464);
    for (int i = 0; i < 40; ++i) {
        TDateTime raw = day(random) + second(random) * OneSecond;
        TDateParts d = DecodeDate(raw);
        TTimeParts t = DecodeTime(raw);
        out.push_back(EncodeDateTime(d.Year, d.Month, d.Day, t.Hour, t.Minute, t.Second));
    }
    return out;
}

void ExpectFastReads(const std::string& text, TDateTime expected, const TFormatSettings& settings, bool time) {
    SCOPED_TRACE("'" + text + "'");
    TDateTime fast = Untouched, general = Untouched;
    TFastResult result = time ? locale_detail::ReadTimeFast(text, fast, settings)
                              : locale_detail::ReadDateTimeFast(text, fast, settings);
    ASSERT_EQ(result, TFastResult::Read);
    ASSERT_TRUE(time ? locale_detail::TryStrToTimeGeneral(text, general, settings)
                     : locale_detail::TryStrToDateTimeGeneral(text, general, settings));
    // The very same double, not merely the same second.
    EXPECT_EQ(fast, general);
    EXPECT_EQ(fast, expected) << Stamp(fast) << " for " << Stamp(expected);
    // The public reader, which tries the layout in force before trimming.
    TDateTime full = Untouched;
    ASSERT_TRUE(time ? TryStrToTime(text, full, settings) : TryStrToDateTime(text, full, settings));
    EXPECT_EQ(full, general);
}

TEST(LocaleFastReaderTest, ReadsEveryFormTheStoreWritesAsTheGeneralReaderDoes) {
    const std::vector<TDateTime> moments = Moments();
    for (const TNamedSettings& named : TestSettings()) {
        SCOPED_TRACE(named.Name + ": " + named.Settings.ShortDateFormat + " " + named.Settings.LongTimeFormat);
        for (TDateTime value : moments) {
            ExpectFastReads(DateTimeToStr(value, named.Settings), value, named.Settings, false);
            ExpectFastReads(DateToStr(value, named.Settings), DateOf(value), named.Settings, false);
            ExpectFastReads(DateTimeToStr(value, TFormatSettings{}), value, named.Settings, false);
            ExpectFastReads(TimeToStr(value, named.Settings), TimeOf(value), named.Settings, true);
            ExpectFastReads(TimeToStr(value, TFormatSettings{}), TimeOf(value), named.Settings, true);
        }
    }
}

// Compares one text both ways: a fast reading must be the general one, and
// the public reader (fast path first) must answer as the general one alone.
void ExpectSameAnswer(const std::string& text, const TFormatSettings& settings, int& fastReads) {
    SCOPED_TRACE("'" + text + "'");
    for (bool time : {false, true}) {
        TDateTime fast = Untouched, general = Untouched, full = Untouched;
        std::string_view trimmed = text;
        while (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.front() == '\t')) trimmed.remove_prefix(1);
        while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t')) trimmed.remove_suffix(1);
        TFastResult result = time ? locale_detail::ReadTimeFast(trimmed, fast, settings)
                                  : locale_detail::ReadDateTimeFast(trimmed, fast, settings);
        bool generalRead = time ? locale_detail::TryStrToTimeGeneral(text, general, settings)
                                : locale_detail::TryStrToDateTimeGeneral(text, general, settings);
        bool fullRead = time ? TryStrToTime(text, full, settings) : TryStrToDateTime(text, full, settings);
        if (result == TFastResult::Read) {
            ++fastReads;
            EXPECT_TRUE(generalRead);
            EXPECT_EQ(Stamp(fast), Stamp(general));
        } else {
            EXPECT_EQ(fast, Untouched);
        }
        EXPECT_EQ(fullRead, generalRead);
        EXPECT_EQ(Stamp(full), Stamp(general));
    }
}

TEST(LocaleFastReaderTest, NearMissesGetTheGeneralReadersAnswer) {
    std::mt19937 random(4242);
    const std::vector<TNamedSettings> all = TestSettings();
    // Every writer, against a third of the sample shapes and every test locale as readers.
    std::vector<TNamedSettings> readers;
    const size_t sampleCount = std::size(locale_samples::Samples);
    for (size_t i = 0; i < all.size(); ++i)
        if (i % 3 == 0 || i >= sampleCount) readers.push_back(all[i]);
    const TDateTime moments[] = {At(2026, 3, 4, 13, 7, 9), At(2026, 12, 25, 0, 30, 0), At(2026, 11, 5),
                                 At(2026, 1, 2, 12, 0, 1)};
    int fastReads = 0;
    for (const TNamedSettings& writer : all) {
        for (TDateTime moment : moments) {
            std::vector<std::string> texts = {DateTimeToStr(moment, writer.Settings), TimeToStr(moment, writer.Settings)};
            for (const std::string& written : texts) {
                for (const std::string& text : locale_mutations::Mutations(written, random, 6)) {
                    for (const TNamedSettings& reader : readers) {
                        SCOPED_TRACE(writer.Name + " -> " + reader.Name);
                        ExpectSameAnswer(text, reader.Settings, fastReads);
                    }
                }
            }
        }
    }
    EXPECT_GT(fastReads, 1000);
}

// The store's own layouts are read field by field where they stand: every
// field at and past the ends of its range, and stray bytes in digit places.
TEST(LocaleFastReaderTest, StoreLayoutsAtTheirLimitsGetTheGeneralReadersAnswer) {
    const std::vector<std::string> texts = {
        "0000-01-01",          "0001-01-01",          "9999-12-31 23:59:59", "2026-00-10",
        "2026-13-10",          "2026-02-29",          "2028-02-29 00:00:00", "2026-04-31",
        "2026-01-00",          "2026-01-32",          "2026-01-01 24:00:00", "2026-01-01 23:60:00",
        "2026-01-01 23:59:60", "2026-0a-01",          "2026-01-01 2x:00:00", "-026-01-01",
        "24:00:00",            "23:59:59",            "00:00:00",            "12:60:00",
        "1x:00:00",            "2026-01-01T12:00:00", "2026/01/01 12:00:00", "1899-12-30"};
    int fastReads = 0;
    for (const TNamedSettings& named : TestSettings()) {
        SCOPED_TRACE(named.Name);
        for (const std::string& text : texts) ExpectSameAnswer(text, named.Settings, fastReads);
    }
    EXPECT_GT(fastReads, 0);
}

TEST(LocaleFastReaderTest, PicturesThatNeedBacktrackingAreDeclinedWhole) {
    const TFormatSettings plain;
    for (const char* picture : {"yyyyMMdd", "HHmmss", "d'1'M yyyy", "yyyy-M-dHH"}) {
        SCOPED_TRACE(picture);
        EXPECT_FALSE(locale_detail::TFastPicture(picture, plain).Usable());
    }
    const TFormatSettings chinese = Pictures("yyyy", "HH", "上午", "下午");
    for (const char* picture : {"yyyy-MM-dd HH:mm:ss", "yyyy年M月d日", "h:mm:ss tt", "tt h:mm:ss", "HH'h'mm:ss"}) {
        SCOPED_TRACE(picture);
        EXPECT_TRUE(locale_detail::TFastPicture(picture, chinese).Usable());
    }
    // Padded fields and designators of one length put every byte at a fixed
    // place; 上午 and the English AM that every 12-hour reader accepts differ.
    for (const char* picture : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd", "yyyy年MM月dd日 HH时mm分ss秒", "HH:mm:ss"})
        EXPECT_TRUE(locale_detail::TFastPicture(picture, chinese).HasFixedLayout()) << picture;
    EXPECT_TRUE(locale_detail::TFastPicture("MM/dd/yyyy hh:mm:ss tt", plain).HasFixedLayout());
    EXPECT_FALSE(locale_detail::TFastPicture("MM/dd/yyyy hh:mm:ss tt", chinese).HasFixedLayout());
    for (const char* picture : {"M/d/yyyy h:mm:ss tt", "HH:mm", "dd.MM.yyyy H:mm:ss"})
        EXPECT_FALSE(locale_detail::TFastPicture(picture, plain).HasFixedLayout()) << picture;
    // Such pictures still read, through the general reader.
    TDateTime parsed = Untouched;
    ASSERT_TRUE(TryStrToDateTime("20261208 090507", parsed, Pictures("yyyyMMdd", "HHmmss")));
    EXPECT_EQ(Stamp(parsed), Stamp(At(2026, 12, 8, 9, 5, 7)));
}

TEST(LocaleFastReaderTest, DesignatorsThatArePrefixesOfOthersStillRead) {
    // "P" is a prefix of "PM": reading "PM" as "P" and giving up at the "M"
    // would refuse a valid time.
    const TFormatSettings letters = Pictures("yyyy-MM-dd", "h:mm:ss tt", "A", "P");
    EXPECT_FALSE(locale_detail::TFastPicture(letters.LongTimeFormat, letters).Usable());
    const std::pair<const char*, TDateTime> cases[] = {
        {"1:00:00 PM", EncodeTime(13, 0, 0)}, {"1:00:00 P", EncodeTime(13, 0, 0)}, {"1:00:00 am", EncodeTime(1, 0, 0)}};
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        TDateTime parsed = Untouched;
        ASSERT_TRUE(TryStrToTime(text, parsed, letters));
        EXPECT_EQ(Stamp(parsed), Stamp(expected));
    }
    // The same designator for morning and afternoon cannot be read one way.
    const TFormatSettings clash = Pictures("yyyy-MM-dd", "h:mm:ss tt", "pm", "am");
    EXPECT_FALSE(locale_detail::TFastPicture(clash.LongTimeFormat, clash).Usable());
}

TEST(LocaleFastReaderTest, StringViewsIntoLargerTextReadOnlyTheirPart) {
    const std::string file = "CREATEDATETIME=2026-12-08 09:05:00\nLASTTIME=12/8/2026 1:00:00 PM\n";
    std::string_view first = std::string_view(file).substr(15, 19);
    std::string_view second = std::string_view(file).substr(44, 20);
    TDateTime parsed = Untouched;
    ASSERT_TRUE(TryStrToDateTime(first, parsed, TFormatSettings{}));
    EXPECT_EQ(Stamp(parsed), Stamp(At(2026, 12, 8, 9, 5, 0)));
    ASSERT_TRUE(TryStrToDateTime(second, parsed, Pictures("M/d/yyyy", "h:mm:ss tt")));
    EXPECT_EQ(Stamp(parsed), Stamp(At(2026, 12, 8, 13, 0, 0)));
    // A view that ends before the seconds does not read on into the text after it.
    parsed = Untouched;
    EXPECT_FALSE(TryStrToDateTime(first.substr(0, 17), parsed, TFormatSettings{}));
    EXPECT_EQ(parsed, Untouched);
}

}  // namespace
