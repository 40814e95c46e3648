// The INI answers of the update and news checks, read in memory: the same
// reading the profile functions give a file holding the text (sections in
// square brackets, key=value lines, a missing key gives the caller's
// default), without a temporary file on disk.
#pragma once

#include <string_view>

#include "platform/ini_document.h"

// A UTF-8 byte-order mark in front of the first section is skipped, so that
// an answer saved by an editor that adds one still reads.
inline TIniDocument ParseAnswerIni(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return TIniDocument::Parse(text);
}
