// Taking runs back from their journals: newest first, nothing forgotten that was not
// restored, nothing touched outside a run's folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "rename/RunFixture.h"
#include "rename/RunHistory.h"
#include "rename/RunMessages.h"
#include "rename/UndoRun.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::Nanos;
using testing::RunFixture;
using testing::Utc;

class Undo : public ::testing::Test {
  protected:
    RunFixture run;
    const History& state = run.history;
    const timespec access = Utc(2023, 9, 1, 6, 0, 0, 987'654'321);
    const timespec modify = Utc(2023, 8, 10, 12, 30, 45, 123'456'789);

    void ListStamped(const std::vector<std::pair<std::string, std::string>>& names) {
        run.List(names);
        for (const auto& [before, after] : names) {
            FileInstants stamps;
            stamps.access = access;
            stamps.modify = modify;
            run.SetStamps(before, stamps);
        }
    }
    RunReport StartRecorded(RunRecords* records = nullptr) {
        StateRecords stateRecords(state);
        run.list.SetState(ListState::Ready);
        return StartRun(run.list, run.settings, run.host, run.disk,
                        records != nullptr ? records : &stateRecords);
    }
    UndoResult UndoNow() { return run.UndoNow(); }
    std::string JournalPath() const { return KeptRuns(state).front().path; }

    void ExpectOriginal(const std::string& name) {
        ASSERT_TRUE(run.Exists(name)) << name;
        const FileInstants stamps = run.Stamps(name);
        EXPECT_EQ(Nanos(stamps.modify), Nanos(modify)) << name;
        EXPECT_EQ(Nanos(stamps.access), Nanos(access)) << name;
        EXPECT_EQ(run.Content(name), name);
    }
};

TEST_F(Undo, TakesACompletedRunBackWithItsStamps) {
    ListStamped({{"a.jpg", "x_1.jpg"}, {"b.jpg", "x_2.jpg"}, {"c", "x_3"}});
    ASSERT_EQ(StartRecorded().result, RunResult::Completed);
    ASSERT_TRUE(CanUndo(state));

    EXPECT_EQ(UndoNow(), UndoResult::Completed);
    for (const char* name : {"a.jpg", "b.jpg", "c"}) ExpectOriginal(name);
    EXPECT_FALSE(run.Exists("x_1.jpg"));
    const auto& messages = run.host.messages;
    EXPECT_EQ(messages[messages.size() - 2].text,
              "3 File の名前と更新日時を元に戻します  よろしいですか？");
    EXPECT_EQ(messages.back().text, "3 File を元に戻しました");
    EXPECT_FALSE(CanUndo(state));
    EXPECT_TRUE(KeptRuns(state).empty());

    EXPECT_EQ(UndoNow(), UndoResult::Refused);
    EXPECT_EQ(run.host.messages.back().text, "元に戻す変換処理はありません");
}

TEST_F(Undo, AStoppedRunAndANoAnswer) {
    ListStamped({{"a.jpg", "x_1.jpg"}, {"b.jpg", "taken.jpg"}, {"c.jpg", "x_3.jpg"}});
    run.MakeFile("taken.jpg", "someone else's");
    ASSERT_EQ(StartRecorded().renamed, 1U);
    run.host.answers = {RunAnswer::No};
    EXPECT_EQ(UndoNow(), UndoResult::Declined);
    EXPECT_TRUE(run.Exists("x_1.jpg"));

    EXPECT_EQ(UndoNow(), UndoResult::Completed);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) ExpectOriginal(name);
    EXPECT_EQ(run.Content("taken.jpg"), "someone else's");
    EXPECT_EQ(run.host.messages.back().text, "1 File を元に戻しました");
}

