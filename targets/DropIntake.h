#pragma once
// Taking dropped files into the target list.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "naming/NewNames.h"
#include "targets/FolderReader.h"
#include "targets/TargetList.h"

namespace karvel {

enum class LeftOutReason : std::uint8_t {
    NotAbsolute,  // a path no folder can be told for
    Unusable,     // empty, or holding a NUL byte: the system would read another path
    Missing,      // nothing there, or it cannot be looked at
    Folder,       // a folder, or a link to one
    OtherFolder,  // a file of another folder than the first file's
};

// A dropped path that did not become a row.
struct LeftOut {
    std::string path;
    LeftOutReason reason;
};

// Replaces the list with the dropped files: the list is emptied, shows the
// loading text (then `onLoading` runs, so a window can paint it at once), takes
// one row per dropped file of the target folder, sorts the rows by name and
// builds every new name from `options`, reads the folder once for the conflict
// preview and marks the rows.
//
// Paths are absolute and taken exactly as given, blanks included. Each row records
// which file it is (device and inode) from the one look taken at it. The target
// folder is the folder of the first path that names a file, written without links,
// "." or ".." and with its identity recorded; a file belongs to it when its own
// folder is the same folder, however that is spelled. Every other path is left out
// and, when `leftOut` is given, listed there with its reason. A file given twice is
// one row. Returns whether any row was added; without one the list ends empty.
//
// Without `listShown` (a run that shows no list) the files of a folder are told from
// one listing of it instead of a look at each, the rows' modified times stay empty and
// the folder is not read for the marks: the run checks every row itself.
bool TakeInDrop(TargetList& list, const std::vector<std::string>& paths,
                const NamingOptions& options, const std::function<void()>& onLoading = {},
                std::vector<LeftOut>* leftOut = nullptr, bool listShown = true,
                FolderReader& reader = SystemFolderReader());

}  // namespace karvel
