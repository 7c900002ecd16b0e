#include "targets/StartCheck.h"

#include <algorithm>

namespace karvel {

StartCheck CheckStart(const TargetList& list) {
    if (list.RowCount() == 0 || list.WantsDrop()) return {StartVerdict::NoTargets};
    if (list.NameMissing()) return {StartVerdict::NamesUnusable};
    if (list.DatesPending() != 0) return {StartVerdict::DatesPending};
    const auto& rows = list.Rows();
    const auto marked = std::ranges::find_if(
        rows, [](const TargetRow& row) { return row.Conflict != RowConflict::None; });
    if (marked == rows.end()) return {StartVerdict::Clear};
    return {StartVerdict::StopsAtRow, static_cast<std::size_t>(marked - rows.begin()),
            marked->Conflict};
}

}  // namespace karvel
