#include "targets/TargetList.h"

#include <algorithm>

#include "targets/NaturalCompare.h"
#include "targets/StatusTexts.h"
#include "text/Text.h"

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

}  // namespace

bool RowLess(const TargetRow& a, const TargetRow& b, SortColumn key, SortOrder order) {
    const int c = NaturalCompare(SortText(a, key), SortText(b, key));
    return order == SortOrder::Ascending ? c < 0 : c > 0;
}

TargetList::TargetList() {
    AllClear();
}

void TargetList::AppendRow(TargetRow row) {
    if (!sorted_) {
        rows_.push_back(std::move(row));
        return;
    }
    const auto at = std::upper_bound(rows_.begin(), rows_.end(), row,
                                     [this](const TargetRow& a, const TargetRow& b) {
                                         return RowLess(a, b, sortKey_, sortOrder_);
                                     });
    rows_.insert(at, std::move(row));
}

void TargetList::AssignRows(std::vector<TargetRow> rows) {
    rows_ = std::move(rows);
    if (sorted_) SortRows();
}

void TargetList::RemoveSelectedRows() {
    std::erase_if(rows_, [](const TargetRow& row) { return row.Selected; });
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

void TargetList::WriteRowCount() {
    stsBarCnt_ = std::to_string(rows_.size());
}

ListState TargetList::State() const {
    if (stsBarText_ == kStsLoading) return ListState::Loading;
    if (EqualsIgnoringAsciiCase(stsBarText_, kStsDropFiles)) return ListState::Empty;
    return ListState::Ready;
}

void TargetList::AllClear() {
    rows_.clear();
    targetFolder_.clear();
    targetFolderId_ = {};
    snapshot_ = FolderSnapshot();
    stsBarText_ = kStsDropFiles;
    stsBarCnt_.clear();
    sorted_ = false;
}

void TargetList::SortRows() {
    // Rows are large: order their places, then move each row once.
    std::vector<std::uint32_t> order(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
        return RowLess(rows_[a], rows_[b], sortKey_, sortOrder_);
    });
    std::vector<TargetRow> sorted;
    sorted.reserve(rows_.size());
    for (const std::uint32_t i : order) sorted.push_back(std::move(rows_[i]));
    rows_ = std::move(sorted);
}

}  // namespace karvel
