#include "capture/ClockText.h"

#include <chrono>

#include "text/Text.h"

namespace karvel {

namespace {

// The number `text` holds when it is all digits.
std::optional<int> Digits(std::string_view text) {
    if (text.empty()) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool OneOf(char c, std::string_view allowed) {
    return allowed.find(c) != std::string_view::npos;
}

std::chrono::year_month_day CalendarDate(const WallClock& clock) {
    return {std::chrono::year{clock.year}, std::chrono::month{static_cast<unsigned>(clock.month)},
            std::chrono::day{static_cast<unsigned>(clock.day)}};
}

}  // namespace

std::optional<WallClock> ParseClockText(std::string_view text, std::string_view dateSeparators,
                                        std::string_view middle) {
    // 2024:03:05 14:07:09
    // 0123456789012345678
    if (text.size() != 19 || !OneOf(text[4], dateSeparators) || text[7] != text[4] ||
        !OneOf(text[10], middle) || text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    const auto year = Digits(text.substr(0, 4));
    const auto month = Digits(text.substr(5, 2));
    const auto day = Digits(text.substr(8, 2));
    const auto hour = Digits(text.substr(11, 2));
    const auto minute = Digits(text.substr(14, 2));
    const auto second = Digits(text.substr(17, 2));
    if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
    if (*year < kFirstCaptureYear || *year > kLastCaptureYear || *hour > 23 || *minute > 59 ||
        *second > 59) {
        return std::nullopt;
    }
    const WallClock clock{*year, *month, *day, *hour, *minute, *second, 0};
    if (!CalendarDate(clock).ok()) return std::nullopt;
    return clock;
}

std::optional<long> ParseFraction(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    long nanos = 0;
    long scale = 100'000'000;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        nanos += (c - '0') * scale;
        scale /= 10;
    }
    return nanos;
}

std::int64_t SecondsAsUtc(const WallClock& clock) {
    const std::int64_t days = std::chrono::sys_days{CalendarDate(clock)}.time_since_epoch().count();
    return days * 86'400 + clock.hour * 3'600 + clock.minute * 60 + clock.second;
}

std::string_view TrimPadding(std::string_view text) {
    return Trim(text.substr(0, text.find('\0')));
}

}  // namespace karvel
