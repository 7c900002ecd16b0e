#pragma once
// A folder of numbered files in memory (tmpfs), so that the figures show the code, not the disk.

#include <fcntl.h>
#include <linux/magic.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace karvel::bench {

inline bool OnTmpfs(const char* folder) {
    struct statfs info {};
    return ::statfs(folder, &info) == 0 && info.f_type == TMPFS_MAGIC;
}

class BenchFolder {
  public:
    // In memory (tmpfs) unless `onDisk`; then under /var/tmp, on the disk.
    explicit BenchFolder(std::size_t fileCount, bool onDisk = false) {
        const std::string base = !onDisk && OnTmpfs("/dev/shm") ? "/dev/shm" : "/var/tmp";
        std::string pattern = base + "/karvel-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        folder_ = pattern + "/";
        names_.reserve(fileCount);
        for (std::size_t i = 0; i < fileCount; ++i) {
            // Not in name order, as a file manager hands them over.
            names_.push_back("DSC_" + std::to_string((i * 7919) % fileCount) + ".jpg");
            std::ofstream(folder_ + names_.back()) << 'x';
        }
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    // Ends in "/".
    const std::string& Folder() const { return folder_; }
    const std::vector<std::string>& Names() const { return names_; }
    // The names as a drop sorts them, by their numbers: the order a run renames them in.
    std::vector<std::string> NamesInListOrder() const {
        std::vector<std::string> sorted(names_.size());
        for (const std::string& name : names_) sorted[std::stoul(name.substr(4))] = name;
        return sorted;
    }
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        paths.reserve(names_.size());
        for (const auto& name : names_) paths.push_back(folder_ + name);
        return paths;
    }

  private:
    std::string folder_;
    std::vector<std::string> names_;
};

// What a run asks of the system per file, and nothing else: the two checks, the stamps read
// and written, the rename.
inline void BareRenameCalls(const std::string& from, const std::string& to) {
    struct stat status {};
    ::lstat(from.c_str(), &status);
    ::lstat(to.c_str(), &status);
    struct statx times {};
    ::statx(AT_FDCWD, from.c_str(), AT_SYMLINK_NOFOLLOW, STATX_ATIME | STATX_MTIME | STATX_BTIME,
            &times);
    const timespec stamps[2] = {{times.stx_atime.tv_sec, times.stx_atime.tv_nsec},
                                {times.stx_mtime.tv_sec, 0}};
    ::utimensat(AT_FDCWD, from.c_str(), stamps, AT_SYMLINK_NOFOLLOW);
    ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
}

inline std::string BenchNewName(std::size_t i) {
    return "240305_" + std::to_string(i) + ".jpg";
}

// The bare calls for each of `names` in turn, each to its new name.
inline void BareRunLoop(const BenchFolder& files, const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        BareRenameCalls(files.Folder() + names[i], files.Folder() + BenchNewName(i));
    }
}

}  // namespace karvel::bench
