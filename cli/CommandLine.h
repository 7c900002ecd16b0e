#pragma once
// The command line: --help, --version, files to open in the window (with Qt's own options
// for it), or a batch run.
// Read without Qt, so that batch mode starts without loading any GUI library.

#include <optional>
#include <string>
#include <vector>

#include "cli/BatchRun.h"

namespace karvel {

struct CommandLine {
    enum class Mode { Window, Batch, Exit };
    Mode mode = Mode::Window;
    int exitStatus = 0;                    // for Exit
    std::string output;                    // for Exit: what goes to the output stream
    std::string error;                     // for Exit: the one line saying what was wrong
    std::vector<std::string> files;        // absolute paths, as the bytes given
    std::vector<std::string> unresolved;   // relative paths with no current folder to read them by
    BatchRequest batch;                    // for Batch, files included
    std::optional<std::string> filesFrom;  // "-" for the input stream
    bool nullSeparated = false;
    bool undo = false;    // for Batch: take the newest run back
    bool list = false;    // with undo: print the history instead
    bool forget = false;  // with undo: drop the newest run instead
    // Qt's own options for the window (-style fusion, -reverse, ...), as given, in order;
    // the window program hands them to Qt.
    std::vector<std::string> qtOptions;
    bool qtPlatformGiven = false;  // -platform: a display is Qt's to find
};

// `arguments` are argv's bytes from the first argument on; `currentFolder` makes file
// arguments absolute (without it, relative ones are refused in batch mode and left out
// of the window's list).
CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::optional<std::string>& currentFolder);

// What --help prints.
std::string HelpText();

}  // namespace karvel
