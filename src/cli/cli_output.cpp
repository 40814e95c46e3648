// Text tables and ISO moments.
#include "cli/cli_output.h"

#include <algorithm>

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

// A cell's lines: split at line breaks; tabs and other control characters
// become blanks so they cannot move the columns.
std::vector<std::string> CellLines(const std::string& cell) {
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

void PrintRow(std::ostream& out, const std::vector<std::vector<std::string>>& cells, const std::vector<size_t>& widths) {
    size_t height = 1;
    for (const auto& lines : cells) height = std::max(height, lines.size());
    for (size_t line = 0; line < height; ++line) {
        std::string text;
        for (size_t column = 0; column < cells.size(); ++column) {
            const std::string piece = line < cells[column].size() ? cells[column][line] : "";
            text += piece;
            if (column + 1 < cells.size()) text += std::string(widths[column] - DisplayWidth(piece) + 2, ' ');
        }
        out << TrimRight(text) << '\n';
    }
}

}  // namespace

size_t DisplayWidth(std::string_view text) {
    size_t width = 0;
    for (size_t pos = 0; pos < text.size();) {
        const char32_t c = NextCodePoint(text, pos);
        width += IsZeroWidth(c) ? 0 : IsWide(c) ? 2 : 1;
    }
    return width;
}

void PrintTable(std::ostream& out, const TTextTable& table) {
    std::vector<std::vector<std::vector<std::string>>> rows;
    std::vector<size_t> widths(table.Headers.size(), 0);
    auto measure = [&](const std::vector<std::string>& row) {
        std::vector<std::vector<std::string>> cells;
        for (size_t column = 0; column < widths.size(); ++column) {
            cells.push_back(CellLines(column < row.size() ? row[column] : ""));
            for (const std::string& line : cells.back()) widths[column] = std::max(widths[column], DisplayWidth(line));
        }
        return cells;
    };
    const auto header = measure(table.Headers);
    for (const auto& row : table.Rows) rows.push_back(measure(row));
    PrintRow(out, header, widths);
    std::vector<std::vector<std::string>> rule;
    for (size_t width : widths) rule.push_back({std::string(width, '-')});
    PrintRow(out, rule, widths);
    for (const auto& row : rows) PrintRow(out, row, widths);
}

std::string IsoText(TDateTime value) { return FormatDateTimeText("yyyy-MM-dd HH:mm:ss", value); }

std::string TrimRight(const std::string& text) {
    const size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}
