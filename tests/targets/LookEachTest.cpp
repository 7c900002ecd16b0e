// The real disk's look at a folder's names all at once tells what one look at each path
// tells, on the one thread of a small drop and on several of a large one.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/TempDir.h"
#include "targets/FolderReader.h"

namespace karvel {
namespace {

void ExpectSameAsEachLook(const std::string& folder, const std::vector<std::string>& names) {
    const std::vector<std::string_view> views(names.begin(), names.end());
    const std::vector<Looked> looked = SystemFolderReader().LookEach(folder, views);
    ASSERT_EQ(looked.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        FileEntry one;
        const std::error_code error = SystemFolderReader().Look(folder + names[i], one);
        ASSERT_EQ(looked[i].error, error) << names[i];
        if (error) continue;
        EXPECT_EQ(looked[i].entry.Id(), one.Id()) << names[i];
        EXPECT_EQ(looked[i].entry.mode, one.mode) << names[i];
        EXPECT_EQ(looked[i].entry.instants.modify.tv_nsec, one.instants.modify.tv_nsec) << names[i];
    }
}

TEST(LookEach, TellsWhatEachLookTells) {
    const testing::TempDir dir;
    dir.MakeFile("file.txt");
    ASSERT_EQ(::mkdir((dir.path() + "folder").c_str(), 0700), 0);
    ASSERT_EQ(::symlink("folder", (dir.path() + "link").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", (dir.path() + "dangling").c_str()), 0);
    for (const std::size_t count : {std::size_t{5}, std::size_t{2100}}) {
        std::vector<std::string> names = {"file.txt", "folder",  "link",
                                          "dangling", "missing", ".."};
        for (std::size_t i = names.size(); i < count; ++i) {
            names.push_back("n" + std::to_string(i));
            if (i % 10 == 0) dir.MakeFile(names.back());  // the others are not there
        }
        ExpectSameAsEachLook(dir.path(), names);
    }
}

TEST(LookEach, AFolderThatCannotBeOpenedFailsEachName) {
    const testing::TempDir dir;
    const std::vector<std::string_view> names = {"a", "b"};
    const auto looked = SystemFolderReader().LookEach(dir.path() + "gone/", names);
    ASSERT_EQ(looked.size(), 2u);
    for (const Looked& each : looked) EXPECT_EQ(each.error, std::errc::no_such_file_or_directory);
}

}  // namespace
}  // namespace karvel
