// The text rules of a new name: the date prefix in each pattern, the serial padded but never
// cut, the start number read as its value.
#include "naming/NewNames.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

namespace karvel {
namespace {

TEST(DatePrefix, WritesEachPattern) {
    const CalendarDate date{2024, 3, 5};
    EXPECT_EQ(FormatDatePrefix(date, DatePattern::yyyymmdd), "20240305");
    EXPECT_EQ(FormatDatePrefix(date, DatePattern::yymmdd), "240305");
    EXPECT_EQ(FormatDatePrefix(date, DatePattern::mmdd), "0305");
    EXPECT_EQ(FormatDatePrefix(date, DatePattern::yyyymm), "202403");
    EXPECT_EQ(FormatDatePrefix(date, DatePattern::yymm), "2403");
    EXPECT_EQ(FormatDatePrefix({2000, 12, 31}, DatePattern::yymmdd), "001231");
    EXPECT_EQ(FormatDatePrefix({2005, 1, 1}, DatePattern::yymm), "0501");
}

TEST(DatePrefix, KnowsOnlyTheFivePatternTexts) {
    for (const auto text : kDatePatternTexts) EXPECT_TRUE(DatePatternFromText(text)) << text;
    EXPECT_FALSE(DatePatternFromText(""));
    EXPECT_FALSE(DatePatternFromText("YYMMDD"));
    EXPECT_FALSE(DatePatternFromText("yymmdd "));
}

TEST(DigitCount, KnowsOnlyTheFiveItemTexts) {
    for (const auto text : kDigitCountTexts) EXPECT_TRUE(IsDigitCountText(text)) << text;
    for (const char* text : {"", "0", "6", "02", " 2", "2.0"}) EXPECT_FALSE(IsDigitCountText(text));
}

TEST(BuildNewName, PadsButNeverCutsTheSerial) {
    EXPECT_EQ(BuildNewName("240305.jpg", 1, 3), "240305_001.jpg");
    EXPECT_EQ(BuildNewName("240305.jpg", 1000, 3), "240305_1000.jpg");
    EXPECT_EQ(BuildNewName("240305", 7, 1), "240305_7");
    EXPECT_EQ(BuildNewName("240305", 12, 1), "240305_12");
    EXPECT_EQ(BuildNewName("x.tar.gz", 42, 5), "x_00042.tar.gz");
    EXPECT_EQ(BuildNewName("x", 3, 4), "x_0003");
    EXPECT_EQ(BuildNewName("x", -5, 3), "x_-005");
}

TEST(BuildNewName, DigitCountBelowOnePadsNothing) {
    for (const int digits : {0, -1, std::numeric_limits<int>::min()}) {
        EXPECT_EQ(BuildNewName("a.jpg", 7, digits), "a_7.jpg") << digits;
        EXPECT_EQ(BuildNewName("a.jpg", -42, digits), "a_-42.jpg") << digits;
    }
}

TEST(ParseStartNumber, TakesOneSignAtMost) {
    EXPECT_EQ(ParseStartNumber("+5"), 5);
    EXPECT_EQ(ParseStartNumber(" -5\t"), -5);
    EXPECT_EQ(ParseStartNumber("+0"), 0);
    for (const char* text : {"+-5", "-+5", "++5", "--5", "+", "-", "+ 5"}) {
        EXPECT_EQ(ParseStartNumber(text), std::nullopt) << text;
    }
}

}  // namespace
}  // namespace karvel
