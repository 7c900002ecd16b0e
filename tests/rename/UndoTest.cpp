// Taking the last run back, from its journal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "filetime/ZoneFixture.h"
#include "rename/RunFixture.h"
#include "rename/UndoRun.h"

namespace karvel {
namespace {

using testing::Nanos;
using testing::RunFixture;
using testing::Utc;

class Undo : public ::testing::Test {
protected:
    RunFixture run;
    std::string journalPath = run.dir.path() + "state/Karvel/last-run.journal";
    const timespec access = Utc(2023, 9, 1, 6, 0, 0, 987'654'321);
    const timespec modify = Utc(2023, 8, 10, 12, 30, 45, 123'456'789);

    void ListStamped(const std::vector<std::pair<std::string, std::string>>& names) {
        run.List(names);
        for (const auto& [before, after] : names) {
            FileInstants stamps;
            stamps.access = access;
            stamps.modify = modify;
            ASSERT_FALSE(WriteFileInstants(run.dir.path() + before, stamps));
        }
    }

    RunReport StartWithJournal() {
        JournalFile journal(journalPath);
        return BtnStart_Click(run.list, run.settings, run.host, run.fileSystem, &journal);
    }

    UndoResult UndoNow() { return UndoLastRun(journalPath, run.host, run.fileSystem); }

