#include "targets/ConflictPreview.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "targets/NameTags.h"

namespace karvel {

namespace {

// What stands under one name by the time the run reaches the current row, in the
// low two bits, and whether an earlier row has had it as its After Name since the
// name was last renamed away.
constexpr std::uint8_t kAbsent = 0;
constexpr std::uint8_t kOrdinaryFile = 1;
constexpr std::uint8_t kOther = 2;
constexpr std::uint8_t kUnknown = 3;  // the folder was not read and no earlier row touched the name
constexpr std::uint8_t kStateBits = 3;
constexpr std::uint8_t kAfterOfEarlierRow = 4;

// The names the rows touch, over the folder as the snapshot has it. The states sit
// in their own byte array beside the tags, so that walking 100,000 rows stays in
// cache; the names themselves are read only when a tag matches.
class RunNames {
  public:
    explicit RunNames(std::size_t names)
        : tags_(names),
          states_(tags_.SlotCount()),
          names_(new const std::string*[tags_.SlotCount()]) {}

    void Prefetch(std::uint64_t hash) const { __builtin_prefetch(&names_[tags_.Prefetch(hash)]); }

    // The state byte of `name`; `inFolder` is what the snapshot says of a name no
    // earlier row touched. Stays valid while the rows are walked: nothing moves.
    std::uint8_t& At(const std::string& name, std::uint64_t hash, std::uint8_t inFolder) {
        const std::size_t at =
            tags_.Find(hash, [&](std::size_t slot) { return *names_[slot] == name; });
        if (!tags_.Taken(at)) {
            tags_.Take(at, hash);
            names_[at] = &name;
            states_[at] = inFolder;
        }
        return states_[at];
    }

  private:
    NameTags tags_;
    std::vector<std::uint8_t> states_;
    std::unique_ptr<const std::string*[]> names_;  // written before it is read
};

std::uint8_t StateOf(EntryKind kind) {
    switch (kind) {
        case EntryKind::OrdinaryFile:
            return kOrdinaryFile;
        case EntryKind::Other:
            return kOther;
        case EntryKind::Absent:
            break;
    }
    return kAbsent;
}

std::uint8_t StateOf(SourceSeen seen) {
    switch (seen) {
        case SourceSeen::OrdinaryFile:
            return kOrdinaryFile;
        case SourceSeen::Missing:
            return kAbsent;
        case SourceSeen::NotOrdinary:
            return kOther;
        case SourceSeen::FolderUnknown:
        case SourceSeen::NotLookedUp:
            break;
    }
    return kUnknown;
}

SourceSeen LookUpSource(const FolderSnapshot& folder, const std::string& name) {
    if (!folder.Known()) return SourceSeen::FolderUnknown;
    switch (folder.KindOf(name)) {
        case EntryKind::OrdinaryFile:
            return SourceSeen::OrdinaryFile;
        case EntryKind::Other:
            return SourceSeen::NotOrdinary;
        case EntryKind::Absent:
            break;
    }
    return SourceSeen::Missing;
}

struct RowNames {
    std::uint64_t sourceHash = 0;
    std::uint64_t targetHash = 0;
    std::uint8_t targetInFolder = kUnknown;
};

RowConflict CheckRow(const TargetRow& row, const RowNames& looked, RunNames& names) {
    std::uint8_t& source = names.At(row.BeforeName, looked.sourceHash, StateOf(row.Source));
    std::uint8_t& target = names.At(row.AfterName, looked.targetHash, looked.targetInFolder);
    const std::uint8_t sourceState = source & kStateBits;
    const std::uint8_t targetState = target & kStateBits;
    RowConflict conflict = RowConflict::None;
    // In the run's own order of checks.
    if (sourceState != kOrdinaryFile && sourceState != kUnknown) {
        conflict = RowConflict::SourceUnusable;
    } else if ((target & kAfterOfEarlierRow) != 0) {
        conflict = RowConflict::DuplicateName;
    } else if (targetState == kOrdinaryFile || targetState == kOther || &target == &source) {
        // kOther too: the check lets it pass, but the rename never replaces anything.
        // A row renamed to its own name finds its own file, even in a folder not read.
        conflict = RowConflict::NameTaken;
    } else {
        // Renamed away, the name is free again, whoever wanted it before.
        source = kAbsent;
        target = kOrdinaryFile;
    }
    target |= kAfterOfEarlierRow;
    return conflict;
}

}  // namespace

void PreviewConflicts(TargetList& list) {
    auto& rows = list.MutableRows();
    if (list.State() == ListState::Empty) {
        for (TargetRow& row : rows) row.Conflict = RowConflict::None;
        return;
    }

    const FolderSnapshot& folder = list.Snapshot();
    RunNames names(2 * rows.size());
    // Rows go in blocks: first every hash of the block and the loads it leads to,
    // then the names those lead to, then the lookups, so that the cache misses of
    // a block overlap instead of queueing.
    constexpr std::size_t kBlock = 16;
    std::array<RowNames, kBlock> block;
    for (std::size_t first = 0; first < rows.size(); first += kBlock) {
        const std::size_t count = std::min(kBlock, rows.size() - first);
        for (std::size_t i = 0; i < count; ++i) {
            TargetRow& row = rows[first + i];
            if (row.Source == SourceSeen::NotLookedUp)
                row.Source = LookUpSource(folder, row.BeforeName);
            if (row.AfterName.empty()) continue;
            RowNames& looked = block[i];
            looked.sourceHash = NameTags::HashOf(row.BeforeName);
            looked.targetHash = NameTags::HashOf(row.AfterName);
            folder.Prefetch(looked.targetHash);
            names.Prefetch(looked.sourceHash);
            names.Prefetch(looked.targetHash);
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (!rows[first + i].AfterName.empty()) folder.PrefetchName(block[i].targetHash);
        }
        for (std::size_t i = 0; i < count; ++i) {
            const TargetRow& row = rows[first + i];
            if (row.AfterName.empty()) continue;
            block[i].targetInFolder =
                folder.Known() ? StateOf(folder.KindOf(row.AfterName, block[i].targetHash))
                               : kUnknown;
        }
        for (std::size_t i = 0; i < count; ++i) {
            TargetRow& row = rows[first + i];
            row.Conflict =
                row.AfterName.empty() ? RowConflict::EmptyName : CheckRow(row, block[i], names);
        }
    }
}

}  // namespace karvel
