#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "filetime/FileTimes.h"
#include "support/TempDir.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::Nanos;
using testing::TempDir;
using testing::Utc;

FileInstants Instants(const timespec& access, const timespec& modify) {
    FileInstants in;
    in.access = access;
    in.modify = modify;
    return in;
}

// The entry itself, bypassing the code under test.
std::pair<long long, long long> LinkTimes(const std::string& path) {
    struct stat entry {};
    if (::lstat(path.c_str(), &entry) != 0) return {-1, -1};
    return {Nanos(entry.st_atim), Nanos(entry.st_mtim)};
}

TEST(FileInstants, WriteThenReadIsExactToTheNanosecond) {
    const TempDir dir;
    const auto file = dir.MakeFile("a.txt");
    const auto in =
        Instants(Utc(2019, 6, 1, 12, 0, 0, 1), Utc(2024, 10, 27, 1, 30, 0, 999'999'999));
    ASSERT_FALSE(WriteFileInstants(file, in));

    FileInstants out;
    ASSERT_FALSE(ReadFileInstants(file, out));
    EXPECT_EQ(Nanos(out.access), Nanos(in.access));
    EXPECT_EQ(Nanos(out.modify), Nanos(in.modify));
    if (!out.hasBirth) {
        EXPECT_EQ(Nanos(out.birth), Nanos(out.modify));
    }
}

TEST(FileInstants, FoldersAndMissingPathsAreErrors) {
    const TempDir dir;
    FileInstants out;
    EXPECT_EQ(ReadFileInstants(dir.path(), out), std::errc::is_a_directory);
    EXPECT_EQ(ReadFileInstants(dir.path() + "gone", out), std::errc::no_such_file_or_directory);
    const auto in = Instants(Utc(2020, 1, 1, 0, 0, 0), Utc(2020, 1, 1, 0, 0, 0));
    EXPECT_EQ(WriteFileInstants(dir.path(), in), std::errc::is_a_directory);
    EXPECT_EQ(WriteFileInstants(dir.path() + "gone", in), std::errc::no_such_file_or_directory);
    EXPECT_NE(LinkTimes(dir.path()).second, Nanos(in.modify));
}

TEST(FileInstants, ReadOnlyFileIsLeftAloneEvenForRoot) {
    const TempDir dir;
    const auto locked = dir.MakeFile("locked");
    const auto ownerOnly = dir.MakeFile("owner-only");
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(ownerOnly.c_str(), 0200), 0);
    const auto before = LinkTimes(locked);
    const auto in = Instants(Utc(2001, 2, 3, 4, 5, 6), Utc(2001, 2, 3, 4, 5, 6));

    EXPECT_FALSE(WriteFileInstants(locked, in));
    EXPECT_EQ(LinkTimes(locked), before);
    EXPECT_FALSE(WriteFileInstants(ownerOnly, in));
    EXPECT_EQ(LinkTimes(ownerOnly).second, Nanos(in.modify));
}

TEST(FileInstants, SymbolicLinksAreNotFollowed) {
    const TempDir dir;
    const auto target = dir.MakeFile("target");
    const auto link = dir.path() + "link";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    const auto targetBefore = LinkTimes(target);
    const auto in = Instants(Utc(2010, 5, 5, 5, 5, 5), Utc(2011, 6, 6, 6, 6, 6));

    ASSERT_FALSE(WriteFileInstants(link, in));
    EXPECT_EQ(LinkTimes(link), std::make_pair(Nanos(in.access), Nanos(in.modify)));
    EXPECT_EQ(LinkTimes(target), targetBefore);
    FileInstants out;
    ASSERT_FALSE(ReadFileInstants(link, out));
    EXPECT_EQ(Nanos(out.modify), Nanos(in.modify));
}

// The intake shows each file's modified slot; one record serves a whole drop.
TEST(FileInstants, EachSlotInLocalTimeAndASlotThatDoesNotFitKeepsItsValue) {
    const testing::PinnedZone zone("JST-9");
    const TempDir dir;
    const auto file = dir.MakeFile("a.txt");
    ASSERT_FALSE(WriteFileInstants(
        file, Instants(Utc(2024, 1, 2, 0, 0, 0), Utc(2024, 3, 5, 5, 7, 9, 123'456'700))));
    FileEntry entry;
    ASSERT_FALSE(ReadFileEntry(file, entry));
    FileTimeStamps stamps{};
    FillFileTimes(entry.instants, stamps);
    EXPECT_EQ(stamps.LastWriteTime, testing::Local(2024, 3, 5, 14, 7, 9, 123, 2));
    EXPECT_EQ(stamps.LastAccessTime, testing::Local(2024, 1, 2, 9, 0, 0, 0, 2));
    const timespec birth = entry.instants.hasBirth ? entry.instants.birth : entry.instants.modify;
    EXPECT_EQ(stamps.CreationTime, InstantToLocal(birth)->time);

    // Beyond the year the record holds: the slots keep what the file before left there.
    const FileTimeStamps before = stamps;
    FileInstants far = Instants({std::int64_t{1} << 40, 0}, {std::int64_t{1} << 40, 0});
    far.hasBirth = false;
    far.birth = far.modify;
    FillFileTimes(far, stamps);
    EXPECT_EQ(stamps.LastWriteTime, before.LastWriteTime);
    EXPECT_EQ(stamps.LastAccessTime, before.LastAccessTime);
    EXPECT_EQ(stamps.CreationTime, before.CreationTime);
}

}  // namespace
}  // namespace karvel
