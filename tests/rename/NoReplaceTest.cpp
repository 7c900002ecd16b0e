// Renames on the real disk never replace, also on file systems without RENAME_NOREPLACE.
#include <errno.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "rename/PosixRunFileSystem.h"
#include "rename/RunFixture.h"

namespace karvel {
namespace {

using testing::TempDir;

TEST(NoReplace, OnlyAnUnknownFlagFallsBackToLinks) {
    EXPECT_TRUE(NoReplaceUnsupported(EINVAL));
    EXPECT_TRUE(NoReplaceUnsupported(ENOSYS));
    EXPECT_TRUE(NoReplaceUnsupported(ENOTSUP));
    EXPECT_FALSE(NoReplaceUnsupported(EEXIST));
    EXPECT_FALSE(NoReplaceUnsupported(EPERM));
    EXPECT_FALSE(NoReplaceUnsupported(EACCES));
}

TEST(NoReplace, BothWaysKeepAnExistingTarget) {
    TempDir dir;
    const std::string from = dir.MakeFile("from", "mine");
    const std::string to = dir.MakeFile("to", "theirs");
    PosixRunFileSystem fileSystem;
    EXPECT_EQ(fileSystem.RenameNoReplace(from, to), std::errc::file_exists);
    EXPECT_EQ(RenameByLink(from, to), std::errc::file_exists);
    EXPECT_EQ(testing::RunFixture::ReadAll(to), "theirs");
    EXPECT_EQ(testing::RunFixture::ReadAll(from), "mine");
}

TEST(NoReplace, TheLinkWayLeavesOneName) {
    TempDir dir;
    const std::string from = dir.MakeFile("from", "mine");
    EXPECT_FALSE(RenameByLink(from, dir.path() + "to"));
    EXPECT_EQ(::access(from.c_str(), F_OK), -1);
    EXPECT_EQ(testing::RunFixture::ReadAll(dir.path() + "to"), "mine");
}

TEST(OrdinaryFileLookup, TellsMissingFromUnreachable) {
    TempDir dir;
    dir.MakeFile("plain");
    PosixRunFileSystem fileSystem;
    EXPECT_EQ(fileSystem.LookupOrdinaryFile(dir.path() + "plain").result, LookupResult::Found);
    EXPECT_EQ(fileSystem.LookupOrdinaryFile(dir.path() + "none").result, LookupResult::NotFound);
    // A path through a plain file cannot be reached at all.
    const Lookup through = fileSystem.LookupOrdinaryFile(dir.path() + "plain/inner");
    EXPECT_EQ(through.result, LookupResult::Failed);
    EXPECT_EQ(through.error, std::errc::not_a_directory);
}

// The lookup's one look serves the stamps of that path only, and only until a rename.
TEST(OrdinaryFileLookup, ItsLookServesOnlyItsOwnPathUntilARename) {
    TempDir dir;
    const std::string a = dir.MakeFile("a");
    const std::string b = dir.MakeFile("b");
    FileInstants older;
    older.access.tv_sec = older.modify.tv_sec = 1'000'000'000;
    ASSERT_FALSE(WriteFileInstants(b, older));

    PosixRunFileSystem fileSystem;
    ASSERT_EQ(fileSystem.LookupOrdinaryFile(a).result, LookupResult::Found);
    FileInstants read;
    ASSERT_FALSE(fileSystem.ReadTimes(b, read));
    EXPECT_EQ(read.modify.tv_sec, 1'000'000'000);

    ASSERT_FALSE(fileSystem.RenameNoReplace(a, dir.path() + "c"));
    EXPECT_EQ(fileSystem.ReadTimes(a, read), std::errc::no_such_file_or_directory);
    EXPECT_EQ(fileSystem.WriteTimes(a, older), std::errc::no_such_file_or_directory);
}

}  // namespace
}  // namespace karvel
