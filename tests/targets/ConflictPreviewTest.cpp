// The conflict preview against folders of the disk held in memory: each reason, the rows taken top
// to bottom, when the marks are renewed.
#include "targets/ConflictPreview.h"

#include <gtest/gtest.h>

#include "support/MemoryListing.h"
#include "targets/DropIntake.h"
#include "targets/ListEditing.h"
#include "targets/ListRefresh.h"

namespace karvel {
namespace {

// A folder on the disk held in memory and a list naming its files.
struct ListedFolder {
    void List(const std::vector<std::pair<std::string, std::string>>& names) {
        testing::ListOn(disk, folder, list, names);
    }

    testing::MemoryDisk disk;
    std::string folder = "/photos/";
    TargetList list;
};
using Marks = std::vector<RowConflict>;
constexpr auto kNone = RowConflict::None;
constexpr auto kEmpty = RowConflict::EmptyName;
constexpr auto kDuplicate = RowConflict::DuplicateName;
constexpr auto kTaken = RowConflict::NameTaken;
constexpr auto kSource = RowConflict::SourceUnusable;

Marks MarksOf(const TargetList& list) {
    Marks marks;
    for (const TargetRow& row : list.Rows()) marks.push_back(row.Conflict);
    return marks;
}

// Snapshots the fixture's folder as a drop would, then marks the rows.
Marks Preview(ListedFolder& run) {
    RefreshList(run.list, ListChanges::Folder(), run.disk);
    return MarksOf(run.list);
}

TEST(ConflictPreview, EachReason) {
    ListedFolder run;
    const std::string& folder = run.folder;
    run.disk.MakeFile(folder + "file");
    run.disk.MakeFolder(folder + "dir");
    run.disk.MakeLink(folder + "dangling", "nowhere");
    run.disk.MakeLink(folder + "link", "file");
    run.List({{"\xff.jpg", "x"},
              {"b", ""},
              {"c", "x"},
              {"d", "file"},
              {"e", "dir"},
              {"f", "dangling"},
              {"own", "own"},
              {".dotted", "1"},
              {"dir", "2"},
              {"link", "3"},
              {"gone", "4"},
              {"g", "gone"}});
    run.disk.RemoveEntry(folder + "gone");
    EXPECT_EQ(Preview(run), (Marks{kNone, kEmpty, kDuplicate, kTaken, kTaken, kTaken, kTaken, kNone,
                                   kSource, kSource, kSource, kNone}));

    // A new snapshot is looked at afresh.
    run.disk.RemoveEntry(folder + "\xff.jpg");
    EXPECT_EQ(Preview(run).front(), kSource);
}

TEST(ConflictPreview, RowsAreTakenTopToBottom) {
    // Longer than one block of the walk: each name freed by the row above, or
    // only by the row below.
    std::vector<std::pair<std::string, std::string>> down, up;
    for (int i = 1; i <= 40; ++i) {
        down.emplace_back(std::to_string(i), std::to_string(i - 1));
        up.emplace_back(std::to_string(i), std::to_string(i + 1));
    }
    ListedFolder freed, notYet;
    freed.List(down);
    notYet.List(up);
    EXPECT_EQ(Preview(freed), Marks(40, kNone));
    // Freed only by the row below: the run moves that file first.
    EXPECT_EQ(Preview(notYet), Marks(40, kNone));

    // A file an earlier row renames to takes its name: the row listing that name has
    // lost its own file, and the name stays taken.
    ListedFolder chain;
    chain.List({{"a", "n"}, {"n", "m"}, {"b", "a"}, {"c", "m"}, {"d", "n"}});
    chain.disk.RemoveEntry(chain.folder + "n");
    EXPECT_EQ(Preview(chain), (Marks{kNone, kSource, kNone, kDuplicate, kDuplicate}));

    // A row that would fail keeps its file, so frees nothing.
    ListedFolder kept;
    kept.disk.MakeFolder(kept.folder + "0");
    kept.List({{"1", "0"}, {"2", "1"}});
    EXPECT_EQ(Preview(kept), (Marks{kTaken, kTaken}));
}

TEST(ConflictPreview, SortingAndRemovalMarkTheRowsAgain) {
    ListedFolder run;
    run.List({{"1", "0"}, {"2", "1"}, {"3", "0"}});
    run.list.SetSorted(true);
    ASSERT_EQ(Preview(run), (Marks{kNone, kNone, kDuplicate}));
    // Descending: "3" claims "0" first now, and "1" can no longer move out of the way of "2".
    SortBy(run.list, SortColumn::BeforeName);
    EXPECT_EQ(MarksOf(run.list), (Marks{kNone, kTaken, kDuplicate}));
    EXPECT_EQ(run.list.Rows().back().BeforeName, "1");

    ListedFolder twice;
    twice.List({{"a", "x"}, {"b", "x"}});
    ASSERT_EQ(Preview(twice), (Marks{kNone, kDuplicate}));
    twice.list.MutableRows()[0].Selected = true;
    RemoveSelectedTargets(twice.list);
    EXPECT_EQ(MarksOf(twice.list), (Marks{kNone}));
}

TEST(ConflictPreview, ADropReadsTheFolderOnce) {
    testing::MemoryDisk disk;
    const std::string photo = "/photos/a.jpg";
    disk.MakeFile(photo);
    disk.MakeFile("/photos/240305_1.jpg");
    TargetList list;
    NamingOptions options{{2024, 3, 5}, "yymmdd", "1", "1"};
    TakeInDrop(list, {photo}, options, IntakeLook::EachFile, disk);
    EXPECT_EQ(MarksOf(list), (Marks{kTaken}));
    EXPECT_EQ(disk.CallsOf(testing::DiskCall::List), 1u);

    // Refreshes go by what the drop saw; the run checks the disk itself.
    disk.MoveEntry("/photos/240305_1.jpg", "/photos/240305_2.jpg");
    options.startNoText = "2";
    RefreshList(list, ListChanges::Names(options), disk);
    EXPECT_EQ(MarksOf(list), (Marks{kNone}));
    EXPECT_EQ(disk.CallsOf(testing::DiskCall::List), 1u);
    TakeInDrop(list, {photo}, options, IntakeLook::EachFile, disk);
    EXPECT_EQ(MarksOf(list), (Marks{kTaken}));
}

TEST(ConflictPreview, WithoutTheFolderOrAfterARun) {
    // A folder that could not be listed: only what the rows themselves show.
    ListedFolder run;
    run.List({{"a", "x"}, {"b", "x"}, {"c", ""}, {"d", "d"}, {"e", "a"}});
    run.list.SetTargetFolder(run.folder + "missing/");
    RefreshList(run.list, ListChanges::Folder(), run.disk);
    EXPECT_FALSE(run.list.Snapshot().Known());
    EXPECT_EQ(MarksOf(run.list), (Marks{kNone, kDuplicate, kEmpty, kTaken, kNone}));

    // Once the list asks for a new drop, the folder has moved on: nothing is marked.
    run.list.SetState(ListState::Spent);
    RefreshList(run.list, ListChanges::Order(), run.disk);
    EXPECT_EQ(MarksOf(run.list), Marks(5, kNone));
}

}  // namespace
}  // namespace karvel
