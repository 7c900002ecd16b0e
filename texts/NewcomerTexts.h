#pragma once
// The window's texts for opening files, the help menu, files left out of the list and the
// undo question's run, in UTF-8.

#include <string_view>

namespace karvel::newcomer {

// The ﾌｧｲﾙ menu's first item and the file dialog it opens.
inline constexpr std::string_view kMenuOpen = "ファイルを開く(&O)...";
inline constexpr std::string_view kOpenDialogTitle = "ファイルを開く";

// The help menu.
inline constexpr std::string_view kMenuHelp = "ヘルプ(&H)";
inline constexpr std::string_view kMenuHelpPage = "Karvel のヘルプ(&H)";
inline constexpr std::string_view kMenuAbout = "バージョン情報(&A)...";
// The about box: the window's title, then this line.
inline constexpr std::string_view kAboutLine =
    "選んだ日付と連番で、1 つのフォルダーのファイル名をまとめて変更します";
// No help page where the program looks for it; the paths looked at follow, one a line.
inline constexpr std::string_view kHelpMissing = "ヘルプが見つかりません";
// The help page is there but no browser opened it; its path follows.
inline constexpr std::string_view kHelpNotOpened = "ヘルプを開くブラウザーが見つかりません";

// The status bar's panel for files a drop or an opened list left out: "除外 2".
inline constexpr std::string_view kLeftOutPanel = "除外 ";
// Its tooltip: this line, then "( path ) why" for each file.
inline constexpr std::string_view kLeftOutHeading = "一覧に入らなかったファイル:";
inline constexpr std::string_view kLeftOutNotAbsolute = "パスとして使えません";
inline constexpr std::string_view kLeftOutMissing = "見つかりません";
inline constexpr std::string_view kLeftOutFolder = "フォルダーです";
inline constexpr std::string_view kLeftOutOtherFolder = "最初のファイルと別のフォルダーにあります";
// After the files named: "ほか 12 件" more.
inline constexpr std::string_view kLeftOutMore = "ほか ";
inline constexpr std::string_view kLeftOutMoreCount = " 件";

// Lines the undo question starts with, before its count: the run's folder and when it ran.
inline constexpr std::string_view kUndoFolder = "フォルダー: ";
inline constexpr std::string_view kUndoStarted = "実行日時: ";
inline constexpr std::string_view kUndoStartedUnknown = "不明";

}  // namespace karvel::newcomer
