#pragma once
// What the list says of each row's own date: where it came from, and why a file that was
// asked for its capture time gave none.

#include <string_view>

#include "targets/OwnDate.h"

namespace karvel {

inline constexpr std::string_view kDateOriginHeader = "日付の元";
inline constexpr std::string_view kDateOriginCalendar = "カレンダー";
inline constexpr std::string_view kDateOriginTaken = "撮影日時";
inline constexpr std::string_view kDateOriginModified = "更新日時";
inline constexpr std::string_view kDateOriginModifiedInstead = "更新日時 (撮影日時なし)";
inline constexpr std::string_view kDateOriginPending = "読込中";
inline constexpr std::string_view kDatesReadingFormat = "日付 %v / %m";

constexpr std::string_view DateOriginText(DateOrigin origin) {
    switch (origin) {
        case DateOrigin::Taken:
            return kDateOriginTaken;
        case DateOrigin::Modified:
            return kDateOriginModified;
        case DateOrigin::ModifiedInstead:
            break;
    }
    return kDateOriginModifiedInstead;
}

// Why there was no capture time: the row's tooltip.
constexpr std::string_view NoCaptureText(NoCaptureWhy why) {
    switch (why) {
        case NoCaptureWhy::None:
            return {};
        case NoCaptureWhy::NoMetadata:
            return "撮影情報 (Exif など) がありません";
        case NoCaptureWhy::NoDate:
            return "撮影情報に撮影日時がありません";
        case NoCaptureWhy::BadDate:
            return "撮影日時が空か、正しくない日付です";
        case NoCaptureWhy::Unreadable:
            return "ファイルを読めません";
        case NoCaptureWhy::NotRegularFile:
            return "通常のファイルではありません";
        case NoCaptureWhy::UnknownFormat:
            return "撮影日時を読める画像・動画の形式ではありません";
        case NoCaptureWhy::LibraryError:
            break;
    }
    return "撮影情報を読めません (壊れたファイル)";
}

}  // namespace karvel
