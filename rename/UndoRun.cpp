#include "rename/UndoRun.h"

#include <stdio.h>

#include <fstream>

#include "rename/RunMessages.h"

namespace karvel {

namespace {

bool SameInstant(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// The file still carries what the run left: the stamp it wrote, or its own where the
// write did not take (a read-only file).
bool UnchangedSinceRun(const JournalEntry& entry, const FileInstants& now) {
    return !entry.stampsKnown || SameInstant(now.modify, entry.written) ||
           SameInstant(now.modify, entry.original.modify);
}

void RestoreStamps(const JournalEntry& entry, const std::string& path, const FileInstants& now,
                   RunFileSystem& fileSystem) {
    if (!entry.stampsKnown) return;
    FileInstants restored = now;
    restored.access = entry.original.access;
    restored.modify = entry.original.modify;
    (void)fileSystem.WriteTimes(path, restored);
}

}  // namespace

UndoReport UndoJournal(const Journal& journal, RunFileSystem& fileSystem, RunHost& host) {
    UndoReport report;
    const std::size_t total = journal.entries.size();
    std::size_t done = 0;
    host.Progress(0, total);
    // Undo acts inside the run's folder only, by bare names, as the run did.
    const OpenedFolder folder(fileSystem, journal.folder);
    if (folder.Opening().error) {
        for (auto entry = journal.entries.rbegin(); entry != journal.entries.rend(); ++entry) {
            report.skipped.push_back(entry->newName);
        }
        return report;
    }
    for (auto entry = journal.entries.rbegin(); entry != journal.entries.rend(); ++entry) {
        if (done > 0) {
            host.Progress(done, total);
            host.ProcessEvents();
        }
        ++done;
        const std::string& newPath = entry->newName;
        const std::string& oldPath = entry->oldName;
        const Lookup renamed = fileSystem.LookupOrdinaryFile(newPath);
        FileInstants now;
        if (renamed.result == LookupResult::Found && renamed.identity == entry->identity) {
            if (fileSystem.ReadTimes(newPath, now) || !UnchangedSinceRun(*entry, now) ||
                fileSystem.RenameNoReplace(newPath, oldPath)) {
                report.skipped.push_back(entry->newName);
                continue;
            }
            RestoreStamps(*entry, oldPath, now, fileSystem);
            ++report.restored;
            continue;
        }
        // Never renamed (the run stopped or was killed at this row): only the stamps may
        // need to go back.
        const Lookup original = fileSystem.LookupOrdinaryFile(oldPath);
        if (original.result == LookupResult::Found && original.identity == entry->identity) {
            if (!fileSystem.ReadTimes(oldPath, now) && UnchangedSinceRun(*entry, now)) {
                RestoreStamps(*entry, oldPath, now, fileSystem);
            }
            continue;
        }
        report.skipped.push_back(entry->newName);
    }
    host.Progress(total, total);
    return report;
}

bool CanUndo(const std::string& journalPath) {
    // Asked at start-up and after every run: the head of the journal tells, however long it is.
    std::ifstream file(journalPath, std::ios::binary);
    std::string head(64 * 1024, '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(file.gcount()));
    const auto rows = head.find("\nrow\t");
    if (rows == std::string::npos || head.find('\n', rows + 1) == std::string::npos) return false;
    const auto journal = ReadJournalText(head.substr(0, head.find('\n', rows + 1) + 1));
    return journal && !journal->entries.empty();
}

std::string UndoConfirmationText(std::size_t fileCount) {
    return std::to_string(fileCount) + " File の名前と更新日時を元に戻します  よろしいですか？";
}

std::string UndoReportText(const UndoReport& report) {
    std::string text = std::to_string(report.restored) + " File を元に戻しました";
    if (report.skipped.empty()) return text;
    text += "\r\n実行後に移動または変更されたため戻していないファイル:";
    for (const std::string& name : report.skipped) text += "\r\n( " + ShownName(name) + " )";
    return text;
}

UndoResult UndoLastRun(const std::string& journalPath, RunHost& host, RunFileSystem& fileSystem) {
    const auto journal = ReadJournal(journalPath);
    if (!journal || journal->entries.empty()) {
        host.ShowMessage(RunIcon::Warning, std::string(kMsgNothingToUndo));
        return UndoResult::Refused;
    }
    if (host.ShowMessage(RunIcon::Question, UndoConfirmationText(journal->entries.size())) !=
        RunAnswer::Yes) {
        return UndoResult::Declined;
    }
    UndoReport report;
    {
        const HostBusyPointer busy(host);
        report = UndoJournal(*journal, fileSystem, host);
    }
    // Undone once; what was skipped stays where it is.
    ::remove(journalPath.c_str());
    host.BringToFront();
    host.ShowMessage(report.skipped.empty() ? RunIcon::Information : RunIcon::Warning,
                     UndoReportText(report));
    return report.skipped.empty() ? UndoResult::Completed : UndoResult::Skipped;
}

}  // namespace karvel
