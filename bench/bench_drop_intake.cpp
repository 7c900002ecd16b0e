// A drop, from the dropped paths to the named and sorted rows.
#include <benchmark/benchmark.h>

#include "bench/BenchFolder.h"
#include "targets/DropIntake.h"

namespace {

void BM_TakeInDrop(benchmark::State& state) {
    const karvel::bench::BenchFolder files(static_cast<std::size_t>(state.range(0)));
    const std::vector<std::string> paths = files.Paths();
    const karvel::NamingOptions options{{2024, 3, 5}, "yymmdd", "5", "1"};
    for (auto _ : state) {
        karvel::TargetList list;
        benchmark::DoNotOptimize(karvel::TakeInDrop(list, paths, options));
        if (list.RowCount() != paths.size()) state.SkipWithError("rows missing");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TakeInDrop)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
