#include "targets/ListRefresh.h"

#include "targets/ConflictPreview.h"
#include "targets/RefreshNames.h"

namespace karvel {

void RefreshList(TargetList& list, ListChanges changes, FolderReader& reader) {
    if (changes.names) RefreshNewNames(list, *changes.names);
    if (changes.folder && !list.WantsDrop()) {
        FolderSnapshot snapshot =
            changes.listed ? std::move(*changes.listed)
                           : FolderSnapshot::ReadListing(list.TargetFolder(), false, reader);
        snapshot.LookAtSources(list.TargetFolder(), list.Rows(), reader);
        list.SetSnapshot(std::move(snapshot));
    }
    PreviewConflicts(list);
}

}  // namespace karvel
