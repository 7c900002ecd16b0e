#pragma once
// What a run records so that it can be taken back: before a file changes, each step of
// it (its old and new name), its stamps before and the one written, which file it is and
// which group of steps it belongs to. Records go in blocks, one write each, ahead of the
// steps they tell of.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "filetime/FileTimes.h"
#include "rename/RunFileSystem.h"

namespace karvel {

struct JournalEntry {
    std::string oldName;
    std::string newName;
    FileInstants original;  // as read before the run touched the file
    timespec written{};     // the modified instant the run writes after the step
    FileIdentity identity;
    bool restamped = true;  // false for a step to a temporary name: the stamps stay
    // The first entry of its group: the files of a ring or a chain move together, and
    // are taken back together or not at all.
    std::uint32_t group = 0;
};

// The run's side of its journal. Scratch files the run's folder gets are told of in it.
class RunJournal : public ScratchNotes {
  public:
    // Before any of these steps happens; false when they could not all be recorded.
    virtual bool Record(std::span<const JournalEntry> entries) = 0;
    // At the end of the run: the entries from `performed` on were never carried out.
    virtual void Ran(std::size_t /*performed*/) {}
    bool BeforeScratch(std::string_view /*name*/) override { return true; }
};

// What a start command needs of the place runs are recorded: one run or undo at a
// time, and a journal for the run.
class RunRecords {
  public:
    enum class Start {
        Recording,   // the run holds the lock and has its journal
        Busy,        // another run or undo holds the lock
        LockFailed,  // the lock cannot be taken at all: nothing may start
        NoRecord,    // no journal could be made: the run could not be undone
    };
    virtual ~RunRecords() = default;
    // `fileSystem` lets it tidy what an earlier run or undo, killed, left behind.
    virtual Start Begin(const std::string& folder, RunFileSystem& fileSystem) = 0;
    // The journal once begun; null without one.
    virtual RunJournal* Journal() = 0;
    // Why the lock could not be taken, as a message names it.
    virtual std::string LockProblem() const { return {}; }
    // After the run: a journal of a run that changed nothing is removed; the lock goes.
    virtual void End(bool changedAnything) = 0;
};

// A file of Karvel's own announced in the journal and perhaps still there: the last one
// announced, when no end came after it.
struct ScratchNote {
    std::string name;
    timespec at{};
};

struct Journal {
    std::string folder;
    std::vector<JournalEntry> entries;
    std::vector<bool> done;  // per entry: undo has dealt with it, or the run never did it
    // Set when the run came to its end (was not killed): the entries from here on were
    // never carried out.
    std::optional<std::size_t> performed;
    std::optional<ScratchNote> scratch;
    std::size_t Pending() const;
};

// The text of a journal; empty when it is no journal, or names anything but plain names
// inside an absolute folder. A last line cut short by a kill is left out.
std::optional<Journal> ReadJournalText(std::string_view text);

// A journal a kill cut short before its folder line was whole: it tells of no step.
bool CutBeforeAnyStep(std::string_view text);

std::string JournalHeader(const std::string& folder);
// One line per entry, the block in one string.
std::string JournalLines(std::span<const JournalEntry> entries);
// Undo's mark on an entry it has dealt with.
std::string DoneLine(std::size_t entry);
// The run's end: entries from `performed` on were never carried out.
std::string RanLine(std::size_t performed);
// A scratch file about to be created, and when.
std::string ScratchLine(std::string_view name, const timespec& at);

// The line format, for tests and the reader.
std::string EncodeJournalName(std::string_view name);
std::optional<std::string> DecodeJournalName(std::string_view text);

}  // namespace karvel
