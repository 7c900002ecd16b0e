// Renames on the real disk never replace, also on file systems without RENAME_NOREPLACE or
// hard links; every call names a file inside the opened folder.
#include <errno.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "rename/PosixRunFileSystem.h"
#include "rename/RealRunFixture.h"

namespace karvel {
namespace {

using testing::TempDir;

int Refuse(int error) {
    errno = error;
    return -1;
}
int NoFlag(int, const char*, const char*) {
    return Refuse(EINVAL);
}
int NoLinks(int, const char*, const char*) {
    return Refuse(EPERM);
}
int SystemLink(int folder, const char* from, const char* to) {
    return ::linkat(folder, from, folder, to, 0);
}

struct WayCase {
    const char* title;
    RenameCalls calls;
    RenameWay way;
};

class RenameWays : public ::testing::TestWithParam<WayCase> {};

// Each way keeps a taken target and leaves a renamed file under one name.
TEST_P(RenameWays, NeverReplaceAndLeaveOneName) {
    TempDir dir;
    dir.MakeFile("a", "mine");
    dir.MakeFile("b", "other");
    dir.MakeFile("taken", "theirs");
    PosixRunFileSystem fileSystem(GetParam().calls);
    ASSERT_FALSE(fileSystem.OpenFolder(dir.path()).error);
    ASSERT_FALSE(fileSystem.RenameNoReplace("a", "renamed"));
    EXPECT_EQ(fileSystem.Way(), GetParam().way);
    EXPECT_EQ(fileSystem.RenameNoReplace("b", "taken"), std::errc::file_exists);
    EXPECT_EQ(testing::ReadAll(dir.path() + "taken"), "theirs");
    EXPECT_EQ(testing::ReadAll(dir.path() + "b"), "other");
    EXPECT_EQ(testing::ReadAll(dir.path() + "renamed"), "mine");
    EXPECT_EQ(::access((dir.path() + "a").c_str(), F_OK), -1);
}

INSTANTIATE_TEST_SUITE_P(
    EachFileSystem, RenameWays,
    ::testing::Values(WayCase{"NoReplace", SystemRenameCalls(), RenameWay::NoReplace},
                      WayCase{"NoFlag", {&NoFlag, &SystemLink}, RenameWay::LinkAndUnlink},
                      WayCase{"NoFlagNoLinks", {&NoFlag, &NoLinks}, RenameWay::Placeholder}),
    [](const auto& each) { return std::string(each.param.title); });

// A whole run where the disk refuses both safe ways: names and stamps come out right,
// and a taken name still stops the run at its row with the usual message.
TEST(RenameWays, ARunOnADiskWithNeitherWay) {
    for (const bool taken : {false, true}) {
        testing::RealRunFixture run;
        run.fileSystem = testing::ScriptedFileSystem(RenameCalls{&NoFlag, &NoLinks});
        run.List({{"a.jpg", "x_1.jpg"}, {"b.jpg", "x_2.jpg"}, {"c.jpg", "x_3.jpg"}});
        if (taken) run.dir.MakeFile("x_2.jpg", "theirs");
        const RunReport report = run.Start();
        EXPECT_EQ(run.fileSystem.Way(), RenameWay::Placeholder);
        EXPECT_EQ(run.Content("x_1.jpg"), "a.jpg");
        FileInstants stamped;
        ASSERT_FALSE(ReadFileInstants(run.dir.path() + "x_1.jpg", stamped));
        EXPECT_EQ(InstantToLocal(stamped.modify)->time.wDay, 5);
        if (taken) {
            EXPECT_EQ(report.renamed, 1U);
            EXPECT_EQ(
                run.host.messages.back().text,
                "変換後のファイル名称は既に存在します  処理を中断します\r( b.jpg > x_2.jpg )");
            EXPECT_EQ(run.Content("x_2.jpg"), "theirs");
            EXPECT_EQ(run.Content("b.jpg"), "b.jpg");
        } else {
            EXPECT_EQ(report.result, RunResult::Completed);
            EXPECT_EQ(run.Content("x_3.jpg"), "c.jpg");
        }
    }
}

TEST(RenameWays, OnlyUnknownFlagsOrMissingLinksLeadToAWeakerWay) {
    for (const int error : {EINVAL, ENOSYS, ENOTSUP})
        EXPECT_TRUE(NoReplaceUnsupported(error)) << error;
    for (const int error : {EEXIST, EPERM, EACCES})
        EXPECT_FALSE(NoReplaceUnsupported(error)) << error;
    for (const int error : {EPERM, ENOTSUP, EOPNOTSUPP})
        EXPECT_TRUE(LinksUnsupported(error)) << error;
    for (const int error : {EEXIST, EACCES, EXDEV}) EXPECT_FALSE(LinksUnsupported(error)) << error;
}

TEST(OrdinaryFileLookup, TellsMissingFromUnreachable) {
    TempDir dir;
    dir.MakeFile("plain");
    PosixRunFileSystem fileSystem;
    ASSERT_FALSE(fileSystem.OpenFolder(dir.path()).error);
    EXPECT_EQ(fileSystem.LookupRegularFile("plain").result, LookupResult::Found);
    EXPECT_EQ(fileSystem.LookupRegularFile("none").result, LookupResult::NotFound);
    // A path through a plain file cannot be reached at all.
    const Lookup through = fileSystem.LookupRegularFile("plain/inner");
    EXPECT_EQ(through.result, LookupResult::Failed);
    EXPECT_EQ(through.error, std::errc::not_a_directory);
    const Lookup tooLong = fileSystem.LookupRegularFile(std::string(300, 'n'));
    EXPECT_EQ(tooLong.error, std::errc::filename_too_long);
}

// One look tells the file, its stamps and its mode; a name beginning with a dot is a file
// like any other: the user chose it.
TEST(OrdinaryFileLookup, OneLookTellsStampsAndDotNamesAreFiles) {
    TempDir dir;
    const std::string b = dir.MakeFile("b");
    dir.MakeFile(".hidden");
    FileInstants older;
    older.access.tv_sec = older.modify.tv_sec = 1'000'000'000;
    ASSERT_FALSE(WriteFileInstants(b, older));
    ::chmod(b.c_str(), 0444);

    PosixRunFileSystem fileSystem;
    ASSERT_FALSE(fileSystem.OpenFolder(dir.path()).error);
    const Lookup found = fileSystem.LookupRegularFile("b");
    ASSERT_EQ(found.result, LookupResult::Found);
    EXPECT_EQ(found.instants.modify.tv_sec, 1'000'000'000);
    EXPECT_TRUE(found.ReadOnly());
    EXPECT_EQ(fileSystem.LookupRegularFile(".hidden").result, LookupResult::Found);
}

TEST(OpenedFolder, AFinalLinkIsNotFollowed) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir.path() + "real").c_str(), 0700), 0);
    ASSERT_EQ(::symlink("real", (dir.path() + "link").c_str()), 0);
    PosixRunFileSystem fileSystem;
    EXPECT_FALSE(fileSystem.OpenFolder(dir.path() + "real/").error);
    EXPECT_TRUE(fileSystem.OpenFolder(dir.path() + "link/").error);
}

}  // namespace
}  // namespace karvel
