#include "settings/NumberText.h"
#include "text/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace karvel {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<std::int16_t> NumberTextToInt16(std::string_view text) {
    const std::string_view t = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }

    // The whole part saturates far above the range, so that any number of
    // digits (leading zeros included) is read without overflow.
    constexpr std::int32_t kSaturated = 1'000'000;
    std::int32_t whole = 0;
    std::size_t digits = 0;
    for (; i < t.size() && IsDigit(t[i]); ++i, ++digits) {
        whole = std::min(kSaturated, whole * 10 + (t[i] - '0'));
    }

    // Only the first fraction digit and whether any later one is non-zero
    // decide the rounding; the text is rounded exactly, not through a float.
    int firstFraction = 0;
    bool laterNonZero = false;
    if (i < t.size() && t[i] == '.') {
        ++i;
        for (std::size_t k = 0; i < t.size() && IsDigit(t[i]); ++i, ++k, ++digits) {
            const int d = t[i] - '0';
            if (k == 0) {
                firstFraction = d;
            } else if (d != 0) {
                laterNonZero = true;
            }
        }
    }
    if (i != t.size() || digits == 0) return std::nullopt;

    const bool roundUp =
        firstFraction > 5 || (firstFraction == 5 && (laterNonZero || whole % 2 == 1));
    if (roundUp) ++whole;
    const std::int32_t value = negative ? -whole : whole;
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

std::string NumberText(double value) {
    // Narrowing a double beyond the float range is undefined; such a value has no text.
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) return {};
    const float single = static_cast<float>(value);

    // Seven significant digits in scientific form, then laid out plainly.
    char buffer[32];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, single, std::chars_format::scientific, 6);
    if (error != std::errc()) return {};
    const std::string_view sci(buffer, static_cast<std::size_t>(end - buffer));

    const bool negative = !sci.empty() && sci.front() == '-';
    const std::size_t ePos = sci.find('e');
    if (ePos == std::string_view::npos) return {};
    std::string digits;
    for (const char c : sci.substr(0, ePos)) {
        if (IsDigit(c)) digits.push_back(c);
    }
    const int exponent = std::atoi(std::string(sci.substr(ePos + 1)).c_str());

    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    if (digits == "0") return "0";  // also for -0

    std::string out = negative ? "-" : "";
    const long pointAt = static_cast<long>(exponent) + 1;  // digits before the point
    const long count = static_cast<long>(digits.size());
    if (pointAt >= count) {
        out += digits;
        out.append(static_cast<std::size_t>(pointAt - count), '0');
    } else if (pointAt <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-pointAt), '0');
        out += digits;
    } else {
        out += digits.substr(0, static_cast<std::size_t>(pointAt));
        out += '.';
        out += digits.substr(static_cast<std::size_t>(pointAt));
    }
    return out;
}

}  // namespace karvel
