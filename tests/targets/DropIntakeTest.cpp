#include "targets/DropIntake.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/MemoryDisk.h"
#include "support/TempDir.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

std::vector<std::string> Names(const TargetList& list) {
    std::vector<std::string> names;
    for (const auto& row : list.Rows()) names.push_back(row.BeforeName + ">" + row.AfterName);
    return names;
}

class DropIntakeTest : public ::testing::Test {
  protected:
    // Whether any row was taken in.
    bool Drop(const std::vector<std::string>& paths) {
        TakeInDrop(list_, paths, options_, IntakeLook::EachFile, disk_);
        return list_.RowCount() > 0;
    }
    // A file in the drop's folder, or at `path` when it starts with "/".
    std::string File(const std::string& name) {
        const std::string path = name.starts_with('/') ? name : kFolder + name;
        disk_.MakeFile(path);
        return path;
    }

    const std::string kFolder = "/photos/";
    testing::PinnedZone zone_{"JST-9"};
    testing::MemoryDisk disk_;
    TargetList list_;
    NamingOptions options_{{2024, 3, 5}, "yymmdd", "3", "1"};
};

TEST_F(DropIntakeTest, RowsEndSortedByNameAndNamed) {
    const auto c = File("c.txt");
    const auto a = File("A.tar.gz");
    const auto b = File("b10");
    const auto b2 = File("b9.jpg");
    EXPECT_TRUE(Drop({c, b, a, b2}));
    EXPECT_EQ(Names(list_),
              (std::vector<std::string>{"A.tar.gz>240305_001.tar.gz", "b9.jpg>240305_002.jpg",
                                        "b10>240305_003", "c.txt>240305_004.txt"}));
    EXPECT_EQ(list_.TargetFolder(), kFolder);
    EXPECT_EQ(list_.State(), ListState::Ready);
    EXPECT_TRUE(list_.Sorted());
    EXPECT_EQ(list_.SortKey(), SortColumn::BeforeName);
    EXPECT_EQ(list_.GetSortOrder(), SortOrder::Ascending);
}

TEST_F(DropIntakeTest, ADropReplacesTheEarlierList) {
    Drop({File("old1"), File("old2")});
    list_.SetSortKey(SortColumn::Modified);
    list_.SetSortOrder(SortOrder::Descending);
    Drop({File("new")});
    EXPECT_EQ(Names(list_), (std::vector<std::string>{"new>240305_001"}));
    EXPECT_EQ(list_.SortKey(), SortColumn::BeforeName);
    EXPECT_EQ(list_.GetSortOrder(), SortOrder::Ascending);
}

TEST_F(DropIntakeTest, FoldersAreSkippedAndNeverLookedInto) {
    File("sub/inner.txt");
    EXPECT_FALSE(Drop({kFolder + "sub", kFolder + "sub/"}));
    EXPECT_EQ(list_.RowCount(), 0u);
    EXPECT_EQ(list_.TargetFolder(), "");
    EXPECT_EQ(list_.State(), ListState::Empty);

    EXPECT_TRUE(Drop({kFolder + "sub", File("f.txt"), ""}));
    EXPECT_EQ(Names(list_), (std::vector<std::string>{"f.txt>240305_001.txt"}));
    for (const auto& [call, name] : disk_.calls) {
        EXPECT_FALSE(call == testing::DiskCall::List && name.starts_with(kFolder + "sub")) << name;
        EXPECT_FALSE(name.ends_with("inner.txt")) << name;
    }
}

TEST_F(DropIntakeTest, FilesOfOtherFoldersAreLeftOut) {
    EXPECT_TRUE(Drop({File("/other/elsewhere.txt"), File("here.txt"), File("/other/also.txt")}));
    EXPECT_EQ(list_.TargetFolder(), "/other/");
    EXPECT_EQ(Names(list_), (std::vector<std::string>{"also.txt>240305_001.txt",
                                                      "elsewhere.txt>240305_002.txt"}));
}

TEST_F(DropIntakeTest, ModifiedShowsMinutesOfTheLocalTime) {
    const auto file = File("photo.jpg");
    const timespec when{1709615279, 0};  // 2024-03-05 05:07:59 UTC, 14:07:59 in JST
    disk_.SetStamps(file, {when, when, when, false});
    Drop({file});
    EXPECT_EQ(list_.Rows()[0].Modified, "24/03/05 14:07");
}

// What the real disk adds: names as the system keeps them, and hard links.
class DropIntakeRealDiskTest : public ::testing::Test {
  protected:
    testing::TempDir dir_;
    TargetList list_;
    NamingOptions options_{{2024, 3, 5}, "yymmdd", "3", "1"};
};

TEST_F(DropIntakeRealDiskTest, NamesThatAreNotUtf8AreKeptAsBytes) {
    const std::string name = "\xff\xfe\x80.dat";
    TakeInDrop(list_, {dir_.MakeFile(name)}, options_);
    ASSERT_EQ(list_.RowCount(), 1u);
    EXPECT_EQ(list_.Rows()[0].BeforeName, name);
    EXPECT_EQ(list_.PathOf(list_.Rows()[0]), dir_.path() + name);
    EXPECT_EQ(list_.Rows()[0].AfterName, "240305_001.dat");
}

// "a.jpg\0.txt" would reach the system as "a.jpg": a rename of the wrong file.
TEST_F(DropIntakeRealDiskTest, APathHoldingANulByteIsNeverTakenIn) {
    const std::string real = dir_.MakeFile("a.jpg");
    TakeInDrop(list_, {real + std::string("\0.txt", 5)}, options_);
    EXPECT_EQ(list_.RowCount(), 0u);
    TakeInDrop(list_, {real + std::string("\0.txt", 5), dir_.MakeFile("b.jpg")}, options_);
    ASSERT_EQ(list_.RowCount(), 1u);
    EXPECT_EQ(list_.Rows()[0].BeforeName, "b.jpg");
}

// A file given twice, however its folder is spelled, is one row; another name of it (a hard
// link) is a row of its own. The same with a list shown and without.
TEST_F(DropIntakeRealDiskTest, AFileGivenTwiceIsOneRowAndAHardLinkIsAnother) {
    const auto a = dir_.MakeFile("a.jpg");
    const auto c = dir_.MakeFile("c.jpg");
    ASSERT_EQ(::link(a.c_str(), (dir_.path() + "b.jpg").c_str()), 0);
    for (const IntakeLook look : {IntakeLook::EachFile, IntakeLook::OneListing}) {
        TakeInDrop(list_, {a, c, dir_.path() + "b.jpg", a, dir_.path() + "./a.jpg", c}, options_,
                   look);
        EXPECT_EQ(Names(list_),
                  (std::vector<std::string>{"a.jpg>240305_001.jpg", "b.jpg>240305_002.jpg",
                                            "c.jpg>240305_003.jpg"}))
            << static_cast<int>(look);
    }
}

}  // namespace
}  // namespace karvel
