// Text tables and ISO moments.
#include "cli/cli_output.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "platform/byte_runs.h"
#include "platform/locale_format.h"

namespace {

// Decodes one UTF-8 character at `pos`; a malformed byte counts as one
// character so that a damaged description still lines up.
char32_t NextCodePoint(std::string_view text, size_t& pos) {
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
    if (pos + length > text.size()) length = 1;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            length = 1;
            code = lead;
            break;
        }
        code = (code << 6) | (next & 0x3F);
    }
    pos += length;
    return code;
}

bool IsZeroWidth(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x200B && c <= 0x200F) || (c >= 0xFE00 && c <= 0xFE0F);
}

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
           (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
}

// A cell that prints as it stands: one line, no control characters.
bool IsPlainCell(std::string_view cell) {
    for (char c : cell)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    return true;
}

// A cell's lines: split at line breaks; tabs and other control characters
// become blanks so they cannot move the columns.
std::vector<std::string> CellLines(std::string_view cell) {
    std::vector<std::string> lines(1);
    for (char c : cell) {
        if (c == '\n')
            lines.emplace_back();
        else if (c == '\r')
            continue;
        else
            lines.back() += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? ' ' : c;
    }
    return lines;
}

size_t CellWidth(std::string_view cell) {
    if (IsPlainCell(cell)) return DisplayWidth(cell);
    size_t width = 0;
    for (const std::string& line : CellLines(cell)) width = std::max(width, DisplayWidth(line));
    return width;
}

void TrimRowEnd(std::string& text, size_t from) {
    size_t end = text.size();
    while (end > from && text[end - 1] == ' ') --end;
    text.resize(end);
}

// A cell's columns, and whether it prints as it stands.
struct TCellSize {
    uint32_t Width : 31;
    uint32_t Plain : 1;
};

// Whether eight bytes are all printable ASCII (0x20 .. 0x7E).
// A byte under 0x20 borrows into its high bit, 0x7F carries into it, one
// from 0x80 up has it; whatever a borrow or carry does to the bytes above
// happens only where one byte already failed.
bool PrintableAscii(uint64_t w) {
    constexpr uint64_t Ones = 0x0101010101010101ull, Highs = 0x8080808080808080ull;
    return (((w - Ones * 0x20) | (w + Ones) | w) & Highs) == 0;
}

TCellSize SizeOf(std::string_view cell) {
    // Most cells are printable ASCII, whose width is their length: eight
    // bytes are checked at a time.
    size_t i = 0;
    for (; i + 8 <= cell.size(); i += 8) {
        uint64_t w;
        std::memcpy(&w, cell.data() + i, 8);
        if (!PrintableAscii(w)) break;
    }
    while (i < cell.size() && cell[i] >= 0x20 && cell[i] < 0x7F) ++i;
    if (i == cell.size()) return {static_cast<uint32_t>(cell.size()), 1};
    const bool plain = IsPlainCell(cell);
    return {static_cast<uint32_t>(plain ? DisplayWidth(cell) : CellWidth(cell)), plain};
}

