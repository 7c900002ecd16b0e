#pragma once
// What a run records so that it can be taken back: before each file's stamps and name
// change, its old and new name, its stamps before and after, and which file it was.

#include <optional>
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
    timespec written{};       // the modified instant the run wrote
    FileIdentity identity;
};

// The run's side: a journal that cannot be written only costs the undo, never the run.
class RunJournal {
public:
    virtual ~RunJournal() = default;
    // Before the first row; false when no journal can be kept for this run.
    virtual bool Begin(const std::string& folder) = 0;
    // Before the row's stamps are written and it is renamed.
    virtual bool Record(const JournalEntry& entry) = 0;
};

struct Journal {
    std::string folder;
    std::vector<JournalEntry> entries;
};

// The journal file of the last run: $XDG_STATE_HOME/Karvel/last-run.journal, by
// default ~/.local/state/Karvel/last-run.journal; empty when no home is known.
std::string JournalFilePath();

// Writes the journal file: created beside and renamed into place, flushed to disk, then
// one write per entry, so that a kill or a crash keeps every entry written before it.
class JournalFile final : public RunJournal {
public:
    explicit JournalFile(std::string path) : path_(std::move(path)) {}
    ~JournalFile() override;
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;

    bool Begin(const std::string& folder) override;
    bool Record(const JournalEntry& entry) override;
    // Whether a run started this journal, replacing the one before.
    bool Begun() const { return begun_; }

private:
    std::string path_;
    int fd_ = -1;
    bool begun_ = false;
};

// The journal at `path`; empty when there is none or it is no journal. A last line cut
// short by a kill is left out.
std::optional<Journal> ReadJournal(const std::string& path);
// The same for a journal's text.
std::optional<Journal> ReadJournalText(std::string_view text);

// The line format, for tests and the reader.
std::string EncodeJournalName(std::string_view name);
std::optional<std::string> DecodeJournalName(std::string_view text);

}  // namespace karvel
