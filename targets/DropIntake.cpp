#include "targets/DropIntake.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "filetime/DateTimeText.h"
#include "filetime/FileTimes.h"
#include "naming/TextPieces.h"
#include "targets/ConflictPreview.h"
#include "targets/StatusTexts.h"

namespace karvel {

namespace {

// The folder a path names, links followed: a file's folder is reached through them.
std::optional<FileId> FolderIdOf(const std::string& folder) {
    struct statx entry {};
    if (::statx(AT_FDCWD, folder.c_str(), AT_NO_AUTOMOUNT, STATX_TYPE | STATX_INO, &entry) != 0 ||
        !S_ISDIR(entry.stx_mode)) {
        return std::nullopt;
    }
    return FileId{(static_cast<unsigned long long>(entry.stx_dev_major) << 32) | entry.stx_dev_minor,
                  entry.stx_ino};
}

// The folder without links, "." or "..", ending in the separator; the text as given
// where the system cannot tell.
std::string CanonicalFolder(const std::string& folder) {
    const std::unique_ptr<char, decltype(&::free)> real(::realpath(folder.c_str(), nullptr), &::free);
    if (!real) return folder;
    return AddTrailingBackslash(real.get());
}

bool IsFolderOrLinkToOne(const std::string& path, const FileEntry& entry) {
    if (S_ISDIR(entry.mode)) return true;
    struct stat target {};
    return S_ISLNK(entry.mode) && ::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
}

}  // namespace

bool TakeInDrop(TargetList& list, const std::vector<std::string>& paths,
                const NamingOptions& options, const std::function<void()>& onLoading,
                std::vector<LeftOut>* leftOut) {
    list.AllClear();
    list.SetStsBarText(std::string(kStsLoading));
    if (onLoading) onLoading();

    const auto leave = [leftOut](const std::string& path, LeftOutReason reason) {
        if (leftOut != nullptr) leftOut->push_back({path, reason});
    };
    std::optional<FileId> targetId;
    std::string targetFolder;
    // Drops name their folder the same way for every file: one look per spelling.
    std::unordered_map<std::string, std::optional<FileId>> folderIds;
    std::unordered_set<std::string> names;
    // One record serves the whole drop: a slot that does not convert shows what the
    // file before it left there.
    FileTimeStamps stamps{};
    std::vector<TargetRow> rows;
    rows.reserve(paths.size());

    for (const std::string& path : paths) {
        // No file name holds a NUL; the system would see a shorter path, another file.
        if (path.empty() || path.find('\0') != std::string::npos) {
            leave(path, LeftOutReason::Unusable);
            continue;
        }
        if (path.front() != kPathSeparator) {
            leave(path, LeftOutReason::NotAbsolute);
            continue;
        }
        FileEntry entry;
        if (ReadFileEntry(path, entry)) {
            leave(path, LeftOutReason::Missing);
            continue;
        }
        if (IsFolderOrLinkToOne(path, entry)) {
            leave(path, LeftOutReason::Folder);
            continue;
        }
        const auto slash = path.rfind(kPathSeparator);
        const std::string folder = path.substr(0, slash + 1);
        std::string name = path.substr(slash + 1);
        auto known = folderIds.find(folder);
        if (known == folderIds.end()) known = folderIds.emplace(folder, FolderIdOf(folder)).first;
        const std::optional<FileId>& folderId = known->second;
        if (!folderId) {
            leave(path, LeftOutReason::Missing);
            continue;
        }
        if (!targetId) {
            targetId = folderId;
            targetFolder = CanonicalFolder(folder);
        } else if (*folderId != *targetId) {
            leave(path, LeftOutReason::OtherFolder);
            continue;
        }
        if (!names.insert(name).second) continue;  // the same file once more
        FillFileTimes(entry.instants, stamps);
        TargetRow row;
        row.BeforeName = std::move(name);
        row.Modified = FormatDateTimeText(stamps.LastWriteTime, kDateTimeShortYearMinutes);
        row.Identity = entry.Id();
        rows.push_back(std::move(row));
    }

    if (rows.empty()) {
        list.AllClear();
        return false;
    }
    list.SetTargetFolder(std::move(targetFolder));
    list.SetTargetFolderId(*targetId);
    list.AssignRows(std::move(rows));
    list.WriteRowCount();
    list.SetSortKey(SortColumn::BeforeName);
    list.SetSortOrder(SortOrder::Ascending);
    list.SetSorted(true);
    list.SetStsBarText(std::string(kStsPressStart));
    list.SetSnapshot(FolderSnapshot::Read(list.TargetFolder(), list.Rows()));
    RefreshNewNames(list, options);
    PreviewConflicts(list);
    return true;
}

}  // namespace karvel
