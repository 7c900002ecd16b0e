#pragma once
// A listed folder on the real disk with a recording host and a scripted file system over
// the real one, ready to run: for what only a real disk shows.

#include <string>
#include <vector>

#include "rename/RenameRun.h"
#include "support/ListedFolder.h"
#include "support/RunDoubles.h"

namespace karvel::testing {

class RealRunFixture : public ListedFolder {
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
