// The two blocking HTTP GET operations every online feature is built on.
// Both run on worker threads, keep no shared state and may run at once.
//
// Only http:// and https:// addresses are fetched (redirects too, at most
// five of them); anything else gives the empty result without touching the
// network. Every fetch gives up after 10 s without a connection or 30 s in
// all. Answers and pictures come from the network, so a body larger than
// MaxFetchBytes is refused as a whole rather than read without limit.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

inline constexpr size_t MaxFetchBytes = size_t(8) << 20;  // 8 MiB

// How long a fetch may take; the defaults above, shorter in tests.
struct TFetchLimits {
    long ConnectTimeoutMs = 10000;
    long TotalTimeoutMs = 30000;
    size_t MaxBytes = MaxFetchBytes;
};

// An answer text: sent with "Accept-Charset: utf-8" and always fetched anew
// from the server (no cache answers it). The body up to its first zero
// byte, as bytes; an HTTP error page comes back like any other body. Empty
// when the address is refused, the server cannot be reached, the transfer
// breaks off, or the body is over the limit.
std::string FetchText(const std::string& url, const TFetchLimits& limits = {});

// A picture's bytes, undecoded (the caller decodes them); a cache on the way
// may answer. Bytes that arrived before the transfer broke off are given
// back (what they are worth is the decoder's question). Nothing when no
// byte arrived or the body is over the limit.
std::optional<std::string> FetchBytes(const std::string& url, const TFetchLimits& limits = {});

// Whether the address is one the fetches accept: http:// or https:// (any
// letter case) followed by a host, with no blank or control character.
bool IsWebAddress(const std::string& url);