    void ExpectOriginal(const std::string& name) {
        FileInstants stamps;
        ASSERT_FALSE(ReadFileInstants(run.dir.path() + name, stamps)) << name;
        EXPECT_EQ(Nanos(stamps.modify), Nanos(modify)) << name;
        EXPECT_EQ(Nanos(stamps.access), Nanos(access)) << name;
        EXPECT_EQ(run.Content(name), name);
    }
};

TEST_F(Undo, TakesACompletedRunBackWithItsStamps) {
    ListStamped({{"a.jpg", "x_1.jpg"}, {"b.jpg", "x_2.jpg"}, {"c", "x_3"}});
    ASSERT_EQ(StartWithJournal().result, RunResult::Completed);
    ASSERT_TRUE(CanUndo(journalPath));

    EXPECT_EQ(UndoNow(), UndoResult::Completed);
    for (const char* name : {"a.jpg", "b.jpg", "c"}) ExpectOriginal(name);
    EXPECT_FALSE(run.Exists("x_1.jpg"));
    const auto& messages = run.host.messages;
    EXPECT_EQ(messages[messages.size() - 2].text, "3 File の名前と更新日時を元に戻します  よろしいですか？");
    EXPECT_EQ(messages.back().text, "3 File を元に戻しました");
    EXPECT_EQ(messages.back().icon, RunIcon::Information);
    EXPECT_FALSE(CanUndo(journalPath));

    EXPECT_EQ(UndoNow(), UndoResult::Refused);
    EXPECT_EQ(run.host.messages.back().text, "元に戻す変換処理はありません");
}

TEST_F(Undo, TakesAStoppedRunBackAndLeavesTheRestAlone) {
    ListStamped({{"a.jpg", "x_1.jpg"}, {"b.jpg", "taken.jpg"}, {"c.jpg", "x_3.jpg"}});
    run.dir.MakeFile("taken.jpg", "someone else's");
    ASSERT_EQ(StartWithJournal().renamed, 1U);

    EXPECT_EQ(UndoNow(), UndoResult::Completed);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) ExpectOriginal(name);
    EXPECT_EQ(run.Content("taken.jpg"), "someone else's");
    EXPECT_EQ(run.host.messages.back().text, "1 File を元に戻しました");
}

TEST_F(Undo, AnsweringNoKeepsTheRunAndItsJournal) {
    ListStamped({{"a.jpg", "x_1.jpg"}});
    StartWithJournal();
    run.host.answers = {RunAnswer::No};
    EXPECT_EQ(UndoNow(), UndoResult::Declined);
    EXPECT_TRUE(run.Exists("x_1.jpg"));
    EXPECT_TRUE(CanUndo(journalPath));
}

TEST_F(Undo, FilesChangedOrMovedSinceAreSkippedAndNamed) {
    ListStamped({{"a.jpg", "x_1.jpg"}, {"b.jpg", "x_2.jpg"}, {"c.jpg", "x_3.jpg"}, {"d.jpg", "x_4.jpg"}});
    ASSERT_EQ(StartWithJournal().result, RunResult::Completed);
    std::ofstream(run.dir.path() + "x_1.jpg", std::ios::app) << " edited";   // changed
    std::filesystem::remove(run.dir.path() + "x_2.jpg");                     // replaced
    run.dir.MakeFile("x_2.jpg", "another file");
    run.dir.MakeFile("c.jpg", "a new file under the old name");              // old name taken

    EXPECT_EQ(UndoNow(), UndoResult::Skipped);
    ExpectOriginal("d.jpg");
    EXPECT_EQ(run.Content("x_1.jpg"), "a.jpg edited");
    EXPECT_EQ(run.Content("x_2.jpg"), "another file");
    EXPECT_EQ(run.Content("x_3.jpg"), "c.jpg");
    EXPECT_EQ(run.Content("c.jpg"), "a new file under the old name");
    EXPECT_FALSE(run.Exists("a.jpg") || run.Exists("b.jpg"));
    EXPECT_EQ(run.host.messages.back().icon, RunIcon::Warning);
    EXPECT_EQ(run.host.messages.back().text,
              "1 File を元に戻しました\r\n実行後に移動または変更されたため戻していないファイル:"
              "\r\n( x_3.jpg )\r\n( x_2.jpg )\r\n( x_1.jpg )");
}

TEST_F(Undo, AJournalThatCannotBeWrittenNeverStopsTheRun) {
    run.dir.MakeFile("state", "a plain file where the folder should be");
    ListStamped({{"a.jpg", "x_1.jpg"}});
    EXPECT_EQ(StartWithJournal().result, RunResult::Completed);
    EXPECT_TRUE(run.Exists("x_1.jpg"));
    EXPECT_FALSE(CanUndo(journalPath));
}

TEST(JournalFormat, KeepsAnyNameAndDropsALineCutShort) {
    testing::TempDir dir;
    const std::string path = dir.path() + "journal";
    const std::string awkward = "tab\there\nnew%line\x01\xff.jpg";
    {
        JournalFile journal(path);
        ASSERT_TRUE(journal.Begin("/photos/写真 %/"));
        JournalEntry entry{awkward, "x_1.jpg", true, {}, Utc(2024, 3, 5, 0, 0, 0, 7), {1, 2, 3}};
        entry.original.modify = Utc(2020, 1, 1, 0, 0, 0, 999'999'999);
        ASSERT_TRUE(journal.Record(entry));
        entry.stampsKnown = false;
        ASSERT_TRUE(journal.Record(entry));
    }
    std::ofstream(path, std::ios::app) << "row\tcut";
    const auto journal = ReadJournal(path);
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->folder, "/photos/写真 %/");
    ASSERT_EQ(journal->entries.size(), 2U);
    EXPECT_EQ(journal->entries[0].oldName, awkward);
    EXPECT_EQ(Nanos(journal->entries[0].original.modify), Nanos(Utc(2020, 1, 1, 0, 0, 0, 999'999'999)));
    EXPECT_EQ(Nanos(journal->entries[0].written), Nanos(Utc(2024, 3, 5, 0, 0, 0, 7)));
    EXPECT_EQ(journal->entries[0].identity, (FileIdentity{1, 2, 3}));
    EXPECT_FALSE(journal->entries[1].stampsKnown);

    for (const char* bad : {"", "karvel-journal 2\n", "karvel-journal 1\nrow\ta\n",
                            "karvel-journal 1\nfolder\t/x/\nrow\ta\tb\n"}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bad;
        EXPECT_FALSE(ReadJournal(path)) << bad;
    }
}

}  // namespace
}  // namespace karvel
