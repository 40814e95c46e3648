// The compiled writers behind DateTimeToStr, TimeToStr and their buffer
// forms against the general token-by-token formatter, on many moments
// under every sample locale's formats and some made-up ones.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "locale_samples.h"
#include "platform/locale_format.h"
#include "platform/locale_picture.h"

namespace {

using namespace locale_samples;

// Moments across the calendar: whole seconds, odd milliseconds, midnights,
// noons, the edges of the years 1 and 9999, and values no calendar holds.
std::vector<TDateTime> Moments() {
    std::vector<TDateTime> out = {0.0,
                                  -693593.0,
                                  -693594.0,
                                  2958465.0,
                                  2958465.999999,
                                  2958465.9999999999,
                                  2958466.0,
                                  -0.5,
                                  0.5,
                                  1.0 / 86400000.0,
                                  46096.5,
                                  46096.0,
                                  46096.999999994,
                                  46096.9999999999,
                                  std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  1e300,
                                  -1e300};
    uint64_t state = 0x243F6A8885A308D3ull;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 4000; ++i) {
        const double day = static_cast<double>(static_cast<int64_t>(next() % 3652059) - 693593);
        const uint64_t pick = next();
        double fraction;
        switch (pick % 4) {
            case 0: fraction = 0; break;
            case 1: fraction = static_cast<double>(pick / 4 % 86400) / 86400.0; break;
            case 2: fraction = static_cast<double>(pick / 4 % 86400000) / 86400000.0; break;
            default: fraction = static_cast<double>(pick >> 11) / 9007199254740992.0; break;
        }
        out.push_back(day + fraction);
    }
    return out;
}

std::vector<TFormatSettings> AllSettings() {
    std::vector<TFormatSettings> out;
    for (const auto& named : SampleSettings()) out.push_back(named.Settings);
    out.push_back(TFormatSettings{});
    out.push_back(Pictures("d/M/yyyy", "h:mm:ss tt"));
    out.push_back(Pictures("yyyy'年'M'月'd'日'", "tt h'时'mm'分'ss'秒'", "上午", "下午"));
    out.push_back(Pictures("dd.MM.yy", "HH'h'mm ss", "", ""));
    out.push_back(Pictures("", "HH:mm:ss"));
    out.push_back(Pictures("yyyy-MM-dd", ""));
    out.push_back(Pictures("yyyyy MMM ddd", "hhh:mmm:sss ttt t", "a", "p"));
    // Designators longer than the buffer: the general way takes over.
    out.push_back(Pictures("d.M.yyyy", "tt tt tt h:mm:ss", std::string(60, 'A'), std::string(70, 'P')));
    return out;
}

TEST(DateTimeTextFast, MatchesTheGeneralFormatterByteForByte) {
    const std::vector<TDateTime> moments = Moments();
    for (const TFormatSettings& settings : AllSettings()) {
        SCOPED_TRACE(settings.ShortDateFormat + " | " + settings.LongTimeFormat);
        for (const TDateTime value : moments) {
            const std::string general = locale_detail::DateTimeToStrGeneral(value, settings);
            const std::string generalTime = locale_detail::TimeToStrGeneral(value, settings);
            const std::string generalDate = FormatDateTimeText(settings.ShortDateFormat, value, settings);
            ASSERT_EQ(DateTimeToStr(value, settings), general) << Stamp(value);
            ASSERT_EQ(TimeToStr(value, settings), generalTime) << Stamp(value);
            ASSERT_EQ(DateToStr(value, settings), generalDate) << Stamp(value);
            TMomentText buffer;
            ASSERT_EQ(DateTimeToStrIn(buffer, value, settings), general) << Stamp(value);
            ASSERT_EQ(TimeToStrIn(buffer, value, settings), generalTime) << Stamp(value);
            std::string appended = "x";
            AppendDateTimeText(appended, value, settings);
            AppendTimeText(appended, value, settings);
            ASSERT_EQ(appended, "x" + general + generalTime) << Stamp(value);
        }
    }
}

TEST(DateTimeTextFast, FollowsTheFormatsInForceWhenTheyChange) {
    const TDateTime value = 46096.5 + 61.0 / 86400.0;
    SetFormatSettings(Pictures("d.M.yyyy", "H:mm:ss"));
    EXPECT_EQ(DateTimeToStr(value), "15.3.2026 12:01:01");
    SetFormatSettings(Pictures("M/d/yyyy", "h:mm:ss tt", "am", "pm"));
    EXPECT_EQ(DateTimeToStr(value), "3/15/2026 12:01:01 pm");
    ResetFormatSettings();
    EXPECT_EQ(DateTimeToStr(value), locale_detail::DateTimeToStrGeneral(value, FormatSettings()));
}

}  // namespace

namespace {

// DecodeDateTime as it was written before it worked in whole integers:
// std::round and std::floor over doubles. The two must agree everywhere.
void DecodeDateTimeOverDoubles(TDateTime value, TDateParts& date, TTimeParts& time) {
    if (!std::isfinite(value) || value < -693594.0 || value > 2958466.0) {
        date = TDateParts{};
        time = TTimeParts{};
        return;
    }
    double totalMs = std::round(value * MSecsPerDay);
    double days = std::floor(totalMs / MSecsPerDay);
    int64_t msOfDay = static_cast<int64_t>(totalMs - days * MSecsPerDay);
    date = DecodeDate(days);  // a whole day decodes without rounding
    time.MSec = static_cast<int>(msOfDay % 1000);
    int64_t secs = msOfDay / 1000;
    time.Second = static_cast<int>(secs % 60);
    time.Minute = static_cast<int>((secs / 60) % 60);
    time.Hour = static_cast<int>(secs / 3600);
}

TEST(DecodeDateTimeIntegers, AgreesWithRoundingOverDoubles) {
    std::vector<TDateTime> values = Moments();
    // Values a hair either side of half a millisecond, of midnight and of
    // the calendar's ends.
    for (double day : {-693594.0, -693593.0, -1.0, 0.0, 1.0, 46096.0, 2958465.0, 2958466.0})
        for (double ms : {0.0, 0.5, 1.5, 999.5, 86399999.5, 86399999.4999999, 43200000.5, -0.5, -1.5}) {
            const double v = day + ms / MSecsPerDay;
            for (double x = std::nextafter(v, -1e9), k = 0; k < 5; ++k, x = std::nextafter(x, 1e9)) values.push_back(x);
        }
    for (const TDateTime value : values) {
        TDateParts d1, d2;
        TTimeParts t1, t2;
        DecodeDateTime(value, d1, t1);
        DecodeDateTimeOverDoubles(value, d2, t2);
        ASSERT_TRUE(d1.Year == d2.Year && d1.Month == d2.Month && d1.Day == d2.Day && t1.Hour == t2.Hour &&
                    t1.Minute == t2.Minute && t1.Second == t2.Second && t1.MSec == t2.MSec)
            << value;
    }
}

}  // namespace
