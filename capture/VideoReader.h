#pragma once
// MP4, MOV, M4V, 3GP: libavformat reads the movie header's creation time, never the media data.

#include "capture/ByteSource.h"
#include "capture/CaptureTime.h"

namespace karvel {

CaptureRead ReadVideoCaptureTime(const ByteSource& source);

}  // namespace karvel
