// What only a real disk shows of undo: a run killed in its own process, and a file left
// under two names by a kill between a link and an unlink.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "rename/RealRunFixture.h"
#include "rename/RunHistory.h"
#include "rename/UndoRun.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::Nanos;
using testing::Utc;

class UndoOnARealDisk : public ::testing::Test {
  protected:
    testing::RealRunFixture run;
    testing::TempDir stateDir;
    std::string state = stateDir.path() + "state";
    const timespec access = Utc(2023, 9, 1, 6, 0, 0, 987'654'321);
    const timespec modify = Utc(2023, 8, 10, 12, 30, 45, 123'456'789);

    void ListStamped(const std::vector<std::pair<std::string, std::string>>& names) {
        run.List(names);
        for (const auto& [before, after] : names) {
            FileInstants stamps;
            stamps.access = access;
            stamps.modify = modify;
            ASSERT_FALSE(WriteFileInstants(run.dir.path() + before, stamps));
        }
    }
    RunReport StartRecorded() {
        StateRecords records(state);
        run.list.SetState(ListState::Ready);
        return StartRun(run.list, run.settings, run.host, run.fileSystem, &records);
    }
    UndoResult UndoNow() { return UndoLastRun(state, run.host, run.fileSystem); }

    void ExpectOriginal(const std::string& name) {
        FileInstants stamps;
        ASSERT_FALSE(ReadFileInstants(run.dir.path() + name, stamps)) << name;
        EXPECT_EQ(Nanos(stamps.modify), Nanos(modify)) << name;
        EXPECT_EQ(Nanos(stamps.access), Nanos(access)) << name;
        EXPECT_EQ(run.Content(name), name);
    }
};

// A kill between a file's rename and its new stamp: undo gives the name back, and the
// stamps it finds are the file's own.
TEST_F(UndoOnARealDisk, AKillBetweenRenameAndStamp) {
    ListStamped({{"a.jpg", "x_1.jpg"}, {"b.jpg", "x_2.jpg"}, {"c.jpg", "x_3.jpg"}});
    run.fileSystem.beforeWriteTimes = [](const std::string& name) {
        if (name == "x_2.jpg") ::raise(SIGKILL);
    };
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        StartRecorded();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    ASSERT_TRUE(run.Exists("x_2.jpg"));

    EXPECT_EQ(UndoNow(), UndoResult::Completed);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) ExpectOriginal(name);
    EXPECT_EQ(run.host.messages.back().text, "2 File を元に戻しました");
}

TEST_F(UndoOnARealDisk, OneFileUnderBothNamesIsMended) {
    ListStamped({{"a.jpg", "x_1.jpg"}});
    ASSERT_EQ(StartRecorded().result, RunResult::Completed);
    // As a kill between the link and the unlink of a disk without never-replace renames leaves it.
    ASSERT_EQ(::link((run.dir.path() + "x_1.jpg").c_str(), (run.dir.path() + "a.jpg").c_str()), 0);
    EXPECT_EQ(UndoNow(), UndoResult::Completed);
    ExpectOriginal("a.jpg");
    EXPECT_FALSE(run.Exists("x_1.jpg"));
}

}  // namespace
}  // namespace karvel
