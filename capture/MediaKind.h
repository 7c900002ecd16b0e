#pragma once
// Which library reads a file, told by its leading bytes alone.

#include <span>

namespace karvel {

enum class MediaKind {
    Unknown,
    Jpeg,       // exiv2; its Exif lies in front of the image data
    ExifImage,  // exiv2: TIFF and the raw formats built on it, PNG, WebP, RAF, CR3
    Heif,       // libheif hands over the Exif block, exiv2 reads it: HEIC, HEIF, AVIF
    QuickTime,  // libavformat: MP4, MOV, M4V, 3GP and the rest of the ISO family
};

MediaKind SniffMediaKind(std::span<const unsigned char> head);

}  // namespace karvel
