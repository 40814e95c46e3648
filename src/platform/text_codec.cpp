#include "platform/text_codec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

bool IsValidUtf8(std::string_view bytes) {
    // Plain ASCII, nearly every description and path: the words OR-ed
    // together, the last one ending with the text, say so at once.
    if (bytes.size() >= 8) {
        uint64_t any = 0, word;
        size_t k = 0;
        for (; k + 8 <= bytes.size(); k += 8) {
            std::memcpy(&word, bytes.data() + k, 8);
            any |= word;
        }
        std::memcpy(&word, bytes.data() + bytes.size() - 8, 8);
        if (((any | word) & 0x8080808080808080ull) == 0) return true;
    }
    size_t i = 0;
    while (i < bytes.size()) {
        // Runs of ASCII, the bulk of every file, eight bytes at a time.
        uint64_t word;
        if (i + 8 <= bytes.size() && (std::memcpy(&word, bytes.data() + i, 8), (word & 0x8080808080808080ull) == 0)) {
            i += 8;
            continue;
        }
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

void SanitizeUtf8Into(std::string& out, std::string_view bytes) {
    if (IsValidUtf8(bytes))
        out.assign(bytes);
    else
        out = SanitizeUtf8(bytes);
}

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

namespace {

// An unpaired surrogate as generalised UTF-8 (ED A0..BF 80..BF), the form
// that carries it through to UTF-16 again unchanged.
bool SurrogateAt(std::string_view s, size_t i, uint32_t& unit) {
    if (i + 3 > s.size() || static_cast<uint8_t>(s[i]) != 0xED) return false;
    const uint8_t b1 = static_cast<uint8_t>(s[i + 1]), b2 = static_cast<uint8_t>(s[i + 2]);
    if (b1 < 0xA0 || b1 > 0xBF || (b2 & 0xC0) != 0x80) return false;
    unit = 0xD000 | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
    return true;
}

// The code units taken apart once to count the bytes they need, then once
// more to write them into a string of exactly that size: no growth, no
// per-character append.
template <typename TUnit, typename TVisit>
void ForEachCodePoint(size_t n, TUnit unit, bool keepSurrogates, TVisit&& visit) {
    for (size_t k = 0; k < n; ++k) {
        uint32_t u = unit(k);
        if (u < 0x80) {
            visit(u, false);
            continue;
        }
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < n) {
            uint32_t low = unit(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                visit(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00), false);
                ++k;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF) {
            if (keepSurrogates) {
                visit(u, true);
                continue;
            }
            u = 0xFFFD;
        }
        visit(u, false);
    }
}

inline size_t Utf8Length(uint32_t cp) { return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4; }

// The same bytes as AppendUtf8 (and AppendSurrogate, which is its 3-byte
// form), written at `p`.
inline char* PutUtf8(char* p, uint32_t cp) {
    if (cp < 0x80) {
        *p++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *p++ = static_cast<char>(0xC0 | (cp >> 6));
        *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *p++ = static_cast<char>(0xE0 | (cp >> 12));
        *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *p++ = static_cast<char>(0xF0 | (cp >> 18));
        *p++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return p;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian, bool keepSurrogates) {
    size_t n = bytes.size() / 2;  // an odd trailing byte is ignored
    const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data());
    auto unit = [&](size_t k) {
        const uint16_t first = data[2 * k], second = data[2 * k + 1];
        return static_cast<uint16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    };
    size_t length = 0;
    ForEachCodePoint(n, unit, keepSurrogates, [&](uint32_t cp, bool) { length += Utf8Length(cp); });
    std::string out(length, '\0');
    char* p = out.data();
    // A kept surrogate (D800..DFFF) is below 0x10000: PutUtf8 writes it as
    // AppendSurrogate does.
    ForEachCodePoint(n, unit, keepSurrogates, [&](uint32_t cp, bool) { p = PutUtf8(p, cp); });
    return out;
}

std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian) {
    std::string out;
    out.reserve(utf8.size() * 2);
    auto put = [&](uint32_t u) {
        const char high = static_cast<char>((u >> 8) & 0xFF), low = static_cast<char>(u & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    size_t i = 0;
    while (i < utf8.size()) {
        uint32_t cp = 0;
        size_t len = ValidSequenceAt(utf8, i, cp);
        if (len == 0 && SurrogateAt(utf8, i, cp)) {
            len = 3;
        } else if (len == 0) {
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

bool StartsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

// INI text in UTF-16 is mostly ASCII, so every other byte is zero; text in
// an 8-bit encoding holds no zero bytes at all. Other bytes (any zero bytes
// that stray into a damaged file) are kept as they are.
bool LooksLikeUtf16(std::string_view bytes) {
    size_t zeros[2] = {0, 0};
    const size_t sample = std::min<size_t>(bytes.size(), 4096);
    for (size_t i = 0; i < sample; ++i)
        if (bytes[i] == '\0') ++zeros[i % 2];
    return sample >= 4 && std::max(zeros[0], zeros[1]) * 4 >= sample;
}

}  // namespace

std::string Utf16LeToUtf8(std::string_view bytes) { return Utf16ToUtf8(bytes, false, false); }

std::string Utf8ToUtf16Le(std::string_view utf8) { return Utf8ToUtf16(utf8, false); }

TDecodedText DecodeText(std::string_view bytes) {
    TDecodedText result;
    if (StartsWith(bytes, "\xFF\xFE")) {
        result.Encoding = TTextEncoding::Utf16LeBom;
        result.Text = Utf16ToUtf8(bytes.substr(2), false, false);
    } else if (StartsWith(bytes, "\xFE\xFF")) {
        result.Encoding = TTextEncoding::Utf16BeBom;
        result.Text = Utf16ToUtf8(bytes.substr(2), true, false);
    } else if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        result.Encoding = TTextEncoding::Utf8Bom;
        result.Text = SanitizeUtf8(bytes.substr(3));
    } else {
        result.Text = SanitizeUtf8(bytes);
    }
    return result;
}

bool DecodeFileText(std::string&& bytes, TDecodedText& out, std::string* reason) {
    auto refuse = [&](const char* why) {
        if (reason) *reason = why;
        return false;
    };
    const std::string_view view(bytes);
    if (StartsWith(view, std::string_view("\xFF\xFE\0\0", 4)) || StartsWith(view, std::string_view("\0\0\xFE\xFF", 4)))
        return refuse("the file is in UTF-32, which is not read");
    const bool little = StartsWith(view, "\xFF\xFE"), big = StartsWith(view, "\xFE\xFF");
    if (little || big) {
        if (view.size() % 2 != 0) return refuse("the file's UTF-16 text has an odd number of bytes");
        out.Encoding = little ? TTextEncoding::Utf16LeBom : TTextEncoding::Utf16BeBom;
        out.Text = Utf16ToUtf8(view.substr(2), big, true);
        return true;
    }
    // With UTF-16 and UTF-32 marks handled, text that is not as it stands
    // is UTF-16 without a mark.
    size_t skip = 0;
    if (!IsFileTextAsIs(view, out.Encoding, skip)) return refuse("the file looks like UTF-16 without a byte-order mark");
    out.Text = std::move(bytes);
    if (skip > 0) out.Text.erase(0, skip);
    return true;
}

bool IsFileTextAsIs(std::string_view bytes, TTextEncoding& encoding, size_t& skip) {
    // Both UTF-32 marks begin like a UTF-16 one or with zeros LooksLikeUtf16 sees.
    if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF") ||
        StartsWith(bytes, std::string_view("\0\0\xFE\xFF", 4)))
        return false;
    const bool mark = StartsWith(bytes, "\xEF\xBB\xBF");
    if (!mark && LooksLikeUtf16(bytes)) return false;
    encoding = mark ? TTextEncoding::Utf8Bom : TTextEncoding::Utf8;
    skip = mark ? 3 : 0;
    return true;
}

std::string EncodeText(std::string_view utf8, TTextEncoding encoding) {
    switch (encoding) {
        case TTextEncoding::Utf16LeBom:
            return "\xFF\xFE" + Utf8ToUtf16(utf8, false);
        case TTextEncoding::Utf16BeBom:
            return "\xFE\xFF" + Utf8ToUtf16(utf8, true);
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
