#include "targets/UriList.h"

#include <gtest/gtest.h>

namespace karvel {
namespace {

using Paths = std::vector<std::string>;

TEST(UriList, DecodesEachLocalFileToItsExactBytes) {
    const std::string list =
        "file:///home/u/a%20b.jpg\r\n"
        "file:///home/u/%E6%97%A5%E6%9C%AC.txt\r\n"
        "file:///home/u/%FF%FEbad.dat\r\n"
        "file://localhost/home/u/c.png\r\n"
        "FILE:/home/u/d\r\n";
    EXPECT_EQ(FilePathsFromUriList(list), (Paths{"/home/u/a b.jpg", "/home/u/日本.txt",
                                                 "/home/u/\xff\xfe"
                                                 "bad.dat",
                                                 "/home/u/c.png", "/home/u/d"}));
}

TEST(UriList, LeavesOutWhatIsNotALocalFile) {
    const std::string list =
        "# a comment\r\n"
        "http://example.org/a.jpg\r\n"
        "file://otherhost/share/b.jpg\r\n"
        "file:relative/c.jpg\r\n"
        "file:///tmp/nul%00byte\r\n"
        "\r\n"
        "file:///tmp/kept\n";
    EXPECT_EQ(FilePathsFromUriList(list), (Paths{"/tmp/kept"}));
    EXPECT_EQ(FilePathsFromUriList(""), Paths{});
    EXPECT_EQ(FilePathsFromUriList("plain text, not a list"), Paths{});
}

TEST(UriList, KeepsMalformedEscapesAsTheyStand) {
    EXPECT_EQ(FilePathsFromUriList("file:///tmp/100%\r\nfile:///tmp/%zz%4"),
              (Paths{"/tmp/100%", "/tmp/%zz%4"}));
    EXPECT_EQ(FilePathsFromUriList("file:///tmp/a%23b?query#frag"), (Paths{"/tmp/a#b"}));
}

}  // namespace
}  // namespace karvel
