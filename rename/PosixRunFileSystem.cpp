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
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        if (errno == ENOENT) return {LookupResult::NotFound, {}, {}};
        return {LookupResult::Failed, LastError(), {}};
    }
    if (!S_ISREG(status.st_mode) || IsHiddenName(path)) return {LookupResult::NotFound, {}, {}};
    return {LookupResult::Found, {},
            {static_cast<unsigned long long>(status.st_dev), static_cast<unsigned long long>(status.st_ino),
             static_cast<long long>(status.st_size)}};
}

std::error_code PosixRunFileSystem::ReadTimes(const std::string& path, FileInstants& out) {
    return ReadFileInstants(path, out);
}

std::error_code PosixRunFileSystem::WriteTimes(const std::string& path, const FileInstants& in) {
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
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    const int error = errno;
    // Never a plain rename: that would replace a target that appeared after the check.
    if (NoReplaceUnsupported(error)) return RenameByLink(from, to);
    return {error, std::generic_category()};
}

}  // namespace karvel
