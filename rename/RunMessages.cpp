#include "rename/RunMessages.h"

#include "text/Text.h"

namespace karvel {

namespace {

std::string RowPair(std::string_view beforeName, std::string_view afterName) {
    std::string text = "( ";
    text += ShownName(beforeName);
    text += " > ";
    text += ShownName(afterName);
    text += " )";
    return text;
}

}  // namespace

std::string ShownName(std::string_view name) {
    std::string shown;
    shown.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            shown += c;
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c == '\r') {
            shown += "\\r";
        } else {
            shown += "\\x";
            shown += kHexDigits[byte >> 4];
            shown += kHexDigits[byte & 0xf];
        }
    }
    return shown;
}

std::string ConfirmationText(std::size_t rowCount) {
    return std::to_string(rowCount) + " File の ReName を開始します  よろしいですか？";
}

std::string SourceMissingText(std::string_view beforeName) {
    std::string text = "ファイルが見つかりません  処理を中断します\r( ";
    text += ShownName(beforeName);
    text += " )";
    return text;
}

std::string TargetExistsText(std::string_view beforeName, std::string_view afterName) {
    return "変換後のファイル名称は既に存在します  処理を中断します\r" +
           RowPair(beforeName, afterName);
}

std::string RecordFailedText(std::string_view beforeName, std::string_view afterName) {
    return "元に戻すための記録を書き込めないため残りのファイルは変換しません  処理を中断します\r" +
           RowPair(beforeName, afterName);
}

std::string FailureText(const std::error_code& error, std::string_view beforeName,
                        std::string_view afterName) {
    // No blank between the description and the row: the text has always read so.
    return "エラーが発生しました\r\n" + std::to_string(error.value()) + " " + error.message() +
           RowPair(beforeName, afterName);
}

std::string LockProblemText(std::string_view lockPath, const std::error_code& error) {
    return "ロックファイルを使用できないため処理を開始できません\r( " + ShownName(lockPath) +
           " )\r\n" + std::to_string(error.value()) + " " + error.message();
}

std::string DisplacedFilesText(const std::vector<DisplacedFile>& files) {
    if (files.empty()) return {};
    std::string text = "\r\n元の名前に戻せなかったファイル (「元に戻す」で戻せます):";
    for (const DisplacedFile& file : files)
        text += "\r\n( " + ShownName(file.beforeName) + " ) は " + ShownName(file.nameNow) +
                " にあります";
    return text;
}

}  // namespace karvel
