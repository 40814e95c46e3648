#include "store/rm_record.h"

#include <algorithm>
#include <bit>
#include <cstring>

TDateTime TRmRecordStruct::WakeDate() const {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | RepeatData[WakeDateOffset + static_cast<size_t>(i)];
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
}  // namespace

std::array<uint8_t, RepeatDataSize> RepeatDataFromHex(std::string_view text) {
    std::array<uint8_t, RepeatDataSize> data{};
    const size_t pairs = std::min(RepeatDataSize, text.size() / 2);
    for (size_t i = 0; i < pairs; ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        if ((high | low) < 0) break;
        data[i] = static_cast<uint8_t>(high << 4 | low);
    }
    return data;
}
