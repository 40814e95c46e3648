// One reminder as the program holds it in memory. The stored fields are
// written to the data file by TRemindFile; NextAlert, RemainText and
// ScheduleText live only while the program runs, except that a pending
// postponement (Postponement) is stored and becomes NextAlert again at load.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "platform/datetime.h"
#include "schedule/due_cache.h"

// Repeat kinds; any other value means the reminder has no schedule (255 is
// what a reminder without a stored kind reads as).
constexpr uint8_t PeriodOnce = 0;
constexpr uint8_t PeriodDaily = 1;
constexpr uint8_t PeriodWeekly = 2;
constexpr uint8_t PeriodMonthly = 3;
constexpr uint8_t PeriodYearly = 4;
constexpr uint8_t PeriodNone = 255;

constexpr size_t RepeatDataSize = 31;
// Where the due date of once, daily and yearly reminders sits inside
// RepeatData: eight bytes of a little-endian double.
constexpr size_t WakeDateOffset = 7;

// A stored moment whose text could not be read under any format: the text
// stays in the data file as it was, and the moment is not a number, so it
// can be told from a real 0 (which would show as 30 December 1899).
constexpr TDateTime UnreadableMoment = std::numeric_limits<double>::quiet_NaN();
inline bool IsUnreadable(TDateTime value) { return std::isnan(value); }

struct TRmRecordStruct {
    std::string Description;
    TDateTime CreateDateTime = 0;  // identity: the section name is built from it
    TDateTime WakeTime = 0;        // time of day it is due (date part 0)
    TDateTime EndTime = 0;         // moment it was completed; 0 while unfinished
    TDateTime LastTime = 0;        // creation moment, later the last alert plus one minute
    std::string Voice;             // "" mute, "default.mp3", or a sound file path
    TDateTime NextAlert = 0;       // pending alert moment (memory only, but see Postponement)
    // A pending postponement ("remind me again in 10 minutes"): kept in the
    // data file (key NEXTALERT) so that it survives a restart; 0 when none.
    // Whoever postpones sets NextAlert and this together.
    TDateTime Postponement = 0;
    std::string RemainText;        // time left as text (memory only)
    std::string ScheduleText;      // repeat rule as text (memory only)
    uint8_t Period = PeriodOnce;
    // Weekly: bytes 0..6 flag Sunday..Saturday; monthly: bytes 0..30 flag
    // days 1..31; once, daily, yearly: WakeDate at bytes 7..14.
    std::array<uint8_t, RepeatDataSize> RepeatData{};

    TDateTime WakeDate() const;
    void SetWakeDate(TDateTime value);

    // An unreadable end time still says the reminder was completed.
    bool IsCompleted() const { return EndTime != 0; }
    // Some stored moment could not be read (see UnreadableMoment).
    bool IsDamaged() const {
        return IsUnreadable(CreateDateTime) || IsUnreadable(WakeTime) || IsUnreadable(EndTime) ||
               IsUnreadable(LastTime);
    }
    // Examined by the due check and listed as unfinished.
    bool IsActive() const { return EndTime == 0 || NextAlert != 0; }
    // A postponement is pending while the alert moment still holds one:
    // whoever clears NextAlert (marking the reminder finished) has dropped
    // it, even if Postponement was left behind.
    bool HasPostponement() const { return Postponement != 0 && NextAlert != 0 && !IsUnreadable(Postponement); }

    // Kept by the due check between its ticks (memory only; a copy starts empty).
    TDueCacheSlot DueCache;
};

// 62 upper-case hexadecimal digits, byte 0 first, high nibble first.
std::string RepeatDataToHex(const std::array<uint8_t, RepeatDataSize>& data);
// Decodes pairs of hexadecimal digits (either case) until the first pair that
// is not two digits; at most 31 bytes; the rest stays 0.
std::array<uint8_t, RepeatDataSize> RepeatDataFromHex(std::string_view text);
