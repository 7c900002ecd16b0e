// RefreshNewNames runs on every keystroke in the start-number box.
#include <benchmark/benchmark.h>

#include "naming/NewNames.h"
#include "targets/RefreshNames.h"
#include "targets/TargetList.h"

namespace {

void BM_RefreshNewNames(benchmark::State& state) {
    karvel::TargetList list;
    std::vector<karvel::TargetRow> rows(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].BeforeName = "DSC_" + std::to_string(i) + (i % 3 ? ".jpg" : ".tar.gz");
    }
    list.AssignRows(std::move(rows));
    karvel::NamingOptions options{{2024, 3, 5}, "yymmdd", "5", "1"};
    int start = 1;
    for (auto _ : state) {
        options.startNoText = std::to_string(start++ % 1000);
        benchmark::DoNotOptimize(karvel::RefreshNewNames(list, options));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RefreshNewNames)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
