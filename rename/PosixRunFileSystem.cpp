#include "rename/PosixRunFileSystem.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

#include "filetime/LocalTime.h"

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

int SystemPlainRename(int folder, const char* from, const char* to) {
    return ::renameat(folder, from, folder, to);
}

int SystemOpenUnnamed(int folder) {
    return ::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
}

// Seconds apart; FAT keeps modified times to two seconds.
bool SameToTwoSeconds(const timespec& a, const timespec& b) {
    const long long apart = static_cast<long long>(a.tv_sec) - static_cast<long long>(b.tv_sec);
    return std::llabs(apart) <= 2;
}

// The modified time as the file system itself has it now, past any cache of FUSE's.
bool ReadModifiedFresh(int fd, timespec& out) {
    struct statx entry {};
    if (::statx(fd, "", AT_EMPTY_PATH | AT_STATX_FORCE_SYNC, STATX_MTIME, &entry) != 0)
        return false;
    out.tv_sec = entry.stx_mtime.tv_sec;
    out.tv_nsec = entry.stx_mtime.tv_nsec;
    return true;
}

std::string ProbeName() {
    std::random_device random;
    return ".karvel-probe-" + std::to_string(::getpid()) + "-" + std::to_string(random());
}

}  // namespace

RenameCalls SystemRenameCalls() {
    return {&SystemRenameNoReplace, &SystemLink, &SystemOpenUnnamed, &SystemPlainRename};
}

bool NoReplaceUnsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == ENOTSUP;
}

bool LinksUnsupported(int error) {
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP;
}

FolderOpening PosixRunFileSystem::OpenFolder(const std::string& folder, ScratchNotes* notes) {
    CloseFolder();
    way_ = RenameWay::NotYetKnown;
    notes_ = notes;
    std::string path = folder;
    // A trailing separator would follow a final link.
    while (path.size() > 1 && path.ends_with('/')) path.pop_back();
    folder_.Reset(::open(path.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder_.Valid()) return {LastError(), {}, {}, true};
    FileEntry entry;
    if (const std::error_code error = ReadOpenedEntry(folder_.Get(), entry))
        return {error, {}, {}, true};
    kind_ = MountKindOf(folder_.Get());
    return {{}, entry.Id(), kind_.type, kind_.keepsInodes};
}

void PosixRunFileSystem::CloseFolder() {
    folder_.Reset();
    notes_ = nullptr;
}

UniqueFd PosixRunFileSystem::CreateScratch(const std::string& name) {
    if (notes_ != nullptr && !notes_->BeforeScratch(name)) {
        errno = ECANCELED;
        return UniqueFd();
    }
    return UniqueFd(::openat(folder_.Get(), name.c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
}

StampFit PosixRunFileSystem::ProbeOn(int fd, const timespec& instant) {
    const timespec probe[2] = {instant, instant};
    if (::futimens(fd, probe) != 0) return StampFit::Unknown;
    timespec kept{};
    if (!ReadModifiedFresh(fd, kept)) return StampFit::Unknown;
    return SameToTwoSeconds(kept, instant) ? StampFit::Kept : StampFit::Changed;
}

StampFit PosixRunFileSystem::TryStamp(const timespec& instant) {
    // Where FUSE would answer from its cache, the file system's own range tells.
    if (kind_.firstYear && kind_.lastYear) {
        const auto local = InstantToLocal(instant);
        if (!local) return StampFit::Changed;
        const int year = local->time.wYear;
        return year >= *kind_.firstYear && year <= *kind_.lastYear ? StampFit::Kept
                                                                   : StampFit::Changed;
    }
    // An unnamed file leaves nothing behind, even when killed; the folder's times stay.
    if (calls_.openUnnamed != nullptr) {
        const UniqueFd unnamed(calls_.openUnnamed(folder_.Get()));
        if (unnamed.Valid()) return ProbeOn(unnamed.Get(), instant);
    }
    // A file system without them gets a scratch file, told of first.
    const std::string name = ProbeName();
    UniqueFd scratch = CreateScratch(name);
    if (!scratch.Valid()) return StampFit::Unknown;
    const StampFit fit = ProbeOn(scratch.Get(), instant);
    scratch.Reset();
    (void)::unlinkat(folder_.Get(), name.c_str(), 0);
    return fit;
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

// Where the file system has neither: the new name is taken first by an empty file created
// exclusively, so that a file someone else makes there meanwhile is never replaced (their
// file wins, the step fails); the rename then replaces only that placeholder.
std::error_code PosixRunFileSystem::RenameOverPlaceholder(const std::string& from,
                                                          const std::string& to) {
    UniqueFd placeholder = CreateScratch(to);
    if (!placeholder.Valid()) {
        if (errno == ECANCELED) return ScratchNotRecorded();
        return LastError();
    }
    placeholder.Reset();
    const auto rename = calls_.plainRename != nullptr ? calls_.plainRename : &SystemPlainRename;
    if (rename(folder_.Get(), from.c_str(), to.c_str()) != 0) {
        const std::error_code error = LastError();
        (void)::unlinkat(folder_.Get(), to.c_str(), 0);
        return error;
    }
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
        case RenameWay::Placeholder:
            return RenameOverPlaceholder(from, to);
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
    way_ = RenameWay::Placeholder;
    return RenameOverPlaceholder(from, to);
}

}  // namespace karvel
