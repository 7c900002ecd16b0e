#pragma once
// Shared by the capture tests: times as text, the checked-in samples, one way to compare.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <time.h>

#include <cstdio>
#include <ostream>
#include <stdexcept>
#include <string>

#include "capture/CaptureTime.h"
#include "files/UniqueFd.h"
#include "support/TempDir.h"

namespace karvel {

// "2024-03-05 10:20:30.123", to the millisecond.
inline std::string TextOf(const WallClock& c) {
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03ld", c.year, c.month, c.day,
                  c.hour, c.minute, c.second, c.nanos / 1'000'000);
    return text;
}

// The instant as UTC, the same way.
inline std::string UtcText(const timespec& instant) {
    tm utc{};
    ::gmtime_r(&instant.tv_sec, &utc);
    return TextOf({utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
                   utc.tm_sec, instant.tv_nsec});
}

inline std::ostream& operator<<(std::ostream& out, const CaptureRead& read) {
    if (!read.time) return out << "no time, why " << static_cast<int>(read.why);
    const CaptureTime& time = *read.time;
    return out << TextOf(time.shown) << " (UTC " << UtcText(time.instant) << ", offset "
               << time.utcOffset << ", origin " << static_cast<int>(time.origin) << ", tag "
               << static_cast<int>(time.tag) << ")";
}

// Equal in every field; the why only counts without a time.
inline bool SameRead(const CaptureRead& a, const CaptureRead& b) {
    if (a.time.has_value() != b.time.has_value()) return false;
    if (!a.time) return a.why == b.why;
    return a.time->shown == b.time->shown && a.time->instant.tv_sec == b.time->instant.tv_sec &&
           a.time->instant.tv_nsec == b.time->instant.tv_nsec &&
           a.time->utcOffset == b.time->utcOffset && a.time->origin == b.time->origin &&
           a.time->tag == b.time->tag;
}

namespace testing {

// tests/data/capture/, made by tests/data/make-capture-samples.sh.
inline const std::string kSampleFolder = KARVEL_CAPTURE_SAMPLES;

inline std::string SampleBytes(const std::string& name) {
    std::string bytes = ReadAll(kSampleFolder + name);
    if (bytes.empty()) throw std::runtime_error("missing sample " + name);
    return bytes;
}

inline UniqueFd OpenFolder(const std::string& folder) {
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.Valid()) throw std::runtime_error("cannot open " + folder);
    return fd;
}

inline CaptureRead ReadFileIn(const std::string& folder, const std::string& name) {
    return ReadCaptureTimeAt(OpenFolder(folder).Get(), name);
}

inline CaptureRead ReadText(const std::string& bytes) {
    return ReadCaptureTimeFromBytes(
        {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()});
}

inline void ExpectNone(const CaptureRead& read, NoCapture why, const std::string& what) {
    EXPECT_FALSE(read.time) << what << ": " << read;
    EXPECT_EQ(static_cast<int>(read.why), static_cast<int>(why)) << what;
}

}  // namespace testing
}  // namespace karvel
