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

// The caption, a colon and a blank: what every repeating kind starts with.
std::string Lead(uint8_t period) { return PeriodCaption(period) + ": "; }

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

std::string ScheduleTextOf(const TRmRecordStruct& record) {
    std::string text;
    switch (record.Period) {
    case PeriodOnce:
        text = DateTimeToStr(record.WakeDate() + record.WakeTime);
        break;
    case PeriodDaily:
        text = Lead(record.Period) + TimeToStr(record.WakeTime);
        break;
    case PeriodWeekly:
        text = Lead(record.Period);
        for (int i = FirstWeekday; i <= LastWeekday; ++i)
            if (FlagSet(record, i - 1)) text += DayName(i) + " ,";
        break;
    case PeriodMonthly:
        text = Lead(record.Period);
        for (int i = 1; i <= LastMonthDay; ++i)
            if (FlagSet(record, i - 1)) text += std::to_string(i) + " ,";
        break;
    case PeriodYearly:
        text = Lead(record.Period) + DateTimeToStr(record.WakeDate() + record.WakeTime);
        break;
    default:
        break;
    }
    // Each chosen day is followed by " ,"; the last comma goes, its blank stays.
    if (text.size() > 1 && text.back() == ',') text.pop_back();
    return text;
}
