#pragma once
// A movie's creation time as libavformat writes it, "2024-03-31T01:30:00.000000Z": a UTC instant,
// shown in local time by the zone rules of that instant.

#include <string_view>

#include "capture/CaptureTime.h"

namespace karvel {

CaptureRead CaptureFromCreationTime(std::string_view text);

}  // namespace karvel
