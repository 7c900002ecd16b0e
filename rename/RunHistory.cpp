#include "rename/RunHistory.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdio>

#include "rename/Leftovers.h"
#include "rename/RunMessages.h"

namespace karvel {

namespace {

constexpr std::string_view kJournalSuffix = ".journal";

// "run-<nanoseconds since 1970, 20 digits>-<pid>.journal": names sort by time.
std::string NewJournalName(StateDisk& disk) {
    const timespec now = disk.Now();
    char name[64];
    std::snprintf(name, sizeof name, "run-%020lld-%d.journal",
                  static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec,
                  disk.ProcessId());
    return name;
}

// When a run started: its journal's name tells, or else when the journal was last written.
std::optional<std::time_t> StartedOf(const History& history, const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    long long nanos = 0;
    if (std::sscanf(name.c_str(), "run-%20lld-", &nanos) == 1 && nanos > 0)
        return static_cast<std::time_t>(nanos / 1'000'000'000);
    return history.Disk().ModifiedOf(path);
}

// The journals' names, oldest first: names sort by when their run started.
std::vector<std::string> JournalNames(const History& history) {
    std::vector<std::string> names;
    for (std::string& name : history.Disk().Names(history.Folder())) {
        if (name.size() > kJournalSuffix.size() && name.ends_with(kJournalSuffix) &&
            !name.starts_with('.')) {
            names.push_back(std::move(name));
        }
    }
    std::ranges::sort(names);
    return names;
}

bool AppendScratchLine(StateDisk& disk, AppendFile* file, std::string_view name) {
    return file != nullptr && file->Append(ScratchLine(name, disk.Now()));
}

}  // namespace

std::string StateFolder() {
    const char* stateHome = ::getenv("XDG_STATE_HOME");
    if (stateHome != nullptr && stateHome[0] == '/') return std::string(stateHome) + "/Karvel";
    const char* home = ::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/state/Karvel";
    return {};
}

RunLock::RunLock(const History& history) {
    if (history.Folder().empty()) {
        path_ = "~/.local/state/Karvel/lock";
        error_ = std::make_error_code(std::errc::no_such_file_or_directory);
        return;
    }
    path_ = history.PathOf("lock");
    if ((error_ = history.Disk().MakeFolders(history.Folder()))) return;
    // A folder, a link or a file nobody may open under the lock's name means no lock: then
    // nothing starts.
    LockTaking taking = history.Disk().TakeLock(path_);
    error_ = taking.error;
    if (taking.state == LockTaking::State::Busy) state_ = State::Busy;
    if (taking.state != LockTaking::State::Held) return;
    state_ = State::Held;
    held_ = std::move(taking.lock);
    const std::string names = held_->Read();
    std::string_view rest = names;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        if (end == std::string_view::npos) break;  // cut short by a kill
        if (end > 0) unsettled_.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
}

RunLock::~RunLock() {
    if (state_ != State::Held || (working_.empty() && unsettled_.empty())) return;
    working_.clear();
    WriteNames();
}

std::string RunLock::Problem() const {
    return LockProblemText(path_, error_);
}

void RunLock::Settled(const std::string& journalPath) {
    std::erase(unsettled_, journalPath);
    WriteNames();
}

void RunLock::Working(const std::string& journalPath) {
    working_ = journalPath;
    WriteNames();
}

void RunLock::WriteNames() {
    if (state_ != State::Held) return;
    std::string names;
    for (const std::string& name : unsettled_) names += name + "\n";
    if (!working_.empty()) names += working_ + "\n";
    held_->Replace(names);
}

std::unique_ptr<JournalFile> JournalFile::Create(const History& history,
                                                 const std::string& runFolder, RunLock* lock) {
    StateDisk& disk = history.Disk();
    if (history.Folder().empty() || disk.MakeFolders(history.Folder())) return nullptr;
    std::string path = history.PathOf(NewJournalName(disk));
    // Named to the lock first: a journal a kill leaves empty is tidied away later.
    if (lock != nullptr) lock->Working(path);
    std::unique_ptr<AppendFile> file = disk.Create(path);
    if (!file) return nullptr;
    if (!file->Append(JournalHeader(runFolder)) || !file->Sync()) {
        file.reset();
        disk.Remove(path);
        return nullptr;
    }
    disk.SyncFolder(history.Folder());
    return std::unique_ptr<JournalFile>(new JournalFile(history, std::move(path), std::move(file)));
}

void JournalFile::Ran(std::size_t performed) {
    if (file_) (void)file_->Append(RanLine(performed));
}

bool JournalFile::BeforeScratch(std::string_view name) {
    return AppendScratchLine(history_.Disk(), file_.get(), name);
}

bool JournalFile::Record(std::span<const JournalEntry> entries) {
    if (!file_) return false;
    // One write per block: a kill keeps it whole or cuts only its last line.
    if (file_->Append(JournalLines(entries))) return true;
    // Whatever part of the block got through stays readable: the cut line is dropped.
    file_.reset();
    return false;
}

void JournalFile::Discard() {
    file_.reset();
    history_.Disk().Remove(path_);
}

JournalAppender::JournalAppender(const History& history, const std::string& journalPath)
    : history_(history), file_(history.Disk().OpenToAppend(journalPath)) {}

bool JournalAppender::BeforeScratch(std::string_view name) {
    return AppendScratchLine(history_.Disk(), file_.get(), name);
}

RunRecords::Start StateRecords::Begin(const std::string& folder, RunFileSystem& fileSystem) {
    lock_.emplace(history_);
    if (lock_->Get() == RunLock::State::Busy) return Start::Busy;
    if (lock_->Get() == RunLock::State::Unavailable) return Start::LockFailed;
    SettleLeftovers(history_, *lock_, fileSystem);
    if (!recording_) return Start::Recording;
    PruneKeptRuns(history_, 1);
    journal_ = JournalFile::Create(history_, folder, &*lock_);
    return journal_ ? Start::Recording : Start::NoRecord;
}

std::string StateRecords::LockProblem() const {
    return lock_ ? lock_->Problem() : std::string();
}

void StateRecords::End(bool changedAnything) {
    if (journal_ && !changedAnything) journal_->Discard();
    keptUndoRecord_ = journal_ && changedAnything;
    journal_.reset();
    lock_.reset();
}

KeptRun ReadKeptRun(const History& history, const std::string& path) {
    KeptRun run;
    run.path = path;
    run.started = StartedOf(history, path);
    StateFile file = history.Disk().Read(path, kMaxKeptBytes);
    switch (file.status) {
        case StateRead::Missing:
            run.status = JournalRead::Missing;
            return run;
        case StateRead::NotAFile:
            run.status = JournalRead::NotAFile;
            return run;
        case StateRead::Unusable:
            run.status = JournalRead::Unusable;
            return run;
        case StateRead::Read:
            break;
    }
    run.journal = ReadJournalText(file.bytes);
    run.status = run.journal ? JournalRead::Read : JournalRead::Unusable;
    return run;
}

std::vector<KeptRun> KeptRuns(const History& history) {
    std::vector<KeptRun> runs;
    if (history.Folder().empty()) return runs;
    const std::vector<std::string> names = JournalNames(history);
    for (auto name = names.rbegin(); name != names.rend(); ++name)
        runs.push_back(ReadKeptRun(history, history.PathOf(*name)));
    return runs;
}

std::optional<KeptRun> NewestPendingRun(const History& history) {
    if (history.Folder().empty()) return std::nullopt;
    const std::vector<std::string> names = JournalNames(history);
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        KeptRun run = ReadKeptRun(history, history.PathOf(*name));
        if (run.journal && run.journal->Pending() > 0) return run;
    }
    return std::nullopt;
}

bool CanUndo(const History& history) {
    return NewestPendingRun(history).has_value();
}

bool MarkDone(const History& history, const std::string& journalPath,
              const std::vector<std::size_t>& entries) {
    if (entries.empty()) return true;
    const std::unique_ptr<AppendFile> file = history.Disk().OpenToAppend(journalPath);
    if (!file) return false;
    std::string lines;
    for (const std::size_t entry : entries) lines += DoneLine(entry);
    return file->Append(lines) && file->Sync();
}

void PruneKeptRuns(const History& history, std::size_t room) {
    const std::vector<std::string> names = JournalNames(history);
    std::vector<std::size_t> sizes;
    std::size_t total = 0;
    for (const std::string& name : names) {
        sizes.push_back(history.Disk().SizeOf(history.PathOf(name)).value_or(0));
        total += sizes.back();
    }
    std::size_t oldest = 0;
    while (oldest < names.size() &&
           (names.size() - oldest + room > kMaxKeptRuns || total > kMaxKeptBytes)) {
        history.Disk().Remove(history.PathOf(names[oldest]));
        total -= sizes[oldest];
        ++oldest;
    }
}

}  // namespace karvel
