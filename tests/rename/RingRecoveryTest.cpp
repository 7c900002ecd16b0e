// A ring of names is one step for the run and for undo: a ring that cannot be put back
// names every file not under its old name, and undo takes a ring back whole or not at all.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "rename/RunFixture.h"
#include "rename/RunHistory.h"
#include "rename/RunMessages.h"
#include "rename/UndoRun.h"

namespace karvel {
namespace {

using testing::RunFixture;

class RingRecovery : public ::testing::Test {
  protected:
    RunFixture run;
    testing::TempDir stateDir;
    std::string state = stateDir.path() + "state";

    RunReport StartRecorded() {
        StateRecords records(state);
        return StartRun(run.list, run.settings, run.host, run.fileSystem, &records);
    }
    UndoResult UndoNow() { return UndoLastRun(state, run.host, run.fileSystem); }
    std::vector<std::string> TemporaryNames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(run.dir.path())) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".karvel-")) names.push_back(name);
        }
        return names;
    }
};

// Another program takes the name a ring freed: the ring cannot go back whole, and the
// message says where each file is; once the other file goes, undo brings it back.
TEST_F(RingRecovery, AnIntruderInARingIsNamedAndUndoneLater) {
    run.List({{"a", "b"}, {"b", "a"}});
    run.fileSystem.beforeRename = [this](const std::string& target) {
        if (target == "a" && !run.Exists("a")) run.dir.MakeFile("a", "intruder");
    };
    const RunReport report = StartRecorded();
    EXPECT_EQ(report.result, RunResult::Stopped);
    const std::vector<std::string> hidden = TemporaryNames();
    ASSERT_EQ(hidden.size(), 1U);
    EXPECT_EQ(run.Content(hidden[0]), "a");
    EXPECT_EQ(run.host.messages.back().text,
              TargetExistsText("b", "a") + DisplacedFilesText({{"a", hidden[0]}}));
    EXPECT_EQ(run.Content("b"), "b");

    run.fileSystem.beforeRename = nullptr;
    std::filesystem::remove(run.dir.path() + "a");
    EXPECT_EQ(UndoNow(), UndoResult::Completed);
    EXPECT_EQ(run.host.messages.back().text, "1 File を元に戻しました");
    EXPECT_EQ(run.Content("a"), "a");
    EXPECT_EQ(run.Content("b"), "b");
    EXPECT_TRUE(TemporaryNames().empty());
    EXPECT_FALSE(CanUndo(state));
}

// One file of a ring edited since: nothing of the ring moves, it is named and kept.
TEST_F(RingRecovery, ARingWithAnEditedFileIsSkippedWhole) {
    run.List({{"a", "b"}, {"b", "c"}, {"c", "a"}});
    ASSERT_EQ(StartRecorded().result, RunResult::Completed);
    std::ofstream(run.dir.path() + "b", std::ios::app) << " edited";

    EXPECT_EQ(UndoNow(), UndoResult::Skipped);
    EXPECT_EQ(run.Content("b"), "a edited");
    EXPECT_EQ(run.Content("c"), "b");
    EXPECT_EQ(run.Content("a"), "c");
    EXPECT_TRUE(TemporaryNames().empty());
    // Nothing could be restored: no question to restore nothing, only the report.
    ASSERT_EQ(run.host.messages.back().icon, RunIcon::WarningQuestion);
    EXPECT_THAT(run.host.messages.back().text,
                ::testing::StartsWith("0 File を元に戻しました\r\n戻していないファイル:\r\n( b ) "
                                      "実行後に変更されています\r\n( "));
    EXPECT_THAT(run.host.messages.back().text,
                ::testing::HasSubstr(" ) 一緒に名前を変えたファイルを戻せないため戻していません"));
    EXPECT_TRUE(CanUndo(state));
}

// Undo counts only what the run did: rows recorded ahead of a stop are not files to restore.
TEST_F(RingRecovery, TheQuestionCountsOnlyFilesTheRunChanged) {
    run.List({{"a", "x_1"}, {"b", "taken"}, {"c", "x_3"}});
    run.dir.MakeFile("taken", "someone else's");
    ASSERT_EQ(StartRecorded().renamed, 1U);
    run.host.answers = {RunAnswer::No};
    EXPECT_EQ(UndoNow(), UndoResult::Declined);
    EXPECT_EQ(run.host.messages.back().text, UndoConfirmationText(1));
}

// A ring recorded ahead and killed before its first rename: undo blames no file, the
// history counts nothing renamed, and the run leaves the history.
TEST_F(RingRecovery, AKilledRingThatDidNothingIsNoRunToUndo) {
    run.List({{"a", "b"}, {"b", "c"}, {"c", "a"}});
    std::vector<JournalEntry> entries;
    for (const auto& [from, to] : {std::pair{"a", ".karvel-1-2-0"}, std::pair{"c", "a"},
                                   std::pair{"b", "c"}, std::pair{".karvel-1-2-0", "b"}}) {
        const std::string source = std::string(from).starts_with('.') ? "a" : from;
        FileEntry file;
        ASSERT_FALSE(ReadFileEntry(run.dir.path() + source, file));
        entries.push_back({from,
                           to,
                           file.instants,
                           file.instants.modify,
                           {file.device, file.inode, file.size},
                           !std::string(to).starts_with('.'),
                           0});
    }
    std::filesystem::create_directories(state);
    std::ofstream(state + "/run-00000000000000000001-1.journal", std::ios::binary)
        << JournalHeader(run.dir.path()) + JournalLines(entries);
    EXPECT_THAT(HistoryText(state, run.fileSystem),
                ::testing::EndsWith("\t0 renamed\t0 to restore\n"));
    EXPECT_EQ(UndoNow(), UndoResult::Refused);
    EXPECT_EQ(run.host.messages.back().text, kMsgNothingToUndo);
    for (const char* name : {"a", "b", "c"}) EXPECT_EQ(run.Content(name), name);
    EXPECT_EQ(HistoryText(state, run.fileSystem), "no runs are kept for undo\n");
}

}  // namespace
}  // namespace karvel