// Skipped files are named with why, and stay in the history until a later undo restores
// them; a No to the report's question keeps them.
TEST_F(Undo, WhatIsSkippedIsNamedAndKeptForLater) {
    ListStamped(
        {{"a.jpg", "x_1.jpg"}, {"b.jpg", "x_2.jpg"}, {"c.jpg", "x_3.jpg"}, {"d.jpg", "x_4.jpg"}});
    ASSERT_EQ(StartRecorded().result, RunResult::Completed);
    run.disk.Write(run.Path("x_1.jpg"), run.Content("x_1.jpg") + " edited");  // changed
    run.disk.MoveEntry(run.Path("x_2.jpg"), run.Path("moved"));
    run.MakeFile("x_2.jpg", "another file");                 // replaced
    run.MakeFile("c.jpg", "a new file under the old name");  // old name taken

    run.host.answers = {RunAnswer::Yes, RunAnswer::No};
    EXPECT_EQ(UndoNow(), UndoResult::Skipped);
    ExpectOriginal("d.jpg");
    EXPECT_EQ(run.host.messages.back().icon, RunIcon::WarningQuestion);
    EXPECT_EQ(
        run.host.messages.back().text,
        "1 File を元に戻しました\r\n戻していないファイル:\r\n( x_3.jpg ) 元の名前が使われています"
        "\r\n( x_2.jpg ) 実行後に変更されています\r\n( x_1.jpg ) 実行後に変更されています\r\n" +
            std::string(kMsgForgetSkipped));
    EXPECT_TRUE(CanUndo(state));

    // The obstacles gone, the next undo finishes the run.
    run.disk.RemoveEntry(run.Path("c.jpg"));
    run.disk.RemoveEntry(run.Path("x_2.jpg"));
    run.disk.MoveEntry(run.Path("moved"), run.Path("x_2.jpg"));
    EXPECT_EQ(UndoNow(), UndoResult::Skipped);  // x_1.jpg stays changed
    ExpectOriginal("b.jpg");
    ExpectOriginal("c.jpg");
    EXPECT_EQ(run.host.messages.back().text.substr(0, 31), "2 File を元に戻しました");
}

TEST_F(Undo, AFolderAwayKeepsTheRunUntilItIsBack) {
    ListStamped({{"a.jpg", "x_1.jpg"}});
    ASSERT_EQ(StartRecorded().result, RunResult::Completed);
    run.disk.MoveEntry("/photos", "/photos-away");
    run.host.messages.clear();
    EXPECT_EQ(UndoNow(), UndoResult::Skipped);
    // It restores nothing, so it asks nothing: the report says why.
    for (const auto& message : run.host.messages) EXPECT_NE(message.icon, RunIcon::Question);
    EXPECT_THAT(run.host.messages.back().text,
                ::testing::HasSubstr("( x_1.jpg ) フォルダが見つかりません"));
    run.disk.MoveEntry("/photos-away", "/photos");
    ASSERT_TRUE(CanUndo(state));

    // Back under another device number: inode, size and the stamp written still tell the file.
    const std::string path = JournalPath();
    const std::string text = *run.disk.ContentOf(path);
    const std::string moved = std::regex_replace(
        text, std::regex("\t[0-9]+(\t[0-9]+\t[0-9]+\t[01]\t[0-9]+\n)"), "\t4242$1");
    ASSERT_NE(moved, text);
    run.disk.Write(path, moved);
    EXPECT_EQ(UndoNow(), UndoResult::Completed);
    ExpectOriginal("a.jpg");
}

// The question is told the run's folder, when it started, and only the files it will
// restore: a file changed since is not counted.
TEST_F(Undo, TheQuestionIsToldTheRunsFolderTimeAndFilesToRestore) {
    ListStamped({{"a.jpg", "x_1.jpg"}, {"b.jpg", "x_2.jpg"}, {"c.jpg", "x_3.jpg"}});
    ASSERT_EQ(StartRecorded().result, RunResult::Completed);
    run.disk.Write(run.Path("x_2.jpg"), "edited since");
    const std::optional<std::time_t> started = KeptRuns(state).front().started;
    ASSERT_TRUE(started.has_value());

    std::vector<UndoQuestion> asked;
    run.host.answers = {RunAnswer::No};
    EXPECT_EQ(UndoLastRun(state, run.host, run.disk,
                          [&asked](const UndoQuestion& question) {
                              asked.push_back(question);
                              return std::string("asked");
                          }),
              UndoResult::Declined);
    ASSERT_EQ(asked.size(), 1U);
    EXPECT_EQ(asked[0].folder, "/photos/");
    EXPECT_EQ(asked[0].started, started);
    EXPECT_EQ(asked[0].files, 2U);
    EXPECT_EQ(run.host.messages.back().text, "asked");
    EXPECT_EQ(run.host.messages.back().icon, RunIcon::Question);
    EXPECT_TRUE(run.Exists("x_1.jpg"));
}

