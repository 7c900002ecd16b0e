#pragma once
// The new names of the list's rows, rebuilt whenever an option changes.

#include "naming/NewNames.h"
#include "targets/TargetList.h"

namespace karvel {

// Rebuilds every row's AfterName in display order. When the options cannot form
// a name, every AfterName becomes empty and the list tells NameMissing. Returns
// whether names were formed.
bool RefreshNewNames(TargetList& list, const NamingOptions& options);

}  // namespace karvel
