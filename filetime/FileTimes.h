#pragma once
// A file's three time stamps as local-time calendar records, and the exact instants behind them:
// reading and writing them.

#include <time.h>

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

#include "filetime/FileId.h"
#include "filetime/LocalTime.h"

namespace karvel {

// The three stamps of a file in local time, in the order callers reach them by.
struct FileTimeStamps {
    SYSTEMTIME CreationTime;
    SYSTEMTIME LastAccessTime;
    SYSTEMTIME LastWriteTime;
    // Seconds east of UTC in force at each slot's instant when it was read. Inside the hour that
    // repeats when daylight saving time ends, the fields alone name two instants; the offset picks
    // the one that was read. An offset that does not fit the slot's fields (the caller changed
    // them) is ignored.
    std::optional<std::int32_t> CreationOffset;
    std::optional<std::int32_t> LastAccessOffset;
    std::optional<std::int32_t> LastWriteOffset;

    friend bool operator==(const FileTimeStamps&, const FileTimeStamps&) = default;
};

// The exact instants of a file, to the nanosecond.
struct FileInstants {
    timespec access{};
    timespec modify{};
    timespec birth{};       // equals `modify` where the file system records no birth time
    bool hasBirth = false;  // the file system recorded a birth time
};

// Reads the stamps of `path` into `stamps`. A folder, a missing path or one that cannot be read
// gives every slot the zero file time in local time, or leaves a slot as it was where that does not
// convert (zones west of UTC). Symbolic links are not followed. Never reports anything.
void GetFileTimes(const std::string& path, FileTimeStamps& stamps);

// GetFileTimes with one statx for the common case: when `path` is a regular file (links not
// followed) fills `stamps` exactly as GetFileTimes does and returns true; otherwise returns
// false and leaves `stamps` alone.
bool GetRegularFileTimes(const std::string& path, FileTimeStamps& stamps);

// Fills `stamps` from instants already read, as GetFileTimes does: a slot whose instant does not
// fit the record keeps what it held.
void FillFileTimes(const FileInstants& instants, FileTimeStamps& stamps);

// Sets the access and modified times of `path` from the record, to the millisecond; the creation
// time cannot be set and stays. Nothing happens to a folder, a missing path or a read-only file
// (no write bit at all). Symbolic links are not followed. Never reports anything.
void SetFileTimes(const std::string& path, const FileTimeStamps& stamps);

// The instants of `path` from one statx, not following a symbolic link. A folder is an error.
[[nodiscard]] std::error_code ReadFileInstants(const std::string& path, FileInstants& out);

// What one statx tells of an entry, links not followed: its kind and permission bits, its
// instants and which file it is.
struct FileEntry {
    unsigned mode = 0;
    FileInstants instants;
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;

    FileId Id() const { return {device, inode}; }
};

// The entry at `path`; unlike ReadFileInstants a folder is no error here.
[[nodiscard]] std::error_code ReadFileEntry(const std::string& path, FileEntry& out);
// The entry `name` inside the opened folder `folder` (a descriptor), links not followed.
[[nodiscard]] std::error_code ReadFileEntryAt(int folder, const std::string& name, FileEntry& out);
// The entry an open descriptor stands for (an O_PATH one too).
[[nodiscard]] std::error_code ReadOpenedEntry(int fd, FileEntry& out);

// Sets the access and modified instants of `path` (a symbolic link itself, never its target) with
// one utimensat. A read-only file (no write bit at all, also for root) is left unchanged and counts
// as success. A folder is an error.
[[nodiscard]] std::error_code WriteFileInstants(const std::string& path, const FileInstants& in);

// The record GetFileTimes makes of `instants`; a slot whose instant does not fit the record stays
// all zero without an offset.
FileTimeStamps ToLocalStamps(const FileInstants& instants);

// The instants SetFileTimes writes for `stamps` over a file that had `original`: access and
// modified from their slots to the millisecond, the birth time as it was. A slot that is no valid
// date and time keeps the original instant.
FileInstants FromLocalStamps(const FileTimeStamps& stamps, const FileInstants& original);

}  // namespace karvel
