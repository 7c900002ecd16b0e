#include "rename/PosixRunFileSystem.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string_view>

namespace karvel {

namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

bool IsHiddenName(std::string_view path) {
    const auto slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name.starts_with('.');
}

}  // namespace

Lookup PosixRunFileSystem::LookupOrdinaryFile(const std::string& path) {
    FileEntry entry;
    if (const std::error_code error = ReadFileEntry(path, entry)) {
        if (error == std::errc::no_such_file_or_directory) return {LookupResult::NotFound, {}, {}};
        return {LookupResult::Failed, error, {}};
    }
    if (!S_ISREG(entry.mode) || IsHiddenName(path)) return {LookupResult::NotFound, {}, {}};
    const FileIdentity identity{entry.device, entry.inode, entry.size};
    lastFound_ = Looked{path, entry};
    return {LookupResult::Found, {}, identity};
}

std::error_code PosixRunFileSystem::ReadTimes(const std::string& path, FileInstants& out) {
    if (lastFound_ && lastFound_->path == path) {
        out = lastFound_->entry.instants;
        return {};
    }
    return ReadFileInstants(path, out);
}

std::error_code PosixRunFileSystem::WriteTimes(const std::string& path, const FileInstants& in) {
    if (lastFound_ && lastFound_->path == path) {
        const unsigned mode = lastFound_->entry.mode;
        lastFound_.reset();
        return WriteFileInstantsOfMode(path, in, mode);
    }
    return WriteFileInstants(path, in);
}

bool NoReplaceUnsupported(int error) { return error == EINVAL || error == ENOSYS || error == ENOTSUP; }

std::error_code RenameByLink(const std::string& from, const std::string& to) {
    if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0) != 0) return LastError();
    if (::unlinkat(AT_FDCWD, from.c_str(), 0) != 0) {
        const std::error_code error = LastError();
        ::unlinkat(AT_FDCWD, to.c_str(), 0);
        return error;
    }
    return {};
}

std::error_code PosixRunFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
    lastFound_.reset();
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    const int error = errno;
    // Never a plain rename: that would replace a target that appeared after the check.
    if (NoReplaceUnsupported(error)) return RenameByLink(from, to);
    return {error, std::generic_category()};
}

}  // namespace karvel
