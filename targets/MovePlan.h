#pragma once
// The order a run renames its rows in. A target held by a listed file that this run
// moves is not a conflict: that file moves first. Rows that trade names in a ring go
// round through a temporary name. The run stops at the first row, in list order, that
// cannot be completed; every row above it needs only rows above it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "targets/NameTags.h"
#include "targets/TargetList.h"

namespace karvel {

enum class StepKind : std::uint8_t {
    Rename,    // Before Name to After Name, then the new stamp
    Keep,      // After Name equals Before Name: only the new stamp
    ToTemp,    // Before Name to a temporary name, to free the name for a ring
    FromTemp,  // the temporary name to After Name, then the new stamp
};

struct PlanStep {
    std::uint32_t row;
    StepKind kind;
};

struct MovePlan {
    // Rows from 0 up to here are renamed; this row (if any) is where the run stops.
    std::size_t stopRow = 0;
    RowConflict stopReason = RowConflict::None;
    // Why each row could not be completed (None when it could).
    std::vector<RowConflict> conflicts;
    // In the order to make them; after each step that ends a group, the rows done
    // are whole groups.
    std::vector<PlanStep> steps;
    std::vector<std::size_t> groupEnds;  // indexes into steps, one past each group
    bool needed = false;                 // some row waits for another or keeps its name
};

// The rows' Before Names, each to the first row that has it: one flat table that the
// check below and the plan share.
class SourceIndex {
  public:
    static constexpr std::uint32_t kNone = 0xffff'ffff;

    explicit SourceIndex(const std::vector<TargetRow>& rows);
    // The first row whose Before Name is `name`, or kNone.
    std::uint32_t RowOf(std::string_view name) const;

  private:
    std::size_t SlotOf(std::string_view name, std::uint64_t hash) const;

    const std::vector<TargetRow>& rows_;
    NameTags tags_;
    std::vector<std::uint32_t> rowOf_;  // by slot of tags_
};

// Whether any listed file holds another row's target, or a row keeps its name: only
// then is a plan more than the list's own order.
bool PlanNeeded(const std::vector<TargetRow>& rows, const SourceIndex& sources);
bool PlanNeeded(const std::vector<TargetRow>& rows);

// `sourceUsable(i)`: row i's file is there and is the file listed. `takenInFolder(name)`:
// something not listed stands under `name`. Rows must all have an After Name.
// `sources` is the index of these rows.
MovePlan PlanMoves(const std::vector<TargetRow>& rows, const SourceIndex& sources,
                   const std::function<bool(std::size_t)>& sourceUsable,
                   const std::function<bool(std::string_view)>& takenInFolder);
MovePlan PlanMoves(const std::vector<TargetRow>& rows,
                   const std::function<bool(std::size_t)>& sourceUsable,
                   const std::function<bool(std::string_view)>& takenInFolder);

}  // namespace karvel
