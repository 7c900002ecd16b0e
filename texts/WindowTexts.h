#pragma once
// The window's own texts: its caption, controls, menus, list headers and status bar.

#include <string_view>

namespace karvel {

// The caption; {1} is the version.
inline constexpr std::string_view kWindowTitle = "Karvel   Ver. {1}";
inline constexpr std::string_view kMessageTitle = "Karvel";

// What a control shows until the program gives it a text of its own.
inline constexpr std::string_view kFolderLabelFirst = "Label1";
inline constexpr std::string_view kStartNoFirst = "Text1";

// The option panel.
inline constexpr std::string_view kStartNoLabel = "連番開始番号";
inline constexpr std::string_view kDigitsLabel = "桁の連番にする";
inline constexpr std::string_view kKeepDateOption = "更新日付も合わせる";
inline constexpr std::string_view kCarryOptions = "オプションを引継ぐ";
inline constexpr std::string_view kStartButton = "ReName Start";
inline constexpr std::string_view kClearButton = "ALL Clear";
inline constexpr std::string_view kEndButton = "End";

// The menus; & marks the access key.
inline constexpr std::string_view kFileMenu = "ﾌｧｲﾙ(&F)";
inline constexpr std::string_view kStartMenu = "開始(&S)";
inline constexpr std::string_view kUndoMenu = "元に戻す(&U)";
inline constexpr std::string_view kOnTopMenu = "常に最前面表示(&F)";
inline constexpr std::string_view kEndMenu = "終了(&C)";
inline constexpr std::string_view kPopupMenu = "ポップアップ";
inline constexpr std::string_view kRemoveMenu = "対象から外す";

// The list's column headers.
inline constexpr std::string_view kBeforeNameHeader = "Before Name";
inline constexpr std::string_view kAfterNameHeader = "After Name";
inline constexpr std::string_view kModifiedHeader = "更新日時";

// The status bar while a drop is read and once the list is ready; an empty list asks
// for a drop with kMsgNoTargets.
inline constexpr std::string_view kStatusLoading = "ﾌｧｲﾙ情報取得中 ・・・";
inline constexpr std::string_view kStatusReady = "Startボタンを押下してください";

}  // namespace karvel
