// A reminder's repeat rule as the user reads it ("Weekly: Mon ,Wed "), and
// the abbreviated weekday names the rule text and the editor's weekday boxes
// use. Texts follow the active language and the user's regional formats.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "store/rm_record.h"

// The repeat rule as text: a once-only reminder is its date and time (the
// date alone at midnight); the other kinds are the period caption, ": " and
// the time, the chosen days or the date. Empty for a reminder without a
// schedule.
std::string ScheduleTextOf(const TRmRecordStruct& record);

// The words rule texts are made of, in the active language: looked up once
// for a whole list rather than for every reminder.
struct TScheduleWords {
    std::array<std::string, 5> Captions;  // PeriodCaption of 0 .. 4
    std::array<std::string, 7> Days;      // DayName of 1 .. 7
};
TScheduleWords CurrentScheduleWords();
std::string ScheduleTextOf(const TRmRecordStruct& record, const TScheduleWords& words);
// The same, replacing `text` and reusing its storage.
void ScheduleTextInto(std::string& text, const TRmRecordStruct& record, const TScheduleWords& words);

// The caption of a period code as the editor's period box shows it
// ("Once" .. "Yearly" in English); empty for a code without a schedule.
std::string PeriodCaption(uint8_t period);

// The abbreviated name of a weekday, 1 = Sunday .. 7 = Saturday (empty for
// any other index). When `list` is given, the seven names Sunday..Saturday
// are appended to it.
std::string DayName(int index, std::vector<std::string>* list = nullptr);
