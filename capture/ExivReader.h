#pragma once
// Exif read by exiv2: from an image file's bytes, or from a bare Exif block.

#include <span>

#include "capture/ByteSource.h"
#include "capture/CaptureTime.h"

namespace karvel {

struct ExivImageRead {
    CaptureRead read;
    // exiv2 gave up partway, with an exception: after the Exif block, perhaps.
    bool gaveUp = false;
    // exiv2 reported an error without giving up: a directory or value that lies past the end of
    // the bytes, most often, though some cameras' maker notes draw one too.
    bool reportedErrors = false;
};

// Any image format exiv2 reads, from bytes in memory: all of a file or its head.
ExivImageRead ReadImageWithExiv2(std::span<const unsigned char> bytes);
// The same from a whole file, of any size: exiv2 reads what it needs.
ExivImageRead ReadImageWithExiv2(const ByteSource& source);

// An Exif block from its TIFF header on.
CaptureRead ReadExifBlock(std::span<const unsigned char> tiff);

}  // namespace karvel
