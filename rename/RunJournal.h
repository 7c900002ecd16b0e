#pragma once
// What a run records so that it can be taken back: before a file changes, each step of
// it (its old and new name), its stamps before and the one written, and which file it
// is. Records go in blocks, one write each, ahead of the steps they tell of.

#include <cstddef>
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
    bool stampsKnown = true;  // false when the stamps could not be read (nor were written)
    FileInstants original;    // as read before the run touched the file
    timespec written{};       // the modified instant the run writes after the step
    FileIdentity identity;
    bool restamped = true;  // false for a step to a temporary name: the stamps stay
};

// The run's side of its journal.
class RunJournal {
  public:
    virtual ~RunJournal() = default;
    // Before any of these steps happens; false when they could not all be recorded.
    virtual bool Record(std::span<const JournalEntry> entries) = 0;
};

// What a start command needs of the place runs are recorded: one run or undo at a
// time, and a journal for the run.
class RunRecords {
  public:
    enum class Start {
        Recording,  // the run holds the lock and has its journal
        Busy,       // another run or undo holds the lock
        NoRecord,   // no journal could be made: the run could not be undone
    };
    virtual ~RunRecords() = default;
    virtual Start Begin(const std::string& folder) = 0;
    // The journal once begun; null without one.
    virtual RunJournal* Journal() = 0;
    // After the run: a journal of a run that changed nothing is removed; the lock goes.
    virtual void End(bool changedAnything) = 0;
};

struct Journal {
    std::string folder;
    std::vector<JournalEntry> entries;
    std::vector<bool> done;  // per entry: undo has dealt with it
    std::size_t Pending() const;
};

// The text of a journal; empty when it is no journal, or names anything but plain names
// inside an absolute folder. A last line cut short by a kill is left out.
std::optional<Journal> ReadJournalText(std::string_view text);

std::string JournalHeader(const std::string& folder);
// One line per entry, the block in one string.
std::string JournalLines(std::span<const JournalEntry> entries);
// Undo's mark on an entry it has dealt with.
std::string DoneLine(std::size_t entry);

// The line format, for tests and the reader.
std::string EncodeJournalName(std::string_view name);
std::optional<std::string> DecodeJournalName(std::string_view text);

}  // namespace karvel
