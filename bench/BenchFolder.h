#pragma once
// A folder of numbered files in memory (tmpfs), so that the figures show the code, not the disk.

#include <linux/magic.h>
#include <stdlib.h>
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
    explicit BenchFolder(std::size_t fileCount) {
        const std::string base = OnTmpfs("/dev/shm") ? "/dev/shm" : "/tmp";
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

}  // namespace karvel::bench
