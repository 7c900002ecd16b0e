#include <gtest/gtest.h>

#include "filetime/LocalTime.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::Local;
using testing::Nanos;
using testing::PinnedZone;
using testing::Utc;

FILETIME FileTimeOf(std::uint64_t ticks) {
    return {static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
}

// 2024-03-05 05:07:09.1234567 UTC.
const std::uint64_t kExampleTicks =
    static_cast<std::uint64_t>(Utc(2024, 3, 5, 5, 7, 9).tv_sec + 11'644'473'600) * 10'000'000 +
    1'234'567;

TEST(FileTimeConversion, BothWaysInAZoneNineHoursEast) {
    const PinnedZone zone("JST-9");
    SYSTEMTIME local{};
    FileTimeToLocalSystemTime(FileTimeOf(kExampleTicks), local);
    EXPECT_EQ(local, Local(2024, 3, 5, 14, 7, 9, 123, 2));

    FILETIME back{};
    LocalSystemTimeToFileTime(Local(2024, 3, 5, 14, 7, 9, 123, 6), back);  // day of week ignored
    EXPECT_EQ(back, FileTimeOf(kExampleTicks - 4'567));  // nothing below the millisecond
}

TEST(FileTimeConversion, FailuresKeepTheCallersValue) {
    const SYSTEMTIME mark = Local(1999, 9, 9, 9, 9);
    {
        const PinnedZone zone("JST-9");
        SYSTEMTIME local = mark;
        FileTimeToLocalSystemTime(FILETIME{}, local);
        EXPECT_EQ(local, Local(1601, 1, 1, 9, 0, 0, 0, 1));
        local = mark;
        FileTimeToLocalSystemTime(FileTimeOf(1ULL << 63), local);
        EXPECT_EQ(local, mark);
    }
    {
        const PinnedZone zone("EST5");  // the zero time would be local 1600
        SYSTEMTIME local = mark;
        FileTimeToLocalSystemTime(FILETIME{}, local);
        EXPECT_EQ(local, mark);
    }
    const PinnedZone zone("JST-9");
    const FILETIME kept{7, 7};
    for (const auto& bad :
         {Local(2024, 13, 1, 0, 0), Local(2023, 2, 29, 0, 0), Local(2024, 1, 1, 24, 0),
          Local(1600, 12, 31, 23, 0), Local(1601, 1, 1, 8, 59), Local(2024, 1, 1, 0, 0, 0, 1000)}) {
        FILETIME fileTime = kept;
        LocalSystemTimeToFileTime(bad, fileTime);
        EXPECT_EQ(fileTime, kept) << bad.wYear << "-" << bad.wMonth << "-" << bad.wDay;
    }
}

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

}  // namespace
}  // namespace karvel
