// How olvoctl prints: aligned text tables for people (wide characters
// counted as two columns, descriptions with line breaks continued on the
// next lines), ISO moments for scripts.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/datetime.h"

struct TTextTable {
    std::vector<std::string> Headers;
    std::vector<std::vector<std::string>> Rows;
};

// Columns are separated by two blanks; a cell holding line breaks takes as
// many lines as it has, the other cells of its row staying blank below.
void PrintTable(std::ostream& out, const TTextTable& table);

// Terminal columns the UTF-8 text takes (East Asian wide characters 2,
// combining marks 0).
size_t DisplayWidth(std::string_view text);

// "2026-12-24 09:30:00": the form scripts get, whatever the regional formats.
std::string IsoText(TDateTime value);

// The text without the blanks the time-left text ends with.
std::string TrimRight(const std::string& text);
