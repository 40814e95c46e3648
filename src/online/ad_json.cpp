// Defensive reading of the feed's JSON.
#include "online/ad_json.h"

#include <limits>

#include "platform/text_codec.h"

namespace {
// The deepest nesting of the text's arrays and objects, brackets inside
// strings not counted; stops counting past `limit`.
int NestingOf(std::string_view text, int limit) {
    int depth = 0, deepest = 0;
    bool inString = false, escaped = false;
    for (char c : text) {
        if (inString) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > deepest) deepest = depth;
            if (deepest > limit) return deepest;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return deepest;
}
}  // namespace

std::optional<nlohmann::json> ParseFeedJson(std::string_view text) {
    if (NestingOf(text, MaxFeedNesting) > MaxFeedNesting) return std::nullopt;
    const std::string utf8 = SanitizeUtf8(text);
    nlohmann::json document = nlohmann::json::parse(utf8, nullptr, /*allow_exceptions=*/false);
    if (document.is_discarded()) return std::nullopt;
    return document;
}

const nlohmann::json& FeedMember(const nlohmann::json& object, const char* name) {
    if (!object.is_object()) throw TFeedError("not an object");
    auto it = object.find(name);
    if (it == object.end()) throw TFeedError(std::string("missing member ") + name);
    return *it;
}

int32_t FeedInt(const nlohmann::json& object, const char* name) {
    const nlohmann::json& value = FeedMember(object, name);
    if (value.is_number_unsigned()) {
        const auto v = value.get<uint64_t>();
        if (v > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) throw TFeedError("number out of range");
        return static_cast<int32_t>(v);
    }
    if (!value.is_number_integer()) throw TFeedError(std::string("not an integer: ") + name);
    const auto v = value.get<int64_t>();
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        throw TFeedError("number out of range");
    return static_cast<int32_t>(v);
}

std::string FeedText(const nlohmann::json& object, const char* name) {
    const nlohmann::json& value = FeedMember(object, name);
    if (!value.is_string()) throw TFeedError(std::string("not a text: ") + name);
    return value.get<std::string>();
}

const nlohmann::json& FeedArray(const nlohmann::json& object, const char* name) {
    const nlohmann::json& value = FeedMember(object, name);
    if (!value.is_array()) throw TFeedError(std::string("not an array: ") + name);
    return value;
}
