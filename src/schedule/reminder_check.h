// The checks a reminder must pass before it is saved: a description, a
// once-only moment that has not passed, and at least one day for the weekly
// and monthly kinds. Shared by the editor's save and the command line, so
// both refuse the same input with the same message.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/datetime.h"

// What the user entered, before it becomes a record.
struct TReminderInput {
    std::string Description;
    uint8_t Period = 0;
    TDateTime Date = 0;  // its whole-day part counts (the date box)
    TDateTime Time = 0;  // its time-of-day part counts (the time box)
    std::array<bool, 7> WeekDays{};    // Sunday .. Saturday
    std::array<bool, 31> MonthDays{};  // day 1 .. day 31
};

// The reasons for refusing a save, named after their message keys in the
// "Messages" section of the language files.
enum class TReminderRefusal { None, RemindNameNULL, TimeOver, NoneSelected };

// The first check the input fails, in the editor's order, or None. A
// once-only moment equal to `now` passes; no other kind meets the clock.
TReminderRefusal CheckReminderInput(const TReminderInput& input, TDateTime now);
// The same against the clock.
TReminderRefusal CheckReminderInput(const TReminderInput& input);

// The message key of a refusal; empty for None.
std::string RefusalKey(TReminderRefusal refusal);
// The message shown for a refusal, in the active language; empty for None.
std::string RefusalText(TReminderRefusal refusal);
