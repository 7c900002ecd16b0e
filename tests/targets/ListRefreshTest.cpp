// The refresh runs from the step a change touches to the marks, and reads the folder
// only when told it changed and the list shows marks.
#include "targets/ListRefresh.h"

#include <gtest/gtest.h>

#include "support/MemoryDisk.h"

namespace karvel {
namespace {

TEST(ListRefresh, EachChangeRunsItsStepsAndTheMarks) {
    const NamingOptions options{{2024, 3, 5}, "yymmdd", "1", "1"};
    const struct {
        const char* what;
        ListChanges changes;
        ListState state;
        const char* afterName;  // of the one row, once refreshed
        std::size_t listings;
        RowConflict mark;  // the folder holds a file named 240305_1.jpg
    } cases[] = {
        {"order", ListChanges::Order(), ListState::Ready, "old.jpg", 0, RowConflict::None},
        {"names", ListChanges::Names(options), ListState::Ready, "240305_1.jpg", 0,
         RowConflict::None},
        {"folder", ListChanges::Folder(), ListState::Ready, "old.jpg", 1, RowConflict::None},
        {"both", ListChanges::NamesAndFolder(options), ListState::Ready, "240305_1.jpg", 1,
         RowConflict::NameTaken},
        {"after a run", ListChanges::NamesAndFolder(options), ListState::Spent, "240305_1.jpg", 0,
         RowConflict::None},
    };
    for (const auto& each : cases) {
        testing::MemoryDisk disk;
        disk.MakeFile("/photos/a.jpg");
        disk.MakeFile("/photos/240305_1.jpg");
        TargetList list;
        list.SetTargetFolder("/photos/");
        list.AssignRows({{"a.jpg", "old.jpg", "", false}});
        list.SetState(each.state);
        list.MutableRows()[0].Conflict = RowConflict::DuplicateName;  // stale
        RefreshList(list, each.changes, disk);
        EXPECT_EQ(list.Rows()[0].AfterName, each.afterName) << each.what;
        EXPECT_EQ(disk.CallsOf(testing::DiskCall::List), each.listings) << each.what;
        EXPECT_EQ(list.Rows()[0].Conflict, each.mark) << each.what;
    }
}

}  // namespace
}  // namespace karvel
