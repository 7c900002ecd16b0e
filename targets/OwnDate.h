#pragma once
// A row's own date, where the new names follow each file rather than the calendar: the
// photo's capture time, or the file's modified time.

#include <time.h>

#include <cstdint>

#include "naming/DatePrefix.h"

namespace karvel {

enum class DateOrigin : std::uint8_t {
    Taken,            // the photo's or video's capture time
    Modified,         // the file's modified time, as asked
    ModifiedInstead,  // the file's modified time: it has no capture time
};

// Why a file had no capture time, for the row's tooltip (the reader's own reasons).
enum class NoCaptureWhy : std::uint8_t {
    None,
    NoMetadata,
    NoDate,
    BadDate,
    Unreadable,
    NotRegularFile,
    UnknownFormat,
    LibraryError,
};

struct OwnDate {
    CalendarDate shown;  // the date of the new name: the day the camera's clock showed
    timespec instant{};  // the new modified time, and the order of the serials
    DateOrigin origin = DateOrigin::Modified;
    NoCaptureWhy why = NoCaptureWhy::None;
};

}  // namespace karvel
