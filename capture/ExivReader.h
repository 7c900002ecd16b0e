#pragma once
// Exif read by exiv2: from an image file's bytes, or from a bare Exif block.

#include <span>

#include "capture/CaptureTime.h"

namespace karvel {

struct ExivImageRead {
    CaptureRead read;
    // exiv2 went through the bytes without an error; false too when it gave up partway, after
    // the Exif block perhaps.
    bool clean = false;
};

// Any image format exiv2 reads. A date that was read before exiv2 gave up still counts.
ExivImageRead ReadImageWithExiv2(std::span<const unsigned char> bytes);

// An Exif block from its TIFF header on.
CaptureRead ReadExifBlock(std::span<const unsigned char> tiff);

}  // namespace karvel
