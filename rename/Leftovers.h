#pragma once
// What a run or undo that was killed may leave behind: a scratch file of Karvel's (an
// empty placeholder taken for a new name, a probe of the disk's dates). The next run or
// undo removes it, once it knows for sure the file is Karvel's.

#include <string>

#include "rename/RunFileSystem.h"
#include "rename/RunHistory.h"

namespace karvel {

// Tidies after each journal the lock names as unsettled; one whose folder is away stays
// named for later.
void SettleLeftovers(const History& history, RunLock& lock, RunFileSystem& fileSystem);

// Tidies after one journal; false when its folder cannot be reached now.
bool SettleJournal(const History& history, const std::string& journalPath,
                   RunFileSystem& fileSystem);

}  // namespace karvel
