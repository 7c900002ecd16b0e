#include "rename/UndoRun.h"

#include <time.h>

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "rename/FileMatch.h"
#include "rename/Leftovers.h"
#include "rename/RunMessages.h"
#include "texts/FillText.h"

namespace karvel {

namespace {

// One file of a group: the steps it took, in the run's order, and the names it went
// through; the disk tells how many of those steps are done now.
struct GroupFile {
    std::vector<std::size_t> entries;  // journal indexes
    std::vector<std::string> names;    // names[0] its old name, names[i + 1] after entries[i]
    bool keep = false;                 // it kept its name and only got a new stamp
    std::size_t at = 0;                // steps done: it is under names[at]
    Lookup found;
    std::optional<std::string> extraName;  // a second name, left by a kill between link and unlink

    std::size_t Steps() const { return keep ? 0 : entries.size(); }
};

// A ring, a chain or a single file: looked at whole, then taken back whole.
class GroupUndo {
  public:
    GroupUndo(const Journal& journal, std::vector<std::size_t> members, RunFileSystem& fileSystem,
              const MatchRules& rules)
        : journal_(journal), members_(std::move(members)), fileSystem_(fileSystem), rules_(rules) {}

    // Finds where each file is; false (and what blocks it in `skipped`) when the group
    // cannot be taken back now.
    bool Analyse(std::vector<SkippedFile>& skipped);
    std::size_t ToRestore() const;
    // Takes the group back; false when a step failed and the group was put back as it was.
    bool Perform(UndoReport& report);

  private:
    const JournalEntry& Entry(std::size_t index) const { return journal_.entries[index]; }
    // The entry whose stamps the file carries: its last, which the run re-stamped.
    const JournalEntry& StampEntry(const GroupFile& file) const {
        return Entry(file.entries.back());
    }
    const Lookup& Look(const std::string& name);
    void SplitIntoFiles();
    std::optional<SkippedFile> Locate(GroupFile& file);
    bool NeedsStamps(const GroupFile& file) const;
    void Block(std::vector<SkippedFile>& skipped, const GroupFile& culprit, SkippedFile why) const;
    std::string NameNow(const GroupFile& file) const { return file.names[file.at]; }

