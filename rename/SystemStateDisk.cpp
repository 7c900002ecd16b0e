#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "files/FileWrites.h"
#include "files/SmallFile.h"
#include "files/UniqueFd.h"
#include "rename/StateDisk.h"

namespace karvel {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

class FdAppendFile final : public AppendFile {
  public:
    explicit FdAppendFile(UniqueFd fd) : fd_(std::move(fd)) {}
    bool Append(std::string_view bytes) override { return WriteAll(fd_.Get(), bytes); }
    bool Sync() override { return ::fdatasync(fd_.Get()) == 0; }

  private:
    UniqueFd fd_;
};

class FlockedFile final : public HeldLock {
  public:
    explicit FlockedFile(UniqueFd fd) : fd_(std::move(fd)) {}
    std::string Read() override {
        const SmallFile file = ReadOpenedSmallFile(fd_.Get(), 1u << 16);
        return file.status == FileStatus::Read ? file.bytes : std::string();
    }
    void Replace(std::string_view text) override {
        if (::ftruncate(fd_.Get(), 0) != 0) return;
        (void)::pwrite(fd_.Get(), text.data(), text.size(), 0);
    }

  private:
    UniqueFd fd_;  // the lock goes with it
};

// A regular file only: a pipe or a link in its place is never waited on nor followed.
UniqueFd OpenRegular(const std::string& path, int flags) {
    UniqueFd fd(::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (fd.Valid() && (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))) {
        fd.Reset();
        errno = EINVAL;
    }
    return fd;
}

class PosixStateDisk final : public StateDisk {
  public:
    std::error_code MakeFolders(const std::string& folder) override {
        if (karvel::MakeFolders(folder)) return {};
        struct stat info {};
        if (::stat(folder.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
            return std::make_error_code(std::errc::not_a_directory);
        return LastError();
    }
    LockTaking TakeLock(const std::string& path) override {
        LockTaking taking;
        UniqueFd fd(
            ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
        if (!fd.Valid()) {
            taking.error = LastError();
            return taking;
        }
        struct stat info {};
        if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
            taking.error = std::make_error_code(std::errc::not_supported);
            return taking;
        }
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
            taking.error = LastError();
            if (errno == EWOULDBLOCK) taking.state = LockTaking::State::Busy;
            return taking;
        }
        taking.state = LockTaking::State::Held;
        taking.lock = std::make_unique<FlockedFile>(std::move(fd));
        return taking;
    }
    std::unique_ptr<AppendFile> Create(const std::string& path) override {
        UniqueFd fd(
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!fd.Valid()) return nullptr;
        return std::make_unique<FdAppendFile>(std::move(fd));
    }
    std::unique_ptr<AppendFile> OpenToAppend(const std::string& path) override {
        UniqueFd fd = OpenRegular(path, O_WRONLY | O_APPEND);
        if (!fd.Valid()) return nullptr;
        return std::make_unique<FdAppendFile>(std::move(fd));
    }
    StateFile Read(const std::string& path, std::size_t maxBytes) override {
        const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!fd.Valid()) return {errno == ENOENT ? StateRead::Missing : StateRead::NotAFile, {}};
        struct stat info {};
        if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
            return {StateRead::NotAFile, {}};
        SmallFile file = ReadOpenedSmallFile(fd.Get(), maxBytes);
        if (file.status != FileStatus::Read) return {StateRead::Unusable, {}};
        return {StateRead::Read, std::move(file.bytes)};
    }
    std::vector<std::string> Names(const std::string& folder) override {
        std::vector<std::string> names;
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr) return names;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..") names.emplace_back(name);
        }
        ::closedir(dir);
        return names;
    }
    std::optional<std::size_t> SizeOf(const std::string& path) override {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
        return static_cast<std::size_t>(info.st_size);
    }
    std::optional<std::time_t> ModifiedOf(const std::string& path) override {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
        return info.st_mtime;
    }
    void Remove(const std::string& path) override { ::unlink(path.c_str()); }
    void SyncFolder(const std::string& folder) override { karvel::SyncFolder(folder); }
    timespec Now() override {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        return now;
    }
    int ProcessId() override { return static_cast<int>(::getpid()); }
};

}  // namespace

StateDisk& SystemStateDisk() {
    static PosixStateDisk disk;
    return disk;
}

}  // namespace karvel
