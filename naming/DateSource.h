#pragma once
// Where each row's date comes from: the calendar's one date for every row, or each
// file's own, its capture time or its modified time.

#include <array>
#include <optional>
#include <string_view>

#include "texts/DateTexts.h"

namespace karvel {

enum class DateSource { Calendar = 0, Taken = 1, Modified = 2 };

// A stored or listed index, 0 to 2; anything else is no source.
constexpr std::optional<DateSource> DateSourceFromIndex(int index) {
    if (index < 0 || index > 2) return std::nullopt;
    return static_cast<DateSource>(index);
}

// The command line's words: calendar, taken, modified.
constexpr std::optional<DateSource> DateSourceFromWord(std::string_view word) {
    if (word == "calendar") return DateSource::Calendar;
    if (word == "taken") return DateSource::Taken;
    if (word == "modified") return DateSource::Modified;
    return std::nullopt;
}

}  // namespace karvel