TEST_F(Undo, ThreeRunsComeBackOneAfterAnotherNewestFirst) {
    ListStamped({{"a.jpg", "x.jpg"}, {"b.jpg", "y.jpg"}});
    ASSERT_EQ(StartRecorded().result, RunResult::Completed);
    for (const auto& [from, to] : {std::pair{"x", "p"}, std::pair{"p", "q"}}) {
        run.List({{std::string(from) + ".jpg", std::string(to) + ".jpg"},
                  {from == std::string("x") ? "y.jpg" : "r.jpg",
                   from == std::string("x") ? "r.jpg" : "s.jpg"}});
        run.settings.date = {2025, from == std::string("x") ? 1 : 2, 1};
        ASSERT_EQ(StartRecorded().result, RunResult::Completed);
    }
    EXPECT_TRUE(run.Exists("q.jpg") && run.Exists("s.jpg"));
    for (int undo = 0; undo < 3; ++undo) EXPECT_EQ(UndoNow(), UndoResult::Completed) << undo;
    ExpectOriginal("a.jpg");
    ExpectOriginal("b.jpg");
    EXPECT_EQ(UndoNow(), UndoResult::Refused);
}

// Never a change without its record; no record, no word: the user is asked first.
TEST_F(Undo, ARunThatCannotBeRecordedAsksFirst) {
    // The lock is taken, but no journal can be made (a full disk, say).
    class Unrecorded : public RunRecords {
      public:
        explicit Unrecorded(const History& folder) : lock_(folder) {}
        Start Begin(const std::string&, RunFileSystem&) override { return Start::NoRecord; }
        RunJournal* Journal() override { return nullptr; }
        void End(bool) override {}

      private:
        RunLock lock_;
    };
    for (const RunAnswer answer : {RunAnswer::No, RunAnswer::Yes}) {
        ListStamped({{"a.jpg", "x_1.jpg"}});
        run.host.answers = {RunAnswer::Yes, answer};
        Unrecorded records(state);
        const RunReport report = StartRecorded(&records);
        EXPECT_EQ(run.host.messages[1].icon, RunIcon::WarningQuestion);
        EXPECT_EQ(run.host.messages[1].text, kMsgNoUndoRecord);
        EXPECT_EQ(report.result,
                  answer == RunAnswer::No ? RunResult::Declined : RunResult::Completed);
        EXPECT_EQ(run.Exists("x_1.jpg"), answer == RunAnswer::Yes);
        run.host.messages.clear();
    }
}

// A lock that cannot be taken for any reason but another holder: nothing starts, and the
// message names the lock and why.
TEST_F(Undo, NoLockNoStart) {
    const std::string lock = state.PathOf("lock");
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"a plain file where the state folder should be",
         [&] { run.disk.MakeFile(state.Folder(), "not a folder"); }},
        {"a folder", [&] { run.disk.MakeFolder(lock); }},
        {"a dangling link",
         [&] {
             run.disk.MakeFolder(state.Folder());
             run.disk.MakeLink(lock, "nowhere");
         }},
    };
    for (const auto& [title, make] : cases) {
        run.disk.RemoveEntry(state.Folder());
        make();
        ListStamped({{"a.jpg", "x_1.jpg"}});
        run.host.messages.clear();
        EXPECT_EQ(StartRecorded().result, RunResult::Refused) << title;
        ASSERT_EQ(run.host.messages.size(), 2U) << title;
        EXPECT_EQ(run.host.messages.back().icon, RunIcon::Error) << title;
        EXPECT_THAT(
            run.host.messages.back().text,
            ::testing::StartsWith("ロックファイルを使用できないため処理を開始できません\r( " +
                                  lock + " )\r\n"))
            << title;
        EXPECT_TRUE(run.Exists("a.jpg")) << title;
        EXPECT_EQ(UndoNow(), UndoResult::Refused) << title;
    }
}

