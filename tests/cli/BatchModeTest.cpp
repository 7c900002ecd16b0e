// The program's batch mode, driven as a script would drive it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "cli/ProgramRun.h"
#include "filetime/FileTimes.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

using testing::ProgramResult;
using testing::RunProgram;
using testing::TempDir;

class BatchMode : public ::testing::Test {
  protected:
    TempDir dir;
    std::string ini = dir.path() + "settings/Karvel.ini";

    void SetUp() override {
        for (const char* name : {"b.tar.gz", "readme", "a.jpg"}) dir.MakeFile(name, name);
    }

    ProgramResult Karvel(std::vector<std::string> arguments, const std::string& input = {}) {
        return RunProgram(KARVEL_PROGRAM, arguments, dir.path(), {"KARVEL_INI=" + ini}, input);
    }

    bool Exists(const std::string& name) const {
        return std::filesystem::exists(dir.path() + name);
    }
};

const std::vector<std::string> kWorkedExample = {
    "--batch", "--date", "2024-03-05", "--pattern", "yymmdd", "--digits", "3", "--start", "1"};

std::vector<std::string> With(std::vector<std::string> base, const std::vector<std::string>& more) {
    base.insert(base.end(), more.begin(), more.end());
    return base;
}

TEST_F(BatchMode, ADryRunListsTheNamesTheWindowWouldShow) {
    const ProgramResult result =
        Karvel(With(kWorkedExample, {"--dry-run", "readme", "b.tar.gz", "a.jpg"}));
    ASSERT_EQ(result.status, 0) << result.err;
    std::istringstream lines(result.out);
    std::vector<std::pair<std::string, std::string>> names;
    for (std::string line; std::getline(lines, line);) {
        const auto first = line.find('\t');
        const auto second = line.find('\t', first + 1);
        names.emplace_back(line.substr(0, first), line.substr(first + 1, second - first - 1));
        EXPECT_EQ(line.size() - second - 1, 14U) << line;  // "yy/MM/dd HH:mm"
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"a.jpg", "240305_001.jpg"}, {"b.tar.gz", "240305_002.tar.gz"}, {"readme", "240305_003"}};
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(Exists("a.jpg") && Exists("readme"));
    EXPECT_FALSE(std::filesystem::exists(ini));  // batch mode never writes the settings
}

TEST_F(BatchMode, ARunWithYesRenamesAndRestamps) {
    const ProgramResult result =
        Karvel(With(kWorkedExample, {"--yes", "--midnight", "a.jpg", "b.tar.gz", "readme"}));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(
        result.err,
        "3 File の ReName を開始します  よろしいですか？ [y/N] y\n変換処理が正常終了しました\n");
    EXPECT_EQ(testing::ReadAll(dir.path() + "240305_002.tar.gz"), "b.tar.gz");
    FileInstants stamped;
    ASSERT_FALSE(ReadFileInstants(dir.path() + "240305_003", stamped));
    EXPECT_EQ(stamped.modify.tv_sec, 1'709'564'400);  // 2024-03-05 00:00 at UTC+9
    EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(BatchMode, ATakenNameStopsTheRunAtItsRow) {
    dir.MakeFile("240305_002.tar.gz", "someone else's");
    const ProgramResult result =
        Karvel(With(kWorkedExample, {"--yes", "a.jpg", "b.tar.gz", "readme"}));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("変換後のファイル名称は既に存在します  処理を中断します\n"
                              "( b.tar.gz > 240305_002.tar.gz )\n"),
              std::string::npos)
        << result.err;
    EXPECT_TRUE(Exists("240305_001.jpg"));
    EXPECT_TRUE(Exists("b.tar.gz") && Exists("readme"));
    EXPECT_EQ(testing::ReadAll(dir.path() + "240305_002.tar.gz"), "someone else's");
}

TEST_F(BatchMode, NoAnswerIsNo) {
    for (const std::string input : {"", "\n", "n\n", "nein\n"}) {
        const ProgramResult result = Karvel(With(kWorkedExample, {"a.jpg"}), input);
        EXPECT_EQ(result.status, 1) << input;
        EXPECT_TRUE(Exists("a.jpg")) << input;
    }
    EXPECT_EQ(Karvel(With(kWorkedExample, {"a.jpg"}), "y\n").status, 0);
    EXPECT_TRUE(Exists("240305_001.jpg"));
}

TEST_F(BatchMode, UsageErrorsSayWhatWasWrong) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
        {{"--batch", "--date", "2024-02-30", "a.jpg"}, "bad date \"2024-02-30\" (use YYYY-MM-DD)"},
        {{"--batch", "--date", "5.3.2024", "a.jpg"}, "bad date \"5.3.2024\" (use YYYY-MM-DD)"},
        {{"--batch", "--pattern", "yyyy", "a.jpg"},
         "unknown pattern \"yyyy\" (use yyyymmdd, yymmdd, mmdd, yyyymm or yymm)"},
        {{"--batch", "--digits", "0", "a.jpg"}, "digits must be 1 to 5, not \"0\""},
        {{"--batch", "--digits", "12", "a.jpg"}, "digits must be 1 to 5, not \"12\""},
        {{"--batch", "--start", "abc", "a.jpg"},
         "start must be a number from 0 to 2147483647, not \"abc\""},
        {{"--batch", "--start", "-1", "a.jpg"},
         "start must be a number from 0 to 2147483647, not \"-1\""},
        {{"--batch", "--start", "99999999999", "a.jpg"},
         "start must be a number from 0 to 2147483647, not \"99999999999\""},
        {{"--batch"}, "no files given"},
        {{"--batch", "--bogus", "a.jpg"}, "unknown option '--bogus'"},
        {{"--batch", "--null", "a.jpg"}, "--null needs --files-from"},
        {{"--batch", "--midnight", "--keep-time", "a.jpg"},
         "--midnight and --keep-time exclude each other"},
        {{"--batch", "--sort", "size", "a.jpg"}, "unknown order \"size\" (use name, time or none)"},
        {{"--batch", "--undo", "a.jpg"}, "--undo takes no files and no naming options"},
        {{"--batch", "--list"}, "--list and --forget go with --undo"},
        {{"--dry-run", "a.jpg"}, "these options need --batch"},
    };
    for (const auto& [arguments, text] : wrong) {
        const ProgramResult result = Karvel(arguments);
        EXPECT_EQ(result.status, 2) << text;
        EXPECT_EQ(result.err, "karvel: " + text + "\nTry 'karvel --help' for more information.\n");
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_TRUE(Exists("a.jpg"));
}

