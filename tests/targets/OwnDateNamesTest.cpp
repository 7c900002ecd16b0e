// Names from each file's own date: serials count per date prefix in the order the files
// were taken, whatever the list's order; rows still being read wait without a name.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "support/ZoneFixture.h"
#include "targets/ConflictPreview.h"
#include "targets/RefreshNames.h"
#include "targets/RowDates.h"
#include "targets/StartCheck.h"

namespace karvel {
namespace {

using testing::PinnedZone;
using testing::Utc;

struct Shot {
    const char* name;
    timespec instant;
    bool taken = true;  // otherwise the file has no capture time
};

OwnDate TakenAt(const timespec& instant) {
    // The camera's wall clock, here the zone's own time.
    return DateFromModified(instant, DateOrigin::Taken);
}

TargetRow RowOf(const Shot& shot, unsigned long long inode) {
    TargetRow row;
    row.BeforeName = shot.name;
    row.Identity = {1, inode};
    row.ModifiedAt = Utc(2025, 1, 1, 12, 0, 0);
    row.Taken = shot.taken ? TakenAt(shot.instant)
                           : OwnDate{{}, {}, DateOrigin::ModifiedInstead, NoCaptureWhy::NoDate};
    return row;
}

TargetList ListOf(const std::vector<Shot>& shots) {
    std::vector<TargetRow> rows;
    for (std::size_t i = 0; i < shots.size(); ++i) rows.push_back(RowOf(shots[i], i + 1));
    TargetList list;
    list.AssignRows(std::move(rows));
    list.SetState(ListState::Ready);
    return list;
}

NamingOptions Own(DateSource source, std::string pattern = "yymmdd") {
    return {{2000, 1, 1}, std::move(pattern), "2", "1", source};
}

std::map<std::string, std::string> NameOf(const TargetList& list) {
    std::map<std::string, std::string> names;
    for (const TargetRow& row : list.Rows()) names[row.BeforeName] = row.AfterName;
    return names;
}

TEST(OwnDateNames, SerialsFollowTheMomentOfCaptureInAnyListOrder) {
    const PinnedZone zone("UTC0");
    std::vector<Shot> shots = {
        {"phone.heic", Utc(2024, 3, 5, 9, 0, 0, 500'000'000)},
        {"camera.jpg", Utc(2024, 3, 5, 9, 0, 0, 200'000'000)},  // the same second, earlier
        {"late.mp4", Utc(2024, 3, 6, 23, 59, 59)},
        {"first.cr3", Utc(2024, 3, 5, 0, 0, 1)},
        {"next.jpg", Utc(2024, 3, 6, 0, 0, 0)},
        {"nodate.png", {}, false},  // the modified time stands in: 2025-01-01
    };
    const std::map<std::string, std::string> expected = {
        {"first.cr3", "240305_01.cr3"},   {"camera.jpg", "240305_02.jpg"},
        {"phone.heic", "240305_03.heic"}, {"next.jpg", "240306_01.jpg"},
        {"late.mp4", "240306_02.mp4"},    {"nodate.png", "250101_01.png"}};
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::shuffle(shots.begin(), shots.end(), random);
        TargetList list = ListOf(shots);
        ASSERT_TRUE(RefreshNewNames(list, Own(DateSource::Taken)));
        EXPECT_EQ(NameOf(list), expected) << "round " << round;
        EXPECT_EQ(list.DatesPending(), 0u);
    }
}

TEST(OwnDateNames, TiesKeepListOrderAndThePrefixDecidesTheGroup) {
    const PinnedZone zone("UTC0");
    const timespec same = Utc(2024, 3, 5, 10, 0, 0);
    TargetList list =
        ListOf({{"b.jpg", same}, {"a.jpg", same}, {"c.jpg", Utc(2024, 4, 1, 0, 0, 0)}});
    ASSERT_TRUE(RefreshNewNames(list, Own(DateSource::Taken, "yymm")));
    EXPECT_EQ(NameOf(list),
              (std::map<std::string, std::string>{
                  {"b.jpg", "2403_01.jpg"}, {"a.jpg", "2403_02.jpg"}, {"c.jpg", "2404_01.jpg"}}));
}

TEST(OwnDateNames, EachSourceTellsItsDate) {
    // The camera's date, not the instant's date in another zone.
    const PinnedZone zone("JST-9");
    TargetRow row = RowOf({"a.jpg", Utc(2024, 3, 5, 20, 0, 0)}, 1);  // 06 Mar 05:00 in Tokyo
    row.Taken->shown = {2024, 3, 5};                                 // as the camera showed it
    const struct {
        DateSource source;
        std::optional<CalendarDate> shown;
        DateOrigin origin;
    } cases[] = {
        {DateSource::Calendar, std::nullopt, DateOrigin::Modified},
        {DateSource::Taken, CalendarDate{2024, 3, 5}, DateOrigin::Taken},
        {DateSource::Modified, CalendarDate{2025, 1, 1}, DateOrigin::Modified},
    };
    for (const auto& c : cases) {
        const auto own = OwnDateOf(row, c.source);
        ASSERT_EQ(own.has_value(), c.shown.has_value());
        if (!own) continue;
        EXPECT_EQ(own->shown, *c.shown);
        EXPECT_EQ(own->origin, c.origin);
    }
    row.Taken = OwnDate{{}, {}, DateOrigin::ModifiedInstead, NoCaptureWhy::BadDate};
    const auto instead = OwnDateOf(row, DateSource::Taken);
    ASSERT_TRUE(instead);
    EXPECT_EQ(instead->origin, DateOrigin::ModifiedInstead);
    EXPECT_EQ(instead->why, NoCaptureWhy::BadDate);
    EXPECT_EQ(instead->instant.tv_sec, row.ModifiedAt.tv_sec);
}

TEST(OwnDateNames, RowsStillBeingReadWaitAndStartWaitsForThem) {
    const PinnedZone zone("UTC0");
    TargetList list =
        ListOf({{"a.jpg", Utc(2024, 3, 5, 1, 0, 0)}, {"b.jpg", Utc(2024, 3, 5, 2, 0, 0)}});
    const OwnDate bDate = *list.Rows()[1].Taken;
    list.MutableRows()[1].Taken.reset();
    RefreshNewNames(list, Own(DateSource::Taken));
    PreviewConflicts(list);
    EXPECT_EQ(NameOf(list),
              (std::map<std::string, std::string>{{"a.jpg", "240305_01.jpg"}, {"b.jpg", ""}}));
    EXPECT_EQ(list.DatesPending(), 1u);
    EXPECT_FALSE(list.NameMissing());
    EXPECT_EQ(list.Rows()[1].Conflict, RowConflict::None);  // no mark for a name to come
    EXPECT_EQ(CheckStart(list).verdict, StartVerdict::DatesPending);

    // The date comes for the file, wherever its row went meanwhile.
    list.SetSortOrder(SortOrder::Descending);
    list.SetSorted(true);
    TakeCaptureDates(list, {{FileId{1, 2}, bDate}, {FileId{1, 99}, bDate}});
    RefreshNewNames(list, Own(DateSource::Taken));
    EXPECT_EQ(NameOf(list), (std::map<std::string, std::string>{{"a.jpg", "240305_01.jpg"},
                                                                {"b.jpg", "240305_02.jpg"}}));
    EXPECT_EQ(CheckStart(list).verdict, StartVerdict::Clear);

    // Removing the rows still waiting leaves nothing to wait for.
    list.MutableRows()[0].Taken.reset();  // b.jpg, first in descending order
    RefreshNewNames(list, Own(DateSource::Taken));
    list.MutableRows()[0].Selected = true;
    list.RemoveSelectedRows();
    EXPECT_EQ(list.DatesPending(), 0u);
}

TEST(OwnDateNames, TheNewStampIsTheInstantOrMidnightOfTheOwnDay) {
    const PinnedZone zone("JST-9");
    OwnDate date{{2024, 3, 5}, Utc(2024, 3, 5, 1, 2, 3, 400'000'000), DateOrigin::Taken};
    EXPECT_EQ(OwnStamp(date, false)->tv_sec, date.instant.tv_sec);
    EXPECT_EQ(OwnStamp(date, false)->tv_nsec, 400'000'000);
    // Midnight of 5 March in Tokyo is 15:00 UTC the day before.
    EXPECT_EQ(OwnStamp(date, true)->tv_sec, Utc(2024, 3, 4, 15, 0, 0).tv_sec);
}

}  // namespace
}  // namespace karvel
