// Opens the file, tells its format by the leading bytes and hands it to the library that reads it.

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "capture/ByteSource.h"
#include "capture/CaptureTime.h"
#include "capture/ExivReader.h"
#include "capture/HeifReader.h"
#include "capture/MediaKind.h"
#include "capture/VideoReader.h"
#include "files/UniqueFd.h"

namespace karvel {

namespace {

// Enough for a JPEG's Exif segment (at most 64 KiB) behind whatever comes first, and for the
// first directories of the TIFF-based raw formats: read in one go, parsed in memory.
constexpr std::size_t kHeadBytes = 128 * 1024;

CaptureRead Failed(NoCapture why) {
    return {std::nullopt, why};
}

CaptureRead ReadExiv2Image(const ByteSource& source, std::span<const unsigned char> head,
                           MediaKind kind) {
    const ExivImageRead fromHead = ReadImageWithExiv2(head);
    const bool enough =
        head.size() >= source.Size() ||
        // exiv2 stops reading a JPEG at its image data: having got there it has seen all metadata.
        (kind == MediaKind::Jpeg && !fromHead.gaveUp && !fromHead.reportedErrors) ||
        // exiv2 reports a directory that points past the head, whose date may be the one.
        (fromHead.read.time && !fromHead.reportedErrors);
    if (enough) return fromHead.read;
    const ExivImageRead whole = ReadImageWithExiv2(source);
    // A file too large to take in whole, say, tells no more than its head did.
    const bool headWasSound = !fromHead.gaveUp && !fromHead.reportedErrors;
    if (!whole.read.time && whole.read.why == NoCapture::LibraryError && headWasSound) {
        return fromHead.read;
    }
    return whole.read;
}

CaptureRead ReadSource(const ByteSource& source) {
    const auto head = source.Head(kHeadBytes);
    if (!head) return Failed(NoCapture::Unreadable);
    switch (const MediaKind kind = SniffMediaKind(head->Bytes())) {
        case MediaKind::Jpeg:
        case MediaKind::ExifImage:
            return ReadExiv2Image(source, head->Bytes(), kind);
        case MediaKind::Heif:
            return ReadHeifCaptureTime(source);
        case MediaKind::QuickTime:
            return ReadVideoCaptureTime(source);
        case MediaKind::Unknown:
            break;
    }
    return Failed(NoCapture::UnknownFormat);
}

// Nothing a library throws (an allocation that fails, most likely) gets past here.
CaptureRead ReadGuarded(const ByteSource& source) {
    try {
        return ReadSource(source);
    } catch (...) {
        return Failed(NoCapture::LibraryError);
    }
}

}  // namespace

CaptureRead ReadCaptureTime(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) return Failed(NoCapture::Unreadable);
    if (!S_ISREG(status.st_mode)) return Failed(NoCapture::NotRegularFile);
    return ReadGuarded(ByteSource::File(fd, static_cast<std::uint64_t>(status.st_size)));
}

CaptureRead ReadCaptureTimeAt(int folderFd, const std::string& name) {
    // A bare name: a slash would walk into folders, a NUL would cut the name short.
    if (name.find_first_of(std::string_view("/\0", 2)) != std::string::npos) {
        return Failed(NoCapture::Unreadable);
    }
    // Looked at before it is opened, as opening some devices already does something.
    struct stat status {};
    if (::fstatat(folderFd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return Failed(NoCapture::Unreadable);
    }
    if (!S_ISREG(status.st_mode)) return Failed(NoCapture::NotRegularFile);
    // Checked again once open: the name may have been given to something else meanwhile. Never
    // waits for a writer, never becomes the controlling terminal.
    const UniqueFd fd(::openat(folderFd, name.c_str(),
                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.Valid()) {
        return Failed(errno == ELOOP || errno == ENXIO ? NoCapture::NotRegularFile
                                                       : NoCapture::Unreadable);
    }
    return ReadCaptureTime(fd.Get());
}

CaptureRead ReadCaptureTimeFromBytes(std::span<const unsigned char> bytes) {
    return ReadGuarded(ByteSource::Memory(bytes));
}

}  // namespace karvel
