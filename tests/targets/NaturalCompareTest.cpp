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

}  // namespace
}  // namespace karvel
