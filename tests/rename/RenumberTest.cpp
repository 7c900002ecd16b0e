// Renumbering a folder already renamed: chains of names, swaps and rings resolve, a row
// keeps a name it already has, and a chain blocked by a file the run does not move stops
// where the list says, with no file left under a temporary name.
#include <gtest/gtest.h>

#include <filesystem>

#include "rename/RunFixture.h"
#include "rename/RunHistory.h"
#include "rename/UndoRun.h"

namespace karvel {
namespace {

using testing::RunFixture;

using Pairs = std::vector<std::pair<std::string, std::string>>;

// After the run, every After Name holds the content its row's file had.
void ExpectMoved(const RunFixture& run, const Pairs& pairs, std::size_t rows) {
    for (std::size_t i = 0; i < rows; ++i)
        EXPECT_EQ(run.Content(pairs[i].second), pairs[i].first) << i;
}

bool AnyTemporaryName(const RunFixture& run) {
    for (const auto& entry : std::filesystem::directory_iterator(run.dir.path())) {
        if (entry.path().filename().string().starts_with(".karvel-")) return true;
    }
    return false;
}

Pairs Numbered(const std::vector<int>& from, const std::vector<int>& to) {
    Pairs pairs;
    for (std::size_t i = 0; i < from.size(); ++i) {
        pairs.emplace_back("240305_" + std::to_string(100 + from[i]) + ".jpg",
                           "240305_" + std::to_string(100 + to[i]) + ".jpg");
    }
    return pairs;
}

TEST(Renumber, ChainsSwapsAndRingsComplete) {
    Pairs tenPlusOne = {{"new.jpg", "240305_101.jpg"}};
    const Pairs shifted =
        Numbered({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    tenPlusOne.insert(tenPlusOne.end(), shifted.begin(), shifted.end());
    const std::pair<const char*, Pairs> cases[] = {
        {"ten plus one", tenPlusOne},
        {"swap", {{"a.jpg", "b.jpg"}, {"b.jpg", "a.jpg"}}},
        {"ring of five", Numbered({1, 2, 3, 4, 5}, {2, 3, 4, 5, 1})},
        {"two rings and a chain",
         {{"a", "b"}, {"b", "a"}, {"c", "d"}, {"d", "e"}, {"e", "c"}, {"f", "g"}, {"g", "h"}}},
        {"own name among them", {{"a", "a"}, {"b", "c"}, {"c", "b"}}},
    };
    for (const auto& [what, pairs] : cases) {
        RunFixture run;
        run.List(pairs);
        const RunReport report = run.Start();
        EXPECT_EQ(report.result, RunResult::Completed) << what;
        EXPECT_EQ(report.renamed, pairs.size()) << what;
        EXPECT_EQ(run.host.lastDone, pairs.size()) << what;
        ExpectMoved(run, pairs, pairs.size());
        EXPECT_FALSE(AnyTemporaryName(run)) << what;
    }
}

TEST(Renumber, AShiftOfTenThousandFiles) {
    std::vector<int> from, to;
    for (int i = 0; i < 10'000; ++i) {
        from.push_back(10'000 - i);  // highest first: each name is still held when its row comes
        to.push_back(10'001 - i);
    }
    RunFixture run;
    const Pairs pairs = Numbered(from, to);
    run.List(pairs);
    ASSERT_EQ(run.Start().result, RunResult::Completed);
    ExpectMoved(run, pairs, pairs.size());
}

// Row 2's target is held by a file no row moves: the chain of rows 0 and 1 waits for it,
// so the run stops at row 0, as it would in list order; row 3 never moves.
TEST(Renumber, AChainBlockedByAFileNotMovedStopsWhereTheListSays) {
    RunFixture run;
    run.dir.MakeFile("d", "unlisted");
    run.List({{"a", "b"}, {"b", "c"}, {"c", "d"}, {"x", "y"}});
    const RunReport report = run.Start();
    EXPECT_EQ(report.result, RunResult::Stopped);
    EXPECT_EQ(report.renamed, 0U);
    EXPECT_EQ(run.host.messages.back().text,
              "変換後のファイル名称は既に存在します  処理を中断します\r( a > b )");
    for (const char* name : {"a", "b", "c", "x"}) EXPECT_EQ(run.Content(name), name);
    EXPECT_FALSE(AnyTemporaryName(run));

    // Rows above the blocked one that need only each other are done.
    RunFixture above;
    above.dir.MakeFile("z", "unlisted");
    above.List({{"a", "b"}, {"b", "a"}, {"c", "z"}, {"d", "e"}});
    EXPECT_EQ(above.Start().renamed, 2U);
    EXPECT_EQ(above.Content("a"), "b");
    EXPECT_EQ(above.Content("d"), "d");
}

// A rename inside a ring fails: the ring goes back as it was, nothing under a temporary name.
TEST(Renumber, ARingThatFailsHalfwayGoesBack) {
    RunFixture run;
    const Pairs ring = Numbered({1, 2, 3, 4}, {2, 3, 4, 1});
    run.List(ring);
    run.fileSystem.failKind = testing::FsCall::Rename;
    run.fileSystem.failName = ring[1].first;
    const RunReport report = run.Start();
    EXPECT_EQ(report.result, RunResult::Stopped);
    EXPECT_EQ(report.renamed, 0U);
    for (const auto& [before, after] : ring) EXPECT_EQ(run.Content(before), before);
    EXPECT_FALSE(AnyTemporaryName(run));
}

TEST(Renumber, ARingIsUndoneToo) {
    RunFixture run;
    testing::TempDir state;
    const Pairs ring = Numbered({1, 2, 3, 4, 5}, {2, 3, 4, 5, 1});
    run.List(ring);
    StateRecords records(state.path() + "s");
    ASSERT_EQ(StartRun(run.list, run.settings, run.host, run.fileSystem, &records).result,
              RunResult::Completed);
    EXPECT_EQ(UndoLastRun(state.path() + "s", run.host, run.fileSystem), UndoResult::Completed);
    EXPECT_EQ(run.host.messages.back().text, "5 File を元に戻しました");
    for (const auto& [before, after] : ring) EXPECT_EQ(run.Content(before), before);
    EXPECT_FALSE(AnyTemporaryName(run));
}

}  // namespace
}  // namespace karvel
