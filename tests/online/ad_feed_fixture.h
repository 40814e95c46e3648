// Building advertisement feeds for the tests, and a cache folder to read
// them into.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "online/ad_feed.h"
#include "support/test_support.h"

namespace ad_test {

using nlohmann::json;

// An item with every member a feed carries.
inline json Item(int align, const std::string& title, const std::string& imgsrc = "") {
    json item = {{"align", align},
                 {"frame", 1},
                 {"title", title},
                 {"tips", "tip " + title},
                 {"link", "http://olvo.test/" + title},
                 {"fontcolor", "#FF8000"},
                 {"fontcolorover", "#0000FF"},
                 {"fontname", "DejaVu Sans"},
                 {"fontsize", 9},
                 {"interval", 5},
                 {"life", 30},
                 {"rect", {{"left", 4}, {"top", 6}, {"right", 196}, {"bottom", 94}}}};
    if (align != AdTitleOnly) item["imgsrc"] = imgsrc;
    return item;
}

inline json Group(int kind, json items) { return {{"kind", kind}, {"page", 2}, {"adinfo", std::move(items)}}; }

inline json Feed(int msg, json groups) {
    return {{"msg", msg},         {"adcheckurl", "http://olvo.test/ad/ad1.php"},
            {"adid", "A17"},      {"adlang", "English"},
            {"adver", "9"},       {"adrefresh", 3600},
            {"adgroup", std::move(groups)}};
}

// The PNG signature and a little more: what the core's check looks at.
inline std::string FakePng(const std::string& tag) { return std::string("\x89PNG\r\n\x1a\n", 8) + tag; }

}  // namespace ad_test
