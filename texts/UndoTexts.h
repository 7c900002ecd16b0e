#pragma once
// What undo says: its question, its report and the history of the runs kept for it.

#include <string_view>

namespace karvel {

inline constexpr std::string_view kMsgNothingToUndo = "元に戻す変換処理はありません";
// {1}: the number of files.
inline constexpr std::string_view kMsgConfirmUndo =
    "{1} File の名前と更新日時を元に戻します  よろしいですか？";
inline constexpr std::string_view kMsgRestored = "{1} File を元に戻しました";
inline constexpr std::string_view kMsgNotRestoredHead = "\r\n戻していないファイル:";
// A file left alone: its name now and why; after a refusal also the error's code and
// text.
inline constexpr std::string_view kMsgNotRestoredLine = "\r\n( {1} ) {2}";
inline constexpr std::string_view kMsgNotRestoredFailed = "\r\n( {1} ) {2} {3} {4}";

// Why a file was left alone.
inline constexpr std::string_view kSkipFolderMissing = "フォルダが見つかりません";
inline constexpr std::string_view kSkipMissing = "見つかりません";
inline constexpr std::string_view kSkipChanged = "実行後に変更されています";
inline constexpr std::string_view kSkipNameTaken = "元の名前が使われています";
inline constexpr std::string_view kSkipWithItsGroup =
    "一緒に名前を変えたファイルを戻せないため戻していません";

// karvel --undo --list, tab-separated: when, folder, files renamed, files to restore.
// {5}: empty, or one of the notes below.
inline constexpr std::string_view kHistoryRun = "{1}\t{2}\t{3} renamed\t{4} to restore{5}\n";
// {2}: the journal that cannot be read.
inline constexpr std::string_view kHistoryUnreadable = "{1}\t(unreadable)\t{2}\n";
inline constexpr std::string_view kHistoryKilled = "\t(stopped by a kill)";
inline constexpr std::string_view kHistoryUnreachable = "\t(folder not reachable)";
inline constexpr std::string_view kHistoryUnknownTime = "(unknown time)";
inline constexpr std::string_view kHistoryEmpty = "no runs are kept for undo\n";
inline constexpr std::string_view kNothingToForget = "no run to forget";

}  // namespace karvel
