#pragma once
// Which file an entry is, however it is named: its device and inode.

namespace karvel {

struct FileId {
    unsigned long long device = 0;
    unsigned long long inode = 0;

    // No file has inode 0: an id that was never read.
    bool Known() const { return inode != 0; }
    friend bool operator==(const FileId&, const FileId&) = default;
};

}  // namespace karvel
