#include "targets/DropIntake.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <optional>

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
    // One record serves the whole drop: a slot that does not convert shows what the
    // file before it left there.
    FileTimeStamps stamps{};
    RowsByInode rowsByInode(paths.size());
    LookupsAhead ahead(paths);
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
        if (!fromListing && reader.Look(path, entry)) {
            leave(path, LeftOutReason::Missing);
            continue;
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
            FillFileTimes(entry.instants, stamps);
            row.Modified = FormatDateTimeText(stamps.LastWriteTime, kDateTimeShortYearMinutes);
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
    list.SetTargetFolder(std::move(dropped.folder));
    list.SetTargetFolderId(dropped.folderId);
    list.AssignRows(std::move(dropped.rows));
    list.SetSortKey(SortColumn::BeforeName);
    list.SetSortOrder(SortOrder::Ascending);
    list.SetSorted(true);
    list.SetState(ListState::Ready);
    RefreshList(list,
                look == IntakeLook::EachFile ? ListChanges::NamesAndFolder(options)
                                             : ListChanges::Names(options),
                reader);
    return std::move(dropped.leftOut);
}

}  // namespace karvel
