// The two halves of TryStrToDateTime and TryStrToTime, open so that tests
// and benchmarks can hold one against the other: the general reader (every
// rule, any text) and the fast path (the forms the store writes) that either
// gives the general reader's answer or declines.
#pragma once

#include <string_view>

#include "platform/locale_fast_reader.h"

namespace locale_detail {

bool TryStrToDateTimeGeneral(std::string_view text, TDateTime& value, const TFormatSettings& settings);
bool TryStrToTimeGeneral(std::string_view text, TDateTime& value, const TFormatSettings& settings);

// Read: value is what the general reader gives. NoMatch: the formats in
// force refuse the text, the rest is for the general reader. Declined: the
// general reader must do it all. `text` must already be trimmed of blanks.
TFastResult ReadDateTimeFast(std::string_view text, TDateTime& value, const TFormatSettings& settings);
TFastResult ReadTimeFast(std::string_view text, TDateTime& value, const TFormatSettings& settings);

}  // namespace locale_detail
