#include "targets/AbsolutePaths.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace karvel {

std::optional<std::string> CurrentFolder() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
    const std::string folder = buffer.data();
    // A removed folder may still be reported by a name that now means another.
    struct stat here {
    }, named{};
    if (!folder.starts_with('/') || ::stat(".", &here) != 0 ||
        ::stat(folder.c_str(), &named) != 0 || here.st_dev != named.st_dev ||
        here.st_ino != named.st_ino) {
        return std::nullopt;
    }
    return folder;
}

std::optional<std::string> AbsolutePath(const std::string& path,
                                        const std::optional<std::string>& currentFolder) {
    if (path.starts_with('/')) return path;
    if (!currentFolder) return std::nullopt;
    return *currentFolder + (currentFolder->ends_with('/') ? "" : "/") + path;
}

}  // namespace karvel