    const Journal& journal_;
    std::vector<std::size_t> members_;
    RunFileSystem& fileSystem_;
    MatchRules rules_;
    std::unordered_map<std::string, Lookup> looks_;
    std::vector<GroupFile> files_;
    std::unordered_map<std::size_t, std::size_t> fileOf_;  // journal index to its file
    std::optional<std::size_t> lastDone_;  // position in members_ of the last step done
};

const Lookup& GroupUndo::Look(const std::string& name) {
    auto [at, added] = looks_.try_emplace(name);
    if (added) at->second = fileSystem_.LookupRegularFile(name);
    return at->second;
}

void GroupUndo::SplitIntoFiles() {
    // The file whose last step went to each name, while it is there.
    std::unordered_map<std::string_view, std::size_t> arrivedAt;
    for (const std::size_t index : members_) {
        const JournalEntry& entry = Entry(index);
        if (entry.oldName == entry.newName) {
            fileOf_[index] = files_.size();
            files_.push_back({{index}, {entry.oldName}, true, 0, {}, {}});
            continue;
        }
        // A step that leaves the name another step of the same file went to continues it
        // (a ring's file goes on from its temporary name); two links of one file do not.
        const auto same = arrivedAt.find(entry.oldName);
        if (same != arrivedAt.end() &&
            Entry(files_[same->second].entries.back()).identity == entry.identity) {
            GroupFile& file = files_[same->second];
            file.entries.push_back(index);
            file.names.push_back(entry.newName);
            fileOf_[index] = same->second;
            arrivedAt.erase(same);
            arrivedAt[entry.newName] = fileOf_[index];
        } else {
            fileOf_[index] = files_.size();
            arrivedAt[entry.newName] = files_.size();
            files_.push_back({{index}, {entry.oldName, entry.newName}, false, 0, {}, {}});
        }
    }
}

std::optional<SkippedFile> GroupUndo::Locate(GroupFile& file) {
    const JournalEntry& stamps = StampEntry(file);
    std::vector<std::size_t> positions;
    for (std::size_t p = file.names.size(); p-- > 0;) {
        if (p + 1 < file.names.size() && file.names[p] == file.names[p + 1]) continue;
        if (IsRecordedFile(Look(file.names[p]), stamps, rules_)) positions.push_back(p);
    }
    const std::string& last = file.names.back();
    if (positions.empty()) {
        for (const std::string& name : file.names) {
            const Lookup& look = Look(name);
            if (look.result == LookupResult::Failed)
                return SkippedFile{name, SkipReason::Failed, look.error};
        }
        const bool somethingThere = std::ranges::any_of(file.names, [this](const std::string& n) {
            return Look(n).result == LookupResult::Found;
        });
        return SkippedFile{last, somethingThere ? SkipReason::Changed : SkipReason::Missing, {}};
    }
    file.at = positions.back();
    if (positions.size() == 2 && rules_.keepsInodes && positions[0] == file.at + 1) {
        // Killed between a link and an unlink: one file under both names.
        file.extraName = file.names[positions[0]];
    } else if (positions.size() > 1) {
        return SkippedFile{last, SkipReason::Changed, {}};
    }
    file.found = Look(file.names[file.at]);
    if (!UnchangedSinceRun(file.found, stamps, rules_))
        return SkippedFile{file.names[file.at], SkipReason::Changed, {}};
    return std::nullopt;
}

void GroupUndo::Block(std::vector<SkippedFile>& skipped, const GroupFile& culprit,
                      SkippedFile why) const {
    skipped.push_back(std::move(why));
    for (const GroupFile& file : files_) {
        if (&file == &culprit || !StampEntry(file).restamped) continue;
        skipped.push_back({NameNow(file), SkipReason::WithItsGroup, {}});
    }
}

bool GroupUndo::Analyse(std::vector<SkippedFile>& skipped) {
    SplitIntoFiles();
    for (GroupFile& file : files_) {
        if (auto problem = Locate(file)) {
            Block(skipped, file, std::move(*problem));
            return false;
        }
    }
    // The steps done are always the first ones of the group: the last of them tells how
    // far it got, and every file must agree.
    std::unordered_map<std::size_t, std::size_t> order;
    for (std::size_t i = 0; i < members_.size(); ++i) order.emplace(members_[i], i);
    for (const GroupFile& file : files_) {
        if (file.at > 0)
            lastDone_ = std::max(lastDone_.value_or(0), order[file.entries[file.at - 1]]);
    }
    for (const GroupFile& file : files_) {
        const auto done =
            static_cast<std::size_t>(std::ranges::count_if(file.entries, [&](std::size_t index) {
                return lastDone_ && order[index] <= *lastDone_;
            }));
        if (!file.keep && done != file.at) {
            Block(skipped, file, {NameNow(file), SkipReason::Changed, {}});
            return false;
        }
    }
    if (!lastDone_) return true;
    // Each old name must be free by the time its file goes back to it.
    std::unordered_set<std::string> held;
    for (const GroupFile& file : files_) held.insert(NameNow(file));
    const std::unordered_set<std::string> heldBefore = held;  // freed by the group's own moves
    for (std::size_t j = *lastDone_ + 1; j-- > 0;) {
        const JournalEntry& entry = Entry(members_[j]);
        if (entry.oldName == entry.newName) continue;
        const GroupFile& owner = files_[fileOf_.at(members_[j])];
        if (held.contains(entry.oldName)) {
            Block(skipped, owner, {entry.newName, SkipReason::Changed, {}});
            return false;
        }
        const Lookup& look = Look(entry.oldName);
        if (!heldBefore.contains(entry.oldName) && look.result != LookupResult::NotFound) {
            Block(skipped, owner,
                  look.result == LookupResult::Failed
                      ? SkippedFile{entry.newName, SkipReason::Failed, look.error}
                      : SkippedFile{entry.newName, SkipReason::NameTaken, {}});
            return false;
        }
        held.erase(entry.newName);
        held.insert(entry.oldName);
    }
    return true;
}

bool GroupUndo::NeedsStamps(const GroupFile& file) const {
    const JournalEntry& stamps = StampEntry(file);
    return stamps.restamped && !file.found.ReadOnly() &&
           !SameStamp(file.found.instants.modify, stamps.original.modify, rules_);
}

std::size_t GroupUndo::ToRestore() const {
    return static_cast<std::size_t>(std::ranges::count_if(
        files_, [this](const GroupFile& file) { return file.at > 0 || NeedsStamps(file); }));
}

bool GroupUndo::Perform(UndoReport& report) {
    const std::size_t restoring = ToRestore();
    for (const GroupFile& file : files_) {
        if (!file.extraName) continue;
        if (const std::error_code error = fileSystem_.RemoveName(*file.extraName)) {
            Block(report.skipped, file, {*file.extraName, SkipReason::Failed, error});
            return false;
        }
    }
    if (lastDone_) {
        std::vector<const JournalEntry*> reversed;
        for (std::size_t j = *lastDone_ + 1; j-- > 0;) {
            const JournalEntry& entry = Entry(members_[j]);
            if (entry.oldName == entry.newName) continue;
            if (const std::error_code error =
                    fileSystem_.RenameNoReplace(entry.newName, entry.oldName)) {
                // Someone took a name meanwhile: the group goes back to where it was.
                for (auto back = reversed.rbegin(); back != reversed.rend(); ++back)
                    (void)fileSystem_.RenameNoReplace((*back)->oldName, (*back)->newName);
                Block(report.skipped, files_[fileOf_.at(members_[j])],
                      {entry.newName,
                       error == std::errc::file_exists ? SkipReason::NameTaken : SkipReason::Failed,
                       error});
                return false;
            }
            reversed.push_back(&entry);
        }
    }
    for (const GroupFile& file : files_) {
        if (!NeedsStamps(file)) continue;
        const JournalEntry& stamps = StampEntry(file);
        FileInstants restored = file.found.instants;
        restored.access = stamps.original.access;
        restored.modify = stamps.original.modify;
        (void)fileSystem_.WriteTimes(file.names.front(), restored);
    }
    report.restored += restoring;
    report.done.insert(report.done.end(), members_.begin(), members_.end());
    return true;
}

// The pending entries of each group, newest group first.
std::vector<std::vector<std::size_t>> PendingGroups(const Journal& journal) {
    std::map<std::uint32_t, std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < journal.entries.size(); ++i) {
        if (!journal.done[i]) groups[journal.entries[i].group].push_back(i);
    }
    std::vector<std::vector<std::size_t>> newestFirst;
    newestFirst.reserve(groups.size());
    for (auto group = groups.rbegin(); group != groups.rend(); ++group)
        newestFirst.push_back(std::move(group->second));
    return newestFirst;
}

std::size_t RecordedFiles(const Journal& journal, bool pendingOnly) {
    std::size_t files = 0;
    for (std::size_t i = 0; i < journal.entries.size(); ++i)
        files += journal.entries[i].restamped && (!pendingOnly || !journal.done[i]);
    return files;
}

std::string_view SkipText(const SkippedFile& file) {
    switch (file.reason) {
        case SkipReason::FolderMissing:
            return kSkipFolderMissing;
        case SkipReason::Missing:
            return kSkipMissing;
        case SkipReason::Changed:
            return kSkipChanged;
        case SkipReason::NameTaken:
            return kSkipNameTaken;
        case SkipReason::WithItsGroup:
            return kSkipWithItsGroup;
        case SkipReason::Failed:
            break;
    }
    return kErrorOccurred;
}

std::string LocalTimeText(std::optional<std::time_t> when) {
    if (!when) return std::string(kHistoryUnknownTime);
    tm local{};
    ::localtime_r(&*when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace

UndoPreview PreviewUndo(const Journal& journal, RunFileSystem& fileSystem) {
    UndoPreview preview;
    const OpenedFolder folder(fileSystem, journal.folder);
    if (folder.Opening().error) return preview;
    preview.folderReachable = true;
    const MatchRules rules{folder.Opening().keepsInodes};
    for (std::vector<std::size_t>& members : PendingGroups(journal)) {
        GroupUndo group(journal, std::move(members), fileSystem, rules);
        std::vector<SkippedFile> skipped;
        if (group.Analyse(skipped)) {
            preview.toRestore += group.ToRestore();
        } else {
            ++preview.groupsBlocked;
        }
    }
    return preview;
}

UndoReport UndoJournal(const Journal& journal, RunFileSystem& fileSystem, RunHost& host,
                       ScratchNotes* notes) {
    UndoReport report;
    const std::size_t total = journal.entries.size();
    host.Progress(0, total);
    const OpenedFolder folder(fileSystem, journal.folder, notes);
    if (folder.Opening().error) {
        // A removable disk not plugged in: everything waits for a later undo.
        for (std::size_t i = total; i-- > 0;) {
            if (!journal.done[i] && journal.entries[i].restamped)
                report.skipped.push_back(
                    {journal.entries[i].newName, SkipReason::FolderMissing, {}});
        }
        return report;
    }
    const MatchRules rules{folder.Opening().keepsInodes};
    std::size_t passed = 0;
    for (std::vector<std::size_t>& members : PendingGroups(journal)) {
        if (passed > 0) {
            host.Progress(passed, total);
            host.ProcessEvents();
            if (host.StopRequested()) {
                report.stopped = true;
                break;
            }
        }
        passed += members.size();
        GroupUndo group(journal, std::move(members), fileSystem, rules);
        if (group.Analyse(report.skipped)) group.Perform(report);
    }
    host.Progress(total, total);
    return report;
}

std::string UndoConfirmationText(std::size_t fileCount) {
    return FillText(kMsgConfirmUndo, {std::to_string(fileCount)});
}

std::string UndoReportText(const UndoReport& report) {
    std::string text = FillText(kMsgRestored, {std::to_string(report.restored)});
    if (report.skipped.empty()) return text;
    text += kMsgNotRestoredHead;
    for (const SkippedFile& file : report.skipped) {
        if (file.reason == SkipReason::Failed) {
            text += FillText(kMsgNotRestoredFailed,
                             {ShownName(file.name), SkipText(file),
                              std::to_string(file.error.value()), file.error.message()});
        } else {
            text += FillText(kMsgNotRestoredLine, {ShownName(file.name), SkipText(file)});
        }
    }
    return text;
}

UndoResult UndoLastRun(const History& history, RunHost& host, RunFileSystem& fileSystem,
                       const UndoQuestionText& questionText) {
    RunLock lock(history);
    if (lock.Get() == RunLock::State::Busy) {
        host.ShowMessage(RunIcon::Error, std::string(kMsgAnotherRun));
        return UndoResult::Busy;
    }
    if (lock.Get() == RunLock::State::Unavailable) {
        host.ShowMessage(RunIcon::Error, lock.Problem());
        return UndoResult::Refused;
    }
    SettleLeftovers(history, lock, fileSystem);

    // A run whose files are all back already (an undo killed after its last rename) ends
    // here without a word; the one before it is next.
    std::optional<KeptRun> run;
    UndoPreview preview;
    while ((run = NewestPendingRun(history))) {
        preview = PreviewUndo(*run->journal, fileSystem);
        if (!preview.folderReachable || preview.toRestore > 0 || preview.groupsBlocked > 0) break;
        std::vector<std::size_t> all;
        for (std::size_t i = 0; i < run->journal->entries.size(); ++i)
            if (!run->journal->done[i]) all.push_back(i);
        if (!MarkDone(history, run->path, all)) break;
        history.Disk().Remove(run->path);
    }
    if (!run) {
        host.ShowMessage(RunIcon::Warning, std::string(kMsgNothingToUndo));
        return UndoResult::Refused;
    }
    const Journal& journal = *run->journal;
    // Only what will be restored is counted: a folder not reachable restores nothing.
    const UndoQuestion question{journal.folder, run->started,
                                preview.folderReachable ? preview.toRestore : 0};
    // Nothing can be restored: the report says why, without asking to restore nothing.
    if (question.files > 0) {
        const std::string text =
            questionText ? questionText(question) : UndoConfirmationText(question.files);
        if (host.ShowMessage(RunIcon::Question, text) != RunAnswer::Yes) {
            return UndoResult::Declined;
        }
    }
    lock.Working(run->path);
    JournalAppender appender(history, run->path);
    UndoReport report;
    {
        const HostBusyPointer busy(host);
        report = UndoJournal(journal, fileSystem, host, &appender);
    }
    const bool marked = MarkDone(history, run->path, report.done);
    const bool allDone = journal.Pending() == report.done.size();
    if (allDone && marked) history.Disk().Remove(run->path);
    host.BringToFront();
    if (report.skipped.empty()) {
        host.ShowMessage(RunIcon::Information, UndoReportText(report));
        return report.stopped ? UndoResult::Skipped : UndoResult::Completed;
    }
    // What was not restored stays for a later undo, unless the user lets it go.
    if (host.ShowMessage(RunIcon::WarningQuestion,
                         UndoReportText(report) + "\r\n" + std::string(kMsgForgetSkipped)) ==
        RunAnswer::Yes) {
        history.Disk().Remove(run->path);
    }
    return UndoResult::Skipped;
}

ForgetOutcome ForgetLastRun(const History& history) {
    const RunLock lock(history);
    if (lock.Get() == RunLock::State::Busy) return {false, std::string(kMsgAnotherRun)};
    if (lock.Get() == RunLock::State::Unavailable) return {false, lock.Problem()};
    const auto run = NewestPendingRun(history);
    if (!run) return {false, std::string(kNothingToForget)};
    history.Disk().Remove(run->path);
    return {true, {}};
}

std::string HistoryText(const History& history, RunFileSystem& fileSystem) {
    std::string text;
    for (const KeptRun& run : KeptRuns(history)) {
        if (!run.journal) {
            text += FillText(kHistoryUnreadable, {LocalTimeText(run.started), ShownName(run.path)});
            continue;
        }
        const Journal& journal = *run.journal;
        std::size_t renamed = 0;
        std::size_t toRestore = RecordedFiles(journal, true);
        std::string_view note;
        if (journal.performed) {
            for (std::size_t i = 0; i < std::min(*journal.performed, journal.entries.size()); ++i)
                renamed += journal.entries[i].restamped;
        } else if (const UndoPreview preview = PreviewUndo(journal, fileSystem);
                   preview.folderReachable && preview.groupsBlocked == 0) {
            // Killed: what it did is on the disk, not in its records made ahead.
            toRestore = preview.toRestore;
            renamed =
                preview.toRestore + RecordedFiles(journal, false) - RecordedFiles(journal, true);
        } else {
            renamed = RecordedFiles(journal, false);
            note = preview.folderReachable ? kHistoryKilled : kHistoryUnreachable;
        }
        text += FillText(kHistoryRun, {LocalTimeText(run.started), ShownName(journal.folder),
                                       std::to_string(renamed), std::to_string(toRestore), note});
    }
    if (text.empty()) return std::string(kHistoryEmpty);
    return text;
}

}  // namespace karvel
