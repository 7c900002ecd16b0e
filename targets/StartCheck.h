#pragma once
// What the start command finds before it asks anything: the same check for the start
// command, the warning before a known stop and the dry run.

#include <cstddef>
#include <cstdint>

#include "targets/TargetList.h"

namespace karvel {

enum class StartVerdict : std::uint8_t {
    NoTargets,      // no rows, or the list wants a new drop
    NamesUnusable,  // some row has no After Name
    DatesPending,   // the files' own dates are still being read
    StopsAtRow,     // the preview marks a row the run would stop at
    Clear,
};

struct StartCheck {
    StartVerdict verdict = StartVerdict::Clear;
    std::size_t row = 0;                     // StopsAtRow: the first marked row
    RowConflict reason = RowConflict::None;  // and why it is marked
};

StartCheck CheckStart(const TargetList& list);

}  // namespace karvel
