#pragma once
// The start command's and the run's messages, their values put in.

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "texts/RunTexts.h"

namespace karvel {

// A name as messages and printed lines show it: control characters escaped ("\n",
// "\t", "\r", "\x1B"), so that no name can break a line or drive a terminal.
std::string ShownName(std::string_view name);

// The question before a run of `rowCount` rows.
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
