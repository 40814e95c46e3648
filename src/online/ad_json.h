// Reading the feed's JSON defensively: the text comes from the network, so
// the reading checks every member's presence, type and range and reports a
// failure as TFeedError rather than reading a default.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

class TFeedError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Deepest nesting of arrays and objects a feed may have. The feed itself
// needs four levels; deeper texts are refused before parsing, since copying
// or writing out a deeply nested document recurses once per level.
inline constexpr int MaxFeedNesting = 32;

// The parsed text, or none when it is not JSON or nests too deeply. Bytes
// that are not valid UTF-8 are read as Latin-1 characters first.
std::optional<nlohmann::json> ParseFeedJson(std::string_view text);

const nlohmann::json& FeedMember(const nlohmann::json& object, const char* name);
int32_t FeedInt(const nlohmann::json& object, const char* name);
std::string FeedText(const nlohmann::json& object, const char* name);
const nlohmann::json& FeedArray(const nlohmann::json& object, const char* name);
