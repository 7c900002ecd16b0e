#pragma once
// Where each row's date comes from: the calendar's one date for every row, or each
// file's own, its capture time or its modified time.

#include <array>
#include <optional>
#include <string_view>

namespace karvel {

enum class DateSource { Calendar = 0, Taken = 1, Modified = 2 };

// The drop-down list's items, in the order of the values above.
inline constexpr std::array<std::string_view, 3> kDateSourceTexts = {"カレンダー", "撮影日時",
                                                                     "更新日時"};

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
