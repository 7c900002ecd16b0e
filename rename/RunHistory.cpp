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

std::time_t StartedFromName(const std::string& name, const struct stat& info) {
    long long nanos = 0;
    if (std::sscanf(name.c_str(), "run-%20lld-", &nanos) == 1)
        return static_cast<std::time_t>(nanos / 1'000'000'000);
    return info.st_mtime;
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
    // The journal of the version before the history ("last-run") sorts before every run.
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
    if (stateFolder.empty() || !MakeFolders(stateFolder)) return;
    fd_.Reset(
        ::open((stateFolder + "/lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd_.Valid()) return;
    if (::flock(fd_.Get(), LOCK_EX | LOCK_NB) == 0) {
        state_ = State::Held;
    } else {
        state_ = errno == EWOULDBLOCK ? State::Busy : State::Unavailable;
        fd_.Reset();
    }
}

std::unique_ptr<JournalFile> JournalFile::Create(const std::string& stateFolder,
                                                 const std::string& runFolder) {
    if (stateFolder.empty() || !MakeFolders(stateFolder)) return nullptr;
    const std::string path = stateFolder + "/" + NewJournalName();
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.Valid()) return nullptr;
    if (!WriteAll(fd.Get(), JournalHeader(runFolder)) || ::fdatasync(fd.Get()) != 0) {
        ::unlink(path.c_str());
        return nullptr;
    }
    SyncFolder(stateFolder);
    return std::unique_ptr<JournalFile>(new JournalFile(path, std::move(fd)));
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

RunRecords::Start StateRecords::Begin(const std::string& folder) {
    lock_.emplace(folder_);
    if (lock_->Get() == RunLock::State::Busy) return Start::Busy;
    if (!recording_) return Start::Recording;
    PruneKeptRuns(folder_, 1);
    journal_ = JournalFile::Create(folder_, folder);
    return journal_ ? Start::Recording : Start::NoRecord;
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
    run.started = StartedFromName(path.substr(path.rfind('/') + 1), info);
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
