#pragma once
// A dropped path told from its text alone: whether it can name a file at all, and the
// folder and name it spells. What is there is for the disk to say.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// The pieces view the path.
struct DroppedPath {
    std::optional<LeftOutReason> unusable;  // NotAbsolute or Unusable: no folder, no name
    std::string_view folder{};              // up to and including the last separator
    std::string_view name{};                // after it; empty when the path ends in it
};

// Paths are taken exactly as given, blanks included.
DroppedPath ClassifyPath(std::string_view path);

}  // namespace karvel
