#include "files/MountKind.h"

#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <string_view>

#include "files/SmallFile.h"

namespace karvel {

namespace {

constexpr long kMsdosMagic = 0x4d44;
constexpr long kExfatMagic = 0x2011bab0;
constexpr long kFuseMagic = 0x65735546;

// FAT and exFAT keep local times from 1980 to 2107. A FUSE file system on a block device
// is one of them or NTFS, which keeps more: the narrower range is the safe one.
MountKind FatLike(std::string type) {
    return {std::move(type), false, 1980, 2107};
}

}  // namespace

std::optional<std::string> MountTypeOf(const std::string& mountInfo, unsigned major,
                                       unsigned minor) {
    const std::string device = std::to_string(major) + ":" + std::to_string(minor);
    std::string_view rest = mountInfo;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        // "36 35 98:0 /root /mount options [optional fields] - type source super-options"
        const auto first = line.find(' ');
        const auto second = first == std::string_view::npos ? first : line.find(' ', first + 1);
        const auto third = second == std::string_view::npos ? second : line.find(' ', second + 1);
        if (third == std::string_view::npos ||
            line.substr(second + 1, third - second - 1) != device)
            continue;
        const auto separator = line.find(" - ");
        if (separator == std::string_view::npos) continue;
        const std::string_view after = line.substr(separator + 3);
        return std::string(after.substr(0, after.find(' ')));
    }
    return std::nullopt;
}

MountKind MountKindOf(int fd) {
    struct statfs info {};
    if (::fstatfs(fd, &info) != 0) return {"unknown", true, {}, {}};
    if (info.f_type == kMsdosMagic) return FatLike("vfat");
    if (info.f_type == kExfatMagic) return FatLike("exfat");

    std::optional<std::string> type;
    struct stat status {};
    if (::fstat(fd, &status) == 0) {
        const SmallFile table = ReadSmallFile("/proc/self/mountinfo", 1u << 22);
        if (table.status == FileStatus::Read)
            type = MountTypeOf(table.bytes, ::major(status.st_dev), ::minor(status.st_dev));
    }
    if (info.f_type == kFuseMagic) {
        if (type == "fuseblk") return FatLike(*type);
        return {type.value_or("fuse"), false, {}, {}};
    }
    if (!type) {
        char magic[32];
        std::snprintf(magic, sizeof magic, "0x%lx", static_cast<unsigned long>(info.f_type));
        type = magic;
    }
    return {*type, true, {}, {}};
}

}  // namespace karvel
