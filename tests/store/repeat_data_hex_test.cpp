// RepeatDataFromHex, which decodes four pairs at a time where it can,
// against a pair-by-pair reference on texts with every kind of byte at
// every place.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "store/rm_record.h"

namespace {

int Nibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::array<uint8_t, RepeatDataSize> Reference(const std::string& text) {
    std::array<uint8_t, RepeatDataSize> data{};
    for (size_t i = 0; i < RepeatDataSize && 2 * i + 1 < text.size(); ++i) {
        const int high = Nibble(text[2 * i]), low = Nibble(text[2 * i + 1]);
        if (high < 0 || low < 0) break;
        data[i] = static_cast<uint8_t>(high << 4 | low);
    }
    return data;
}

TEST(RepeatDataHex, MatchesPairByPairDecoding) {
    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    const std::string digits = "0123456789ABCDEFabcdef";
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const size_t length = next() % 70;
        for (size_t i = 0; i < length; ++i) text += digits[next() % digits.size()];
        // Now and then one byte of any value somewhere.
        if (!text.empty() && next() % 2) text[next() % text.size()] = static_cast<char>(next() % 256);
        ASSERT_EQ(RepeatDataFromHex(text), Reference(text)) << text;
    }
    for (int b = 0; b < 256; ++b) {
        std::string text(62, '7');
        for (size_t at : {0, 1, 7, 8, 9, 30, 61}) {
            std::string t = text;
            t[at] = static_cast<char>(b);
            ASSERT_EQ(RepeatDataFromHex(t), Reference(t)) << b << " at " << at;
        }
    }
    // Runs of zeros (most stored digits) with any byte anywhere among them.
    for (int b = 0; b < 256; ++b) {
        for (size_t at = 0; at < 62; at += 3) {
            std::string t(62, '0');
            t[at] = static_cast<char>(b);
            ASSERT_EQ(RepeatDataFromHex(t), Reference(t)) << b << " at " << at;
        }
    }
    const auto all = RepeatDataFromHex(RepeatDataToHex(Reference("00FFa5C37e")));
    EXPECT_EQ(all, Reference("00FFa5C37e"));
}

}  // namespace
