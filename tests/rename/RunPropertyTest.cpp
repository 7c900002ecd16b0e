// Over thousands of random folders and lists on a disk in memory: undo gives back the
// folder the run found; the planned and the in-order run leave the same folder; the run
// stops at the first row the preview marks.
#include <gtest/gtest.h>

#include <random>

#include "rename/RunFixture.h"
#include "targets/ConflictPreview.h"

namespace karvel {
namespace {

using testing::RunFixture;

constexpr int kCases = 10'000;
const std::vector<std::string> kNames = {"a", "b", "c", "d", "e", "f", "a.jpg", "b.jpg"};

// A folder of a few files, some listed in a random order, each given a name from the same
// few: chains, rings, names kept, taken, given twice, and names no file has.
struct RandomCase {
    std::vector<std::pair<std::string, std::string>> rows;
    std::vector<std::string> unlisted;
};

RandomCase Draw(std::mt19937& random) {
    std::vector<std::string> names = kNames;
    std::shuffle(names.begin(), names.end(), random);
    const auto count = [&random](int most) {
        return std::uniform_int_distribution<int>(0, most)(random);
    };
    RandomCase drawn;
    const int files = 1 + count(5);
    for (int i = 0; i < files; ++i) {
        if (count(4) == 0) {
            drawn.unlisted.push_back(names[static_cast<std::size_t>(i)]);
            continue;
        }
        drawn.rows.emplace_back(names[static_cast<std::size_t>(i)],
                                kNames[static_cast<std::size_t>(count(7))]);
    }
    return drawn;
}

void Arrange(RunFixture& run, const RandomCase& drawn, std::mt19937& random) {
    for (const std::string& name : drawn.unlisted) run.MakeFile(name, "unlisted " + name);
    run.List(drawn.rows);
    for (const auto& [before, after] : drawn.rows) {
        FileInstants stamps;
        stamps.access.tv_sec = stamps.modify.tv_sec =
            1'500'000'000 + static_cast<time_t>(random() % 100'000'000);
        stamps.modify.tv_nsec = static_cast<long>(random() % 1'000'000'000);
        run.SetStamps(before, stamps);
    }
}

std::size_t FirstMark(RunFixture& run) {
    run.list.SetSnapshot(FolderSnapshot::Read(run.folder, run.list.Rows(), false, run.disk));
    PreviewConflicts(run.list);
    const auto& rows = run.list.Rows();
    const auto marked = std::ranges::find_if(
        rows, [](const TargetRow& row) { return row.Conflict != RowConflict::None; });
    return static_cast<std::size_t>(marked - rows.begin());
}

TEST(RunProperty, UndoRestoresThePlanAgreesAndThePreviewForesees) {
    std::mt19937 random(20261208);
    int stopped = 0, planned = 0, undone = 0;
    for (int each = 0; each < kCases; ++each) {
        const RandomCase drawn = Draw(random);
        if (drawn.rows.empty()) continue;
        const auto seed = static_cast<std::uint32_t>(random());
        RunFixture run, plannedRun;
        std::mt19937 stamps(seed), sameStamps(seed);
        Arrange(run, drawn, stamps);
        Arrange(plannedRun, drawn, sameStamps);
        const auto before = run.disk.FilesOf(run.folder);
        const std::size_t foreseen = FirstMark(run);

        const RunReport report = run.StartRecorded();
        const std::string what = "case " + std::to_string(each);
        if (report.result == RunResult::Refused) continue;  // a row without a new name
        ASSERT_EQ(report.renamed, foreseen) << what;
        stopped += report.result == RunResult::Stopped;
        EXPECT_TRUE(run.TemporaryNames().empty()) << what;

        plannedRun.settings.planAlways = true;
        const RunReport plannedReport = plannedRun.Start();
        ASSERT_EQ(plannedReport.renamed, report.renamed) << what;
        ASSERT_EQ(plannedRun.disk.FilesOf(plannedRun.folder), run.disk.FilesOf(run.folder)) << what;
        planned += PlanNeeded(run.list.Rows());

        if (report.changed) {
            ASSERT_EQ(run.UndoNow(), UndoResult::Completed) << what;
            ++undone;
        }
        ASSERT_EQ(run.disk.FilesOf(run.folder), before) << what;
    }
    // The draws reach every kind of list.
    EXPECT_GT(stopped, kCases / 10);
    EXPECT_GT(planned, kCases / 10);
    EXPECT_GT(undone, kCases / 2);
}

}  // namespace
}  // namespace karvel
