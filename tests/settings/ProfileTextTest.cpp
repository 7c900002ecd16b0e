#include "settings/ProfileText.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace karvel {
namespace {

std::string Set(std::string_view bytes, std::string_view section, std::string_view key,
                std::string_view value) {
    const std::optional<std::string> changed = WithProfileValue(bytes, section, key, value);
    EXPECT_TRUE(changed.has_value()) << "[" << section << "] " << key << "=" << value;
    return changed.value_or(std::string(bytes));
}

std::string Get(std::string_view bytes, std::string_view section, std::string_view key) {
    return ProfileValue(bytes, section, key).value_or("<missing>");
}

TEST(ProfileText, ChangingOneValueKeepsEveryOtherByte) {
    const std::string before =
        "; written by hand\n"
        "[Settings]\n"
        "  MainLeft\t=  1200   \n"
        "Unknown=keep me ; not a comment\n"
        "\n"
        "[Other]\n"
        "MainLeft=5\n";
    EXPECT_EQ(Set(before, "settings", "MAINLEFT", "-3000"),
              "; written by hand\n"
              "[Settings]\n"
              "  MainLeft\t=  -3000\n"
              "Unknown=keep me ; not a comment\n"
              "\n"
              "[Other]\n"
              "MainLeft=5\n");
    // A key line without "=" is a key without value, and gains one.
    EXPECT_EQ(Set("[A]\nflag\nx=1\n", "A", "flag", "on"), "[A]\nflag=on\nx=1\n");
}

TEST(ProfileText, ReadsIgnoreCaseBlanksAndOnePairOfQuotes) {
    const std::string file =
        "[ Option ]\n"
        "; StartNo=99\n"
        "StartNo = 7 \n"
        "Type=\t\"yymmdd\"\n"
        "Mixed='a\"\n"
        "Twice=\"\"x\"\"\n"
        "Single='  padded  '\n"
        "Bare\n"
        "Eq=a=b\n";
    EXPECT_EQ(Get(file, "OPTION", "startno"), "7");
    EXPECT_EQ(Get(file, "option", "TYPE"), "yymmdd");
    EXPECT_EQ(Get(file, "Option", "Mixed"), "'a\"");
    EXPECT_EQ(Get(file, "Option", "Twice"), "\"x\"");
    EXPECT_EQ(Get(file, "Option", "Single"), "  padded  ");
    EXPECT_EQ(Get(file, "Option", "Bare"), "");
    EXPECT_EQ(Get(file, "Option", "Eq"), "a=b");
    EXPECT_EQ(Get(file, "Option", "; StartNo"), "<missing>");
    EXPECT_EQ(Get(file, "Other", "StartNo"), "<missing>");
    // A section name runs to the last "]" of its line.
    EXPECT_EQ(Get("[a]b] tail\nk=v\n", "a]b", "k"), "v");
}

TEST(ProfileText, FirstMatchingSectionAndKeyWin) {
    const std::string file =
        "[S]\nk=first\nK=second\n"
        "[T]\nk=other\n"
        "[s]\nk=third\nonly=later\n";
    EXPECT_EQ(Get(file, "S", "k"), "first");
    // A later section of the same name is not searched.
    EXPECT_EQ(Get(file, "S", "only"), "<missing>");
    EXPECT_EQ(Set(file, "s", "K", "new"),
              "[S]\nk=new\nK=second\n[T]\nk=other\n[s]\nk=third\nonly=later\n");
    // A missing key goes to the first matching section, after its last line.
    EXPECT_EQ(Set(file, "S", "added", "1"),
              "[S]\nk=first\nK=second\nadded=1\n[T]\nk=other\n[s]\nk=third\nonly=later\n");
}

TEST(ProfileText, MissingKeysAndSectionsAreAppended) {
    EXPECT_EQ(Set("", "Option", "Type", "yymm"), "[Option]\nType=yymm\n");
    EXPECT_EQ(Set("[A]\nx=1\n\n\n[B]\ny=2\n", "A", "z", "3"), "[A]\nx=1\nz=3\n\n\n[B]\ny=2\n");
    EXPECT_EQ(Set("[A]\nx=1", "A", "z", "3"), "[A]\nx=1\nz=3") << "an unended file stays unended";
    EXPECT_EQ(Set("[A]", "A", "z", "3"), "[A]\nz=3");
    EXPECT_EQ(Set("[A]\nx=1\n", "B", "y", "2"), "[A]\nx=1\n\n[B]\ny=2\n");
    EXPECT_EQ(Set("[A]\nx=1", "B", "y", "2"), "[A]\nx=1\n\n[B]\ny=2\n");
    EXPECT_EQ(Set("[A]\nx=1\n\n", "B", "y", "2"), "[A]\nx=1\n\n[B]\ny=2\n");
    EXPECT_EQ(Set("; only a comment\n", " B ", " y ", "2"), "; only a comment\n\n[B]\ny=2\n");
}

TEST(ProfileText, LineEndsAreReadAndKeptOnRewrite) {
    for (const std::string eol : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(::testing::PrintToString(eol));
        const std::string file = "[A]" + eol + "x=1" + eol + eol + "[B]" + eol + "y=2" + eol;
        EXPECT_EQ(Get(file, "A", "x"), "1");
        EXPECT_EQ(Get(file, "B", "y"), "2");
        EXPECT_EQ(Set(file, "A", "x", "9"),
                  "[A]" + eol + "x=9" + eol + eol + "[B]" + eol + "y=2" + eol);
        EXPECT_EQ(Set(file, "A", "z", "3"),
                  "[A]" + eol + "x=1" + eol + "z=3" + eol + eol + "[B]" + eol + "y=2" + eol);
        EXPECT_EQ(Set(file, "C", "w", "4"), file + eol + "[C]" + eol + "w=4" + eol);
    }
    // A file mixing line ends keeps each line's own end; new lines take the first one.
    EXPECT_EQ(Set("[A]\r\nx=1\ny=2\r", "A", "z", "3"), "[A]\r\nx=1\ny=2\rz=3\r\n");
}

TEST(ProfileText, ByteOrderMarkIsReadPastAndKept) {
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_EQ(Get(bom + "[A]\nx=1\n", "A", "x"), "1");
    EXPECT_EQ(Set(bom + "[A]\nx=1\n", "A", "x", "2"), bom + "[A]\nx=2\n");
    EXPECT_EQ(Set(bom + "[A]\nx=1\n", "B", "y", "2"), bom + "[A]\nx=1\n\n[B]\ny=2\n");
    EXPECT_EQ(Set(bom, "A", "x", "1"), bom + "[A]\nx=1\n");
}

TEST(ProfileText, WrittenValuesReadBackAsGiven) {
    for (const std::string value : {"plain", " lead", "trail\t", "'quoted'", "\"dq\"", "\"", "'x\"",
                                    "a;b", "=x", "[x]", "\"a\" \"b\"", "日本語", "1440.5"}) {
        const std::string file = Set("[A]\nv=old\n", "A", "v", value);
        EXPECT_EQ(Get(file, "A", "v"), value) << file;
        EXPECT_EQ(Get(Set("", "A", "v", value), "A", "v"), value);
    }
}

TEST(ProfileText, RefusesWhatWouldNotReadBack) {
    const std::string file = "[A]\nx=1\n";
    using Triple = std::tuple<std::string_view, std::string_view, std::string_view>;
    for (const auto& [section, key, value] :
         std::initializer_list<Triple>{{"A", "x", "two\nlines"},
                                       {"A", "x", "two\rlines"},
                                       {"A", "x", "\r\n"},
                                       {"A", "x", std::string_view("nul\0", 4)},
                                       {"A", "x", "bad\xff"},
                                       {"A\n", "x", "1"},
                                       {"A", "x\r", "1"},
                                       {"A", "", "1"},
                                       {"A", "  ", "1"},
                                       {"A", "a=b", "1"},
                                       {"A", ";x", "1"},
                                       {"A", "[x", "1"}}) {
        EXPECT_FALSE(WithProfileValue(file, section, key, value).has_value())
            << ::testing::PrintToString(std::string(section) + "|" + std::string(key) + "|" +
                                        std::string(value));
    }
    // Bytes that are no profile text (here an overlong form) are neither read nor changed.
    EXPECT_FALSE(ProfileValue("[A]\nx=1\xC0\x80\n", "A", "x").has_value());
    EXPECT_FALSE(WithProfileValue("[A]\nx=1\xC0\x80\n", "A", "x", "2").has_value());
    // Nor is a change made that would grow the file past what is read.
    const std::string nearlyFull = "[A]\nx=" + std::string(kProfileMaxBytes - 7, 'a') + "\n";
    ASSERT_EQ(nearlyFull.size(), kProfileMaxBytes);
    EXPECT_FALSE(WithProfileValue(nearlyFull, "A", "y", "1").has_value());
    EXPECT_TRUE(WithProfileValue(nearlyFull, "A", "x", "1").has_value());
}

TEST(ProfileText, CutNeverSplitsACharacter) {
    // Characters of 1 to 4 bytes, placed so that the 255th byte falls on each of their bytes.
    for (const std::string ch : {"a", "é", "日", "😀"}) {
        for (std::size_t shift = 0; shift < 4; ++shift) {
            std::string text(250 + shift, 'x');
            while (text.size() < 300) text += ch;
            const std::string_view cut = CutAtCharacter(text, 255);
            SCOPED_TRACE(ch + " after " + std::to_string(250 + shift));
            EXPECT_LE(cut.size(), 255u);
            EXPECT_GT(cut.size() + ch.size(), 255u) << "cut shorter than needed";
            EXPECT_EQ((cut.size() - 250 - shift) % ch.size(), 0u) << "cut inside a character";
        }
    }
    EXPECT_EQ(CutAtCharacter("日本", 255), "日本");
    EXPECT_EQ(CutAtCharacter("日本", 5), "日");
}

}  // namespace
}  // namespace karvel
