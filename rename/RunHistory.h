#pragma once
// The runs kept for undo: one journal per run in the user's state folder, newest last
// by name, at most 50 of them or 64 MiB; and the lock that lets one run or undo go at
// a time, across windows and processes.

#include <cstddef>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "rename/RunJournal.h"
#include "rename/StateDisk.h"

namespace karvel {

inline constexpr std::size_t kMaxKeptRuns = 50;
inline constexpr std::size_t kMaxKeptBytes = 64u << 20;

// $XDG_STATE_HOME/Karvel, by default ~/.local/state/Karvel; empty when no home is known.
std::string StateFolder();

// Held while a run or undo goes on. It also names the journals whose run or undo was
// working when it was killed, so that the next holder can tidy what that one left.
class RunLock {
  public:
    enum class State { Held, Busy, Unavailable };
    explicit RunLock(const History& history);
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    State Get() const { return state_; }
    // Why the lock is Unavailable, as a message tells it.
    std::string Problem() const;
    // Journals of a run or undo killed while it held the lock.
    const std::vector<std::string>& Unsettled() const { return unsettled_; }
    void Settled(const std::string& journalPath);
    // From now on a kill leaves `journalPath` for the next holder to tidy.
    void Working(const std::string& journalPath);

  private:
    void WriteNames();

    std::string path_;
    std::error_code error_;
    std::unique_ptr<HeldLock> held_;
    State state_ = State::Unavailable;
    std::vector<std::string> unsettled_;
    std::string working_;
};

// A run's journal, written in blocks; created exclusively, never through a link.
class JournalFile final : public RunJournal {
  public:
    // Empty when it cannot be created (no folder, a full disk, a name already there).
    // `lock`, when given, names it as the run's before it exists.
    static std::unique_ptr<JournalFile> Create(const History& history, const std::string& runFolder,
                                               RunLock* lock = nullptr);
    bool Record(std::span<const JournalEntry> entries) override;
    void Ran(std::size_t performed) override;
    bool BeforeScratch(std::string_view name) override;
    const std::string& Path() const { return path_; }
    // Removes the journal (a run that changed nothing).
    void Discard();

  private:
    JournalFile(const History& history, std::string path, std::unique_ptr<AppendFile> file)
        : history_(history), path_(std::move(path)), file_(std::move(file)) {}
    History history_;
    std::string path_;
    std::unique_ptr<AppendFile> file_;
};

// Appends to a kept run's journal what undo does: its scratch files.
class JournalAppender final : public ScratchNotes {
  public:
    JournalAppender(const History& history, const std::string& journalPath);
    bool BeforeScratch(std::string_view name) override;

  private:
    History history_;
    std::unique_ptr<AppendFile> file_;
};

// The lock and a journal in the state folder. Without `recording` (the user chose to go
// without undo) only the lock is taken.
class StateRecords final : public RunRecords {
  public:
    explicit StateRecords(History history, bool recording = true)
        : history_(std::move(history)), recording_(recording) {}
    Start Begin(const std::string& folder, RunFileSystem& fileSystem) override;
    RunJournal* Journal() override { return journal_.get(); }
    std::string LockProblem() const override;
    void End(bool changedAnything) override;
    // The run changed files and its journal holds what undo needs.
    bool KeptUndoRecord() const { return keptUndoRecord_; }

  private:
    History history_;
    bool recording_;
    bool keptUndoRecord_ = false;
    std::optional<RunLock> lock_;
    std::unique_ptr<JournalFile> journal_;
};

enum class JournalRead { Read, Missing, NotAFile, Unusable };

struct KeptRun {
    std::string path;
    std::optional<std::time_t> started;  // unknown when neither its name nor the file tells
    JournalRead status = JournalRead::Missing;
    std::optional<karvel::Journal> journal;  // when read and valid
};

// A journal file, read only when it is a regular file, never through a link.
KeptRun ReadKeptRun(const History& history, const std::string& path);
// Every journal of the state folder, newest first.
std::vector<KeptRun> KeptRuns(const History& history);
// The newest run with something still to restore.
std::optional<KeptRun> NewestPendingRun(const History& history);
bool CanUndo(const History& history);
// Marks entries as dealt with, in one write.
bool MarkDone(const History& history, const std::string& journalPath,
              const std::vector<std::size_t>& entries);
// Drops the oldest journals until `room` more runs fit.
void PruneKeptRuns(const History& history, std::size_t room);

}  // namespace karvel
