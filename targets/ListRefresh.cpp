#include "targets/ListRefresh.h"

#include "targets/ConflictPreview.h"
#include "targets/RefreshNames.h"

namespace karvel {

void RefreshList(TargetList& list, const ListChanges& changes, FolderReader& reader) {
    if (changes.names) RefreshNewNames(list, *changes.names);
    if (changes.folder && !list.WantsDrop())
        list.SetSnapshot(FolderSnapshot::Read(list.TargetFolder(), list.Rows(), false, reader));
    PreviewConflicts(list);
}

}  // namespace karvel
