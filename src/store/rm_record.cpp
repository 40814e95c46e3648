#include "store/rm_record.h"

#include <algorithm>
#include <bit>
#include <cstring>

TDateTime TRmRecordStruct::WakeDate() const {
    uint64_t bits = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&bits, RepeatData.data() + WakeDateOffset, 8);  // the bytes as they lie
    } else {
        for (int i = 7; i >= 0; --i) bits = (bits << 8) | RepeatData[WakeDateOffset + static_cast<size_t>(i)];
    }
    return std::bit_cast<double>(bits);
}

void TRmRecordStruct::SetWakeDate(TDateTime value) {
    uint64_t bits = std::bit_cast<uint64_t>(value);
    for (size_t i = 0; i < 8; ++i) RepeatData[WakeDateOffset + i] = static_cast<uint8_t>(bits >> (8 * i));
}

std::string RepeatDataToHex(const std::array<uint8_t, RepeatDataSize>& data) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(RepeatDataSize * 2);
    for (uint8_t b : data) {
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

namespace {
// Every reminder's 62 digits are decoded at load: a table, not branches.
struct THexTable {
    int8_t Value[256];
    constexpr THexTable() : Value{} {
        for (int c = 0; c < 256; ++c)
            Value[c] = c >= '0' && c <= '9'   ? static_cast<int8_t>(c - '0')
                       : c >= 'A' && c <= 'F' ? static_cast<int8_t>(c - 'A' + 10)
                       : c >= 'a' && c <= 'f' ? static_cast<int8_t>(c - 'a' + 10)
                                              : int8_t(-1);
    }
};
constexpr THexTable HexTable;
int HexValue(char c) { return HexTable.Value[static_cast<unsigned char>(c)]; }


// Eight hexadecimal digits as four bytes, when all eight are digits.
bool FourBytesFromHex(const char* text, uint8_t* out) {
    constexpr uint64_t Ones = 0x0101010101010101ull, Highs = 0x8080808080808080ull;
    uint64_t c;
    std::memcpy(&c, text, 8);
    // Most of the 62 digits are zeros: the bytes after a weekday mask or a
    // due date, and every unflagged day.
    if (c == Ones * '0') {
        std::memset(out, 0, 4);
        return true;
    }
    if (c & Highs) return false;
    // Per byte, the high bit set where lo <= byte <= hi (bytes below 0x80).
    auto within = [](uint64_t x, uint8_t lo, uint8_t hi) {
        return (x + Ones * (0x80 - lo)) & ~(x + Ones * (0x7F - hi)) & Highs;
    };
    const uint64_t digit = within(c, '0', '9');
    const uint64_t letter = within(c | Ones * 0x20, 'a', 'f');
    if ((digit | letter) != Highs) return false;
    // '0'..'9' are 0x30..0x39, 'A'..'F' and 'a'..'f' end in 1..6: nine more.
    const uint64_t nibbles = (c & Ones * 0x0F) + (letter >> 7) * 9;
    // Byte k holds digit k (the text's order, as loaded): pairs to bytes.
    uint64_t w = ((nibbles << 4) | (nibbles >> 8)) & 0x00FF00FF00FF00FFull;
    w = (w | (w >> 8)) & 0x0000FFFF0000FFFFull;
    w = (w | (w >> 16)) & 0x00000000FFFFFFFFull;
    const uint32_t bytes = static_cast<uint32_t>(w);
    std::memcpy(out, &bytes, 4);
    return true;
}

}  // namespace

std::array<uint8_t, RepeatDataSize> RepeatDataFromHex(std::string_view text) {
    std::array<uint8_t, RepeatDataSize> data{};
    const size_t pairs = std::min(RepeatDataSize, text.size() / 2);
    size_t first = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Four pairs at a time while they are all digits; the pairs from
        // the first group that is not are decoded one by one below.
        while (first + 4 <= pairs && FourBytesFromHex(text.data() + 2 * first, data.data() + first)) first += 4;
    }
    for (size_t i = first; i < pairs; ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        if ((high | low) < 0) break;
        data[i] = static_cast<uint8_t>(high << 4 | low);
    }
    return data;
}
