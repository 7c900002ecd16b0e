#include "rename/RenameRun.h"

#include <algorithm>
#include <string_view>

#include "rename/RunMessages.h"
#include "targets/StatusTexts.h"
#include "targets/TargetList.h"

namespace karvel {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

void SelectOnly(std::vector<TargetRow>& rows, std::size_t row) {
    if (row == 0) {
        for (TargetRow& each : rows) each.Selected = false;
    } else {
        rows[row - 1].Selected = false;
    }
    rows[row].Selected = true;
}

// One row: its checks, its new stamps and its rename. Returns whether the run goes on.
bool RenameRow(const TargetRow& row, const RunSettings& settings, RunHost& host,
               RunFileSystem& fileSystem, RunJournal*& journal, bool& journalBegun,
               const std::string& folder) {
    const std::string& source = row.BeforeName;
    const std::string& target = row.AfterName;

    const Lookup sourceFile = fileSystem.LookupOrdinaryFile(source);
    // Another file under the listed name is not the file the user chose.
    if (sourceFile.result != LookupResult::Found || sourceFile.identity.Id() != row.Identity) {
        host.ShowMessage(RunIcon::Error, SourceMissingText(row.BeforeName));
        return false;
    }
    const Lookup targetFile = fileSystem.LookupOrdinaryFile(target);
    if (targetFile.result == LookupResult::Failed && targetFile.error == std::errc::filename_too_long) {
        host.ShowMessage(RunIcon::Error, FailureText(targetFile.error, row.BeforeName, row.AfterName));
        return false;
    }
    if (targetFile.result != LookupResult::NotFound) {
        host.ShowMessage(RunIcon::Error, TargetExistsText(row.BeforeName, row.AfterName));
        return false;
    }

    // Without the stamps read there is nothing sound to write: the file keeps its own.
    FileInstants original;
    const bool stampsRead = !fileSystem.ReadTimes(source, original);
    const FileInstants restamped =
        stampsRead ? RestampedInstants(original, settings.date, settings.midnight) : original;
    // A journal that fails costs the undo of the rows from here on, never the run.
    if (journal != nullptr && !journalBegun) {
        journalBegun = true;
        if (!journal->Begin(folder)) journal = nullptr;
    }
    if (journal != nullptr &&
        !journal->Record({row.BeforeName, row.AfterName, stampsRead, original, restamped.modify,
                          sourceFile.identity})) {
        journal = nullptr;
    }
    const bool stampsWritten = stampsRead && !fileSystem.WriteTimes(source, restamped);

    if (const std::error_code error = fileSystem.RenameNoReplace(source, target)) {
        // A row that fails leaves its file exactly as it was.
        if (stampsWritten) (void)fileSystem.WriteTimes(source, original);
        host.ShowMessage(RunIcon::Error, FailureText(error, row.BeforeName, row.AfterName));
        return false;
    }
    return true;
}

// The first and the last instant of the chosen day, as the rows' new stamps may fall.
bool DateFitsDisk(const CalendarDate& date, RunFileSystem& fileSystem) {
    SYSTEMTIME day;
    day.wYear = static_cast<std::int16_t>(date.year);
    day.wMonth = static_cast<std::int16_t>(date.month);
    day.wDay = static_cast<std::int16_t>(date.day);
    SYSTEMTIME dayEnd = day;
    dayEnd.wHour = 23;
    dayEnd.wMinute = 59;
    dayEnd.wSecond = 59;
    for (const SYSTEMTIME& local : {day, dayEnd}) {
        const auto instant = LocalToInstant(local);
        if (!instant || fileSystem.TryStamp(*instant) == StampFit::Changed) return false;
    }
    return true;
}

}  // namespace

FileInstants RestampedInstants(const FileInstants& original, const CalendarDate& date, bool midnight) {
    FileTimeStamps stamps = ToLocalStamps(original);
    SYSTEMTIME& modified = stamps.LastWriteTime;
    modified.wYear = static_cast<std::int16_t>(date.year);
    modified.wMonth = static_cast<std::int16_t>(date.month);
    modified.wDay = static_cast<std::int16_t>(date.day);
    if (midnight) {
        modified.wHour = 0;
        modified.wMinute = 0;
        modified.wSecond = 0;
        modified.wMilliseconds = 0;
    }
    FileInstants restamped = FromLocalStamps(stamps, original);
    restamped.access = original.access;
    return restamped;
}

RunReport BtnStart_Click(TargetList& list, const RunSettings& settings, RunHost& host,
                         RunFileSystem& fileSystem, RunJournal* journal) {
    if (list.RowCount() == 0 || EqualsIgnoringCase(list.StsBarText(), kStsDropFiles)) {
        host.ShowMessage(RunIcon::Warning, std::string(kMsgNoTargets));
        return {RunResult::Refused, 0};
    }
    const auto& rows = list.Rows();
    if (std::ranges::any_of(rows, [](const TargetRow& row) { return row.AfterName.empty(); })) {
        host.ShowMessage(RunIcon::Warning, std::string(kMsgNamesUnusable));
        return {RunResult::Refused, 0};
    }
    if (host.ShowMessage(RunIcon::Question, ConfirmationText(list.RowCount())) != RunAnswer::Yes) {
        return {RunResult::Declined, 0};
    }

    RunReport report;
    {
        const HostBusyPointer busy(host);
        report = RenameTargets(list, settings, host, fileSystem, journal);
    }
    list.SetStsBarText(std::string(kStsDropFiles));
    return report;
}

RunReport RenameTargets(TargetList& list, const RunSettings& settings, RunHost& host,
                        RunFileSystem& fileSystem, RunJournal* journal) {
    auto& rows = list.MutableRows();
    const std::size_t total = rows.size();
    // The journal of the last run is replaced only once this run is about to change a file.
    bool journalBegun = false;
    host.Progress(0, total);
    if (total == 0) return {RunResult::Completed, 0};

    // Every call of the run is made inside the folder the files were taken from, even if
    // it is moved or another takes its name meanwhile.
    const OpenedFolder folder(fileSystem, list.TargetFolder());
    const FolderOpening& opening = folder.Opening();
    if (opening.error || opening.identity != list.TargetFolderId() || !list.TargetFolderId().Known()) {
        SelectOnly(rows, 0);
        host.RowSelected(0);
        host.ShowMessage(RunIcon::Error, SourceMissingText(rows.front().BeforeName));
        return {RunResult::Stopped, 0};
    }
    // A disk that would store another date than the chosen one is found before any file changes.
    if (!DateFitsDisk(settings.date, fileSystem)) {
        host.ShowMessage(RunIcon::Error, std::string(kMsgDateNotStorable));
        return {RunResult::Stopped, 0};
    }

    for (std::size_t row = 0; row < total; ++row) {
        SelectOnly(rows, row);
        host.RowSelected(row);
        if (!RenameRow(rows[row], settings, host, fileSystem, journal, journalBegun,
                       list.TargetFolder())) {
            return {RunResult::Stopped, row};
        }
        host.Progress(row + 1, total);
        host.ProcessEvents();
        if (host.StopRequested() && row + 1 < total) return {RunResult::Interrupted, row + 1};
    }
    host.BringToFront();
    host.ShowMessage(RunIcon::Information, std::string(kMsgSucceeded));
    return {RunResult::Completed, total};
}

}  // namespace karvel
