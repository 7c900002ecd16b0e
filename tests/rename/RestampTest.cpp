// The chosen date as the modified date: time of day kept or midnight, other stamps alone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "rename/RunFixture.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::Nanos;
using testing::PinnedZone;
using testing::RunFixture;
using testing::Utc;

class Restamp : public ::testing::Test {
  protected:
    // Summer time at the file's stamp, winter time at the chosen date.
    PinnedZone zone{"Europe/Berlin"};
    RunFixture run;
    const timespec access = Utc(2023, 9, 1, 6, 0, 0, 987'654'321);
    const timespec modify = Utc(2023, 8, 10, 12, 30, 45, 123'456'789);  // 14:30:45.123 local

    FileInstants RunOne() {
        run.List({{"photo.jpg", "240305_1.jpg"}});
        FileInstants set;
        set.access = access;
        set.modify = modify;
        run.SetStamps("photo.jpg", set);
        EXPECT_EQ(run.Start().result, RunResult::Completed);
        FileInstants after;
        after = run.Stamps("240305_1.jpg");
        return after;
    }
};

TEST_F(Restamp, KeepsTheTimeOfDayAndTheAccessTime) {
    run.settings = {{2024, 3, 5}, false};
    const FileInstants after = RunOne();
    EXPECT_EQ(Nanos(after.modify), Nanos(Utc(2024, 3, 5, 13, 30, 45, 123'000'000)));
    EXPECT_EQ(Nanos(after.access), Nanos(access));
}

TEST_F(Restamp, MidnightWhenAsked) {
    run.settings = {{2024, 3, 5}, true};
    const FileInstants after = RunOne();
    EXPECT_EQ(Nanos(after.modify), Nanos(Utc(2024, 3, 4, 23, 0, 0)));
    EXPECT_EQ(Nanos(after.access), Nanos(access));
}

TEST_F(Restamp, TheBirthTimeIsNeverTouched) {
    const FileInstants restamped = RestampedInstants(
        FileInstants{access, modify, Utc(2020, 1, 1, 0, 0, 0, 5), true}, {2024, 2, 29}, true);
    EXPECT_EQ(Nanos(restamped.birth), Nanos(Utc(2020, 1, 1, 0, 0, 0, 5)));
    EXPECT_TRUE(restamped.hasBirth);
    EXPECT_EQ(Nanos(restamped.modify), Nanos(Utc(2024, 2, 28, 23, 0, 0)));
}

TEST_F(Restamp, AReadOnlySourceIsRenamedWithItsOwnStamps) {
    run.List({{"locked.jpg", "240305_1.jpg"}});
    FileInstants set;
    set.access = access;
    set.modify = modify;
    run.SetStamps("locked.jpg", set);
    run.disk.SetMode(run.Path("locked.jpg"), 0444);

    EXPECT_EQ(run.Start().result, RunResult::Completed);
    FileInstants after;
    after = run.Stamps("240305_1.jpg");
    EXPECT_EQ(Nanos(after.modify), Nanos(modify));
    EXPECT_EQ(run.host.messages.back().text, "変換処理が正常終了しました");
}

}  // namespace
}  // namespace karvel
