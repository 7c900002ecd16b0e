#pragma once
// Taking runs back: the newest run with something left to restore gets its old names
// and stamps again, last step first, with the same renames that never replace and
// inside the run's own folder only. A file changed or moved since is left alone, named,
// and kept in the run's journal for a later undo.

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "rename/RunFileSystem.h"
#include "rename/RunHistory.h"
#include "rename/RunHost.h"
#include "rename/RunJournal.h"

namespace karvel {

inline constexpr std::string_view kMsgNothingToUndo = "元に戻す変換処理はありません";

enum class SkipReason { FolderMissing, Missing, Changed, NameTaken, Failed };

struct SkippedFile {
    std::string name;  // the name the file has now
    SkipReason reason;
    std::error_code error;  // for Failed
};

struct UndoReport {
    std::size_t restored = 0;          // files back under their old names and stamps
    std::vector<SkippedFile> skipped;  // left alone, still to restore
    std::vector<std::size_t> done;     // journal entries dealt with
};

// Tells `host` of its progress and yields to it after each file.
UndoReport UndoJournal(const Journal& journal, RunFileSystem& fileSystem, RunHost& host);

enum class UndoResult { Refused, Busy, Declined, Completed, Skipped };

// Asks for confirmation, undoes the newest run of `stateFolder` that has something to
// restore, marks what it restored and reports; a run fully restored leaves the history.
UndoResult UndoLastRun(const std::string& stateFolder, RunHost& host, RunFileSystem& fileSystem);

// Drops the run undo would take back next; false when there is none.
bool ForgetLastRun(const std::string& stateFolder);

// The history, newest first: when, where, files renamed and files still to restore.
std::string HistoryText(const std::string& stateFolder);

std::string UndoConfirmationText(std::size_t fileCount);
std::string UndoReportText(const UndoReport& report);

}  // namespace karvel
