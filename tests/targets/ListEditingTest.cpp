#include "targets/ListEditing.h"

#include <gtest/gtest.h>

namespace karvel {
namespace {

// Three rows as a drop leaves them: sorted by name, numbered in order.
TargetList AfterDrop() {
    TargetList list;
    list.SetTargetFolder("/photos/");
    list.AssignRows({{"a.jpg", "x_001.jpg", "99/01/01 00:00", false},
                     {"b.jpg", "x_002.jpg", "24/01/01 00:00", false},
                     {"c.jpg", "x_003.jpg", "24/06/01 00:00", false}});
    list.SetSortKey(SortColumn::BeforeName);
    list.SetSortOrder(SortOrder::Ascending);
    list.SetSorted(true);
    list.SetState(ListState::Ready);
    return list;
}

std::vector<std::string> AfterNames(const TargetList& list) {
    std::vector<std::string> names;
    for (const auto& row : list.Rows()) names.push_back(row.AfterName);
    return names;
}

TEST(SortBy, SameColumnAlternatesOtherColumnsStartAscending) {
    TargetList list = AfterDrop();
    SortBy(list, SortColumn::BeforeName);
    EXPECT_EQ(list.GetSortOrder(), SortOrder::Descending);
    EXPECT_EQ(AfterNames(list), (std::vector<std::string>{"x_003.jpg", "x_002.jpg", "x_001.jpg"}))
        << "rows keep their names when sorted";
    SortBy(list, SortColumn::BeforeName);
    EXPECT_EQ(list.GetSortOrder(), SortOrder::Ascending);

    SortBy(list, SortColumn::Modified);
    EXPECT_EQ(list.SortKey(), SortColumn::Modified);
    EXPECT_EQ(list.GetSortOrder(), SortOrder::Ascending);
    // The modified column sorts as text: 1999 ("99/") after 2024 ("24/").
    EXPECT_EQ(list.Rows().back().BeforeName, "a.jpg");
    SortBy(list, SortColumn::AfterName);
    EXPECT_EQ(list.SortKey(), SortColumn::AfterName);
    EXPECT_EQ(list.GetSortOrder(), SortOrder::Ascending);
    EXPECT_EQ(list.State(), ListState::Ready) << "sorting does not change the state";
}

TEST(RemoveSelected, KeepsTheOtherRowsAndTheirNames) {
    TargetList list = AfterDrop();
    list.MutableRows()[1].Selected = true;
    RemoveSelectedTargets(list);
    EXPECT_EQ(AfterNames(list), (std::vector<std::string>{"x_001.jpg", "x_003.jpg"}));
    EXPECT_EQ(list.State(), ListState::Ready);
    EXPECT_EQ(list.TargetFolder(), "/photos/");

    RemoveSelectedTargets(list);
    EXPECT_EQ(list.RowCount(), 2u);
    EXPECT_EQ(list.State(), ListState::Ready);
}

TEST(RemoveSelected, RemovingEveryRowIsAllClear) {
    TargetList list = AfterDrop();
    for (auto& row : list.MutableRows()) row.Selected = true;
    RemoveSelectedTargets(list);
    EXPECT_EQ(list.RowCount(), 0u);
    EXPECT_EQ(list.TargetFolder(), "");
    EXPECT_EQ(list.State(), ListState::Empty);
    EXPECT_FALSE(list.Sorted());
}

}  // namespace
}  // namespace karvel
