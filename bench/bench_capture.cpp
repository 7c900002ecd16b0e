// Capture times of 10,000 small JPEGs with a camera's Exif, in memory (tmpfs) and so warm, read by
// two threads as the intake would on both cores, and by one for comparison.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchFolder.h"
#include "bench/CaptureJpegs.h"

namespace {

constexpr std::size_t kFiles = 10'000;

struct JpegFolder {
    karvel::bench::BenchFolder folder{0};
    std::vector<std::string> names = karvel::bench::MakeCameraJpegs(folder.Folder(), kFiles);
};

const JpegFolder& Jpegs() {
    static const JpegFolder jpegs;
    return jpegs;
}

void BM_CaptureTimes(benchmark::State& state) {
    const JpegFolder& jpegs = Jpegs();
    const auto threads = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        const auto reads =
            karvel::bench::ReadCaptureTimes(jpegs.folder.Folder(), jpegs.names, threads);
        std::size_t dated = 0;
        for (const auto& read : reads) dated += read.time ? 1 : 0;
        if (dated != kFiles) state.SkipWithError("a JPEG gave no capture time");
        benchmark::DoNotOptimize(reads.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kFiles));
}
BENCHMARK(BM_CaptureTimes)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
