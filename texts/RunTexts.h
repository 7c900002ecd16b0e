#pragma once
// The start command's and the run's messages.

#include <string_view>

namespace karvel {

// Lone CR and CR LF line breaks and double blanks are part of the texts. {1}, {2}...
// stand for the values FillText puts in.

// Also the status bar of an empty or a spent list.
inline constexpr std::string_view kMsgNoTargets = "対象ﾌｧｲﾙをﾄﾞﾛｯﾌﾟして下さい";
inline constexpr std::string_view kMsgNamesUnusable = "変換後のファイル名称を作成できません";
inline constexpr std::string_view kMsgDatesPending =
    "ファイルの日付を読み込んでいます。読み終えてから開始して下さい";
inline constexpr std::string_view kMsgSucceeded = "変換処理が正常終了しました";
inline constexpr std::string_view kMsgAnotherRun =
    "他の変換処理または元に戻す処理が実行中です  処理を中断します";
inline constexpr std::string_view kMsgNoUndoRecord =
    "元に戻すための記録を作成できません\r元に戻せないまま変換処理を開始しますか？";
inline constexpr std::string_view kMsgForgetSkipped = "戻していないファイルの記録を破棄しますか？";
inline constexpr std::string_view kMsgDateNotStorable =
    "選択した日付はこのディスクに記録できません  処理を中断します";
// {1}: the number of rows.
inline constexpr std::string_view kMsgConfirmRun =
    "{1} File の ReName を開始します  よろしいですか？";
// {1}: the old name.
inline constexpr std::string_view kMsgSourceMissing =
    "ファイルが見つかりません  処理を中断します\r( {1} )";
// {1} > {2}: the old name and the new one.
inline constexpr std::string_view kMsgTargetExists =
    "変換後のファイル名称は既に存在します  処理を中断します\r( {1} > {2} )";
inline constexpr std::string_view kMsgRecordFailed =
    "元に戻すための記録を書き込めないため残りのファイルは変換しません  処理を中断します\r( {1} > "
    "{2} )";
// Also why undo left a file alone when the system refused.
inline constexpr std::string_view kErrorOccurred = "エラーが発生しました";
// kErrorOccurred, then the error's code and the system's text for it, then the row. No blank
// between the description and the row: the text has always read so.
inline constexpr std::string_view kMsgFailure = "{1}\r\n{2} {3}( {4} > {5} )";
// {1}: the lock file; {2} {3}: the error's code and text.
inline constexpr std::string_view kMsgLockProblem =
    "ロックファイルを使用できないため処理を開始できません\r( {1} )\r\n{2} {3}";
// Added to a stop message when a group could not go back to its old names.
inline constexpr std::string_view kMsgDisplacedHead =
    "\r\n元の名前に戻せなかったファイル (「元に戻す」で戻せます):";
// One for each such file: its old name and where it is now.
inline constexpr std::string_view kMsgDisplacedLine = "\r\n( {1} ) は {2} にあります";
// Before a run that stops at a row: {1} the row, {2} why, {3} > {4} the names, {5} the
// rows renamed before it.
inline constexpr std::string_view kMsgKnownStop =
    "{1} 行目で処理が中断します  {2}\r( {3} > {4} )\r\n中断までに変換されるのは {5} File です  "
    "開始しますか？";

}  // namespace karvel
