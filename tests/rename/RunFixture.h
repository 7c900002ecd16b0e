#pragma once
// A folder on a disk held in memory, a list naming its files, a recording host, ready to run.

#include <string>
#include <utility>
#include <vector>

#include "rename/RenameRun.h"
#include "rename/RunHistory.h"
#include "rename/UndoRun.h"
#include "support/MemoryDisk.h"
#include "support/MemoryListing.h"
#include "support/RunDoubles.h"
#include "targets/TargetList.h"

namespace karvel::testing {

class RunFixture {
  public:
    // Creates each Before Name as a file holding its own name, unless one is there, and
    // lists the pairs as they stand.
    void List(const std::vector<std::pair<std::string, std::string>>& names) {
        ListOn(disk, folder, list, names);
        disk.calls.clear();
    }

    RunReport Start() { return StartRun(list, settings, host, disk); }
    // The run with its lock and journal in the history.
    RunReport StartRecorded() {
        StateRecords records(history);
        list.SetState(ListState::Ready);
        return StartRun(list, settings, host, disk, &records);
    }

    UndoResult UndoNow() { return UndoLastRun(history, host, disk); }

    std::string Path(const std::string& name) const { return folder + name; }
    std::vector<std::string> Names() { return disk.Names(folder); }
    // The run's hidden temporary names still in the folder.
    std::vector<std::string> TemporaryNames() {
        std::vector<std::string> names;
        for (std::string& name : Names())
            if (name.starts_with(".karvel-")) names.push_back(std::move(name));
        return names;
    }
    void MakeFile(const std::string& name, std::string content = "x") {
        disk.MakeFile(Path(name), std::move(content));
    }
    bool Exists(const std::string& name) { return disk.Exists(Path(name)); }
    std::string Content(const std::string& name) { return disk.ContentOf(Path(name)).value_or(""); }
    FileInstants Stamps(const std::string& name) {
        return disk.StampsOf(Path(name)).value_or(FileInstants{});
    }
    void SetStamps(const std::string& name, const FileInstants& stamps) {
        disk.SetStamps(Path(name), stamps);
    }
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& message : host.messages) texts.push_back(message.text);
        return texts;
    }

    MemoryDisk disk;
    std::string folder = "/photos/";
    History history{"/state/Karvel", disk};
    TargetList list;
    RecordingHost host;
    RunSettings settings{{2024, 3, 5}, false};
};

}  // namespace karvel::testing
