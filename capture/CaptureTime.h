#pragma once
// When a photo or a video was taken, read from the file's own metadata.
//
// Safe to call from several threads at once. Only regular files are read; nothing here throws,
// blocks on a pipe or reads more of a file than its metadata needs.

#include <time.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace karvel {

// A date and time as a clock showed it, without a zone.
struct WallClock {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    int hour = 0;   // 0 to 23
    int minute = 0;
    int second = 0;
    long nanos = 0;  // below the second, to order shots taken within one

    friend bool operator==(const WallClock&, const WallClock&) = default;
};

enum class CaptureOrigin {
    Exif,            // Exif date and time without an offset: the camera's wall time, read as local
    ExifWithOffset,  // Exif date and time with its offset tag: an exact instant
    VideoUtc,        // a QuickTime creation time: a UTC instant, shown in local time
};

// The tag the time was taken from.
enum class CaptureTag {
    DateTimeOriginal,
    DateTimeDigitized,
    DateTime,      // Exif IFD0's date of the last change, the last resort
    CreationTime,  // the QuickTime movie header's
};

struct CaptureTime {
    WallClock shown;     // the Exif time as written, or a video's UTC instant in local time
    timespec instant{};  // what `shown` names, sub-seconds included
    // Seconds east of UTC that `shown` is ahead of `instant`: the offset tag's, or the local
    // zone's at that instant.
    std::int32_t utcOffset = 0;
    CaptureOrigin origin = CaptureOrigin::Exif;
    CaptureTag tag = CaptureTag::DateTimeOriginal;
};

// Why a file gave no capture time.
enum class NoCapture {
    NoMetadata,      // a known format that carries no Exif block or movie metadata
    NoDate,          // metadata without any of the date tags
    BadDate,         // only dates that are blank, zero, malformed or outside 1601 to 9999
    Unreadable,      // the file cannot be opened or read
    NotRegularFile,  // a folder, link, pipe, socket or device
    UnknownFormat,   // none of the image or video formats read here
    LibraryError,    // the metadata library gave up on the file: truncated or corrupt
};

struct CaptureRead {
    std::optional<CaptureTime> time;
    NoCapture why = NoCapture::NoMetadata;  // meaningful only without a time
};

// The file `name` (a bare name, its bytes as they are) inside the opened folder `folderFd`.
// Symbolic links are not followed.
CaptureRead ReadCaptureTimeAt(int folderFd, const std::string& name);

// A file already open for reading; anything but a regular file is refused. The descriptor's
// offset is left alone.
CaptureRead ReadCaptureTime(int fd);

// A whole file's bytes in memory.
CaptureRead ReadCaptureTimeFromBytes(std::span<const unsigned char> bytes);

}  // namespace karvel
