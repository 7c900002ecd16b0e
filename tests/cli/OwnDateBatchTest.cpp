// Batch mode by each file's own date: the capture time read through the capture module,
// the modified time where a file has none, and the options that go with it.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/ProgramRun.h"
#include "filetime/FileTimes.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

using testing::ProgramResult;
using testing::RunProgram;
using testing::TempDir;

class OwnDateBatch : public ::testing::Test {
  protected:
    TempDir dir;

    void SetUp() override {
        // The samples: a JPEG taken 2024-03-05 10:20:30.123 at +09:00 and a movie created
        // 2024-03-31 00:59:59 UTC; a text file without any capture time.
        for (const char* name : {"sample.jpg", "sample.mp4"})
            std::filesystem::copy_file(std::string(KARVEL_CAPTURE_SAMPLES) + name,
                                       dir.path() + name);
        dir.MakeFile("notes.txt", "x");
        FileInstants old;
        ASSERT_FALSE(ReadFileInstants(dir.path() + "notes.txt", old));
        old.modify = {1'700'000'000, 0};  // 2023-11-15 07:13:20 at UTC+9
        ASSERT_FALSE(WriteFileInstants(dir.path() + "notes.txt", old));
    }

    ProgramResult Karvel(std::vector<std::string> arguments) {
        std::vector<std::string> all = {"--batch", "--pattern", "yymmdd", "--digits",
                                        "2",       "--start",   "1"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return RunProgram(KARVEL_PROGRAM, all, dir.path(),
                          {"KARVEL_INI=" + dir.path() + "Karvel.ini"}, {});
    }

    timespec Modified(const std::string& name) const {
        FileInstants stamps;
        EXPECT_FALSE(ReadFileInstants(dir.path() + name, stamps)) << name;
        return stamps.modify;
    }
};

TEST_F(OwnDateBatch, ADryRunTellsEachRowsDateAndWhereItCameFrom) {
    const ProgramResult result =
        Karvel({"--date-from", "taken", "--dry-run", "sample.mp4", "notes.txt", "sample.jpg"});
    ASSERT_EQ(result.status, 0) << result.err;
    // Old name, new name and where the date came from; the movie's UTC time is 09:59:59
    // in Tokyo (the tests' zone).
    std::istringstream lines(result.out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) {
        const auto second = line.find('\t', line.find('\t') + 1);
        const auto third = line.find('\t', second + 1);
        rows.push_back(line.substr(0, second) + " | " + line.substr(third + 1));
    }
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "notes.txt\t231115_01.txt | modified (no capture time)",
                        "sample.jpg\t240305_01.jpg | taken", "sample.mp4\t240331_01.mp4 | taken"}));
}

TEST_F(OwnDateBatch, ARunStampsEachFileWithItsOwnInstant) {
    const ProgramResult result =
        Karvel({"--date-from", "taken", "--keep-time", "--yes", "sample.jpg", "notes.txt"});
    ASSERT_EQ(result.status, 0) << result.err;
    const timespec shot = Modified("240305_01.jpg");
    EXPECT_EQ(shot.tv_sec, 1'709'601'630);  // 2024-03-05 01:20:30 UTC
    EXPECT_EQ(shot.tv_nsec, 123'000'000);
    EXPECT_EQ(Modified("231115_01.txt").tv_sec, 1'700'000'000);

    // The modified time as the source, midnight of each file's own day.
    ASSERT_EQ(Karvel({"--date-from", "modified", "--midnight", "--yes", "231115_01.txt"}).status,
              0);
    EXPECT_EQ(Modified("231115_01.txt").tv_sec, 1'699'974'000);  // 2023-11-15 00:00 at UTC+9
}

TEST_F(OwnDateBatch, ADateGoesOnlyWithTheCalendar) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
        {{"--date-from", "taken", "--date", "2024-03-05", "notes.txt"},
         "--date goes only with --date-from calendar"},
        {{"--date-from", "exif", "notes.txt"},
         "unknown date source \"exif\" (use calendar, taken or modified)"},
    };
    for (const auto& [arguments, text] : wrong) {
        const ProgramResult result = Karvel(arguments);
        EXPECT_EQ(result.status, 2) << text;
        EXPECT_EQ(result.err, "karvel: " + text + "\nTry 'karvel --help' for more information.\n");
    }
    EXPECT_EQ(Karvel({"--date-from", "calendar", "--date", "2024-03-05", "--dry-run", "notes.txt"})
                  .out.substr(0, 24),
              "notes.txt\t240305_01.txt\t");
}

}  // namespace
}  // namespace karvel
