#pragma once
// A fresh folder (or one given) with files made for the rows of a list that names them.

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "filetime/FileTimes.h"
#include "support/TempDir.h"
#include "targets/TargetList.h"

namespace karvel::testing {

class ListedFolder {
  public:
    ListedFolder() = default;
    // Files in `folder` (ending in "/") instead of a fresh one: a disk mounted for the test.
    explicit ListedFolder(std::string folder) : folder_(std::move(folder)) {}

    // Creates each Before Name as a file holding its own name and lists the pairs as they stand.
    void List(const std::vector<std::pair<std::string, std::string>>& names) {
        std::vector<TargetRow> rows;
        for (const auto& [before, after] : names) {
            if (!std::filesystem::exists(folder_ + before))
                std::ofstream(folder_ + before, std::ios::binary) << before;
            TargetRow row{before, after, "", false};
            row.Identity = IdOf(folder_ + before);
            rows.push_back(std::move(row));
        }
        list.SetTargetFolder(folder_);
        list.SetTargetFolderId(IdOf(folder_));
        list.AssignRows(std::move(rows));
        list.SetState(ListState::Ready);
    }

    // Which file `path` is now, links not followed; unknown when there is none.
    static FileId IdOf(const std::string& path) {
        FileEntry entry;
        if (ReadFileEntry(path, entry)) return {};
        return entry.Id();
    }

    bool Exists(const std::string& name) const {
        struct stat status {};
        return ::lstat((folder_ + name).c_str(), &status) == 0;
    }
    std::string Content(const std::string& name) const { return ReadAll(folder_ + name); }

    TempDir dir;
    TargetList list;

  private:
    std::string folder_ = dir.path();
};

}  // namespace karvel::testing
