#include "targets/DropIntake.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <future>
#include <optional>
#include <unordered_map>

#include "filetime/DateTimeText.h"
#include "filetime/FileTimes.h"
#include "naming/FNameEdit.h"
#include "targets/FolderLookup.h"
#include "targets/ListRefresh.h"

namespace karvel {

namespace {

// The rows taken so far by the inode of their file, so that the same file given twice is
// found without a walk over the rows: open addressing over row numbers, no allocation per row.
class RowsByInode {
  public:
    explicit RowsByInode(std::size_t rows)
        : slots_(std::bit_ceil(std::max<std::size_t>(16, rows * 2))) {}

    // Whether `is(row)` holds for a row taken with `inode`; asked only of rows whose inode
    // may be it.
    template <class Is>
    bool Any(unsigned long long inode, Is&& is) const {
        const std::uint64_t hash = Hash(inode);
        for (std::size_t at = Home(hash); slots_[at].rowAfter != 0; at = Next(at)) {
            if (slots_[at].tag == Tag(hash) && is(slots_[at].rowAfter - 1)) return true;
        }
        return false;
    }
    void Add(unsigned long long inode, std::size_t row) {
        const std::uint64_t hash = Hash(inode);
        std::size_t at = Home(hash);
        while (slots_[at].rowAfter != 0) at = Next(at);
        slots_[at] = {static_cast<std::uint32_t>(row + 1), Tag(hash)};
    }

  private:
    struct Slot {
        std::uint32_t rowAfter = 0;  // the row plus one; 0 marks a free slot
        std::uint32_t tag = 0;
    };
    // Inodes come in runs; the multiplier spreads them over the table.
    static std::uint64_t Hash(unsigned long long inode) { return inode * 0x9E3779B97F4A7C15ULL; }
    static std::uint32_t Tag(std::uint64_t hash) { return static_cast<std::uint32_t>(hash); }
    std::size_t Home(std::uint64_t hash) const {
        return static_cast<std::size_t>(hash >> 32) & (slots_.size() - 1);
    }
    std::size_t Next(std::size_t at) const { return (at + 1) & (slots_.size() - 1); }

    std::vector<Slot> slots_;
};

// A listing's table is far larger than the cache: the lookups of the paths a few places
// ahead are started early, their slots first, then the names those hold.
class LookupsAhead {
  public:
    explicit LookupsAhead(const std::vector<std::string>& paths) : paths_(paths) {
        path_.fill(paths.size());
    }

    // The hash of path `i`'s name, the loads for the paths ahead of it started in `listing`.
    std::uint64_t HashOf(std::size_t i, const FolderSnapshot& listing) {
        const std::size_t at = i % kAhead;
        const std::uint64_t hash = path_[at] == i ? hash_[at] : NameHash(i);
        if (i + kAhead < paths_.size()) {
            path_[at] = i + kAhead;
            hash_[at] = NameHash(i + kAhead);
            listing.PrefetchListed(hash_[at]);
        }
        const std::size_t half = (i + kAhead / 2) % kAhead;
        if (path_[half] == i + kAhead / 2) listing.PrefetchName(hash_[half]);
        return hash;
    }

  private:
    static constexpr std::size_t kAhead = 16;

    std::uint64_t NameHash(std::size_t i) const {
        return NameTags::HashOf(cFNameEdit(paths_[i]).ifaFileName);
    }

    const std::vector<std::string>& paths_;
    std::array<std::uint64_t, kAhead> hash_{};
    std::array<std::size_t, kAhead> path_{};
};

// The looks at a drop's files taken before its rows are made: the names of each folder all
// at once, from the folder opened once.
class LooksFirst {
  public:
    LooksFirst(const std::vector<std::string>& paths, FolderReader& reader)
        : slotOf_(paths.size(), kNone) {
        struct Group {
            std::vector<std::size_t> paths;
            std::vector<std::string_view> names;
        };
        std::vector<std::pair<std::string_view, Group>> groups;
        std::unordered_map<std::string_view, std::size_t> groupOf;
        std::size_t last = 0;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const DroppedPath pieces = ClassifyPath(paths[i]);
            if (pieces.unusable || pieces.name.empty()) continue;  // looked at on its own
            // Paths come folder by folder: the last group answers most of them.
            if (groups.empty() || groups[last].first != pieces.folder) {
                last = groupOf.try_emplace(pieces.folder, groups.size()).first->second;
                if (last == groups.size()) groups.push_back({pieces.folder, {}});
            }
            groups[last].second.paths.push_back(i);
            groups[last].second.names.push_back(pieces.name);
        }
        for (const auto& [folder, group] : groups) {
            std::vector<Looked> looked = reader.LookEach(std::string(folder), group.names);
            for (std::size_t at = 0; at < group.paths.size(); ++at)
                slotOf_[group.paths[at]] = static_cast<std::uint32_t>(looks_.size() + at);
            if (looks_.empty()) {
                looks_ = std::move(looked);
            } else {
                looks_.insert(looks_.end(), looked.begin(), looked.end());
            }
        }
    }

    // The look taken at path `i`; none for a path that needs one of its own.
    const Looked* At(std::size_t i) const {
        return slotOf_[i] == kNone ? nullptr : &looks_[slotOf_[i]];
    }

