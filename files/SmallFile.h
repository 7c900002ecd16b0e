#pragma once
// Whole-file reads and crash-safe replacement, for files small enough to hold
// in memory.

#include <cstddef>
#include <string>
#include <string_view>

namespace karvel {

enum class FileStatus {
    Missing,   // no such file (or a folder on its path is missing)
    Read,      // bytes holds the whole file
    Unusable,  // not a regular file, not readable, or larger than allowed
};

struct SmallFile {
    FileStatus status = FileStatus::Missing;
    std::string bytes;
};

// Reads the whole file at `path` when it is a regular file of at most `maxBytes`.
SmallFile ReadSmallFile(const std::string& path, std::size_t maxBytes);
// The same for a file already open for reading; never Missing.
SmallFile ReadOpenedSmallFile(int fd, std::size_t maxBytes);

// Makes `bytes` the content of the file at `path`: written to a new file in
// the same folder, flushed to disk and renamed over the old one, so that a
// crash leaves either the old or the new content, never a mix. A symbolic link
// is followed, the old file's permissions are kept, and missing folders above
// the file are created (and removed again when the write fails). False, with
// nothing changed, when the file cannot be written: a path that is no regular
// file, a file without write permission or without any write bit (also for
// root), a folder that cannot be created or written, a full disk.
bool ReplaceFileContent(const std::string& path, std::string_view bytes);

}  // namespace karvel
