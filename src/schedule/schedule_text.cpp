// Rule texts for the main list, the alert window and the command line.
#include "schedule/schedule_text.h"

#include "i18n/lang_text.h"
#include "platform/locale_format.h"

namespace {

constexpr int FirstWeekday = 1;
constexpr int LastWeekday = 7;
constexpr int LastMonthDay = 31;

bool FlagSet(const TRmRecordStruct& record, int index) {
    return record.RepeatData[static_cast<size_t>(index)] == 1;
}


}  // namespace

std::string PeriodCaption(uint8_t period) {
    // Built-in English stands in when a language file lacks the entry, so a
    // rule never shows a bare colon.
    static const char* const English[] = {"Once", "Daily", "Weekly", "Monthly", "Yearly"};
    if (period > PeriodYearly) return {};
    // The period box numbers its entries from 1; codes start at 0.
    return LangText("Translation", "TfrmORMMain.cbPeriod.Item" + std::to_string(period + 1), English[period]);
}

std::string DayName(int index, std::vector<std::string>* list) {
    const auto& names = FormatSettings().ShortDayNames;
    if (list) list->insert(list->end(), names.begin(), names.end());
    if (index < FirstWeekday || index > LastWeekday) return {};
    return names[static_cast<size_t>(index - 1)];
}

TScheduleWords CurrentScheduleWords() {
    TScheduleWords words;
    for (uint8_t p = PeriodOnce; p <= PeriodYearly; ++p) words.Captions[p] = PeriodCaption(p);
    for (int i = FirstWeekday; i <= LastWeekday; ++i) words.Days[static_cast<size_t>(i - 1)] = DayName(i);
    return words;
}

std::string ScheduleTextOf(const TRmRecordStruct& record) { return ScheduleTextOf(record, CurrentScheduleWords()); }

std::string ScheduleTextOf(const TRmRecordStruct& record, const TScheduleWords& words) {
    std::string text;
    ScheduleTextInto(text, record, words);
    return text;
}

void ScheduleTextInto(std::string& text, const TRmRecordStruct& record, const TScheduleWords& words) {
    text.clear();
    // The caption, a colon and a blank: what every repeating kind starts with.
    auto lead = [&] { text.append(words.Captions[record.Period]).append(": "); };
    switch (record.Period) {
    case PeriodOnce:
        AppendDateTimeText(text, record.WakeDate() + record.WakeTime);
        break;
    case PeriodDaily:
        lead();
        AppendTimeText(text, record.WakeTime);
        break;
    case PeriodWeekly:
        lead();
        for (int i = FirstWeekday; i <= LastWeekday; ++i)
            if (FlagSet(record, i - 1)) text.append(words.Days[static_cast<size_t>(i - 1)]).append(" ,");
        break;
    case PeriodMonthly: {
        lead();
        // The day numbers and their " ," written into one buffer.
        char days[LastMonthDay * 4];
        char* p = days;
        for (int i = 1; i <= LastMonthDay; ++i) {
            if (!FlagSet(record, i - 1)) continue;
            if (i >= 10) *p++ = static_cast<char>('0' + i / 10);
            *p++ = static_cast<char>('0' + i % 10);
            *p++ = ' ';
            *p++ = ',';
        }
        text.append(days, static_cast<size_t>(p - days));
        break;
    }
    case PeriodYearly:
        lead();
        AppendDateTimeText(text, record.WakeDate() + record.WakeTime);
        break;
    default:
        break;
    }
    // Each chosen day is followed by " ,"; the last comma goes, its blank stays.
    if (text.size() > 1 && text.back() == ',') text.pop_back();
}
