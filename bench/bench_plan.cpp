// Planning the moves of 100,000 rows: a shift by one (every row waits for the next), and
// the check a run makes when no plan is needed.
#include <benchmark/benchmark.h>

#include "targets/MovePlan.h"

namespace {

constexpr std::size_t kRows = 100'000;

std::vector<karvel::TargetRow> Shifted(bool planNeeded) {
    std::vector<karvel::TargetRow> rows(kRows);
    for (std::size_t i = 0; i < kRows; ++i) {
        rows[i].BeforeName = "240305_" + std::to_string(100'000 + i) + ".jpg";
        rows[i].AfterName =
            "240305_" + std::to_string(100'000 + i + (planNeeded ? 1 : kRows)) + ".jpg";
    }
    return rows;
}

void BM_PlanShiftByOne(benchmark::State& state) {
    const auto rows = Shifted(true);
    for (auto _ : state) {
        const karvel::MovePlan plan = karvel::PlanMoves(
            rows, [](std::size_t) { return true; }, [](std::string_view) { return false; });
        if (plan.stopRow != kRows) state.SkipWithError("the plan stopped");
        benchmark::DoNotOptimize(plan.steps.data());
    }
}
BENCHMARK(BM_PlanShiftByOne)->Unit(benchmark::kMillisecond);

void BM_NoPlanNeeded(benchmark::State& state) {
    const auto rows = Shifted(false);
    for (auto _ : state) benchmark::DoNotOptimize(karvel::PlanNeeded(rows));
}
BENCHMARK(BM_NoPlanNeeded)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
