#pragma once
// The capture reader as a module loaded only when capture times are asked for: the
// metadata libraries it needs are many and large, and most runs of karvel need none.

#include <cstdint>

extern "C" {

struct KarvelCaptureDate {
    int found;  // 1: a capture time; 0: none, `why` says why
    int year, month, day;
    std::int64_t seconds;  // the instant, since 1970 UTC
    long nanos;
    int why;  // the reader's NoCapture, when none was found
};

// The capture time of `name` (a bare name) inside the opened folder `folderFd`.
void karvel_read_capture_date(int folderFd, const char* name, KarvelCaptureDate* out);
}

// The name a program looks the function up by.
inline constexpr const char* kCaptureReaderSymbol = "karvel_read_capture_date";
using CaptureReaderFunction = void (*)(int, const char*, KarvelCaptureDate*);
