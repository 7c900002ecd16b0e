#include "rename/Leftovers.h"

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

}  // namespace

bool SettleJournal(const std::string& journalPath, RunFileSystem& fileSystem) {
    const KeptRun run = ReadKeptRun(journalPath);
    if (!run.journal || !run.journal->scratch) return true;
    const Journal& journal = *run.journal;
    const ScratchNote& note = *journal.scratch;
    const OpenedFolder folder(fileSystem, journal.folder);
    if (folder.Opening().error) return false;
    const MatchRules rules{folder.Opening().keepsInodes};
    const Lookup found = fileSystem.LookupRegularFile(note.name);
    if (!LooksLikeScratch(found, note)) return true;
    // Never a file the run moved there: only Karvel's own empty file goes.
    for (const JournalEntry& entry : journal.entries) {
        if ((entry.oldName == note.name || entry.newName == note.name) &&
            IsRecordedFile(found, entry, rules)) {
            return true;
        }
    }
    (void)fileSystem.RemoveName(note.name);
    return true;
}

void SettleLeftovers(RunLock& lock, RunFileSystem& fileSystem) {
    const std::vector<std::string> unsettled = lock.Unsettled();
    for (const std::string& path : unsettled) {
        if (SettleJournal(path, fileSystem)) lock.Settled(path);
    }
}

}  // namespace karvel
