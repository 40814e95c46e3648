// The save checks of a reminder and their messages.
#include "schedule/reminder_check.h"

#include <algorithm>

#include "i18n/lang_text.h"
#include "schedule/moment.h"
#include "store/rm_record.h"

namespace {

bool AnySet(const auto& flags) {
    return std::any_of(flags.begin(), flags.end(), [](bool set) { return set; });
}

}  // namespace

TReminderRefusal CheckReminderInput(const TReminderInput& input, TDateTime now) {
    if (input.Description.empty()) return TReminderRefusal::RemindNameNULL;
    if (input.Period == PeriodOnce) {
        const TDateTime moment = DateOf(input.Date) + TimeOf(input.Time);
        // Compared as whole milliseconds: the same moment reached two ways
        // may differ in the last bits of a double.
        if (IsLaterThan(now, moment)) return TReminderRefusal::TimeOver;
    }
    if ((input.Period == PeriodWeekly && !AnySet(input.WeekDays)) ||
        (input.Period == PeriodMonthly && !AnySet(input.MonthDays)))
        return TReminderRefusal::NoneSelected;
    return TReminderRefusal::None;
}

TReminderRefusal CheckReminderInput(const TReminderInput& input) { return CheckReminderInput(input, Now()); }

std::string RefusalKey(TReminderRefusal refusal) {
    switch (refusal) {
    case TReminderRefusal::RemindNameNULL: return "RemindNameNULL";
    case TReminderRefusal::TimeOver: return "TimeOver";
    case TReminderRefusal::NoneSelected: return "NoneSelected";
    case TReminderRefusal::None: break;
    }
    return {};
}

std::string RefusalText(TReminderRefusal refusal) {
    switch (refusal) {
    case TReminderRefusal::RemindNameNULL: return LangText("Messages", "RemindNameNULL", "");
    case TReminderRefusal::TimeOver: return LangText("Messages", "TimeOver", "");
    case TReminderRefusal::NoneSelected: return LangText("Messages", "NoneSelected", "请至少选择一项");
    case TReminderRefusal::None: break;
    }
    return {};
}
