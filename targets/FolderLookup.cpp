#include "targets/FolderLookup.h"

#include <sys/stat.h>

#include "naming/TextPieces.h"
#include "targets/TargetList.h"

namespace karvel {

FolderLookup::Folder& FolderLookup::Of(std::string_view text) {
    if (last_ != nullptr && text == lastText_) return *last_;
    auto known = folders_.find(std::string(text));
    if (known == folders_.end()) {
        Folder folder;
        const std::string spelled(text);
        // The folder a path names, links followed: a file's folder is reached through them.
        FileEntry entry;
        if (!reader_.LookThrough(spelled, entry) && S_ISDIR(entry.mode)) folder.id = entry.Id();
        if (withListings_ && folder.id) {
            FolderSnapshot listing = FolderSnapshot::Read(spelled, {}, true, reader_);
            if (listing.Known()) folder.listing = std::move(listing);
        }
        known = folders_.emplace(spelled, std::move(folder)).first;
    }
    lastText_ = known->first;
    last_ = &known->second;
    return *last_;
}

bool FolderLookup::ListingAgrees(Folder& folder, const std::string& path,
                                 const FolderSnapshot::Listed& listed) {
    if (!folder.listingChecked) {
        folder.listingChecked = true;
        FileEntry entry;
        if (reader_.Look(path, entry) || entry.inode != listed.inode) folder.listing.reset();
    }
    return folder.listing.has_value();
}

std::string FolderLookup::Canonical(std::string_view text) {
    const auto real = reader_.RealFolder(std::string(text));
    if (!real) return std::string(text);
    return AddTrailingBackslash(*real);
}

}  // namespace karvel
