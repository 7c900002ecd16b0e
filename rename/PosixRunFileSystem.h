#pragma once
// The run's file-system calls on the real disk, all relative to the opened folder.

#include "files/UniqueFd.h"
#include "rename/RunFileSystem.h"

namespace karvel {

// The two system calls that decide how a folder renames without replacing; tests put
// in calls that refuse, as some file systems do.
struct RenameCalls {
    int (*renameNoReplace)(int folder, const char* from, const char* to);
    int (*link)(int folder, const char* from, const char* to);
};
RenameCalls SystemRenameCalls();

class PosixRunFileSystem final : public RunFileSystem {
  public:
    explicit PosixRunFileSystem(RenameCalls calls = SystemRenameCalls()) : calls_(calls) {}

    FolderOpening OpenFolder(const std::string& folder) override;
    void CloseFolder() override;
    StampFit TryStamp(const timespec& instant) override;
    Lookup LookupOrdinaryFile(const std::string& name) override;
    Lookup LookupRegularFile(const std::string& name) override;
    std::error_code WriteTimes(const std::string& name, const FileInstants& in) override;
    std::error_code RenameNoReplace(const std::string& from, const std::string& to) override;
    std::error_code RemoveName(const std::string& name) override;
    std::error_code ListNames(std::vector<std::string>& out) override;
    RenameWay Way() const override { return way_; }

  private:
    std::error_code RenameByLink(const std::string& from, const std::string& to);
    std::error_code CheckThenRename(const std::string& from, const std::string& to);

    RenameCalls calls_;
    UniqueFd folder_;
    RenameWay way_ = RenameWay::NotYetKnown;
};

// True when renameat2 answered that the file system does not know RENAME_NOREPLACE.
bool NoReplaceUnsupported(int error);
// True when linkat answered that the file system has no hard links.
bool LinksUnsupported(int error);

}  // namespace karvel