// One row into the buffer; cells holding line breaks continue below.
template <typename TCellOf>
void PutRow(std::string& out, size_t columns, TCellOf cellOf, const TCellSize* sizes, const std::vector<size_t>& widths) {
    bool plain = true;
    for (size_t c = 0; c < columns; ++c) plain = plain && sizes[c].Plain;
    if (plain) {
        // A plain cell's width is at most its length, so the row takes at
        // most its cells, their padding and the line break: written in place.
        size_t most = 1;
        for (size_t c = 0; c < columns; ++c) most += cellOf(c).size() + widths[c] + 2;
        const size_t start = out.size();
        out.resize(start + most);
        char* const begin = out.data() + start;
        char* p = begin;
        for (size_t c = 0; c < columns; ++c) {
            const std::string_view cell = cellOf(c);
            std::memcpy(p, cell.data(), cell.size());
            p += cell.size();
            if (c + 1 < columns) {
                const size_t pad = widths[c] - sizes[c].Width + 2;
                std::memset(p, ' ', pad);
                p += pad;
            }
        }
        while (p > begin && p[-1] == ' ') --p;
        *p++ = '\n';
        out.resize(static_cast<size_t>(p - out.data()));
        return;
    }
    std::vector<std::vector<std::string>> cells;
    size_t height = 1;
    for (size_t c = 0; c < columns; ++c) {
        cells.push_back(CellLines(cellOf(c)));
        height = std::max(height, cells.back().size());
    }
    for (size_t line = 0; line < height; ++line) {
        const size_t start = out.size();
        for (size_t c = 0; c < columns; ++c) {
            const std::string piece = line < cells[c].size() ? cells[c][line] : "";
            out += piece;
            if (c + 1 < columns) out.append(widths[c] - DisplayWidth(piece) + 2, ' ');
        }
        TrimRowEnd(out, start);
        out += '\n';
    }
}

}  // namespace

void TTextTable::TTextBlock::Reserve(size_t capacity) {
    if (capacity <= FCapacity) return;
    std::unique_ptr<char[]> larger(new char[capacity + RunSlack]);
    if (FSize > 0) std::memcpy(larger.get(), FData.get(), FSize);
    FData = std::move(larger);
    FCapacity = capacity;
}

char* TTextTable::TTextBlock::Grow(size_t n) {
    if (FSize + n > FCapacity) Reserve(std::max(FSize + n, FCapacity * 2));
    char* const at = FData.get() + FSize;
    FSize += n;
    return at;
}

void TTextTable::AddRow(std::initializer_list<std::string_view> cells) {
    const size_t columns = FHeaders.size();
    if (FPlainWidths.size() < columns) FPlainWidths.resize(columns, 0);
    const std::string_view* const given = cells.begin();
    const size_t count = std::min(columns, cells.size());
    size_t length = 0;
    for (size_t c = 0; c < count; ++c) length += given[c].size();
    if (FText.size() + length > UINT32_MAX) throw std::length_error("the table's text is too long");
    // The cells side by side, each end noted as it is copied.
    const size_t rowBegin = FText.size();
    char* const row = FText.Grow(length);
    size_t at = 0;
    for (size_t c = 0; c < columns; ++c) {
        if (c < count) {
            std::memcpy(row + at, given[c].data(), given[c].size());
            at += given[c].size();
        }
        FEnds.push_back(static_cast<uint32_t>(rowBegin + at));
    }
    // The block has the room past the row that the check reads.
    const bool plain = PrintableRun(row, length);
    FPlainRows.push_back(plain ? 1 : 0);
    if (plain)
        for (size_t c = 0; c < count; ++c) FPlainWidths[c] = std::max(FPlainWidths[c], given[c].size());
    ++FRows;
}

std::string_view TTextTable::Cell(size_t row, size_t column) const {
    const size_t index = row * FHeaders.size() + column;
    const size_t begin = index == 0 ? 0 : FEnds[index - 1];
    return Text(begin, FEnds[index]);
}

std::string_view TTextTable::RowText(size_t row) const {
    const size_t columns = FHeaders.size();
    if (columns == 0) return {};
    const size_t first = row * columns;
    const size_t begin = first == 0 ? 0 : FEnds[first - 1];
    return Text(begin, FEnds[first + columns - 1]);
}

size_t DisplayWidth(std::string_view text) {
    size_t width = 0;
    for (size_t pos = 0; pos < text.size();) {
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++width;
            ++pos;
            continue;
        }
        const char32_t c = NextCodePoint(text, pos);
        width += IsZeroWidth(c) ? 0 : IsWide(c) ? 2 : 1;
    }
    return width;
}

namespace {

// The printed text gathers here and goes out in pieces of about this size,
// so that a long list never sits in memory twice.
constexpr size_t OutputPiece = 65536;

}  // namespace

