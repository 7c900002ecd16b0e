#include "targets/FolderSnapshot.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "filetime/FileTimes.h"
#include "targets/TargetList.h"

namespace karvel {

namespace {

constexpr std::size_t kLongestName = std::numeric_limits<std::uint8_t>::max();

}  // namespace

std::size_t FolderSnapshot::SlotOf(std::string_view name, std::uint64_t hash) const {
    return tags_.Find(hash, [&](std::size_t slot) {
        const Entry& entry = entries_[slot];
        return entry.length == name.size() &&
               std::memcmp(names_.data() + entry.offset, name.data(), name.size()) == 0;
    });
}

void FolderSnapshot::Prefetch(std::uint64_t hash) const {
    if (!known_) return;
    __builtin_prefetch(&entries_[tags_.Prefetch(hash)]);
}

void FolderSnapshot::PrefetchName(std::uint64_t hash) const {
    if (!known_) return;
    // The first slot whose tag matches is nearly always the name's own.
    const std::size_t slot = tags_.Find(hash, [](std::size_t) { return true; });
    if (tags_.Taken(slot)) __builtin_prefetch(names_.data() + entries_[slot].offset);
}

EntryKind FolderSnapshot::KindOf(std::string_view name, std::uint64_t hash) const {
    if (!known_ || name.empty() || name.size() > kLongestName) return EntryKind::Absent;
    const std::size_t slot = SlotOf(name, hash);
    return tags_.Taken(slot) ? entries_[slot].kind : EntryKind::Absent;
}

void FolderSnapshot::PrefetchListed(std::uint64_t hash) const {
    if (!known_ || inodes_.empty()) return;
    const std::size_t home = tags_.Prefetch(hash);
    __builtin_prefetch(&entries_[home]);
    __builtin_prefetch(&inodes_[home]);
}

std::optional<FolderSnapshot::Listed> FolderSnapshot::ListedAs(std::string_view name,
                                                               std::uint64_t hash) const {
    if (!known_ || inodes_.empty() || name.empty() || name.size() > kLongestName)
        return std::nullopt;
    const std::size_t slot = SlotOf(name, hash);
    if (!tags_.Taken(slot)) return std::nullopt;
    return Listed{inodes_[slot], entries_[slot].type};
}

FolderSnapshot FolderSnapshot::Read(const std::string& folder, const std::vector<TargetRow>& rows,
                                    bool withInodes, FolderReader& reader) {
    FolderSnapshot snapshot = ReadListing(folder, withInodes, reader);
    snapshot.LookAtSources(folder, rows, reader);
    return snapshot;
}

FolderSnapshot FolderSnapshot::ReadListing(const std::string& folder, bool withInodes,
                                           FolderReader& reader) {
    FolderSnapshot snapshot;
    struct ListedName {
        Entry entry;
        unsigned long long inode;
    };
    // Takes the names as the folder is listed, back to back in one string.
    class Collect final : public ListingSink {
      public:
        Collect(FolderSnapshot& snapshot, std::vector<ListedName>& listed)
            : snapshot_(snapshot), listed_(listed) {}
        // The folder's size hints at how many names it holds (ext4 takes at least 12 bytes a
        // name, tmpfs counts 20) and how long they are: room made once, instead of the
        // listing copied over as it grows. Room never written costs nothing.
        void Expect(std::size_t folderBytes) override {
            constexpr std::size_t kRoomAtMost = std::size_t{1} << 26;
            const auto size = std::min(folderBytes, kRoomAtMost);
            listed_.reserve(size / 12);
            snapshot_.names_.reserve(size);
        }
        void Entry(std::string_view name, unsigned char type, unsigned long long inode) override {
            if (overflow_ || name.size() > kLongestName) return;  // no row can have such a name
            if (snapshot_.names_.size() + name.size() > std::numeric_limits<std::uint32_t>::max()) {
                overflow_ = true;
                return;
            }
            listed_.push_back({{static_cast<std::uint32_t>(snapshot_.names_.size()),
                                static_cast<std::uint8_t>(name.size()), EntryKind::Other, type},
                               inode});
            snapshot_.names_.append(name);
        }
        bool Overflow() const { return overflow_; }

      private:
        FolderSnapshot& snapshot_;
        std::vector<ListedName>& listed_;
        bool overflow_ = false;
    };
    std::vector<ListedName> listed;
    Collect collect(snapshot, listed);
    if (reader.List(folder, collect) || collect.Overflow()) return {};

    snapshot.tags_ = NameTags(listed.size());
    snapshot.entries_.resize(snapshot.tags_.SlotCount());
    if (withInodes) snapshot.inodes_.resize(snapshot.tags_.SlotCount());
    for (const ListedName& each : listed) {
        const std::string_view name(snapshot.names_.data() + each.entry.offset, each.entry.length);
        const std::uint64_t hash = NameTags::HashOf(name);
        const std::size_t slot = snapshot.SlotOf(name, hash);
        if (snapshot.tags_.Taken(slot)) continue;  // listed twice while the folder changed
        snapshot.tags_.Take(slot, hash);
        Entry& entry = snapshot.entries_[slot];
        entry = each.entry;
        if (withInodes) snapshot.inodes_[slot] = each.inode;
        ++snapshot.count_;
        if (each.entry.type == DT_REG) {
            entry.kind = EntryKind::OrdinaryFile;
        } else if (each.entry.type == DT_UNKNOWN) {
            // Only the rows' sources are asked for it.
            if (snapshot.unresolved_.empty()) snapshot.unresolved_.resize(snapshot.entries_.size());
            snapshot.unresolved_[slot] = true;
        }
    }

    snapshot.known_ = true;
    return snapshot;
}

void FolderSnapshot::LookAtSources(const std::string& folder, const std::vector<TargetRow>& rows,
                                   FolderReader& reader) {
    if (unresolved_.empty()) return;
    for (const TargetRow& row : rows) {
        if (row.BeforeName.empty() || row.BeforeName.size() > kLongestName) continue;
        const std::size_t slot = SlotOf(row.BeforeName, NameTags::HashOf(row.BeforeName));
        if (!tags_.Taken(slot) || !unresolved_[slot]) continue;
        unresolved_[slot] = false;
        FileEntry status;
        if (!reader.Look(folder + row.BeforeName, status) && S_ISREG(status.mode))
            entries_[slot].kind = EntryKind::OrdinaryFile;
    }
    unresolved_ = {};
}

}  // namespace karvel
