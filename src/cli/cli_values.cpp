// Command-line values. Dates and times are read strictly (ISO shapes only):
// a script that passes "12/24/2026" must hear about it rather than get a
// reminder on some other day.
#include "cli/cli_values.h"

#include <cctype>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "cli/cli_request.h"
#include "platform/folders.h"
#include "platform/locale_format.h"

namespace {

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// A number of minDigits..maxDigits decimal digits and nothing else.
std::optional<int> Digits(const std::string& text, size_t minDigits, size_t maxDigits) {
    if (text.size() < minDigits || text.size() > maxDigits) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<TDateTime> TryIsoDate(const std::string& text) {
    const auto parts = Split(text, '-');
    if (parts.size() != 3) return std::nullopt;
    auto year = Digits(parts[0], 4, 4), month = Digits(parts[1], 1, 2), day = Digits(parts[2], 1, 2);
    if (!year || !month || !day || *year < 1 || !IsValidDate(*year, *month, *day)) return std::nullopt;
    return EncodeDate(*year, *month, *day);
}

std::optional<TDateTime> TryIsoTime(const std::string& text) {
    const auto parts = Split(text, ':');
    if (parts.size() != 2 && parts.size() != 3) return std::nullopt;
    auto hour = Digits(parts[0], 1, 2), minute = Digits(parts[1], 2, 2);
    auto second = parts.size() == 3 ? Digits(parts[2], 2, 2) : std::optional<int>(0);
    if (!hour || !minute || !second || !IsValidTime(*hour, *minute, *second, 0)) return std::nullopt;
    return EncodeTime(*hour, *minute, *second);
}

// One list of days: pieces separated by commas, each a day or a range of
// days. `dayOf` turns a piece into a day number within 1..last (or none).
template <size_t N>
std::array<bool, N> ParseDayList(const std::string& text, int last, const std::function<std::optional<int>(const std::string&)>& dayOf,
                                 const std::function<size_t(int)>& flagOf, const std::string& what) {
    std::array<bool, N> flags{};
    if (Trim(text).empty()) return flags;
    for (const std::string& rawPiece : Split(text, ',')) {
        const std::string piece = Trim(rawPiece);
        const size_t dash = piece.find('-', 1);
        const std::string firstText = Trim(piece.substr(0, dash));
        const std::string lastText = dash == std::string::npos ? firstText : Trim(piece.substr(dash + 1));
        const auto from = dayOf(firstText), to = dayOf(lastText);
        if (piece.empty() || !from || !to || *from < 1 || *to > last)
            throw UsageError("invalid " + what + " '" + piece + "' in '" + text + "'");
        if (*from > *to) throw UsageError("the range '" + piece + "' runs backwards");
        for (int day = *from; day <= *to; ++day) flags[flagOf(day)] = true;
    }
    return flags;
}

// A weekday name or number as a number 1 = Monday .. 7 = Sunday.
std::optional<int> WeekdayNumber(const std::string& text) {
    if (auto number = Digits(text, 1, 1)) return number;
    static const char* const Short[] = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};
    static const char* const Long[] = {"monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"};
    const std::string lower = Lower(text);
    for (int i = 0; i < 7; ++i)
        if (lower == Short[i] || lower == Long[i]) return i + 1;
    // The names the user's regional settings give, Sunday first.
    const auto& regional = FormatSettings().ShortDayNames;
    for (int i = 0; i < 7; ++i)
        if (!regional[static_cast<size_t>(i)].empty() && lower == Lower(regional[static_cast<size_t>(i)]))
            return i == 0 ? 7 : i;
    return std::nullopt;
}

}  // namespace

TDateTime ParseIsoDate(const std::string& text) {
    if (auto date = TryIsoDate(text)) return *date;
    throw UsageError("invalid date '" + text + "' (expected a calendar date as YYYY-MM-DD, e.g. 2026-12-24)");
}

TDateTime ParseIsoTime(const std::string& text) {
    if (auto time = TryIsoTime(text)) return *time;
    throw UsageError("invalid time '" + text + "' (expected HH:MM or HH:MM:SS, 00:00 to 23:59:59)");
}

TDateTime ParseIsoMoment(const std::string& text) {
    const std::string trimmed = Trim(text);
    const size_t blank = trimmed.find_first_of(" T");
    if (blank != std::string::npos) {
        auto date = TryIsoDate(trimmed.substr(0, blank));
        auto time = TryIsoTime(Trim(trimmed.substr(blank + 1)));
        if (date && time) return *date + *time;
    }
    throw UsageError("invalid moment '" + text + "' (expected \"YYYY-MM-DD HH:MM:SS\")");
}

std::array<bool, 7> ParseWeekDays(const std::string& text) {
    // Flag 0 is Sunday: number 7 (Sunday) wraps to it, Monday (1) is flag 1.
    return ParseDayList<7>(text, 7, WeekdayNumber, [](int day) { return static_cast<size_t>(day % 7); },
                           "weekday");
}

std::array<bool, 31> ParseMonthDays(const std::string& text) {
    return ParseDayList<31>(text, 31, [](const std::string& piece) { return Digits(piece, 1, 2); },
                            [](int day) { return static_cast<size_t>(day - 1); }, "day of the month");
}

std::string ResolveVoice(const std::string& text) {
    const std::string lower = Lower(text);
    if (lower == "mute") return "";
    if (lower == "default") return "default.mp3";
    if (text.empty()) throw UsageError("--voice needs mute, default or a sound file");
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(text, error).lexically_normal();
    if (error || !FileExists(path.string()))
        throw UsageError("no sound file at '" + text + "' (give mute, default or an existing file)");
    return path.string();
}
