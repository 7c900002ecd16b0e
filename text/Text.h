#pragma once
// Small text rules used across the program: blanks around a value, ASCII letter case.

#include <string_view>

namespace karvel {

inline constexpr std::string_view kSpaceAndTab = " \t";
inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// `text` without the characters of `blanks` at either end.
constexpr std::string_view Trim(std::string_view text, std::string_view blanks = kSpaceAndTab) {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal when only ASCII letters differ in case; other bytes compare as they are.
constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

}  // namespace karvel
