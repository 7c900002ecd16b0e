#pragma once
// The target list: the files the next rename run will rename, their folder, the
// sort state and the list's state. The window mirrors this model; the model holds
// the truth.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "filetime/FileId.h"
#include "targets/FolderSnapshot.h"
#include "targets/OwnDate.h"

namespace karvel {

// No file system of this platform holds a longer name.
inline constexpr std::size_t kMaxNameBytes = 255;

// Why the run would stop at or fail on a row, as far as can be told before it starts.
enum class RowConflict : std::uint8_t {
    None,
    EmptyName,       // no After Name: the start command refuses the list
    DuplicateName,   // an earlier row takes (or means to take) the same After Name first
    NameTaken,       // something in the folder has the After Name when the row's turn comes
    NameTooLong,     // the After Name is longer than any folder can hold
    SourceUnusable,  // the file is missing or not a regular file
};

// What the list's folder snapshot says of a row's own file. The conflict preview
// looks it up once per snapshot, so that a refresh need not look again.
enum class SourceSeen : std::uint8_t {
    NotLookedUp,
    OrdinaryFile,
    Missing,
    NotOrdinary,
    FolderUnknown
};

struct TargetRow {
    std::string BeforeName;  // the file's current name, no folder
    std::string AfterName;   // the name it will get
    std::string Modified;    // last-write time when the row was added, "yy/MM/dd HH:mm"
    bool Selected = false;
    FileId Identity{};                         // the file the user chose; the run acts on no other
    RowConflict Conflict = RowConflict::None;  // written by PreviewConflicts
    SourceSeen Source = SourceSeen::NotLookedUp;
    timespec ModifiedAt{};  // the modified instant when the row was added
    // The capture time once read, or why there is none (then the modified time stands in);
    // absent until read.
    std::optional<OwnDate> Taken{};
};

enum class ListState {
    Empty,    // no rows; a drop is wanted
    Loading,  // a drop is being read
    Ready,    // rows from a drop, for the start command
    Spent,    // a run ended: the rows are still shown, a new drop is wanted
};

enum class SortColumn { BeforeName = 0, AfterName = 1, Modified = 2 };
enum class SortOrder { Ascending = 0, Descending = 1 };

class TargetList {
  public:
    TargetList();

    const std::vector<TargetRow>& Rows() const { return rows_; }
    // For edits that keep the row order (new names, selection flags, marks). Whoever
    // writes After Names writes NameMissing with them.
    std::vector<TargetRow>& MutableRows() { return rows_; }
    std::size_t RowCount() const { return rows_.size(); }

    // Replaces all rows at once; kept ordered while Sorted is on.
    void AssignRows(std::vector<TargetRow> rows);
    // Removes every selected row, the rows below moving up.
    void RemoveSelectedRows();

    // Some row has no After Name: the options could not form names, and the start
    // command refuses the list. Rows that come with their names tell it themselves.
    bool NameMissing() const { return nameMissing_; }
    void SetNameMissing(bool missing) { nameMissing_ = missing; }
    // Rows whose own date is still being read: they have no After Name yet, and the start
    // command waits for them. Whoever writes After Names writes this with them.
    std::size_t DatesPending() const { return datesPending_; }
    void SetDatesPending(std::size_t pending) { datesPending_ = pending; }

    // The folder of every row, ending in the separator; empty while the list is empty.
    const std::string& TargetFolder() const { return targetFolder_; }
    void SetTargetFolder(std::string folder) { targetFolder_ = std::move(folder); }
    // The full path of a row's file.
    std::string PathOf(const TargetRow& row) const { return targetFolder_ + row.BeforeName; }
    // Which folder TargetFolder named when the files were taken in.
    FileId TargetFolderId() const { return targetFolderId_; }
    void SetTargetFolderId(FileId id) { targetFolderId_ = id; }

    // The folder as the last drop found it; what the conflict preview checks against.
    const FolderSnapshot& Snapshot() const { return snapshot_; }
    // Every row's source is looked up again against the new snapshot.
    void SetSnapshot(FolderSnapshot snapshot);

    SortColumn SortKey() const { return sortKey_; }
    SortOrder GetSortOrder() const { return sortOrder_; }
    bool Sorted() const { return sorted_; }
    void SetSortKey(SortColumn key);
    void SetSortOrder(SortOrder order);
    void SetSorted(bool sorted);

    ListState State() const { return state_; }
    void SetState(ListState state) { state_ = state; }
    // Empty or Spent: the start command refuses and no row is marked.
    bool WantsDrop() const { return state_ == ListState::Empty || state_ == ListState::Spent; }

    // Empties the list: no rows, no folder, no snapshot, Empty, not sorted.
    void AllClear();

  private:
    void SortRows();

    std::vector<TargetRow> rows_;
    std::string targetFolder_;
    FileId targetFolderId_;
    FolderSnapshot snapshot_;
    SortColumn sortKey_ = SortColumn::BeforeName;
    SortOrder sortOrder_ = SortOrder::Ascending;
    bool sorted_ = false;
    bool nameMissing_ = false;
    std::size_t datesPending_ = 0;
    ListState state_ = ListState::Empty;
};

}  // namespace karvel
