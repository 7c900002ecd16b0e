// Names a file manager hands over that are easy to get wrong, from the drop to the rename.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rename/RealRunFixture.h"
#include "targets/DropIntake.h"

namespace karvel {
namespace {

using testing::RealRunFixture;

class AwkwardNames : public ::testing::Test {
  protected:
    RealRunFixture run;
    NamingOptions options{{2024, 3, 5}, "yymmdd", "3", "1"};

    // Drops `names` from `folder` (relative to the test folder) and starts the run.
    RunReport DropAndRun(const std::string& folder, const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const auto& name : names) paths.push_back(run.dir.MakeFile(folder + name, name));
        TakeInDrop(run.list, paths, options);
        EXPECT_EQ(run.list.RowCount(), names.size());
        return run.Start();
    }
};

TEST_F(AwkwardNames, BytesThatAreNoUtf8NewlinesAndTabs) {
    const RunReport report = DropAndRun("", {"caf\xe9.jpg", "line\nbreak.txt", "tab\there.png"});
    EXPECT_EQ(report.result, RunResult::Completed);
    // Sorted by name: "caf\xe9", "line\n", "tab\t".
    EXPECT_EQ(run.Content("240305_001.jpg"), "caf\xe9.jpg");
    EXPECT_EQ(run.Content("240305_002.txt"), "line\nbreak.txt");
    EXPECT_EQ(run.Content("240305_003.png"), "tab\there.png");
}

TEST_F(AwkwardNames, ANewNameTooLongForTheFileSystemFailsCleanly) {
    // 255 bytes, the longest name allowed; its extension alone makes the new name longer.
    const std::string longest = "a." + std::string(253, 'x');
    const RunReport report = DropAndRun("", {longest, "y.jpg"});
    EXPECT_EQ(report.result, RunResult::Stopped);
    EXPECT_EQ(report.renamed, 0U);
    // Not "already exists": the system's own code and text.
    EXPECT_THAT(run.host.messages.back().text,
                ::testing::StartsWith("エラーが発生しました\r\n36 File name too long( "));
    EXPECT_EQ(run.Content(longest), longest);
    EXPECT_TRUE(run.Exists("y.jpg"));
}

TEST_F(AwkwardNames, NamesThatDifferOnlyInCaseAndNamesLikeOptions) {
    const RunReport report = DropAndRun("", {"Photo.JPG", "photo.jpg", "-rf.jpg", "--.jpg"});
    EXPECT_EQ(report.result, RunResult::Completed);
    EXPECT_EQ(report.renamed, 4U);
    std::vector<std::string> contents;
    for (int i = 1; i <= 4; ++i) {
        for (const char* extension : {".jpg", ".JPG"}) {
            const std::string name = "240305_00" + std::to_string(i) + extension;
            if (run.Exists(name)) contents.push_back(run.Content(name));
        }
    }
    EXPECT_THAT(contents,
                ::testing::UnorderedElementsAre("Photo.JPG", "photo.jpg", "-rf.jpg", "--.jpg"));
}

TEST_F(AwkwardNames, AFolderWithBlanksAndJapanese) {
    std::filesystem::create_directories(run.dir.path() + "my photos/写真 2024");
    const RunReport report = DropAndRun("my photos/写真 2024/", {"b.jpg", "a.jpg"});
    EXPECT_EQ(report.result, RunResult::Completed);
    EXPECT_EQ(run.list.TargetFolder(), run.dir.path() + "my photos/写真 2024/");
    EXPECT_EQ(run.Content("my photos/写真 2024/240305_001.jpg"), "a.jpg");
    EXPECT_EQ(run.Content("my photos/写真 2024/240305_002.jpg"), "b.jpg");
}

}  // namespace
}  // namespace karvel
