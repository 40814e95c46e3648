#include "platform/text_codec.h"

#include <cstdint>

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Length of the valid UTF-8 sequence at `i`, or 0 when it is not valid
// (overlong forms, surrogates and values past U+10FFFF are invalid).
size_t ValidSequenceAt(std::string_view s, size_t i, uint32_t& cp) {
    auto b = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
    uint8_t c = b(i);
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    size_t len = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > s.size()) return 0;
    uint32_t v = c & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return 0;
        v = (v << 6) | (b(i + k) & 0x3F);
    }
    static const uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (v < minimum[len] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
    cp = v;
    return len;
}

}  // namespace

namespace {

bool IsValidUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<uint8_t>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        uint32_t cp = 0;
        size_t len = ValidSequenceAt(bytes, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

}  // namespace

std::string SanitizeUtf8(std::string_view bytes) {
    // Files are nearly always valid: one copy then.
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        // Fast path for runs of ASCII.
        size_t start = i;
        while (i < bytes.size() && static_cast<uint8_t>(bytes[i]) < 0x80) ++i;
        out.append(bytes.data() + start, i - start);
        if (i >= bytes.size()) break;
        uint32_t cp = 0;
        size_t len = ValidSequenceAt(bytes, i, cp);
        if (len == 0) {
            AppendUtf8(out, static_cast<uint8_t>(bytes[i]));
            ++i;
        } else {
            out.append(bytes.data() + i, len);
            i += len;
        }
    }
    return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    size_t n = bytes.size() / 2;  // an odd trailing byte is ignored
    auto unit = [&](size_t k) {
        return static_cast<uint16_t>(static_cast<uint8_t>(bytes[2 * k]) |
                                     (static_cast<uint8_t>(bytes[2 * k + 1]) << 8));
    };
    for (size_t k = 0; k < n; ++k) {
        uint32_t u = unit(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < n) {
            uint32_t low = unit(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF) u = 0xFFFD;
        AppendUtf8(out, u);
    }
    return out;
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    auto put = [&](uint32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>((u >> 8) & 0xFF);
    };
    size_t i = 0;
    while (i < utf8.size()) {
        uint32_t cp = 0;
        size_t len = ValidSequenceAt(utf8, i, cp);
        if (len == 0) {
            cp = static_cast<uint8_t>(utf8[i]);  // Latin-1, as on reading
            len = 1;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

TDecodedText DecodeText(std::string_view bytes) {
    TDecodedText result;
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
        result.Encoding = TTextEncoding::Utf16LeBom;
        result.Text = Utf16LeToUtf8(bytes.substr(2));
    } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        result.Encoding = TTextEncoding::Utf8Bom;
        result.Text = SanitizeUtf8(bytes.substr(3));
    } else {
        result.Text = SanitizeUtf8(bytes);
    }
    return result;
}

std::string EncodeText(std::string_view utf8, TTextEncoding encoding) {
    switch (encoding) {
        case TTextEncoding::Utf16LeBom:
            return "\xFF\xFE" + Utf8ToUtf16Le(utf8);
        case TTextEncoding::Utf8Bom:
            return "\xEF\xBB\xBF" + std::string(utf8);
        case TTextEncoding::Utf8:
            break;
    }
    return std::string(utf8);
}

size_t Utf8PrefixLength(std::string_view utf8, size_t maxChars) {
    size_t i = 0, chars = 0;
    while (i < utf8.size() && chars < maxChars) {
        ++i;
        while (i < utf8.size() && (static_cast<uint8_t>(utf8[i]) & 0xC0) == 0x80) ++i;
        ++chars;
    }
    return i;
}
