// Any bytes as a kept run's journal, the one file of Karvel's a user could tamper with:
// what reads names only plain names inside an absolute folder, and writes back to itself.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "rename/RunJournal.h"

namespace {

using namespace karvel;

bool SameInstant(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool SameEntry(const JournalEntry& a, const JournalEntry& b) {
    return a.oldName == b.oldName && a.newName == b.newName &&
           SameInstant(a.original.access, b.original.access) &&
           SameInstant(a.original.modify, b.original.modify) && SameInstant(a.written, b.written) &&
           a.identity == b.identity && a.restamped == b.restamped && a.group == b.group;
}

bool Plain(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}

// The journal written again as a run and its undo would write it.
std::string Written(const Journal& journal) {
    std::string text = JournalHeader(journal.folder) + JournalLines(journal.entries);
    if (journal.scratch) text += ScratchLine(journal.scratch->name, journal.scratch->at);
    const std::size_t performed = journal.performed.value_or(journal.entries.size());
    for (std::size_t i = 0; i < performed && i < journal.done.size(); ++i)
        if (journal.done[i]) text += DoneLine(i);
    if (journal.performed) text += RanLine(*journal.performed);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto journal = ReadJournalText(text);
    if (!journal) return 0;

    FUZZ_CHECK(journal->folder.starts_with('/') && journal->folder.ends_with('/'));
    FUZZ_CHECK(journal->folder.find('\0') == std::string::npos);
    FUZZ_CHECK(journal->done.size() == journal->entries.size());
    for (std::size_t i = 0; i < journal->entries.size(); ++i) {
        const JournalEntry& entry = journal->entries[i];
        FUZZ_CHECK(Plain(entry.oldName) && Plain(entry.newName));
        FUZZ_CHECK(entry.group <= i);
    }
    if (journal->scratch) FUZZ_CHECK(Plain(journal->scratch->name));

    const auto again = ReadJournalText(Written(*journal));
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->folder == journal->folder);
    FUZZ_CHECK(again->entries.size() == journal->entries.size());
    for (std::size_t i = 0; i < journal->entries.size(); ++i)
        FUZZ_CHECK(SameEntry(again->entries[i], journal->entries[i]));
    FUZZ_CHECK(again->done == journal->done);
    FUZZ_CHECK(again->performed == journal->performed);
    FUZZ_CHECK(again->scratch.has_value() == journal->scratch.has_value());
    if (journal->scratch) {
        FUZZ_CHECK(again->scratch->name == journal->scratch->name);
        FUZZ_CHECK(SameInstant(again->scratch->at, journal->scratch->at));
    }
    return 0;
}
