#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "filetime/FileTimes.h"
#include "support/TempDir.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::Local;
using testing::Nanos;
using testing::PinnedZone;
using testing::TempDir;
using testing::Utc;

class FileStamps : public ::testing::Test {
  protected:
    // A file with the given access and modified instants.
    std::string FileAt(const timespec& access, const timespec& modify) {
        const auto path = dir_.MakeFile("f" + std::to_string(++count_));
        FileInstants in;
        in.access = access;
        in.modify = modify;
        EXPECT_FALSE(WriteFileInstants(path, in));
        return path;
    }
    static FileInstants Read(const std::string& path) {
        FileInstants out;
        EXPECT_FALSE(ReadFileInstants(path, out));
        return out;
    }

    TempDir dir_;
    int count_ = 0;
};

TEST_F(FileStamps, ReadsEachSlotInLocalTime) {
    const PinnedZone zone("JST-9");
    const auto file = FileAt(Utc(2024, 1, 2, 0, 0, 0), Utc(2024, 3, 5, 5, 7, 9, 123'456'700));
    FileTimeStamps stamps;
    GetFileTimes(file, stamps);
    EXPECT_EQ(stamps.LastWriteTime, Local(2024, 3, 5, 14, 7, 9, 123, 2));
    EXPECT_EQ(stamps.LastAccessTime, Local(2024, 1, 2, 9, 0, 0, 0, 2));
    const auto read = Read(file);
    EXPECT_EQ(stamps.CreationTime, InstantToLocal(read.hasBirth ? read.birth : read.modify)->time);
}

TEST_F(FileStamps, UnchangedRecordWritesBackTheSameInstantsAcrossDstChanges) {
    const PinnedZone zone("Europe/Berlin");
    // Both read 02:30:00.250 on 27 October, once in summer time and once in winter time; and
    // the last millisecond before the spring gap against the first one after it.
    const timespec pairs[][2] = {
        {Utc(2024, 10, 27, 0, 30, 0, 250'999'999), Utc(2024, 10, 27, 1, 30, 0, 250'000'001)},
        {Utc(2024, 3, 31, 0, 59, 59, 999'000'000), Utc(2024, 3, 31, 1, 0, 0)},
    };
    for (const auto& [access, modify] : pairs) {
        const auto file = FileAt(access, modify);
        FileTimeStamps stamps;
        GetFileTimes(file, stamps);
        SetFileTimes(file, stamps);
        const auto after = Read(file);
        EXPECT_EQ(Nanos(after.access), Nanos(access) / 1'000'000 * 1'000'000);
        EXPECT_EQ(Nanos(after.modify), Nanos(modify) / 1'000'000 * 1'000'000);
    }
}

TEST_F(FileStamps, RestampToMidnightAcrossSeasons) {
    const PinnedZone zone("Europe/Berlin");
    const struct {
        timespec stamped;
        SYSTEMTIME midnight;
        timespec expected;
    } cases[] = {
        {Utc(2024, 7, 15, 10, 20, 30), Local(2024, 1, 15, 0, 0), Utc(2024, 1, 14, 23, 0, 0)},
        {Utc(2024, 1, 15, 10, 20, 30), Local(2024, 7, 15, 0, 0), Utc(2024, 7, 14, 22, 0, 0)},
    };
    for (const auto& c : cases) {
        const auto file = FileAt(c.stamped, c.stamped);
        FileTimeStamps stamps;
        GetFileTimes(file, stamps);
        stamps.LastWriteTime = c.midnight;
        SetFileTimes(file, stamps);
        EXPECT_EQ(Nanos(Read(file).modify), Nanos(c.expected));
        EXPECT_EQ(Nanos(Read(file).access), Nanos(c.stamped));
        GetFileTimes(file, stamps);
        EXPECT_EQ(stamps.LastWriteTime.wHour, 0);
        EXPECT_EQ(stamps.LastWriteTime.wDay, 15);
    }
}

TEST_F(FileStamps, ReadOnlyFileKeepsItsTimesEvenForRoot) {
    const auto file = FileAt(Utc(2020, 2, 2, 2, 2, 2), Utc(2020, 2, 2, 2, 2, 2));
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    FileTimeStamps stamps;
    GetFileTimes(file, stamps);
    EXPECT_EQ(stamps.LastWriteTime.wYear, 2020);
    stamps.LastWriteTime.wYear = 2021;
    SetFileTimes(file, stamps);
    EXPECT_EQ(Nanos(Read(file).modify), Nanos(Utc(2020, 2, 2, 2, 2, 2)));
}

TEST_F(FileStamps, FoldersAndMissingPathsReadAsTheZeroTime) {
    const auto missing = dir_.path() + "gone";
    const SYSTEMTIME mark = Local(1999, 9, 9, 9, 9);
    const FileTimeStamps marked{mark, mark, mark, {}, {}, {}};
    for (const auto& path : {dir_.path(), missing}) {
        FileTimeStamps stamps = marked;
        {
            const PinnedZone zone("JST-9");
            GetFileTimes(path, stamps);
        }
        for (const auto& slot : {stamps.CreationTime, stamps.LastAccessTime, stamps.LastWriteTime})
            EXPECT_EQ(slot, Local(1601, 1, 1, 9, 0, 0, 0, 1)) << path;

        stamps = marked;
        const PinnedZone zone("America/New_York");
        GetFileTimes(path, stamps);
        EXPECT_EQ(stamps, marked) << path;
    }

    struct stat before {};
    ASSERT_EQ(::stat(dir_.path().c_str(), &before), 0);
    SetFileTimes(dir_.path(), marked);
    SetFileTimes(missing, marked);
    struct stat after {};
    ASSERT_EQ(::stat(dir_.path().c_str(), &after), 0);
    EXPECT_EQ(Nanos(after.st_mtim), Nanos(before.st_mtim));
    EXPECT_NE(::stat(missing.c_str(), &after), 0);
}

}  // namespace
}  // namespace karvel

namespace karvel {
namespace {

TEST_F(FileStamps, TheOneLookReadOfARegularFileMatchesTheFullRead) {
    const testing::PinnedZone zone("Europe/Berlin");
    const auto file =
        FileAt(testing::Utc(2023, 7, 1, 10, 0, 0), testing::Utc(2023, 12, 24, 18, 30, 0, 5));
    FileTimeStamps full;
    GetFileTimes(file, full);
    FileTimeStamps quick;
    EXPECT_TRUE(GetRegularFileTimes(file, quick));
    EXPECT_EQ(quick, full);

    // Anything else is left to the full read, and the record stays as it was.
    ASSERT_EQ(::symlink(file.c_str(), (file + ".link").c_str()), 0);
    for (const std::string& other : {file + ".link", dir_.path(), dir_.path() + "missing"}) {
        FileTimeStamps untouched = full;
        EXPECT_FALSE(GetRegularFileTimes(other, untouched)) << other;
        EXPECT_EQ(untouched, full) << other;
    }
}

}  // namespace
}  // namespace karvel
