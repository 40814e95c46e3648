// How olvoctl prints: aligned text tables for people (wide characters
// counted as two columns, descriptions with line breaks continued on the
// next lines), ISO moments for scripts.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/datetime.h"

// The cells live in one block of text: a list of 10,000 reminders then
// costs its text and an offset per cell, not a string per cell.
class TTextTable {
public:
    explicit TTextTable(std::vector<std::string> headers) : FHeaders(std::move(headers)) {}
    void AddHeader(std::string header) { FHeaders.push_back(std::move(header)); }
    // One cell per header; missing cells are blank, extra ones dropped.
    void AddRow(std::initializer_list<std::string_view> cells);
    // Room for that many rows holding that many bytes of text in all.
    void Reserve(size_t rows, size_t bytes) {
        FEnds.reserve(rows * FHeaders.size());
        FPlainRows.reserve(rows);
        FText.Reserve(bytes);
    }

    size_t Columns() const { return FHeaders.size(); }
    size_t RowCount() const { return FRows; }
    const std::vector<std::string>& Headers() const { return FHeaders; }
    std::string_view Cell(size_t row, size_t column) const;
    // Every cell of the row, in column order (Columns() of them). Inline:
    // printing asks it of every row.
    void RowCells(size_t row, std::string_view* cells) const {
        const size_t columns = FHeaders.size();
        const size_t first = row * columns;
        size_t begin = first == 0 ? 0 : FEnds[first - 1];
        for (size_t c = 0; c < columns; ++c) {
            const size_t end = FEnds[first + c];
            cells[c] = Text(begin, end);
            begin = end;
        }
    }
    // The row's cells as they follow one another, without separators.
    std::string_view RowText(size_t row) const;
    // Whether the row is printable ASCII throughout (each cell then as wide
    // as it is long), told as it was added, while its text was at hand.
    bool RowIsPlainAscii(size_t row) const { return FPlainRows[row] != 0; }
    // The longest cell of the column among those rows.
    size_t PlainWidth(size_t column) const { return column < FPlainWidths.size() ? FPlainWidths[column] : 0; }

private:
    // Text that grows without first being filled, with room past its end
    // for the sixteen-byte copies in and out of it (platform/byte_runs.h).
    class TTextBlock {
    public:
        size_t size() const { return FSize; }
        const char* data() const { return FData.get(); }
        void Reserve(size_t capacity);
        // Room for n more bytes at the end, which the caller then fills.
        char* Grow(size_t n);

    private:
        std::unique_ptr<char[]> FData;
        size_t FSize = 0, FCapacity = 0;
    };

    std::string_view Text(size_t begin, size_t end) const { return {FText.data() + begin, end - begin}; }

    std::vector<std::string> FHeaders;
    TTextBlock FText;
    std::vector<uint32_t> FEnds;  // where each cell ends in FText, row by row
    std::vector<uint8_t> FPlainRows;
    std::vector<size_t> FPlainWidths;
    size_t FRows = 0;
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
std::string_view TrimmedRight(std::string_view text);
