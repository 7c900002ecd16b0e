#pragma once
// The date each row's new name and new stamp follow when the file's own date is the source.

#include <optional>
#include <utility>
#include <vector>

#include "naming/DateSource.h"
#include "targets/TargetList.h"

namespace karvel {

// The modified instant as the row's own date: its local day, and the instant itself.
OwnDate DateFromModified(const timespec& modified, DateOrigin origin = DateOrigin::Modified);

// The row's own date for `source`; absent for the calendar, and while the capture time of
// the row's file is still being read.
std::optional<OwnDate> OwnDateOf(const TargetRow& row, DateSource source);

// The instant the run gives the row's file: its own date's instant, or midnight of its
// own date (local time) with `midnight`.
std::optional<timespec> OwnStamp(const OwnDate& date, bool midnight);

// Gives each row whose file is among `dates` its capture time (or why it has none). Rows
// are found by their file, as they may have been sorted or removed since the reading began.
void TakeCaptureDates(TargetList& list, const std::vector<std::pair<FileId, OwnDate>>& dates);

}  // namespace karvel
