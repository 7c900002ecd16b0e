#pragma once
// HEIF, HEIC and AVIF: libheif finds the primary image's Exif block, exiv2 reads it.

#include "capture/ByteSource.h"
#include "capture/CaptureTime.h"

namespace karvel {

CaptureRead ReadHeifCaptureTime(const ByteSource& source);

}  // namespace karvel
