// Batch mode over 100,000 files against a bare loop of the same system calls: one statx
// per file for the listing, then lstat, lstat, statx, utimensat and renameat2 per file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <memory>
#include <sstream>

#include "bench/BenchFolder.h"
#include "rename/BatchRun.h"
#include "rename/PosixRunFileSystem.h"
#include "rename/RunHistory.h"

namespace {

constexpr std::size_t kFiles = 100'000;

void BM_BareLoop(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto files = std::make_unique<karvel::bench::BenchFolder>(kFiles);
        state.ResumeTiming();
        const std::string& folder = files->Folder();
        for (const std::string& name : files->Names()) {
            struct statx listed {};
            ::statx(AT_FDCWD, (folder + name).c_str(), AT_SYMLINK_NOFOLLOW, STATX_MTIME, &listed);
            benchmark::DoNotOptimize(listed);
        }
        karvel::bench::BareRunLoop(*files);
        state.PauseTiming();
        files.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kFiles));
}
BENCHMARK(BM_BareLoop)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Batch(benchmark::State& state) {
    karvel::PosixRunFileSystem fileSystem;
    for (auto _ : state) {
        state.PauseTiming();
        auto files = std::make_unique<karvel::bench::BenchFolder>(kFiles);
        karvel::BatchRequest request;
        request.date = karvel::CalendarDate{2024, 3, 5};
        request.pattern = "yymmdd";
        request.digits = "5";
        request.start = "1";
        request.assumeYes = true;
        request.files = files->Paths();
        std::istringstream in;
        std::ostringstream out, err;
        // As the program runs it: with the journal that undo reads.
        karvel::StateRecords records(files->Folder() + "state");
        state.ResumeTiming();
        const int status = karvel::RunBatch(request, files->Folder() + "none.ini", {2026, 12, 7},
                                            {in, out, err}, fileSystem, &records);
        state.PauseTiming();
        if (status != karvel::kExitRenamed) state.SkipWithError("the batch did not complete");
        files.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kFiles));
}
BENCHMARK(BM_Batch)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
