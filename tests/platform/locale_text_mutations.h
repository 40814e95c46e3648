// Near misses of a valid date-time text, for holding readers against one
// another: digits dropped, doubled or changed, separators swapped, stray
// blanks, other designators. Deterministic for a given generator.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace locale_mutations {

inline const std::vector<std::string> Separators = {".", "/", "-", ":", " ", "  ", "\t", "年", "h", "T", ",", "", "時"};
inline const std::vector<std::string> Designators = {"AM", "PM", "am", "pm", "a.m.", "P.M.", "p. m.", "上午",
                                                     "下午", "午前", "午後", "오전", "오후", "πμ", "X", "M"};

inline bool IsDigitByte(char c) { return c >= '0' && c <= '9'; }

inline std::string MutateOnce(std::string text, std::mt19937& random) {
    auto pick = [&](size_t n) { return n == 0 ? size_t{0} : std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    std::vector<size_t> digits, others;
    for (size_t i = 0; i < text.size(); ++i) (IsDigitByte(text[i]) ? digits : others).push_back(i);
    switch (pick(8)) {
        case 0:
            if (!text.empty()) text.erase(pick(text.size()), 1);
            break;
        case 1:
            if (!digits.empty()) {
                size_t at = digits[pick(digits.size())];
                text.insert(at, 1, text[at]);
            }
            break;
        case 2: text.insert(pick(text.size() + 1), 1, static_cast<char>('0' + pick(10))); break;
        case 3:
            if (!others.empty()) text.replace(others[pick(others.size())], 1, Separators[pick(Separators.size())]);
            break;
        case 4: text.insert(pick(text.size() + 1), " "); break;
        case 5: {
            bool replaced = false;
            for (const std::string& d : Designators) {
                size_t at = text.find(d);
                if (at == std::string::npos) continue;
                text.replace(at, d.size(), Designators[pick(Designators.size())]);
                replaced = true;
                break;
            }
            if (!replaced) text = pick(2) ? text + " " + Designators[pick(Designators.size())]
                                          : Designators[pick(Designators.size())] + " " + text;
            break;
        }
        case 6:
            if (!digits.empty()) text.erase(digits[pick(digits.size())], 1);
            break;
        default:
            if (!digits.empty()) text[digits[pick(digits.size())]] = static_cast<char>('0' + pick(10));
            break;
    }
    return text;
}

// The text itself, then `count` mutations of it (one or two changes each).
inline std::vector<std::string> Mutations(const std::string& text, std::mt19937& random, int count) {
    std::vector<std::string> out{text};
    for (int i = 0; i < count; ++i) {
        std::string mutated = MutateOnce(text, random);
        if (random() % 3 == 0) mutated = MutateOnce(mutated, random);
        out.push_back(mutated);
    }
    return out;
}

}  // namespace locale_mutations
