#include "rename/RunMessages.h"

#include "text/Text.h"
#include "texts/FillText.h"

namespace karvel {

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
    return FillText(kMsgConfirmRun, {std::to_string(rowCount)});
}

std::string SourceMissingText(std::string_view beforeName) {
    return FillText(kMsgSourceMissing, {ShownName(beforeName)});
}

std::string TargetExistsText(std::string_view beforeName, std::string_view afterName) {
    return FillText(kMsgTargetExists, {ShownName(beforeName), ShownName(afterName)});
}

std::string RecordFailedText(std::string_view beforeName, std::string_view afterName) {
    return FillText(kMsgRecordFailed, {ShownName(beforeName), ShownName(afterName)});
}

std::string FailureText(const std::error_code& error, std::string_view beforeName,
                        std::string_view afterName) {
    return FillText(kMsgFailure, {kErrorOccurred, std::to_string(error.value()), error.message(),
                                  ShownName(beforeName), ShownName(afterName)});
}

std::string LockProblemText(std::string_view lockPath, const std::error_code& error) {
    return FillText(kMsgLockProblem,
                    {ShownName(lockPath), std::to_string(error.value()), error.message()});
}

std::string DisplacedFilesText(const std::vector<DisplacedFile>& files) {
    if (files.empty()) return {};
    std::string text(kMsgDisplacedHead);
    for (const DisplacedFile& file : files)
        text += FillText(kMsgDisplacedLine, {ShownName(file.beforeName), ShownName(file.nameNow)});
    return text;
}

}  // namespace karvel
