#pragma once
// Taking the last run back: its files get their old names and stamps again, last row
// first, with the same renames that never replace. A file moved or changed since the
// run is left alone and named.

#include <string>
#include <string_view>
#include <vector>

#include "rename/RunFileSystem.h"
#include "rename/RunHost.h"
#include "rename/RunJournal.h"

namespace karvel {

inline constexpr std::string_view kMsgNothingToUndo = "元に戻す変換処理はありません";

struct UndoReport {
    std::size_t restored = 0;           // files back under their old names
    std::vector<std::string> skipped;   // new names left alone
};

// Tells `host` of its progress and yields to it after each file.
UndoReport UndoJournal(const Journal& journal, RunFileSystem& fileSystem, RunHost& host);

enum class UndoResult { Refused, Declined, Completed, Skipped };

// Asks for confirmation, undoes the journal at `journalPath`, removes it and reports.
UndoResult UndoLastRun(const std::string& journalPath, RunHost& host, RunFileSystem& fileSystem);

// Whether there is a run to take back.
bool CanUndo(const std::string& journalPath);

std::string UndoConfirmationText(std::size_t fileCount);
std::string UndoReportText(const UndoReport& report);

}  // namespace karvel
