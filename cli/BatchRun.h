#pragma once
// The rename without a window: files taken in as a drop, names from the options given
// or stored, and the same run with the terminal as its host.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "naming/DatePrefix.h"
#include "naming/DateSource.h"
#include "rename/RunFileSystem.h"
#include "rename/RunJournal.h"

namespace karvel {

// The order of the rows, and so of the serials: by old name (as a drop sorts them), by
// modified time (as the window's column sorts them), or as the files were given.
enum class BatchSort { Name, Time, None };
std::optional<BatchSort> ParseBatchSort(std::string_view text);

// Each option left empty comes from the settings file, as a new window would show it.
struct BatchRequest {
    std::optional<CalendarDate> date;    // otherwise today
    std::optional<DateSource> dateFrom;  // otherwise as the window would start
    std::optional<std::string> pattern;
    std::optional<std::string> digits;
    std::optional<std::string> start;
    std::optional<bool> midnight;
    std::optional<BatchSort> sort;  // by name when not given
    bool dryRun = false;
    bool verbose = false;  // a run also tells which way its folder renamed
    bool assumeYes = false;
    bool noUndo = false;             // run even where no journal can be kept
    std::vector<std::string> files;  // absolute paths, as bytes
};

// Exit statuses of the command line.
inline constexpr int kExitRenamed = 0;
inline constexpr int kExitNotRenamed = 1;  // refused, declined, stopped at a row
inline constexpr int kExitUsage = 2;

// A usage error's one line, or nothing when the request can run.
std::optional<std::string> CheckBatchRequest(const BatchRequest& request);

// "YYYY-MM-DD" as a calendar date between 1601 and 9999.
std::optional<CalendarDate> ParseIsoDate(std::string_view text);

// The paths of a --files-from list, or the one line saying why it cannot be used.
struct PathList {
    std::vector<std::string> paths;
    std::optional<std::string> problem;
};

// A list of paths, one a line or NUL-separated, taken exactly as written (blanks
// included); empty entries skipped, relative paths made absolute against
// `currentFolder`. An entry longer than a path can be, or a relative one without a
// current folder, makes the list unusable.
PathList SplitPathList(std::string_view bytes, bool nullSeparated,
                       const std::optional<std::string>& currentFolder);

// The list named `source` ("-" for standard input): a regular file or a pipe only, read
// until an entry runs longer than a path can be.
PathList ReadPathList(const std::string& source, bool nullSeparated,
                      const std::optional<std::string>& currentFolder);

struct BatchStreams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// Runs a checked request; returns the exit status. Never writes the settings file.
// With `records`, the run takes the lock and keeps its journal there.
int RunBatch(const BatchRequest& request, const std::string& iniPath, const CalendarDate& today,
             BatchStreams streams, RunFileSystem& fileSystem, RunRecords* records = nullptr);

}  // namespace karvel
