#pragma once
// Local calendar records and the instants they name.
//
// Local time follows the zone rules in force at each instant, the way `ls -l` and file managers
// show it: a summer stamp reads with the summer offset even in winter. The zone rules are loaded
// once; conversions never look at the zone file again.

#include <time.h>

#include <cstdint>
#include <optional>

namespace karvel {

// A calendar record. wDayOfWeek (0 = Sunday) is filled in when reading and ignored when writing.
struct SYSTEMTIME {
    std::int16_t wYear = 0;
    std::int16_t wMonth = 0;  // 1 to 12
    std::int16_t wDayOfWeek = 0;
    std::int16_t wDay = 0;     // 1 to 31
    std::int16_t wHour = 0;    // 0 to 23
    std::int16_t wMinute = 0;  // 0 to 59
    std::int16_t wSecond = 0;  // 0 to 59
    std::int16_t wMilliseconds = 0;

    friend bool operator==(const SYSTEMTIME&, const SYSTEMTIME&) = default;
};

// A local calendar record with the UTC offset in force at its instant.
struct LocalTime {
    SYSTEMTIME time;
    std::int32_t utcOffset = 0;  // seconds east of UTC
};

// An instant as local time, with the rules in force at that instant; empty when the year does not
// fit the record.
std::optional<LocalTime> InstantToLocal(const timespec& instant);

// The instant a local record names, to the millisecond. `utcOffset` picks between the two instants
// of a repeated hour where it fits the record; without it the earlier one is taken. A time inside
// the hour skipped when daylight saving time begins moves forward by the skipped hour. Empty when
// the record is no valid date and time.
std::optional<timespec> LocalToInstant(const SYSTEMTIME& time,
                                       std::optional<std::int32_t> utcOffset = std::nullopt);

}  // namespace karvel
