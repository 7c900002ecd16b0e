#include "settings/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace karvel {
namespace {

TEST(NumberText, ReadsBlanksSignAndFractionIntoSigned16Bits) {
    const std::pair<const char*, int> good[] = {
        {"1600", 1600},
        {" 1600\t", 1600},
        {"\t-3000 ", -3000},
        {"+12", 12},
        {"007", 7},
        {"-0", 0},
        {"000000000000000000001", 1},
        {"1.", 1},
        {".5", 0},
        {"0.5", 0},
        {"1.5", 2},
        {"1600.5", 1600},
        {"1601.5", 1602},
        {"-1.5", -2},
        {"-2.5", -2},
        {"1600.49", 1600},
        {"1600.51", 1601},
        {"1600.500000000000000001", 1601},
        {"1600.4999999999999999", 1600},
        {"32767", 32767},
        {"32767.4", 32767},
        {"-32768", -32768},
        {"-32768.5", -32768},
    };
    for (const auto& [text, want] : good) {
        const std::optional<std::int16_t> got = NumberTextToInt16(text);
        ASSERT_TRUE(got.has_value()) << '"' << text << '"';
        EXPECT_EQ(*got, want) << '"' << text << '"';
    }
    for (const char* bad :
         {"",    "  ",    "abc",    "12px",    "1 2",      "--1",   "+-1",
          "+",   "-",     ".",      "1..2",    "1e3",      "0x10",  "1,000",
          "+ 1", "32768", "-32769", "32767.5", "-32768.6", "40000", "99999999999999999999"}) {
        EXPECT_FALSE(NumberTextToInt16(bad).has_value()) << '"' << bad << '"';
    }
}

TEST(NumberText, WritesSinglePrecisionPlainlyWithSevenSignificantDigits) {
    const std::pair<double, const char*> cases[] = {
        {1440, "1440"},
        {-3000, "-3000"},
        {1440.5, "1440.5"},
        {0, "0"},
        {-0.0, "0"},
        {0.0001, "0.0001"},
        {0.1, "0.1"},
        {1.0 / 3, "0.3333333"},
        {-2.0 / 3, "-0.6666667"},
        {123.456789, "123.4568"},
        {1234567, "1234567"},
        {12345678, "12345680"},
        {9999999.7, "10000000"},
        {40000, "40000"},
        {1e10, "10000000000"},
        {1.5e-7, "0.00000015"},
    };
    for (const auto& [value, want] : cases) {
        EXPECT_EQ(NumberText(value), want) << value;
    }
    for (const double bad : {std::nan(""), std::numeric_limits<double>::infinity(), -1e300}) {
        EXPECT_EQ(NumberText(bad), "") << bad;
    }
}

TEST(NumberText, EveryWritten16BitValueReadsBack) {
    for (int value = -32768; value <= 32767; ++value) {
        const std::string text = NumberText(value);
        ASSERT_EQ(NumberTextToInt16(text), value) << text;
    }
    // A fractional twip reads back as its nearest whole one.
    EXPECT_EQ(NumberTextToInt16(NumberText(1234.5)), 1234);
    EXPECT_EQ(NumberTextToInt16(NumberText(-99.75)), -100);
}

}  // namespace
}  // namespace karvel
