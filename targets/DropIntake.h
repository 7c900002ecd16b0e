#pragma once
// Taking dropped files into the target list.

#include <cstdint>
#include <string>
#include <vector>

#include "naming/NewNames.h"
#include "targets/DroppedPath.h"
#include "targets/FolderReader.h"
#include "targets/TargetList.h"

namespace karvel {

// How a drop's files are looked at: each one, for a list that shows them; or, for a run
// that shows no list, through one listing of their folder, which leaves the rows'
// modified times empty.
enum class IntakeLook : std::uint8_t { EachFile, OneListing };

// What a drop took in.
struct DroppedFiles {
    std::vector<TargetRow> rows;  // in the order given, each file once, no After Name
    std::string folder;           // of every row, written without links, "." or ".."
    FileId folderId;
    std::vector<LeftOut> leftOut;  // every other path, with its reason
};

// One row per dropped file of the target folder. Paths are absolute and taken exactly as
// given, blanks included. Each row records which file it is (device and inode) from the
// one look taken at it. The target folder is the folder of the first path that names a
// file; a file belongs to it when its own folder is the same folder, however that is
// spelled. A file given twice is one row; another name of it (a hard link) is a row of
// its own.
DroppedFiles ReadDroppedFiles(const std::vector<std::string>& paths, IntakeLook look,
                              FolderReader& reader = SystemFolderReader());

// Replaces the list with the dropped files: sorted by name, named from `options`, the
// folder read for the marks (unless looked at through one listing, for a run that
// checks every row itself) and Ready; or emptied when no file was taken in. Returns
// what was left out. A window shows the loading state before it calls this.
std::vector<LeftOut> TakeInDrop(TargetList& list, const std::vector<std::string>& paths,
                                const NamingOptions& options,
                                IntakeLook look = IntakeLook::EachFile,
                                FolderReader& reader = SystemFolderReader());

}  // namespace karvel
