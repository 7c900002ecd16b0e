#pragma once
// The one order the list's derived state is made in: the After Names from the naming
// options, then the folder snapshot, then the conflict marks, which depend on both and on
// the rows' order. Whatever changes the names, the folder or the order comes through here.

#include <optional>
#include <utility>

#include "naming/NewNames.h"
#include "targets/FolderReader.h"
#include "targets/FolderSnapshot.h"
#include "targets/TargetList.h"

namespace karvel {

// What changed since the list's derived state was made. The marks are redone every time.
struct ListChanges {
    std::optional<NamingOptions> names;  // the options: every After Name is built again
    bool folder = false;                 // the folder: it is read again
    // The folder, its listing read already (by a caller that read it meanwhile); the kinds
    // of the rows' sources are still to be looked at.
    std::optional<FolderSnapshot> listed{};

    // Only the rows' order or their number: the marks alone.
    static ListChanges Order() { return {}; }
    static ListChanges Names(NamingOptions options) { return {std::move(options), false}; }
    static ListChanges Folder() { return {std::nullopt, true}; }
    static ListChanges NamesAndFolder(NamingOptions options) { return {std::move(options), true}; }
    static ListChanges NamesAndListed(NamingOptions options, FolderSnapshot listing) {
        return {std::move(options), true, std::move(listing)};
    }
};

// Brings the list up to date after `changes`. A list that wants a new drop reads no
// folder and marks no row.
void RefreshList(TargetList& list, ListChanges changes,
                 FolderReader& reader = SystemFolderReader());

}  // namespace karvel
