#pragma once
// What a drop learns of the folders its files are in, asked through the folder reader
// once per spelling: a drop spells the folder the same way for every file.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "filetime/FileId.h"
#include "targets/FolderReader.h"
#include "targets/FolderSnapshot.h"

namespace karvel {

class FolderLookup {
  public:
    // One spelling of a folder, as far as it was looked at.
    struct Folder {
        std::optional<FileId> id;  // empty when it is no folder or cannot be looked at
        // With listings: the folder's one listing with inodes, which tells its files
        // without a look at each; empty when it cannot be listed or is not trusted.
        std::optional<FolderSnapshot> listing;
        bool listingChecked = false;  // against one look at a file of it
    };

    // With `withListings` each folder is listed once as well.
    FolderLookup(FolderReader& reader, bool withListings)
        : reader_(reader), withListings_(withListings) {}

    // The folder spelled `text`, ending in the separator; it stays put while the lookup lives.
    Folder& Of(std::string_view text);

    // Whether the listing's word on `path`, a regular file there as `listed`, stands for a
    // look at it. The first such file of each folder is looked at: a listing whose inodes are
    // not the ones a look gives (as on some layered file systems) is let go.
    bool ListingAgrees(Folder& folder, const std::string& path,
                       const FolderSnapshot::Listed& listed);

    // `text` without links, "." or "..", ending in the separator; as given where the
    // system cannot tell.
    std::string Canonical(std::string_view text);

  private:
    FolderReader& reader_;
    bool withListings_;
    std::unordered_map<std::string, Folder> folders_;
    // Paths come folder by folder: the last spelling answers most of them.
    std::string_view lastText_;
    Folder* last_ = nullptr;
};

}  // namespace karvel
