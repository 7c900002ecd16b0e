#include "naming/FNameEdit.h"

#include <gtest/gtest.h>

#include "naming/TextPieces.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

struct Split {
    std::string dir, file, sts1, sts2;
};

void ExpectSplit(const std::string& path, const Split& want) {
    const FNameEdit got = cFNameEdit(path);
    EXPECT_EQ(got.ifaDirName, want.dir) << path;
    EXPECT_EQ(got.ifaFileName, want.file) << path;
    EXPECT_EQ(got.ifaFileSts1, want.sts1) << path;
    EXPECT_EQ(got.ifaFileSts2, want.sts2) << path;
    EXPECT_EQ(std::string(got.ifaDirName) + std::string(got.ifaFileName), path);
    EXPECT_EQ(std::string(got.ifaFileSts1) + std::string(got.ifaFileSts2), got.ifaFileName);
}

TEST(FNameEdit, SplitsFilePathsAtLastSeparatorAndFirstDot) {
    ExpectSplit("/no/such/Photos/trip.2023.jpg",
                {"/no/such/Photos/", "trip.2023.jpg", "trip", ".2023.jpg"});
    ExpectSplit("/no/such/Photos/readme", {"/no/such/Photos/", "readme", "readme", ""});
    ExpectSplit("/no/such/Photos/.profile", {"/no/such/Photos/", ".profile", "", ".profile"});
    ExpectSplit("/no/such/Photos/name.", {"/no/such/Photos/", "name.", "name", "."});
    ExpectSplit("notes.txt", {"", "notes.txt", "notes", ".txt"});
}

// Which paths name folders is for the caller to ask the disk.
TEST(FNameEdit, TrailingSeparatorsYieldOnlyTheFolderAndFoldersAreCutAsAnyPath) {
    testing::TempDir temp;
    const std::string folder = temp.path() + "Photos";
    std::filesystem::create_directory(folder);
    ExpectSplit(folder, {temp.path(), "Photos", "Photos", ""});
    ExpectSplit(folder + "/", {folder + "/", "", "", ""});
    ExpectSplit("/no/such/folder/", {"/no/such/folder/", "", "", ""});
    ExpectSplit("/", {"/", "", "", ""});
}

TEST(FNameEdit, NulBytesAreCutAsAnyOtherByte) {
    const std::string nul(1, '\0');
    ExpectSplit("/tmp/Photos" + nul + "x.jpg",
                {"/tmp/", "Photos" + nul + "x.jpg", "Photos" + nul + "x", ".jpg"});
    ExpectSplit("/" + nul, {"/", nul, nul, ""});
}

TEST(FNameEdit, BlanksBelongToNames) {
    ExpectSplit("", {"", "", "", ""});
    ExpectSplit("    ", {"", "    ", "    ", ""});
    ExpectSplit("  /no/such/my file.txt  ", {"  /no/such/", "my file.txt  ", "my file", ".txt  "});
    ExpectSplit("/no/such/ .jpg", {"/no/such/", " .jpg", " ", ".jpg"});
}

TEST(FNameEdit, KeepsBytesThatAreNotUtf8) {
    ExpectSplit("/no/such/\xff\xfe.dat", {"/no/such/", "\xff\xfe.dat", "\xff\xfe", ".dat"});
}

TEST(TextPieces, AddTrailingBackslashIsIdempotent) {
    EXPECT_EQ(AddTrailingBackslash(""), "/");
    EXPECT_EQ(AddTrailingBackslash("/tmp"), "/tmp/");
    EXPECT_EQ(AddTrailingBackslash(AddTrailingBackslash("/tmp")), "/tmp/");
}

TEST(TextPieces, PiecesAroundTheFirstDotJoinToTheWhole) {
    for (const std::string text :
         {"", ".", "..", "a", "a.", ".a", "b.tar.gz", "日本語.テキスト.txt"}) {
        const std::string joined =
            std::string(GetTextBeforeFirstDot(text)) + std::string(GetTextFromFirstDot(text));
        EXPECT_EQ(joined, text);
    }
    EXPECT_EQ(GetTextBeforeFirstDot(".profile"), "");
    EXPECT_EQ(GetTextFromFirstDot("readme"), "");
    EXPECT_EQ(GetTextFromFirstDot("b.tar.gz"), ".tar.gz");
}

}  // namespace
}  // namespace karvel
