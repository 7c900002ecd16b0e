// The run acts on the files the user chose and on nothing else: not on a twin whose name
// differs by a blank, not on a file put in a chosen file's place, not in another folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/magic.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <filesystem>

#include "rename/RealRunFixture.h"
#include "rename/RunMessages.h"
#include "targets/DropIntake.h"

namespace karvel {
namespace {

using testing::RealRunFixture;

class ExactTargets : public ::testing::Test {
  protected:
    RealRunFixture run;
    NamingOptions options{{2024, 3, 5}, "yymmdd", "2", "1"};

    void Drop(const std::vector<std::string>& paths) {
        TakeInDrop(run.list, paths, options);
        ASSERT_GT(run.list.RowCount(), 0U);
    }
    std::string Folder(const std::string& name) {
        const std::string folder = run.dir.path() + name + "/";
        std::filesystem::create_directories(folder);
        return folder;
    }
    static std::string Content(const std::string& path) { return testing::ReadAll(path); }
};

TEST_F(ExactTargets, BlanksArePartOfTheName) {
    const std::string twin = run.dir.MakeFile("report.pdf", "twin");
    Drop({run.dir.MakeFile("report.pdf ", "trailing"), run.dir.MakeFile(" report.pdf", "leading")});
    ASSERT_EQ(run.Start().result, RunResult::Completed);
    EXPECT_EQ(Content(twin), "twin");
    EXPECT_EQ(Content(run.dir.path() + "240305_01.pdf"), "leading");
    EXPECT_EQ(Content(run.dir.path() + "240305_02.pdf "), "trailing");
}

TEST_F(ExactTargets, OneFolderHoweverItIsSpelled) {
    const std::string d = Folder("d");
    Folder("d/sub");
    for (const char* name : {"a.txt", "B.txt", "c.jpg"})
        run.dir.MakeFile(std::string("d/") + name, name);
    const std::vector<LeftOut> leftOut =
        TakeInDrop(run.list,
                   {run.dir.path() + "./d/c.jpg", run.dir.path() + "d//B.txt",
                    run.dir.path() + "d/sub/../a.txt"},
                   options);
    EXPECT_TRUE(leftOut.empty());
    EXPECT_EQ(run.list.RowCount(), 3U);
    EXPECT_EQ(run.list.TargetFolder(), d);
    EXPECT_EQ(run.Start().result, RunResult::Completed);
}

TEST_F(ExactTargets, WhatIsLeftOutIsToldWithItsReason) {
    const std::string other = Folder("other");
    Folder("d");
    const std::vector<std::string> paths = {run.dir.MakeFile("a.txt"),
                                            run.dir.path() + "missing",
                                            run.dir.path() + "d",
                                            run.dir.MakeFile("other/b.txt"),
                                            "relative.txt",
                                            std::string("a\0b", 3)};
    const std::vector<LeftOut> leftOut = TakeInDrop(run.list, paths, options);
    ASSERT_EQ(leftOut.size(), 5U);
    const LeftOutReason reasons[] = {LeftOutReason::Missing, LeftOutReason::Folder,
                                     LeftOutReason::OtherFolder, LeftOutReason::NotAbsolute,
                                     LeftOutReason::Unusable};
    for (std::size_t i = 0; i < leftOut.size(); ++i) {
        EXPECT_EQ(leftOut[i].path, paths[i + 1]);
        EXPECT_EQ(leftOut[i].reason, reasons[i]) << i;
    }
}

TEST_F(ExactTargets, AFileReplacedAfterTheDropStopsTheRunAndNeitherChanges) {
    Drop({run.dir.MakeFile("a.jpg", "chosen"), run.dir.MakeFile("b.jpg", "b")});
    const std::string b = run.dir.path() + "b.jpg";
    ASSERT_EQ(std::rename(b.c_str(), (run.dir.path() + "kept").c_str()), 0);
    run.dir.MakeFile("b.jpg", "impostor");
    FileInstants before;
    ASSERT_FALSE(ReadFileInstants(b, before));

    const RunReport report = run.Start();
    EXPECT_EQ(report.result, RunResult::Stopped);
    EXPECT_EQ(report.renamed, 1U);
    EXPECT_EQ(run.host.messages.back().text, SourceMissingText("b.jpg"));
    EXPECT_EQ(Content(b), "impostor");
    EXPECT_EQ(Content(run.dir.path() + "kept"), "b");
    FileInstants after;
    ASSERT_FALSE(ReadFileInstants(b, after));
    EXPECT_EQ(after.modify.tv_sec, before.modify.tv_sec);
}

// The chosen folder swapped with a link to another folder: before the run it stops at
// once; during the run the rest of it still happens in the chosen folder, at its new place.
TEST_F(ExactTargets, AFolderSwappedForALinkNeverSendsTheRunElsewhere) {
    for (const std::size_t swapAt : {std::size_t{0}, std::size_t{2}}) {
        RealRunFixture fresh;
        const std::string base = fresh.dir.path();
        std::filesystem::create_directories(base + "chosen");
        std::filesystem::create_directories(base + "other");
        std::vector<std::string> paths;
        for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"}) {
            paths.push_back(fresh.dir.MakeFile(std::string("chosen/") + name, "mine"));
            fresh.dir.MakeFile(std::string("other/") + name, "theirs");
        }
        ASSERT_EQ(::symlink("other", (base + "swap").c_str()), 0);
        TakeInDrop(fresh.list, paths, options);
        ASSERT_EQ(fresh.list.RowCount(), 5U);
        const auto swap = [&base] {
            ASSERT_EQ(::renameat2(AT_FDCWD, (base + "chosen").c_str(), AT_FDCWD,
                                  (base + "swap").c_str(), RENAME_EXCHANGE),
                      0);
        };
        std::size_t renames = 0;
        if (swapAt == 0) swap();
        fresh.fileSystem.beforeRename = [&](const std::string&) {
            if (++renames == swapAt) swap();
        };
        const RunReport report = fresh.Start();
        // The real folder is now named "swap"; "chosen" is the link to the other folder.
        for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"}) {
            EXPECT_EQ(Content(base + "other/" + name), "theirs") << swapAt << name;
        }
        if (swapAt == 0) {
            EXPECT_EQ(report.result, RunResult::Stopped);
            EXPECT_EQ(report.renamed, 0U);
            EXPECT_EQ(fresh.host.messages.back().text, SourceMissingText("1.jpg"));
            EXPECT_EQ(Content(base + "swap/1.jpg"), "mine");
        } else {
            EXPECT_EQ(report.result, RunResult::Completed) << swapAt;
            for (const char* name : {"240305_01.jpg", "240305_05.jpg"}) {
                EXPECT_EQ(Content(base + "swap/" + name), "mine") << name;
            }
        }
    }
}

