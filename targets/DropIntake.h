#pragma once
// Taking dropped files into the target list.

#include <functional>
#include <string>
#include <vector>

#include "naming/NewNames.h"
#include "targets/TargetList.h"

namespace karvel {

// Replaces the list with the dropped files: the list is emptied, shows the
// loading text (then `onLoading` runs, so a window can paint it at once), takes
// one row per dropped file of the target folder, sorts the rows by name and
// builds every new name from `options`, reads the folder once for the conflict
// preview and marks the rows. The target folder is the folder of the
// first path that names a file; files of other folders are left out like
// folders, so no row can point at a file that is not in the target folder.
// Returns whether any row was added; without one the list ends empty.
bool TakeInDrop(TargetList& list, const std::vector<std::string>& paths,
                const NamingOptions& options, const std::function<void()>& onLoading = {});

}  // namespace karvel
