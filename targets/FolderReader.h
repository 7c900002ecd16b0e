#pragma once
// Every look the list takes at the disk goes through here: the drop's intake and the folder
// snapshot of the preview. Tests hand in a disk held in memory.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "filetime/FileTimes.h"

namespace karvel {

// Told of each entry of a folder as it is listed.
class ListingSink {
  public:
    virtual ~ListingSink() = default;
    // Before the first entry: the folder's own size, a hint of how many names it holds.
    virtual void Expect(std::size_t folderBytes) = 0;
    // `type` is the kind the listing tells (DT_REG, DT_DIR, ..., DT_UNKNOWN).
    virtual void Entry(std::string_view name, unsigned char type, unsigned long long inode) = 0;
};

// One look at an entry: what it is, or why it could not be looked at.
struct Looked {
    std::error_code error;
    FileEntry entry;
};

class FolderReader {
  public:
    virtual ~FolderReader() = default;
    // The entry at `path` itself, a final link not followed.
    virtual std::error_code Look(const std::string& path, FileEntry& out) = 0;
    // What Look tells of `folder` + each of `names` (none empty), in their order. The real
    // disk opens the folder once and looks from it with the bare names, on every core.
    virtual std::vector<Looked> LookEach(const std::string& folder,
                                         std::span<const std::string_view> names);
    // What `path` leads to, links followed.
    virtual std::error_code LookThrough(const std::string& path, FileEntry& out) = 0;
    // `folder` written without links, "." or ".."; nothing where the system cannot tell.
    virtual std::optional<std::string> RealFolder(const std::string& folder) = 0;
    // Every entry of `folder` but "." and "..", to the end; an error when it cannot be
    // listed, or not to the end.
    virtual std::error_code List(const std::string& folder, ListingSink& sink) = 0;
};

// The real disk.
FolderReader& SystemFolderReader();

}  // namespace karvel
