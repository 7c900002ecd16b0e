#pragma once
// A file's capture time as the row's own date. The capture reader is a module of its own,
// loaded the first time a capture time is asked for.

#include <optional>
#include <string>

#include "targets/OwnDate.h"

namespace karvel {

// The folder this program lies in, without the final separator; empty when unknown.
std::string ProgramFolder();

// Why capture times cannot be read here (the module is missing or broken); nothing when
// they can. Loads the module.
std::optional<std::string> CaptureReaderProblem();

// The capture time of `name` (a bare name in the opened folder `folderFd`); without one,
// the date is left for the file's modified time, with why. Safe from several threads.
OwnDate ReadCaptureDate(int folderFd, const std::string& name);

}  // namespace karvel
