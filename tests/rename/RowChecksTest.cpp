// The checks of each row: what counts as a source, what blocks a target, and that
// nothing is ever replaced.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "rename/RunFixture.h"

namespace karvel {
namespace {

using testing::RunFixture;

// Nothing needs to move: the row keeps its name and gets its new stamp.
TEST(RowChecks, ANewNameEqualToTheOldOneKeepsItAndIsRestamped) {
    RunFixture run;
    run.List({{"same.jpg", "same.jpg"}, {"b.jpg", "x.jpg"}});
    EXPECT_EQ(run.Start().result, RunResult::Completed);
    EXPECT_EQ(run.Content("same.jpg"), "same.jpg");
    FileInstants stamped;
    stamped = run.Stamps("same.jpg");
    EXPECT_EQ(InstantToLocal(stamped.modify)->time.wDay, 5);
    EXPECT_EQ(InstantToLocal(stamped.modify)->time.wMonth, 3);
}

TEST(RowChecks, TheSecondRowWithTheSameNewNameStopsTheRun) {
    RunFixture run;
    run.List({{"a.jpg", "x.jpg"}, {"b.jpg", "x.jpg"}});
    EXPECT_EQ(run.Start().renamed, 1U);
    EXPECT_EQ(run.host.messages.back().text,
              "変換後のファイル名称は既に存在します  処理を中断します\r( b.jpg > x.jpg )");
    EXPECT_EQ(run.Content("x.jpg"), "a.jpg");
    EXPECT_EQ(run.Content("b.jpg"), "b.jpg");
}

TEST(RowChecks, LinksAndFoldersAreNoSources) {
    for (const std::string kind : {"link", "folder"}) {
        RunFixture run;
        const std::string name = "entry";
        if (kind == "link") {
            run.MakeFile("real");
            run.disk.MakeLink(run.Path(name), "real");
        } else {
            run.disk.MakeFolder(run.Path(name));
        }
        run.List({{name, "new"}});
        EXPECT_EQ(run.Start().result, RunResult::Stopped) << kind;
        EXPECT_EQ(run.host.messages.back().text,
                  "ファイルが見つかりません  処理を中断します\r( " + name + " )")
            << kind;
        EXPECT_TRUE(run.Exists(name) && !run.Exists("new")) << kind;
    }
}

// A file the user listed is renamed whatever its name begins with.
TEST(RowChecks, ADotNameIsRenamedAsAnyOther) {
    RunFixture run;
    run.List({{".profile.jpg", "x_1.jpg"}});
    EXPECT_EQ(run.Start().result, RunResult::Completed);
    EXPECT_EQ(run.Content("x_1.jpg"), ".profile.jpg");
}

TEST(RowChecks, AFailedLookupOrATakenNameStopsTheRunAtTheRow) {
    RunFixture run;
    run.List({{"a", "b"}});
    run.disk.Fail(testing::DiskCall::Lookup, "a");
    run.Start();
    EXPECT_EQ(run.host.messages.back().text, "ファイルが見つかりません  処理を中断します\r( a )");

    // The rename that never replaces is the target check itself.
    RunFixture target;
    target.List({{"a", "b"}});
    target.disk.Fail(testing::DiskCall::Rename, "a", std::make_error_code(std::errc::file_exists));
    target.Start();
    EXPECT_EQ(target.host.messages.back().text,
              "変換後のファイル名称は既に存在します  処理を中断します\r( a > b )");
    EXPECT_TRUE(target.Exists("a"));
}

// A folder, or a file that appeared after the drop: the rename refuses it.
TEST(RowChecks, ATargetTheListDidNotKnowIsNeverReplaced) {
    for (const char* kind : {"folder", "late file"}) {
        RunFixture run;
        run.List({{"a.jpg", "x.jpg"}});
        FileInstants before;
        before = run.Stamps("a.jpg");
        if (std::string(kind) == "folder") {
            run.disk.MakeFolder(run.Path("x.jpg"));
        } else {
            run.disk.beforeRename = [&run](const std::string&, const std::string& target) {
                run.MakeFile(target, "someone else's");
            };
        }
        EXPECT_EQ(run.Start().result, RunResult::Stopped) << kind;
        EXPECT_EQ(run.host.messages.back().icon, RunIcon::Error);
        EXPECT_EQ(run.host.messages.back().text,
                  "変換後のファイル名称は既に存在します  処理を中断します\r( a.jpg > x.jpg )")
            << kind;
        EXPECT_EQ(run.Content("a.jpg"), "a.jpg") << kind;
        FileInstants after;
        after = run.Stamps("a.jpg");
        EXPECT_EQ(after.modify.tv_sec, before.modify.tv_sec) << kind;
        EXPECT_EQ(after.modify.tv_nsec, before.modify.tv_nsec) << kind;
        EXPECT_EQ(run.list.State(), ListState::Spent);
    }
}

TEST(RowChecks, AStampThatCannotBeWrittenStillRenames) {
    RunFixture run;
    run.List({{"a", "x_1"}, {"b", "x_2"}});
    FileInstants before;
    before = run.Stamps("a");
    run.disk.Fail(testing::DiskCall::WriteTimes, "x_1");
    EXPECT_EQ(run.Start().result, RunResult::Completed);
    FileInstants after;
    after = run.Stamps("x_1");
    EXPECT_EQ(after.modify.tv_sec, before.modify.tv_sec);
    EXPECT_TRUE(run.Exists("x_2"));
}

}  // namespace
}  // namespace karvel
