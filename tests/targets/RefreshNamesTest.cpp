// Every row's new name, rebuilt from the options: the serials count down the list, the
// extension comes from each old name's first dot.
#include "targets/RefreshNames.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "naming/NewNames.h"
#include "targets/TargetList.h"

namespace karvel {
namespace {

TargetList ListOf(std::initializer_list<const char*> names) {
    std::vector<TargetRow> rows;
    for (const char* name : names) rows.push_back({name, "", "", false});
    TargetList list;
    list.AssignRows(std::move(rows));
    return list;
}

std::vector<std::string> AfterNames(const TargetList& list) {
    std::vector<std::string> names;
    for (const auto& row : list.Rows()) names.push_back(row.AfterName);
    return names;
}

NamingOptions Options(std::string pattern, std::string digits, std::string start) {
    return {{2024, 3, 5}, std::move(pattern), std::move(digits), std::move(start)};
}

TEST(RefreshNewNames, WorkedExample) {
    auto list = ListOf({"a.jpg", "b.tar.gz", "readme"});
    ASSERT_TRUE(list.NameMissing());
    EXPECT_TRUE(RefreshNewNames(list, Options("yymmdd", "3", "1")));
    EXPECT_FALSE(list.NameMissing());
    EXPECT_EQ(AfterNames(list),
              (std::vector<std::string>{"240305_001.jpg", "240305_002.tar.gz", "240305_003"}));

    RefreshNewNames(list, Options("yymmdd", "3", "998"));
    EXPECT_EQ(AfterNames(list)[2], "240305_1000");
}

TEST(RefreshNewNames, ExtensionFromTheFirstDotOnly) {
    auto list = ListOf({".profile", "trip.2023.jpg", "noext"});
    RefreshNewNames(list, Options("mmdd", "2", "1"));
    EXPECT_EQ(AfterNames(list),
              (std::vector<std::string>{"0305_01.profile", "0305_02.2023.jpg", "0305_03"}));
}

TEST(RefreshNewNames, StartNumberTextIsReadAsItsValue) {
    auto list = ListOf({"a.jpg", "b.jpg"});
    RefreshNewNames(list, Options("yymmdd", "2", "007"));
    EXPECT_EQ(AfterNames(list), (std::vector<std::string>{"240305_07.jpg", "240305_08.jpg"}));
    RefreshNewNames(list, Options("yymmdd", "2", "-3"));
    EXPECT_EQ(AfterNames(list), (std::vector<std::string>{"240305_-03.jpg", "240305_-02.jpg"}));
}

TEST(RefreshNewNames, NoSixteenBitLimit) {
    auto list = ListOf({"a", "b", "c", "d", "e"});
    RefreshNewNames(list, Options("yymmdd", "5", "32767"));
    EXPECT_EQ(AfterNames(list).front(), "240305_32767");
    EXPECT_EQ(AfterNames(list).back(), "240305_32771");

    RefreshNewNames(list, Options("yymmdd", "1", "2147483647"));
    EXPECT_EQ(AfterNames(list).back(), "240305_2147483651");
}

TEST(RefreshNewNames, UnusableOptionsEmptyEveryName) {
    for (const auto& options :
         {Options("yymmdd", "2", ""), Options("yymmdd", "2", "abc"),
          Options("yymmdd", "2", "2147483648"), Options("yymmdd", "2", "1 2"),
          Options("yymmdd", "", "1"), Options("yymmdd", "6", "1"), Options("", "2", "1"),
          Options("dd", "2", "1"), NamingOptions{{1600, 12, 31}, "yymmdd", "2", "1"},
          NamingOptions{{10000, 1, 1}, "yymmdd", "2", "1"},
          NamingOptions{{-4713, 1, 1}, "yymmdd", "2", "1"}}) {
        auto list = ListOf({"a.jpg", "b.jpg"});
        RefreshNewNames(list, Options("yymmdd", "2", "1"));
        EXPECT_FALSE(RefreshNewNames(list, options))
            << options.patternText << "|" << options.digitsText << "|" << options.startNoText;
        EXPECT_EQ(AfterNames(list), (std::vector<std::string>{"", ""}));
        EXPECT_TRUE(list.NameMissing());
    }
    TargetList empty;
    EXPECT_FALSE(RefreshNewNames(empty, Options("", "2", "1")));
    EXPECT_FALSE(empty.NameMissing()) << "no row lacks a name";
}

TEST(RefreshNewNames, NeverGivesTwoRowsTheSameName) {
    TargetList list;
    list.AssignRows(std::vector<TargetRow>(2000, {"same.jpg", "", "", false}));
    RefreshNewNames(list, Options("yymm", "1", "1"));
    const auto names = AfterNames(list);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
}

}  // namespace
}  // namespace karvel
