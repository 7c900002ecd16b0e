#pragma once
// The start command and the rename run: every listed file, top to bottom, gets the
// chosen date as its modified date and then its new name. The run stops at the first
// row that fails; rows before it stay renamed.

#include <cstddef>

#include "filetime/FileTimes.h"
#include "naming/DatePrefix.h"
#include "rename/RunFileSystem.h"
#include "rename/RunHost.h"
#include "rename/RunJournal.h"

namespace karvel {

class TargetList;

// What the run reads of the window once, before the first row.
struct RunSettings {
    CalendarDate date;
    bool midnight = false;  // ChkTime: the modified time of day becomes 00:00:00.000
};

enum class RunResult {
    Refused,      // nothing to rename, or no usable new names
    Declined,     // the confirmation was not answered Yes
    Completed,    // every row renamed
    Stopped,      // a row failed its checks or its rename
    Interrupted,  // the host asked to stop after a file
};

struct RunReport {
    RunResult result = RunResult::Refused;
    std::size_t renamed = 0;  // rows renamed, from the top
};

// The modified instant moved to `date` (and to midnight when asked); the access and
// birth instants stay exactly as they were.
FileInstants RestampedInstants(const FileInstants& original, const CalendarDate& date, bool midnight);

// Checks, asks for confirmation, runs with the busy pointer and leaves the list asking
// for new files however the run ended.
// With a journal, every row is recorded before its file changes, so the run can be undone.
RunReport BtnStart_Click(TargetList& list, const RunSettings& settings, RunHost& host,
                         RunFileSystem& fileSystem, RunJournal* journal = nullptr);

// The run proper, without the checks and the confirmation.
RunReport RenameTargets(TargetList& list, const RunSettings& settings, RunHost& host,
                        RunFileSystem& fileSystem, RunJournal* journal = nullptr);

}  // namespace karvel
