// The checks of each row: what counts as a source, what blocks a target, and that
// nothing is ever replaced.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "rename/RunFixture.h"

namespace karvel {
namespace {

using testing::RunFixture;

TEST(RowChecks, ANewNameEqualToTheOldOneIsATakenTarget) {
    RunFixture run;
    run.List({{"same.jpg", "same.jpg"}});
    EXPECT_EQ(run.Start().result, RunResult::Stopped);
    EXPECT_EQ(run.host.messages.back().text,
              "変換後のファイル名称は既に存在します  処理を中断します\r( same.jpg > same.jpg )");
    EXPECT_EQ(run.Content("same.jpg"), "same.jpg");
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

TEST(RowChecks, HiddenFilesLinksAndFoldersAreNoSources) {
    for (const std::string kind : {"hidden", "link", "folder"}) {
        RunFixture run;
        std::string name = "entry";
        if (kind == "hidden") {
            name = ".entry";
            run.dir.MakeFile(name);
        } else if (kind == "link") {
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

TEST(RowChecks, AFailedLookupCountsAsAFailedCheck) {
    RunFixture run;
    run.List({{"a", "b"}});
    run.fileSystem.failCall = 0;  // the source lookup
    run.Start();
    EXPECT_EQ(run.host.messages.back().text, "ファイルが見つかりません  処理を中断します\r( a )");

    RunFixture target;
    target.List({{"a", "b"}});
    target.fileSystem.failCall = 1;  // the target lookup
    target.Start();
    EXPECT_EQ(target.host.messages.back().text,
              "変換後のファイル名称は既に存在します  処理を中断します\r( a > b )");
    EXPECT_TRUE(target.Exists("a"));
}

TEST(RowChecks, AHiddenOrFolderTargetThatEscapesTheCheckIsNeverReplaced) {
    RunFixture run;
    std::filesystem::create_directory(run.dir.path() + "taken");
    run.List({{"a", "taken"}});
    EXPECT_EQ(run.Start().result, RunResult::Stopped);
    EXPECT_EQ(run.host.messages.back().text, "エラーが発生しました\r\n17 File exists( a > taken )");
    EXPECT_TRUE(std::filesystem::is_directory(run.dir.path() + "taken"));
    EXPECT_EQ(run.Content("a"), "a");
}

TEST(RowChecks, ATargetCreatedAfterTheCheckIsKeptAndTheSourceRestored) {
    RunFixture run;
    run.List({{"a.jpg", "x.jpg"}});
    FileInstants before;
    ASSERT_FALSE(ReadFileInstants(run.dir.path() + "a.jpg", before));
    run.fileSystem.beforeRename = [&run](const std::string& target) {
        std::ofstream(run.dir.path() + target, std::ios::binary) << "someone else's";
    };
    EXPECT_EQ(run.Start().result, RunResult::Stopped);

    EXPECT_EQ(run.host.messages.back().icon, RunIcon::Error);
    EXPECT_EQ(run.host.messages.back().text, "エラーが発生しました\r\n17 File exists( a.jpg > x.jpg )");
    EXPECT_EQ(run.Content("x.jpg"), "someone else's");
    EXPECT_EQ(run.Content("a.jpg"), "a.jpg");
    FileInstants after;
    ASSERT_FALSE(ReadFileInstants(run.dir.path() + "a.jpg", after));
    EXPECT_EQ(after.modify.tv_sec, before.modify.tv_sec);
    EXPECT_EQ(after.modify.tv_nsec, before.modify.tv_nsec);
    EXPECT_EQ(run.list.StsBarText(), kStsDropFiles);
}

TEST(RowChecks, AnUnreadableStampIsNotOverwritten) {
    RunFixture run;
    run.List({{"a", "x_1"}});
    run.fileSystem.failCall = 2;  // ReadTimes of the only row
    run.Start();
    EXPECT_EQ(std::count(run.fileSystem.calls.begin(), run.fileSystem.calls.end(),
                         testing::FsCall::WriteTimes),
              0);
    EXPECT_TRUE(run.Exists("x_1"));
}

}  // namespace
}  // namespace karvel
