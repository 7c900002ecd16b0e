#pragma once
// What kind of file system a folder lies on, as far as renaming and stamping need to know.

#include <optional>
#include <string>

namespace karvel {

struct MountKind {
    std::string type;  // as the mount table names it: "ext4", "vfat", "fuseblk", ...
    // FAT and exFAT (in the kernel or through FUSE) and other FUSE file systems number
    // their files anew on each mount.
    bool keepsInodes = true;
    // The local years whose modified times the disk can hold, where it is known and a
    // probe could not tell it (FUSE answers from its cache, whatever the disk keeps).
    std::optional<int> firstYear;
    std::optional<int> lastYear;
};

// The kind of the file system of the open descriptor `fd`.
MountKind MountKindOf(int fd);

// The mount table line of the device `major:minor`, as /proc/self/mountinfo writes it:
// the file system's type, or nothing when no line names the device.
std::optional<std::string> MountTypeOf(const std::string& mountInfo, unsigned major,
                                       unsigned minor);

}  // namespace karvel
