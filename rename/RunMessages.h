#pragma once
// The texts of the start command's and the run's messages. Lone CR and CR LF
// line breaks are part of the texts.

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

namespace karvel {

inline constexpr std::string_view kMsgNoTargets = "対象ﾌｧｲﾙをﾄﾞﾛｯﾌﾟして下さい";
inline constexpr std::string_view kMsgNamesUnusable = "変換後のファイル名称を作成できません";
inline constexpr std::string_view kMsgSucceeded = "変換処理が正常終了しました";

// "3 File の ReName を開始します  よろしいですか？" for three rows.
std::string ConfirmationText(std::size_t rowCount);
std::string SourceMissingText(std::string_view beforeName);
std::string TargetExistsText(std::string_view beforeName, std::string_view afterName);
// The failure's code in decimal and the system's one-line text for it.
std::string FailureText(const std::error_code& error, std::string_view beforeName,
                        std::string_view afterName);

}  // namespace karvel
