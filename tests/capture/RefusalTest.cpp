// What is not a readable image or movie gives a reason, at once: other kinds of file, names that
// are not bare, descriptors that cannot be read.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "CaptureSupport.h"
#include "support/TempDir.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::ExpectNone;
using testing::OpenFolder;
using testing::ReadFileIn;
using testing::SampleBytes;
using testing::TempDir;

TEST(Refusals, OnlyRegularFilesAreRead) {
    const TempDir dir;
    dir.MakeFile("photo.jpg", SampleBytes("sample.jpg"));
    ASSERT_EQ(::mkfifo((dir.path() + "pipe").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir((dir.path() + "folder").c_str(), 0700), 0);
    ASSERT_EQ(::symlink("photo.jpg", (dir.path() + "link.jpg").c_str()), 0);
    const int listening = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(listening, 0);
    const UniqueFd socketFd(listening);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir.path() + "socket";
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

    // A pipe with no writer would block an open or a read forever: this returns at once.
    for (const char* name : {"pipe", "folder", "link.jpg", "socket"}) {
        ExpectNone(ReadFileIn(dir.path(), name), NoCapture::NotRegularFile, name);
    }
    ExpectNone(ReadFileIn("/dev/", "null"), NoCapture::NotRegularFile, "/dev/null");
    ExpectNone(ReadFileIn("/dev/", "zero"), NoCapture::NotRegularFile, "/dev/zero");
    EXPECT_TRUE(ReadFileIn(dir.path(), "photo.jpg").time);
}

TEST(Refusals, OpenDescriptorsOfOtherKindsAreRefused) {
    const TempDir dir;
    ASSERT_EQ(::mkfifo((dir.path() + "pipe").c_str(), 0600), 0);
    const UniqueFd fifo(::open((dir.path() + "pipe").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    ASSERT_TRUE(fifo.Valid());
    ExpectNone(ReadCaptureTime(fifo.Get()), NoCapture::NotRegularFile, "fifo");

    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    const UniqueFd readEnd(ends[0]), writeEnd(ends[1]);
    ExpectNone(ReadCaptureTime(readEnd.Get()), NoCapture::NotRegularFile, "pipe");

    const UniqueFd folder = OpenFolder(dir.path());
    ExpectNone(ReadCaptureTime(folder.Get()), NoCapture::NotRegularFile, "folder");
    ExpectNone(ReadCaptureTime(-1), NoCapture::Unreadable, "no descriptor");
}

TEST(Refusals, AFileThatCannotBeReadIsUnreadable) {
    const TempDir dir;
    const std::string path = dir.MakeFile("photo.jpg", SampleBytes("sample.jpg"));
    // Open, regular, but not for reading.
    const UniqueFd writeOnly(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    ASSERT_TRUE(writeOnly.Valid());
    ExpectNone(ReadCaptureTime(writeOnly.Get()), NoCapture::Unreadable, "write-only descriptor");

    ExpectNone(ReadFileIn(dir.path(), "missing.jpg"), NoCapture::Unreadable, "missing");
    ExpectNone(ReadCaptureTimeAt(-1, "photo.jpg"), NoCapture::Unreadable, "no folder");
}

// A name is one entry of the folder: nothing that walks elsewhere or is cut at a NUL.
TEST(Refusals, OnlyBareNames) {
    const TempDir dir;
    dir.MakeFile("photo.jpg", SampleBytes("sample.jpg"));
    ASSERT_EQ(::mkdir((dir.path() + "sub").c_str(), 0700), 0);
    dir.MakeFile("sub/photo.jpg", SampleBytes("sample.jpg"));
    const std::string withNul("photo.jpg\0.txt", 14);
    for (const std::string& name :
         {std::string("sub/photo.jpg"), dir.path() + "photo.jpg", std::string(""), withNul}) {
        ExpectNone(ReadFileIn(dir.path(), name), NoCapture::Unreadable, name);
    }
}

TEST(Refusals, TheDescriptorsOffsetIsLeftAlone) {
    const UniqueFd fd(
        ::open((testing::kSampleFolder + "sample.jpg").c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(fd.Valid());
    ASSERT_EQ(::lseek(fd.Get(), 17, SEEK_SET), 17);
    EXPECT_TRUE(ReadCaptureTime(fd.Get()).time);
    EXPECT_EQ(::lseek(fd.Get(), 0, SEEK_CUR), 17);
}

}  // namespace
}  // namespace karvel
