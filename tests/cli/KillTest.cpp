// Killed at any moment, a run loses no file and can still be undone, and a settings save
// tears no file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "cli/ProgramRun.h"
#include "filetime/FileTimes.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

using testing::ReadAll;
using testing::TempDir;

// Starts `arguments[0]` with stdin, stdout and stderr on /dev/null and kills it with
// SIGKILL after `delay` (or as soon as it ends, with `untilEnd`); returns whether it was
// still running then.
bool StartAndKill(const std::vector<std::string>& arguments, std::chrono::microseconds delay,
                  const std::string& stateFolder, bool untilEnd = false) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::setenv("KARVEL_INI", "/nonexistent/Karvel.ini", 1);
        ::setenv("XDG_STATE_HOME", stateFolder.c_str(), 1);
        std::vector<char*> argv;
        for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + delay;
    const auto ended = [child] { return ::waitpid(child, nullptr, WNOHANG) == child; };
    if (untilEnd) {
        while (std::chrono::steady_clock::now() < deadline) {
            if (ended()) return false;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    } else {
        std::this_thread::sleep_for(delay);
        if (ended()) return false;
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return true;
}

constexpr time_t kOriginalModified = 1'600'000'000;

std::string OldName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "DSC_%05d.jpg", i);
    return name;
}

std::string NewName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "240305_%05d.jpg", i + 1);
    return name;
}

constexpr int kFiles = 5000;

// 5,000 files with their list. Straight: DSC_i becomes 240305_(i+1). A ring: every file
// takes the name of the one before it in the list, the first the last one's.
std::vector<std::string> Prepare(const TempDir& dir, bool ring) {
    std::ofstream list(dir.path() + "list");
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = ring ? NewName(i) : OldName(i);
        dir.MakeFile(name, "content of " + name);
        FileInstants stamps;
        stamps.access.tv_sec = stamps.modify.tv_sec = kOriginalModified;
        (void)WriteFileInstants(dir.path() + name, stamps);
    }
    for (int k = 0; k < kFiles; ++k)
        list << dir.path() << (ring ? NewName((k + 1) % kFiles) : OldName(k)) << '\n';
    return {KARVEL_PROGRAM,
            "--batch",
            "--yes",
            "--date",
            "2024-03-05",
            "--pattern",
            "yymmdd",
            "--digits",
            "5",
            "--start",
            "1",
            "--sort",
            "none",
            "--files-from",
            dir.path() + "list"};
}

// Every file once, under its old name, its new one or the run's temporary name.
void ExpectEveryFileOnce(const TempDir& dir) {
    std::multiset<std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name != "list")
            contents.insert(ReadAll(entry.path().string()));
    }
    ASSERT_EQ(contents.size(), static_cast<std::size_t>(kFiles));
    EXPECT_EQ(std::set<std::string>(contents.begin(), contents.end()).size(), contents.size());
}

void ExpectAllBack(const TempDir& dir, bool ring) {
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = ring ? NewName(i) : OldName(i);
        ASSERT_EQ(ReadAll(dir.path() + name), "content of " + name);
        FileInstants stamps;
        ASSERT_FALSE(ReadFileInstants(dir.path() + name, stamps));
        ASSERT_EQ(stamps.modify.tv_sec, kOriginalModified) << name;
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(".karvel-")) << entry.path();
    }
}

std::chrono::microseconds WholeRun(bool ring) {
    TempDir dir;
    const auto arguments = Prepare(dir, ring);
    const auto start = std::chrono::steady_clock::now();
    StartAndKill(arguments, std::chrono::seconds(60), dir.path() + "state", true);
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

// Killed at random moments of a run (straight or a ring of 5,000 names), then of its
// undo: no file is lost or doubled, and undo brings every file back, stamps included.
class KillDuring : public ::testing::TestWithParam<bool> {};

TEST_P(KillDuring, ARunOrItsUndoLosesNoFile) {
    const bool ring = GetParam();
    const std::chrono::microseconds whole = WholeRun(ring);
    std::mt19937 random(ring ? 20261208 : 20261207);
    const auto someMoment = [&random, whole] {
        return std::chrono::microseconds(
            std::uniform_int_distribution<long>(static_cast<long>(whole.count() / 10),
                                                static_cast<long>(whole.count() * 9 / 10))(random));
    };
    int killedMidway = 0;
    for (int repetition = 0; repetition < 10; ++repetition) {
        TempDir dir;
        const auto arguments = Prepare(dir, ring);
        killedMidway += StartAndKill(arguments, someMoment(), dir.path() + "state");
        ExpectEveryFileOnce(dir);

        // The undo is killed too, then run to its end.
        const std::vector<std::string> undo = {KARVEL_PROGRAM, "--batch", "--undo", "--yes"};
        const auto folder = dir.path();
        const auto startUndo = [&](std::chrono::microseconds delay, bool untilEnd) {
            const auto previous = std::filesystem::current_path();
            std::filesystem::current_path(folder);
            const bool killed = StartAndKill(undo, delay, folder + "state", untilEnd);
            std::filesystem::current_path(previous);
            return killed;
        };
        startUndo(someMoment() / 2, false);
        ExpectEveryFileOnce(dir);
        startUndo(std::chrono::seconds(60), true);
        ExpectAllBack(dir, ring);
    }
    EXPECT_GE(killedMidway, 5);
}

INSTANTIATE_TEST_SUITE_P(StraightAndRing, KillDuring, ::testing::Bool(),
                         [](const auto& each) { return each.param ? "Ring" : "Straight"; });

TEST(Kill, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
    std::mt19937 random(7);
    for (int repetition = 0; repetition < 8; ++repetition) {
        TempDir dir;
        const std::string ini = dir.path() + "Karvel.ini";
        const std::chrono::microseconds delay(
            std::uniform_int_distribution<int>(2'000, 40'000)(random));
        StartAndKill({KARVEL_INI_WRITER, ini}, delay, dir.path() + "state");

        const std::string text = ReadAll(ini);
        if (text.empty()) continue;  // killed before the first save
        std::istringstream lines(text);
        std::string line;
        ASSERT_TRUE(std::getline(lines, line));
        EXPECT_EQ(line, "[Option]");
        int keys = 0;
        while (std::getline(lines, line)) {
            const auto equals = line.find('=');
            ASSERT_NE(equals, std::string::npos) << line;
            const std::string value = line.substr(equals + 1);
            ASSERT_EQ(value.size(), 100U) << line;
            EXPECT_EQ(value.find_first_not_of(value[0]), std::string::npos) << line;
            ++keys;
        }
        EXPECT_GE(keys, 1);
        EXPECT_LE(keys, 5);
    }
}

}  // namespace
}  // namespace karvel
