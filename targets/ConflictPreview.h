#pragma once
// Telling before a run which rows it would stop at or fail on.

#include <string_view>

#include "targets/MovePlan.h"
#include "targets/TargetList.h"

namespace karvel {

// Marks every row with the reason the run would stop at it or fail on it, checking
// the rows top to bottom against the list's folder snapshot as the run would meet
// the folder: a name freed by an earlier row's rename is free, a name an earlier
// row renames to (or means to) is taken until a later rename frees it, and a row
// that would fail is taken to leave its file where it is. Reads no disk. After a
// run (the list asks for a new drop) no row is marked, since the snapshot no
// longer tells the folder.
void PreviewConflicts(TargetList& list);

// The moves a run would make, as the list's folder snapshot tells it; every row
// needs an After Name.
MovePlan PreviewPlan(const TargetList& list);

// Why a row is marked, as its tooltip and the start command's warning say it.
std::string_view ConflictReasonText(RowConflict conflict);

}  // namespace karvel
