// Any bytes as a photo or a movie. The reader never crashes, hangs or leaks a descriptor, gives the
// same answer twice, and any time it gives is a real date whose shown wall time, offset and
// instant agree.

#include <fcntl.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzCheck.h"
#include "capture/CaptureTime.h"

namespace {

using namespace karvel;

int LowestFreeFd() {
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    FUZZ_CHECK(fd >= 0);
    ::close(fd);
    return fd;
}

bool SameRead(const CaptureRead& a, const CaptureRead& b) {
    if (a.time.has_value() != b.time.has_value()) return false;
    if (!a.time) return a.why == b.why;
    return a.time->shown == b.time->shown && a.time->instant.tv_sec == b.time->instant.tv_sec &&
           a.time->instant.tv_nsec == b.time->instant.tv_nsec &&
           a.time->utcOffset == b.time->utcOffset && a.time->origin == b.time->origin &&
           a.time->tag == b.time->tag;
}

void CheckTime(const CaptureTime& time) {
    const WallClock& shown = time.shown;
    FUZZ_CHECK(shown.year >= 1601 && shown.year <= 9999);
    const std::chrono::year_month_day date{std::chrono::year{shown.year},
                                           std::chrono::month{static_cast<unsigned>(shown.month)},
                                           std::chrono::day{static_cast<unsigned>(shown.day)}};
    FUZZ_CHECK(date.ok());
    FUZZ_CHECK(shown.hour >= 0 && shown.hour <= 23 && shown.minute >= 0 && shown.minute <= 59 &&
               shown.second >= 0 && shown.second <= 59);
    FUZZ_CHECK(shown.nanos >= 0 && shown.nanos < 1'000'000'000);
    FUZZ_CHECK(time.instant.tv_nsec == shown.nanos);
    // Zones and offset tags stay within 14 hours of UTC (old local mean times a little more).
    FUZZ_CHECK(time.utcOffset >= -16 * 3600 && time.utcOffset <= 16 * 3600);
    const std::int64_t wall =
        std::int64_t{std::chrono::sys_days{date}.time_since_epoch().count()} * 86'400 +
        shown.hour * 3'600 + shown.minute * 60 + shown.second;
    FUZZ_CHECK(wall - time.utcOffset == time.instant.tv_sec);
    FUZZ_CHECK((time.origin == CaptureOrigin::VideoUtc) == (time.tag == CaptureTag::CreationTime));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A zone with daylight saving time, so that both offsets and the changes between them occur.
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const unsigned char> bytes(data, size);
    const int freeFd = LowestFreeFd();
    const CaptureRead read = ReadCaptureTimeFromBytes(bytes);
    if (read.time) CheckTime(*read.time);
    // Bytes in memory are always there to read.
    FUZZ_CHECK(read.time ||
               (read.why != NoCapture::NotRegularFile && read.why != NoCapture::Unreadable));
    FUZZ_CHECK(SameRead(read, ReadCaptureTimeFromBytes(bytes)));
    FUZZ_CHECK(LowestFreeFd() == freeFd);
    return 0;
}
