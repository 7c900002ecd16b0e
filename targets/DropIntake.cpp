#include "targets/DropIntake.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "filetime/DateTimeText.h"
#include "filetime/FileTimes.h"
#include "naming/FNameEdit.h"
#include "naming/TextPieces.h"
#include "targets/ListRefresh.h"

namespace karvel {

namespace {

// The folder a path names, links followed: a file's folder is reached through them.
std::optional<FileId> FolderIdOf(const std::string& folder, FolderReader& reader) {
    FileEntry entry;
    if (reader.LookThrough(folder, entry) || !S_ISDIR(entry.mode)) return std::nullopt;
    return entry.Id();
}

// The folder without links, "." or "..", ending in the separator; the text as given
// where the system cannot tell.
std::string CanonicalFolder(const std::string& folder, FolderReader& reader) {
    const auto real = reader.RealFolder(folder);
    if (!real) return folder;
    return AddTrailingBackslash(*real);
}

// One listing of a folder, with the inode of each entry; empty when the folder cannot be
// listed, or its listing does not tell the inodes a look at a file would (as on some
// layered file systems).
std::optional<FolderSnapshot> ListingWithInodes(const std::string& folder, FolderReader& reader) {
    FolderSnapshot listing = FolderSnapshot::Read(folder, {}, true, reader);
    if (!listing.Known()) return std::nullopt;
    return listing;
}

// Whether the listing's inodes are the ones a look at `path` (listed as `listed`) gives.
bool InodesAgree(const std::string& path, const FolderSnapshot::Listed& listed,
                 FolderReader& reader) {
    FileEntry entry;
    return !reader.Look(path, entry) && entry.inode == listed.inode;
}

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

bool IsFolderOrLinkToOne(const std::string& path, const FileEntry& entry, FolderReader& reader) {
    if (S_ISDIR(entry.mode)) return true;
    FileEntry target;
    return S_ISLNK(entry.mode) && !reader.LookThrough(path, target) && S_ISDIR(target.mode);
}

}  // namespace

bool TakeInDrop(TargetList& list, const std::vector<std::string>& paths,
                const NamingOptions& options, const std::function<void()>& onLoading,
                std::vector<LeftOut>* leftOut, bool listShown, FolderReader& reader) {
    list.AllClear();
    list.SetState(ListState::Loading);
    if (onLoading) onLoading();

    const auto leave = [leftOut](const std::string& path, LeftOutReason reason) {
        if (leftOut != nullptr) leftOut->push_back({path, reason});
    };
    std::optional<FileId> targetId;
    std::string targetFolder;
    // Drops name their folder the same way for every file: one look per spelling.
    // What was learnt of each spelling of a folder: which folder it is and, for a list
    // not shown, its one listing.
    struct FolderSeen {
        std::optional<FileId> id;
        std::optional<FolderSnapshot> listing;
        bool inodesChecked = false;  // against one look at a file of it
    };
    std::unordered_map<std::string, FolderSeen> folders;
    // One record serves the whole drop: a slot that does not convert shows what the
    // file before it left there.
    FileTimeStamps stamps{};
    std::vector<TargetRow> rows;
    rows.reserve(paths.size());

    // The same file given twice is one row; another name of it (a hard link) is a row of its own.
    RowsByInode rowsByInode(paths.size());
    // Paths come folder by folder: the last folder's spelling answers most of them.
    std::string_view lastFolder;
    FolderSeen* seen = nullptr;
    // A listing's table is far larger than the cache: the lookups of the paths a few places
    // ahead are started early, their slots first, then the names those hold.
    constexpr std::size_t kAhead = 16;
    std::array<std::uint64_t, kAhead> aheadHash{};
    std::array<std::size_t, kAhead> aheadPath{};
    aheadPath.fill(paths.size());
    const auto nameHash = [&paths](std::size_t i) {
        return NameTags::HashOf(cFNameEdit(paths[i]).ifaFileName);
    };
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        // No file name holds a NUL; the system would see a shorter path, another file.
        if (path.empty() || path.find('\0') != std::string::npos) {
            leave(path, LeftOutReason::Unusable);
            continue;
        }
        if (path.front() != kPathSeparator) {
            leave(path, LeftOutReason::NotAbsolute);
            continue;
        }
        const FNameEdit pieces = cFNameEdit(path);
        const std::string_view folderText = pieces.ifaDirName;
        std::string name(pieces.ifaFileName);
        if (seen == nullptr || folderText != lastFolder) {
            const std::string folder(folderText);
            auto known = folders.find(folder);
            if (known == folders.end()) {
                FolderSeen look{FolderIdOf(folder, reader), std::nullopt, false};
                if (!listShown && look.id) look.listing = ListingWithInodes(folder, reader);
                known = folders.emplace(folder, std::move(look)).first;
            }
            lastFolder = known->first;
            seen = &known->second;
        }
        const std::optional<FileId>& folderId = seen->id;

        FileEntry entry;
        std::optional<FolderSnapshot::Listed> listed;
        if (seen->listing && !name.empty()) {
            const FolderSnapshot& listing = *seen->listing;
            const std::size_t at = i % kAhead;
            const std::uint64_t hash = aheadPath[at] == i ? aheadHash[at] : nameHash(i);
            if (i + kAhead < paths.size()) {
                aheadPath[at] = i + kAhead;
                aheadHash[at] = nameHash(i + kAhead);
                listing.PrefetchListed(aheadHash[at]);
            }
            const std::size_t half = (i + kAhead / 2) % kAhead;
            if (aheadPath[half] == i + kAhead / 2) listing.PrefetchName(aheadHash[half]);
            listed = listing.ListedAs(name, hash);
            if (!listed) {
                leave(path, LeftOutReason::Missing);
                continue;
            }
            if (listed->type == DT_REG && !seen->inodesChecked) {
                seen->inodesChecked = true;
                if (!InodesAgree(path, *listed, reader)) seen->listing.reset();
            }
            if (seen->listing && listed->type == DT_REG) {
                entry.mode = S_IFREG;
                entry.device = folderId->device;
                entry.inode = listed->inode;
            } else {
                listed.reset();  // a folder, a link or a kind not told: looked at itself
            }
        }
        if (!listed && reader.Look(path, entry)) {
            leave(path, LeftOutReason::Missing);
            continue;
        }
        if (IsFolderOrLinkToOne(path, entry, reader)) {
            leave(path, LeftOutReason::Folder);
            continue;
        }
        if (!folderId) {
            leave(path, LeftOutReason::Missing);
            continue;
        }
        if (!targetId) {
            targetId = folderId;
            targetFolder = CanonicalFolder(std::string(folderText), reader);
        } else if (*folderId != *targetId) {
            leave(path, LeftOutReason::OtherFolder);
            continue;
        }
        if (rowsByInode.Any(entry.inode, [&](std::size_t earlier) {
                return rows[earlier].Identity.inode == entry.inode &&
                       rows[earlier].BeforeName == name;
            }))
            continue;
        rowsByInode.Add(entry.inode, rows.size());
        TargetRow row;
        row.BeforeName = std::move(name);
        if (!listed) {
            FillFileTimes(entry.instants, stamps);
            row.Modified = FormatDateTimeText(stamps.LastWriteTime, kDateTimeShortYearMinutes);
        }
        row.Identity = entry.Id();
        rows.push_back(std::move(row));
    }

    if (rows.empty()) {
        list.AllClear();
        return false;
    }
    list.SetTargetFolder(std::move(targetFolder));
    list.SetTargetFolderId(*targetId);
    list.AssignRows(std::move(rows));
    list.SetSortKey(SortColumn::BeforeName);
    list.SetSortOrder(SortOrder::Ascending);
    list.SetSorted(true);
    list.SetState(ListState::Ready);
    RefreshList(list,
                listShown ? ListChanges::NamesAndFolder(options) : ListChanges::Names(options),
                reader);
    return true;
}

}  // namespace karvel
