#pragma once
// A list over a folder of the disk held in memory, its rows as given.

#include <string>
#include <utility>
#include <vector>

#include "support/MemoryDisk.h"
#include "targets/TargetList.h"

namespace karvel::testing {

// Creates each Before Name in `folder` as a file holding its own name, unless something is
// there, and lists the pairs as they stand; each row is the entry its name has, links not
// followed.
inline void ListOn(MemoryDisk& disk, const std::string& folder, TargetList& list,
                   const std::vector<std::pair<std::string, std::string>>& names) {
    std::vector<TargetRow> rows;
    for (const auto& [before, after] : names) {
        if (!disk.Exists(folder + before)) disk.MakeFile(folder + before, before);
        TargetRow row{before, after, "", false};
        FileEntry entry;
        if (!disk.Look(folder + before, entry)) row.Identity = entry.Id();
        rows.push_back(std::move(row));
    }
    list.SetTargetFolder(folder);
    list.SetTargetFolderId(disk.IdOf(folder));
    list.AssignRows(std::move(rows));
    list.SetState(ListState::Ready);
}

}  // namespace karvel::testing
