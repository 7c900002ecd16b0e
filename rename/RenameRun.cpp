#include "rename/RenameRun.h"

#include <unistd.h>

#include <algorithm>
#include <random>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "filetime/LocalTime.h"
#include "rename/RunMessages.h"
#include "targets/ConflictPreview.h"
#include "targets/ListRefresh.h"
#include "targets/MovePlan.h"
#include "targets/RowDates.h"
#include "targets/StartCheck.h"
#include "targets/TargetList.h"
#include "texts/FillText.h"

namespace karvel {

namespace {

// Records go ahead of the steps in blocks of about this many, whole groups each.
constexpr std::size_t kRecordBlock = 256;

void SelectOnly(std::vector<TargetRow>& rows, std::size_t row,
                std::optional<std::size_t>& selected) {
    if (!selected) {
        for (TargetRow& each : rows) each.Selected = false;
    } else {
        rows[*selected].Selected = false;
    }
    rows[row].Selected = true;
    selected = row;
}

// The first and the last instant of the chosen day, as the rows' new stamps may fall.
bool DayFitsDisk(const CalendarDate& date, RunFileSystem& fileSystem) {
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

std::string FailedStepText(const std::error_code& error, const TargetRow& row) {
    if (error == std::errc::file_exists) return TargetExistsText(row.BeforeName, row.AfterName);
    if (error == ScratchNotRecorded()) return RecordFailedText(row.BeforeName, row.AfterName);
    if (error == std::errc::no_such_file_or_directory) return SourceMissingText(row.BeforeName);
    return FailureText(error, row.BeforeName, row.AfterName);
}

// Hidden, unique to this run, and never a name a row could have.
class TempNames {
  public:
    TempNames() {
        std::random_device random;
        const unsigned long long value =
            (static_cast<unsigned long long>(random()) << 32) | random();
        prefix_ = ".karvel-" + std::to_string(::getpid()) + "-" + std::to_string(value) + "-";
    }
    std::string For(std::size_t row) const { return prefix_ + std::to_string(row); }

  private:
    std::string prefix_;
};

// One run: the steps of the plan, their records ahead of them, and the rows done.
class Run {
  public:
    Run(TargetList& list, const RunSettings& settings, RunHost& host, RunFileSystem& fileSystem,
        RunJournal* journal)
        : rows_(list.MutableRows()),
          settings_(settings),
          host_(host),
          fileSystem_(fileSystem),
          journal_(journal) {}

    RunReport Go(const std::string& folder, FileId folderId);

  private:
    struct Performed {
        PlanStep step;
        bool stamped;
    };

    const std::string& From(const PlanStep& step) const {
        return step.kind == StepKind::FromTemp ? temps_.at(step.row) : rows_[step.row].BeforeName;
    }
    const std::string& To(const PlanStep& step) const {
        return step.kind == StepKind::ToTemp ? temps_.at(step.row) : rows_[step.row].AfterName;
    }
    bool Final(const PlanStep& step) const { return step.kind != StepKind::ToTemp; }
    const Lookup& Source(std::size_t row) const { return sources_[row - sourceBase_]; }

    RunReport InListOrder();
    RunReport Planned(const SourceIndex& sourceIndex);
    std::size_t LookUpSources(std::size_t first, std::size_t end);
    bool UsableSource(std::size_t row);
    void Plan(const SourceIndex& sourceIndex);
    JournalEntry EntryFor(const PlanStep& step, std::uint32_t group) const;
    bool RecordAhead(std::size_t firstStep, std::size_t& recordedUpTo);
    std::error_code Perform(const PlanStep& step, bool& stamped);
    std::vector<DisplacedFile> Undo(const std::vector<Performed>& group);
    RunReport Body(const std::string& folder, FileId folderId);
    FileInstants NewInstants(const TargetRow& row, const FileInstants& original) const;
    bool DatesFitDisk();
    void Show(std::size_t row);
    // The message names the row it stops at, shown selected.
    RunReport Stop(std::size_t row, const std::string& text) {
        Show(row);
        host_.ShowMessage(RunIcon::Error, text);
        return {RunResult::Stopped, done_, changed_};
    }

    std::vector<TargetRow>& rows_;
    const RunSettings& settings_;
    RunHost& host_;
    RunFileSystem& fileSystem_;
    RunJournal* journal_;

    // One look per row from sourceBase_ on, up to the first that fails, and each of those
    // files' new stamps.
    std::vector<Lookup> sources_;
    std::vector<FileInstants> restamped_;
    std::size_t sourceBase_ = 0;
    std::size_t sourceStop_ = 0;
    MovePlan plan_;
    TempNames tempNames_;
    std::unordered_map<std::uint32_t, std::string> temps_;
    std::optional<std::size_t> selected_;
    std::size_t done_ = 0;
    // Journal entries carried out, from the first: the rest never happened.
    std::size_t performed_ = 0;
    bool changed_ = false;
};

RunReport Run::Go(const std::string& folder, FileId folderId) {
    const RunReport report = Body(folder, folderId);
    if (journal_ != nullptr) journal_->Ran(performed_);
    return report;
}

RunReport Run::Body(const std::string& folder, FileId folderId) {
    const std::size_t total = rows_.size();
    host_.Progress(0, total);
    if (total == 0) return {RunResult::Completed, 0, false};

    // Every call of the run is made inside the folder the files were taken from, even if
    // it is moved or another takes its name meanwhile.
    const OpenedFolder opened(fileSystem_, folder, journal_);
    if (opened.Opening().error || opened.Opening().identity != folderId || !folderId.Known()) {
        return Stop(0, SourceMissingText(rows_.front().BeforeName));
    }
    // A stop asked for before the first change changes nothing.
    if (host_.StopRequested()) return {RunResult::Interrupted, 0, false};
    // A disk that would store another date than the chosen one is found before any file changes.
    if (!DatesFitDisk()) {
        host_.ShowMessage(RunIcon::Error, std::string(kMsgDateNotStorable));
        return {RunResult::Stopped, 0, false};
    }
    if (host_.StopRequested()) return {RunResult::Interrupted, 0, false};
    const SourceIndex sourceIndex(rows_);
    return settings_.planAlways || PlanNeeded(rows_, sourceIndex) ? Planned(sourceIndex)
                                                                  : InListOrder();
}

// No listed file holds another row's target: the rows go in the list's order, each its own
// group, the rename itself the target check. Their files are looked at a block at a time,
// right before the block is recorded and renamed, while the system still has them at hand.
RunReport Run::InListOrder() {
    const std::size_t total = rows_.size();
    std::size_t row = 0;
    while (row < total) {
        const std::size_t blockEnd = std::min(total, row + kRecordBlock);
        const std::size_t usableEnd = LookUpSources(row, blockEnd);
        if (usableEnd == row) break;
        if (journal_ != nullptr) {
            std::vector<JournalEntry> entries;
            entries.reserve(usableEnd - row);
            for (std::size_t each = row; each < usableEnd; ++each) {
                const auto step = static_cast<std::uint32_t>(each);
                entries.push_back(EntryFor({step, StepKind::Rename}, step));
            }
            if (!journal_->Record(entries)) {
                return Stop(row, RecordFailedText(rows_[row].BeforeName, rows_[row].AfterName));
            }
        }
        for (; row < usableEnd; ++row) {
            Show(row);
            bool stamped = false;
            if (const std::error_code error =
                    Perform({static_cast<std::uint32_t>(row), StepKind::Rename}, stamped)) {
                return Stop(row, FailedStepText(error, rows_[row]));
            }
            ++done_;
            performed_ = row + 1;
            host_.Progress(done_, total);
            host_.ProcessEvents();
            if (!host_.StopRequested()) continue;
            // A stop is told before a row that could go on; a row that could not stops the
            // run with its own message.
            const std::size_t next = row + 1;
            if (next == blockEnd && next < total && !UsableSource(next)) {
                return Stop(next, SourceMissingText(rows_[next].BeforeName));
            }
            if (next < total && (next < usableEnd || next == blockEnd)) {
                return {RunResult::Interrupted, done_, changed_};
            }
        }
        if (usableEnd < blockEnd) break;
    }
    if (row < total) return Stop(row, SourceMissingText(rows_[row].BeforeName));
    host_.BringToFront();
    host_.ShowMessage(RunIcon::Information, std::string(kMsgSucceeded));
    return {RunResult::Completed, done_, changed_};
}

RunReport Run::Planned(const SourceIndex& sourceIndex) {
    const std::size_t total = rows_.size();
    sourceStop_ = LookUpSources(0, total);
    Plan(sourceIndex);

    const auto& steps = plan_.steps;
    std::size_t recordedUpTo = 0;
    std::size_t stepIndex = 0;
    std::vector<Performed> group;
    // Rows done form a prefix of the list only between groups that close it.
    std::vector<bool> rowDone(total, false);
    std::size_t firstNotDone = 0;
    std::size_t highestDone = 0;
    for (const std::size_t groupEnd : plan_.groupEnds) {
        if (journal_ != nullptr && stepIndex == recordedUpTo &&
            !RecordAhead(stepIndex, recordedUpTo)) {
            const std::size_t row = steps[stepIndex].row;
            return Stop(row, RecordFailedText(rows_[row].BeforeName, rows_[row].AfterName));
        }
        group.clear();
        for (; stepIndex < groupEnd; ++stepIndex) {
            const PlanStep& step = steps[stepIndex];
            if (Final(step)) Show(step.row);
            bool stamped = false;
            if (const std::error_code error = Perform(step, stamped)) {
                // No file is left halfway: the group goes back to where it was, and where
                // it cannot (someone took a name meanwhile) the message says where each is.
                const std::vector<DisplacedFile> displaced = Undo(group);
                if (!displaced.empty()) performed_ = groupEnd;
                return Stop(step.row,
                            FailedStepText(error, rows_[step.row]) + DisplacedFilesText(displaced));
            }
            group.push_back({step, stamped});
            if (Final(step)) {
                rowDone[step.row] = true;
                highestDone = std::max<std::size_t>(highestDone, step.row);
            }
        }
        performed_ = groupEnd;
        for (const Performed& performed : group) {
            if (!Final(performed.step)) continue;
            ++done_;
            host_.Progress(done_, total);
        }
        host_.ProcessEvents();
        while (firstNotDone < total && rowDone[firstNotDone]) ++firstNotDone;
        const bool prefix = highestDone < firstNotDone;
        if (host_.StopRequested() && prefix && stepIndex < steps.size()) {
            return {RunResult::Interrupted, done_, changed_};
        }
    }
    if (plan_.stopRow < total) {
        return Stop(plan_.stopRow, StopText(plan_.stopReason, rows_[plan_.stopRow]));
    }
    host_.BringToFront();
    host_.ShowMessage(RunIcon::Information, std::string(kMsgSucceeded));
    return {RunResult::Completed, done_, changed_};
}

// Looks at rows `first` to `end` (the ones looked at before are let go); returns the first
// that cannot be used, or `end`.
std::size_t Run::LookUpSources(std::size_t first, std::size_t end) {
    sources_.clear();
    restamped_.clear();
    sources_.reserve(end - first);
    restamped_.reserve(end - first);
    sourceBase_ = first;
    for (std::size_t row = first; row < end; ++row) {
        Lookup look = fileSystem_.LookupRegularFile(rows_[row].BeforeName);
        // Another file under the listed name is not the file the user chose.
        if (look.result != LookupResult::Found || look.identity.Id() != rows_[row].Identity) {
            return row;
        }
        restamped_.push_back(NewInstants(rows_[row], look.instants));
        sources_.push_back(std::move(look));
    }
    return end;
}

bool Run::UsableSource(std::size_t row) {
    const Lookup look = fileSystem_.LookupRegularFile(rows_[row].BeforeName);
    return look.result == LookupResult::Found && look.identity.Id() == rows_[row].Identity;
}

void Run::Plan(const SourceIndex& sourceIndex) {
    std::vector<std::string> names;
    (void)fileSystem_.ListNames(names);  // unlisted: the renames still refuse a taken name
    const std::unordered_set<std::string_view> inFolder(names.begin(), names.end());
    plan_ = PlanMoves(
        rows_, sourceIndex, [this](std::size_t row) { return row < sourceStop_; },
        [&inFolder](std::string_view name) { return inFolder.contains(name); });
    for (const PlanStep& step : plan_.steps) {
        if (step.kind == StepKind::ToTemp) temps_.emplace(step.row, tempNames_.For(step.row));
    }
}

JournalEntry Run::EntryFor(const PlanStep& step, std::uint32_t group) const {
    const Lookup& source = Source(step.row);
    JournalEntry entry{
        From(step),  To(step), source.instants, source.instants.modify, source.identity,
        Final(step), group};
    if (Final(step) && !source.ReadOnly())
        entry.written = restamped_[step.row - sourceBase_].modify;
    return entry;
}

bool Run::RecordAhead(std::size_t firstStep, std::size_t& recordedUpTo) {
    const auto& ends = plan_.groupEnds;
    auto end = std::ranges::upper_bound(ends, firstStep);
    while (end != ends.end() && *end - firstStep < kRecordBlock) ++end;
    const std::size_t lastStep = end == ends.end() ? plan_.steps.size() : *end;
    std::vector<JournalEntry> entries;
    entries.reserve(lastStep - firstStep);
    auto groupEnd = std::ranges::upper_bound(ends, firstStep);
    std::size_t groupStart = firstStep;
    for (std::size_t i = firstStep; i < lastStep; ++i) {
        if (groupEnd != ends.end() && i == *groupEnd) groupStart = *groupEnd++;
        entries.push_back(EntryFor(plan_.steps[i], static_cast<std::uint32_t>(groupStart)));
    }
    if (!journal_->Record(entries)) return false;
    recordedUpTo = lastStep;
    return true;
}

std::error_code Run::Perform(const PlanStep& step, bool& stamped) {
    if (step.kind != StepKind::Keep) {
        if (const std::error_code error = fileSystem_.RenameNoReplace(From(step), To(step)))
            return error;
        changed_ = true;
    }
    const Lookup& source = Source(step.row);
    // Stamps after the name: a row that fails has changed nothing. A stamp that cannot be
    // written leaves the file its own, as a read-only file keeps them.
    if (Final(step) && !source.ReadOnly()) {
        stamped = !fileSystem_.WriteTimes(To(step), restamped_[step.row - sourceBase_]);
        changed_ = changed_ || stamped;
    }
    return {};
}

std::vector<DisplacedFile> Run::Undo(const std::vector<Performed>& group) {
    std::unordered_map<std::uint32_t, std::string> nameNow;
    for (const Performed& performed : group) nameNow[performed.step.row] = To(performed.step);
    for (auto performed = group.rbegin(); performed != group.rend(); ++performed) {
        const PlanStep& step = performed->step;
        if (performed->stamped) (void)fileSystem_.WriteTimes(To(step), Source(step.row).instants);
        if (step.kind == StepKind::Keep || !fileSystem_.RenameNoReplace(To(step), From(step)))
            nameNow[step.row] = From(step);
        if (Final(step)) rows_[step.row].Selected = false;
    }
    std::vector<DisplacedFile> displaced;
    for (const Performed& performed : group) {
        const std::uint32_t row = performed.step.row;
        const auto now = nameNow.find(row);
        if (now == nameNow.end() || now->second == rows_[row].BeforeName) continue;
        displaced.push_back({rows_[row].BeforeName, now->second});
        nameNow.erase(now);
    }
    return displaced;
}

FileInstants Run::NewInstants(const TargetRow& row, const FileInstants& original) const {
    if (settings_.source == DateSource::Calendar)
        return RestampedInstants(original, settings_.date, settings_.midnight);
    FileInstants restamped = original;
    if (const auto own = OwnDateOf(row, settings_.source))
        if (const auto stamp = OwnStamp(*own, settings_.midnight)) restamped.modify = *stamp;
    return restamped;
}

// Every new stamp the run may write lies between the earliest and the latest here.
bool Run::DatesFitDisk() {
    if (settings_.source == DateSource::Calendar) return DayFitsDisk(settings_.date, fileSystem_);
    std::optional<timespec> earliest, latest;
    const auto before = [](const timespec& a, const timespec& b) {
        return a.tv_sec != b.tv_sec ? a.tv_sec < b.tv_sec : a.tv_nsec < b.tv_nsec;
    };
    for (const TargetRow& row : rows_) {
        const auto own = OwnDateOf(row, settings_.source);
        const auto stamp = own ? OwnStamp(*own, settings_.midnight) : std::nullopt;
        if (!stamp) return false;
        if (!earliest || before(*stamp, *earliest)) earliest = stamp;
        if (!latest || before(*latest, *stamp)) latest = stamp;
    }
    for (const auto& instant : {earliest, latest})
        if (instant && fileSystem_.TryStamp(*instant) == StampFit::Changed) return false;
    return true;
}

void Run::Show(std::size_t row) {
    SelectOnly(rows_, row, selected_);
    host_.RowSelected(row);
}

}  // namespace

FileInstants RestampedInstants(const FileInstants& original, const CalendarDate& date,
                               bool midnight) {
    // Only the modified slot changes: its local record, read with its offset, gets the date.
    SYSTEMTIME modified;
    std::optional<std::int32_t> offset;
    if (const auto local = InstantToLocal(original.modify)) {
        modified = local->time;
        offset = local->utcOffset;
    }
    modified.wYear = static_cast<std::int16_t>(date.year);
    modified.wMonth = static_cast<std::int16_t>(date.month);
    modified.wDay = static_cast<std::int16_t>(date.day);
    if (midnight) {
        modified.wHour = 0;
        modified.wMinute = 0;
        modified.wSecond = 0;
        modified.wMilliseconds = 0;
    }
    FileInstants restamped = original;
    if (const auto instant = LocalToInstant(modified, offset)) restamped.modify = *instant;
    return restamped;
}

RunReport StartRun(TargetList& list, const RunSettings& settings, RunHost& host,
                   RunFileSystem& fileSystem, RunRecords* records) {
    switch (CheckStart(list).verdict) {
        case StartVerdict::NoTargets:
            host.ShowMessage(RunIcon::Warning, std::string(kMsgNoTargets));
            return {RunResult::Refused, 0, false};
        case StartVerdict::NamesUnusable:
            host.ShowMessage(RunIcon::Warning, std::string(kMsgNamesUnusable));
            return {RunResult::Refused, 0, false};
        case StartVerdict::DatesPending:
            host.ShowMessage(RunIcon::Warning, std::string(kMsgDatesPending));
            return {RunResult::Refused, 0, false};
        case StartVerdict::StopsAtRow:  // the run checks every row itself
        case StartVerdict::Clear:
            break;
    }
    // One question per run: a known stop's warning tells more than the confirmation would.
    const std::optional<std::string> warning =
        settings.warnOfKnownStop ? KnownStopWarning(list) : std::nullopt;
    const RunAnswer answer =
        warning ? host.ShowMessage(RunIcon::WarningQuestion, *warning)
                : host.ShowMessage(RunIcon::Question, ConfirmationText(list.RowCount()));
    if (answer != RunAnswer::Yes) return {RunResult::Declined, 0, false};

    RunJournal* journal = nullptr;
    if (records != nullptr) {
        switch (records->Begin(list.TargetFolder(), fileSystem)) {
            case RunRecords::Start::Busy:
                host.ShowMessage(RunIcon::Error, std::string(kMsgAnotherRun));
                return {RunResult::Refused, 0, false};
            case RunRecords::Start::LockFailed:
                host.ShowMessage(RunIcon::Error, records->LockProblem());
                records->End(false);
                return {RunResult::Refused, 0, false};
            case RunRecords::Start::NoRecord:
                if (host.ShowMessage(RunIcon::WarningQuestion, std::string(kMsgNoUndoRecord)) !=
                    RunAnswer::Yes) {
                    records->End(false);
                    return {RunResult::Declined, 0, false};
                }
                break;
            case RunRecords::Start::Recording:
                journal = records->Journal();
                break;
        }
    }

    RunReport report;
    {
        const HostBusyPointer busy(host);
        report = RenameTargets(list, settings, host, fileSystem, journal);
    }
    if (records != nullptr) records->End(report.changed);
    list.SetState(ListState::Spent);
    RefreshList(list, ListChanges::Order());  // asking for a new drop, the list marks no row
    return report;
}

RunReport RenameTargets(TargetList& list, const RunSettings& settings, RunHost& host,
                        RunFileSystem& fileSystem, RunJournal* journal) {
    Run run(list, settings, host, fileSystem, journal);
    return run.Go(list.TargetFolder(), list.TargetFolderId());
}

std::string StopText(RowConflict reason, const TargetRow& row) {
    switch (reason) {
        case RowConflict::SourceUnusable:
            return SourceMissingText(row.BeforeName);
        case RowConflict::NameTooLong:
            return FailureText(std::make_error_code(std::errc::filename_too_long), row.BeforeName,
                               row.AfterName);
        case RowConflict::EmptyName:
            return std::string(kMsgNamesUnusable);
        case RowConflict::DuplicateName:
        case RowConflict::NameTaken:
        case RowConflict::None:
            break;
    }
    return TargetExistsText(row.BeforeName, row.AfterName);
}

std::optional<std::string> KnownStopWarning(const TargetList& list) {
    // A list the start command refuses anyway needs no warning first.
    const StartCheck check = CheckStart(list);
    if (check.verdict != StartVerdict::StopsAtRow) return std::nullopt;
    const TargetRow& marked = list.Rows()[check.row];
    return FillText(kMsgKnownStop, {std::to_string(check.row + 1), ConflictReasonText(check.reason),
                                    ShownName(marked.BeforeName), ShownName(marked.AfterName),
                                    std::to_string(check.row)});
}

}  // namespace karvel
