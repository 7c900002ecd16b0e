#include "rename/RunHistory.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "files/FileWrites.h"
#include "files/SmallFile.h"
#include "rename/Leftovers.h"
#include "rename/RunMessages.h"

namespace karvel {

namespace {

constexpr std::string_view kJournalSuffix = ".journal";

// "run-<nanoseconds since 1970, 20 digits>-<pid>.journal": names sort by time.
std::string NewJournalName() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    char name[64];
    std::snprintf(name, sizeof name, "run-%020lld-%d.journal",
                  static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec,
                  static_cast<int>(::getpid()));
    return name;
}

// When a run started: its journal's name tells, or else when the journal was last written.
std::optional<std::time_t> StartedOf(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    long long nanos = 0;
    if (std::sscanf(name.c_str(), "run-%20lld-", &nanos) == 1 && nanos > 0)
        return static_cast<std::time_t>(nanos / 1'000'000'000);
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) return info.st_mtime;
    return std::nullopt;
}

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::vector<std::string> JournalNames(const std::string& stateFolder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(stateFolder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > kJournalSuffix.size() && name.ends_with(kJournalSuffix) &&
            !name.starts_with('.')) {
            names.push_back(name);
        }
    }
    ::closedir(dir);
    // Names sort by when their run started.
    std::ranges::sort(names);
    return names;
}

}  // namespace

std::string StateFolder() {
    const char* stateHome = ::getenv("XDG_STATE_HOME");
    if (stateHome != nullptr && stateHome[0] == '/') return std::string(stateHome) + "/Karvel";
    const char* home = ::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/state/Karvel";
    return {};
}

RunLock::RunLock(const std::string& stateFolder) {
    if (stateFolder.empty()) {
        path_ = "~/.local/state/Karvel/lock";
        error_ = std::make_error_code(std::errc::no_such_file_or_directory);
        return;
    }
    path_ = stateFolder + "/lock";
    if (!MakeFolders(stateFolder)) {
        struct stat info {};
        error_ = ::stat(stateFolder.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)
                     ? std::make_error_code(std::errc::not_a_directory)
                     : LastError();
        return;
    }
    // A folder, a link or a file nobody may open under the lock's name means no lock: then
    // nothing starts.
    fd_.Reset(::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    if (!fd_.Valid()) {
        error_ = LastError();
        return;
    }
    struct stat info {};
    if (::fstat(fd_.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        error_ = std::make_error_code(std::errc::not_supported);
        fd_.Reset();
        return;
    }
    if (::flock(fd_.Get(), LOCK_EX | LOCK_NB) != 0) {
        state_ = errno == EWOULDBLOCK ? State::Busy : State::Unavailable;
        error_ = LastError();
        fd_.Reset();
        return;
    }
    state_ = State::Held;
    const SmallFile names = ReadOpenedSmallFile(fd_.Get(), 1u << 16);
    std::string_view rest = names.bytes;
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
    if (::ftruncate(fd_.Get(), 0) != 0) return;
    (void)::pwrite(fd_.Get(), names.data(), names.size(), 0);
}

std::unique_ptr<JournalFile> JournalFile::Create(const std::string& stateFolder,
                                                 const std::string& runFolder, RunLock* lock) {
    if (stateFolder.empty() || !MakeFolders(stateFolder)) return nullptr;
    const std::string path = stateFolder + "/" + NewJournalName();
    // Named to the lock first: a journal a kill leaves empty is tidied away later.
    if (lock != nullptr) lock->Working(path);
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.Valid()) return nullptr;
    if (!WriteAll(fd.Get(), JournalHeader(runFolder)) || ::fdatasync(fd.Get()) != 0) {
        ::unlink(path.c_str());
        return nullptr;
    }
    SyncFolder(stateFolder);
    return std::unique_ptr<JournalFile>(new JournalFile(path, std::move(fd)));
}

namespace {

bool AppendScratchLine(int fd, std::string_view name) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return fd >= 0 && WriteAll(fd, ScratchLine(name, now));
}

}  // namespace

void JournalFile::Ran(std::size_t performed) {
    if (fd_.Valid()) (void)WriteAll(fd_.Get(), RanLine(performed));
}

bool JournalFile::BeforeScratch(std::string_view name) {
    return AppendScratchLine(fd_.Get(), name);
}

