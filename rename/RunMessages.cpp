#include "rename/RunMessages.h"

namespace karvel {

namespace {

std::string RowPair(std::string_view beforeName, std::string_view afterName) {
    std::string text = "( ";
    text += beforeName;
    text += " > ";
    text += afterName;
    text += " )";
    return text;
}

}  // namespace

std::string ConfirmationText(std::size_t rowCount) {
    return std::to_string(rowCount) + " File の ReName を開始します  よろしいですか？";
}

std::string SourceMissingText(std::string_view beforeName) {
    std::string text = "ファイルが見つかりません  処理を中断します\r( ";
    text += beforeName;
    text += " )";
    return text;
}

std::string TargetExistsText(std::string_view beforeName, std::string_view afterName) {
    return "変換後のファイル名称は既に存在します  処理を中断します\r" + RowPair(beforeName, afterName);
}

std::string FailureText(const std::error_code& error, std::string_view beforeName,
                        std::string_view afterName) {
    // No blank between the description and the row: the text has always read so.
    return "エラーが発生しました\r\n" + std::to_string(error.value()) + " " + error.message() +
           RowPair(beforeName, afterName);
}

}  // namespace karvel
