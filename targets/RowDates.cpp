#include "targets/RowDates.h"

#include <unordered_map>

#include "filetime/LocalTime.h"

namespace karvel {

OwnDate DateFromModified(const timespec& modified, DateOrigin origin) {
    OwnDate date;
    date.instant = modified;
    date.origin = origin;
    if (const auto local = InstantToLocal(modified))
        date.shown = {local->time.wYear, local->time.wMonth, local->time.wDay};
    return date;
}

std::optional<OwnDate> OwnDateOf(const TargetRow& row, DateSource source) {
    switch (source) {
        case DateSource::Calendar:
            return std::nullopt;
        case DateSource::Modified:
            return DateFromModified(row.ModifiedAt);
        case DateSource::Taken:
            break;
    }
    if (!row.Taken) return std::nullopt;
    if (row.Taken->origin == DateOrigin::Taken) return row.Taken;
    OwnDate instead = DateFromModified(row.ModifiedAt, DateOrigin::ModifiedInstead);
    instead.why = row.Taken->why;
    return instead;
}

std::optional<timespec> OwnStamp(const OwnDate& date, bool midnight) {
    if (!midnight) return date.instant;
    SYSTEMTIME day;
    day.wYear = static_cast<std::int16_t>(date.shown.year);
    day.wMonth = static_cast<std::int16_t>(date.shown.month);
    day.wDay = static_cast<std::int16_t>(date.shown.day);
    return LocalToInstant(day);
}

void TakeCaptureDates(TargetList& list, const std::vector<std::pair<FileId, OwnDate>>& dates) {
    if (dates.empty()) return;
    auto& rows = list.MutableRows();
    // Every row lies in the one folder, on one disk: the inode tells the file (two names
    // of one file are two rows).
    std::unordered_multimap<unsigned long long, std::size_t> rowOf;
    rowOf.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) rowOf.emplace(rows[i].Identity.inode, i);
    for (const auto& [id, date] : dates) {
        const auto [first, last] = rowOf.equal_range(id.inode);
        for (auto at = first; at != last; ++at)
            if (rows[at->second].Identity == id) rows[at->second].Taken = date;
    }
}

}  // namespace karvel
