#pragma once
// The texts of the start command's and the run's messages. Lone CR and CR LF
// line breaks are part of the texts.

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace karvel {

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

// A name as messages and printed lines show it: control characters escaped ("\n",
// "\t", "\r", "\x1B"), so that no name can break a line or drive a terminal.
std::string ShownName(std::string_view name);

// "3 File の ReName を開始します  よろしいですか？" for three rows.
std::string ConfirmationText(std::size_t rowCount);
std::string SourceMissingText(std::string_view beforeName);
std::string TargetExistsText(std::string_view beforeName, std::string_view afterName);
// The failure's code in decimal and the system's one-line text for it.
// A record of the run that could not be written: the run stops before this row changes.
std::string RecordFailedText(std::string_view beforeName, std::string_view afterName);
std::string FailureText(const std::error_code& error, std::string_view beforeName,
                        std::string_view afterName);
// The lock that lets one run or undo go at a time cannot be taken: nothing starts.
std::string LockProblemText(std::string_view lockPath, const std::error_code& error);

// A file a stopped group could not take back to its old name, and where it is now.
struct DisplacedFile {
    std::string beforeName;
    std::string nameNow;
};
// Lines added to a stop message for each such file; undo can restore them later.
std::string DisplacedFilesText(const std::vector<DisplacedFile>& files);

}  // namespace karvel
