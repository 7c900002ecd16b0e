#pragma once
// Pins the local zone for one test and builds UTC instants to compare with.

#include <stdlib.h>
#include <time.h>

#include <cstdint>
#include <optional>
#include <string>

#include "filetime/FileTimes.h"

namespace karvel::testing {

class PinnedZone {
  public:
    explicit PinnedZone(const char* zone) {
        if (const char* old = ::getenv("TZ")) saved_ = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~PinnedZone() {
        saved_ ? ::setenv("TZ", saved_->c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }
    PinnedZone(const PinnedZone&) = delete;
    PinnedZone& operator=(const PinnedZone&) = delete;

  private:
    std::optional<std::string> saved_;
};

inline timespec Utc(int year, int month, int day, int hour, int minute, int second,
                    long nanos = 0) {
    tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    timespec out{};
    out.tv_sec = ::timegm(&fields);
    out.tv_nsec = nanos;
    return out;
}

// One number per instant, so that a failed comparison prints something readable.
inline long long Nanos(const timespec& t) {
    return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

inline SYSTEMTIME Local(int year, int month, int day, int hour, int minute, int second = 0,
                        int millis = 0, int dayOfWeek = 0) {
    const auto s = [](int v) { return static_cast<std::int16_t>(v); };
    return {s(year), s(month), s(dayOfWeek), s(day), s(hour), s(minute), s(second), s(millis)};
}

}  // namespace karvel::testing
