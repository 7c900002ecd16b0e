#pragma once
// A file's three time stamps as local-time calendar records, and the exact instants behind them:
// reading and writing the instants.

#include <time.h>

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
};

// The exact instants of a file, to the nanosecond.
struct FileInstants {
    timespec access{};
    timespec modify{};
    timespec birth{};       // equals `modify` where the file system records no birth time
    bool hasBirth = false;  // the file system recorded a birth time
};

// Fills `stamps` from instants already read, each in local time with the offset in force at it;
// the creation slot gets the birth time, or the modified time where none is recorded. A slot whose
// instant does not fit the record keeps what it held, so that one record can serve many files.
void FillFileTimes(const FileInstants& instants, FileTimeStamps& stamps);

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

}  // namespace karvel
