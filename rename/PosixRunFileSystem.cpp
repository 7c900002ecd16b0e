#include "rename/PosixRunFileSystem.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace karvel {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

int SystemRenameNoReplace(int folder, const char* from, const char* to) {
    return ::renameat2(folder, from, folder, to, RENAME_NOREPLACE);
}

int SystemLink(int folder, const char* from, const char* to) {
    return ::linkat(folder, from, folder, to, 0);
}

// Seconds apart; FAT keeps modified times to two seconds.
bool SameToTwoSeconds(const timespec& a, const timespec& b) {
    const long long apart = static_cast<long long>(a.tv_sec) - static_cast<long long>(b.tv_sec);
    return std::llabs(apart) <= 2;
}

}  // namespace

RenameCalls SystemRenameCalls() {
    return {&SystemRenameNoReplace, &SystemLink};
}

bool NoReplaceUnsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == ENOTSUP;
}

bool LinksUnsupported(int error) {
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP;
}

FolderOpening PosixRunFileSystem::OpenFolder(const std::string& folder) {
    CloseFolder();
    way_ = RenameWay::NotYetKnown;
    std::string path = folder;
    // A trailing separator would follow a final link.
    while (path.size() > 1 && path.ends_with('/')) path.pop_back();
    folder_.Reset(::open(path.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder_.Valid()) return {LastError(), {}};
    FileEntry entry;
    if (const std::error_code error = ReadOpenedEntry(folder_.Get(), entry)) return {error, {}};
    return {{}, entry.Id()};
}

void PosixRunFileSystem::CloseFolder() {
    folder_.Reset();
}

StampFit PosixRunFileSystem::TryStamp(const timespec& instant) {
    FileEntry before;
    if (ReadOpenedEntry(folder_.Get(), before)) return StampFit::Unknown;
    // An O_PATH descriptor takes new times only through its name in /proc.
    const std::string self = "/proc/self/fd/" + std::to_string(folder_.Get());
    const timespec probe[2] = {before.instants.access, instant};
    if (::utimensat(AT_FDCWD, self.c_str(), probe, 0) != 0) return StampFit::Unknown;
    FileEntry after;
    const bool read = !ReadOpenedEntry(folder_.Get(), after);
    const timespec restore[2] = {before.instants.access, before.instants.modify};
    (void)::utimensat(AT_FDCWD, self.c_str(), restore, 0);
    if (!read) return StampFit::Unknown;
    return SameToTwoSeconds(after.instants.modify, instant) ? StampFit::Kept : StampFit::Changed;
}

Lookup PosixRunFileSystem::LookupRegularFile(const std::string& name) {
    FileEntry entry;
    if (const std::error_code error = ReadFileEntryAt(folder_.Get(), name, entry)) {
        if (error == std::errc::no_such_file_or_directory)
            return {LookupResult::NotFound, {}, {}, {}, 0};
        return {LookupResult::Failed, error, {}, {}, 0};
    }
    if (!S_ISREG(entry.mode)) return {LookupResult::NotFound, {}, {}, {}, 0};
    return {LookupResult::Found,
            {},
            {entry.device, entry.inode, entry.size},
            entry.instants,
            entry.mode};
}

Lookup PosixRunFileSystem::LookupOrdinaryFile(const std::string& name) {
    Lookup found = LookupRegularFile(name);
    if (found.result == LookupResult::Found && name.starts_with('.')) return {};
    return found;
}

std::error_code PosixRunFileSystem::WriteTimes(const std::string& name, const FileInstants& in) {
    const timespec times[2] = {in.access, in.modify};
    if (::utimensat(folder_.Get(), name.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        return LastError();
    return {};
}

std::error_code PosixRunFileSystem::RemoveName(const std::string& name) {
    if (::unlinkat(folder_.Get(), name.c_str(), 0) != 0) return LastError();
    return {};
}

std::error_code PosixRunFileSystem::ListNames(std::vector<std::string>& out) {
    UniqueFd listing(::openat(folder_.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!listing.Valid()) return LastError();
    DIR* dir = ::fdopendir(listing.Get());
    if (dir == nullptr) return LastError();
    listing.Release();
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") out.emplace_back(name);
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0) return {error, std::generic_category()};
    return {};
}

// A rename that cannot replace, for file systems without RENAME_NOREPLACE: a hard link
// under the new name (which fails when the name is taken), then the old name removed. When
// the old name cannot be removed, the new link goes again, so the file keeps one name.
std::error_code PosixRunFileSystem::RenameByLink(const std::string& from, const std::string& to) {
    if (calls_.link(folder_.Get(), from.c_str(), to.c_str()) != 0) return LastError();
    if (::unlinkat(folder_.Get(), from.c_str(), 0) != 0) {
        const std::error_code error = LastError();
        ::unlinkat(folder_.Get(), to.c_str(), 0);
        return error;
    }
    return {};
}

// The last resort, where the file system has neither: the target is checked right
// before a plain rename. A file created between the two would be replaced.
std::error_code PosixRunFileSystem::CheckThenRename(const std::string& from,
                                                    const std::string& to) {
    FileEntry entry;
    const std::error_code lookup = ReadFileEntryAt(folder_.Get(), to, entry);
    if (!lookup) return std::make_error_code(std::errc::file_exists);
    if (lookup != std::errc::no_such_file_or_directory) return lookup;
    if (::renameat(folder_.Get(), from.c_str(), folder_.Get(), to.c_str()) != 0) return LastError();
    return {};
}

std::error_code PosixRunFileSystem::RenameNoReplace(const std::string& from,
                                                    const std::string& to) {
    switch (way_) {
        case RenameWay::NoReplace:
            if (calls_.renameNoReplace(folder_.Get(), from.c_str(), to.c_str()) != 0)
                return LastError();
            return {};
        case RenameWay::LinkAndUnlink:
            return RenameByLink(from, to);
        case RenameWay::CheckThenRename:
            return CheckThenRename(from, to);
        case RenameWay::NotYetKnown:
            break;
    }
    // The folder's first rename finds the way; the safe ways first.
    if (calls_.renameNoReplace(folder_.Get(), from.c_str(), to.c_str()) == 0) {
        way_ = RenameWay::NoReplace;
        return {};
    }
    if (!NoReplaceUnsupported(errno)) return LastError();
    const std::error_code linked = RenameByLink(from, to);
    if (!linked || !LinksUnsupported(linked.value())) {
        if (!linked) way_ = RenameWay::LinkAndUnlink;
        return linked;
    }
    way_ = RenameWay::CheckThenRename;
    return CheckThenRename(from, to);
}

}  // namespace karvel
