#include "capture/VideoTime.h"

#include "capture/ClockText.h"
#include "filetime/LocalTime.h"

namespace karvel {

namespace {

// "2024-03-31T01:30:00", then optionally a fraction and a closing "Z".
std::optional<WallClock> ParseUtc(std::string_view text) {
    if (text.ends_with('Z')) text.remove_suffix(1);
    long nanos = 0;
    if (text.size() > 19 && text[19] == '.') {
        const auto fraction = ParseFraction(text.substr(20));
        if (!fraction) return std::nullopt;
        nanos = *fraction;
        text = text.substr(0, 19);
    }
    auto utc = ParseClockText(text, "-", "T ");
    if (utc) utc->nanos = nanos;
    return utc;
}

}  // namespace

CaptureRead CaptureFromCreationTime(std::string_view text) {
    const auto utc = ParseUtc(TrimPadding(text));
    if (!utc) return {std::nullopt, NoCapture::BadDate};
    timespec instant{};
    instant.tv_sec = SecondsAsUtc(*utc);
    instant.tv_nsec = utc->nanos;
    const auto local = InstantToLocal(instant);
    if (!local || local->time.wYear < kFirstCaptureYear || local->time.wYear > kLastCaptureYear) {
        return {std::nullopt, NoCapture::BadDate};
    }
    CaptureTime time;
    time.shown = {local->time.wYear,   local->time.wMonth,  local->time.wDay, local->time.wHour,
                  local->time.wMinute, local->time.wSecond, utc->nanos};
    time.instant = instant;
    time.utcOffset = local->utcOffset;
    time.origin = CaptureOrigin::VideoUtc;
    time.tag = CaptureTag::CreationTime;
    return {time, {}};
}

}  // namespace karvel