TEST_F(ExactTargets, ADateTheDiskWouldChangeStopsBeforeAnyFileChanges) {
    Drop({run.dir.MakeFile("a.jpg", "a")});
    FileInstants before;
    ASSERT_FALSE(ReadFileInstants(run.dir.path() + "a.jpg", before));
    run.fileSystem.stampFit = StampFit::Changed;
    EXPECT_EQ(run.Start().result, RunResult::Stopped);
    EXPECT_EQ(run.host.messages.back().text, kMsgDateNotStorable);
    EXPECT_TRUE(run.fileSystem.calls.empty());
    EXPECT_EQ(Content(run.dir.path() + "a.jpg"), "a");
}

// ext4 keeps modified times up to 2446 (or 2038 with small inodes): 9999-12-31 does not fit.
TEST_F(ExactTargets, ARealDiskThatCannotHoldTheDate) {
    struct statfs disk {};
    ASSERT_EQ(::statfs(run.dir.path().c_str(), &disk), 0);
    if (disk.f_type != EXT4_SUPER_MAGIC) GTEST_SKIP() << "the test folder is not on ext4";
    Drop({run.dir.MakeFile("a.jpg", "a")});
    FileEntry folderBefore;
    ASSERT_FALSE(ReadFileEntry(run.dir.path(), folderBefore));
    run.settings.date = {9999, 12, 31};
    EXPECT_EQ(run.Start().result, RunResult::Stopped);
    EXPECT_EQ(run.host.messages.back().text, kMsgDateNotStorable);
    EXPECT_EQ(Content(run.dir.path() + "a.jpg"), "a");
    FileEntry folderAfter;
    ASSERT_FALSE(ReadFileEntry(run.dir.path(), folderAfter));
    EXPECT_EQ(folderAfter.instants.modify.tv_sec, folderBefore.instants.modify.tv_sec);

    run.settings.date = {2024, 3, 5};
    run.list.SetState(ListState::Ready);
    EXPECT_EQ(run.Start().result, RunResult::Completed);
}

}  // namespace
}  // namespace karvel
