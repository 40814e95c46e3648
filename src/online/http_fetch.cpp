// HTTP GET over libcurl: one easy handle per fetch, so fetches on several
// threads share nothing.
#include "online/http_fetch.h"

#include <curl/curl.h>

#include <cstring>
#include <mutex>

#include "platform/ini_document.h"

namespace {

void InitCurlOnce() {
    // Global set-up is not safe to race with the first fetches; once for the
    // process, never cleaned up (threads may still be fetching at exit).
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct TSink {
    std::string Body;
    size_t MaxBytes = 0;
    bool OverLimit = false;
};

size_t WriteChunk(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<TSink*>(user);
    const size_t bytes = size * count;
    if (bytes > sink->MaxBytes - sink->Body.size()) {
        sink->OverLimit = true;
        return 0;  // aborts the transfer
    }
    sink->Body.append(data, bytes);
    return bytes;
}

enum class TCacheUse { Reload, Allowed };

struct TFetchResult {
    CURLcode Code = CURLE_FAILED_INIT;
    TSink Sink;
};

TFetchResult Fetch(const std::string& url, const TFetchLimits& limits, TCacheUse cache) {
    TFetchResult result;
    result.Sink.MaxBytes = limits.MaxBytes;
    if (!IsWebAddress(url)) return result;
    InitCurlOnce();
    CURL* curl = curl_easy_init();
    if (!curl) return result;
    curl_slist* headers = nullptr;
    if (cache == TCacheUse::Reload) {
        headers = curl_slist_append(headers, "Accept-Charset: utf-8");
        // Asks every cache on the way to pass the request to the server.
        headers = curl_slist_append(headers, "Cache-Control: no-cache");
        headers = curl_slist_append(headers, "Pragma: no-cache");
    }
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    // Timeouts without signals: fetches run on worker threads.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.ConnectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.TotalTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // A body announced as too large is refused before it is read.
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.MaxBytes));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteChunk);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result.Sink);
    result.Code = curl_easy_perform(curl);
    if (result.Code == CURLE_FILESIZE_EXCEEDED) result.Sink.OverLimit = true;
    curl_easy_cleanup(curl);
    curl_slist_free_all(headers);
    return result;
}

bool StartsWithNoCase(const std::string& text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameTextAscii(std::string_view(text).substr(0, prefix.size()), prefix);
}

}  // namespace

bool IsWebAddress(const std::string& url) {
    size_t hostAt = 0;
    if (StartsWithNoCase(url, "http://")) hostAt = 7;
    else if (StartsWithNoCase(url, "https://")) hostAt = 8;
    else return false;
    if (hostAt >= url.size() || url[hostAt] == '/' || url[hostAt] == '?' || url[hostAt] == '#') return false;
    for (unsigned char c : url)
        if (c <= 0x20 || c == 0x7F) return false;
    return true;
}

std::string FetchText(const std::string& url, const TFetchLimits& limits) {
    TFetchResult result = Fetch(url, limits, TCacheUse::Reload);
    // A transfer that broke off is no answer, whatever had arrived.
    if (result.Code != CURLE_OK || result.Sink.OverLimit) return {};
    std::string& body = result.Sink.Body;
    const size_t zero = body.find('\0');
    if (zero != std::string::npos) body.resize(zero);
    return std::move(body);
}

std::optional<std::string> FetchBytes(const std::string& url, const TFetchLimits& limits) {
    TFetchResult result = Fetch(url, limits, TCacheUse::Allowed);
    if (result.Sink.OverLimit || result.Sink.Body.empty()) return std::nullopt;
    return std::move(result.Sink.Body);
}
