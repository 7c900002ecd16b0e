#pragma once
// The path splitter: a path cut at its last separator into its folder and its file name,
// and the name at its first dot. Paths are bytes and blanks belong to names: nothing is
// trimmed, and nothing asks the disk what a path names.

#include <string_view>

namespace karvel {

// The pieces of one path; they view the path they were cut from.
struct FNameEdit {
    std::string_view ifaDirName;   // up to and including the last separator; empty without one
    std::string_view ifaFileName;  // after the last separator; empty when the path ends in one
    std::string_view ifaFileSts1;  // the name before its first dot; all of it without a dot
    std::string_view ifaFileSts2;  // the name from its first dot on; empty without a dot
};

FNameEdit cFNameEdit(std::string_view ifaFullPath);

}  // namespace karvel
