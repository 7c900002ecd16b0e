#include "targets/ConflictPreview.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "targets/MovePlan.h"
#include "targets/NameTags.h"
#include "texts/ListTexts.h"

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
constexpr std::uint8_t kRenamedHere = 8;  // an earlier row's file now stands under the name

// The names the rows touch, over the folder as the snapshot has it. A slot holds
// the tag, the state and where the name is, so that a lookup or an insert touches
// one cache line; the name itself is read only when a tag matches.
class RunNames {
  public:
    explicit RunNames(const std::vector<TargetRow>& rows)
        : rows_(rows), slots_(std::bit_ceil(std::max<std::size_t>(16, rows.size() * 4))) {}

    void Prefetch(std::uint64_t hash) const { __builtin_prefetch(&slots_[Home(hash)]); }

    // The state byte of the Before Name (`after` false) or After Name of row `row`;
    // `inFolder` is what the snapshot says of a name no earlier row touched. Stays
    // valid while the rows are walked: the table is never rebuilt.
    std::uint8_t& At(std::size_t row, bool after, std::uint64_t hash, std::uint8_t inFolder) {
        const std::string& name = NameOf(row, after);
        Slot& slot = slots_[NameTags::Probe(
            hash, slots_.size() - 1, [this](std::size_t at) { return slots_[at].tag; },
            [&](std::size_t at) { return NameOf(slots_[at].row, slots_[at].after) == name; })];
        if (slot.tag == 0)
            slot = {static_cast<std::uint32_t>(row), NameTags::TagOf(hash), after, inFolder};
        return slot.state;
    }

  private:
    struct Slot {
        std::uint32_t row = 0;
        std::uint8_t tag = 0;  // 0 marks a free slot
        bool after = false;
        std::uint8_t state = 0;
    };

    const std::string& NameOf(std::size_t row, bool after) const {
        return after ? rows_[row].AfterName : rows_[row].BeforeName;
    }
    std::size_t Home(std::uint64_t hash) const {
        return static_cast<std::size_t>(hash) & (slots_.size() - 1);
    }

    const std::vector<TargetRow>& rows_;
    std::vector<Slot> slots_;
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

RowConflict CheckRow(const TargetRow& row, std::size_t at, const RowNames& looked,
                     RunNames& names) {
    std::uint8_t& source = names.At(at, false, looked.sourceHash, StateOf(row.Source));
    std::uint8_t& target = names.At(at, true, looked.targetHash, looked.targetInFolder);
    const std::uint8_t sourceState = source & kStateBits;
    const std::uint8_t targetState = target & kStateBits;
    RowConflict conflict = RowConflict::None;
    // In the run's own order of checks.
    // Under a name an earlier row renamed its own file to stands that file, not this row's.
    if ((sourceState != kOrdinaryFile && sourceState != kUnknown) || (source & kRenamedHere) != 0) {
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
        target = kOrdinaryFile | kRenamedHere;
    }
    target |= kAfterOfEarlierRow;
    return conflict;
}

// The walk in list order is exact when it finds nothing. Otherwise rows may only be
// waiting for a file listed below them, or trade names: the run plans its moves, and
// marks only what it will really stop at.
MovePlan PlanOver(const std::vector<TargetRow>& rows, const FolderSnapshot& folder) {
    return PlanMoves(
        rows,
        [&rows](std::size_t i) {
            const SourceSeen seen = rows[i].Source;
            return seen != SourceSeen::Missing && seen != SourceSeen::NotOrdinary;
        },
        [&folder](std::string_view name) {
            return folder.Known() && folder.KindOf(name) != EntryKind::Absent;
        });
}

void MarkByPlan(TargetList& list) {
    auto& rows = list.MutableRows();
    const auto marked = [](const TargetRow& row) { return row.Conflict != RowConflict::None; };
    if (!std::ranges::any_of(rows, marked) || list.NameMissing()) return;
    const MovePlan plan = PlanOver(rows, list.Snapshot());
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i].Conflict = plan.conflicts[i];
    if (plan.stopRow < rows.size()) rows[plan.stopRow].Conflict = plan.stopReason;
}

}  // namespace

void PreviewConflicts(TargetList& list) {
    auto& rows = list.MutableRows();
    // Marks wait for every date: a name still to come may clash with any other.
    if (list.WantsDrop() || list.DatesPending() != 0) {
        for (TargetRow& row : rows) row.Conflict = RowConflict::None;
        return;
    }

    const FolderSnapshot& folder = list.Snapshot();
    RunNames names(rows);
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
            row.Conflict = row.AfterName.empty() ? RowConflict::EmptyName
                                                 : CheckRow(row, first + i, block[i], names);
            // The run's target lookup fails on such a name once the source passed.
            if (row.AfterName.size() > kMaxNameBytes &&
                row.Conflict != RowConflict::SourceUnusable &&
                row.Conflict != RowConflict::EmptyName) {
                row.Conflict = RowConflict::NameTooLong;
            }
        }
    }
    MarkByPlan(list);
}

MovePlan PreviewPlan(const TargetList& list) {
    return PlanOver(list.Rows(), list.Snapshot());
}

std::string_view ConflictReasonText(RowConflict conflict) {
    switch (conflict) {
        case RowConflict::EmptyName:
            return kConflictEmptyName;
        case RowConflict::DuplicateName:
            return kConflictDuplicateName;
        case RowConflict::NameTaken:
            return kConflictNameTaken;
        case RowConflict::NameTooLong:
            return kConflictNameTooLong;
        case RowConflict::SourceUnusable:
            return kConflictSourceUnusable;
        case RowConflict::None:
            break;
    }
    return {};
}

}  // namespace karvel