void PrintTable(std::ostream& out, const TTextTable& table) {
    const size_t columns = table.Columns();
    const size_t rows = table.RowCount();
    // Each row is measured once: a row of printable ASCII (nearly every
    // one) as a whole, its cells' widths being their lengths; any other
    // cell by cell. The widths are the columns' widest cells.
    std::vector<TCellSize> headerSizes;
    for (size_t c = 0; c < columns; ++c) headerSizes.push_back(SizeOf(table.Headers()[c]));
    std::vector<size_t> widths(columns, 0);
    for (size_t c = 0; c < columns; ++c) widths[c] = std::max<size_t>(headerSizes[c].Width, table.PlainWidth(c));
    std::vector<std::string_view> cells(columns);
    std::vector<TCellSize> sizes(columns);
    for (size_t r = 0; r < rows; ++r) {
        if (table.RowIsPlainAscii(r)) continue;
        table.RowCells(r, cells.data());
        for (size_t c = 0; c < columns; ++c) widths[c] = std::max<size_t>(widths[c], SizeOf(cells[c]).Width);
    }

    std::string text;
    PutRow(text, columns, [&](size_t c) { return std::string_view(table.Headers()[c]); }, headerSizes.data(), widths);
    std::vector<std::string> rule;
    std::vector<TCellSize> ruleSizes;
    for (size_t width : widths) {
        rule.push_back(std::string(width, '-'));
        ruleSizes.push_back({static_cast<uint32_t>(width), 1});
    }
    PutRow(text, columns, [&](size_t c) { return std::string_view(rule[c]); }, ruleSizes.data(), widths);

    // The rows are written in place into one buffer: a plain row takes at
    // most its columns' widths, the blanks between them and its line break.
    size_t rowMost = 1;
    for (size_t width : widths) rowMost += width + 2;
    const size_t capacity = std::max(OutputPiece, text.size()) + rowMost;
    std::unique_ptr<char[]> buffer(new char[capacity + RunSlack]);
    std::memcpy(buffer.get(), text.data(), text.size());
    size_t used = text.size();
    auto flush = [&] {
        out.write(buffer.get(), static_cast<std::streamsize>(used));
        used = 0;
    };
    for (size_t r = 0; r < rows; ++r) {
        table.RowCells(r, cells.data());
        if (!table.RowIsPlainAscii(r)) {
            for (size_t c = 0; c < columns; ++c) sizes[c] = SizeOf(cells[c]);
            text.clear();
            PutRow(text, columns, [&](size_t c) { return cells[c]; }, sizes.data(), widths);
            if (used + text.size() > capacity) flush();
            if (text.size() > capacity) {
                out.write(text.data(), static_cast<std::streamsize>(text.size()));
            } else {
                std::memcpy(buffer.get() + used, text.data(), text.size());
                used += text.size();
            }
        } else {
            // In blocks of sixteen: the table's text and this buffer both
            // have the room past their ends.
            char* const begin = buffer.get() + used;
            char* p = begin;
            for (size_t c = 0; c < columns; ++c) {
                CopyRun(p, cells[c].data(), cells[c].size());
                p += cells[c].size();
                if (c + 1 < columns) {
                    const size_t pad = widths[c] - cells[c].size() + 2;
                    FillBlanks(p, pad);
                    p += pad;
                }
            }
            while (p > begin && p[-1] == ' ') --p;
            *p++ = '\n';
            used += static_cast<size_t>(p - begin);
        }
        if (used + rowMost > capacity || used > OutputPiece) flush();
    }
    flush();
}

std::string IsoText(TDateTime value) { return FormatDateTimeText("yyyy-MM-dd HH:mm:ss", value); }

std::string_view TrimmedRight(std::string_view text) {
    const size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}


std::string TrimRight(const std::string& text) {
    const size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}
