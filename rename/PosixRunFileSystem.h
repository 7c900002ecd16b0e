#pragma once
// The run's file-system calls on the real disk.

#include <optional>

#include "rename/RunFileSystem.h"

namespace karvel {

// A run looks up a file, reads its stamps and writes them, one right after the other: the
// one statx of the lookup serves all three, until the next rename.
class PosixRunFileSystem final : public RunFileSystem {
public:
    Lookup LookupOrdinaryFile(const std::string& path) override;
    std::error_code ReadTimes(const std::string& path, FileInstants& out) override;
    std::error_code WriteTimes(const std::string& path, const FileInstants& in) override;
    std::error_code RenameNoReplace(const std::string& from, const std::string& to) override;

private:
    struct Looked {
        std::string path;
        FileEntry entry;
    };
    std::optional<Looked> lastFound_;
};

// True when renameat2 answered that the file system does not know RENAME_NOREPLACE.
bool NoReplaceUnsupported(int error);

// A rename that cannot replace, for file systems without RENAME_NOREPLACE: a hard link
// under the new name (which fails when the name is taken), then the old name removed. When
// the old name cannot be removed, the new link goes again, so the file keeps one name.
std::error_code RenameByLink(const std::string& from, const std::string& to);

}  // namespace karvel
