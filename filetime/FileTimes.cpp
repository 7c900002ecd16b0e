// Reading and writing a file's stamps: one statx to read, one utimensat to write.

#include "filetime/FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace karvel {

namespace {

constexpr unsigned kTimesMask = STATX_TYPE | STATX_MODE | STATX_ATIME | STATX_MTIME | STATX_BTIME;

std::error_code LastError() {
    return {errno, std::system_category()};
}

// The entry itself, never a link's target: the rename acts on the entry too.
std::error_code StatEntry(const std::string& path, unsigned mask, struct statx& out) {
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask, &out) != 0) {
        return LastError();
    }
    if (S_ISDIR(out.stx_mode)) return std::make_error_code(std::errc::is_a_directory);
    return {};
}

// Without any write bit a file counts as read-only, for root as well.
bool IsReadOnly(const struct statx& entry) {
    return (entry.stx_mode & 0222) == 0;
}

timespec ToTimespec(const statx_timestamp& stamp) {
    timespec out{};
    out.tv_sec = stamp.tv_sec;
    out.tv_nsec = stamp.tv_nsec;
    return out;
}

FileInstants InstantsOf(const struct statx& entry) {
    FileInstants out;
    out.access = ToTimespec(entry.stx_atime);
    out.modify = ToTimespec(entry.stx_mtime);
    out.hasBirth = (entry.stx_mask & STATX_BTIME) != 0;
    out.birth = out.hasBirth ? ToTimespec(entry.stx_btime) : out.modify;
    return out;
}

std::error_code Touch(const std::string& path, const FileInstants& in) {
    const timespec times[2] = {in.access, in.modify};
    if (::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) return LastError();
    return {};
}

// A slot whose instant does not fit the record keeps what it held.
void StoreSlot(const timespec& instant, SYSTEMTIME& slot) {
    if (const auto local = InstantToLocal(instant)) slot = local->time;
}

}  // namespace

std::error_code ReadFileInstants(const std::string& path, FileInstants& out) {
    struct statx entry {};
    if (const auto error = StatEntry(path, kTimesMask, entry)) return error;
    out = InstantsOf(entry);
    return {};
}

static std::error_code StatInto(int folder, const char* name, int flags, FileEntry& out);

std::error_code ReadFileEntry(const std::string& path, FileEntry& out) {
    return ReadFileEntryAt(AT_FDCWD, path, out);
}

std::error_code ReadFileEntryAt(int folder, const std::string& name, FileEntry& out) {
    // An empty name would be the current folder.
    if (name.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
    return StatInto(folder, name.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, out);
}

std::error_code ReadOpenedEntry(int fd, FileEntry& out) {
    return StatInto(fd, "", AT_EMPTY_PATH, out);
}

static std::error_code StatInto(int folder, const char* name, int flags, FileEntry& out) {
    struct statx entry {};
    if (::statx(folder, name, flags, kTimesMask | STATX_INO | STATX_SIZE, &entry) != 0) {
        return LastError();
    }
    out.mode = entry.stx_mode;
    out.instants = InstantsOf(entry);
    out.device = (static_cast<unsigned long long>(entry.stx_dev_major) << 32) | entry.stx_dev_minor;
    out.inode = entry.stx_ino;
    out.size = static_cast<long long>(entry.stx_size);
    return {};
}

std::error_code WriteFileInstants(const std::string& path, const FileInstants& in) {
    struct statx entry {};
    if (const auto error = StatEntry(path, STATX_TYPE | STATX_MODE, entry)) return error;
    if (IsReadOnly(entry)) return {};
    return Touch(path, in);
}

void FillFileTimes(const FileInstants& instants, FileTimeStamps& stamps) {
    StoreSlot(instants.hasBirth ? instants.birth : instants.modify, stamps.CreationTime);
    StoreSlot(instants.access, stamps.LastAccessTime);
    StoreSlot(instants.modify, stamps.LastWriteTime);
}

}  // namespace karvel
