#pragma once
// Sorting by a clicked column and removing selected rows. Neither rebuilds the
// new names: rows keep their After Name until the next refresh. Both mark the
// conflicts again, since these depend on the rows above.

#include "targets/TargetList.h"

namespace karvel {

// Sorts by `column`: the column already sorted ascending turns descending,
// anything else sorts ascending.
void SortBy(TargetList& list, SortColumn column);

// Removes every selected row; empties the list when no row is left.
void RemoveSelectedTargets(TargetList& list);

}  // namespace karvel