// The journal's second block cannot be written: the run stops before the first row it
// would have told of, and undo restores exactly the rows done.
TEST_F(Undo, ARecordFailingMidRunStopsThere) {
    class FailingSecondBlock : public RunRecords, public RunJournal {
      public:
        explicit FailingSecondBlock(const History& folder) : real_(folder) {}
        Start Begin(const std::string& folder, RunFileSystem& fileSystem) override {
            return real_.Begin(folder, fileSystem);
        }
        RunJournal* Journal() override { return this; }
        void End(bool changed) override { real_.End(changed); }
        bool Record(std::span<const JournalEntry> entries) override {
            return ++blocks_ < 2 && real_.Journal()->Record(entries);
        }

      private:
        StateRecords real_;
        int blocks_ = 0;
    };
    std::vector<std::pair<std::string, std::string>> names;
    for (int i = 0; i < 600; ++i)
        names.emplace_back("f" + std::to_string(1000 + i), "n" + std::to_string(1000 + i));
    ListStamped(names);
    FailingSecondBlock records(state);
    const RunReport report = StartRecorded(&records);
    EXPECT_EQ(report.result, RunResult::Stopped);
    EXPECT_EQ(report.renamed, 256U);
    EXPECT_EQ(run.host.messages.back().text, RecordFailedText("f1256", "n1256"));
    EXPECT_TRUE(run.Exists("f1256") && run.Exists("n1255"));

    EXPECT_EQ(UndoNow(), UndoResult::Completed);
    EXPECT_EQ(run.host.messages.back().text, "256 File を元に戻しました");
    for (int i = 0; i < 600; i += 37) ExpectOriginal("f" + std::to_string(1000 + i));
}

TEST_F(Undo, ARunThatChangesNothingLeavesThePreviousOneUndoable) {
    ListStamped({{"a.jpg", "x_1.jpg"}});
    ASSERT_EQ(StartRecorded().result, RunResult::Completed);
    ListStamped({{"b.jpg", "x_1.jpg"}});  // its name is taken: stops at its first row
    EXPECT_EQ(StartRecorded().renamed, 0U);
    EXPECT_EQ(KeptRuns(state).size(), 1U);
    EXPECT_EQ(UndoNow(), UndoResult::Completed);
    ExpectOriginal("a.jpg");
}

TEST_F(Undo, OneRunOrUndoAtATime) {
    ListStamped({{"a.jpg", "x_1.jpg"}});
    const RunLock other(state);
    ASSERT_EQ(other.Get(), RunLock::State::Held);
    EXPECT_EQ(StartRecorded().result, RunResult::Refused);
    EXPECT_EQ(run.host.messages.back().text, kMsgAnotherRun);
    EXPECT_TRUE(run.Exists("a.jpg"));
    EXPECT_EQ(UndoNow(), UndoResult::Busy);
}

// A journal edited by hand to reach outside its folder is refused whole and left in place.
TEST_F(Undo, AForgedJournalTouchesNothing) {
    run.MakeFile("outside.jpg", "outside");
    run.disk.MakeFolder(run.Path("folder"));
    const std::string row = "\t0\t0\t0\t0\t0\t0\t1\t1\t1\t1\t1\n";
    const std::string folder = "folder\t" + run.Path("folder/\n");
    for (const std::string& forged :
         {"karvel-journal 2\n" + folder + "row\t../outside.jpg\tx" + row,
          "karvel-journal 2\n" + folder + "row\tx\t/etc/passwd" + row,
          "karvel-journal 2\nfolder\tfolder/\nrow\tx\ty" + row,
          "karvel-journal 2\n" + folder + "row\t..\ty" + row}) {
        const std::string path = state.PathOf("run-00000000000000000001-1.journal");
        run.disk.MakeFile(path, forged);
        EXPECT_FALSE(CanUndo(state)) << forged;
        EXPECT_EQ(UndoNow(), UndoResult::Refused);
        EXPECT_TRUE(run.disk.Exists(path));
    }
    EXPECT_EQ(run.Content("outside.jpg"), "outside");
}

TEST_F(Undo, ALinkOrAPipeInAJournalsPlaceIsNeverFollowedNorWaitedOn) {
    run.MakeFile("elsewhere", "karvel-journal 2\nfolder\t/\n");
    run.disk.MakeLink(state.PathOf("run-1.journal"), run.Path("elsewhere"));
    run.disk.MakePipe(state.PathOf("run-2.journal"));
    const auto runs = KeptRuns(state);
    ASSERT_EQ(runs.size(), 2U);
    for (const KeptRun& kept : runs) EXPECT_EQ(kept.status, JournalRead::NotAFile) << kept.path;
    EXPECT_FALSE(CanUndo(state));
    // A new run's journal is created beside them, never through them.
    ListStamped({{"a.jpg", "x_1.jpg"}});
    ASSERT_EQ(StartRecorded().result, RunResult::Completed);
    EXPECT_EQ(run.Content("elsewhere"), "karvel-journal 2\nfolder\t/\n");
    EXPECT_TRUE(CanUndo(state));
}

