#pragma once
// Starting the rename run, and the run itself: every listed file gets its new name and then
// the chosen date as its modified date. Rows go top to bottom unless a listed file
// holds another row's target: then that file moves first, and rows that trade names
// go round through a temporary name. The run stops at the first row that cannot be
// completed; rows before it stay renamed.

#include <cstddef>
#include <optional>
#include <string>

#include "filetime/FileTimes.h"
#include "naming/DatePrefix.h"
#include "naming/DateSource.h"
#include "rename/RunFileSystem.h"
#include "rename/RunHost.h"
#include "rename/RunJournal.h"
#include "targets/TargetList.h"

namespace karvel {

// What the run reads of the window once, before the first row.
struct RunSettings {
    CalendarDate date;
    bool midnight = false;  // ChkTime: the modified time of day becomes 00:00:00.000
    // With the files' own dates each file gets its own: the capture or modified instant,
    // or midnight of its own day; `date` is not used.
    DateSource source = DateSource::Calendar;
    // Plans the moves even where no listed file holds another row's name: both ways must
    // leave the same folder.
    bool planAlways = false;
    // Where the preview knows the run will stop, the warning of that stop is the one
    // question asked (its Yes starts the run) instead of the confirmation.
    bool warnOfKnownStop = false;
};

enum class RunResult {
    Refused,      // nothing to rename, no usable new names, or another run going on
    Declined,     // the confirmation was not answered Yes
    Completed,    // every row renamed
    Stopped,      // a row failed its checks or its rename
    Interrupted,  // the host asked to stop after a file
};

struct RunReport {
    RunResult result = RunResult::Refused;
    std::size_t renamed = 0;  // rows done, from the top
    bool changed = false;     // some file changed at all
};

// The modified instant moved to `date` (and to midnight when asked); the access and
// birth instants stay exactly as they were.
FileInstants RestampedInstants(const FileInstants& original, const CalendarDate& date,
                               bool midnight);

// Checks, asks for confirmation (or warns of a known stop instead), takes the run lock and its
// journal (asking whether to go on without undo when no journal can be made), runs with the busy
// pointer and leaves the list asking for new files however the run ended.
RunReport StartRun(TargetList& list, const RunSettings& settings, RunHost& host,
                   RunFileSystem& fileSystem, RunRecords* records = nullptr);

// The run proper, without the checks and the confirmation. With a journal, every step
// is recorded before it happens; a record that cannot be written stops the run there.
RunReport RenameTargets(TargetList& list, const RunSettings& settings, RunHost& host,
                        RunFileSystem& fileSystem, RunJournal* journal = nullptr);

// The message the run shows where it stops at `row` for `reason`; a dry run prints it too.
std::string StopText(RowConflict reason, const TargetRow& row);

// The warning the start command shows when the preview knows where the run will stop:
// the row, why, and how many rows would be renamed before it. Empty without marks.
std::optional<std::string> KnownStopWarning(const TargetList& list);

}  // namespace karvel
