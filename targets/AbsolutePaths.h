#pragma once
// Relative paths from the command line or a list, made absolute once, at intake.

#include <optional>
#include <string>

namespace karvel {

// The current folder, when the path the system gives for it still names the folder the
// process is in; empty when it was removed or cannot be reached.
std::optional<std::string> CurrentFolder();

// `path` as given when absolute, otherwise under `currentFolder`; empty for a relative
// path without a current folder.
std::optional<std::string> AbsolutePath(const std::string& path,
                                        const std::optional<std::string>& currentFolder);

}  // namespace karvel
