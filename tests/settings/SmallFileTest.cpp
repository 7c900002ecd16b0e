#include "files/SmallFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <string>

#include "files/UniqueFd.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

TEST(SmallFile, ReadsWholeFilesUpToTheLimitAndNoMore) {
    testing::TempDir temp;
    const std::size_t sizes[] = {0, 1, 2, 15, 16};
    for (const std::size_t size : sizes) {
        const std::string content(size, 'x');
        const SmallFile file =
            ReadSmallFile(temp.MakeFile("f" + std::to_string(size), content), 16);
        EXPECT_EQ(file.status, FileStatus::Read) << size;
        EXPECT_EQ(file.bytes, content);
    }
    const SmallFile over = ReadSmallFile(temp.MakeFile("over", std::string(17, 'x')), 16);
    EXPECT_EQ(over.status, FileStatus::Unusable);
    EXPECT_EQ(over.bytes, "");
    EXPECT_EQ(ReadSmallFile(temp.path() + "missing", 16).status, FileStatus::Missing);
}

TEST(SmallFile, ContentBeyondTheSizeTheSystemGivesIsReadAndCounted) {
    // The kernel's files give a size of 0 and still hold text, like a file that
    // grew between taking its size and reading it.
    const SmallFile status = ReadSmallFile("/proc/self/status", 1024 * 1024);
    ASSERT_EQ(status.status, FileStatus::Read);
    EXPECT_EQ(status.bytes.rfind("Name:", 0), 0u);
    EXPECT_NE(status.bytes.find("\nPid:"), std::string::npos);
    EXPECT_GT(status.bytes.size(), 100u);
    EXPECT_EQ(ReadSmallFile("/proc/self/status", 16).status, FileStatus::Unusable);
}

TEST(SmallFile, AReadThatFailsGivesNothingRatherThanPartOfTheFile) {
    testing::TempDir temp;
    const std::string path = temp.MakeFile("journal", "row\tcontent\n");
    const UniqueFd writeOnly(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    ASSERT_TRUE(writeOnly.Valid());
    const SmallFile file = ReadOpenedSmallFile(writeOnly.Get(), 1024);
    EXPECT_EQ(file.status, FileStatus::Unusable);
    EXPECT_EQ(file.bytes, "");
}

}  // namespace
}  // namespace karvel
