// The creation time texts libavformat hands over for a movie.

#include <gtest/gtest.h>

#include "CaptureSupport.h"
#include "capture/VideoTime.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::PinnedZone;
using testing::Utc;

TEST(VideoTime, CreationTimeTexts) {
    const PinnedZone zone("Asia/Tokyo");
    const struct {
        const char* text;
        std::optional<timespec> instant;  // empty: a bad date
    } kCases[] = {
        {"2024-03-31T00:59:59.000000Z", Utc(2024, 3, 31, 0, 59, 59)},
        {"2024-03-31T00:59:59.250000Z", Utc(2024, 3, 31, 0, 59, 59, 250'000'000)},
        {"2024-03-31T00:59:59Z", Utc(2024, 3, 31, 0, 59, 59)},
        {"2024-03-31T00:59:59", Utc(2024, 3, 31, 0, 59, 59)},
        {"2024-03-31 00:59:59", Utc(2024, 3, 31, 0, 59, 59)},
        {"1904-01-01T00:00:00.000000Z", Utc(1904, 1, 1, 0, 0, 0)},
        {"9999-12-31T14:59:59Z", Utc(9999, 12, 31, 14, 59, 59)},
        {"9999-12-31T15:00:00Z", std::nullopt},  // the year 10000 in Tokyo
        {"0000-00-00T00:00:00.000000Z", std::nullopt},
        {"2024-02-30T00:00:00Z", std::nullopt},
        {"2024-03-31T00:59:59.Z", std::nullopt},
        {"2024-03-31T00:59:59.12a000Z", std::nullopt},
        {"2024-03-31T00:59:59+09:00", std::nullopt},
        {"2024:03:31T00:59:59Z", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& sample : kCases) {
        SCOPED_TRACE(sample.text);
        const CaptureRead read = CaptureFromCreationTime(sample.text);
        if (!sample.instant) {
            EXPECT_FALSE(read.time) << read;
            EXPECT_EQ(read.why, NoCapture::BadDate);
            continue;
        }
        ASSERT_TRUE(read.time) << read;
        EXPECT_EQ(testing::Nanos(read.time->instant), testing::Nanos(*sample.instant));
        EXPECT_EQ(read.time->utcOffset, 9 * 3600);
        EXPECT_EQ(read.time->shown.nanos, sample.instant->tv_nsec);
        EXPECT_EQ(read.time->origin, CaptureOrigin::VideoUtc);
    }
}

}  // namespace
}  // namespace karvel
