#pragma once
// Every file-system call of the rename run goes through here, so tests can make
// any call fail.

#include <string>
#include <system_error>

#include "filetime/FileTimes.h"

namespace karvel {

enum class LookupResult {
    Found,     // an ordinary file is there
    NotFound,  // nothing, or something that is not an ordinary file
    Failed,    // the lookup itself failed (permission, I/O error, a folder that vanished)
};

// Which file a name led to, so that a later look can tell whether it is still the same.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

struct Lookup {
    LookupResult result = LookupResult::NotFound;
    std::error_code error;  // set when the lookup failed
    FileIdentity identity;  // set when found
};

class RunFileSystem {
public:
    virtual ~RunFileSystem() = default;

    // An ordinary file is a regular file (links not followed) whose name does
    // not begin with "." (a hidden file).
    virtual Lookup LookupOrdinaryFile(const std::string& path) = 0;
    virtual std::error_code ReadTimes(const std::string& path, FileInstants& out) = 0;
    virtual std::error_code WriteTimes(const std::string& path, const FileInstants& in) = 0;
    // Renames within one folder; never replaces an existing file.
    virtual std::error_code RenameNoReplace(const std::string& from, const std::string& to) = 0;
};

}  // namespace karvel