JournalAppender::JournalAppender(const std::string& journalPath)
    : fd_(::open(journalPath.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)) {
    struct stat info {};
    if (fd_.Valid() && (::fstat(fd_.Get(), &info) != 0 || !S_ISREG(info.st_mode))) fd_.Reset();
}

bool JournalAppender::BeforeScratch(std::string_view name) {
    return AppendScratchLine(fd_.Get(), name);
}

bool JournalFile::Record(std::span<const JournalEntry> entries) {
    if (!fd_.Valid()) return false;
    // One write per block: a kill keeps it whole or cuts only its last line.
    const std::string lines = JournalLines(entries);
    if (WriteAll(fd_.Get(), lines)) return true;
    // Whatever part of the block got through stays readable: the cut line is dropped.
    fd_.Reset();
    return false;
}

void JournalFile::Discard() {
    fd_.Reset();
    ::unlink(path_.c_str());
}

RunRecords::Start StateRecords::Begin(const std::string& folder, RunFileSystem& fileSystem) {
    lock_.emplace(folder_);
    if (lock_->Get() == RunLock::State::Busy) return Start::Busy;
    if (lock_->Get() == RunLock::State::Unavailable) return Start::LockFailed;
    SettleLeftovers(*lock_, fileSystem);
    if (!recording_) return Start::Recording;
    PruneKeptRuns(folder_, 1);
    journal_ = JournalFile::Create(folder_, folder, &*lock_);
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

KeptRun ReadKeptRun(const std::string& path) {
    KeptRun run;
    run.path = path;
    run.started = StartedOf(path);
    // A pipe or a link put in a journal's place is never waited on nor followed.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        run.status = errno == ENOENT ? JournalRead::Missing : JournalRead::NotAFile;
        return run;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        run.status = JournalRead::NotAFile;
        return run;
    }
    // A read that fails halfway gives no journal, rather than a shorter one.
    const SmallFile file = ReadOpenedSmallFile(fd.Get(), kMaxKeptBytes);
    if (file.status != FileStatus::Read) {
        run.status = JournalRead::Unusable;
        return run;
    }
    run.journal = ReadJournalText(file.bytes);
    run.status = run.journal ? JournalRead::Read : JournalRead::Unusable;
    return run;
}

std::vector<KeptRun> KeptRuns(const std::string& stateFolder) {
    std::vector<KeptRun> runs;
    if (stateFolder.empty()) return runs;
    const std::vector<std::string> names = JournalNames(stateFolder);
    for (auto name = names.rbegin(); name != names.rend(); ++name)
        runs.push_back(ReadKeptRun(stateFolder + "/" + *name));
    return runs;
}

std::optional<KeptRun> NewestPendingRun(const std::string& stateFolder) {
    if (stateFolder.empty()) return std::nullopt;
    const std::vector<std::string> names = JournalNames(stateFolder);
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        KeptRun run = ReadKeptRun(stateFolder + "/" + *name);
        if (run.journal && run.journal->Pending() > 0) return run;
    }
    return std::nullopt;
}

bool CanUndo(const std::string& stateFolder) {
    return NewestPendingRun(stateFolder).has_value();
}

bool MarkDone(const std::string& journalPath, const std::vector<std::size_t>& entries) {
    if (entries.empty()) return true;
    const UniqueFd fd(
        ::open(journalPath.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    std::string lines;
    for (const std::size_t entry : entries) lines += DoneLine(entry);
    return WriteAll(fd.Get(), lines) && ::fdatasync(fd.Get()) == 0;
}

void PruneKeptRuns(const std::string& stateFolder, std::size_t room) {
    std::vector<std::string> names = JournalNames(stateFolder);
    std::vector<std::size_t> sizes;
    std::size_t total = 0;
    for (const std::string& name : names) {
        struct stat info {};
        const std::size_t size = ::lstat((stateFolder + "/" + name).c_str(), &info) == 0
                                     ? static_cast<std::size_t>(info.st_size)
                                     : 0;
        sizes.push_back(size);
        total += size;
    }
    std::size_t oldest = 0;
    while (oldest < names.size() &&
           (names.size() - oldest + room > kMaxKeptRuns || total > kMaxKeptBytes)) {
        ::unlink((stateFolder + "/" + names[oldest]).c_str());
        total -= sizes[oldest];
        ++oldest;
    }
}

}  // namespace karvel
