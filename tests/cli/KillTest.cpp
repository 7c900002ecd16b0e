// Killed at any moment, a run loses no file and can still be undone, and a settings save
// tears no file.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#include "cli/ProgramRun.h"
#include "filetime/FileTimes.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

using testing::Slurp;
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

TEST(Kill, ARunKilledAtAnyMomentLosesNoFile) {
    constexpr int kFiles = 2000;
    const auto prepare = [](const TempDir& dir) {
        std::ofstream list(dir.path() + "list");
        for (int i = 0; i < kFiles; ++i) {
            dir.MakeFile(OldName(i), "content of " + OldName(i));
            FileInstants stamps;
            stamps.access.tv_sec = stamps.modify.tv_sec = kOriginalModified;
            (void)WriteFileInstants(dir.path() + OldName(i), stamps);
            list << dir.path() << OldName(i) << '\n';
        }
        return std::vector<std::string>{KARVEL_PROGRAM, "--batch", "--yes", "--date", "2024-03-05",
                                        "--pattern", "yymmdd", "--digits", "5", "--start", "1",
                                        "--files-from", dir.path() + "list"};
    };
    // How long a whole run takes here, so that the kills land inside one.
    std::chrono::microseconds whole{};
    {
        TempDir dir;
        const auto arguments = prepare(dir);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_FALSE(StartAndKill(arguments, std::chrono::seconds(30), dir.path() + "state", true));
        whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        ASSERT_TRUE(std::filesystem::exists(dir.path() + NewName(kFiles - 1)));
    }

    std::mt19937 random(20261207);
    int killedMidway = 0;
    for (int repetition = 0; repetition < 6; ++repetition) {
        TempDir dir;
        const auto arguments = prepare(dir);
        const std::chrono::microseconds delay(std::uniform_int_distribution<long>(
            static_cast<long>(whole.count() / 5), static_cast<long>(whole.count() * 4 / 5))(random));
        const bool killed = StartAndKill(arguments, delay, dir.path() + "state");

        int renamed = 0;
        for (int i = 0; i < kFiles; ++i) {
            const bool old = std::filesystem::exists(dir.path() + OldName(i));
            const bool now = std::filesystem::exists(dir.path() + NewName(i));
            ASSERT_NE(old, now) << OldName(i) << " after " << delay.count() << " us";
            EXPECT_EQ(Slurp(dir.path() + (old ? OldName(i) : NewName(i))), "content of " + OldName(i));
            renamed += now ? 1 : 0;
        }
        // Renamed from the top: no gap in the renamed rows.
        for (int i = 0; i < renamed; ++i) ASSERT_TRUE(std::filesystem::exists(dir.path() + NewName(i)));
        // No file more either: the files and the list, besides the journal's folder.
        const auto files = std::ranges::count_if(std::filesystem::directory_iterator(dir.path()),
                                                 [](const auto& entry) { return entry.is_regular_file(); });
        EXPECT_EQ(files, kFiles + 1);

        // The journal written up to the kill takes every renamed file back.
        const testing::ProgramResult undo =
            testing::RunProgram(KARVEL_PROGRAM, {"--batch", "--undo", "--yes"}, dir.path(), {});
        if (renamed == 0) continue;
        EXPECT_EQ(undo.status, 0) << undo.err;
        for (int i = 0; i < kFiles; ++i) {
            ASSERT_TRUE(std::filesystem::exists(dir.path() + OldName(i))) << OldName(i);
            FileInstants stamps;
            ASSERT_FALSE(ReadFileInstants(dir.path() + OldName(i), stamps));
            EXPECT_EQ(stamps.modify.tv_sec, kOriginalModified) << OldName(i);
        }
        std::printf("kill after %lld us: %d of %d renamed%s\n", static_cast<long long>(delay.count()), renamed, kFiles, killed ? "" : " (had ended)");
        if (killed && renamed > 0 && renamed < kFiles) ++killedMidway;
    }
    // The moments are spread so that most kills land inside the run.
    EXPECT_GE(killedMidway, 1);
}

TEST(Kill, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
    std::mt19937 random(7);
    for (int repetition = 0; repetition < 8; ++repetition) {
        TempDir dir;
        const std::string ini = dir.path() + "Karvel.ini";
        const std::chrono::microseconds delay(std::uniform_int_distribution<int>(2'000, 40'000)(random));
        StartAndKill({KARVEL_INI_WRITER, ini}, delay, dir.path() + "state");

        const std::string text = Slurp(ini);
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
