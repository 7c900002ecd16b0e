// What a killed run or undo leaves is tidied by the next one that takes the lock: Karvel's
// own empty scratch file goes, never a file of the user's; a journal cut before its first
// step goes too.
#include <errno.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <time.h>

#include <filesystem>
#include <fstream>

#include "rename/Leftovers.h"
#include "rename/RealRunFixture.h"
#include "rename/RunHistory.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::TempDir;

class Leftovers : public ::testing::Test {
  protected:
    TempDir folder;
    TempDir stateDir;
    std::string state = stateDir.path() + "state";
    std::string journal = state + "/run-00000000000000000001-1.journal";
    PosixRunFileSystem fileSystem;

    static timespec Now() {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        return now;
    }
    // A run killed while it held the lock and worked on `text`.
    void KilledWhileWriting(const std::string& text) {
        std::filesystem::create_directories(state);
        std::ofstream(journal, std::ios::binary) << text;
        std::ofstream(state + "/lock", std::ios::binary) << journal << '\n';
    }
    void Settle() {
        RunLock lock(state);
        ASSERT_EQ(lock.Get(), RunLock::State::Held);
        SettleLeftovers(state, lock, fileSystem);
    }
};

TEST_F(Leftovers, KarvelsOwnScratchFileGoesAUsersFileStays) {
    struct Case {
        const char* title;
        std::string content;
        bool old;  // made long before the note
        bool removed;
    };
    for (const Case& each : {Case{"a placeholder", "", false, true},
                             Case{"a file with content", "someone's", false, false},
                             Case{"an empty file made long before", "", true, false}}) {
        const std::string name = "x_1.jpg";
        folder.MakeFile(name, each.content);
        if (each.old) {
            FileInstants stamps;
            stamps.access.tv_sec = stamps.modify.tv_sec = 1'000'000'000;
            ASSERT_FALSE(WriteFileInstants(folder.path() + name, stamps));
        }
        KilledWhileWriting(JournalHeader(folder.path()) + ScratchLine(name, Now()));
        Settle();
        EXPECT_EQ(std::filesystem::exists(folder.path() + name), !each.removed) << each.title;
        EXPECT_FALSE(std::filesystem::exists(journal)) << each.title << ": it told of no step";
        // Tidied once: the next holder finds nothing named.
        RunLock next(state);
        EXPECT_TRUE(next.Unsettled().empty()) << each.title;
        std::filesystem::remove(folder.path() + name);
    }
}

TEST_F(Leftovers, AJournalCutBeforeItsFirstStepGoesOneWithStepsStays) {
    for (const std::string& text :
         {std::string(""), std::string("karvel-jou"), JournalHeader(folder.path()).substr(0, 20)}) {
        KilledWhileWriting(text);
        Settle();
        EXPECT_FALSE(std::filesystem::exists(journal)) << text;
    }
    JournalEntry entry{"a", "b", {}, {}, {1, 2, 3}, true, 0};
    KilledWhileWriting(JournalHeader(folder.path()) + JournalLines({&entry, 1}));
    Settle();
    EXPECT_TRUE(std::filesystem::exists(journal));
}

// Where the disk has no unnamed files, the date probe is a scratch file told of first; the
// folder's own times stay as they were.
TEST_F(Leftovers, TheDateProbeLeavesTheFolderAlone) {
    class Notes : public ScratchNotes {
      public:
        bool BeforeScratch(std::string_view name) override {
            names.emplace_back(name);
            return true;
        }
        std::vector<std::string> names;
    } notes;
    RenameCalls calls = SystemRenameCalls();
    calls.openUnnamed = [](int) {
        errno = EOPNOTSUPP;
        return -1;
    };
    PosixRunFileSystem probing(calls);
    ASSERT_FALSE(probing.OpenFolder(folder.path(), &notes).error);
    EXPECT_EQ(probing.TryStamp(testing::Utc(2024, 3, 5, 0, 0, 0, 0)), StampFit::Kept);
    probing.CloseFolder();
    ASSERT_EQ(notes.names.size(), 1U);
    EXPECT_TRUE(notes.names[0].starts_with(".karvel-probe-"));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    struct stat folderAfter {};
    ASSERT_EQ(::stat(folder.path().c_str(), &folderAfter), 0);
    EXPECT_NE(folderAfter.st_mtim.tv_sec, testing::Utc(2024, 3, 5, 0, 0, 0, 0).tv_sec);
}

}  // namespace
}  // namespace karvel
