#include "store/text_escape.h"

namespace {

bool IsEdgeBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }

bool NeedsEscaping(const std::string& text) {
    if (text.empty()) return false;
    if (text.starts_with(EscapedValueMarker)) return true;
    if (IsEdgeBlank(text.front()) || IsEdgeBlank(text.back())) return true;
    return text.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

std::string EncodeIniValue(const std::string& text) {
    if (!NeedsEscaping(text)) return text;
    std::string out = EscapedValueMarker;
    // Blanks are escaped only at the ends, where reading would trim them.
    size_t first = text.find_first_not_of(" \t\f\v");
    size_t last = text.find_last_not_of(" \t\f\v");
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        bool atEdge = first == std::string::npos || i < first || i > last;
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case ' ': out += atEdge ? "\\s" : " "; break;
            case '\f': out += "\\f"; break;
            case '\v': out += "\\v"; break;
            default: out += c;
        }
    }
    return out;
}

std::string DecodeIniValue(std::string stored) {
    if (!stored.starts_with(EscapedValueMarker)) return stored;  // moved out, not copied
    std::string out;
    out.reserve(stored.size());
    for (size_t i = std::char_traits<char>::length(EscapedValueMarker); i < stored.size(); ++i) {
        char c = stored[i];
        if (c != '\\' || i + 1 == stored.size()) {
            out += c;
            continue;
        }
        char next = stored[++i];
        switch (next) {
            case '\\': out += '\\'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 's': out += ' '; break;
            case 'f': out += '\f'; break;
            case 'v': out += '\v'; break;
            default:  // not an escape we write: keep it as it stands
                out += '\\';
                out += next;
        }
    }
    return out;
}
