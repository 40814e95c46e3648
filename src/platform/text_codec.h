// Turning file bytes into UTF-8 text and back. Files may be UTF-16
// little-endian with a byte-order mark, UTF-8 with a byte-order mark, or
// without a mark (read as UTF-8; bytes that are not valid UTF-8 are taken
// as Latin-1 characters, so nothing is dropped).
#pragma once

#include <string>
#include <string_view>

enum class TTextEncoding { Utf8, Utf8Bom, Utf16LeBom };

struct TDecodedText {
    std::string Text;  // UTF-8, without the byte-order mark
    TTextEncoding Encoding = TTextEncoding::Utf8;
};

TDecodedText DecodeText(std::string_view bytes);
std::string EncodeText(std::string_view utf8, TTextEncoding encoding);

// UTF-8 to UTF-16LE bytes and back; unpaired surrogates become U+FFFD.
std::string Utf8ToUtf16Le(std::string_view utf8);
std::string Utf16LeToUtf8(std::string_view bytes);
// Repairs text that may hold invalid UTF-8 by reading stray bytes as Latin-1.
std::string SanitizeUtf8(std::string_view bytes);
// The length of the longest prefix holding at most `maxChars` characters.
size_t Utf8PrefixLength(std::string_view utf8, size_t maxChars);
