#include "naming/FNameEdit.h"

#include <gtest/gtest.h>

#include "naming/TextPieces.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

struct Split {
    std::string dir, file, sts1, sts2;
};

Split SplitPath(const std::string& path) {
    FNameEdit edit;
    edit.ifaFullPath = path;
    edit.cFNameEdit();
    EXPECT_EQ(edit.ifaFullPath, path) << "the input is never changed";
    EXPECT_EQ(edit.ifaFileSts1 + edit.ifaFileSts2, edit.ifaFileName);
    return {edit.ifaDirName, edit.ifaFileName, edit.ifaFileSts1, edit.ifaFileSts2};
}

void ExpectSplit(const std::string& path, const Split& want) {
    const Split got = SplitPath(path);
    EXPECT_EQ(got.dir, want.dir) << path;
    EXPECT_EQ(got.file, want.file) << path;
    EXPECT_EQ(got.sts1, want.sts1) << path;
    EXPECT_EQ(got.sts2, want.sts2) << path;
}

TEST(FNameEdit, SplitsFilePathsAtLastSeparatorAndFirstDot) {
    ExpectSplit("/no/such/Photos/trip.2023.jpg",
                {"/no/such/Photos/", "trip.2023.jpg", "trip", ".2023.jpg"});
    ExpectSplit("/no/such/Photos/readme", {"/no/such/Photos/", "readme", "readme", ""});
    ExpectSplit("/no/such/Photos/.profile", {"/no/such/Photos/", ".profile", "", ".profile"});
    ExpectSplit("/no/such/Photos/name.", {"/no/such/Photos/", "name.", "name", "."});
    ExpectSplit("notes.txt", {"", "notes.txt", "notes", ".txt"});
}

TEST(FNameEdit, FoldersAndTrailingSeparatorsYieldOnlyTheFolder) {
    testing::TempDir temp;
    const std::string folder = temp.path() + "Photos";
    std::filesystem::create_directory(folder);
    ExpectSplit(folder, {folder + "/", "", "", ""});
    ExpectSplit(folder + "/", {folder + "/", "", "", ""});
    ExpectSplit("/no/such/folder/", {"/no/such/folder/", "", "", ""});
}

TEST(FNameEdit, PathWithNulByteIsNeverTakenForTheFolderBeforeIt) {
    testing::TempDir temp;
    const std::string folder = temp.path() + "Photos";
    std::filesystem::create_directory(folder);
    const std::string nul(1, '\0');
    EXPECT_FALSE(IsExistingFolder(folder + nul));
    ExpectSplit(folder + nul + "x.jpg",
                {temp.path(), "Photos" + nul + "x.jpg", "Photos" + nul + "x", ".jpg"});
    ExpectSplit("/" + nul, {"/", nul, nul, ""});
}

TEST(FNameEdit, TrimsOuterSpacesOnly) {
    ExpectSplit("", {"", "", "", ""});
    ExpectSplit("    ", {"", "", "", ""});
    ExpectSplit("  /no/such/my file.txt  ", {"/no/such/", "my file.txt", "my file", ".txt"});
}

TEST(FNameEdit, KeepsBytesThatAreNotUtf8) {
    ExpectSplit("/no/such/\xff\xfe.dat", {"/no/such/", "\xff\xfe.dat", "\xff\xfe", ".dat"});
}

TEST(FNameEdit, ReuseLeavesNothingOfThePreviousPath) {
    FNameEdit edit;
    edit.ifaFullPath = "/no/such/a.b.c";
    edit.cFNameEdit();
    edit.ifaFullPath = "   ";
    edit.cFNameEdit();
    EXPECT_EQ(edit.ifaDirName, "");
    EXPECT_EQ(edit.ifaFileName, "");
    EXPECT_EQ(edit.ifaFileSts1, "");
    EXPECT_EQ(edit.ifaFileSts2, "");
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
