#pragma once
// What the karvel command prints: --help, --version, what was wrong with the command line,
// files left out, and the lines of a run on the terminal.

#include <string_view>

namespace karvel {

// What --help prints: the usage, then each option with its value's name and what it does.
inline constexpr std::string_view kHelpUsage =
    "Usage: karvel [options] [FILE...]\n"
    "Renames files to the date of your choice and a serial number, keeping their extensions.\n"
    "Without --batch the window opens with the FILEs in its list; it also takes Qt's\n"
    "own options (-style STYLE, -reverse, -platform NAME, ...).\n\nOptions:\n";
inline constexpr std::string_view kHelpHelp = "Show this help.";
inline constexpr std::string_view kHelpVersion = "Show the version.";
inline constexpr std::string_view kHelpBatch = "Rename without a window.";
inline constexpr std::string_view kHelpDate = "The date of the new names (default: today).";
inline constexpr std::string_view kHelpDateFrom =
    "calendar (the --date for every file), taken (each file's\n"
    "capture time, else its modified time) or modified (each\n"
    "file's modified time); default: as the window starts.";
inline constexpr std::string_view kHelpPattern = "yyyymmdd, yymmdd, mmdd, yyyymm or yymm.";
inline constexpr std::string_view kHelpDigits = "Digits of the serial number, 1 to 5.";
inline constexpr std::string_view kHelpStart = "The first serial number.";
inline constexpr std::string_view kHelpSort =
    "name (by the old names, as the window does), time (by\n"
    "modified time) or none (as the files are given).";
inline constexpr std::string_view kHelpMidnight = "The modified time becomes 00:00:00.";
inline constexpr std::string_view kHelpKeepTime = "The modified time of day stays.";
inline constexpr std::string_view kHelpDryRun =
    "Print old name, new name and modified time of each file,\n"
    "tab-separated (with a file's own date, also where it came\n"
    "from); change nothing. Exit 1 where the run would stop.";
inline constexpr std::string_view kHelpVerbose =
    "Also tell how the folder renames (a dry run: every move; an\nundo: how it told the files).";
inline constexpr std::string_view kHelpYes = "Start without asking for confirmation.";
inline constexpr std::string_view kHelpFilesFrom =
    "Also read the files from LIST, one a line (- for standard input).";
inline constexpr std::string_view kHelpNull = "LIST is separated by NUL characters.";
inline constexpr std::string_view kHelpNoUndo = "Run even where no journal for undo can be kept.";
inline constexpr std::string_view kHelpUndo = "Take the newest run back: old names and stamps.";
inline constexpr std::string_view kHelpList =
    "With --undo: list the runs kept for undo, newest first.";
inline constexpr std::string_view kHelpForget = "With --undo: drop the run --undo would take back.";

// The names of the options' values.
inline constexpr std::string_view kValueDate = "YYYY-MM-DD";
inline constexpr std::string_view kValueDateFrom = "SOURCE";
inline constexpr std::string_view kValuePattern = "PATTERN";
inline constexpr std::string_view kValueNumber = "N";
inline constexpr std::string_view kValueSort = "ORDER";
inline constexpr std::string_view kValueFilesFrom = "LIST";
// {1}: the version.
inline constexpr std::string_view kVersionLine = "karvel {1}\n";

// What was wrong with the command line; Usage adds the program's name and a pointer to
// --help.
inline constexpr std::string_view kUsageLine =
    "karvel: {1}\nTry 'karvel --help' for more information.\n";
inline constexpr std::string_view kUnknownOption = "unknown option '{1}'";
inline constexpr std::string_view kOptionTakesNoValue = "option '{1}' takes no value";
inline constexpr std::string_view kMissingValue = "missing value after '{1}'";
inline constexpr std::string_view kNeedsBatch = "these options need --batch";
inline constexpr std::string_view kRelativePath =
    "cannot use the relative path \"{1}\": the current folder cannot be read";
inline constexpr std::string_view kBadDate = "bad date \"{1}\" (use YYYY-MM-DD)";
inline constexpr std::string_view kUnknownDateSource =
    "unknown date source \"{1}\" (use calendar, taken or modified)";
inline constexpr std::string_view kDateOnlyWithCalendar =
    "--date goes only with --date-from calendar";
inline constexpr std::string_view kUnknownOrder = "unknown order \"{1}\" (use name, time or none)";
inline constexpr std::string_view kMidnightOrKeepTime =
    "--midnight and --keep-time exclude each other";
inline constexpr std::string_view kNullNeedsFilesFrom = "--null needs --files-from";
inline constexpr std::string_view kListForgetNeedUndo = "--list and --forget go with --undo";
inline constexpr std::string_view kListOrForget = "--list and --forget exclude each other";
inline constexpr std::string_view kUndoTakesNothing = "--undo takes no files and no naming options";
inline constexpr std::string_view kUnknownPattern =
    "unknown pattern \"{1}\" (use yyyymmdd, yymmdd, mmdd, yyyymm or yymm)";
inline constexpr std::string_view kBadDigits = "digits must be 1 to 5, not \"{1}\"";
inline constexpr std::string_view kBadStart =
    "start must be a number from 0 to 2147483647, not \"{1}\"";
inline constexpr std::string_view kNoFiles = "no files given";
// {1}: the longest path, in bytes.
inline constexpr std::string_view kListLineTooLong =
    "a line of the list is longer than a path can be ({1} bytes)";
// {1}: the list; {2}: why.
inline constexpr std::string_view kListUnreadable = "cannot read the list {1}: {2}";
inline constexpr std::string_view kListNotAFile = "not a regular file or a pipe";

// A file named but left out of the run.
inline constexpr std::string_view kLeftOutUnusable = "karvel: not a usable path: {1}";
inline constexpr std::string_view kLeftOutMissing = "karvel: no such file: {1}";
inline constexpr std::string_view kLeftOutFolder = "karvel: a folder, left out: {1}";
inline constexpr std::string_view kLeftOutOtherFolder =
    "karvel: not in the first file's folder, left out: {1}";

// --verbose: the moves of a dry run, and how a run renamed its folder.
inline constexpr std::string_view kMoveKeep = "karvel: keep {1}";
inline constexpr std::string_view kMoveMove = "karvel: move {1} -> {2}";
inline constexpr std::string_view kTemporaryName = "(temporary)";
inline constexpr std::string_view kRenamedBy = "karvel: the folder renamed by {1}";
inline constexpr std::string_view kWayNoReplace = "renames that never replace";
inline constexpr std::string_view kWayLinkAndUnlink = "a hard link, then the old name removed";
inline constexpr std::string_view kWayPlaceholder =
    "an empty placeholder taken first, then a rename over it";
inline constexpr std::string_view kWayNothingRenamed = "nothing renamed";
// {1}: the file system.
inline constexpr std::string_view kInodesNotKept =
    "karvel: {1} numbers its files anew on each mount: files were told by their names, sizes and "
    "time stamps\n";

// A run stopped by SIGINT or SIGTERM.
inline constexpr std::string_view kStoppedBeforeAnyChange =
    "karvel: stopped by a signal; nothing changed";
// {1} of {2}: files renamed of files listed; {3}: the next one.
inline constexpr std::string_view kStoppedAfter =
    "karvel: stopped by a signal after {1} of {2} files; next: {3}";

// A question on the terminal, and the answer shown when it is not asked.
inline constexpr std::string_view kAskYesNo = " [y/N] ";
inline constexpr std::string_view kAnswerYes = "y";
inline constexpr std::string_view kAnswerNo = "n";

// What undo could not do.
inline constexpr std::string_view kProblemLine = "karvel: {1}\n";

// Starting the window.
inline constexpr std::string_view kNoDisplay =
    "karvel: no display available (DISPLAY and WAYLAND_DISPLAY are not set)\n";
inline constexpr std::string_view kNoWindowProgram =
    "karvel: the window program karvel-window is not installed\n";
// perror's prefix.
inline constexpr std::string_view kCannotStartWindow = "karvel: cannot start karvel-window";
inline constexpr std::string_view kWindowNeedsCommand =
    "karvel-window: start the window with karvel\n";
inline constexpr std::string_view kUnreadableFolderLeftOut =
    "karvel: the current folder cannot be read; left out: {1}\n";

}  // namespace karvel
