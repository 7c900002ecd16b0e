#pragma once
// The run's file-system calls on the real disk, all relative to the opened folder.

#include "files/MountKind.h"
#include "files/UniqueFd.h"
#include "rename/RunFileSystem.h"

namespace karvel {

// The system calls that decide how a folder renames without replacing and how its stamps
// are probed; tests put in calls that refuse, as some file systems do.
struct RenameCalls {
    int (*renameNoReplace)(int folder, const char* from, const char* to);
    int (*link)(int folder, const char* from, const char* to);
    // An unnamed file in the folder, or -1 with errno where the file system has none.
    int (*openUnnamed)(int folder) = nullptr;
    // A rename that replaces: only ever over Karvel's own placeholder.
    int (*plainRename)(int folder, const char* from, const char* to) = nullptr;
};
RenameCalls SystemRenameCalls();

class PosixRunFileSystem final : public RunFileSystem {
  public:
    explicit PosixRunFileSystem(RenameCalls calls = SystemRenameCalls()) : calls_(calls) {}

    FolderOpening OpenFolder(const std::string& folder, ScratchNotes* notes = nullptr) override;
    void CloseFolder() override;
    StampFit TryStamp(const timespec& instant) override;
    Lookup LookupRegularFile(const std::string& name) override;
    std::error_code WriteTimes(const std::string& name, const FileInstants& in) override;
    std::error_code RenameNoReplace(const std::string& from, const std::string& to) override;
    std::error_code RemoveName(const std::string& name) override;
    std::error_code ListNames(std::vector<std::string>& out) override;
    RenameWay Way() const override { return way_; }
    // The file system of the folder opened last.
    const MountKind& Kind() const { return kind_; }

  private:
    std::error_code RenameByLink(const std::string& from, const std::string& to);
    std::error_code RenameOverPlaceholder(const std::string& from, const std::string& to);
    StampFit ProbeOn(int fd, const timespec& instant);
    UniqueFd CreateScratch(const std::string& name);

    RenameCalls calls_;
    UniqueFd folder_;
    MountKind kind_;
    ScratchNotes* notes_ = nullptr;
    RenameWay way_ = RenameWay::NotYetKnown;
};

// True when renameat2 answered that the file system does not know RENAME_NOREPLACE.
bool NoReplaceUnsupported(int error);
// True when linkat answered that the file system has no hard links.
bool LinksUnsupported(int error);

}  // namespace karvel
