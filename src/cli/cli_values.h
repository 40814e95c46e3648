// The values olvoctl reads from its command line: ISO dates, times and
// moments, the days of a weekly or monthly reminder, and the voice prompt.
// Each raises a usage error that names what it expected.
#pragma once

#include <array>
#include <string>

#include "platform/datetime.h"

// "2026-12-24": four-digit year, month and day of one or two digits, a real
// calendar date. The result is midnight of that day.
TDateTime ParseIsoDate(const std::string& text);
// "09:30" or "09:30:15", 24-hour. The result is a time of day (date part 0).
TDateTime ParseIsoTime(const std::string& text);
// "2026-12-24 09:30:15" (seconds may be left out).
TDateTime ParseIsoMoment(const std::string& text);

// Weekdays as a comma-separated list of names (sun..sat or sunday..saturday,
// any case, as well as the regional abbreviations) or numbers 1 = Monday ..
// 7 = Sunday, and ranges of either ("mon-fri", "1-5"). Answers flags
// Sunday..Saturday. A blank text chooses no day.
std::array<bool, 7> ParseWeekDays(const std::string& text);
// Days of the month 1..31 and ranges ("1,15,20-25"). Answers flags for day 1
// .. day 31. A blank text chooses no day.
std::array<bool, 31> ParseMonthDays(const std::string& text);

// The stored voice prompt for "mute" (empty), "default" ("default.mp3") or a
// sound file, which must exist and is stored by its absolute path.
std::string ResolveVoice(const std::string& text);
