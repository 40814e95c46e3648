// A reminder's repeat rule turned into moments: the next moment it falls
// due, the moment the start-up pass compares with its last alert, and the
// time left as words. Everything is local time; "now" comes from Now().
#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/datetime.h"
#include "schedule/moment.h"
#include "store/rm_record.h"

// The moment the due check aims at; 0 or -1 (moments long past) when a
// weekly or monthly rule finds no day, 0 for a reminder without a schedule
// or whose time of day could not be read.
TDateTime NextOccurrence(const TRmRecordStruct& record);
// The latest scheduled moment the start-up pass compares with LastTime;
// none for a reminder without a schedule or whose time of day could not be
// read.
std::optional<TDateTime> StartupOccurrence(const TRmRecordStruct& record);
// The span between the two moments in words ("1 Day  1 Hour  30 Minutes  ");
// empty under one minute.
std::string RemainingText(TDateTime now, TDateTime target);

// The same at a given moment: the due check reads the clock once per tick so
// that every reminder of the tick is judged at the same instant.
TDateTime NextOccurrence(const TRmRecordStruct& record, TDateTime now);
std::optional<TDateTime> StartupOccurrence(const TRmRecordStruct& record, TDateTime now);

// The next occurrence at `now` and the span of now over which it is the
// same answer, so the due check can keep it between ticks. It depends on
// the record only through Period, WakeTime and RepeatData.
struct TOccurrenceSpan {
    TDateTime Value;
    TMsSpan Span;
};
TOccurrenceSpan NextOccurrenceSpan(const TRmRecordStruct& record, TDateTime now);

// The unit words of the time-left text, years to minutes, as the active
// language names them. Looked up once per tick by the due check rather than
// ten times per reminder.
struct TTimeUnitWords {
    std::array<std::string, 5> Singular;
    std::array<std::string, 5> Plural;
};
TTimeUnitWords CurrentTimeUnitWords();
std::string RemainingText(TDateTime now, TDateTime target, const TTimeUnitWords& words);
// The same written over `text`, whose storage is reused.
void RemainingTextInto(std::string& text, TDateTime now, TDateTime target, const TTimeUnitWords& words);
// The same, answering the span of now over which the text stays as written
// (the text drops seconds, so mostly the rest of its minute; empty when it
// cannot tell).
TMsSpan RemainingTextSpanInto(std::string& text, TDateTime now, TDateTime target, const TTimeUnitWords& words);
