// Batch mode over 100,000 files against a bare loop of the five calls a row once took on the same
// kind of folder, interleaved run by run, in memory and on the disk. The bare loop lists
// the files (one statx each), then makes five calls per row on full paths: lstat of
// the source and of the target, statx, utimensat and renameat2. "ratio" is batch / bare.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <chrono>
#include <memory>
#include <sstream>

#include "bench/BenchRun.h"
#include "rename/BatchRun.h"
#include "rename/PosixRunFileSystem.h"
#include "rename/RunHistory.h"

namespace {

constexpr std::size_t kFiles = 100'000;

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double BareLoop(bool onDisk) {
    const auto files = std::make_unique<karvel::bench::BenchFolder>(kFiles, onDisk);
    const auto start = std::chrono::steady_clock::now();
    const std::string& folder = files->Folder();
    for (const std::string& name : files->Names()) {
        struct statx listed {};
        ::statx(AT_FDCWD, (folder + name).c_str(), AT_SYMLINK_NOFOLLOW, STATX_MTIME, &listed);
        benchmark::DoNotOptimize(listed);
    }
    karvel::bench::BareRunLoop(*files);
    return Seconds(std::chrono::steady_clock::now() - start);
}

double Batch(bool onDisk) {
    const auto files = std::make_unique<karvel::bench::BenchFolder>(kFiles, onDisk);
    karvel::PosixRunFileSystem fileSystem;
    const karvel::BatchRequest request = karvel::bench::BatchRequestFor(*files);
    std::istringstream in;
    std::ostringstream out, err;
    // As the program runs it: the lock and the journal that undo reads.
    karvel::StateRecords records(files->Folder() + "state");
    const auto start = std::chrono::steady_clock::now();
    const int status = karvel::RunBatch(request, files->Folder() + "none.ini", {2026, 12, 7},
                                        {in, out, err}, fileSystem, &records);
    const double seconds = Seconds(std::chrono::steady_clock::now() - start);
    return status == karvel::kExitRenamed ? seconds : -1;
}

void BM_BatchAgainstBareLoop(benchmark::State& state) {
    const bool onDisk = state.range(0) != 0;
    double bare = 0, batch = 0;
    for (auto _ : state) {
        bare += BareLoop(onDisk);
        const double one = Batch(onDisk);
        if (one < 0) state.SkipWithError("the batch did not complete");
        batch += one;
        state.SetIterationTime(one);
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["bare_ms"] = bare / runs * 1000;
    state.counters["batch_ms"] = batch / runs * 1000;
    state.counters["ratio"] = batch / bare;
}
BENCHMARK(BM_BatchAgainstBareLoop)
    ->ArgName("disk")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
