#include "targets/RefreshNames.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "naming/TextPieces.h"
#include "targets/RowDates.h"

namespace karvel {

namespace {

bool Earlier(const timespec& a, const timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec < b.tv_sec : a.tv_nsec < b.tv_nsec;
}

// Each file's own date: the serials count per date prefix, in the order of the rows' own
// instants (ties in list order). Rows whose date is not read yet stay without a name.
void NameByOwnDates(TargetList& list, const NamePlan& plan, DateSource source) {
    auto& rows = list.MutableRows();
    struct Dated {
        std::string prefix;
        timespec instant;
        std::uint32_t row;
    };
    std::vector<Dated> dated;
    dated.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].AfterName.clear();
        if (const auto own = OwnDateOf(rows[i], source))
            dated.push_back({FormatDatePrefix(own->shown, plan.pattern), own->instant,
                             static_cast<std::uint32_t>(i)});
    }
    std::ranges::sort(dated, [](const Dated& a, const Dated& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        if (Earlier(a.instant, b.instant)) return true;
        if (Earlier(b.instant, a.instant)) return false;
        return a.row < b.row;
    });
    std::int64_t serial = plan.startNumber;
    for (std::size_t i = 0; i < dated.size(); ++i) {
        if (i > 0 && dated[i].prefix != dated[i - 1].prefix) serial = plan.startNumber;
        TargetRow& row = rows[dated[i].row];
        AppendNewName(row.AfterName, dated[i].prefix, serial, plan.digits,
                      GetTextFromFirstDot(row.BeforeName));
        ++serial;
    }
    list.SetDatesPending(rows.size() - dated.size());
}

}  // namespace

bool RefreshNewNames(TargetList& list, const NamingOptions& options) {
    const auto plan = PlanNames(options);
    auto& rows = list.MutableRows();
    list.SetNameMissing(!plan && !rows.empty());
    list.SetDatesPending(0);
    if (!plan) {
        for (auto& row : rows) row.AfterName.clear();
        return false;
    }
    if (options.source != DateSource::Calendar) {
        NameByOwnDates(list, *plan, options.source);
        return true;
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
