// The time left before a moment, as words. The due check renews every
// reminder's text on every tick, so the text can also tell for how long it
// stays as written.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "i18n/lang_text.h"
#include "platform/ascii_word.h"
#include "schedule/moment.h"
#include "schedule/recurrence.h"

namespace {

constexpr int64_t MsPerDay = 86400000;
constexpr int64_t MsPerHour = 3600000;
constexpr int64_t MsPerMinute = 60000;

const char* const UnitKeys[5] = {"constY", "constM", "constD", "constHH", "constMM"};

struct TSpanParts {
    std::array<int64_t, 5> Counts{};  // years, months, days, hours, minutes
    int64_t RestMs = 0;               // target minus the cursor after years and months
};

// Years, months, days, hours and minutes between the moments, split
// greedily: calendar years and months first (counted with the average year
// and month), then days and hours, each step moving a cursor toward the
// target; seconds are dropped.
TSpanParts SplitSpan(TDateTime now, TDateTime target) {
    TSpanParts parts;
    const int64_t targetMs = MomentMs(target);
    TDateTime cursor = now;
    const double daysPerUnit[2] = {365.25, 30.4375};
    // Well under an average month (most spans the list shows) counts
    // neither years nor months: the steps below would find 0 for both.
    constexpr int64_t SurelyUnderAMonthMs = int64_t{30} * MsPerDay;
    const int64_t firstSpanMs = targetMs - MomentMs(now);
    for (int unit = std::llabs(firstSpanMs) < SurelyUnderAMonthMs ? 2 : 0; unit < 2; ++unit) {
        const int64_t spanMs = targetMs - MomentMs(cursor);
        const double days = static_cast<double>(std::llabs(spanMs)) / MSecsPerDay;
        const int64_t count = static_cast<int64_t>(days / daysPerUnit[unit]);
        parts.Counts[static_cast<size_t>(unit)] = count;
        if (count == 0) continue;
        const int months = static_cast<int>(unit == 0 ? count * 12 : count);
        cursor = IncMonth(cursor, spanMs < 0 ? -months : months);
    }
    parts.RestMs = targetMs - MomentMs(cursor);
    int64_t restMs = std::llabs(parts.RestMs);
    parts.Counts[2] = restMs / MsPerDay;
    restMs %= MsPerDay;
    parts.Counts[3] = restMs / MsPerHour;
    restMs %= MsPerHour;
    parts.Counts[4] = restMs / MsPerMinute;
    return parts;
}

// Replaces text with the words, reusing its storage. The pieces are put
// together in a buffer and handed over in one go; words too long for it
// take the way of appending piece by piece.
template <typename TWordOf>
void WriteCounts(std::string& text, const std::array<int64_t, 5>& counts, TWordOf wordOf) {
    char buffer[256];
    char* p = buffer;
    for (size_t unit = 0; unit < counts.size(); ++unit) {
        if (counts[unit] == 0) continue;
        const std::string& word = wordOf(unit, counts[unit] == 1);
        if (word.size() > sizeof buffer - 32 - static_cast<size_t>(p - buffer)) {
            p = nullptr;
            break;
        }
        // Nearly every count has one or two digits.
        const int64_t count = counts[unit];
        if (count >= 0 && count < 10)
            *p++ = static_cast<char>('0' + count);
        else if (count >= 10 && count < 100)
            p = PutTwoDigits(p, static_cast<unsigned>(count));
        else
            p = std::to_chars(p, p + 24, count).ptr;
        *p++ = ' ';
        std::memcpy(p, word.data(), word.size());
        p += word.size();
        *p++ = ' ';
        *p++ = ' ';
    }
    if (p) {
        text.assign(buffer, static_cast<size_t>(p - buffer));
        return;
    }
    text.clear();
    for (size_t unit = 0; unit < counts.size(); ++unit) {
        if (counts[unit] == 0) continue;
        char number[24];
        const auto written = std::to_chars(number, number + sizeof number, counts[unit]);
        text.append(number, written.ptr);
        text += ' ';
        text += wordOf(unit, counts[unit] == 1);
        text += "  ";
    }
}

template <typename TWordOf>
void SpanText(std::string& text, TDateTime now, TDateTime target, TWordOf wordOf) {
    text.clear();
    if (!std::isfinite(now) || !std::isfinite(target)) return;
    WriteCounts(text, SplitSpan(now, target).Counts, wordOf);
}

TDateTime MomentOfMs(int64_t ms) {
    return static_cast<double>(ms) / MSecsPerDay;
}

// Within one day of now, and while the years and months counted stay the
// same, the cursor moves with now millisecond for millisecond (IncMonth keeps
// the time of day), so the rest shrinks or grows linearly. The span is where
// the rest keeps its minute, cut to the day; the counts at both of its ends
// are compared with those at now, and since each count is monotonic in its
// part of the span and the span is shorter than two minutes, equal ends mean
// equal counts throughout. Anything else is answered for this millisecond only.
TMsSpan SpanOfCounts(int64_t nowMs, TDateTime target, const TSpanParts& parts) {
    const int64_t rest = parts.RestMs;
    const int64_t below = (std::llabs(rest) / MsPerMinute) * MsPerMinute;  // the minute's start
    TMsSpan span = rest >= 0 ? TMsSpan{nowMs + rest - below - (MsPerMinute - 1), nowMs + rest - below}
                             : TMsSpan{nowMs + rest + below, nowMs + rest + below + (MsPerMinute - 1)};
    int64_t dayStart = nowMs / MsPerDay * MsPerDay;
    if (dayStart > nowMs) dayStart -= MsPerDay;
    span.From = std::max(span.From, dayStart);
    span.To = std::min(span.To, dayStart + MsPerDay - 1);
    for (const int64_t end : {span.From, span.To})
        if (SplitSpan(MomentOfMs(end), target).Counts != parts.Counts) return {nowMs, nowMs};
    return span;
}

}  // namespace

