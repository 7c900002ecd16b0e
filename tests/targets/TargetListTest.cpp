#include "targets/TargetList.h"

#include <gtest/gtest.h>

namespace karvel {
namespace {

std::vector<std::string> Column(const TargetList& list, SortColumn column) {
    std::vector<std::string> texts;
    for (const auto& row : list.Rows()) {
        texts.push_back(column == SortColumn::BeforeName  ? row.BeforeName
                        : column == SortColumn::AfterName ? row.AfterName
                                                          : row.Modified);
    }
    return texts;
}

TargetList ThreeRows() {
    TargetList list;
    list.SetTargetFolder("/photos/");
    list.AssignRows({{"b.jpg", "x_002.jpg", "24/03/05 14:07", false},
                     {"a.jpg", "x_001.jpg", "99/12/31 23:59", false},
                     {"c.jpg", "x_003.jpg", "24/01/01 00:00", false}});
    list.SetState(ListState::Ready);
    return list;
}

TEST(TargetList, StartsEmptyAndAskingForFiles) {
    const TargetList list;
    EXPECT_EQ(list.RowCount(), 0u);
    EXPECT_EQ(list.State(), ListState::Empty);
    EXPECT_TRUE(list.WantsDrop());
}

TEST(TargetList, OnlyEmptyAndSpentWantADrop) {
    const struct {
        ListState state;
        bool wantsDrop;
    } cases[] = {{ListState::Empty, true},
                 {ListState::Loading, false},
                 {ListState::Ready, false},
                 {ListState::Spent, true}};
    TargetList list = ThreeRows();
    for (const auto& each : cases) {
        list.SetState(each.state);
        EXPECT_EQ(list.WantsDrop(), each.wantsDrop) << static_cast<int>(each.state);
        // After a run the rows stay though the list asks for a new drop.
        EXPECT_EQ(list.RowCount(), 3u);
    }
}

TEST(TargetList, AllClearEmptiesButKeepsSortColumnAndOrder) {
    TargetList list = ThreeRows();
    list.SetSortKey(SortColumn::Modified);
    list.SetSortOrder(SortOrder::Descending);
    list.SetSorted(true);
    list.AllClear();
    EXPECT_EQ(list.RowCount(), 0u);
    EXPECT_EQ(list.TargetFolder(), "");
    EXPECT_EQ(list.State(), ListState::Empty);
    EXPECT_FALSE(list.Sorted());
    EXPECT_EQ(list.SortKey(), SortColumn::Modified);
    EXPECT_EQ(list.GetSortOrder(), SortOrder::Descending);

    list.AssignRows({{"z", "", "", false}, {"a", "", "", false}});
    EXPECT_EQ(Column(list, SortColumn::BeforeName), (std::vector<std::string>{"z", "a"}))
        << "not kept ordered while Sorted is off";
}

TEST(TargetList, SortsByAnyColumnAsText) {
    TargetList list = ThreeRows();
    list.SetSorted(true);
    EXPECT_EQ(Column(list, SortColumn::BeforeName),
              (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
    list.SetSortOrder(SortOrder::Descending);
    EXPECT_EQ(Column(list, SortColumn::AfterName),
              (std::vector<std::string>{"x_003.jpg", "x_002.jpg", "x_001.jpg"}));
    list.SetSortOrder(SortOrder::Ascending);
    list.SetSortKey(SortColumn::Modified);
    // The modified column orders by its two-digit-year text, so 1999 comes last.
    EXPECT_EQ(Column(list, SortColumn::Modified),
              (std::vector<std::string>{"24/01/01 00:00", "24/03/05 14:07", "99/12/31 23:59"}));
}

TEST(TargetList, StaysOrderedWhileSorted) {
    TargetList list = ThreeRows();
    list.SetSorted(true);
    std::vector<TargetRow> rows = list.Rows();
    for (const char* name : {"IMG_10.jpg", "IMG_2.jpg", "B.JPG"})
        rows.push_back({name, "", "", false});
    list.AssignRows(std::move(rows));
    EXPECT_EQ(
        Column(list, SortColumn::BeforeName),
        (std::vector<std::string>{"a.jpg", "b.jpg", "B.JPG", "c.jpg", "IMG_2.jpg", "IMG_10.jpg"}));

    list.AssignRows({{"z", "", "", false}, {"m", "", "", false}});
    EXPECT_EQ(Column(list, SortColumn::BeforeName), (std::vector<std::string>{"m", "z"}));
}

TEST(TargetList, SortIsStableForEqualKeys) {
    TargetList list;
    list.AssignRows({{"b", "same", "", false}, {"a", "same", "", false}, {"c", "same", "", false}});
    list.SetSortKey(SortColumn::AfterName);
    list.SetSorted(true);
    EXPECT_EQ(Column(list, SortColumn::BeforeName), (std::vector<std::string>{"b", "a", "c"}));
}

// A row without an After Name is told by a flag, as rows come and go.
TEST(TargetList, TellsWhetherSomeRowHasNoNewName) {
    TargetList list = ThreeRows();
    EXPECT_FALSE(list.NameMissing());
    std::vector<TargetRow> rows = list.Rows();
    rows.push_back({"d.jpg", "", "", false});
    list.AssignRows(std::move(rows));
    EXPECT_TRUE(list.NameMissing());
    list.SetSorted(true);
    EXPECT_TRUE(list.NameMissing()) << "sorting keeps it";
    for (TargetRow& row : list.MutableRows()) row.Selected = row.AfterName.empty();
    list.RemoveSelectedRows();
    EXPECT_FALSE(list.NameMissing()) << "the row without a name is gone";
    list.AssignRows({{"a", "x", "", false}, {"b", "", "", false}});
    EXPECT_TRUE(list.NameMissing());
    list.AllClear();
    EXPECT_FALSE(list.NameMissing());
}

TEST(TargetList, RemovesEverySelectedRow) {
    TargetList list = ThreeRows();
    list.MutableRows()[0].Selected = true;
    list.MutableRows()[2].Selected = true;
    list.RemoveSelectedRows();
    EXPECT_EQ(Column(list, SortColumn::BeforeName), (std::vector<std::string>{"a.jpg"}));
    list.RemoveSelectedRows();
    EXPECT_EQ(list.RowCount(), 1u) << "nothing selected, nothing removed";
}

}  // namespace
}  // namespace karvel
