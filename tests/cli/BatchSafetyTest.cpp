// Batch mode starts nothing it cannot stand behind: no lock, no start; a signal before the
// first change ends it at once; the history says what it holds, also when it holds nothing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "cli/ProgramRun.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

using testing::ProgramResult;
using testing::TempDir;

constexpr uid_t kNobody = 65534;

class BatchSafety : public ::testing::Test {
  protected:
    TempDir dir;
    std::string state = dir.path() + "state/Karvel";

    void SetUp() override { dir.MakeFile("a.jpg", "a"); }
    ProgramResult Karvel(const std::vector<std::string>& arguments) {
        return testing::RunProgram(KARVEL_PROGRAM, arguments, dir.path(),
                                   {"KARVEL_INI=/nonexistent/Karvel.ini"});
    }
    ProgramResult Rename() { return Karvel({"--batch", "--yes", "--date", "2024-03-05", "a.jpg"}); }
    bool Exists(const std::string& name) const {
        return std::filesystem::exists(dir.path() + name);
    }
};

// A lock that cannot be opened, for any reason but another holder: nothing starts.
TEST_F(BatchSafety, NoLockNoStart) {
    const std::string lock = state + "/lock";
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"a folder", [&] { std::filesystem::create_directories(lock); }},
        {"a dangling link",
         [&] {
             std::filesystem::create_directories(state);
             ASSERT_EQ(::symlink("nowhere", lock.c_str()), 0);
         }},
    };
    for (const auto& [title, make] : cases) {
        std::filesystem::remove_all(dir.path() + "state");
        make();
        for (const auto& arguments : {std::vector<std::string>{"--batch", "--yes", "a.jpg"},
                                      std::vector<std::string>{"--batch", "--undo", "--yes"}}) {
            const ProgramResult result = Karvel(arguments);
            EXPECT_EQ(result.status, 1) << title;
            EXPECT_NE(result.err.find("ロックファイルを使用できないため処理を開始できません\n( " +
                                      lock + " )\n"),
                      std::string::npos)
                << title << ": " << result.err;
        }
        EXPECT_TRUE(Exists("a.jpg")) << title;
    }
}

// A lock left by a run as root cannot be opened by the user: the user's run does not start.
TEST_F(BatchSafety, ALockOfAnotherOwnerStartsNothing) {
    ASSERT_EQ(::geteuid(), 0U) << "the test makes a file of another owner: it runs as root";
    std::filesystem::create_directories(state);
    dir.MakeFile("state/Karvel/lock", "");
    ASSERT_EQ(::chmod((state + "/lock").c_str(), 0600), 0);
    for (const std::string& path : {dir.path(), dir.path() + "state", state, dir.path() + "a.jpg"})
        ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0) << path;
    const std::string command =
        "setpriv --reuid=" + std::to_string(kNobody) + " --regid=" + std::to_string(kNobody) +
        " --clear-groups env KARVEL_INI=/nonexistent/Karvel.ini XDG_STATE_HOME=" +
        testing::ShellQuoted(dir.path() + "state") + " " + testing::ShellQuoted(KARVEL_PROGRAM) +
        " --batch --yes " + testing::ShellQuoted(dir.path() + "a.jpg") + " 2>" +
        testing::ShellQuoted(dir.path() + "err");
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    EXPECT_NE(testing::ReadAll(dir.path() + "err").find("13 Permission denied"), std::string::npos)
        << testing::ReadAll(dir.path() + "err");
    EXPECT_TRUE(Exists("a.jpg"));
}

// SIGINT while the list still comes from a pipe that stays open: the program ends at once,
// nothing renamed.
TEST_F(BatchSafety, ASignalWhileTheListIsReadChangesNothing) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[0], 0);
        ::close(pipeEnds[1]);
        const int err = ::open((dir.path() + "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(err, 2);
        ::setenv("KARVEL_INI", "/nonexistent/Karvel.ini", 1);
        ::setenv("XDG_STATE_HOME", (dir.path() + "state").c_str(), 1);
        ::execl(KARVEL_PROGRAM, KARVEL_PROGRAM, "--batch", "--yes", "--date", "2024-03-05",
                "--files-from", "-", nullptr);
        ::_exit(127);
    }
    ::close(pipeEnds[0]);
    const std::string line = dir.path() + "a.jpg\n";
    ASSERT_EQ(::write(pipeEnds[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ::kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(pipeEnds[1]);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(testing::ReadAll(dir.path() + "err"),
              "\nkarvel: stopped by a signal; nothing changed\n");
    EXPECT_TRUE(Exists("a.jpg"));
    EXPECT_FALSE(Exists("240305_01.jpg"));
}

TEST_F(BatchSafety, TheHistorySaysWhatItHolds) {
    EXPECT_EQ(Karvel({"--batch", "--undo", "--list"}).out, "no runs are kept for undo\n");
    // A journal that cannot be read still shows when its run was.
    std::filesystem::create_directories(state);
    dir.MakeFile("state/Karvel/run-01709596800000000000-1.journal", "not a journal");
    EXPECT_TRUE(Karvel({"--batch", "--undo", "--list"})
                    .out.starts_with("2024-03-05 09:00:00\t(unreadable)\t"));
}

// A name the user chose is renamed, whatever it begins with (its extension runs from its
// first dot, as every name's does).
TEST_F(BatchSafety, ADotNameIsRenamed) {
    dir.MakeFile(".b.jpg", "b");
    const ProgramResult result =
        Karvel({"--batch", "--yes", "--date", "2024-03-05", "--sort", "none", "a.jpg", ".b.jpg"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(testing::ReadAll(dir.path() + "240305_02.b.jpg"), "b");
}

}  // namespace
}  // namespace karvel
