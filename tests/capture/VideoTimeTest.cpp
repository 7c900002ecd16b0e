// The creation time texts libavformat hands over for a movie.

#include <gtest/gtest.h>

#include "CaptureSupport.h"
#include "capture/VideoTime.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

TEST(VideoTime, CreationTimeTexts) {
    const testing::PinnedZone zone("Asia/Tokyo");
    const struct {
        const char* text;
        const char* utc;  // null: a bad date
    } kCases[] = {
        {"2024-03-31T00:59:59.000000Z", "2024-03-31 00:59:59.000"},
        {"2024-03-31T00:59:59.250000Z", "2024-03-31 00:59:59.250"},
        {"2024-03-31T00:59:59Z", "2024-03-31 00:59:59.000"},
        {"2024-03-31T00:59:59", "2024-03-31 00:59:59.000"},
        {"2024-03-31 00:59:59", "2024-03-31 00:59:59.000"},
        {"1904-01-01T00:00:00.000000Z", "1904-01-01 00:00:00.000"},
        {"9999-12-31T14:59:59Z", "9999-12-31 14:59:59.000"},
        {"9999-12-31T15:00:00Z", nullptr},  // the year 10000 in Tokyo
        {"0000-00-00T00:00:00.000000Z", nullptr},
        {"2024-02-30T00:00:00Z", nullptr},
        {"2024-03-31T00:59:59.Z", nullptr},
        {"2024-03-31T00:59:59.12a000Z", nullptr},
        {"2024-03-31T00:59:59+09:00", nullptr},
        {"2024:03:31T00:59:59Z", nullptr},
        {"", nullptr},
    };
    for (const auto& sample : kCases) {
        SCOPED_TRACE(sample.text);
        const CaptureRead read = CaptureFromCreationTime(sample.text);
        if (sample.utc == nullptr) {
            testing::ExpectNone(read, NoCapture::BadDate, "bad");
            continue;
        }
        ASSERT_TRUE(read.time) << read;
        EXPECT_EQ(UtcText(read.time->instant), sample.utc);
        EXPECT_EQ(read.time->utcOffset, 9 * 3600);
        EXPECT_EQ(read.time->shown.nanos, read.time->instant.tv_nsec);
        EXPECT_EQ(read.time->origin, CaptureOrigin::VideoUtc);
    }
}

}  // namespace
}  // namespace karvel
