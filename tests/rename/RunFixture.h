#pragma once
// A listed folder with a recording host and the scripted file system, ready to run.

#include <string>
#include <vector>

#include "rename/RenameRun.h"
#include "support/ListedFolder.h"
#include "support/RunDoubles.h"

namespace karvel::testing {

class RunFixture : public ListedFolder {
  public:
    using ListedFolder::ListedFolder;

    RunReport Start() { return StartRun(list, settings, host, fileSystem); }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& message : host.messages) texts.push_back(message.text);
        return texts;
    }

    RecordingHost host;
    ScriptedFileSystem fileSystem;
    RunSettings settings{{2024, 3, 5}, false};
};

}  // namespace karvel::testing
