#pragma once
// Writing to descriptors and making the folders files go in.

#include <string>
#include <string_view>

namespace karvel {

// Writes every byte, going on after an interrupted or a short write; false on an error
// or a write that takes nothing.
bool WriteAll(int fd, std::string_view bytes);

// Makes `folder` and the folders above it that are missing, for the user alone;
// true when it is a folder in the end.
bool MakeFolders(const std::string& folder);

// Flushes a folder's entries to disk, so that a file created or renamed there stays.
void SyncFolder(const std::string& folder);

}  // namespace karvel
