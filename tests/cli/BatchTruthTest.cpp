// Batch mode's exit status and lines tell the truth: a file left out, a stop a dry run
// foresees, a list that is no list, a run ended by a signal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cli/ProgramRun.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

using testing::ProgramResult;
using testing::RunProgram;
using testing::ShellQuoted;
using testing::TempDir;

class BatchTruth : public ::testing::Test {
  protected:
    TempDir dir;

    void SetUp() override {
        for (const char* name : {"a.jpg", "b.jpg"}) dir.MakeFile(name, name);
    }
    ProgramResult Karvel(std::vector<std::string> arguments, const std::string& input = {}) {
        arguments.insert(arguments.begin(), {"--batch", "--date", "2024-03-05", "--pattern",
                                             "yymmdd", "--digits", "2", "--start", "1"});
        return RunProgram(KARVEL_PROGRAM, arguments, dir.path(),
                          {"KARVEL_INI=/nonexistent/Karvel.ini"}, input);
    }
    bool Exists(const std::string& name) const {
        return std::filesystem::exists(dir.path() + name);
    }
};

TEST_F(BatchTruth, ADryRunExitsAsTheRunWouldAndSaysWhy) {
    struct Case {
        const char* what;
        std::function<void(const std::string&)> arrange;
        std::vector<std::string> files;
        int status;
        std::string err;  // "@" stands for the folder
    };
    const Case cases[] = {
        {"clean", [](const std::string&) {}, {"a.jpg", "b.jpg"}, 0, ""},
        {"taken",
         [](const std::string& folder) { std::ofstream(folder + "240305_02.jpg") << "x"; },
         {"a.jpg", "b.jpg"},
         1,
         "変換後のファイル名称は既に存在します  処理を中断します\n( b.jpg > 240305_02.jpg )\n"},
        {"pipe",
         [](const std::string& folder) { ::mkfifo((folder + "a.pipe").c_str(), 0600); },
         {"a.pipe", "b.jpg"},
         1,
         "ファイルが見つかりません  処理を中断します\n( a.pipe )\n"},
        {"missing",
         [](const std::string&) {},
         {"a.jpg", "gone.jpg"},
         1,
         "karvel: no such file: @gone.jpg\n"},
    };
    for (const Case& each : cases) {
        TempDir fresh;
        for (const char* name : {"a.jpg", "b.jpg"}) fresh.MakeFile(name, name);
        each.arrange(fresh.path());
        std::vector<std::string> arguments = {"--batch",   "--dry-run", "--date",   "2024-03-05",
                                              "--pattern", "yymmdd",    "--digits", "2"};
        arguments.insert(arguments.end(), each.files.begin(), each.files.end());
        const ProgramResult result = RunProgram(KARVEL_PROGRAM, arguments, fresh.path(),
                                                {"KARVEL_INI=/nonexistent/Karvel.ini"});
        EXPECT_EQ(result.status, each.status) << each.what << result.err;
        std::string expected = each.err;
        if (const auto at = expected.find('@'); at != std::string::npos)
            expected.replace(at, 1, fresh.path());
        EXPECT_EQ(result.err, expected) << each.what;
        EXPECT_TRUE(std::filesystem::exists(fresh.path() + "a.jpg") ||
                    std::filesystem::exists(fresh.path() + "a.pipe"));
    }
}

// Given in this order, the two files trade names: a dry run shows the moves, a run makes them.
TEST_F(BatchTruth, FilesGivenInTheirOwnOrderCanTradeNames) {
    dir.MakeFile("240305_01.jpg", "first");
    dir.MakeFile("240305_02.jpg", "second");
    const std::vector<std::string> swap = {"--sort", "none", "240305_02.jpg", "240305_01.jpg"};
    std::vector<std::string> dry = {"--dry-run", "--verbose"};
    dry.insert(dry.end(), swap.begin(), swap.end());
    const ProgramResult dryRun = Karvel(dry);
    EXPECT_EQ(dryRun.status, 0) << dryRun.err;
    EXPECT_EQ(
        dryRun.err,
        "karvel: move 240305_02.jpg -> (temporary)\nkarvel: move 240305_01.jpg -> 240305_02.jpg\n"
        "karvel: move (temporary) -> 240305_01.jpg\n");
    std::vector<std::string> real = {"--yes"};
    real.insert(real.end(), swap.begin(), swap.end());
    EXPECT_EQ(Karvel(real).status, 0);
    EXPECT_EQ(testing::ReadAll(dir.path() + "240305_01.jpg"), "second");
    EXPECT_EQ(testing::ReadAll(dir.path() + "240305_02.jpg"), "first");
}

