// Conversions between instants and local calendar records.
//
// Only localtime_r touches the zone rules: it does not re-check the zone file per call the way
// localtime and mktime do, so a drop of many files costs no file-system call per conversion.
// Local to UTC is solved here by trying the offsets in force around the wall-clock time.

#include "filetime/LocalTime.h"

#include <time.h>

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>

namespace karvel {

namespace {

static_assert(sizeof(time_t) == 8, "instants beyond 2038 need a 64-bit time_t");

constexpr std::int64_t kSecondsPerDay = 86'400;
constexpr std::int64_t kNanosPerMilli = 1'000'000;

void LoadZoneRulesOnce() {
    static const bool loaded = [] {
        ::tzset();
        return true;
    }();
    (void)loaded;
}

std::optional<tm> LocalFields(std::int64_t seconds) {
    const time_t instant = seconds;
    tm fields{};
    if (::localtime_r(&instant, &fields) == nullptr) return std::nullopt;
    return fields;
}

std::optional<std::int32_t> OffsetAt(std::int64_t seconds) {
    const auto fields = LocalFields(seconds);
    if (!fields) return std::nullopt;
    return static_cast<std::int32_t>(fields->tm_gmtoff);
}

// True when `offset` is the one in force at the instant it gives for `wall`.
bool OffsetFits(std::int64_t wall, std::int32_t offset) {
    const auto actual = OffsetAt(wall - offset);
    return actual && *actual == offset;
}

// `wall` is the local date and time counted in seconds as if it were UTC.
std::optional<std::int64_t> ResolveWallClock(std::int64_t wall,
                                             std::optional<std::int32_t> utcOffset) {
    if (utcOffset && OffsetFits(wall, *utcOffset)) return wall - *utcOffset;

    // Offsets stay within a day of UTC and zone changes lie weeks apart, so two days either side
    // of the wall-clock time see the offsets before and after any change that touches it.
    constexpr std::int64_t kProbe = 2 * kSecondsPerDay;
    const auto before = OffsetAt(wall - kProbe);
    std::optional<std::int64_t> earliest;
    for (const auto& candidate : {before, OffsetAt(wall), OffsetAt(wall + kProbe)}) {
        if (!candidate || !OffsetFits(wall, *candidate)) continue;
        const std::int64_t instant = wall - *candidate;
        if (!earliest || instant < *earliest) earliest = instant;
    }
    if (earliest) return earliest;
    // No offset fits: the time was skipped. With the offset from before the change it lands
    // after the gap, moved forward by the skipped amount.
    if (before) return wall - *before;
    return std::nullopt;
}

bool InRange(std::int16_t value, int low, int high) {
    return value >= low && value <= high;
}

}  // namespace

std::optional<LocalTime> InstantToLocal(const timespec& instant) {
    if (instant.tv_nsec < 0 || instant.tv_nsec >= 1'000'000'000) return std::nullopt;
    LoadZoneRulesOnce();
    const auto fields = LocalFields(instant.tv_sec);
    if (!fields) return std::nullopt;
    const std::int64_t year = std::int64_t{fields->tm_year} + 1900;
    if (year < std::numeric_limits<std::int16_t>::min() ||
        year > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    LocalTime local;
    local.time.wYear = static_cast<std::int16_t>(year);
    local.time.wMonth = static_cast<std::int16_t>(fields->tm_mon + 1);
    local.time.wDayOfWeek = static_cast<std::int16_t>(fields->tm_wday);
    local.time.wDay = static_cast<std::int16_t>(fields->tm_mday);
    local.time.wHour = static_cast<std::int16_t>(fields->tm_hour);
    local.time.wMinute = static_cast<std::int16_t>(fields->tm_min);
    local.time.wSecond = static_cast<std::int16_t>(fields->tm_sec);
    local.time.wMilliseconds = static_cast<std::int16_t>(instant.tv_nsec / kNanosPerMilli);
    local.utcOffset = static_cast<std::int32_t>(fields->tm_gmtoff);
    return local;
}

std::optional<timespec> LocalToInstant(const SYSTEMTIME& time,
                                       std::optional<std::int32_t> utcOffset) {
    using namespace std::chrono;
    if (!InRange(time.wMonth, 1, 12) || !InRange(time.wDay, 1, 31) || !InRange(time.wHour, 0, 23) ||
        !InRange(time.wMinute, 0, 59) || !InRange(time.wSecond, 0, 59) ||
        !InRange(time.wMilliseconds, 0, 999)) {
        return std::nullopt;
    }
    const year_month_day date{year{time.wYear}, month{static_cast<unsigned>(time.wMonth)},
                              day{static_cast<unsigned>(time.wDay)}};
    if (!date.ok()) return std::nullopt;
    const std::int64_t wall =
        std::int64_t{sys_days{date}.time_since_epoch().count()} * kSecondsPerDay +
        time.wHour * 3600 + time.wMinute * 60 + time.wSecond;
    LoadZoneRulesOnce();
    const auto seconds = ResolveWallClock(wall, utcOffset);
    if (!seconds) return std::nullopt;
    timespec instant{};
    instant.tv_sec = *seconds;
    instant.tv_nsec = time.wMilliseconds * kNanosPerMilli;
    return instant;
}

}  // namespace karvel
