// A run by each file's own date: every file gets its own capture or modified instant (or
// midnight of its own day), the date check covers the earliest and the latest, and undo
// gives the old stamps back.
#include <gtest/gtest.h>

#include "rename/RunFixture.h"
#include "rename/RunMessages.h"
#include "support/ZoneFixture.h"
#include "targets/RefreshNames.h"
#include "targets/RowDates.h"

namespace karvel {
namespace {

using testing::Nanos;
using testing::PinnedZone;
using testing::RunFixture;
using testing::Utc;

class OwnDateRun : public ::testing::Test {
  protected:
    PinnedZone zone{"Europe/Berlin"};
    RunFixture run;
    const timespec oldModify = Utc(2025, 6, 1, 8, 0, 0, 111);

    // Lists the files with the capture times given (none: no capture time) and names them.
    void ListShots(const std::vector<std::pair<std::string, std::optional<timespec>>>& shots,
                   bool midnight) {
        std::vector<std::pair<std::string, std::string>> names;
        for (const auto& [name, taken] : shots) {
            run.MakeFile(name);
            run.SetStamps(name, FileInstants{oldModify, oldModify, oldModify, false});
            names.emplace_back(name, "");
        }
        run.List(names);
        for (std::size_t i = 0; i < shots.size(); ++i) {
            TargetRow& row = run.list.MutableRows()[i];
            row.ModifiedAt = oldModify;
            row.Taken =
                shots[i].second
                    ? DateFromModified(*shots[i].second, DateOrigin::Taken)
                    : OwnDate{{}, {}, DateOrigin::ModifiedInstead, NoCaptureWhy::NoMetadata};
        }
        ASSERT_TRUE(
            RefreshNewNames(run.list, {{2000, 1, 1}, "yymmdd", "2", "1", DateSource::Taken}));
        run.settings = {{2000, 1, 1}, midnight, DateSource::Taken};
    }
};

TEST_F(OwnDateRun, EachFileGetsItsCaptureTimeAndUndoGivesTheOldOneBack) {
    const timespec shot = Utc(2024, 3, 5, 9, 15, 30, 250'000'000);
    ListShots({{"b.jpg", shot}, {"a.png", std::nullopt}}, false);
    ASSERT_EQ(run.StartRecorded().result, RunResult::Completed);
    EXPECT_EQ(Nanos(run.Stamps("240305_01.jpg").modify), Nanos(shot));
    // Without a capture time the file keeps its own modified time, to the nanosecond.
    EXPECT_EQ(Nanos(run.Stamps("250601_01.png").modify), Nanos(oldModify));
    EXPECT_EQ(Nanos(run.Stamps("240305_01.jpg").access), Nanos(oldModify));

    ASSERT_EQ(run.UndoNow(), UndoResult::Completed);
    EXPECT_EQ(Nanos(run.Stamps("b.jpg").modify), Nanos(oldModify));
    EXPECT_TRUE(run.Exists("a.png"));
}

TEST_F(OwnDateRun, MidnightIsOfEachFilesOwnDay) {
    ListShots({{"a.jpg", Utc(2024, 3, 5, 22, 30, 0)}, {"b.jpg", Utc(2024, 7, 1, 12, 0, 0)}}, true);
    ASSERT_EQ(run.Start().result, RunResult::Completed);
    // 5 March 23:30 in Berlin (winter time), 1 July (summer time).
    EXPECT_EQ(Nanos(run.Stamps("240305_01.jpg").modify), Nanos(Utc(2024, 3, 4, 23, 0, 0)));
    EXPECT_EQ(Nanos(run.Stamps("240701_01.jpg").modify), Nanos(Utc(2024, 6, 30, 22, 0, 0)));
}

TEST_F(OwnDateRun, TheDateCheckCoversTheEarliestAndTheLatest) {
    run.disk.SetMountKind(run.folder, MountKind{"vfat", false, 1980, 2107});
    for (const int year : {1975, 2110}) {
        const std::string ok = "ok" + std::to_string(year) + ".jpg";
        const std::string odd = "odd" + std::to_string(year) + ".jpg";
        ListShots({{ok, Utc(2024, 1, 1, 0, 0, 0)}, {odd, Utc(year, 6, 1, 0, 0, 0)}}, false);
        EXPECT_EQ(run.Start().result, RunResult::Stopped) << year;
        EXPECT_EQ(run.host.messages.back().text, kMsgDateNotStorable);
        EXPECT_TRUE(run.Exists(ok));
        EXPECT_TRUE(run.Exists(odd));
    }
}

}  // namespace
}  // namespace karvel
