#include "rename/Leftovers.h"

#include <algorithm>
#include <cstdlib>

#include "rename/FileMatch.h"

namespace karvel {

namespace {

// A scratch file is made right after its note and stays empty; its modified time is when
// it was made, to the two seconds of FAT.
bool LooksLikeScratch(const Lookup& found, const ScratchNote& note) {
    const long long apart = static_cast<long long>(found.instants.modify.tv_sec) -
                            static_cast<long long>(note.at.tv_sec);
    return found.result == LookupResult::Found && found.identity.size == 0 &&
           std::llabs(apart) <= 3;
}

// The file under the journal's last scratch name is Karvel's own empty file, never one the
// run moved there.
bool IsOwnScratch(const Journal& journal, RunFileSystem& fileSystem, const MatchRules& rules) {
    const ScratchNote& note = *journal.scratch;
    const Lookup found = fileSystem.LookupRegularFile(note.name);
    if (!LooksLikeScratch(found, note)) return false;
    return std::ranges::none_of(journal.entries, [&](const JournalEntry& entry) {
        return (entry.oldName == note.name || entry.newName == note.name) &&
               IsRecordedFile(found, entry, rules);
    });
}

}  // namespace

bool SettleJournal(const History& history, const std::string& journalPath,
                   RunFileSystem& fileSystem) {
    const KeptRun run = ReadKeptRun(history, journalPath);
    if (!run.journal) {
        const StateFile file = history.Disk().Read(journalPath, kMaxKeptBytes);
        if (file.status == StateRead::Read && CutBeforeAnyStep(file.bytes))
            history.Disk().Remove(journalPath);
        return true;
    }
    const Journal& journal = *run.journal;
    if (journal.scratch) {
        const OpenedFolder folder(fileSystem, journal.folder);
        if (folder.Opening().error) return false;
        if (IsOwnScratch(journal, fileSystem, MatchRules{folder.Opening().keepsInodes}))
            (void)fileSystem.RemoveName(journal.scratch->name);
    }
    // Killed before it recorded a step, or after undo had marked every step: nothing to keep.
    if (journal.Pending() == 0) history.Disk().Remove(journalPath);
    return true;
}

void SettleLeftovers(const History& history, RunLock& lock, RunFileSystem& fileSystem) {
    const std::vector<std::string> unsettled = lock.Unsettled();
    for (const std::string& path : unsettled) {
        if (SettleJournal(history, path, fileSystem)) lock.Settled(path);
    }
}

}  // namespace karvel
