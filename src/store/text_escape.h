// Keeps a reminder's description intact in a one-line INI value. Plain text
// is stored as it is; text the file could not hold as typed (line breaks,
// blanks at either end, which reading trims) is stored behind a marker with
// backslash escapes. Values without the marker always read back unchanged,
// so files written before the marker existed read as they did.
#pragma once

#include <string>

inline constexpr const char* EscapedValueMarker = "~esc~";

std::string EncodeIniValue(const std::string& text);
std::string DecodeIniValue(std::string stored);
