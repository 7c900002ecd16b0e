// The one check before a start: no targets, names unusable, a known stop, or clear.
#include "targets/StartCheck.h"

#include <gtest/gtest.h>

namespace karvel {
namespace {

constexpr std::size_t kNoMark = 99;

TEST(StartCheck, EachVerdict) {
    const struct {
        const char* what;
        std::vector<const char*> afterNames;
        ListState state;
        std::size_t markedRow;  // marked with DuplicateName, or kNoMark
        StartVerdict verdict;
        std::size_t row;
    } cases[] = {
        {"no rows", {}, ListState::Ready, kNoMark, StartVerdict::NoTargets, 0},
        {"empty list", {}, ListState::Empty, kNoMark, StartVerdict::NoTargets, 0},
        {"after a run", {"x", "y"}, ListState::Spent, kNoMark, StartVerdict::NoTargets, 0},
        {"after a run, marked", {"x", "x"}, ListState::Spent, 1, StartVerdict::NoTargets, 0},
        {"no names", {"", ""}, ListState::Ready, 0, StartVerdict::NamesUnusable, 0},
        {"one name missing", {"x", ""}, ListState::Ready, kNoMark, StartVerdict::NamesUnusable, 0},
        {"marked", {"x", "y", "x"}, ListState::Ready, 2, StartVerdict::StopsAtRow, 2},
        {"clear", {"x", "y"}, ListState::Ready, kNoMark, StartVerdict::Clear, 0},
        {"while loading", {"x"}, ListState::Loading, kNoMark, StartVerdict::Clear, 0},
    };
    for (const auto& each : cases) {
        TargetList list;
        std::vector<TargetRow> rows;
        for (const char* after : each.afterNames) rows.push_back({"a", after, "", false});
        list.AssignRows(std::move(rows));
        list.SetState(each.state);
        if (each.markedRow != kNoMark)
            list.MutableRows()[each.markedRow].Conflict = RowConflict::DuplicateName;
        const StartCheck check = CheckStart(list);
        EXPECT_EQ(check.verdict, each.verdict) << each.what;
        EXPECT_EQ(check.row, each.row) << each.what;
        const RowConflict reason = each.verdict == StartVerdict::StopsAtRow
                                       ? RowConflict::DuplicateName
                                       : RowConflict::None;
        EXPECT_EQ(check.reason, reason) << each.what;
    }
}

}  // namespace
}  // namespace karvel
