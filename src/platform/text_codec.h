// Turning file bytes into UTF-8 text and back. Files may be UTF-16
// (little- or big-endian) with a byte-order mark, UTF-8 with a byte-order
// mark, or without a mark (read as UTF-8).
//
// Two ways of reading: DecodeText repairs what is not valid (stray bytes
// become Latin-1 characters, so nothing is dropped), for text that is only
// read. DecodeFileText keeps every byte as it stands, so that a file that is
// changed and written back keeps, byte for byte, every line that was not
// changed: UTF-8 files keep invalid bytes (a legacy code page, say), UTF-16
// files become generalised UTF-8 that also carries unpaired surrogates.
#pragma once

#include <string>
#include <string_view>

enum class TTextEncoding { Utf8, Utf8Bom, Utf16LeBom, Utf16BeBom };

struct TDecodedText {
    std::string Text;  // UTF-8, without the byte-order mark
    TTextEncoding Encoding = TTextEncoding::Utf8;
};

TDecodedText DecodeText(std::string_view bytes);
// The exact decoding; false (with the reason) for bytes that are not text
// it can give back unchanged: UTF-16 of odd length, a UTF-32 byte-order
// mark, or a file without a mark that looks like UTF-16 (every other byte
// zero): its text cannot be read, and bytes written into it would damage it.
bool DecodeFileText(std::string&& bytes, TDecodedText& out, std::string* reason = nullptr);
// Whether DecodeFileText would give the bytes themselves as the text, past a
// byte-order mark of `skip` bytes (UTF-8 it reads); `encoding` is then set.
bool IsFileTextAsIs(std::string_view bytes, TTextEncoding& encoding, size_t& skip);
// Text in the encoding. For UTF-16, text from DecodeFileText comes back as
// the same bytes; other bytes that are not valid UTF-8 are taken as Latin-1.
std::string EncodeText(std::string_view utf8, TTextEncoding encoding);

// UTF-8 to UTF-16LE bytes and back; unpaired surrogates become U+FFFD.
std::string Utf8ToUtf16Le(std::string_view utf8);
std::string Utf16LeToUtf8(std::string_view bytes);
// True when the bytes are valid UTF-8 throughout.
bool IsValidUtf8(std::string_view bytes);
// Repairs text that may hold invalid UTF-8 by reading stray bytes as Latin-1.
std::string SanitizeUtf8(std::string_view bytes);
// The same into `out`, whose storage is reused: valid text is copied as it
// stands.
void SanitizeUtf8Into(std::string& out, std::string_view bytes);
// The length of the longest prefix holding at most `maxChars` characters.
size_t Utf8PrefixLength(std::string_view utf8, size_t maxChars);
