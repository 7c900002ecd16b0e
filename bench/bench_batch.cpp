// Batch mode over 100,000 files against a bare loop of the five calls a row once took on the same
// kind of folder, interleaved run by run, in memory and on the disk. The bare loop lists
// the files (one statx each), then makes five calls per row on full paths: lstat of
// the source and of the target, statx, utimensat and renameat2, in the order the batch
// renames them (by name, not as the files were made). "ratio" is the median of
// batch / bare over the rounds; the times are medians too. "least_ratio" is the same for a
// loop of the three calls a file needs at least, with nothing around them.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <sstream>
#include <vector>

#include "bench/BenchRun.h"
#include "cli/BatchRun.h"
#include "rename/PosixRunFileSystem.h"
#include "rename/RunHistory.h"

namespace {

constexpr std::size_t kFiles = 100'000;

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> values) {
    std::ranges::sort(values);
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double BareLoop(bool onDisk) {
    const auto files = std::make_unique<karvel::bench::BenchFolder>(kFiles, onDisk);
    const std::vector<std::string> inListOrder = files->NamesInListOrder();
    const auto start = std::chrono::steady_clock::now();
    const std::string& folder = files->Folder();
    for (const std::string& name : files->Names()) {
        struct statx listed {};
        ::statx(AT_FDCWD, (folder + name).c_str(), AT_SYMLINK_NOFOLLOW, STATX_MTIME, &listed);
        benchmark::DoNotOptimize(listed);
    }
    karvel::bench::BareRunLoop(*files, inListOrder);
    return Seconds(std::chrono::steady_clock::now() - start);
}

// The least a run can ask per file, with no listing, no checks of its own and no journal:
// statx, renameat2 and utimensat by bare name inside the opened folder.
double LeastCalls(bool onDisk) {
    const auto files = std::make_unique<karvel::bench::BenchFolder>(kFiles, onDisk);
    const std::vector<std::string> names = files->NamesInListOrder();
    const auto start = std::chrono::steady_clock::now();
    const int folder = ::open(files->Folder().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const char* from = names[i].c_str();
        const std::string to = karvel::bench::BenchNewName(i);
        struct statx times {};
        ::statx(folder, from, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &times);
        ::renameat2(folder, from, folder, to.c_str(), RENAME_NOREPLACE);
        const timespec stamps[2] = {{times.stx_atime.tv_sec, times.stx_atime.tv_nsec},
                                    {times.stx_mtime.tv_sec, 0}};
        ::utimensat(folder, to.c_str(), stamps, AT_SYMLINK_NOFOLLOW);
    }
    ::close(folder);
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
    std::vector<double> bare, least, batch, ratios, leastRatios;
    for (auto _ : state) {
        // Whoever goes later finds the disk still writing out the earlier folders: the three
        // take turns at going first.
        const std::size_t round = bare.size();
        for (std::size_t turn = 0; turn < 3; ++turn) {
            switch ((round + turn) % 3) {
                case 0:
                    bare.push_back(BareLoop(onDisk));
                    break;
                case 1:
                    least.push_back(LeastCalls(onDisk));
                    break;
                default:
                    batch.push_back(Batch(onDisk));
                    break;
            }
        }
        if (batch.back() < 0) state.SkipWithError("the batch did not complete");
        ratios.push_back(batch.back() / bare.back());
        leastRatios.push_back(least.back() / bare.back());
        state.SetIterationTime(batch.back());
    }
    state.counters["bare_ms"] = Median(bare) * 1000;
    state.counters["batch_ms"] = Median(batch) * 1000;
    state.counters["ratio"] = Median(ratios);
    state.counters["least_ratio"] = Median(leastRatios);
}
BENCHMARK(BM_BatchAgainstBareLoop)
    ->ArgName("disk")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(6);

}  // namespace

BENCHMARK_MAIN();
