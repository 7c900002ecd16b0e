#include "targets/NaturalCompare.h"

#include <gtest/gtest.h>

namespace karvel {
namespace {

TEST(NaturalCompare, OrdersLikeAFileManager) {
    EXPECT_LT(NaturalCompare("IMG_2", "IMG_10"), 0);
    EXPECT_GT(NaturalCompare("IMG_10", "IMG_9"), 0);
    EXPECT_EQ(NaturalCompare("Photo.JPG", "photo.jpg"), 0);
    EXPECT_LT(NaturalCompare("apple", "Banana"), 0);
    EXPECT_LT(NaturalCompare("a", "a1"), 0);
    EXPECT_LT(NaturalCompare("", "a"), 0);
    EXPECT_LT(NaturalCompare("x99999999999999999999999", "x100000000000000000000000"), 0);
    // Equal values with different zero padding still order, the shorter first.
    EXPECT_LT(NaturalCompare("f7", "f007"), 0);
    EXPECT_LT(NaturalCompare("f007", "f8"), 0);
}

TEST(NaturalCompare, IsAntisymmetric) {
    const char* texts[] = {"",   "0", "00",    "a",      "A",    "a0",  "a00",
                           "a1", "b", "IMG_2", "img_10", "\xff", "日本"};
    for (const char* a : texts) {
        for (const char* b : texts) {
            EXPECT_EQ(NaturalCompare(a, b), -NaturalCompare(b, a)) << a << " vs " << b;
        }
    }
}

// A sort compares keys instead of texts: every pair orders the same both ways.
TEST(NaturalCompare, KeysOrderAsTheTexts) {
    const char* texts[] = {
        "",    "0",     "00",     "000",  "a",    "A",   "a0",     "a00",    "a1",
        "a01", "a10",   "a9",     "a/",   "a:",   "1a",  "01a",    "10",     "9",
        "b",   "IMG_2", "img_10", "\xff", "日本", "x0y", "x00y",   "x0",     "2.jpg",
        "2",   "f7",    "f007",   "f8",   "f7a",  "f7-", "DSC_12", "dsc_012"};
    const auto sign = [](int c) { return (c > 0) - (c < 0); };
    for (const char* a : texts) {
        std::string keyA;
        AppendNaturalKey(keyA, a);
        for (const char* b : texts) {
            std::string keyB;
            AppendNaturalKey(keyB, b);
            EXPECT_EQ(sign(keyA.compare(keyB)), sign(NaturalCompare(a, b))) << a << " vs " << b;
        }
    }
}

}  // namespace
}  // namespace karvel
