#include <gtest/gtest.h>

#include "texts/FillText.h"

namespace karvel {
namespace {

TEST(FillText, PutsEachValueInItsPlaceOnce) {
    struct Case {
        std::string_view pattern;
        std::initializer_list<std::string_view> values;
        std::string_view expected;
    };
    const Case cases[] = {
        {"{1} File です", {"3"}, "3 File です"},
        {"( {2} > {1} )", {"a", "b"}, "( b > a )"},
        {"{1}{1}", {"x"}, "xx"},
        // A name holding a placeholder stays as it is.
        {"{1} > {2}", {"{2}", "b"}, "{2} > b"},
        // No value for it, or not a placeholder: the text stands.
        {"{3} {0} {a} {1", {"x"}, "{3} {0} {a} {1"},
        {"\r\n{1}  ", {""}, "\r\n  "},
    };
    for (const Case& c : cases) EXPECT_EQ(FillText(c.pattern, c.values), c.expected) << c.pattern;
}

}  // namespace
}  // namespace karvel
