// The preview and the run agree: a real run stops at the first row the preview marks.
#include <gtest/gtest.h>

#include <functional>

#include "rename/RunFixture.h"
#include "targets/ListRefresh.h"

namespace karvel {
namespace {

using testing::RunFixture;
using Marks = std::vector<RowConflict>;
constexpr auto kNone = RowConflict::None;
constexpr auto kEmpty = RowConflict::EmptyName;

Marks Preview(RunFixture& run) {
    RefreshList(run.list, ListChanges::Folder(), run.disk);
    Marks marks;
    for (const TargetRow& row : run.list.Rows()) marks.push_back(row.Conflict);
    return marks;
}

// The run checks every row for itself; it stops at the first row the preview marks.
TEST(PreviewAgreement, ARealRunStopsAtTheFirstMarkedRow) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> rows;
        std::function<void(RunFixture& run)> arrange;
        RunResult result;
        std::size_t renamed;
    };
    const auto none = [](RunFixture&) {};
    const Case cases[] = {
        {"freed", {{"1", "0"}, {"2", "1"}, {"3", "2"}}, none, RunResult::Completed, 3},
        {"freed later", {{"1", "2"}, {"2", "3"}}, none, RunResult::Completed, 2},
        {"repeated", {{"a", "x"}, {"b", "y"}, {"c", "x"}}, none, RunResult::Stopped, 2},
        // Row 2's file is gone; the file row 1 renamed to its name is not the one listed.
        {"renamed on",
         {{"a", "n"}, {"n", "m"}, {"b", "n"}, {"c", "m"}},
         [](RunFixture& run) { run.disk.RemoveEntry(run.Path("n")); },
         RunResult::Stopped,
         1},
        {"folder",
         {{"a", "x"}, {"b", "dir"}},
         [](RunFixture& run) { run.disk.MakeFolder(run.Path("dir")); },
         RunResult::Stopped,
         1},
        {"missing",
         {{"a", "x"}, {"b", "y"}},
         [](RunFixture& run) { run.disk.RemoveEntry(run.Path("b")); },
         RunResult::Stopped,
         1},
        {"own name", {{"a", "x"}, {"b", "b"}}, none, RunResult::Completed, 2},
        {"swap", {{"a", "b"}, {"b", "a"}}, none, RunResult::Completed, 2},
        {"blocked chain",
         {{"a", "b"}, {"b", "c"}, {"d", "e"}},
         [](RunFixture& run) { run.MakeFile("c", "unlisted"); },
         RunResult::Stopped,
         0},
    };
    for (const Case& each : cases) {
        RunFixture run;
        run.List(each.rows);
        each.arrange(run);
        const Marks marks = Preview(run);
        const auto marked = std::find_if(marks.begin(), marks.end(),
                                         [](RowConflict mark) { return mark != kNone; });
        EXPECT_EQ(static_cast<std::size_t>(marked - marks.begin()), each.renamed) << each.what;
        const RunReport report = run.Start();
        EXPECT_EQ(report.result, each.result) << each.what;
        EXPECT_EQ(report.renamed, each.renamed) << each.what;
    }

    // A row without a new name is marked, and the start command refuses the whole list.
    RunFixture empty;
    empty.List({{"a", "x"}, {"b", ""}});
    EXPECT_EQ(Preview(empty), (Marks{kNone, kEmpty}));
    EXPECT_EQ(empty.Start().result, RunResult::Refused);
}

}  // namespace
}  // namespace karvel
