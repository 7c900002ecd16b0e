#include "rename/UndoRun.h"

#include <stdio.h>
#include <time.h>

#include <algorithm>

#include "rename/RunMessages.h"

namespace karvel {

namespace {

bool SameInstant(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// A removable disk comes back under another device number: inode and size tell the file.
bool SameFile(const Lookup& found, const JournalEntry& entry) {
    return found.result == LookupResult::Found && found.identity.inode == entry.identity.inode &&
           found.identity.size == entry.identity.size;
}

// The file carries what the run left: the stamp it wrote, or its own where the write
// never came (a read-only file, or a stop between the rename and the stamp).
bool UnchangedSinceRun(const JournalEntry& entry, const Lookup& now) {
    return !entry.stampsKnown || !entry.restamped ||
           SameInstant(now.instants.modify, entry.written) ||
           SameInstant(now.instants.modify, entry.original.modify);
}

void RestoreStamps(const JournalEntry& entry, const std::string& name, const Lookup& now,
                   RunFileSystem& fileSystem) {
    if (!entry.stampsKnown || !entry.restamped || now.ReadOnly()) return;
    if (SameInstant(now.instants.modify, entry.original.modify) &&
        SameInstant(now.instants.access, entry.original.access)) {
        return;
    }
    FileInstants restored = now.instants;
    restored.access = entry.original.access;
    restored.modify = entry.original.modify;
    (void)fileSystem.WriteTimes(name, restored);
}

enum class Outcome { Restored, NothingToDo, Skipped };

Outcome UndoEntry(const JournalEntry& entry, RunFileSystem& fileSystem, SkippedFile& skipped) {
    skipped = {entry.newName, SkipReason::Missing, {}};
    const Lookup renamed = fileSystem.LookupRegularFile(entry.newName);
    if (SameFile(renamed, entry)) {
        if (!UnchangedSinceRun(entry, renamed)) {
            skipped.reason = SkipReason::Changed;
            return Outcome::Skipped;
        }
        if (entry.oldName == entry.newName) {
            RestoreStamps(entry, entry.oldName, renamed, fileSystem);
            return Outcome::Restored;
        }
        // Killed between a link and an unlink: one file under both names.
        if (SameFile(fileSystem.LookupRegularFile(entry.oldName), entry)) {
            if (const std::error_code error = fileSystem.RemoveName(entry.newName)) {
                skipped = {entry.newName, SkipReason::Failed, error};
                return Outcome::Skipped;
            }
        } else if (const std::error_code error =
                       fileSystem.RenameNoReplace(entry.newName, entry.oldName)) {
            skipped.reason =
                error == std::errc::file_exists ? SkipReason::NameTaken : SkipReason::Failed;
            skipped.error = error;
            return Outcome::Skipped;
        }
        RestoreStamps(entry, entry.oldName, renamed, fileSystem);
        return Outcome::Restored;
    }
    // Recorded ahead but never renamed (the run stopped or was killed first).
    const Lookup original = fileSystem.LookupRegularFile(entry.oldName);
    if (SameFile(original, entry)) {
        if (entry.stampsKnown && entry.restamped &&
            SameInstant(original.instants.modify, entry.written)) {
            RestoreStamps(entry, entry.oldName, original, fileSystem);
        }
        return Outcome::NothingToDo;
    }
    if (renamed.result == LookupResult::Found) skipped.reason = SkipReason::Changed;
    if (renamed.result == LookupResult::Failed)
        skipped = {entry.newName, SkipReason::Failed, renamed.error};
    return Outcome::Skipped;
}

std::string_view SkipText(const SkippedFile& file) {
    switch (file.reason) {
        case SkipReason::FolderMissing:
            return "フォルダが見つかりません";
        case SkipReason::Missing:
            return "見つかりません";
        case SkipReason::Changed:
            return "実行後に変更されています";
        case SkipReason::NameTaken:
            return "元の名前が使われています";
        case SkipReason::Failed:
            break;
    }
    return "エラーが発生しました";
}

std::size_t FilesToRestore(const Journal& journal) {
    std::size_t files = 0;
    for (std::size_t i = 0; i < journal.entries.size(); ++i)
        files += !journal.done[i] && journal.entries[i].restamped;
    return files;
}

std::string LocalTimeText(std::time_t when) {
    tm local{};
    ::localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace

UndoReport UndoJournal(const Journal& journal, RunFileSystem& fileSystem, RunHost& host) {
    UndoReport report;
    const std::size_t total = journal.entries.size();
    std::size_t passed = 0;
    host.Progress(0, total);
    const OpenedFolder folder(fileSystem, journal.folder);
    for (std::size_t i = total; i-- > 0;) {
        if (journal.done[i]) continue;
        const JournalEntry& entry = journal.entries[i];
        if (folder.Opening().error) {
            // A removable disk not plugged in: everything waits for a later undo.
            if (entry.restamped)
                report.skipped.push_back({entry.newName, SkipReason::FolderMissing, {}});
            continue;
        }
        if (passed++ > 0) {
            host.Progress(passed, total);
            host.ProcessEvents();
        }
        SkippedFile skipped;
        switch (UndoEntry(entry, fileSystem, skipped)) {
            case Outcome::Restored:
                report.restored += entry.restamped;
                report.done.push_back(i);
                break;
            case Outcome::NothingToDo:
                report.done.push_back(i);
                break;
            case Outcome::Skipped:
                report.skipped.push_back(std::move(skipped));
                break;
        }
    }
    host.Progress(total, total);
    return report;
}

std::string UndoConfirmationText(std::size_t fileCount) {
    return std::to_string(fileCount) + " File の名前と更新日時を元に戻します  よろしいですか？";
}

std::string UndoReportText(const UndoReport& report) {
    std::string text = std::to_string(report.restored) + " File を元に戻しました";
    if (report.skipped.empty()) return text;
    text += "\r\n戻していないファイル:";
    for (const SkippedFile& file : report.skipped) {
        text += "\r\n( " + ShownName(file.name) + " ) " + std::string(SkipText(file));
        if (file.reason == SkipReason::Failed)
            text += " " + std::to_string(file.error.value()) + " " + file.error.message();
    }
    return text;
}

UndoResult UndoLastRun(const std::string& stateFolder, RunHost& host, RunFileSystem& fileSystem) {
    const RunLock lock(stateFolder);
    if (lock.Get() == RunLock::State::Busy) {
        host.ShowMessage(RunIcon::Error, std::string(kMsgAnotherRun));
        return UndoResult::Busy;
    }
    const auto run = NewestPendingRun(stateFolder);
    if (!run) {
        host.ShowMessage(RunIcon::Warning, std::string(kMsgNothingToUndo));
        return UndoResult::Refused;
    }
    const Journal& journal = *run->journal;
    if (host.ShowMessage(RunIcon::Question, UndoConfirmationText(FilesToRestore(journal))) !=
        RunAnswer::Yes) {
        return UndoResult::Declined;
    }
    UndoReport report;
    {
        const HostBusyPointer busy(host);
        report = UndoJournal(journal, fileSystem, host);
    }
    const bool marked = MarkDone(run->path, report.done);
    const bool allDone = journal.Pending() == report.done.size();
    if (allDone && marked) ::remove(run->path.c_str());
    host.BringToFront();
    if (report.skipped.empty()) {
        host.ShowMessage(RunIcon::Information, UndoReportText(report));
        return UndoResult::Completed;
    }
    // What was not restored stays for a later undo, unless the user lets it go.
    if (host.ShowMessage(RunIcon::WarningQuestion,
                         UndoReportText(report) + "\r\n" + std::string(kMsgForgetSkipped)) ==
        RunAnswer::Yes) {
        ::remove(run->path.c_str());
    }
    return UndoResult::Skipped;
}

bool ForgetLastRun(const std::string& stateFolder) {
    const RunLock lock(stateFolder);
    if (lock.Get() == RunLock::State::Busy) return false;
    const auto run = NewestPendingRun(stateFolder);
    return run && ::remove(run->path.c_str()) == 0;
}

std::string HistoryText(const std::string& stateFolder) {
    std::string text;
    for (const KeptRun& run : KeptRuns(stateFolder)) {
        text += LocalTimeText(run.started) + "\t";
        if (!run.journal) {
            text += "(unreadable)\t" + ShownName(run.path) + "\n";
            continue;
        }
        std::size_t renamed = 0;
        for (const JournalEntry& entry : run.journal->entries) renamed += entry.restamped;
        text += ShownName(run.journal->folder) + "\t" + std::to_string(renamed) + " renamed\t" +
                std::to_string(FilesToRestore(*run.journal)) + " to restore\n";
    }
    return text;
}

}  // namespace karvel
