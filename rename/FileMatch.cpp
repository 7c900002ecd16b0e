#include "rename/FileMatch.h"

#include <cstdlib>

namespace karvel {

bool SameStamp(const timespec& a, const timespec& b, const MatchRules& rules) {
    if (rules.keepsInodes) return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    const long long apart = static_cast<long long>(a.tv_sec) - static_cast<long long>(b.tv_sec);
    return std::llabs(apart) <= 2;
}

bool StampFits(const timespec& now, const JournalEntry& entry, const MatchRules& rules) {
    return SameStamp(now, entry.original.modify, rules) ||
           (entry.restamped && SameStamp(now, entry.written, rules));
}

bool IsRecordedFile(const Lookup& found, const JournalEntry& entry, const MatchRules& rules) {
    if (found.result != LookupResult::Found) return false;
    // A removable disk comes back under another device number: the device is not asked.
    if (rules.keepsInodes) return found.identity.inode == entry.identity.inode;
    return found.identity.size == entry.identity.size &&
           StampFits(found.instants.modify, entry, rules);
}

bool UnchangedSinceRun(const Lookup& found, const JournalEntry& entry, const MatchRules& rules) {
    return IsRecordedFile(found, entry, rules) && found.identity.size == entry.identity.size &&
           StampFits(found.instants.modify, entry, rules);
}

}  // namespace karvel
