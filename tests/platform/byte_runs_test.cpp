// The word-at-a-time byte helpers against plain loops, on every length and
// position around their word and block sizes, with neighbours that look
// like matches (a byte above or below the one searched, high bytes).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/ascii_word.h"
#include "platform/byte_runs.h"

namespace {

TEST(ByteRuns, WordSearchesAgreeWithPlainLoops) {
    std::mt19937 random(11);
    const char fillers[] = {'a', '\n' + 1, '\n' - 1, '\x8a', '\x0b', '='};
    for (size_t length = 0; length <= 40; ++length) {
        for (int trial = 0; trial < 60; ++trial) {
            // Slack around the run: the searches may read whole words.
            std::string text(length + 32, 'x');
            char* run = text.data() + 16;
            for (size_t i = 0; i < length; ++i) run[i] = fillers[random() % std::size(fillers)];
            if (length > 0 && trial % 3 != 0) run[random() % length] = '\n';
            const char* expected = run + length;
            for (size_t i = 0; i < length; ++i)
                if (run[i] == '\n') {
                    expected = run + i;
                    break;
                }
            ASSERT_EQ(FindByte(run, run + length, '\n'), expected) << "length " << length << " trial " << trial;
        }
    }
}

TEST(ByteRuns, ShortComparesAndPrintableRunsAgreeWithPlainLoops) {
    std::mt19937 random(12);
    for (size_t length = 0; length <= 40; ++length) {
        for (int trial = 0; trial < 40; ++trial) {
            std::string a(length + RunSlack, ' '), b;
            for (size_t i = 0; i < length; ++i) a[i] = static_cast<char>(0x20 + random() % 0x5F);
            b = a;
            if (length > 0 && trial % 2 == 0) b[random() % length] ^= static_cast<char>(1 + random() % 0x7F);
            EXPECT_EQ(SameBytes(a.data(), b.data(), length), a.compare(0, length, b, 0, length) == 0) << length;
            // One byte out of the printable range somewhere, or none.
            std::string p = a;
            const char outside[] = {'\x1f', '\x7f', '\x80', '\xff', '\t', '\0'};
            if (length > 0 && trial % 2 == 1) p[random() % length] = outside[random() % std::size(outside)];
            bool printable = true;
            for (size_t i = 0; i < length; ++i) printable = printable && p[i] >= 0x20 && p[i] < 0x7F;
            // Bytes past the run never count, whatever they are.
            p[length] = '\x01';
            EXPECT_EQ(PrintableRun(p.data(), length), printable) << length;
        }
    }
}

}  // namespace
