#pragma once
// Taking runs back: the newest run with something left to restore gets its old names
// and stamps again, last group first, with the same renames that never replace and
// inside the run's own folder only. The files of a ring or a chain go back together or
// not at all; a group with a file changed or moved since is left alone, named, and kept
// in the run's journal for a later undo. Whatever a killed run or undo left half done,
// the next undo finds it on the disk and finishes it.

#include <cstddef>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "rename/RunFileSystem.h"
#include "rename/RunHistory.h"
#include "rename/RunHost.h"
#include "rename/RunJournal.h"
#include "texts/UndoTexts.h"

namespace karvel {

enum class SkipReason { FolderMissing, Missing, Changed, NameTaken, Failed, WithItsGroup };

struct SkippedFile {
    std::string name;  // the name the file has now
    SkipReason reason;
    std::error_code error;  // for Failed
};

struct UndoReport {
    std::size_t restored = 0;          // files given back their old names or stamps
    std::vector<SkippedFile> skipped;  // left alone, still to restore
    std::vector<std::size_t> done;     // journal entries dealt with
    bool stopped = false;              // the host asked to stop before the end
};

// What an undo of `journal` would do, looked at without changing anything.
struct UndoPreview {
    bool folderReachable = false;
    std::size_t toRestore = 0;  // files it would move back or re-stamp
    std::size_t groupsBlocked = 0;
};
UndoPreview PreviewUndo(const Journal& journal, RunFileSystem& fileSystem);

// Tells `host` of its progress and yields to it after each group. Karvel's scratch files
// (placeholders on disks that need them) are told of to `notes` first.
UndoReport UndoJournal(const Journal& journal, RunFileSystem& fileSystem, RunHost& host,
                       ScratchNotes* notes = nullptr);

enum class UndoResult { Refused, Busy, Declined, Completed, Skipped };

// What the undo question is about: the run it takes back and the files it will restore.
struct UndoQuestion {
    std::string folder;
    std::optional<std::time_t> started;
    std::size_t files = 0;
};
// The question's text; by default UndoConfirmationText of the files.
using UndoQuestionText = std::function<std::string(const UndoQuestion&)>;

// Asks for confirmation, undoes the newest run of `history` that has something to
// restore, marks what it restored and reports; a run fully restored leaves the history.
// Where nothing can be restored (its folder not reachable, every group changed since)
// nothing is asked: the report says why.
UndoResult UndoLastRun(const History& history, RunHost& host, RunFileSystem& fileSystem,
                       const UndoQuestionText& questionText = {});

// Drops the run undo would take back next; otherwise says why not.
struct ForgetOutcome {
    bool forgotten = false;
    std::string problem;
};
ForgetOutcome ForgetLastRun(const History& history);

// The history, newest first: when, where, files renamed and files still to restore. A run
// that was killed is looked at on the disk, so that only what it really did is counted.
std::string HistoryText(const History& history, RunFileSystem& fileSystem);

std::string UndoConfirmationText(std::size_t fileCount);
std::string UndoReportText(const UndoReport& report);

}  // namespace karvel
