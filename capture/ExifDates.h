#pragma once
// The capture time an Exif block gives: its three date tags tried in turn, each with its
// sub-second and offset tags.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "capture/CaptureTime.h"

namespace karvel {

// One date tag's text and its companions, as the file holds them (padding included).
struct ExifDateTexts {
    std::optional<std::string> dateTime;  // empty when the tag is missing
    std::string subSeconds;
    std::string offset;
};

// What an Exif block holds for the capture time.
struct ExifDates {
    // DateTimeOriginal, DateTimeDigitized and DateTime, in the order they are tried.
    std::array<ExifDateTexts, 3> tags;
    bool anyTag = false;  // the block held at least one tag of any kind
};

inline constexpr std::array<CaptureTag, 3> kExifDateTags = {
    CaptureTag::DateTimeOriginal, CaptureTag::DateTimeDigitized, CaptureTag::DateTime};

// "+09:00" or "-03:30" as seconds east of UTC; empty for anything else, the blank "   :  " too.
std::optional<std::int32_t> ParseExifOffset(std::string_view text);

// The first date that reads, else why none does.
CaptureRead ChooseExifCapture(const ExifDates& dates);

}  // namespace karvel
