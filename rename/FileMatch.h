#pragma once
// Telling whether the file under a name is the one a journal entry recorded. Where the file
// system keeps inode numbers, the inode tells it; on FAT, exFAT and FUSE, which number files
// anew on each mount and keep times to two seconds, its size and stamps do.

#include <ctime>

#include "rename/RunFileSystem.h"
#include "rename/RunJournal.h"

namespace karvel {

struct MatchRules {
    bool keepsInodes = true;
};

// The modified times a recorded file may carry: its own, or the one the run wrote.
bool StampFits(const timespec& now, const JournalEntry& entry, const MatchRules& rules);
bool SameStamp(const timespec& a, const timespec& b, const MatchRules& rules);

// The file found is the recorded one (it may have been changed since).
bool IsRecordedFile(const Lookup& found, const JournalEntry& entry, const MatchRules& rules);
// ... and unchanged since the run: same size, and a stamp the run left.
bool UnchangedSinceRun(const Lookup& found, const JournalEntry& entry, const MatchRules& rules);

}  // namespace karvel
