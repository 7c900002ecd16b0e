// A dropped path's text alone: unusable, not absolute, or a folder and a name.
#include "targets/DroppedPath.h"

#include <gtest/gtest.h>

namespace karvel {
namespace {

TEST(ClassifyPath, FromTheTextAlone) {
    using enum LeftOutReason;
    const std::string nul(1, '\0');
    const struct {
        std::string path;
        std::optional<LeftOutReason> unusable;
        std::string folder, name;
    } cases[] = {
        {"", Unusable, "", ""},
        {"/d/a.jpg" + nul + ".txt", Unusable, "", ""},
        {nul, Unusable, "", ""},
        {"relative.txt", NotAbsolute, "", ""},
        {"./a.jpg", NotAbsolute, "", ""},
        {" /d/a.jpg", NotAbsolute, "", ""},
        {"/", std::nullopt, "/", ""},
        {"/a.jpg", std::nullopt, "/", "a.jpg"},
        {"/d/sub/", std::nullopt, "/d/sub/", ""},
        {"/d/sub", std::nullopt, "/d/", "sub"},
        {"/d//B.txt", std::nullopt, "/d//", "B.txt"},
        {"/d/./x/../a.txt", std::nullopt, "/d/./x/../", "a.txt"},
        {"/my photos/ report.pdf ", std::nullopt, "/my photos/", " report.pdf "},
        {"/d/caf\xe9.jpg", std::nullopt, "/d/", "caf\xe9.jpg"},
    };
    for (const auto& each : cases) {
        const DroppedPath got = ClassifyPath(each.path);
        EXPECT_EQ(got.unusable, each.unusable) << each.path;
        EXPECT_EQ(got.folder, each.folder) << each.path;
        EXPECT_EQ(got.name, each.name) << each.path;
    }
}

}  // namespace
}  // namespace karvel
