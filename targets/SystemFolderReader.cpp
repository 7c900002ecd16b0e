#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "files/UniqueFd.h"
#include "targets/FolderReader.h"

namespace karvel {

namespace {

class DirCloser {
  public:
    explicit DirCloser(DIR* dir) : dir_(dir) {}
    ~DirCloser() { ::closedir(dir_); }
    DirCloser(const DirCloser&) = delete;
    DirCloser& operator=(const DirCloser&) = delete;

  private:
    DIR* dir_;
};

// Below this many names a second thread costs more than it saves.
constexpr std::size_t kNamesForThreads = 2048;

class PosixFolderReader final : public FolderReader {
  public:
    std::error_code Look(const std::string& path, FileEntry& out) override {
        return ReadFileEntry(path, out);
    }
    std::vector<Looked> LookEach(const std::string& folder,
                                 std::span<const std::string_view> names) override {
        // The folder's path is walked once, not once a name.
        const UniqueFd opened(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!opened.Valid()) return FolderReader::LookEach(folder, names);
        std::vector<Looked> looked(names.size());
        const auto lookAt = [&](std::size_t begin, std::size_t end) {
            std::string name;
            for (std::size_t i = begin; i < end; ++i) {
                name.assign(names[i]);
                looked[i].error = ReadFileEntryAt(opened.Get(), name, looked[i].entry);
            }
        };
        const std::size_t threads =
            names.size() < kNamesForThreads
                ? 1
                : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
        std::vector<std::jthread> helpers;
        const std::size_t share = (names.size() + threads - 1) / threads;
        for (std::size_t begin = share; begin < names.size(); begin += share) {
            const std::size_t end = std::min(names.size(), begin + share);
            try {
                helpers.emplace_back(lookAt, begin, end);
            } catch (const std::system_error&) {
                lookAt(begin, end);  // no thread to be had: this one does it
            }
        }
        lookAt(0, std::min(names.size(), share));
        helpers.clear();  // joined
        return looked;
    }
    std::error_code LookThrough(const std::string& path, FileEntry& out) override {
        struct statx entry {};
        if (::statx(AT_FDCWD, path.c_str(), AT_NO_AUTOMOUNT, STATX_TYPE | STATX_INO, &entry) != 0)
            return {errno, std::generic_category()};
        out.mode = entry.stx_mode;
        out.device =
            (static_cast<unsigned long long>(entry.stx_dev_major) << 32) | entry.stx_dev_minor;
        out.inode = entry.stx_ino;
        return {};
    }
    std::optional<std::string> RealFolder(const std::string& folder) override {
        const std::unique_ptr<char, decltype(&::free)> real(::realpath(folder.c_str(), nullptr),
                                                            &::free);
        if (!real) return std::nullopt;
        return std::string(real.get());
    }
    std::error_code List(const std::string& folder, ListingSink& sink) override {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return {errno, std::generic_category()};
        DIR* dir = ::fdopendir(fd);
        if (dir == nullptr) {
            const int error = errno;
            ::close(fd);
            return {error, std::generic_category()};
        }
        const DirCloser closer(dir);
        struct stat folderStatus {};
        sink.Expect(::fstat(fd, &folderStatus) == 0 && folderStatus.st_size > 0
                        ? static_cast<std::size_t>(folderStatus.st_size)
                        : 0);
        for (;;) {
            errno = 0;
            const dirent* found = ::readdir(dir);
            if (found == nullptr) {
                // A listing cut short would make present names look free.
                if (errno != 0) return {errno, std::generic_category()};
                return {};
            }
            const std::string_view name(found->d_name);
            if (name == "." || name == "..") continue;
            sink.Entry(name, found->d_type, found->d_ino);
        }
    }
};

}  // namespace

FolderReader& SystemFolderReader() {
    static PosixFolderReader reader;
    return reader;
}

}  // namespace karvel