TEST_F(Undo, TheHistoryIsListedAndCanBeForgotten) {
    ListStamped({{"a.jpg", "x_1.jpg"}, {"b.jpg", "x_2.jpg"}});
    ASSERT_EQ(StartRecorded().result, RunResult::Completed);
    EXPECT_THAT(
        HistoryText(state, run.disk),
        ::testing::MatchesRegex("[-0-9]+ [:0-9]+\t" + run.folder + "\t2 renamed\t2 to restore\n"));
    EXPECT_TRUE(ForgetLastRun(state).forgotten);
    EXPECT_FALSE(CanUndo(state));
    EXPECT_EQ(HistoryText(state, run.disk), "no runs are kept for undo\n");
}

TEST(JournalFormat, KeepsAnyNameAndDropsALineCutShort) {
    const std::string awkward = "tab\there\nnew%line\x01\xff.jpg";
    JournalEntry entry{awkward, "x_1.jpg", {}, Utc(2024, 3, 5, 0, 0, 0, 7), {1, 2, 3}, false, 0};
    entry.original.modify = Utc(2020, 1, 1, 0, 0, 0, 999'999'999);
    const std::string text =
        JournalHeader("/photos/写真 %/") + JournalLines({&entry, 1}) + DoneLine(0) + "row\tcut";
    const auto journal = ReadJournalText(text);
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->folder, "/photos/写真 %/");
    ASSERT_EQ(journal->entries.size(), 1U);
    EXPECT_EQ(journal->entries[0].oldName, awkward);
    EXPECT_EQ(Nanos(journal->entries[0].original.modify),
              Nanos(Utc(2020, 1, 1, 0, 0, 0, 999'999'999)));
    EXPECT_EQ(Nanos(journal->entries[0].written), Nanos(Utc(2024, 3, 5, 0, 0, 0, 7)));
    EXPECT_EQ(journal->entries[0].identity, (FileIdentity{1, 2, 3}));
    EXPECT_FALSE(journal->entries[0].restamped);
    EXPECT_EQ(journal->Pending(), 0U);

    for (const char* bad :
         {"", "karvel-journal 3\n", "karvel-journal 3\nfolder\t/x/\ndone\tx\n",
          "karvel-journal 1\nfolder\t/x/\nrow\ta\tb\t0\t0\t0\t0\t0\t0\t1\t1\t1\t1\n",
          // A group that would begin after its own entry.
          "karvel-journal 3\nfolder\t/x/\nrow\ta\tb\t0\t0\t0\t0\t0\t0\t1\t1\t1\t1\t1\n"}) {
        EXPECT_FALSE(ReadJournalText(bad)) << bad;
    }
    // The version before groups still reads: a ring's steps, from its step to a
    // temporary name up to the one that leaves it, are one group.
    const auto released = ReadJournalText(
        "karvel-journal 2\nfolder\t/x/\n"
        "row\ta\t.t\t0\t0\t0\t0\t0\t0\t1\t1\t1\t1\t0\n"
        "row\tb\ta\t0\t0\t0\t0\t0\t0\t1\t2\t1\t1\t1\n"
        "row\t.t\tb\t0\t0\t0\t0\t0\t0\t1\t1\t1\t1\t1\n"
        "row\tc\td\t0\t0\t0\t0\t0\t0\t1\t3\t1\t1\t1\n");
    ASSERT_TRUE(released);
    std::vector<std::uint32_t> groups;
    for (const JournalEntry& each : released->entries) groups.push_back(each.group);
    EXPECT_EQ(groups, (std::vector<std::uint32_t>{0, 0, 0, 3}));

    // The run's end marks what it never did; the last scratch file announced is kept.
    const std::string ended = JournalHeader("/x/") + JournalLines({&entry, 1}) +
                              ScratchLine("x_1.jpg", Utc(2024, 3, 5, 0, 0, 0, 0)) +
                              JournalLines({&entry, 1}) + RanLine(1);
    const auto journal2 = ReadJournalText(ended);
    ASSERT_TRUE(journal2);
    EXPECT_EQ(journal2->performed, 1U);
    EXPECT_EQ(journal2->done, (std::vector<bool>{false, true}));
    ASSERT_TRUE(journal2->scratch);
    EXPECT_EQ(journal2->scratch->name, "x_1.jpg");
}

}  // namespace
}  // namespace karvel
