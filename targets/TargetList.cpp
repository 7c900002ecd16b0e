#include "targets/TargetList.h"

#include <algorithm>

#include "targets/NaturalCompare.h"

namespace karvel {

namespace {

const std::string& SortText(const TargetRow& row, SortColumn key) {
    switch (key) {
        case SortColumn::AfterName:
            return row.AfterName;
        case SortColumn::Modified:
            return row.Modified;
        case SortColumn::BeforeName:
            break;
    }
    return row.BeforeName;
}

bool AnyNameMissing(const std::vector<TargetRow>& rows) {
    // Names are formed for every row or for none: a fresh intake stops at its first row.
    return std::ranges::any_of(rows, [](const TargetRow& row) { return row.AfterName.empty(); });
}

}  // namespace

TargetList::TargetList() {
    AllClear();
}

void TargetList::AssignRows(std::vector<TargetRow> rows) {
    rows_ = std::move(rows);
    nameMissing_ = AnyNameMissing(rows_);
    if (sorted_) SortRows();
}

void TargetList::RemoveSelectedRows() {
    std::erase_if(rows_, [](const TargetRow& row) { return row.Selected; });
    if (nameMissing_) nameMissing_ = AnyNameMissing(rows_);
    // The rows still waiting for their dates are the ones without a name.
    if (datesPending_ != 0)
        datesPending_ = static_cast<std::size_t>(std::ranges::count_if(
            rows_, [](const TargetRow& row) { return row.AfterName.empty(); }));
}

void TargetList::SetSnapshot(FolderSnapshot snapshot) {
    snapshot_ = std::move(snapshot);
    for (TargetRow& row : rows_) row.Source = SourceSeen::NotLookedUp;
}

void TargetList::SetSortKey(SortColumn key) {
    sortKey_ = key;
    if (sorted_) SortRows();
}

void TargetList::SetSortOrder(SortOrder order) {
    sortOrder_ = order;
    if (sorted_) SortRows();
}

void TargetList::SetSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_) SortRows();
}

void TargetList::AllClear() {
    rows_.clear();
    targetFolder_.clear();
    targetFolderId_ = {};
    snapshot_ = FolderSnapshot();
    nameMissing_ = false;
    datesPending_ = 0;
    state_ = ListState::Empty;
    sorted_ = false;
}

void TargetList::SortRows() {
    // Each row's sort text becomes a key once; the sort compares keys as plain bytes.
    std::string keys;
    std::size_t textBytes = 0;
    for (const TargetRow& row : rows_) textBytes += SortText(row, sortKey_).size();
    keys.reserve(textBytes + 9 * rows_.size());  // room for a run of digits in each
    std::vector<std::uint32_t> keyEnds(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        AppendNaturalKey(keys, SortText(rows_[i], sortKey_));
        keyEnds[i] = static_cast<std::uint32_t>(keys.size());
    }
    const auto keyOf = [&](std::uint32_t i) {
        const std::uint32_t begin = i == 0 ? 0 : keyEnds[i - 1];
        return std::string_view(keys).substr(begin, keyEnds[i] - begin);
    };
    std::vector<std::uint32_t> order(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
    const bool ascending = sortOrder_ == SortOrder::Ascending;
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return ascending ? keyOf(a) < keyOf(b) : keyOf(b) < keyOf(a);
    });
    // Rows are large: each moves once, round the cycles of the order, in place.
    constexpr std::uint32_t kPlaced = 0xffff'ffff;
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (order[start] == kPlaced || order[start] == start) continue;
        TargetRow held = std::move(rows_[start]);
        std::size_t at = start;
        while (order[at] != start) {
            const std::uint32_t from = order[at];
            rows_[at] = std::move(rows_[from]);
            order[at] = kPlaced;
            at = from;
        }
        rows_[at] = std::move(held);
        order[at] = kPlaced;
    }
}

}  // namespace karvel
