#include <gtest/gtest.h>

#include "filetime/LocalTime.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::Local;
using testing::Nanos;
using testing::PinnedZone;
using testing::Utc;

TEST(LocalTime, EachInstantUsesTheOffsetInForceThen) {
    const PinnedZone zone("Europe/Berlin");
    const auto summer = InstantToLocal(Utc(2024, 7, 15, 10, 0, 0));
    const auto winter = InstantToLocal(Utc(2024, 1, 15, 10, 0, 0));
    ASSERT_TRUE(summer && winter);
    EXPECT_EQ(summer->time, Local(2024, 7, 15, 12, 0, 0, 0, 1));
    EXPECT_EQ(summer->utcOffset, 7200);
    EXPECT_EQ(winter->time, Local(2024, 1, 15, 11, 0, 0, 0, 1));
    EXPECT_EQ(winter->utcOffset, 3600);
}

// Per zone: the skipped hour moves forward, the repeated hour takes the carried offset or else
// its first occurrence, and an offset that does not fit the date is ignored.
struct DstCase {
    const char* zone;
    SYSTEMTIME skipped, repeated;
    std::int32_t firstOffset, secondOffset;
    timespec afterGap, first, second;
};

TEST(LocalTime, DaylightSavingChanges) {
    const DstCase cases[] = {
        {"Europe/Berlin", Local(2024, 3, 31, 2, 30), Local(2024, 10, 27, 2, 30), 7200, 3600,
         Utc(2024, 3, 31, 1, 30, 0), Utc(2024, 10, 27, 0, 30, 0), Utc(2024, 10, 27, 1, 30, 0)},
        {"America/New_York", Local(2024, 3, 10, 2, 30), Local(2024, 11, 3, 1, 30), -14400, -18000,
         Utc(2024, 3, 10, 7, 30, 0), Utc(2024, 11, 3, 5, 30, 0), Utc(2024, 11, 3, 6, 30, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        const PinnedZone zone(c.zone);
        EXPECT_EQ(Nanos(*LocalToInstant(c.skipped)), Nanos(c.afterGap));
        EXPECT_EQ(Nanos(*LocalToInstant(c.repeated)), Nanos(c.first));
        EXPECT_EQ(Nanos(*LocalToInstant(c.repeated, c.firstOffset)), Nanos(c.first));
        EXPECT_EQ(Nanos(*LocalToInstant(c.repeated, c.secondOffset)), Nanos(c.second));
        EXPECT_EQ(InstantToLocal(c.afterGap)->time.wHour, c.skipped.wHour + 1);

        SYSTEMTIME january = c.repeated;
        january.wMonth = 1;
        EXPECT_EQ(Nanos(*LocalToInstant(january, c.firstOffset)),
                  Nanos(*LocalToInstant(january, c.secondOffset)));
    }
}

// The run keeps a file's time of day by reading its modified instant as local time and
// writing it back with another date: with the offset read, the same date gives back the
// same instant to the millisecond, in either repeated hour and at either side of a gap.
TEST(LocalTime, AnInstantReadWithItsOffsetWritesBackTheSame) {
    const struct {
        const char* zone;
        timespec instant;
    } cases[] = {
        {"Europe/Berlin", Utc(2024, 10, 27, 0, 30, 0, 250'999'999)},  // 02:30 summer time
        {"Europe/Berlin", Utc(2024, 10, 27, 1, 30, 0, 250'000'001)},  // 02:30 winter time
        {"Europe/Berlin", Utc(2024, 3, 31, 0, 59, 59, 999'000'000)},  // before the gap
        {"Europe/Berlin", Utc(2024, 3, 31, 1, 0, 0)},                 // after it
        {"America/New_York", Utc(2024, 11, 3, 6, 30, 0, 5'000'000)},  // the second 01:30
        {"JST-9", Utc(2024, 3, 5, 5, 7, 9, 123'456'700)},
    };
    for (const auto& c : cases) {
        const PinnedZone zone(c.zone);
        const auto local = InstantToLocal(c.instant);
        ASSERT_TRUE(local) << c.zone;
        const auto back = LocalToInstant(local->time, local->utcOffset);
        ASSERT_TRUE(back) << c.zone;
        EXPECT_EQ(Nanos(*back), Nanos(c.instant) / 1'000'000 * 1'000'000) << c.zone;
    }
}

}  // namespace
}  // namespace karvel
