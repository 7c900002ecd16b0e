#include "targets/ListEditing.h"

#include "targets/ListRefresh.h"

namespace karvel {

void SortBy(TargetList& list, SortColumn column) {
    const bool turnDescending =
        column == list.SortKey() && list.GetSortOrder() == SortOrder::Ascending;
    // Order first, then key, then sorted: the rows are ordered once, at the end.
    list.SetSorted(false);
    list.SetSortOrder(turnDescending ? SortOrder::Descending : SortOrder::Ascending);
    list.SetSortKey(column);
    list.SetSorted(true);
    // The run goes top to bottom, so a new order can free or take names.
    RefreshList(list, ListChanges::Order());
}

void RemoveSelectedTargets(TargetList& list) {
    list.RemoveSelectedRows();
    if (list.RowCount() > 0) {
        RefreshList(list, ListChanges::Order());
    } else {
        list.AllClear();
    }
}

}  // namespace karvel
