// The command line as the karvel command reads it: Qt's own options go to the window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/CommandLine.h"

namespace karvel {
namespace {

using ::testing::ElementsAreArray;

CommandLine Parse(const std::vector<std::string>& arguments) {
    return ParseCommandLine(arguments, std::string("/home/user/写真/"));
}

TEST(CommandLine, QtOptionsReachTheWindowAndTheirValuesAreNoFiles) {
    struct Case {
        std::vector<std::string> arguments;
        std::vector<std::string> qtOptions;
        std::vector<std::string> files;
        bool platform;
    };
    const std::vector<Case> cases = {
        {{"-style", "fusion", "a.jpg"}, {"-style", "fusion"}, {"/home/user/写真/a.jpg"}, false},
        {{"a.jpg", "-style=fusion", "-reverse"},
         {"-style=fusion", "-reverse"},
         {"/home/user/写真/a.jpg"},
         false},
        {{"--style", "fusion", "--reverse"}, {"--style", "fusion", "--reverse"}, {}, false},
        {{"-platform", "offscreen", "-stylesheet", "my.qss"},
         {"-platform", "offscreen", "-stylesheet", "my.qss"},
         {},
         true},
        {{"-qwindowgeometry", "400x300+0+0", "-display", ":1", "b.jpg"},
         {"-qwindowgeometry", "400x300+0+0", "-display", ":1"},
         {"/home/user/写真/b.jpg"},
         false},
        // After "--" everything is a file, whatever it looks like.
        {{"--", "-reverse", "-style"},
         {},
         {"/home/user/写真/-reverse", "/home/user/写真/-style"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        const CommandLine line = Parse(c.arguments);
        ASSERT_EQ(line.mode, CommandLine::Mode::Window) << line.error;
        EXPECT_THAT(line.qtOptions, ElementsAreArray(c.qtOptions));
        EXPECT_THAT(line.files, ElementsAreArray(c.files));
        EXPECT_EQ(line.qtPlatformGiven, c.platform);
    }
}

TEST(CommandLine, QtOptionsAreRefusedWhereQtWouldNotTakeThem) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
        {{"-style"}, "missing value after '-style'"},
        {{"a.jpg", "-platform"}, "missing value after '-platform'"},
        // Qt reads "=" only after -style and -stylesheet.
        {{"-platform=xcb"}, "unknown option '-platform=xcb'"},
        {{"-reverse=1"}, "unknown option '-reverse=1'"},
        {{"--batch", "-style", "fusion", "a.jpg"}, "'-style' is for the window, not --batch"},
        {{"-bogus"}, "unknown option '-bogus'"},
    };
    for (const auto& [arguments, error] : wrong) {
        const CommandLine line = Parse(arguments);
        EXPECT_EQ(line.mode, CommandLine::Mode::Exit) << error;
        EXPECT_EQ(line.exitStatus, 2) << error;
        EXPECT_EQ(line.error, error);
    }
}

}  // namespace
}  // namespace karvel
