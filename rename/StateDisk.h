#pragma once
// Every read and write of the history goes through here: the journals of the runs kept for
// undo and the lock that lets one run or undo go at a time. Tests hand in a disk held in
// memory, with a clock of its own.

#include <cstddef>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace karvel {

// A file open to be added to at its end.
class AppendFile {
  public:
    virtual ~AppendFile() = default;
    // Every byte, or false.
    virtual bool Append(std::string_view bytes) = 0;
    // What was added is on the disk.
    virtual bool Sync() = 0;
};

// The lock, held for as long as this object lives; it holds a few words of its own.
class HeldLock {
  public:
    virtual ~HeldLock() = default;
    virtual std::string Read() = 0;
    virtual void Replace(std::string_view text) = 0;
};

struct LockTaking {
    enum class State { Held, Busy, Unavailable } state = State::Unavailable;
    std::error_code error;           // why it is not held
    std::unique_ptr<HeldLock> lock;  // when held
};

enum class StateRead { Read, Missing, NotAFile, Unusable };

struct StateFile {
    StateRead status = StateRead::Missing;
    std::string bytes;  // the whole file, when read
};

class StateDisk {
  public:
    virtual ~StateDisk() = default;
    // The folder and those above it, for the user alone.
    virtual std::error_code MakeFolders(const std::string& folder) = 0;
    // Taken at once or not at all; never through a link, and only a regular file.
    virtual LockTaking TakeLock(const std::string& path) = 0;
    // A new file, created exclusively, never through a link; empty when it cannot be.
    virtual std::unique_ptr<AppendFile> Create(const std::string& path) = 0;
    // An existing regular file, never through a link; empty when it is none.
    virtual std::unique_ptr<AppendFile> OpenToAppend(const std::string& path) = 0;
    // A regular file whole, never through a link nor waiting on a pipe; a read that fails
    // halfway gives nothing rather than part.
    virtual StateFile Read(const std::string& path, std::size_t maxBytes) = 0;
    virtual std::vector<std::string> Names(const std::string& folder) = 0;
    // Of the entry itself, a link not followed.
    virtual std::optional<std::size_t> SizeOf(const std::string& path) = 0;
    virtual std::optional<std::time_t> ModifiedOf(const std::string& path) = 0;
    virtual void Remove(const std::string& path) = 0;
    // A file created in it stays created.
    virtual void SyncFolder(const std::string& folder) = 0;
    virtual timespec Now() = 0;
    virtual int ProcessId() = 0;
};

// The real disk and clock.
StateDisk& SystemStateDisk();

// Where the runs are kept, and through what.
class History {
  public:
    // Runs kept in `folder`, on the real disk; an empty folder keeps none.
    History(std::string folder,
            StateDisk& disk = SystemStateDisk())  // NOLINT: a place is a history
        : folder_(std::move(folder)), disk_(&disk) {}
    History(const char* folder) : History(std::string(folder)) {}  // NOLINT

    const std::string& Folder() const { return folder_; }
    StateDisk& Disk() const { return *disk_; }
    std::string PathOf(std::string_view name) const { return folder_ + "/" + std::string(name); }

  private:
    std::string folder_;
    StateDisk* disk_;
};

}  // namespace karvel
