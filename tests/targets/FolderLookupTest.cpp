// Each spelling of a folder is looked at once; a listing stands for looks at its files
// only when its inodes are the ones a look gives.
#include "targets/FolderLookup.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "targets/CountingReader.h"

namespace karvel {
namespace {

TEST(FolderLookup, EachSpellingIsLookedAtOnce) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir.path() + "d");
    const std::string file = dir.MakeFile("d/a.jpg");
    const struct {
        std::string spelling;
        bool folder;
    } cases[] = {
        {dir.path() + "d/", true}, {dir.path() + "d/", true}, {dir.path() + "./d/", true},
        {dir.path() + "d/", true}, {file + "/", false},       {dir.path() + "gone/", false},
    };
    for (const bool withListings : {false, true}) {
        testing::CountingReader reader;
        FolderLookup lookup(reader, withListings);
        std::optional<FileId> first;
        for (const auto& each : cases) {
            const FolderLookup::Folder& folder = lookup.Of(each.spelling);
            EXPECT_EQ(folder.id.has_value(), each.folder) << each.spelling;
            EXPECT_EQ(folder.listing.has_value(), withListings && each.folder) << each.spelling;
            if (!folder.id) continue;
            if (!first) first = folder.id;
            EXPECT_EQ(*folder.id, *first) << "one folder however it is spelled";
        }
        EXPECT_EQ(reader.looksThrough, 4) << "four spellings";
        EXPECT_EQ(reader.listings, withListings ? 2 : 0) << "two spellings name the folder";
    }
    testing::CountingReader reader;
    EXPECT_EQ(FolderLookup(reader, false).Canonical(dir.path() + "./d/../d/"), dir.path() + "d/");
}

TEST(FolderLookup, AListingWhoseInodesDisagreeIsLetGo) {
    testing::TempDir dir;
    const std::string a = dir.MakeFile("a.jpg");
    const std::string b = dir.MakeFile("b.jpg");
    for (const unsigned long long shift : {0ULL, 1ULL}) {
        testing::CountingReader reader;
        reader.inodeShift = shift;
        FolderLookup lookup(reader, true);
        FolderLookup::Folder& folder = lookup.Of(dir.path());
        ASSERT_TRUE(folder.listing);
        for (const std::string& path : {a, b}) {
            const auto listed = folder.listing
                                    ? folder.listing->ListedAs(path.substr(path.rfind('/') + 1))
                                    : std::nullopt;
            const bool agrees = listed && lookup.ListingAgrees(folder, path, *listed);
            EXPECT_EQ(agrees, shift == 0) << path;
        }
        EXPECT_EQ(reader.looks, 1) << "the first file alone is looked at";
        EXPECT_EQ(folder.listing.has_value(), shift == 0);
    }
}

}  // namespace
}  // namespace karvel
