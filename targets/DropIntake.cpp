#include "targets/DropIntake.h"

#include "filetime/DateTimeText.h"
#include "filetime/FileTimes.h"
#include "naming/FNameEdit.h"
#include "naming/TextPieces.h"
#include "targets/ConflictPreview.h"
#include "targets/StatusTexts.h"

namespace karvel {

bool TakeInDrop(TargetList& list, const std::vector<std::string>& paths,
                const NamingOptions& options, const std::function<void()>& onLoading) {
    list.AllClear();
    list.SetStsBarText(std::string(kStsLoading));
    if (onLoading) onLoading();

    FNameEdit splitter;
    std::string folder;
    bool folderChosen = false;
    // One record serves the whole drop: a file whose times cannot be read shows
    // what the failed read left in it.
    FileTimeStamps stamps{};
    std::vector<TargetRow> rows;
    rows.reserve(paths.size());

    for (const std::string& path : paths) {
        // No file name holds a NUL; the system would see a shorter path, another file.
        if (path.empty() || path.find('\0') != std::string::npos) continue;
        splitter.ifaFullPath = path;
        // A regular file (the usual drop) costs one look at the disk instead of two.
        const bool plain = path.front() != ' ' && path.back() != ' ' && path.back() != kPathSeparator;
        FileTimeStamps fileStamps = stamps;
        const bool readAsFile = plain && GetRegularFileTimes(path, fileStamps);
        if (readAsFile) {
            splitter.cFNameEditOfFile();
        } else {
            splitter.cFNameEdit();
        }
        if (splitter.ifaFileName.empty()) continue;  // a folder is neither added nor looked into
        std::string fileFolder = AddTrailingBackslash(splitter.ifaDirName);
        if (!folderChosen) {
            folder = std::move(fileFolder);
            folderChosen = true;
        } else if (fileFolder != folder) {
            continue;
        }
        if (readAsFile) {
            stamps = fileStamps;
        } else {
            GetFileTimes(folder + splitter.ifaFileName, stamps);
        }
        rows.push_back({splitter.ifaFileName, std::string(),
                        FormatDateTimeText(stamps.LastWriteTime, kDateTimeShortYearMinutes), false});
    }

    if (rows.empty()) {
        list.AllClear();
        return false;
    }
    list.SetTargetFolder(std::move(folder));
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
