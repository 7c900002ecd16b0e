#include "targets/MovePlan.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace karvel {

namespace {

constexpr std::uint32_t kNone = SourceIndex::kNone;

}  // namespace

SourceIndex::SourceIndex(const std::vector<TargetRow>& rows)
    : rows_(rows), tags_(rows.size()), rowOf_(tags_.SlotCount(), kNone) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string_view name = rows[i].BeforeName;
        const std::uint64_t hash = NameTags::HashOf(name);
        const std::size_t slot = SlotOf(name, hash);
        if (tags_.Taken(slot)) continue;  // a later row with the same name: the first counts
        tags_.Take(slot, hash);
        rowOf_[slot] = static_cast<std::uint32_t>(i);
    }
}

std::size_t SourceIndex::SlotOf(std::string_view name, std::uint64_t hash) const {
    return tags_.Find(hash,
                      [&](std::size_t slot) { return rows_[rowOf_[slot]].BeforeName == name; });
}

std::uint32_t SourceIndex::RowOf(std::string_view name) const {
    const std::size_t slot = SlotOf(name, NameTags::HashOf(name));
    return tags_.Taken(slot) ? rowOf_[slot] : kNone;
}

bool PlanNeeded(const std::vector<TargetRow>& rows, const SourceIndex& sources) {
    return std::ranges::any_of(
        rows, [&](const TargetRow& row) { return sources.RowOf(row.AfterName) != kNone; });
}

bool PlanNeeded(const std::vector<TargetRow>& rows) {
    return PlanNeeded(rows, SourceIndex(rows));
}

MovePlan PlanMoves(const std::vector<TargetRow>& rows,
                   const std::function<bool(std::size_t)>& sourceUsable,
                   const std::function<bool(std::string_view)>& takenInFolder) {
    return PlanMoves(rows, SourceIndex(rows), sourceUsable, takenInFolder);
}

MovePlan PlanMoves(const std::vector<TargetRow>& rows, const SourceIndex& sources,
                   const std::function<bool(std::size_t)>& sourceUsable,
                   const std::function<bool(std::string_view)>& takenInFolder) {
    const std::size_t count = rows.size();
    MovePlan plan;
    plan.conflicts.assign(count, RowConflict::None);
    std::unordered_map<std::string_view, std::uint32_t> firstClaim;
    firstClaim.reserve(count);

    // The row whose file holds each row's target and must move first (kNone: none).
    std::vector<std::uint32_t> next(count, kNone);
    for (std::size_t i = 0; i < count; ++i) {
        const TargetRow& row = rows[i];
        const bool claimed =
            !firstClaim.emplace(row.AfterName, static_cast<std::uint32_t>(i)).second;
        if (!sourceUsable(i)) {
            plan.conflicts[i] = RowConflict::SourceUnusable;
        } else if (claimed) {
            plan.conflicts[i] = RowConflict::DuplicateName;
        } else if (row.AfterName.size() > kMaxNameBytes) {
            plan.conflicts[i] = RowConflict::NameTooLong;
        } else if (const std::uint32_t holder = sources.RowOf(row.AfterName);
                   holder != kNone && (holder == i || sourceUsable(holder))) {
            // The file listed under the target moves first, or the row keeps its name.
            if (holder != i) next[i] = holder;
            plan.needed = true;
        } else if (takenInFolder(row.AfterName)) {
            plan.conflicts[i] = RowConflict::NameTaken;
        }
    }

    // A row completes when the file holding its target moves away: follow each path
    // to its end or round its ring. A file that stays (it cannot move, or keeps its
    // name) keeps its name taken. `reach` is the highest row a row needs.
    enum : std::uint8_t { Unknown, Visiting, Done };
    std::vector<std::uint8_t> state(count, Unknown);
    std::vector<std::uint32_t> reach(count);
    std::vector<std::uint32_t> path;
    for (std::size_t start = 0; start < count; ++start) {
        if (state[start] == Done) continue;
        path.clear();
        std::uint32_t at = static_cast<std::uint32_t>(start);
        while (at != kNone && state[at] == Unknown) {
            state[at] = Visiting;
            path.push_back(at);
            at = next[at];
        }
        bool ring = false;
        RowConflict blocked = RowConflict::None;
        std::uint32_t highest = 0;
        std::size_t ringFrom = path.size();
        if (at != kNone && state[at] == Visiting) {
            ring = true;
            ringFrom =
                static_cast<std::size_t>(std::find(path.begin(), path.end(), at) - path.begin());
            for (std::size_t k = ringFrom; k < path.size(); ++k) {
                highest = std::max(highest, path[k]);
                if (plan.conflicts[path[k]] != RowConflict::None) blocked = RowConflict::NameTaken;
            }
        } else if (at != kNone) {
            highest = reach[at];  // joins a path already resolved
        }
        // From the end of the path back to its start; a ring resolves as a whole.
        for (std::size_t k = path.size(); k-- > 0;) {
            const std::uint32_t row = path[k];
            if (!(ring && k >= ringFrom)) {
                if (next[row] != kNone && plan.conflicts[next[row]] != RowConflict::None &&
                    plan.conflicts[row] == RowConflict::None) {
                    plan.conflicts[row] = RowConflict::NameTaken;
                }
                highest = std::max(highest, row);
            } else if (blocked != RowConflict::None && plan.conflicts[row] == RowConflict::None) {
                plan.conflicts[row] = blocked;
            }
            reach[row] = highest;
            state[row] = Done;
        }
    }

    // The run stops at the first row such that every row above it completes using rows
    // above it only.
    std::size_t firstFailing = count;
    for (std::size_t i = 0; i < count; ++i) {
        if (plan.conflicts[i] != RowConflict::None) {
            firstFailing = i;
            break;
        }
    }
    std::size_t stop = 0;
    std::uint32_t needed = 0;
    for (std::size_t k = 1; k <= firstFailing; ++k) {
        needed = std::max(needed, reach[k - 1]);
        if (needed < k) stop = k;
    }
    plan.stopRow = stop;
    if (stop < count) {
        plan.stopReason = plan.conflicts[stop] != RowConflict::None ? plan.conflicts[stop]
                                                                    : RowConflict::NameTaken;
    }

    // The steps: each row's own path, end first; a ring goes through a temporary name.
    std::vector<bool> scheduled(count, false);
    for (std::size_t start = 0; start < stop; ++start) {
        if (scheduled[start]) continue;
        path.clear();
        std::uint32_t at = static_cast<std::uint32_t>(start);
        while (at != kNone && !scheduled[at] && (path.empty() || at != start)) {
            path.push_back(at);
            at = next[at];
        }
        const bool ring = at == start && path.size() > 1;
        if (ring) plan.steps.push_back({path.front(), StepKind::ToTemp});
        for (std::size_t k = path.size(); k-- > (ring ? 1 : 0);) {
            const std::uint32_t row = path[k];
            const bool keep = rows[row].AfterName == rows[row].BeforeName;
            plan.steps.push_back({row, keep ? StepKind::Keep : StepKind::Rename});
        }
        if (ring) plan.steps.push_back({path.front(), StepKind::FromTemp});
        for (const std::uint32_t row : path) scheduled[row] = true;
        plan.groupEnds.push_back(plan.steps.size());
    }
    return plan;
}

}  // namespace karvel
