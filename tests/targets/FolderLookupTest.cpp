// Each spelling of a folder is looked at once; a listing stands for looks at its files
// only when its inodes are the ones a look gives.
#include "targets/FolderLookup.h"

#include <gtest/gtest.h>

#include "support/MemoryDisk.h"

namespace karvel {
namespace {

TEST(FolderLookup, EachSpellingIsLookedAtOnce) {
    using testing::DiskCall;
    const std::string top = "/photos/";
    const std::string file = top + "d/a.jpg";
    const struct {
        std::string spelling;
        bool folder;
    } cases[] = {
        {top + "d/", true}, {top + "d/", true},  {top + "./d/", true},
        {top + "d/", true}, {file + "/", false}, {top + "gone/", false},
    };
    for (const bool withListings : {false, true}) {
        testing::MemoryDisk disk;
        disk.MakeFile(file);
        FolderLookup lookup(disk, withListings);
        std::optional<FileId> first;
        for (const auto& each : cases) {
            const FolderLookup::Folder& folder = lookup.Of(each.spelling);
            EXPECT_EQ(folder.id.has_value(), each.folder) << each.spelling;
            EXPECT_EQ(folder.listing.has_value(), withListings && each.folder) << each.spelling;
            if (!folder.id) continue;
            if (!first) first = folder.id;
            EXPECT_EQ(*folder.id, *first) << "one folder however it is spelled";
        }
        EXPECT_EQ(disk.CallsOf(DiskCall::LookThrough), 4u) << "four spellings";
        EXPECT_EQ(disk.CallsOf(DiskCall::List), withListings ? 2u : 0u)
            << "two spellings name the folder";
    }
    testing::MemoryDisk disk;
    disk.MakeFile(file);
    EXPECT_EQ(FolderLookup(disk, false).Canonical(top + "./d/../d/"), top + "d/");
}

TEST(FolderLookup, AListingWhoseInodesDisagreeIsLetGo) {
    const std::string a = "/photos/a.jpg";
    const std::string b = "/photos/b.jpg";
    for (const unsigned long long shift : {0ULL, 1ULL}) {
        testing::MemoryDisk disk;
        disk.MakeFile(a);
        disk.MakeFile(b);
        disk.listedInodeShift = shift;
        FolderLookup lookup(disk, true);
        FolderLookup::Folder& folder = lookup.Of("/photos/");
        ASSERT_TRUE(folder.listing);
        for (const std::string& path : {a, b}) {
            const auto listed = folder.listing
                                    ? folder.listing->ListedAs(path.substr(path.rfind('/') + 1))
                                    : std::nullopt;
            const bool agrees = listed && lookup.ListingAgrees(folder, path, *listed);
            EXPECT_EQ(agrees, shift == 0) << path;
        }
        EXPECT_EQ(disk.CallsOf(testing::DiskCall::Look), 1u) << "the first file alone is looked at";
        EXPECT_EQ(folder.listing.has_value(), shift == 0);
    }
}

}  // namespace
}  // namespace karvel