TEST_F(BatchTruth, AFileLeftOutIsNamedAndTheStatusIsOne) {
    std::filesystem::create_directories(dir.path() + "elsewhere");
    dir.MakeFile("elsewhere/c.jpg");
    const ProgramResult result =
        Karvel({"--yes", "a.jpg", "elsewhere/c.jpg", "nothing.jpg", "b.jpg"});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(Exists("240305_01.jpg") && Exists("240305_02.jpg"));
    EXPECT_TRUE(Exists("elsewhere/c.jpg"));
    EXPECT_TRUE(result.err.starts_with(
        "karvel: not in the first file's folder, left out: " + dir.path() +
        "elsewhere/c.jpg\nkarvel: no such file: " + dir.path() + "nothing.jpg\n"))
        << result.err;
}

TEST_F(BatchTruth, AListMustBeAFileOrAPipeOfPaths) {
    std::filesystem::create_directories(dir.path() + "folder");
    std::ofstream(dir.path() + "long") << std::string(5000, 'x') << "\na.jpg\n";
    for (const std::string& list :
         {dir.path() + "folder", std::string("/dev/zero"), dir.path() + "long"}) {
        const ProgramResult result = Karvel({"--dry-run", "--files-from", list});
        EXPECT_EQ(result.status, 2) << list;
        EXPECT_TRUE(result.err.starts_with("karvel: ")) << result.err;
    }
    // Standard input that never ends a line is cut off, not read to the end.
    const std::string command =
        "head -c 100000000 /dev/zero | env KARVEL_INI=/nonexistent/Karvel.ini " +
        ShellQuoted(KARVEL_PROGRAM) + " --batch --dry-run --files-from - 2>/dev/null";
    const int raw = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(raw), 2);
}

TEST_F(BatchTruth, RelativeNamesNeedACurrentFolder) {
    // A canary where a relative name would land if the removed folder counted as "/".
    const std::string name = "karvel-canary-" + std::to_string(::getpid()) + ".jpg";
    const bool canary = std::ofstream("/" + name).good();
    std::filesystem::create_directories(dir.path() + "gone");
    const std::string command =
        "cd " + ShellQuoted(dir.path() + "gone") + " && rmdir ../gone && env " +
        "KARVEL_INI=/nonexistent/Karvel.ini XDG_STATE_HOME=" + ShellQuoted(dir.path() + "state") +
        " " + ShellQuoted(KARVEL_PROGRAM) + " --batch --yes --date 2024-03-05 " + name + " 2>" +
        ShellQuoted(dir.path() + "err");
    const int raw = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(raw), 2);
    EXPECT_NE(testing::ReadAll(dir.path() + "err").find("the current folder cannot be read"),
              std::string::npos);
    if (canary) {
        EXPECT_TRUE(std::filesystem::exists("/" + name));
        std::filesystem::remove("/" + name);
    }
}

TEST_F(BatchTruth, ASignalEndsTheRunAfterAFileAndSaysWhereItStopped) {
    constexpr int kFiles = 5000;
    {
        std::ofstream list(dir.path() + "list");
        for (int i = 0; i < kFiles; ++i) {
            const std::string name = "f" + std::to_string(100000 + i) + ".jpg";
            dir.MakeFile(name);
            list << name << '\n';
        }
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(dir.path().c_str()) != 0) ::_exit(127);
        const int null = ::open("/dev/null", O_RDWR);
        const int err = ::open((dir.path() + "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(err, 2);
        ::setenv("KARVEL_INI", "/nonexistent/Karvel.ini", 1);
        ::setenv("XDG_STATE_HOME", (dir.path() + "state").c_str(), 1);
        ::execl(KARVEL_PROGRAM, KARVEL_PROGRAM, "--batch", "--yes", "--date", "2024-03-05",
                "--digits", "5", "--files-from", "list", nullptr);
        ::_exit(127);
    }
    // Once the run is under way.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!Exists("240305_00001.jpg") && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    const std::string err = testing::ReadAll(dir.path() + "err");
    int renamed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        renamed += entry.path().filename().string().starts_with("240305_");
    }
    if (renamed == kFiles) GTEST_SKIP() << "the run ended before the signal";
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string next = "f" + std::to_string(100000 + renamed) + ".jpg";
    EXPECT_NE(err.find("karvel: stopped by a signal after " + std::to_string(renamed) +
                       " of 5000 files; next: " + next + "\n"),
              std::string::npos)
        << err;
    EXPECT_TRUE(Exists(next));
}

}  // namespace
}  // namespace karvel
