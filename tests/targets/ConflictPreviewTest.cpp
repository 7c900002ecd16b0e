// The conflict preview against real folders: each reason, the rows taken top to
// bottom, when the marks are renewed, and that a real run stops where it said.
#include "targets/ConflictPreview.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <set>

#include "rename/RunFixture.h"
#include "targets/DropIntake.h"
#include "targets/ListEditing.h"

namespace karvel {
namespace {

using testing::RunFixture;
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
Marks Preview(RunFixture& run) {
    run.list.SetSnapshot(FolderSnapshot::Read(run.dir.path(), run.list.Rows()));
    PreviewConflicts(run.list);
    return MarksOf(run.list);
}

void Symlink(const std::string& to, const std::string& at) {
    ASSERT_EQ(::symlink(to.c_str(), at.c_str()), 0);
}

TEST(FolderSnapshot, NamesByteForByteAndWhatTheyAre) {
    testing::TempDir dir;
    dir.MakeFile("\xff\xfe.jpg");
    dir.MakeFile(".hidden");
    std::filesystem::create_directory(dir.path() + "folder");
    Symlink("\xff\xfe.jpg", dir.path() + "link");
    const FolderSnapshot snapshot = FolderSnapshot::Read(dir.path(), {});
    ASSERT_TRUE(snapshot.Known());
    EXPECT_EQ(snapshot.NameCount(), 4U);
    EXPECT_EQ(snapshot.KindOf("\xff\xfe.jpg"), EntryKind::OrdinaryFile);
    EXPECT_EQ(snapshot.KindOf("\xff\xfe.JPG"), EntryKind::Absent);
    for (const char* other : {".hidden", "folder", "link"})
        EXPECT_EQ(snapshot.KindOf(other), EntryKind::Other) << other;
    for (const char* absent : {"", ".", "..", "fold"})
        EXPECT_EQ(snapshot.KindOf(absent), EntryKind::Absent) << absent;

    const FolderSnapshot unread = FolderSnapshot::Read(dir.path() + "missing/", {});
    EXPECT_FALSE(unread.Known());
    EXPECT_EQ(unread.KindOf("\xff\xfe.jpg"), EntryKind::Absent);
}

TEST(ConflictPreview, EmptyAndRepeatedNewNames) {
    RunFixture run;
    run.List({{"a", "x"}, {"b", ""}, {"c", "x"}, {"d", "y"}, {"e", "x"}});
    EXPECT_EQ(Preview(run), (Marks{kNone, kEmpty, kDuplicate, kNone, kDuplicate}));
}

TEST(ConflictPreview, ANameInTheFolderIsTakenWhateverItIs) {
    RunFixture run;
    run.dir.MakeFile("file");
    run.dir.MakeFile(".hidden");
    std::filesystem::create_directory(run.dir.path() + "folder");
    Symlink("nowhere", run.dir.path() + "dangling");
    run.List({{"a", "file"},
              {"b", ".hidden"},
              {"c", "folder"},
              {"d", "dangling"},
              {"own", "own"},
              {"f", "free"}});
    EXPECT_EQ(Preview(run), (Marks{kTaken, kTaken, kTaken, kTaken, kTaken, kNone}));
}

TEST(ConflictPreview, SourcesMissingHiddenOrNotRegular) {
    RunFixture run;
    std::filesystem::create_directory(run.dir.path() + "folder");
    run.dir.MakeFile("real");
    Symlink("real", run.dir.path() + "link");
    run.List({{".hidden", "1"}, {"folder", "2"}, {"link", "3"}, {"gone", "4"}, {"real", "5"}});
    std::filesystem::remove(run.dir.path() + "gone");
    EXPECT_EQ(Preview(run), (Marks{kSource, kSource, kSource, kSource, kNone}));

    // A new snapshot is looked at afresh.
    std::filesystem::remove(run.dir.path() + "real");
    EXPECT_EQ(Preview(run).back(), kSource);
}

TEST(ConflictPreview, RowsAreTakenTopToBottom) {
    RunFixture freed;  // each name is freed by the row above
    freed.List({{"1", "0"}, {"2", "1"}, {"3", "2"}});
    EXPECT_EQ(Preview(freed), (Marks{kNone, kNone, kNone}));

    RunFixture notYet;  // freed only by the row below
    notYet.List({{"1", "2"}, {"2", "3"}, {"3", "4"}});
    EXPECT_EQ(Preview(notYet), (Marks{kTaken, kTaken, kNone}));

    // A file an earlier row renames to takes its name, until it is renamed on.
    RunFixture chain;
    chain.List({{"a", "n"}, {"n", "m"}, {"b", "a"}, {"c", "m"}, {"d", "n"}});
    std::filesystem::remove(chain.dir.path() + "n");
    EXPECT_EQ(Preview(chain), (Marks{kNone, kNone, kNone, kDuplicate, kNone}));

    // A row that would fail keeps its file, so frees nothing.
    RunFixture kept;
    std::filesystem::create_directory(kept.dir.path() + "0");
    kept.List({{"1", "0"}, {"2", "1"}});
    EXPECT_EQ(Preview(kept), (Marks{kTaken, kTaken}));
}

TEST(ConflictPreview, SortingAndRemovalMarkTheRowsAgain) {
    RunFixture run;
    run.List({{"1", "0"}, {"2", "1"}, {"3", "2"}});
    run.list.SetSorted(true);
    ASSERT_EQ(Preview(run), (Marks{kNone, kNone, kNone}));
    ListVi_ColumnClick(run.list, 1);  // descending: 3 > 2 comes first
    EXPECT_EQ(MarksOf(run.list), (Marks{kTaken, kTaken, kNone}));

    RunFixture twice;
    twice.List({{"a", "x"}, {"b", "x"}});
    ASSERT_EQ(Preview(twice), (Marks{kNone, kDuplicate}));
    twice.list.MutableRows()[0].Selected = true;
    RemoveSelectedTargets(twice.list);
    EXPECT_EQ(MarksOf(twice.list), (Marks{kNone}));
}

TEST(ConflictPreview, ADropReadsTheFolderOnce) {
    testing::TempDir dir;
    const std::string photo = dir.MakeFile("a.jpg");
    dir.MakeFile("240305_1.jpg");
    TargetList list;
    NamingOptions options{{2024, 3, 5}, "yymmdd", "1", "1"};
    ASSERT_TRUE(TakeInDrop(list, {photo}, options));
    EXPECT_EQ(MarksOf(list), (Marks{kTaken}));

    // Refreshes go by what the drop saw; the run checks the disk itself.
    std::filesystem::remove(dir.path() + "240305_1.jpg");
    dir.MakeFile("240305_2.jpg");
    options.startNoText = "2";
    RefreshNewNames(list, options);
    PreviewConflicts(list);
    EXPECT_EQ(MarksOf(list), (Marks{kNone}));

    ASSERT_TRUE(TakeInDrop(list, {photo}, options));
    EXPECT_EQ(MarksOf(list), (Marks{kTaken}));
    list.AllClear();
    EXPECT_FALSE(list.Snapshot().Known());
}

TEST(ConflictPreview, AFolderNotReadMarksOnlyWhatTheRowsShow) {
    RunFixture run;
    run.List({{"a", "x"}, {"b", "x"}, {"c", ""}, {"d", "d"}, {"e", "a"}});
    PreviewConflicts(run.list);  // no snapshot taken
    EXPECT_EQ(MarksOf(run.list), (Marks{kNone, kDuplicate, kEmpty, kTaken, kNone}));
}

TEST(ConflictPreview, NothingIsMarkedOnceTheListAsksForANewDrop) {
    RunFixture run;
    run.List({{"a", "x"}, {"b", "x"}});
    ASSERT_EQ(Preview(run), (Marks{kNone, kDuplicate}));
    run.list.SetStsBarText(std::string(kStsDropFiles));
    PreviewConflicts(run.list);
    EXPECT_EQ(MarksOf(run.list), (Marks{kNone, kNone}));
}

// Long random lists against a plain walk of the rows with ordered maps. Sources
// are mostly distinct names of a pool, most of them in the folder; new names come
// from the whole pool, so that names repeat, are freed and are taken.
TEST(ConflictPreview, LongListsAgreeWithAPlainWalk) {
    std::mt19937 random(7);
    const auto pick = [&random](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    std::vector<std::string> pool;
    for (std::size_t i = 0; i < 2500; ++i) {
        pool.push_back((i % 29 == 0 ? "." : "") + std::string(1 + i % 23, 'n') + std::to_string(i));
    }

    testing::TempDir dir;
    std::map<std::string, bool> present;  // name: whether an ordinary file
    for (std::size_t i = 0; i < 1000; ++i) {
        if (pick(20) == 0) {
            std::filesystem::create_directory(dir.path() + pool[i]);
        } else {
            dir.MakeFile(pool[i]);
        }
        present[pool[i]] =
            pool[i].front() != '.' && std::filesystem::is_regular_file(dir.path() + pool[i]);
    }
    std::vector<std::size_t> sources(1200);
    std::iota(sources.begin(), sources.end(), 0);
    std::shuffle(sources.begin(), sources.end(), random);
    std::vector<TargetRow> rows;
    for (std::size_t source : sources) {
        if (pick(20) == 0) source = pick(sources.size());  // a file dropped twice
        rows.push_back({pool[source], pick(100) == 0 ? "" : pool[pick(pool.size())], "", false});
    }

    TargetList list;
    list.SetTargetFolder(dir.path());
    list.AssignRows(rows);
    list.SetStsBarText(std::string(kStsPressStart));
    list.SetSnapshot(FolderSnapshot::Read(dir.path(), list.Rows()));
    PreviewConflicts(list);

    Marks expected;
    std::set<std::string> wanted;  // After Names of earlier rows, until renamed away
    for (const TargetRow& row : rows) {
        RowConflict mark = kNone;
        const auto source = present.find(row.BeforeName);
        if (row.AfterName.empty()) {
            expected.push_back(kEmpty);
            continue;
        } else if (source == present.end() || !source->second) {
            mark = kSource;
        } else if (wanted.contains(row.AfterName)) {
            mark = kDuplicate;
        } else if (present.contains(row.AfterName) || row.AfterName == row.BeforeName) {
            mark = kTaken;
        } else {
            present.erase(source);
            wanted.erase(row.BeforeName);
            present[row.AfterName] = true;
        }
        wanted.insert(row.AfterName);
        expected.push_back(mark);
    }
    EXPECT_EQ(MarksOf(list), expected);
}

// The run checks every row for itself; it stops at the first row the preview marks.
TEST(ConflictPreview, ARealRunStopsAtTheFirstMarkedRow) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> rows;
        std::function<void(const std::string& folder)> arrange;
        RunResult result;
        std::size_t renamed;
    };
    const auto none = [](const std::string&) {};
    const Case cases[] = {
        {"freed names", {{"1", "0"}, {"2", "1"}, {"3", "2"}}, none, RunResult::Completed, 3},
        {"freed later", {{"1", "2"}, {"2", "3"}}, none, RunResult::Stopped, 0},
        {"repeated", {{"a", "x"}, {"b", "y"}, {"c", "x"}}, none, RunResult::Stopped, 2},
        {"renamed on",
         {{"a", "n"}, {"n", "m"}, {"b", "n"}, {"c", "m"}},
         [](const std::string& folder) { std::filesystem::remove(folder + "n"); },
         RunResult::Stopped,
         3},
        {"folder",
         {{"a", "x"}, {"b", "dir"}},
         [](const std::string& folder) { std::filesystem::create_directory(folder + "dir"); },
         RunResult::Stopped,
         1},
        {"missing",
         {{"a", "x"}, {"b", "y"}},
         [](const std::string& folder) { std::filesystem::remove(folder + "b"); },
         RunResult::Stopped,
         1},
        {"own name", {{"a", "x"}, {"b", "b"}}, none, RunResult::Stopped, 1},
    };
    for (const Case& each : cases) {
        RunFixture run;
        run.List(each.rows);
        each.arrange(run.dir.path());
        const Marks marks = Preview(run);
        const auto firstMarked =
            static_cast<std::size_t>(std::find_if(marks.begin(), marks.end(),
                                                  [](RowConflict mark) { return mark != kNone; }) -
                                     marks.begin());
        EXPECT_EQ(firstMarked, each.renamed) << each.what;

        const RunReport report = run.Start();
        EXPECT_EQ(report.result, each.result) << each.what;
        EXPECT_EQ(report.renamed, each.renamed) << each.what;
    }

    // A row without a new name is marked, and the start command refuses the whole list.
    RunFixture empty;
    empty.List({{"a", "x"}, {"b", ""}});
    EXPECT_EQ(Preview(empty), (Marks{kNone, kEmpty}));
    EXPECT_EQ(empty.Start().result, RunResult::Refused);
    EXPECT_TRUE(empty.Exists("a"));
}

}  // namespace
}  // namespace karvel
