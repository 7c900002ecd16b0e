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
    ASSERT_FALSE(ReadFileInstants(run.dir.path() + "same.jpg", stamped));
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
            run.dir.MakeFile("real");
            ASSERT_EQ(::symlink("real", (run.dir.path() + name).c_str()), 0);
        } else {
            std::filesystem::create_directory(run.dir.path() + name);
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
    run.fileSystem.failKind = testing::FsCall::Lookup;
    run.fileSystem.failName = "a";
    run.Start();
    EXPECT_EQ(run.host.messages.back().text, "ファイルが見つかりません  処理を中断します\r( a )");

    // The rename that never replaces is the target check itself.
    RunFixture target;
    target.List({{"a", "b"}});
    target.fileSystem.failKind = testing::FsCall::Rename;
    target.fileSystem.failName = "a";
    target.fileSystem.failure = std::make_error_code(std::errc::file_exists);
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
        ASSERT_FALSE(ReadFileInstants(run.dir.path() + "a.jpg", before));
        if (std::string(kind) == "folder") {
            std::filesystem::create_directory(run.dir.path() + "x.jpg");
        } else {
            run.fileSystem.beforeRename = [&run](const std::string& target) {
                std::ofstream(run.dir.path() + target, std::ios::binary) << "someone else's";
            };
        }
        EXPECT_EQ(run.Start().result, RunResult::Stopped) << kind;
        EXPECT_EQ(run.host.messages.back().icon, RunIcon::Error);
        EXPECT_EQ(run.host.messages.back().text,
                  "変換後のファイル名称は既に存在します  処理を中断します\r( a.jpg > x.jpg )")
            << kind;
        EXPECT_EQ(run.Content("a.jpg"), "a.jpg") << kind;
        FileInstants after;
        ASSERT_FALSE(ReadFileInstants(run.dir.path() + "a.jpg", after));
        EXPECT_EQ(after.modify.tv_sec, before.modify.tv_sec) << kind;
        EXPECT_EQ(after.modify.tv_nsec, before.modify.tv_nsec) << kind;
        EXPECT_EQ(run.list.State(), ListState::Spent);
    }
}

TEST(RowChecks, AStampThatCannotBeWrittenStillRenames) {
    RunFixture run;
    run.List({{"a", "x_1"}, {"b", "x_2"}});
    FileInstants before;
    ASSERT_FALSE(ReadFileInstants(run.dir.path() + "a", before));
    run.fileSystem.failKind = testing::FsCall::WriteTimes;
    run.fileSystem.failName = "x_1";
    EXPECT_EQ(run.Start().result, RunResult::Completed);
    FileInstants after;
    ASSERT_FALSE(ReadFileInstants(run.dir.path() + "x_1", after));
    EXPECT_EQ(after.modify.tv_sec, before.modify.tv_sec);
    EXPECT_TRUE(run.Exists("x_2"));
}

}  // namespace
}  // namespace karvel
