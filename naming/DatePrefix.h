#pragma once
// The date part of every new name: the calendar date written in one of five patterns.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace karvel {

// The years a chosen date may lie in.
inline constexpr int kFirstYear = 1601;
inline constexpr int kLastYear = 9999;

struct CalendarDate {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

enum class DatePattern { yyyymmdd, yymmdd, mmdd, yyyymm, yymm };

// The pattern texts in the order the pattern list shows them.
inline constexpr std::array<std::string_view, 5> kDatePatternTexts = {"yyyymmdd", "yymmdd", "mmdd",
                                                                      "yyyymm", "yymm"};

// The pattern a text names exactly, if any.
std::optional<DatePattern> DatePatternFromText(std::string_view text);

// The date written in `pattern`: zero-padded numbers only, never a dot.
std::string FormatDatePrefix(const CalendarDate& date, DatePattern pattern);

}  // namespace karvel
