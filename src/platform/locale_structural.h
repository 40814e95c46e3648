// Reading date-times by their shape rather than by one picture: whatever
// the program wrote under any locale it supports has a four-digit year,
// numeric month and day, numeric hours, minutes and seconds, literal
// separators or markers between them and perhaps an AM/PM designator. One
// pass over the text, no allocation.
#pragma once

#include <string_view>

#include "platform/locale_format.h"

namespace locale_detail {

struct TStructuralReading {
    // Year-first dates and year-last ones valid only one way round have one
    // reading, in Value. A year-last date valid both ways (3/4/2026) is
    // Ambiguous: Value reads it day first, Alternative month first.
    TDateTime Value = 0;
    TDateTime Alternative = 0;
    bool Ambiguous = false;
};

// A date with a time, or a date alone; the date and the time are parted by
// at least one blank. `text` must already be trimmed of blanks.
bool ReadStructuralDateTime(std::string_view text, const TFormatSettings& settings, TStructuralReading& reading);
// A time of day alone (date part 0).
bool ReadStructuralTime(std::string_view text, const TFormatSettings& settings, TDateTime& value);

}  // namespace locale_detail
