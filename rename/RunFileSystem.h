#pragma once
// Every file-system call of the rename run goes through here, so tests can make
// any call fail. A run opens its folder once and names every file inside it by its
// bare name, so that a folder moved or swapped during the run cannot send the
// rest of the run elsewhere.

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "filetime/FileId.h"
#include "filetime/FileTimes.h"

namespace karvel {

enum class LookupResult {
    Found,     // a regular file is there
    NotFound,  // nothing, or something that is not a regular file
    Failed,    // the lookup itself failed (permission, I/O error, a name too long)
};

// Which file a name led to, so that a later look can tell whether it is still the same.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;

    FileId Id() const { return {device, inode}; }
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

struct Lookup {
    LookupResult result = LookupResult::NotFound;
    std::error_code error;  // set when the lookup failed
    FileIdentity identity;  // set when found
    FileInstants instants;  // set when found
    unsigned mode = 0;      // kind and permission bits, set when found

    // Without any write bit a file counts as read-only, for root as well: its stamps stay.
    bool ReadOnly() const { return (mode & 0222) == 0; }
};

struct FolderOpening {
    std::error_code error;  // set when the folder could not be opened
    FileId identity;        // the folder that was opened
    // The kind of its file system, as the mount table names it ("ext4", "fuseblk", ...).
    std::string fileSystem;
    // FAT, exFAT and file systems through FUSE number their files anew on every mount:
    // there a file is told by its name, size and stamps.
    bool keepsInodes = true;
};

// Whether a file system keeps a modified time as it was written.
enum class StampFit { Kept, Changed, Unknown };

// How the opened folder's file system renames without replacing: a rename that
// refuses a taken name, a hard link then an unlink, or (where it has neither) an
// empty placeholder created exclusively under the new name, which the file then
// replaces: whoever takes a name first keeps it.
enum class RenameWay { NotYetKnown, NoReplace, LinkAndUnlink, Placeholder };

// Told of every file of Karvel's own (a placeholder, a probe) right before it is created,
// so that one left by a kill can be found and removed later. False: it could not be told,
// and the file is not created.
class ScratchNotes {
  public:
    virtual ~ScratchNotes() = default;
    virtual bool BeforeScratch(std::string_view name) = 0;
};

// The error of a step whose scratch file could not be told of first.
inline std::error_code ScratchNotRecorded() {
    return std::make_error_code(std::errc::operation_canceled);
}

class RunFileSystem {
  public:
    virtual ~RunFileSystem() = default;

    // Opens `folder` (absolute, ending in the separator; a final link is not
    // followed); the calls below name entries inside it until it is closed. `notes`
    // hears of every scratch file made in it meanwhile.
    virtual FolderOpening OpenFolder(const std::string& folder, ScratchNotes* notes = nullptr) = 0;
    virtual void CloseFolder() = 0;
    // Whether the opened folder's file system keeps `instant` as a modified time, as the
    // disk itself keeps it (not a cache). The folder's own times stay as they are.
    virtual StampFit TryStamp(const timespec& instant) = 0;

    // A regular file (links not followed), whatever its name. One look tells its
    // identity and stamps too.
    virtual Lookup LookupRegularFile(const std::string& name) = 0;
    // Sets the access and modified instants of the entry itself (never a link's target).
    virtual std::error_code WriteTimes(const std::string& name, const FileInstants& in) = 0;
    // Renames within the opened folder; never replaces an existing file.
    virtual std::error_code RenameNoReplace(const std::string& from, const std::string& to) = 0;
    // Removes one name of a file that has another, or an empty scratch file of Karvel's.
    virtual std::error_code RemoveName(const std::string& name) = 0;
    // Every name in the opened folder, for a run that must plan its moves.
    virtual std::error_code ListNames(std::vector<std::string>& out) = 0;
    // The way the renames of the folder opened last went.
    virtual RenameWay Way() const { return RenameWay::NotYetKnown; }
};

// The folder open for as long as this object lives.
class OpenedFolder {
  public:
    OpenedFolder(RunFileSystem& fileSystem, const std::string& folder,
                 ScratchNotes* notes = nullptr)
        : fileSystem_(fileSystem), opening_(fileSystem.OpenFolder(folder, notes)) {}
    ~OpenedFolder() { fileSystem_.CloseFolder(); }
    OpenedFolder(const OpenedFolder&) = delete;
    OpenedFolder& operator=(const OpenedFolder&) = delete;

    const FolderOpening& Opening() const { return opening_; }

  private:
    RunFileSystem& fileSystem_;
    FolderOpening opening_;
};

}  // namespace karvel
