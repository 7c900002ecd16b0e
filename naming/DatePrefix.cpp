#include "naming/DatePrefix.h"

#include <cstdlib>

namespace karvel {

std::optional<DatePattern> DatePatternFromText(std::string_view text) {
    for (std::size_t i = 0; i < kDatePatternTexts.size(); ++i) {
        if (kDatePatternTexts[i] == text) return static_cast<DatePattern>(i);
    }
    return std::nullopt;
}

namespace {

void AppendPadded(std::string& out, int value, std::size_t width) {
    const std::string digits = std::to_string(std::abs(value));
    if (value < 0) out.push_back('-');
    if (digits.size() < width) out.append(width - digits.size(), '0');
    out += digits;
}

}  // namespace

std::string FormatDatePrefix(const CalendarDate& date, DatePattern pattern) {
    std::string out;
    const bool fullYear = pattern == DatePattern::yyyymmdd || pattern == DatePattern::yyyymm;
    const bool shortYear = pattern == DatePattern::yymmdd || pattern == DatePattern::yymm;
    const bool withDay = pattern == DatePattern::yyyymmdd || pattern == DatePattern::yymmdd ||
                         pattern == DatePattern::mmdd;
    if (fullYear) AppendPadded(out, date.year, 4);
    if (shortYear) AppendPadded(out, std::abs(date.year) % 100, 2);
    AppendPadded(out, date.month, 2);
    if (withDay) AppendPadded(out, date.day, 2);
    return out;
}

}  // namespace karvel
