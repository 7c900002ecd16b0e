// A run or an undo killed at any system call, then undone: every file is back under its
// old name with its old stamps, no temporary name is left and no run stays pending.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "cli/ProgramRun.h"
#include "filetime/FileTimes.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

using testing::ReadAll;
using testing::TempDir;

constexpr time_t kOldModified = 1'600'000'000;
const std::vector<std::string> kEnvironment = {"KARVEL_INI=/nonexistent/Karvel.ini"};

struct Scenario {
    const char* title;
    std::vector<std::string> names;  // the files, given in this order
    std::string start;               // the first serial
};

// Plain: new names nobody holds. Chain: each name is the next file's. Ring: the three
// trade names.
const Scenario kScenarios[] = {
    {"Plain", {"a.jpg", "b.jpg", "c.jpg"}, "1"},
    {"Chain", {"240305_02.jpg", "240305_03.jpg", "240305_04.jpg"}, "3"},
    {"Ring", {"240305_02.jpg", "240305_03.jpg", "240305_01.jpg"}, "1"},
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.title;
}

std::vector<std::string> RunArguments(const Scenario& scenario) {
    std::vector<std::string> arguments = {"--batch",  "--yes", "--date",    "2024-03-05",
                                          "--digits", "2",     "--start",   scenario.start,
                                          "--sort",   "none",  "--pattern", "yymmdd"};
    arguments.insert(arguments.end(), scenario.names.begin(), scenario.names.end());
    return arguments;
}

const std::vector<std::string> kUndo = {"--batch", "--undo", "--yes"};

void Prepare(const TempDir& dir, const Scenario& scenario) {
    for (const std::string& name : scenario.names) {
        dir.MakeFile(name, "content of " + name);
        FileInstants stamps;
        stamps.access.tv_sec = stamps.modify.tv_sec = kOldModified;
        ASSERT_FALSE(WriteFileInstants(dir.path() + name, stamps));
    }
}

testing::ProgramResult Karvel(const TempDir& dir, std::vector<std::string> arguments,
                              const std::vector<std::string>& tracing = {}) {
    if (tracing.empty())
        return testing::RunProgram(KARVEL_PROGRAM, arguments, dir.path(), kEnvironment);
    std::vector<std::string> traced = tracing;
    traced.push_back(KARVEL_PROGRAM);
    traced.insert(traced.end(), arguments.begin(), arguments.end());
    return testing::RunProgram("/usr/bin/strace", traced, dir.path(), kEnvironment);
}

// How often the program makes each system call, from strace's summary. The loader's and
// the C library's own start-up are left out: no code of the program's runs there.
std::map<std::string, int> Census(const TempDir& dir, const std::vector<std::string>& arguments) {
    const std::string summary = dir.path() + "census";
    Karvel(dir, arguments, {"-f", "-c", "-o", summary});
    static const std::set<std::string> startUp = {
        "execve",    "brk",      "arch_prctl", "set_tid_address", "set_robust_list", "rseq",
        "prlimit64", "mprotect", "mmap",       "munmap",          "futex",           "total"};
    std::map<std::string, int> calls;
    std::istringstream lines(ReadAll(summary));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::vector<std::string> field;
        for (std::string each; fields >> each;) field.push_back(each);
        if (field.size() < 5 || !std::isdigit(static_cast<unsigned char>(field[3][0]))) continue;
        if (!startUp.contains(field.back())) calls[field.back()] = std::stoi(field[3]);
    }
    std::filesystem::remove(summary);
    return calls;
}

// Killed at the `n`-th call of `call`; true when it was.
bool KillAt(const TempDir& dir, const std::vector<std::string>& arguments, const std::string& call,
            int n) {
    return Karvel(dir, arguments,
                  {"-f", "-o", "/dev/null", "-e",
                   "inject=" + call + ":signal=SIGKILL:when=" + std::to_string(n)})
               .status == 128 + SIGKILL;
}

void ExpectAllBack(const TempDir& dir, const Scenario& scenario, const std::string& moment) {
    for (const std::string& name : scenario.names) {
        EXPECT_EQ(ReadAll(dir.path() + name), "content of " + name) << moment;
        FileInstants stamps;
        ASSERT_FALSE(ReadFileInstants(dir.path() + name, stamps)) << moment;
        EXPECT_EQ(stamps.modify.tv_sec, kOldModified) << name << ", " << moment;
    }
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        files += entry.is_regular_file();
        EXPECT_FALSE(entry.path().filename().string().starts_with(".karvel-"))
            << entry.path() << ", " << moment;
    }
    EXPECT_EQ(files, scenario.names.size()) << moment;
    // The date check never leaves the folder at the chosen date.
    struct stat folder {};
    ASSERT_EQ(::stat(dir.path().c_str(), &folder), 0);
    EXPECT_GT(folder.st_mtim.tv_sec, 1'735'689'600) << moment;  // after 2024
    EXPECT_EQ(Karvel(dir, {"--batch", "--undo", "--list"}).out, "no runs are kept for undo\n")
        << moment;
}

class KillAtEveryCall : public ::testing::TestWithParam<std::tuple<Scenario, bool>> {};

TEST_P(KillAtEveryCall, ThenUndoBringsEveryFileBack) {
    ASSERT_EQ(::access("/usr/bin/strace", X_OK), 0) << "strace is part of the set-up";
    const auto& [scenario, killUndo] = GetParam();
    const std::map<std::string, int> calls = [&] {
        TempDir dir;
        Prepare(dir, scenario);
        if (!killUndo) return Census(dir, RunArguments(scenario));
        EXPECT_EQ(Karvel(dir, RunArguments(scenario)).status, 0);
        return Census(dir, kUndo);
    }();
    ASSERT_TRUE(calls.contains("renameat2"));
    int killed = 0;
    for (const auto& [call, count] : calls) {
        for (int n = 1; n <= count; ++n) {
            TempDir dir;
            Prepare(dir, scenario);
            const std::string moment = call + " #" + std::to_string(n);
            if (killUndo) {
                ASSERT_EQ(Karvel(dir, RunArguments(scenario)).status, 0);
                killed += KillAt(dir, kUndo, call, n);
            } else {
                killed += KillAt(dir, RunArguments(scenario), call, n);
            }
            Karvel(dir, kUndo);
            ExpectAllBack(dir, scenario, moment);
            if (HasFailure()) return;
        }
    }
    EXPECT_GT(killed, 50);
}

INSTANTIATE_TEST_SUITE_P(EachScenario, KillAtEveryCall,
                         ::testing::Combine(::testing::ValuesIn(kScenarios), ::testing::Bool()),
                         [](const auto& each) {
                             return std::string(std::get<0>(each.param).title) +
                                    (std::get<1>(each.param) ? "Undo" : "Run");
                         });

}  // namespace
}  // namespace karvel
