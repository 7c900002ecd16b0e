#include "targets/DropIntake.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "support/TempDir.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

class DropIntakeTest : public ::testing::Test {
  protected:
    // Whether any row was taken in.
    bool Drop(const std::vector<std::string>& paths) {
        TakeInDrop(list_, paths, options_);
        return list_.RowCount() > 0;
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& row : list_.Rows()) names.push_back(row.BeforeName + ">" + row.AfterName);
        return names;
    }

    static void SetModified(const std::string& path, std::time_t when) {
        const timespec times[2] = {{when, 0}, {when, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    testing::PinnedZone zone_{"JST-9"};
    testing::TempDir dir_;
    TargetList list_;
    NamingOptions options_{{2024, 3, 5}, "yymmdd", "3", "1"};
};

TEST_F(DropIntakeTest, RowsEndSortedByNameAndNamed) {
    const auto c = dir_.MakeFile("c.txt");
    const auto a = dir_.MakeFile("A.tar.gz");
    const auto b = dir_.MakeFile("b10");
    const auto b2 = dir_.MakeFile("b9.jpg");
    EXPECT_TRUE(Drop({c, b, a, b2}));
    EXPECT_EQ(Names(),
              (std::vector<std::string>{"A.tar.gz>240305_001.tar.gz", "b9.jpg>240305_002.jpg",
                                        "b10>240305_003", "c.txt>240305_004.txt"}));
    EXPECT_EQ(list_.TargetFolder(), dir_.path());
    EXPECT_EQ(list_.State(), ListState::Ready);
    EXPECT_TRUE(list_.Sorted());
    EXPECT_EQ(list_.SortKey(), SortColumn::BeforeName);
    EXPECT_EQ(list_.GetSortOrder(), SortOrder::Ascending);
}

TEST_F(DropIntakeTest, ADropReplacesTheEarlierList) {
    Drop({dir_.MakeFile("old1"), dir_.MakeFile("old2")});
    list_.SetSortKey(SortColumn::Modified);
    list_.SetSortOrder(SortOrder::Descending);
    Drop({dir_.MakeFile("new")});
    EXPECT_EQ(Names(), (std::vector<std::string>{"new>240305_001"}));
    EXPECT_EQ(list_.SortKey(), SortColumn::BeforeName);
    EXPECT_EQ(list_.GetSortOrder(), SortOrder::Ascending);
}

TEST_F(DropIntakeTest, FoldersAreSkippedAndNeverLookedInto) {
    std::filesystem::create_directory(dir_.path() + "sub");
    dir_.MakeFile("sub/inner.txt");
    EXPECT_FALSE(Drop({dir_.path() + "sub", dir_.path() + "sub/"}));
    EXPECT_EQ(list_.RowCount(), 0u);
    EXPECT_EQ(list_.TargetFolder(), "");
    EXPECT_EQ(list_.State(), ListState::Empty);

    EXPECT_TRUE(Drop({dir_.path() + "sub", dir_.MakeFile("f.txt"), ""}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"f.txt>240305_001.txt"}));
}

TEST_F(DropIntakeTest, FilesOfOtherFoldersAreLeftOut) {
    testing::TempDir other;
    EXPECT_TRUE(Drop(
        {other.MakeFile("elsewhere.txt"), dir_.MakeFile("here.txt"), other.MakeFile("also.txt")}));
    EXPECT_EQ(list_.TargetFolder(), other.path());
    EXPECT_EQ(Names(), (std::vector<std::string>{"also.txt>240305_001.txt",
                                                 "elsewhere.txt>240305_002.txt"}));
}

TEST_F(DropIntakeTest, ModifiedShowsMinutesOfTheLocalTime) {
    const auto file = dir_.MakeFile("photo.jpg");
    SetModified(file, 1709615279);  // 2024-03-05 05:07:59 UTC, 14:07:59 in JST
    Drop({file});
    EXPECT_EQ(list_.Rows()[0].Modified, "24/03/05 14:07");
}

TEST_F(DropIntakeTest, NamesThatAreNotUtf8AreKeptAsBytes) {
    const std::string name = "\xff\xfe\x80.dat";
    Drop({dir_.MakeFile(name)});
    ASSERT_EQ(list_.RowCount(), 1u);
    EXPECT_EQ(list_.Rows()[0].BeforeName, name);
    EXPECT_EQ(list_.PathOf(list_.Rows()[0]), dir_.path() + name);
    EXPECT_EQ(list_.Rows()[0].AfterName, "240305_001.dat");
}

// "a.jpg\0.txt" would reach the system as "a.jpg": a rename of the wrong file.
TEST_F(DropIntakeTest, APathHoldingANulByteIsNeverTakenIn) {
    const std::string real = dir_.MakeFile("a.jpg");
    EXPECT_FALSE(Drop({real + std::string("\0.txt", 5)}));
    EXPECT_EQ(list_.RowCount(), 0u);
    EXPECT_TRUE(Drop({real + std::string("\0.txt", 5), dir_.MakeFile("b.jpg")}));
    ASSERT_EQ(list_.RowCount(), 1u);
    EXPECT_EQ(list_.Rows()[0].BeforeName, "b.jpg");
}

// A file given twice, however its folder is spelled, is one row; another name of it (a hard
// link) is a row of its own. The same with a list shown and without.
TEST_F(DropIntakeTest, AFileGivenTwiceIsOneRowAndAHardLinkIsAnother) {
    const auto a = dir_.MakeFile("a.jpg");
    const auto c = dir_.MakeFile("c.jpg");
    ASSERT_EQ(::link(a.c_str(), (dir_.path() + "b.jpg").c_str()), 0);
    for (const IntakeLook look : {IntakeLook::EachFile, IntakeLook::OneListing}) {
        TakeInDrop(list_, {a, c, dir_.path() + "b.jpg", a, dir_.path() + "./a.jpg", c}, options_,
                   look);
        EXPECT_EQ(Names(), (std::vector<std::string>{"a.jpg>240305_001.jpg", "b.jpg>240305_002.jpg",
                                                     "c.jpg>240305_003.jpg"}))
            << static_cast<int>(look);
    }
}

}  // namespace
}  // namespace karvel
