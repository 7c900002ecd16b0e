#pragma once
// The files' own dates: the source list's items, the list's column, and why a file gave no
// capture time.

#include <array>
#include <string_view>

namespace karvel {

inline constexpr std::string_view kDateSourceCalendar = "カレンダー";
inline constexpr std::string_view kDateSourceTaken = "撮影日時";
inline constexpr std::string_view kDateSourceModified = "更新日時";
// The drop-down list's items, in the order of the sources.
inline constexpr std::array<std::string_view, 3> kDateSourceTexts = {
    kDateSourceCalendar, kDateSourceTaken, kDateSourceModified};

inline constexpr std::string_view kDateOriginHeader = "日付の元";
inline constexpr std::string_view kDateOriginModifiedInstead = "更新日時 (撮影日時なし)";
inline constexpr std::string_view kDateOriginPending = "読込中";
inline constexpr std::string_view kDatesReadingFormat = "日付 %v / %m";

inline constexpr std::string_view kNoCaptureMetadata = "撮影情報 (Exif など) がありません";
inline constexpr std::string_view kNoCaptureDate = "撮影情報に撮影日時がありません";
inline constexpr std::string_view kNoCaptureBadDate = "撮影日時が空か、正しくない日付です";
inline constexpr std::string_view kNoCaptureUnreadable = "ファイルを読めません";
inline constexpr std::string_view kNoCaptureNotRegular = "通常のファイルではありません";
inline constexpr std::string_view kNoCaptureUnknownFormat =
    "撮影日時を読める画像・動画の形式ではありません";
inline constexpr std::string_view kNoCaptureLibraryError = "撮影情報を読めません (壊れたファイル)";

}  // namespace karvel