TEST_F(BatchMode, OptionsNotGivenComeFromTheSettings) {
    std::filesystem::create_directories(dir.path() + "settings");
    const std::string stored =
        "[Option]\r\nNextOption=1\r\nStartNo=007\r\nColummn=4\r\nType=mmdd\r\n";
    std::ofstream(ini, std::ios::binary) << stored;
    const ProgramResult fromEnvironment =
        Karvel({"--batch", "--dry-run", "--date", "2024-03-05", "a.jpg"});
    EXPECT_EQ(fromEnvironment.out.substr(0, fromEnvironment.out.find('\t', 6)),
              "a.jpg\t0305_0007.jpg");

    // Next to the program, as a portable install keeps it.
    const std::string program = dir.path() + "portable/karvel";
    std::filesystem::create_directories(dir.path() + "portable");
    std::filesystem::copy_file(KARVEL_PROGRAM, program);
    std::ofstream(dir.path() + "portable/Karvel.ini", std::ios::binary)
        << "[Option]\nNextOption=1\nStartNo=20\nColummn=2\nType=yyyymm\n";
    const ProgramResult portable = RunProgram(
        program, {"--batch", "--dry-run", "--date", "2024-03-05", "a.jpg"}, dir.path(), {});
    EXPECT_EQ(portable.out.substr(0, portable.out.find('\t', 6)), "a.jpg\t202403_20.jpg");
    EXPECT_EQ(testing::ReadAll(ini), stored);
}

TEST_F(BatchMode, FilesFromAListAfterTheNamedOnes) {
    const std::string list = dir.path() + "readme\n" + "b.tar.gz\n\n";
    ProgramResult lines =
        Karvel(With(kWorkedExample, {"--dry-run", "--files-from", "-", "a.jpg"}), list);
    EXPECT_EQ(std::count(lines.out.begin(), lines.out.end(), '\n'), 3) << lines.err;

    // NUL-separated, relative to the current folder, with a newline inside a name.
    dir.MakeFile("new\nline.txt");
    std::ofstream(dir.path() + "list", std::ios::binary)
        << std::string("new\nline.txt\0readme\0", 21);
    const ProgramResult nul =
        Karvel(With(kWorkedExample, {"--dry-run", "--files-from", "list", "--null"}));
    // Shown escaped: a name never breaks a line.
    EXPECT_EQ(nul.out.substr(0, 28), "new\\nline.txt\t240305_001.txt");
    EXPECT_EQ(std::count(nul.out.begin(), nul.out.end(), '\t'), 4);
}

}  // namespace
}  // namespace karvel
