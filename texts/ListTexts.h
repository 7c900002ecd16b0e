#pragma once
// What the list's rows show besides the names: the reasons a new name cannot be used and
// the units of a modified time.

#include <string_view>

namespace karvel {

// Why a row's new name cannot be used: the After Name's tooltip and the start warning.
inline constexpr std::string_view kConflictEmptyName = "変換後の名前が空です";
inline constexpr std::string_view kConflictDuplicateName = "変換後の名前が他の行と重複しています";
inline constexpr std::string_view kConflictNameTaken = "同じ名前のファイルが既に存在します";
inline constexpr std::string_view kConflictNameTooLong = "変換後の名前が長すぎます";
inline constexpr std::string_view kConflictSourceUnusable =
    "元のファイルが見つからないか通常のファイルではありません";

// The units of a modified time written with kanji. The day's unit carries a blank of its
// own, so a time after it follows two blanks.
inline constexpr std::string_view kYearUnit = "年";
inline constexpr std::string_view kMonthUnit = "月";
inline constexpr std::string_view kDayUnit = "日 ";
inline constexpr std::string_view kHourUnit = "時";
inline constexpr std::string_view kMinuteUnit = "分";
inline constexpr std::string_view kSecondUnit = "秒";

}  // namespace karvel