  private:
    static constexpr std::uint32_t kNone = 0xffff'ffff;
    std::vector<std::uint32_t> slotOf_;
    std::vector<Looked> looks_;
};

bool IsFolderOrLinkToOne(const std::string& path, const FileEntry& entry, FolderReader& reader) {
    if (S_ISDIR(entry.mode)) return true;
    FileEntry target;
    return S_ISLNK(entry.mode) && !reader.LookThrough(path, target) && S_ISDIR(target.mode);
}

}  // namespace

DroppedFiles ReadDroppedFiles(const std::vector<std::string>& paths, IntakeLook look,
                              FolderReader& reader) {
    DroppedFiles dropped;
    auto& rows = dropped.rows;
    rows.reserve(paths.size());
    const auto leave = [&dropped](const std::string& path, LeftOutReason reason) {
        dropped.leftOut.push_back({path, reason});
    };
    FolderLookup folders(reader, look == IntakeLook::OneListing);
    std::optional<FileId> targetId;
    // One record serves the whole drop: a modified time that does not convert shows what
    // the file before it left there.
    SYSTEMTIME lastWrite{};
    RowsByInode rowsByInode(paths.size());
    LookupsAhead ahead(paths);
    // Without listings every file is looked at: all of them first, on every core.
    const std::optional<LooksFirst> looksFirst =
        look == IntakeLook::EachFile ? std::optional<LooksFirst>(std::in_place, paths, reader)
                                     : std::nullopt;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        const DroppedPath pieces = ClassifyPath(path);
        if (pieces.unusable) {
            leave(path, *pieces.unusable);
            continue;
        }
        FolderLookup::Folder& folder = folders.Of(pieces.folder);

        FileEntry entry;
        bool fromListing = false;
        if (folder.listing && !pieces.name.empty()) {
            const auto listed =
                folder.listing->ListedAs(pieces.name, ahead.HashOf(i, *folder.listing));
            if (!listed) {
                leave(path, LeftOutReason::Missing);
                continue;
            }
            // A folder, a link or a kind not told is looked at itself.
            if (listed->type == DT_REG && folders.ListingAgrees(folder, path, *listed)) {
                entry.mode = S_IFREG;
                entry.device = folder.id->device;
                entry.inode = listed->inode;
                fromListing = true;
            }
        }
        if (!fromListing) {
            const Looked* taken = looksFirst ? looksFirst->At(i) : nullptr;
            const std::error_code error = taken ? taken->error : reader.Look(path, entry);
            if (error) {
                leave(path, LeftOutReason::Missing);
                continue;
            }
            if (taken) entry = taken->entry;
        }
        if (IsFolderOrLinkToOne(path, entry, reader)) {
            leave(path, LeftOutReason::Folder);
            continue;
        }
        if (!folder.id) {
            leave(path, LeftOutReason::Missing);
            continue;
        }
        if (!targetId) {
            targetId = folder.id;
            dropped.folder = folders.Canonical(pieces.folder);
            dropped.folderId = *targetId;
        } else if (*folder.id != *targetId) {
            leave(path, LeftOutReason::OtherFolder);
            continue;
        }
        if (rowsByInode.Any(entry.inode, [&](std::size_t earlier) {
                return rows[earlier].Identity.inode == entry.inode &&
                       rows[earlier].BeforeName == pieces.name;
            }))
            continue;
        rowsByInode.Add(entry.inode, rows.size());
        TargetRow row;
        row.BeforeName = pieces.name;
        if (!fromListing) {
            if (const auto local = InstantToLocal(entry.instants.modify)) lastWrite = local->time;
            row.Modified = FormatDateTimeText(lastWrite, kDateTimeShortYearMinutes);
            row.ModifiedAt = entry.instants.modify;
        }
        row.Identity = entry.Id();
        rows.push_back(std::move(row));
    }
    return dropped;
}

std::vector<LeftOut> TakeInDrop(TargetList& list, const std::vector<std::string>& paths,
                                const NamingOptions& options, IntakeLook look,
                                FolderReader& reader) {
    DroppedFiles dropped = ReadDroppedFiles(paths, look, reader);
    list.AllClear();
    if (dropped.rows.empty()) return std::move(dropped.leftOut);
    // The folder is listed on another core while the rows are sorted; the reader is left to
    // that thread meanwhile.
    std::future<FolderSnapshot> listing;
    if (look == IntakeLook::EachFile) {
        listing = std::async(std::launch::async | std::launch::deferred,
                             [&reader, folder = dropped.folder] {
                                 return FolderSnapshot::ReadListing(folder, false, reader);
                             });
    }
    list.SetTargetFolder(std::move(dropped.folder));
    list.SetTargetFolderId(dropped.folderId);
    list.SetSortKey(SortColumn::BeforeName);
    list.SetSortOrder(SortOrder::Ascending);
    list.SetSorted(true);
    list.AssignRows(std::move(dropped.rows));
    list.SetState(ListState::Ready);
    RefreshList(list,
                listing.valid() ? ListChanges::NamesAndListed(options, listing.get())
                                : ListChanges::Names(options),
                reader);
    return std::move(dropped.leftOut);
}

}  // namespace karvel