TTimeUnitWords CurrentTimeUnitWords() {
    TTimeUnitWords words;
    for (size_t unit = 0; unit < 5; ++unit) {
        words.Singular[unit] = LangText("Translation", UnitKeys[unit], "");
        words.Plural[unit] = LangText("Translation", std::string(UnitKeys[unit]) + "s", "");
    }
    return words;
}

void RemainingTextInto(std::string& text, TDateTime now, TDateTime target, const TTimeUnitWords& words) {
    SpanText(text, now, target, [&](size_t unit, bool one) -> const std::string& {
        return one ? words.Singular[unit] : words.Plural[unit];
    });
}

TMsSpan RemainingTextSpanInto(std::string& text, TDateTime now, TDateTime target, const TTimeUnitWords& words) {
    // Beyond the calendar, and within a millisecond of its day 0, a moment
    // decodes to a different millisecond from the one it compares as; such
    // a text is not kept.
    constexpr double FirstDay = -693594.0;
    constexpr double LastDay = 2958466.0;
    if (!std::isfinite(now) || now < FirstDay || now > LastDay || std::fabs(now) < 2.0) {
        RemainingTextInto(text, now, target, words);
        return {1, 0};
    }
    const int64_t nowMs = MomentMs(now);
    if (!std::isfinite(target)) {
        text.clear();
        return {INT64_MIN, INT64_MAX};
    }
    const TSpanParts parts = SplitSpan(now, target);
    WriteCounts(text, parts.Counts, [&](size_t unit, bool one) -> const std::string& {
        return one ? words.Singular[unit] : words.Plural[unit];
    });
    return SpanOfCounts(nowMs, target, parts);
}

std::string RemainingText(TDateTime now, TDateTime target, const TTimeUnitWords& words) {
    std::string text;
    RemainingTextInto(text, now, target, words);
    return text;
}

std::string RemainingText(TDateTime now, TDateTime target) {
    // Only the words the text needs are looked up.
    std::string text;
    SpanText(text, now, target, [](size_t unit, bool one) {
        return LangText("Translation", std::string(UnitKeys[unit]) + (one ? "" : "s"), "");
    });
    return text;
}
