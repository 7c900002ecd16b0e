#include "targets/RefreshNames.h"

#include "naming/TextPieces.h"

namespace karvel {

bool RefreshNewNames(TargetList& list, const NamingOptions& options) {
    const auto plan = PlanNames(options);
    auto& rows = list.MutableRows();
    list.SetNameMissing(!plan && !rows.empty());
    if (!plan) {
        for (auto& row : rows) row.AfterName.clear();
        return false;
    }
    // The prefix holds no dot, so this is BuildNewName(prefix + extension, k),
    // written in place to keep a refresh of a long list allocation-free.
    std::int64_t serial = plan->startNumber;
    for (auto& row : rows) {
        row.AfterName.clear();
        AppendNewName(row.AfterName, plan->prefix, serial, plan->digits,
                      GetTextFromFirstDot(row.BeforeName));
        ++serial;
    }
    return true;
}

}  // namespace karvel
