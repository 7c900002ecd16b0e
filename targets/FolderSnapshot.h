#pragma once
// The names in the target folder, read once per drop, so that the conflict preview
// can check every row on each refresh without touching the disk.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "targets/FolderReader.h"
#include "targets/NameTags.h"

namespace karvel {

struct TargetRow;

enum class EntryKind : std::uint8_t {
    Absent,
    OrdinaryFile,  // a regular file, not a link, whatever its name
    Other,         // a folder, a link, anything else
};

class FolderSnapshot {
  public:
    // Knows nothing of any folder.
    FolderSnapshot() = default;

    // Reads every name in `folder` (ending in the separator), byte for byte, and the
    // kind of each row's source. Other entries count as Other unless the listing
    // itself says they are regular files. A folder that cannot be listed to the end
    // gives an unknown snapshot.
    // With `withInodes` it also keeps what the listing tells of each entry's file.
    static FolderSnapshot Read(const std::string& folder, const std::vector<TargetRow>& rows,
                               bool withInodes = false,
                               FolderReader& reader = SystemFolderReader());
    // Read in two steps, the listing first (it needs no rows), then the kinds of the rows'
    // sources that the listing left open.
    static FolderSnapshot ReadListing(const std::string& folder, bool withInodes,
                                      FolderReader& reader);
    void LookAtSources(const std::string& folder, const std::vector<TargetRow>& rows,
                       FolderReader& reader);

    // The inode and d_type the listing gave for `name`; empty for a name not listed or a
    // snapshot read without them.
    struct Listed {
        unsigned long long inode;
        unsigned char type;
    };
    std::optional<Listed> ListedAs(std::string_view name) const {
        return ListedAs(name, NameTags::HashOf(name));
    }
    // `hash` is NameTags::HashOf(name), for a caller that has it already.
    std::optional<Listed> ListedAs(std::string_view name, std::uint64_t hash) const;
    // Starts loading what a ListedAs for `hash` will read first; PrefetchName then follows.
    void PrefetchListed(std::uint64_t hash) const;

    // Whether the folder was read; an unknown snapshot says Absent to every name.
    bool Known() const { return known_; }
    std::size_t NameCount() const { return count_; }

    EntryKind KindOf(std::string_view name) const { return KindOf(name, NameTags::HashOf(name)); }
    // `hash` is NameTags::HashOf(name), for a caller that has it already.
    EntryKind KindOf(std::string_view name, std::uint64_t hash) const;
    // Starts loading what a KindOf for `hash` will read: first the slot, then (once
    // that is in) the name it holds.
    void Prefetch(std::uint64_t hash) const;
    void PrefetchName(std::uint64_t hash) const;

  private:
    struct Entry {
        std::uint32_t offset = 0;  // of the name in names_
        std::uint8_t length = 0;   // no name in a folder is longer than 255 bytes
        EntryKind kind = EntryKind::Absent;
        std::uint8_t type = 0;  // the d_type the listing gave
    };

    // The slot of `name`, or the free slot it would take.
    std::size_t SlotOf(std::string_view name, std::uint64_t hash) const;

    std::string names_;  // every name, back to back
    NameTags tags_;
    std::vector<Entry> entries_;              // by slot of tags_
    std::vector<unsigned long long> inodes_;  // by slot of tags_, when read with inodes
    std::vector<bool> unresolved_;  // by slot: kinds the listing left open, until looked at
    std::size_t count_ = 0;
    bool known_ = false;
};

}  // namespace karvel
