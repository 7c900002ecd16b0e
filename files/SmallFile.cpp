#include "files/SmallFile.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <utility>
#include <vector>

#include "files/FileWrites.h"
#include "files/UniqueFd.h"

namespace karvel {

namespace {

// Removes a file at the end of the scope unless told to keep it.
class RemoveUnlessKept {
  public:
    explicit RemoveUnlessKept(std::string path) : path_(std::move(path)) {}
    ~RemoveUnlessKept() {
        if (!kept_) ::unlink(path_.c_str());
    }
    RemoveUnlessKept(const RemoveUnlessKept&) = delete;
    RemoveUnlessKept& operator=(const RemoveUnlessKept&) = delete;
    void Keep() { kept_ = true; }

  private:
    std::string path_;
    bool kept_ = false;
};

// Creates the missing folders of a path; removes them again at the end of the
// scope unless told to keep them, so that a failed write leaves no trace.
class CreatedFolders {
  public:
    CreatedFolders() = default;
    ~CreatedFolders() {
        if (kept_) return;
        for (auto it = created_.rbegin(); it != created_.rend(); ++it) ::rmdir(it->c_str());
    }
    CreatedFolders(const CreatedFolders&) = delete;
    CreatedFolders& operator=(const CreatedFolders&) = delete;

    bool Ensure(const std::string& folder) {
        if (IsFolder(folder)) return true;
        for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
            const std::string prefix = folder.substr(0, slash);
            if (!prefix.empty() && !IsFolder(prefix)) {
                if (::mkdir(prefix.c_str(), 0700) != 0) return false;
                created_.push_back(prefix);
            }
            if (slash == std::string::npos) return true;
        }
    }
    void Keep() { kept_ = true; }

  private:
    static bool IsFolder(const std::string& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    std::vector<std::string> created_;
    bool kept_ = false;
};

// The path a write goes to: a symbolic link's target, so that the link stays.
std::string WriteTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    const std::unique_ptr<char, decltype(&::free)> resolved(::realpath(path.c_str(), nullptr),
                                                            &::free);
    return resolved ? std::string(resolved.get()) : path;
}

// A fresh file beside `target` that no one else is using.
UniqueFd CreateSibling(const std::string& folder, const std::string& name, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "/." + name + ".tmp" + std::to_string(::getpid()) + "-" +
                   std::to_string(counter.fetch_add(1));
        UniqueFd fd(
            ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
        if (fd.Valid() || errno != EEXIST) return fd;
    }
    return UniqueFd(-1);
}

}  // namespace

SmallFile ReadSmallFile(const std::string& path, std::size_t maxBytes) {
    // Non-blocking, so that a named pipe at the path cannot hang the read.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd.Valid()) {
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        return {missing ? FileStatus::Missing : FileStatus::Unusable, {}};
    }
    return ReadOpenedSmallFile(fd.Get(), maxBytes);
}

SmallFile ReadOpenedSmallFile(int fd, std::size_t maxBytes) {
    SmallFile file;
    file.status = FileStatus::Unusable;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        static_cast<unsigned long long>(info.st_size) > maxBytes) {
        return file;
    }
    // Room for the size the system gives and one byte more, to notice a file
    // that grew meanwhile (or gives no size); grown while it fills, up to one
    // byte past the limit. A buffer of the limit's size would cost every read
    // a megabyte.
    std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > maxBytes) return file;
            bytes.resize(std::min(2 * total, maxBytes + 1));
        }
        const ssize_t got = ::read(fd, bytes.data() + total, bytes.size() - total);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return file;
        if (got == 0) break;
        total += static_cast<std::size_t>(got);
    }
    bytes.resize(total);
    file.bytes = std::move(bytes);
    file.status = FileStatus::Read;
    return file;
}

bool ReplaceFileContent(const std::string& path, std::string_view bytes) {
    if (path.empty() || path.back() == '/') return false;
    const std::string target = WriteTarget(path);

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // A file without any write bit is read-only for everyone: root, whom access() lets
    // through, leaves it alone too.
    constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
    if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & kWriteBits) == 0 ||
                   ::access(target.c_str(), W_OK) != 0)) {
        return false;
    }
    if (!exists && errno != ENOENT) return false;

    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : target.substr(0, slash);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);

    CreatedFolders folders;
    if (!folders.Ensure(folder)) return false;

    std::string tempPath;
    UniqueFd fd = CreateSibling(folder == "/" ? "" : folder, name, tempPath);
    if (!fd.Valid()) return false;
    RemoveUnlessKept temp(tempPath);

    if (exists && ::fchmod(fd.Get(), old.st_mode & 07777) != 0) return false;
    if (!WriteAll(fd.Get(), bytes) || ::fsync(fd.Get()) != 0 || !fd.Close()) return false;
    if (::rename(tempPath.c_str(), target.c_str()) != 0) return false;
    temp.Keep();
    folders.Keep();

    // Make the rename itself durable; the new content is in place either way.
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid()) ::fsync(dir.Get());
    return true;
}

}  // namespace karvel
