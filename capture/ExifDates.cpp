#include "capture/ExifDates.h"

#include "capture/ClockText.h"
#include "filetime/LocalTime.h"

namespace karvel {

namespace {

// Real zones lie between 12 hours west and 14 hours east.
constexpr int kMaxOffsetHours = 14;

SYSTEMTIME AsSystemTime(const WallClock& clock) {
    const auto field = [](int value) { return static_cast<std::int16_t>(value); };
    SYSTEMTIME time;
    time.wYear = field(clock.year);
    time.wMonth = field(clock.month);
    time.wDay = field(clock.day);
    time.wHour = field(clock.hour);
    time.wMinute = field(clock.minute);
    time.wSecond = field(clock.second);
    return time;
}

std::optional<CaptureTime> ReadDate(const ExifDateTexts& texts, CaptureTag tag) {
    auto shown = ParseClockText(TrimPadding(*texts.dateTime), ":-", " T");
    if (!shown) return std::nullopt;
    shown->nanos = ParseFraction(TrimPadding(texts.subSeconds)).value_or(0);

    const std::int64_t wall = SecondsAsUtc(*shown);
    CaptureTime time;
    time.shown = *shown;
    time.tag = tag;
    if (const auto offset = ParseExifOffset(TrimPadding(texts.offset))) {
        time.origin = CaptureOrigin::ExifWithOffset;
        time.utcOffset = *offset;
        time.instant.tv_sec = wall - *offset;
    } else {
        // The camera's clock in the zone it was set to, taken to be this one.
        const auto local = LocalToInstant(AsSystemTime(*shown));
        if (!local) return std::nullopt;
        time.origin = CaptureOrigin::Exif;
        time.instant.tv_sec = local->tv_sec;
        time.utcOffset = static_cast<std::int32_t>(wall - local->tv_sec);
    }
    time.instant.tv_nsec = shown->nanos;
    return time;
}

}  // namespace

std::optional<std::int32_t> ParseExifOffset(std::string_view text) {
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':') {
        return std::nullopt;
    }
    const auto digit = [&](std::size_t i) -> std::optional<int> {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        return text[i] - '0';
    };
    const auto h1 = digit(1), h2 = digit(2), m1 = digit(4), m2 = digit(5);
    if (!h1 || !h2 || !m1 || !m2) return std::nullopt;
    const int hours = *h1 * 10 + *h2;
    const int minutes = *m1 * 10 + *m2;
    if (hours > kMaxOffsetHours || minutes > 59) return std::nullopt;
    const int seconds = hours * 3'600 + minutes * 60;
    return text[0] == '-' ? -seconds : seconds;
}

CaptureRead ChooseExifCapture(const ExifDates& dates) {
    bool sawDate = false;
    for (std::size_t i = 0; i < dates.tags.size(); ++i) {
        if (!dates.tags[i].dateTime) continue;
        sawDate = true;
        if (auto time = ReadDate(dates.tags[i], kExifDateTags[i])) return {time, {}};
    }
    if (sawDate) return {std::nullopt, NoCapture::BadDate};
    return {std::nullopt, dates.anyTag ? NoCapture::NoDate : NoCapture::NoMetadata};
}

}  // namespace karvel
